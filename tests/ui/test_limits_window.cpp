// The limits window and the dispatch sheet dialog of the main window: both
// show what the core finds for the record a run left, and the sheet's files
// go through the one file writer.
#include "TestSupport.h"

#include "engine/mission_limits.h"
#include "engine/text_format.h"
#include "report/dispatch_sheet.h"
#include "setup/setup_file.h"
#include "ui/CompareForm.h"
#include "ui/Controls.h"
#include "ui/DispatchSheetDialog.h"
#include "ui/LimitsForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

#include <ctime>

using namespace mirovax;
using namespace mirovax::test;

namespace {

// Every text a window shows or reads out that names kilograms: labels,
// fields, buttons, table cells and headers, chart titles and axes, and the
// accessible names and descriptions; each as "object: text".
QStringList KilogramTexts(QWidget* window)
{
    QStringList found;
    const auto check = [&found](const QObject* owner, const QString& text) {
        if (mirovax::testing::NamesKilograms(text.toStdString()))
            found << owner->objectName() + QStringLiteral(": ") + text;
    };
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(window) && w != window)
            continue;
        check(w, w->accessibleName());
        check(w, w->accessibleDescription());
        check(w, w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w))
            check(w, label->text());
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            check(w, edit->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            check(w, button->text());
        if (auto* table = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < table->columnCount(); ++c) {
                if (table->horizontalHeaderItem(c))
                    check(w, table->horizontalHeaderItem(c)->text());
            }
            for (int r = 0; r < table->rowCount(); ++r) {
                if (table->verticalHeaderItem(r))
                    check(w, table->verticalHeaderItem(r)->text());
                for (int c = 0; c < table->columnCount(); ++c) {
                    if (table->item(r, c))
                        check(w, table->item(r, c)->text());
                }
            }
        }
        if (auto* view = qobject_cast<QChartView*>(w)) {
            check(w, view->chart()->title());
            for (QAbstractAxis* axis : view->chart()->axes())
                check(w, axis->titleText());
        }
    }
    return found;
}

// A PDF as Qt writes it, with a page tree of one page.
bool OnePagePdf(const std::string& bytes)
{
    return bytes.starts_with("%PDF") && bytes.find("/Type /Pages") != std::string::npos
        && bytes.find("/Count 1\n") != std::string::npos;
}

} // namespace

class TestLimitsWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void followsEveryRun_data();
    void followsEveryRun();
    void showsALimitStop();
    void gaugePaintsItsState();
    void sheetSavesTheCoresSheetAndRefusesAnInput();
    void sheetWarnsOfTheFilesAllowableWeights();
    void poundsOnEveryWindowAndRememberedForTheNextStart();

private:
    void execute() { Child<QPushButton>(mainForm(), "ExecuteButton")->click(); }
    QString text(const char* name) const { return Child<QLabel>(mainForm()->LimitsForm(), name)->text(); }
    // The gauges as the window shows them against what the core finds for
    // the record the run left.
    void compareWithTheCore(const QString& mode, bool valid);

    TMainForm* mainForm() const { return m_window.form.get(); }

    TWindowUnderTest m_window;
};

void TestLimitsWindow::init()
{
    QVERIFY(m_window.start());
}

void TestLimitsWindow::cleanup()
{
    m_window.stop();
}

void TestLimitsWindow::compareWithTheCore(const QString& mode, bool valid)
{
    const MissionLimits expected = ComputeMissionLimits(mainForm()->MissionData(), mode.toStdString(), valid);
    TLimitsForm* form = mainForm()->LimitsForm();
    QVERIFY(form->LimitsShown());
    QVERIFY(!form->OutOfDate());
    QVERIFY(!expected.limits.empty());
    for (size_t i = 0; i < expected.limits.size(); ++i) {
        const LimitMargin& want = expected.limits[i];
        const int n = static_cast<int>(i) + 1;
        TMarginGauge* gauge = form->Gauge(n);
        QVERIFY(gauge);
        QCOMPARE(gauge->Margin().name, want.name);
        QCOMPARE(gauge->Margin().value, want.value);
        QCOMPARE(gauge->Margin().limit, want.limit);
        QCOMPARE(gauge->Margin().margin, want.margin);
        QCOMPARE(gauge->Margin().binding, want.binding);
        QCOMPARE(gauge->State(), MarginStateOf(want, expected.firstDistanceBeyondLimit));
        const QByteArray cell = QByteArray::number(n);
        QCOMPARE(text("GaugeName" + cell), QString::fromStdString(want.name));
        QCOMPARE(text("GaugeValue" + cell), QString::fromStdString(FormatRounded(want.value)));
        QCOMPARE(text("GaugeMargin" + cell), QString::fromStdString(FormatRounded(want.margin)));
    }
    QVERIFY(!form->Gauge(static_cast<int>(expected.limits.size()) + 1));
    QCOMPARE(text("BindingLabel"),
        "Binding limit: "
            + (expected.binding.empty() ? QStringLiteral("none") : QString::fromStdString(expected.binding)));
    QCOMPARE(Child<QLabel>(form, "RangeNote")->isVisibleTo(form), expected.firstDistanceBeyondLimit);
    // Every stop is told, by a limit of the list or not.
    QCOMPARE(Child<QLabel>(form, "StopLabel")->isVisibleTo(form), !valid);
    QCOMPARE(Child<QLabel>(form, "ExtraPayloadLabel")->isVisibleTo(form), expected.extraPayload.has_value());
    QCOMPARE(Child<QLabel>(form, "ExtraFuelLabel")->isVisibleTo(form), expected.extraFuel.has_value());
    if (expected.extraPayload)
        QCOMPARE(text("ExtraPayloadLabel"),
            QStringLiteral("Possible extra payload: %1 kg")
                .arg(QString::fromStdString(FormatRounded(*expected.extraPayload))));
    if (expected.extraFuel)
        QCOMPARE(text("ExtraFuelLabel"),
            QStringLiteral("Possible extra fuel: %1 kg")
                .arg(QString::fromStdString(FormatRounded(*expected.extraFuel))));
}

void TestLimitsWindow::followsEveryRun_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("trip") << QStringLiteral("Trip Time and Fuel");
    QTest::newRow("payload") << QStringLiteral("Maximum Payload");
    QTest::newRow("range") << QStringLiteral("Maximum Range");
}

void TestLimitsWindow::followsEveryRun()
{
    QFETCH(QString, mode);
    auto* command = Child<QAction>(mainForm(), "Limits1");
    QVERIFY(Child<QMenu>(mainForm(), "File1")->actions().contains(command));
    auto* button = Child<QToolButton>(mainForm(), "ToolButton10");
    QCOMPARE(button->toolTip(), QStringLiteral("Limits and Margins"));
    QVERIFY(button->geometry().left() > Child<QToolButton>(mainForm(), "ToolButton8")->geometry().right());
    QTest::mouseClick(button, Qt::LeftButton);
    TLimitsForm* form = mainForm()->LimitsForm();
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("Limits and Margins"));
    QVERIFY(!form->LimitsShown());

    PickItem(mainForm(), "ModeSelector", mode);
    execute();
    QCOMPARE(m_window.dialogs->messageCount(), 0);
    compareWithTheCore(mode, true);
    // Only Trip Time and Fuel has extras.
    QCOMPARE(form->Limits().extraFuel.has_value(), mode == QStringLiteral("Trip Time and Fuel"));
    QVERIFY(!form->Limits().binding.empty());
    if (mode == QStringLiteral("Maximum Range")) {
        QVERIFY(form->Limits().firstDistanceBeyondLimit);
        // Test Jet's takeoff weight and tank capacity break at the same
        // distance, both past their marks by design: amber, no alarm.
        for (int n = 1; form->Gauge(n); ++n)
            QVERIFY(form->Gauge(n)->State() != MarginState::Exceeded);
    }

    // An entry changed: greyed and marked, figures kept; the sheet waits for
    // the next run.
    const MissionLimits shown = form->Limits();
    Edit(mainForm(), Field::Payload)->setText(QStringLiteral("11000"));
    QVERIFY(form->OutOfDate());
    QVERIFY(!form->Gauge(1)->isEnabled());
    QCOMPARE(form->Limits().limits.size(), shown.limits.size());
    QVERIFY(!Child<QAction>(mainForm(), "DispatchSheet1")->isEnabled());

    execute();
    compareWithTheCore(mode, true);
    QVERIFY(Child<QAction>(mainForm(), "DispatchSheet1")->isEnabled());

    // Blanked with the results: another airplane, or a run that cannot read
    // its entries.
    PickItem(mainForm(), "AirplaneSelector", QStringLiteral("Heavy Jet"));
    QVERIFY(!form->LimitsShown());
    execute();
    QVERIFY(form->LimitsShown());
    const QString level = Edit(mainForm(), Field::FlightLevel)->text();
    Edit(mainForm(), Field::FlightLevel)->setText(QString());
    execute();
    QVERIFY(!form->LimitsShown());
    QVERIFY(!Child<QAction>(mainForm(), "DispatchSheet1")->isEnabled());

    // A window closed and opened again shows the last run.
    Edit(mainForm(), Field::FlightLevel)->setText(level);
    execute();
    form->close();
    Edit(mainForm(), Field::Payload)->setText(QStringLiteral("11000"));
    execute();
    command->trigger();
    compareWithTheCore(mode, true);
}

void TestLimitsWindow::showsALimitStop()
{
    Child<QAction>(mainForm(), "Limits1")->trigger();
    Edit(mainForm(), Field::Payload)->setText(QStringLiteral("20000")); // zero fuel weight 60000, MZFW 56000
    execute();
    QCOMPARE(m_window.dialogs->warnings,
        QStringList{QStringLiteral("Maximum Zero Fuel Weight of 56000 kg exceeded!")});
    compareWithTheCore(QStringLiteral("Trip Time and Fuel"), false);
    const MissionLimits& limits = mainForm()->LimitsForm()->Limits();
    QVERIFY(limits.stopped);
    QCOMPARE(limits.stoppedBy, std::string(kMarginZeroFuelWeight));
    QCOMPARE(text("StopLabel"),
        QStringLiteral("The run was stopped by Zero Fuel Weight, exceeded by %1 kg.")
            .arg(QString::fromStdString(FormatRounded(limits.exceededBy))));
    QCOMPARE(mainForm()->LimitsForm()->Gauge(1)->State(), MarginState::Exceeded);

    // The sheet of a stopped run carries the stop among its warnings.
    QVERIFY(Child<QAction>(mainForm(), "DispatchSheet1")->isEnabled());
    QCOMPARE(mainForm()->LastRun()->warnings,
        std::vector<std::string>{"Maximum Zero Fuel Weight of 56000 kg exceeded!"});
    QVERIFY(!mainForm()->LastRun()->valid);

    // A wind the airplane cannot fly against stops the run before any
    // weight: no limit of the list stopped it, and the window says what did.
    Edit(mainForm(), Field::Payload)->setText(QStringLiteral("12000"));
    Edit(mainForm(), Field::Wind)->setText(QStringLiteral("500"));
    execute();
    compareWithTheCore(QStringLiteral("Trip Time and Fuel"), false);
    QVERIFY(!mainForm()->LimitsForm()->Limits().stopped);
    QCOMPARE(text("StopLabel"), "The run was stopped: " + m_window.dialogs->warnings.back());
}

// The bar's fill: green with room to spare, amber near the limit, red above
// it, grey once out of date.
void TestLimitsWindow::gaugePaintsItsState()
{
    const LimitMargin m{std::string(kMarginTakeoffWeight), 49000, 50000, 1000, false, false};
    const auto fill = [&m](MarginState state, bool enabled) {
        TMarginGauge gauge(m, state, MassUnit::Kilograms);
        gauge.resize(gauge.sizeHint());
        gauge.setEnabled(enabled);
        return gauge.grab().toImage().pixelColor(10, gauge.height() / 2);
    };
    const int ok = fill(MarginState::Ok, true).hsvHue();
    const int near = fill(MarginState::Near, true).hsvHue();
    const int exceeded = fill(MarginState::Exceeded, true).hsvHue();
    QVERIFY2(ok > 90 && ok < 150, qPrintable(QString::number(ok)));
    QVERIFY2(near > 25 && near < 50, qPrintable(QString::number(near)));
    QVERIFY2(exceeded >= 0 && (exceeded < 10 || exceeded > 350), qPrintable(QString::number(exceeded)));
    QCOMPARE(fill(MarginState::Exceeded, false).hsvSaturation(), 0);
}

void TestLimitsWindow::sheetSavesTheCoresSheetAndRefusesAnInput()
{
    auto* command = Child<QAction>(mainForm(), "DispatchSheet1");
    QCOMPARE(command->text(), QStringLiteral("&Dispatch Sheet\u2026"));
    QVERIFY(!command->isEnabled());
    const std::time_t before = std::time(nullptr);
    execute();
    const std::time_t after = std::time(nullptr);
    command->trigger();
    TDispatchSheetDialog* dialog = mainForm()->DispatchSheetDialog();
    QVERIFY(dialog && dialog->isVisible());
    QTest::keyClicks(Child<QLineEdit>(dialog, "FlightEdit"), QStringLiteral("MX 12 <script>&\""));
    QTest::keyClicks(Child<QLineEdit>(dialog, "RegistrationEdit"), QStringLiteral("D-AMRX"));

    // The sheet the core writes for the same run, made here from the window's
    // texts and the record the run left.
    DispatchSheetInput input;
    input.runTime = dialog->SheetInput().runTime;
    QVERIFY(input.runTime >= before && input.runTime <= after);
    input.flight = "MX 12 <script>&\"";
    input.registration = "D-AMRX";
    input.programTitle = mainForm()->windowTitle().toStdString();
    input.modeText = "Trip Time and Fuel";
    input.regulationText = Child<QComboBox>(mainForm(), "RegulationSelector")->currentText().toStdString();
    input.fields = EntryTexts(mainForm());
    input.md = mainForm()->MissionData();
    input.valid = true;
    input.limits = ComputeMissionLimits(input.md, input.modeText, true);
    const std::string expected = DispatchSheetHtml(input);
    QCOMPARE(dialog->Html(), expected);

    const QString html = m_window.dir->path(QStringLiteral("sheet")); // the suffix is added
    m_window.dialogs->files.push_back({html, 1});
    QVERIFY(dialog->SaveHtml());
    QCOMPARE(mirovax::testing::ReadFile(FilePath(html + ".html")), expected);
    QCOMPARE(m_window.dialogs->fileDialogs, QStringList{QStringLiteral("SheetHtmlSaveDialog")});

    // The airplane table the run read is refused, and left as it was.
    const QString table = m_window.dir->path(QStringLiteral("Airplane.DB"));
    const std::string tableBytes = mirovax::testing::ReadFile(FilePath(table));
    m_window.dialogs->files.push_back({table, 1});
    QVERIFY(!dialog->SaveHtml());
    m_window.dialogs->files.push_back({table, 1});
    QVERIFY(!dialog->SavePdf());
    QCOMPARE(m_window.dialogs->errors.size(), 2);
    QVERIFY(
        m_window.dialogs->errors.front().startsWith("Cannot write the dispatch sheet to \"" + table + "\""));
    QCOMPARE(mirovax::testing::ReadFile(FilePath(table)), tableBytes);

    // PDF and print: one page each.
    const QString pdf = m_window.dir->path(QStringLiteral("sheet.pdf"));
    m_window.dialogs->files.push_back({pdf, 1});
    QVERIFY(dialog->SavePdf());
    QVERIFY(OnePagePdf(mirovax::testing::ReadFile(FilePath(pdf))));
    const QString printed = m_window.dir->path(QStringLiteral("printed.pdf"));
    m_window.dialogs->printerAnswer = [&printed](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    };
    QVERIFY(dialog->Print());
    QVERIFY(OnePagePdf(mirovax::testing::ReadFile(FilePath(printed))));
    QCOMPARE(m_window.dialogs->errors.size(), 2);
}

// A setup file's MATOW above the structure is noted at the load; the runs on
// those entries carry the note to their sheet until MATOW is edited.
void TestLimitsWindow::sheetWarnsOfTheFilesAllowableWeights()
{
    const QString path = m_window.dir->path(QStringLiteral("heavy.mrx"));
    mainForm()->SaveSetupFile(path);
    SetupTexts texts = LoadSetup(FilePath(path));
    texts[13] = "99999"; // MATOW, Test Jet's MTOW is 70000
    SaveSetup(FilePath(path), texts);
    m_window.dialogs->files.push_back({path, 1});
    Child<QAction>(mainForm(), "LoadSetup1")->trigger();
    QCOMPARE(Edit(mainForm(), Field::Matow)->text(), QStringLiteral("70000"));

    execute();
    const std::vector<std::string> warnings = mainForm()->LastRun()->warnings;
    QCOMPARE(warnings.size(), size_t{1});
    QVERIFY(Child<QStatusBar>(mainForm(), "StatusBar1")->currentMessage().endsWith(Q(warnings.front())));

    Edit(mainForm(), Field::Matow)->setText(QStringLiteral("69000"));
    execute();
    QVERIFY(mainForm()->LastRun()->warnings.empty());
}

// Units > Pounds: the entries' units, the results, the airplane data, the
// limits, compare and the payload-range window all in pounds, not a "kg"
// left in any text they show or read out; the limit stop names pounds; the
// unit is remembered for the next start and kilograms come back as they were.
void TestLimitsWindow::poundsOnEveryWindowAndRememberedForTheNextStart()
{
    QSettings settings(QStringLiteral("Mirovax"), QStringLiteral("Mirovax"));
    const auto restore = qScopeGuard([&settings] { settings.remove(QStringLiteral("units")); });
    const FieldTexts kilogramEntries = EntryTexts(mainForm());
    QVERIFY(KilogramTexts(mainForm()).contains(QStringLiteral("StaticText9: kg")));
    Child<QAction>(mainForm(), "Pounds1")->trigger();
    QCOMPARE(QSettings(QStringLiteral("Mirovax"), QStringLiteral("Mirovax")).value("units").toString(),
        QStringLiteral("lb"));
    QVERIFY(Child<QAction>(mainForm(), "Pounds1")->isChecked());
    QCOMPARE(Child<QLabel>(mainForm(), "StaticText9")->text(), QStringLiteral("lb"));
    QCOMPARE(Edit(mainForm(), Field::Matow)->text().toStdString(),
        FormatMass(std::stod(kilogramEntries[Field::Matow]), MassUnit::Pounds));

    // The structure's cap is told and shown in pounds, the limit's very
    // kilograms under it.
    TEdit* matow = Edit(mainForm(), Field::Matow);
    matow->setFocus();
    matow->selectAll();
    QTest::keyClicks(matow, QStringLiteral("170000"));
    QTest::keyClick(matow, Qt::Key_Tab);
    QCOMPARE(m_window.dialogs->warnings.back(),
        QStringLiteral("Maximum Structural Takeoff Weight of 154324 lb exceeded!"));
    QCOMPARE(matow->text(), QStringLiteral("154324"));
    QCOMPARE(mainForm()->Session().Text(Field::Matow), std::string("70000"));

    for (const char* window : {"Limits1", "Compare1", "PayloadRange1"})
        Child<QAction>(mainForm(), window)->trigger();
    execute();
    QVERIFY(mainForm()->LastRun() && mainForm()->LastRun()->valid);
    QCOMPARE(Child<QLabel>(mainForm(), "Label28")->text().toStdString(),
        FormatMass(mainForm()->MissionData().ZeroFuelWeight, MassUnit::Pounds) + " lb");
    Child<QPushButton>(mainForm(), "ViewAirplaneDataButton")->click();
    const QList<QWidget*> windows
        = {mainForm(), mainForm()->LimitsForm(), static_cast<QWidget*>(mainForm()->CompareForm()),
            static_cast<QWidget*>(mainForm()->PayloadRangeForm())};
    for (QWidget* window : windows)
        QVERIFY2(
            KilogramTexts(window).isEmpty(), qPrintable(KilogramTexts(window).join(QStringLiteral("\n"))));
    QVERIFY(text("GaugeValue1").toStdString()
        == FormatMass(mainForm()->LimitsForm()->Limits().limits[0].value, MassUnit::Pounds));
    Child<QPushButton>(mainForm(), "AirplaneDataDoneButton")->click();

    Edit(mainForm(), Field::Payload)->setText(QStringLiteral("44092")); // 20000 kg: above the MZFW
    execute();
    QCOMPARE(
        m_window.dialogs->warnings.back(), QStringLiteral("Maximum Zero Fuel Weight of 123459 lb exceeded!"));
    QVERIFY(KilogramTexts(mainForm()->LimitsForm()).isEmpty());

    // The next start shows pounds; kilograms bring back the entries as they
    // were typed.
    m_window.stop();
    QVERIFY(m_window.start());
    QVERIFY(Child<QAction>(mainForm(), "Pounds1")->isChecked());
    QCOMPARE(Child<QLabel>(mainForm(), "StaticText25")->text(), QStringLiteral("lb"));
    Child<QAction>(mainForm(), "Kilograms1")->trigger();
    QCOMPARE(EntryTexts(mainForm()), kilogramEntries);
    QCOMPARE(Child<QLabel>(mainForm(), "StaticText26")->text(), QStringLiteral("kg"));
    QVERIFY(!mainForm()->SetupChanged());
}

MIROVAX_WINDOW_TEST_MAIN(TestLimitsWindow)
#include "test_limits_window.moc"
