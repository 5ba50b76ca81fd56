#include "ui/reportview/report_view.h"

#include "report/report_file.h"
#include "report/rtf_writer.h"
#include "report_sample.h"

#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mirovax {
namespace {

ReportModel SampleReport()
{
    // Maximum Payload has every row but the payload one, headings included.
    return BuildReport(testing::SampleSnapshot("Maximum Payload"));
}

ReportRow Row(std::string text, int sizePt = 8, bool bold = false, bool underline = false)
{
    ReportRow row;
    row.text = std::move(text);
    row.sizePt = sizePt;
    row.bold = bold;
    row.underline = underline;
    return row;
}

// The first difference between a paragraph of the view and the row it should
// show, or an empty text.
QString Mismatch(const QTextBlock& block, const ReportRow& row)
{
    if (block.text() != QString::fromStdString(row.text))
        return QStringLiteral("text \"%1\"").arg(block.text());

    // An empty row has no text fragment; its paragraph's own character
    // format still gives the line its height.
    QList<QTextCharFormat> formats{block.charFormat()};
    for (auto it = block.begin(); !it.atEnd(); ++it)
        formats.append(it.fragment().charFormat());
    for (const QTextCharFormat& format : formats) {
        if (format.fontFamilies().toStringList() != QStringList{QStringLiteral("Arial")})
            return QStringLiteral("font %1").arg(format.fontFamilies().toStringList().join(','));
        if (format.fontPointSize() != row.sizePt)
            return QStringLiteral("size %1 pt").arg(format.fontPointSize());
        if ((format.fontWeight() >= QFont::Bold) != row.bold)
            return QStringLiteral("weight %1").arg(format.fontWeight());
        if (format.fontUnderline() != row.underline)
            return QStringLiteral("underline %1").arg(format.fontUnderline());
        if (format.fontItalic() || format.fontStrikeOut())
            return QStringLiteral("italic or struck out");
    }

    const QList<QTextOption::Tab> tabs = block.blockFormat().tabPositions();
    if (tabs.size() != static_cast<qsizetype>(row.tabStopsTwips.size()))
        return QStringLiteral("%1 tab stops").arg(tabs.size());
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        // Tab positions are in 1/96 inch, 15 twips each.
        const double twips = tabs[i].position * 15.0;
        if (std::abs(twips - row.tabStopsTwips[static_cast<size_t>(i)]) > 1e-6
            || tabs[i].type != QTextOption::LeftTab)
            return QStringLiteral("tab stop %1 at %2 twips").arg(i + 1).arg(twips);
    }
    return {};
}

void CheckViewShows(const QTextEdit& view, const ReportModel& model)
{
    const QTextDocument* document = view.document();
    QCOMPARE(document->blockCount(), static_cast<int>(model.rows.size()));
    QTextBlock block = document->begin();
    for (size_t i = 0; i < model.rows.size(); ++i, block = block.next()) {
        const QString mismatch = Mismatch(block, model.rows[i]);
        QVERIFY2(mismatch.isEmpty(),
            qPrintable(QStringLiteral("row %1 (\"%2\"): %3")
                           .arg(i + 1)
                           .arg(QString::fromStdString(model.rows[i].text), mismatch)));
    }
}

std::string ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll().toStdString();
}

void WriteAll(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class ReportViewTest : public QObject {
    Q_OBJECT

private slots:
    void viewShowsEveryRowWithItsFormat();
    void viewFontResolvesToArialOrItsStandIn();
    void composingAgainReplacesTheReport();
    void rowStaysOneParagraph();
    void viewIsReadOnly();
    void pageRect_data();
    void pageRect();
    void printFailuresAreReported_data();
    void printFailuresAreReported();
    void saveCompletesTheNameAndWritesRichText_data();
    void saveCompletesTheNameAndWritesRichText();
    void saveReplacesAnExistingFile();
    void saveToReadOnlyFileFailsAndKeepsIt();
    void saveFailureNamesTheFile();
    void fileTypeFilters();
};

void ReportViewTest::viewShowsEveryRowWithItsFormat()
{
    QTextEdit view;
    ConfigureReportView(&view);
    const ReportModel model = SampleReport();
    ShowReportInView(&view, model);
    CheckViewShows(view, model);
    // The headings really are there, so the check above covered them.
    QCOMPARE(view.document()->findBlockByNumber(1).text(), QStringLiteral("Mission Report"));
    QVERIFY(model.rows[1].bold && model.rows[1].underline && model.rows[1].sizePt == 14);
}

void ReportViewTest::viewFontResolvesToArialOrItsStandIn()
{
    // Columns are set by tab stops sized for Arial's widths: a wider font
    // would push labels past their stop. Liberation Sans has Arial's metrics.
    QTextEdit view;
    ConfigureReportView(&view);
    ShowReportInView(&view, SampleReport());
    const QStringList accepted{QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
    const QTextBlock title = view.document()->findBlockByNumber(1);
    const QFont headingFont = title.begin().fragment().charFormat().font();
    QVERIFY2(accepted.contains(QFontInfo(headingFont).family()), qPrintable(QFontInfo(headingFont).family()));
    QVERIFY2(accepted.contains(QFontInfo(view.font()).family()), qPrintable(QFontInfo(view.font()).family()));
    QCOMPARE(view.font().pointSize(), 8);
}

void ReportViewTest::composingAgainReplacesTheReport()
{
    QTextEdit view;
    ConfigureReportView(&view);
    view.setPlainText(QStringLiteral("RichEdit"));

    // The earlier report ends and starts with a heading, so any format
    // carried over would show on the new report's first and last rows.
    ReportModel earlier;
    earlier.rows = {Row("Mission Report", 14, true, true), Row("x"), Row("Results", 10, true)};
    ShowReportInView(&view, earlier);
    CheckViewShows(view, earlier);

    const ReportModel model = SampleReport();
    ShowReportInView(&view, model);
    CheckViewShows(view, model);
    ShowReportInView(&view, model);
    CheckViewShows(view, model);

    // An empty report leaves the one empty paragraph every document has.
    ShowReportInView(&view, ReportModel{});
    QCOMPARE(view.document()->blockCount(), 1);
    QCOMPARE(view.toPlainText(), QString());
}

void ReportViewTest::rowStaysOneParagraph()
{
    // A row can only come from the composition, which blanks line breaks; the
    // view holds to one paragraph per row even so, as the saved file does.
    ReportModel model;
    model.rows = {Row("A\nB\rC\u2028D\tE\u0085F"), Row("\xC3 broken")};
    QTextEdit view;
    ShowReportInView(&view, model);
    QCOMPARE(view.document()->blockCount(), 2);
    QCOMPARE(view.document()->firstBlock().text(), QStringLiteral("A B C D\tE F"));
    QCOMPARE(view.document()->lastBlock().text(), QStringLiteral("\uFFFD broken"));
}

void ReportViewTest::viewIsReadOnly()
{
    QTextEdit view; // not configured: showing the report alone makes it read-only
    ShowReportInView(&view, SampleReport());
    QVERIFY(view.isReadOnly());
    const QString before = view.toHtml();
    view.moveCursor(QTextCursor::End);
    QTest::keyClicks(&view, QStringLiteral("typed"));
    QTest::keyClick(&view, Qt::Key_Backspace);
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(view.toHtml(), before);
}

void ReportViewTest::pageRect_data()
{
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("bottom");
    QTest::newRow("300 dpi Letter") << 300 << 300 << 2550 << 3300 << 300 << 300 << 2400 << 3000;
    QTest::newRow("300 dpi A4 printable") << 300 << 300 << 2380 << 3408 << 300 << 300 << 2230 << 3108;
    QTest::newRow("600 dpi A4 printable") << 600 << 600 << 4760 << 6814 << 600 << 600 << 4460 << 6214;
    QTest::newRow("odd dpi truncates the half inch")
        << 301 << 301 << 2000 << 3000 << 301 << 301 << 1850 << 2699;
    QTest::newRow("across and down differ") << 600 << 300 << 5100 << 3300 << 600 << 300 << 4800 << 3000;
}

void ReportViewTest::pageRect()
{
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, right);
    QFETCH(int, bottom);
    const PageRect rect = ReportPageRect(dpiX, dpiY, width, height);
    QCOMPARE(rect.left, left);
    QCOMPARE(rect.top, top);
    QCOMPARE(rect.right, right);
    QCOMPARE(rect.bottom, bottom);
}

void ReportViewTest::printFailuresAreReported_data()
{
    QTest::addColumn<QString>("subPath");
    QTest::addColumn<QSizeF>("pageSizeInch");
    QTest::addColumn<QString>("messageStart");
    // Without printers Qt falls back to a PDF file, which nobody chose.
    QTest::newRow("no printer and no file")
        << QString() << QSizeF(8.5, 11) << QStringLiteral("No printer is available");
    QTest::newRow("output cannot be opened")
        << QStringLiteral("missing/report.pdf") << QSizeF(8.5, 11) << QStringLiteral("Printing failed");
    // One and a half inches of margin leave nothing of a 1.5 inch page.
    QTest::newRow("page smaller than the margins")
        << QStringLiteral("report.pdf") << QSizeF(1.5, 4) << QStringLiteral("Printing failed");
    QTest::newRow("page no taller than the margins")
        << QStringLiteral("report.pdf") << QSizeF(4, 2) << QStringLiteral("Printing failed");
}

void ReportViewTest::printFailuresAreReported()
{
    QFETCH(QString, subPath);
    QFETCH(QSizeF, pageSizeInch);
    QFETCH(QString, messageStart);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QTextEdit view;
    ShowReportInView(&view, SampleReport());

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    if (!subPath.isEmpty())
        printer.setOutputFileName(dir.filePath(subPath));
    printer.setPageLayout(QPageLayout(QPageSize(pageSizeInch, QPageSize::Inch), QPageLayout::Portrait,
        QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    QString message;
    try {
        PrintReport(&view, printer);
    } catch (const std::runtime_error& error) {
        message = QString::fromUtf8(error.what());
    }
    QVERIFY2(message.startsWith(messageStart), qPrintable(message));
    if (!subPath.isEmpty()) {
        QVERIFY2(message.contains(dir.filePath(subPath)), qPrintable(message));
        QVERIFY(!QFileInfo::exists(dir.filePath(subPath)));
    }
}

void ReportViewTest::saveCompletesTheNameAndWritesRichText_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("fileType");
    QTest::addColumn<QString>("saved");
    QTest::newRow("rich text type") << "report" << kReportFileTypeRichText << "report.rtf";
    QTest::newRow("text type gets .txt but rich text") << "report" << kReportFileTypeText << "report.txt";
    QTest::newRow("own extension, rich text type") << "report.doc" << kReportFileTypeRichText << "report.doc";
    QTest::newRow("own extension, text type") << "report.doc" << kReportFileTypeText << "report.doc";
    QTest::newRow("dot in a folder name only")
        << "flights.d/report" << kReportFileTypeText << "flights.d/report.txt";
    QTest::newRow("blank and accents") << "Überflug Süd" << kReportFileTypeRichText << "Überflug Süd.rtf";
}

void ReportViewTest::saveCompletesTheNameAndWritesRichText()
{
    QFETCH(QString, chosen);
    QFETCH(int, fileType);
    QFETCH(QString, saved);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("flights.d")));

    const ReportModel model = SampleReport();
    const QString path = SaveReport(model, dir.filePath(chosen), fileType);
    QCOMPARE(path, dir.filePath(saved));
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(ReadAll(path), WriteRtf(model));
}

void ReportViewTest::saveReplacesAnExistingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    WriteAll(path, "an older report that is longer than the new one would be, surely");
    const ReportModel model = SampleReport();
    QCOMPARE(SaveReport(model, path, kReportFileTypeText), path);
    QCOMPARE(ReadAll(path), WriteRtf(model));
}

void ReportViewTest::saveToReadOnlyFileFailsAndKeepsIt()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The folder is open to all, so only the file's own protection can stop
    // the save, also for the unprivileged user below.
    QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    WriteAll(path, "kept");
    QVERIFY(chmod(QFile::encodeName(path).constData(), 0444) == 0);
    const ReportModel model = SampleReport();

    auto attempt = [&]() -> int {
        try {
            SaveReport(model, path, kReportFileTypeRichText);
        } catch (const std::runtime_error& error) {
            return QString::fromUtf8(error.what()).contains(path) ? 0 : 3;
        }
        return 1;
    };
    if (geteuid() != 0) {
        QCOMPARE(attempt(), 0);
    } else {
        // The superuser writes any file, so the save runs as an ordinary
        // user in a child process.
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(2);
            _exit(attempt());
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QVERIFY2(WEXITSTATUS(status) == 0,
            qPrintable(QStringLiteral("exit %1 (1: replaced, 2: no user change, 3: message without the name)")
                           .arg(WEXITSTATUS(status))));
    }
    QCOMPARE(ReadAll(path), std::string("kept"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{QStringLiteral("report.rtf")});
}

void ReportViewTest::saveFailureNamesTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString chosen = dir.filePath(QStringLiteral("no such folder/report"));
    QString message;
    try {
        SaveReport(SampleReport(), chosen, kReportFileTypeText);
    } catch (const std::runtime_error& error) {
        message = QString::fromUtf8(error.what());
    }
    QVERIFY2(message.contains(chosen + QStringLiteral(".txt")), qPrintable(message));
}

void ReportViewTest::fileTypeFilters()
{
    QCOMPARE(ReportSaveFilters(), QStringLiteral("Rich Text File (*.RTF);;Text File (*.TXT)"));
    const QStringList filters = ReportSaveFilters().split(QStringLiteral(";;"));
    QCOMPARE(ReportFileTypeIndex(filters.value(0)), kReportFileTypeRichText);
    QCOMPARE(ReportFileTypeIndex(filters.value(1)), kReportFileTypeText);
    QCOMPARE(ReportFileTypeIndex(QStringLiteral("All Files (*)")), 0);
}

} // namespace mirovax

QTEST_MAIN(mirovax::ReportViewTest)
#include "test_report_view.moc"
