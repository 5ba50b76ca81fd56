// The report box of the main window: View Report, Done and Esc, Save Report
// and Print Report, driven through the real widgets.
#include "TestSupport.h"

#include "rtf_test_reader.h"
#include "ui/Controls.h"
#include "ui/reportview/report_view.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace mirovax;
using namespace mirovax::test;

class TestReportWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void viewReportRowsByMode_data();
    void viewReportRowsByMode();
    void viewShowsTheBoxAndEnablesTheCommands();
    void doneAndEscapeHideTheBox();
    void composingAgainReplacesTheReport();
    void reportViewIsReadOnlyArial();
    void windowCaptionsAreTheFixedCaptions();

    void saveCompletesTheNameByFileType_data();
    void saveCompletesTheNameByFileType();
    void saveProposesTheLastNameAndReplacesWithoutAsking();
    void saveWritesTheReportShownNotTheWindowNow();
    void cancelledSaveWritesNothing();
    void saveToAnUnwritablePlaceShowsAnError();
    void markupInAFieldIsSavedAsText();
    void realSaveDialogProposesTheNameAndDoesNotAsk();

    void printToPdfFileOneJob();
    void printerChosenIsKeptForTheNextPrint();
    void cancelledPrintPrintsNothing();
    void noPrinterOrPrinterErrorShowsAnErrorAndKeepsTheReport();

private:
    QPushButton* button(const char* name) const { return Child<QPushButton>(m_form.get(), name); }
    QAction* action(const char* name) const { return m_form->findChild<QAction*>(QString::fromLatin1(name)); }
    QTextEdit* richEdit() const { return Child<QTextEdit>(m_form.get(), "RichEdit"); }
    QWidget* reportBox() const { return Child<QWidget>(m_form.get(), "ReportBox"); }
    void setMode(const QString& mode);
    void executeAndView();
    QStringList shownLines() const;
    bool commandsEnabled() const;
    static QByteArray readFile(const QString& path);
    static QStringList rtfLines(const QByteArray& rtf);
    void answerPrinterWithPdf(const QString& path);

    std::unique_ptr<TProgramDir> m_dir;
    std::unique_ptr<TScriptedDialogs> m_dialogs;
    std::unique_ptr<TMainForm> m_form;
    std::unique_ptr<QTemporaryDir> m_out;
};

void TestReportWindow::init()
{
    m_dir = std::make_unique<TProgramDir>();
    m_dir->writeAirplanes({TestJet()});
    m_dir->writeAirports(BayAreaAirports());
    m_dialogs = std::make_unique<TScriptedDialogs>();
    m_form = std::make_unique<TMainForm>(*m_dialogs, m_dir->executable());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_out = std::make_unique<QTemporaryDir>();
}

void TestReportWindow::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_dir.reset();
    m_out.reset();
}

void TestReportWindow::setMode(const QString& mode)
{
    auto* selector = Child<QComboBox>(m_form.get(), "ModeSelector");
    const int index = selector->findText(mode);
    if (index >= 0) {
        selector->setCurrentIndex(index);
        emit selector->textActivated(mode);
    } else {
        // A text that is no mode name, typed by the user.
        selector->lineEdit()->selectAll();
        QTest::keyClicks(selector->lineEdit(), mode);
    }
}

void TestReportWindow::executeAndView()
{
    QTest::mouseClick(button("ExecuteButton"), Qt::LeftButton);
    QVERIFY(button("ViewReportButton")->isEnabled());
    QTest::mouseClick(button("ViewReportButton"), Qt::LeftButton);
}

QStringList TestReportWindow::shownLines() const
{
    QStringList lines;
    for (QTextBlock b = richEdit()->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

bool TestReportWindow::commandsEnabled() const
{
    const bool save = action("SaveReport1")->isEnabled();
    const bool print = action("PrintReport")->isEnabled();
    const bool tool = Child<QToolButton>(m_form.get(), "ToolButton5")->isEnabled();
    // The three always change together.
    if (save != print || print != tool)
        return !save; // makes the caller's expectation fail either way
    return save;
}

QByteArray TestReportWindow::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList TestReportWindow::rtfLines(const QByteArray& rtf)
{
    QStringList lines;
    const auto document = mirovax::testing::ReadRtf(std::string_view(rtf.constData(), size_t(rtf.size())));
    for (const auto& p : document.paragraphs)
        lines << QString::fromStdString(p.text);
    return lines;
}

void TestReportWindow::answerPrinterWithPdf(const QString& path)
{
    m_dialogs->printerAnswer = [path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
}

// ---------------------------------------------------------------------------
// View Report

void TestReportWindow::viewReportRowsByMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("route"); // rows 14 and 15
    QTest::addColumn<bool>("payload"); // row 16
    QTest::addColumn<bool>("limited"); // row 25
    QTest::newRow("trip") << "Trip Time and Fuel" << true << true << false;
    QTest::newRow("payload") << "Maximum Payload" << true << false << true;
    QTest::newRow("range") << "Maximum Range" << false << true << true;
    QTest::newRow("no mode name") << "maximum range" << false << false << false;
}

void TestReportWindow::viewReportRowsByMode()
{
    QFETCH(QString, mode);
    QFETCH(bool, route);
    QFETCH(bool, payload);
    QFETCH(bool, limited);
    // A valid run first; a mode text that names no mode is typed after it,
    // which leaves View Report enabled.
    const bool known = mode != QStringLiteral("maximum range");
    if (known)
        setMode(mode);
    executeAndView();
    if (!known) {
        QTest::mouseClick(button("ReportDoneButton"), Qt::LeftButton);
        setMode(mode);
        QTest::mouseClick(button("ViewReportButton"), Qt::LeftButton);
    }

    const QStringList lines = shownLines();
    QCOMPARE(lines.first(), m_form->windowTitle());
    QCOMPARE(lines.at(1), QStringLiteral("Mission Report"));
    QCOMPARE(lines.at(3), QStringLiteral("Solve for:\t") + mode);
    QCOMPARE(lines.contains(QStringLiteral("From:\tKSFO\tTo:\tKBFI")), route);
    QCOMPARE(lines.contains(QStringLiteral("Distance:\t") + Edit(m_form.get(), Field::Distance)->text()
                 + QStringLiteral(" NM")),
        route);
    QCOMPARE(lines.contains(QStringLiteral("Payload:\t") + Edit(m_form.get(), Field::Payload)->text()
                 + QStringLiteral(" kg")),
        payload);
    const QStringList limitedRows = lines.filter(QRegularExpression(QStringLiteral("^Limited by:\t")));
    QCOMPARE(limitedRows.size(), limited ? 1 : 0);
    if (limited) {
        const QString label11 = Child<QLabel>(m_form.get(), "Label11")->text();
        QCOMPARE(limitedRows.first(),
            QStringLiteral("Limited by:\t%1\t%2\t%3")
                .arg(Child<QLabel>(m_form.get(), "Label12")->text(), label11,
                    Child<QLabel>(m_form.get(), "Label13")->text()));
        QVERIFY(!Child<QLabel>(m_form.get(), "Label12")->text().isEmpty());
    }
    // Every row copies the window: the airplane panel and the results.
    QVERIFY(lines.contains(QStringLiteral("Airframe:\tTest twin jet\tEngine:\tTwo test turbofans")));
    QVERIFY(lines.contains(QStringLiteral("True Airspeed:\t%1\tGround Speed:\t%2")
                               .arg(Child<QLabel>(m_form.get(), "Label14")->text(),
                                   Child<QLabel>(m_form.get(), "Label15")->text())));
    QVERIFY(!Child<QLabel>(m_form.get(), "Label14")->text().isEmpty());
    // The Load Setup dialog was not used: the file row names nothing.
    QCOMPARE(lines.last(), QStringLiteral("File: "));
}

void TestReportWindow::viewShowsTheBoxAndEnablesTheCommands()
{
    QVERIFY(!reportBox()->isVisible());
    QVERIFY(!commandsEnabled());
    // The initial content is the one line of the view's name.
    QCOMPARE(richEdit()->toPlainText(), QStringLiteral("RichEdit"));
    executeAndView();
    QVERIFY(reportBox()->isVisible());
    QVERIFY(commandsEnabled());
    QCOMPARE(m_dialogs->messageCount(), 0);
}

void TestReportWindow::doneAndEscapeHideTheBox()
{
    executeAndView();
    QTest::mouseClick(button("ReportDoneButton"), Qt::LeftButton);
    QVERIFY(!reportBox()->isVisible());
    QVERIFY(!commandsEnabled());

    QTest::mouseClick(button("ViewReportButton"), Qt::LeftButton);
    QVERIFY(reportBox()->isVisible());
    QTest::keyClick(m_form.get(), Qt::Key_Escape);
    QVERIFY(!reportBox()->isVisible());
    QVERIFY(!commandsEnabled());

    // Hidden, the shortcuts neither save nor print.
    QTest::keyClick(m_form.get(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(m_form.get(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(m_dialogs->fileDialogs.size(), 0);
    QCOMPARE(m_dialogs->printDialogs, 0);
}

void TestReportWindow::composingAgainReplacesTheReport()
{
    executeAndView();
    const QStringList first = shownLines();
    QCOMPARE(first.size(), 35); // Trip Time and Fuel: row 25 left out

    // View Report again composes anew, from the window as it is now: a field
    // edited after the run shows its new text beside the earlier results.
    QTest::mouseClick(button("ReportDoneButton"), Qt::LeftButton);
    Edit(m_form.get(), Field::Wind)->setText(QStringLiteral("-25"));
    QTest::mouseClick(button("ViewReportButton"), Qt::LeftButton);
    const QStringList second = shownLines();
    QCOMPARE(second.size(), first.size());
    QVERIFY(second.contains(QStringLiteral("OAT:\t-46 \u00B0C\tWind:\t-25 kts")));
    QVERIFY(!second.contains(QStringLiteral("OAT:\t-46 \u00B0C\tWind:\t0 kts")));
    QCOMPARE(second.filter(QStringLiteral("Mission Report")).size(), 1);
}

void TestReportWindow::reportViewIsReadOnlyArial()
{
    executeAndView();
    QTextEdit* view = richEdit();
    QVERIFY(view->isReadOnly());
    QCOMPARE(view->font().family(), QStringLiteral("Arial"));
    QCOMPARE(view->font().pointSize(), 8);
    QTextBlock heading = view->document()->begin().next();
    QCOMPARE(heading.charFormat().fontPointSize(), 14.0);
    QVERIFY(heading.charFormat().fontUnderline());
    const QList<QTextOption::Tab> tabs = view->document()->begin().blockFormat().tabPositions();
    QCOMPARE(tabs.size(), 4);
    // 100 pt at 96 pixels per inch.
    QCOMPARE(tabs.first().position, 100.0 * 96.0 / 72.0);
    // Typing into the view changes nothing.
    view->setFocus();
    QTest::keyClicks(view, QStringLiteral("xyz"));
    QVERIFY(!view->toPlainText().contains(QStringLiteral("xyz")));
}

void TestReportWindow::windowCaptionsAreTheFixedCaptions()
{
    // The command line composes its report from the fixed captions; they
    // must be the ones the window shows.
    for (int n = 1; n <= 51; ++n) {
        const auto* caption = m_form->findChild<QLabel*>(QStringLiteral("StaticText") + QString::number(n));
        QVERIFY2(caption != nullptr, qPrintable(QString::number(n)));
        QCOMPARE(caption->text(),
            QString::fromUtf8(StaticTextCaption(n).data(), qsizetype(StaticTextCaption(n).size())));
    }
}

// ---------------------------------------------------------------------------
// Save Report

void TestReportWindow::saveCompletesTheNameByFileType_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("written");
    QTest::newRow("rich text, no extension") << "report" << 1 << "report.rtf";
    QTest::newRow("text, no extension") << "report" << 2 << "report.txt";
    QTest::newRow("other extension, rich text") << "report.doc" << 1 << "report.doc";
    QTest::newRow("other extension, text") << "report.doc" << 2 << "report.doc";
}

void TestReportWindow::saveCompletesTheNameByFileType()
{
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(QString, written);
    executeAndView();
    m_dialogs->files.push_back(FileChoice{m_out->filePath(typed), type});
    action("SaveReport1")->trigger();
    QCOMPARE(m_dialogs->errors, QStringList());
    QCOMPARE(m_dialogs->fileDialogs, QStringList{QStringLiteral("ReportSaveDialog")});
    QCOMPARE(m_dialogs->fileSpecs.front().filter, QStringLiteral("Rich Text File|*.RTF|Text File|*.TXT"));
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files), QStringList{written});
    // Rich text whatever the name or the type, holding the report shown.
    const QByteArray content = readFile(m_out->filePath(written));
    QVERIFY(content.startsWith("{\\rtf1"));
    QCOMPARE(rtfLines(content), shownLines());
    QVERIFY(reportBox()->isVisible());
}

void TestReportWindow::saveProposesTheLastNameAndReplacesWithoutAsking()
{
    executeAndView();
    const QString path = m_out->filePath(QStringLiteral("mission"));
    m_dialogs->files.push_back(FileChoice{path, 2});
    QTest::keyClick(m_form.get(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(m_dialogs->fileSpecs.size(), size_t(1));
    QCOMPARE(m_dialogs->fileSpecs[0].fileName, QString());
    QVERIFY(!m_dialogs->fileSpecs[0].confirmOverwrite);

    // The next save proposes the completed name; the file is replaced
    // without a question.
    Edit(m_form.get(), Field::Wind)->setText(QStringLiteral("15"));
    QTest::mouseClick(button("ReportDoneButton"), Qt::LeftButton);
    QTest::mouseClick(button("ViewReportButton"), Qt::LeftButton);
    m_dialogs->files.push_back(FileChoice{path + QStringLiteral(".txt"), 1});
    QTest::keyClick(m_form.get(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(m_dialogs->fileSpecs.size(), size_t(2));
    QCOMPARE(m_dialogs->fileSpecs[1].fileName, path + QStringLiteral(".txt"));
    QCOMPARE(m_dialogs->questions, QStringList());
    QVERIFY(rtfLines(readFile(path + QStringLiteral(".txt")))
                .contains(QStringLiteral("OAT:\t-46 \u00B0C\tWind:\t15 kts")));
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files), QStringList{QStringLiteral("mission.txt")});
}

void TestReportWindow::saveWritesTheReportShownNotTheWindowNow()
{
    executeAndView();
    const QStringList shown = shownLines();
    // While the report is shown the window goes on: the results are blanked
    // as a setup load or an airplane change does, and a field changes.
    m_form->ClearResults();
    Edit(m_form.get(), Field::From)->setText(QStringLiteral("KSEA"));
    QVERIFY(reportBox()->isVisible());
    QVERIFY(commandsEnabled());
    m_dialogs->files.push_back(FileChoice{m_out->filePath(QStringLiteral("kept.rtf")), 1});
    action("SaveReport1")->trigger();
    const QStringList saved = rtfLines(readFile(m_out->filePath(QStringLiteral("kept.rtf"))));
    QCOMPARE(saved, shown);
    QVERIFY(saved.contains(QStringLiteral("From:\tKSFO\tTo:\tKBFI")));
}

void TestReportWindow::cancelledSaveWritesNothing()
{
    executeAndView();
    action("SaveReport1")->trigger(); // no answer queued: cancelled
    QCOMPARE(m_dialogs->fileDialogs.size(), 1);
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files), QStringList());
    QCOMPARE(m_dialogs->messageCount(), 0);
    QVERIFY(reportBox()->isVisible());
}

void TestReportWindow::saveToAnUnwritablePlaceShowsAnError()
{
    executeAndView();
    const QString target = m_out->filePath(QStringLiteral("no-such-dir/report"));
    m_dialogs->files.push_back(FileChoice{target, 1});
    action("SaveReport1")->trigger();
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY2(m_dialogs->errors.first().contains(QStringLiteral("report.rtf")),
        qPrintable(m_dialogs->errors.first()));
    QVERIFY(reportBox()->isVisible());
    QVERIFY(commandsEnabled());

    // A directory in the file's place is left as it was.
    const QString directory = m_out->filePath(QStringLiteral("taken.rtf"));
    QVERIFY(QDir().mkdir(directory));
    m_dialogs->files.push_back(FileChoice{directory, 1});
    action("SaveReport1")->trigger();
    QCOMPARE(m_dialogs->errors.size(), 2);
    QVERIFY(QFileInfo(directory).isDir());
    QCOMPARE(m_dialogs->fileSpecs.back().fileName, QString()); // nothing was saved
}

void TestReportWindow::markupInAFieldIsSavedAsText()
{
    auto* regulations = Child<QComboBox>(m_form.get(), "RegulationSelector");
    regulations->setEditText(QStringLiteral("{\\b x} C:\\dir\\par"));
    executeAndView();
    m_dialogs->files.push_back(FileChoice{m_out->filePath(QStringLiteral("markup")), 1});
    action("SaveReport1")->trigger();
    const QStringList saved = rtfLines(readFile(m_out->filePath(QStringLiteral("markup.rtf"))));
    QVERIFY(saved.contains(QStringLiteral("Regulations:\t{\\b x} C:\\dir\\par\tFlight Level:\t310")));
    QCOMPARE(saved, shownLines());
}

void TestReportWindow::realSaveDialogProposesTheNameAndDoesNotAsk()
{
    const QString proposed = m_out->filePath(QStringLiteral("last.rtf"));
    QFile(proposed).open(QIODevice::WriteOnly); // an existing file: no question
    FileDialogSpec spec = kReportSaveDialog;
    spec.fileName = proposed;
    spec.confirmOverwrite = false;
    QString seenName;
    QStringList seenFilters;
    QStringList seenFiles;
    bool asks = true;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        seenName = dialog->objectName();
        seenFilters = dialog->nameFilters();
        seenFiles = dialog->selectedFiles();
        asks = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    TQtDialogs real;
    const FileChoice choice = real.saveFile(m_form.get(), spec);
    QCOMPARE(seenName, QStringLiteral("ReportSaveDialog"));
    QCOMPARE(seenFilters,
        (QStringList{QStringLiteral("Rich Text File (*.RTF)"), QStringLiteral("Text File (*.TXT)")}));
    QCOMPARE(seenFiles, QStringList{proposed});
    QVERIFY(!asks);
    QCOMPARE(choice.path, proposed);
    QCOMPARE(choice.filterIndex, 1);
}

// ---------------------------------------------------------------------------
// Print Report

void TestReportWindow::printToPdfFileOneJob()
{
    executeAndView();
    const QString pdf = m_out->filePath(QStringLiteral("report.pdf"));
    const QPrinter* used = nullptr;
    m_dialogs->printerAnswer = [&](QPrinter& printer) {
        used = &printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    Child<QToolButton>(m_form.get(), "ToolButton5")->click();
    QCOMPARE(m_dialogs->printDialogs, 1);
    QCOMPARE(m_dialogs->errors, QStringList());
    const QByteArray content = readFile(pdf);
    QVERIFY(content.startsWith("%PDF"));
    QVERIFY(used != nullptr);
    QCOMPARE(used->docName(), QStringLiteral("Mission_Report"));
    QVERIFY(reportBox()->isVisible());
}

void TestReportWindow::printerChosenIsKeptForTheNextPrint()
{
    executeAndView();
    QStringList seenFiles;
    QList<const QPrinter*> seenPrinters;
    const QString first = m_out->filePath(QStringLiteral("first.pdf"));
    m_dialogs->printerAnswer = [&](QPrinter& printer) {
        seenFiles << printer.outputFileName();
        seenPrinters << &printer;
        if (printer.outputFileName().isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(first);
        }
        return true;
    };
    action("PrintReport")->trigger();
    QTest::keyClick(m_form.get(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(m_dialogs->printDialogs, 2);
    QCOMPARE(seenFiles, (QStringList{QString(), first}));
    QCOMPARE(seenPrinters.at(0), seenPrinters.at(1));
    QCOMPARE(seenPrinters.at(0)->resolution() >= 300, true); // high resolution
    QCOMPARE(m_dialogs->errors, QStringList());
}

void TestReportWindow::cancelledPrintPrintsNothing()
{
    executeAndView();
    const QString pdf = m_out->filePath(QStringLiteral("never.pdf"));
    m_dialogs->printerAnswer = [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return false;
    };
    action("PrintReport")->trigger();
    QCOMPARE(m_dialogs->printDialogs, 1);
    QVERIFY(!QFileInfo::exists(pdf));
    QCOMPARE(m_dialogs->messageCount(), 0);
}

void TestReportWindow::noPrinterOrPrinterErrorShowsAnErrorAndKeepsTheReport()
{
    executeAndView();
    // Confirmed without a printer to print on.
    m_dialogs->printerAnswer = [](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString());
        return true;
    };
    action("PrintReport")->trigger();
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY2(m_dialogs->errors.first().contains(QStringLiteral("No printer")),
        qPrintable(m_dialogs->errors.first()));
    QVERIFY(reportBox()->isVisible());
    QVERIFY(commandsEnabled());

    // A printer that fails: its output cannot be created.
    answerPrinterWithPdf(m_out->filePath(QStringLiteral("no-such-dir/report.pdf")));
    action("PrintReport")->trigger();
    QCOMPARE(m_dialogs->errors.size(), 2);
    QVERIFY2(m_dialogs->errors.last().contains(QStringLiteral("Printing failed")),
        qPrintable(m_dialogs->errors.last()));
    QVERIFY(reportBox()->isVisible());
    QVERIFY(commandsEnabled());
}

QTEST_MAIN(TestReportWindow)
#include "test_report_window.moc"
