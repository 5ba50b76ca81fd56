#include "ui/reportview/report_view.h"

#include "report_sample.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <algorithm>
#include <functional>

// The printed report is read back with poppler's tools: pdfinfo for the job
// title and page count, pdftotext -bbox for where every word landed (in
// points from the paper's top-left corner), pdffonts for the fonts used.
namespace mirovax {
namespace {

struct Word {
    QString text;
    QRectF box; // points
};

struct PrintedPage {
    QList<Word> words;
};

// The report's text area on paper, in points, as the layout must give it.
struct TextArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

constexpr double kTolerancePt = 1.0;

// The paper's margins make the printable page, which the report's own
// margins are measured from; they differ on every side so that a margin
// taken from the wrong edge shows.
QPageLayout TestPageLayout()
{
    return QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(30, 40, 50, 60), QPageLayout::Point);
}

QString Run(const char* program, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(program), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(QString::fromUtf8(program), QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString InfoField(const QString& pdf, const QString& field)
{
    const QString info = Run(MIROVAX_PDFINFO, {pdf});
    const QRegularExpression line(
        QStringLiteral("^%1:\\s*(.*)$").arg(field), QRegularExpression::MultilineOption);
    return line.match(info).captured(1).trimmed();
}

QList<PrintedPage> ReadPages(const QString& pdf)
{
    const QString html = Run(MIROVAX_PDFTOTEXT, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression item(QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                                 "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PrintedPage> pages;
    for (auto it = item.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(0) == QStringLiteral("<page ")) {
            pages.append(PrintedPage{});
            continue;
        }
        if (pages.isEmpty())
            break;
        const double xMin = match.captured(1).toDouble();
        const double yMin = match.captured(2).toDouble();
        pages.last().words.append(Word{match.captured(5),
            QRectF(
                QPointF(xMin, yMin), QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()))});
    }
    return pages;
}

// Prints the model the way the window does, from the view, and returns the
// text area on paper that the report's margins give. choose stands for the
// print dialog's settings.
TextArea PrintToPdf(const ReportModel& model, const QString& pdf, QPrinter::PrinterMode mode,
    const std::function<void(QPrinter&)>& choose = {})
{
    QTextEdit view;
    ConfigureReportView(&view);
    ShowReportInView(&view, model);
    QPrinter printer(mode);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(TestPageLayout());
    if (choose)
        choose(printer);
    PrintReport(&view, printer);

    const QRectF printable = TestPageLayout().paintRect(QPageLayout::Point);
    return TextArea{
        printable.left() + 72, printable.top() + 72, printable.right() - 36, printable.bottom() - 72};
}

QString Outside(const PrintedPage& page, const TextArea& area)
{
    for (const Word& word : page.words) {
        const QRectF& b = word.box;
        if (b.left() < area.left - kTolerancePt || b.right() > area.right + kTolerancePt
            || b.top() < area.top - kTolerancePt || b.bottom() > area.bottom + kTolerancePt)
            return QStringLiteral("\"%1\" at %2,%3-%4,%5")
                .arg(word.text)
                .arg(b.left())
                .arg(b.top())
                .arg(b.right())
                .arg(b.bottom());
    }
    return {};
}

const Word* FindWord(const PrintedPage& page, const QString& text)
{
    for (const Word& word : page.words) {
        if (word.text == text)
            return &word;
    }
    return nullptr;
}

ReportRow Row(std::string text)
{
    ReportRow row;
    row.text = std::move(text);
    return row;
}

void AddResolutions()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("1200 dpi") << static_cast<int>(QPrinter::HighResolution);
    QTest::newRow("screen dpi") << static_cast<int>(QPrinter::ScreenResolution);
}

} // namespace

class ReportPrintTest : public QObject {
    Q_OBJECT

private slots:
    void reportFitsOnePageWithinTheMargins_data() { AddResolutions(); }
    void reportFitsOnePageWithinTheMargins();
    void fontsAreArialOrItsStandIn();
    void longReportRunsOnPageAfterPage_data() { AddResolutions(); }
    void longReportRunsOnPageAfterPage();
    void pageRangeAndCopiesFromThePrintDialog();
};

void ReportPrintTest::reportFitsOnePageWithinTheMargins()
{
    QFETCH(int, mode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));

    ReportModel model = BuildReport(testing::SampleSnapshot("Maximum Payload"));
    // A long row of short words wraps close to the right margin, so the
    // right edge of the text shows where the layout put it.
    std::string remark = "Remark:";
    for (int i = 0; i < 90; ++i)
        remark += " wxyz";
    model.rows.push_back(Row(remark));
    const TextArea area = PrintToPdf(model, pdf, static_cast<QPrinter::PrinterMode>(mode));

    QCOMPARE(InfoField(pdf, QStringLiteral("Title")), QStringLiteral("Mission_Report"));
    QCOMPARE(InfoField(pdf, QStringLiteral("Pages")), QStringLiteral("1"));
    const QList<PrintedPage> pages = ReadPages(pdf);
    QCOMPARE(pages.size(), 1);
    const PrintedPage& page = pages.first();
    const QString outside = Outside(page, area);
    QVERIFY2(outside.isEmpty(), qPrintable(outside));

    // The first row starts at the text area's top-left corner.
    QVERIFY(!page.words.isEmpty());
    QCOMPARE(page.words.first().text, QStringLiteral("Mirovax"));
    QVERIFY(std::abs(page.words.first().box.left() - area.left) < kTolerancePt);
    QVERIFY(std::abs(page.words.first().box.top() - area.top) < 3);

    // The tab stops: 100, 200 and 300 pt from the left edge of the text.
    const QStringList columns{
        QStringLiteral("A320-200"), QStringLiteral("Engine:"), QStringLiteral("CFM56-5B4")};
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const Word* word = FindWord(page, columns[i]);
        QVERIFY2(word != nullptr, qPrintable(columns[i]));
        const double expected = area.left + 100.0 * static_cast<double>(i + 1);
        QVERIFY2(std::abs(word->box.left() - expected) < kTolerancePt,
            qPrintable(
                QStringLiteral("%1 at %2, stop at %3").arg(columns[i]).arg(word->box.left()).arg(expected)));
    }

    // The wrapped row fills the lines up to the right margin.
    double rightmost = 0;
    for (const Word& word : page.words)
        rightmost = std::max(rightmost, word.box.right());
    QVERIFY2(rightmost > area.right - 30, qPrintable(QString::number(rightmost)));

    // The 14 pt title stands that much taller than the 8 pt rows.
    const Word* title = FindWord(page, QStringLiteral("Mission"));
    QVERIFY(title != nullptr);
    const double ratio = title->box.height() / page.words.first().box.height();
    QVERIFY2(ratio > 14.0 / 8 - 0.1 && ratio < 14.0 / 8 + 0.1, qPrintable(QString::number(ratio)));
}

void ReportPrintTest::fontsAreArialOrItsStandIn()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    PrintToPdf(BuildReport(testing::SampleSnapshot()), pdf, QPrinter::HighResolution);

    // Skip the table's two heading lines; the name is the first column, after
    // the subset tag that embedded fonts carry.
    const QStringList lines = Run(MIROVAX_PDFFONTS, {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(lines.size() >= 4, qPrintable(lines.join(QLatin1Char('\n'))));
    QStringList names;
    for (qsizetype i = 2; i < lines.size(); ++i)
        names.append(lines[i].section(QLatin1Char(' '), 0, 0).section(QLatin1Char('+'), -1));
    for (const QString& name : names) {
        QVERIFY2(
            name.startsWith(QStringLiteral("Arial")) || name.startsWith(QStringLiteral("LiberationSans")),
            qPrintable(names.join(QLatin1Char(','))));
    }
    // The headings are bold.
    QVERIFY2(
        std::any_of(names.begin(), names.end(), [](const QString& name) { return name.contains("Bold"); }),
        qPrintable(names.join(QLatin1Char(','))));
}

ReportModel NumberedRows(int count)
{
    ReportModel model;
    for (int i = 1; i <= count; ++i)
        model.rows.push_back(Row(QStringLiteral("R%1\tvalue").arg(i, 3, 10, QLatin1Char('0')).toStdString()));
    return model;
}

QStringList FirstWords(const QList<PrintedPage>& pages)
{
    QStringList words;
    for (const PrintedPage& page : pages)
        words.append(page.words.isEmpty() ? QString() : page.words.first().text);
    return words;
}

void ReportPrintTest::longReportRunsOnPageAfterPage()
{
    QFETCH(int, mode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    constexpr int kRows = 150;
    const ReportModel model = NumberedRows(kRows);
    const TextArea area = PrintToPdf(model, pdf, static_cast<QPrinter::PrinterMode>(mode));

    const QList<PrintedPage> pages = ReadPages(pdf);
    QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
    QCOMPARE(InfoField(pdf, QStringLiteral("Pages")), QString::number(pages.size()));

    int next = 1;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const PrintedPage& page = pages[p];
        const QString outside = Outside(page, area);
        QVERIFY2(outside.isEmpty(), qPrintable(QStringLiteral("page %1: %2").arg(p + 1).arg(outside)));
        QList<const Word*> rowWords;
        for (const Word& word : page.words) {
            if (word.text.startsWith(QLatin1Char('R')))
                rowWords.append(&word);
        }
        QVERIFY2(rowWords.size() >= 2, qPrintable(QStringLiteral("page %1").arg(p + 1)));
        // Every row once, in order, whole lines only.
        for (const Word* word : rowWords) {
            QCOMPARE(word->text, QStringLiteral("R%1").arg(next, 3, 10, QLatin1Char('0')));
            ++next;
        }
        // Each page starts at the top of the text area and, but for the
        // last, runs on to its bottom.
        QVERIFY(std::abs(rowWords.first()->box.top() - area.top) < 3);
        const double lineHeight = rowWords[1]->box.top() - rowWords[0]->box.top();
        if (p + 1 < pages.size()) {
            QVERIFY2(rowWords.last()->box.bottom() > area.bottom - 2 * lineHeight,
                qPrintable(
                    QStringLiteral("page %1 ends at %2").arg(p + 1).arg(rowWords.last()->box.bottom())));
        }
    }
    QCOMPARE(next, kRows + 1);
}

void ReportPrintTest::pageRangeAndCopiesFromThePrintDialog()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ReportModel model = NumberedRows(150);
    const QString all = dir.filePath(QStringLiteral("all.pdf"));
    PrintToPdf(model, all, QPrinter::HighResolution);
    const QStringList allFirst = FirstWords(ReadPages(all));
    QVERIFY2(allFirst.size() >= 3, qPrintable(allFirst.join(',')));

    const QString second = dir.filePath(QStringLiteral("second.pdf"));
    PrintToPdf(model, second, QPrinter::HighResolution, [](QPrinter& printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
    });
    QCOMPARE(FirstWords(ReadPages(second)), QStringList{allFirst[1]});

    // A file cannot make copies, so each copy is printed; collated, the
    // pages run in order once per copy.
    const QString copies = dir.filePath(QStringLiteral("copies.pdf"));
    PrintToPdf(model, copies, QPrinter::HighResolution, [](QPrinter& printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        printer.setCopyCount(2);
        printer.setCollateCopies(true);
    });
    QCOMPARE(
        FirstWords(ReadPages(copies)), (QStringList{allFirst[1], allFirst[2], allFirst[1], allFirst[2]}));

    const QString uncollated = dir.filePath(QStringLiteral("uncollated.pdf"));
    PrintToPdf(model, uncollated, QPrinter::HighResolution, [](QPrinter& printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        printer.setCopyCount(2);
        printer.setCollateCopies(false);
    });
    QCOMPARE(
        FirstWords(ReadPages(uncollated)), (QStringList{allFirst[1], allFirst[1], allFirst[2], allFirst[2]}));

    // A range past the report's end prints nothing and says so.
    const QString beyond = dir.filePath(QStringLiteral("beyond.pdf"));
    QString message;
    try {
        PrintToPdf(model, beyond, QPrinter::HighResolution, [&](QPrinter& printer) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(static_cast<int>(allFirst.size()) + 1, static_cast<int>(allFirst.size()) + 2);
        });
    } catch (const std::runtime_error& error) {
        message = QString::fromUtf8(error.what());
    }
    QVERIFY2(message.startsWith(QStringLiteral("Printing failed")), qPrintable(message));
    QVERIFY(!QFileInfo::exists(beyond));
}

} // namespace mirovax

QTEST_MAIN(mirovax::ReportPrintTest)
#include "test_report_print.moc"
