// The compare command of the main window: the window it opens, its tables
// against the main window's own runs, its "Use" buttons, and one update of
// every following window per user action.
#include "TestSupport.h"

#include "form/compare.h"
#include "form/input_rules.h"
#include "grib_writer.h"
#include "ui/CompareForm.h"
#include "ui/Controls.h"
#include "ui/LimitsForm.h"
#include "ui/diagram/payload_range_form.h"

#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QFile>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QScatterSeries>
#include <QSet>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace mirovax;
using namespace mirovax::test;

class TestCompareWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_w.start()); }
    void cleanup() { m_w.stop(); }

    void opensFromMenuAndToolBar();
    void usedCasesRunAsInTheTables_data();
    void usedCasesRunAsInTheTables();
    void unreadableEntriesAreNamed();
    void oneUpdatePerUserAction_data();
    void oneUpdatePerUserAction();
    void aForecastGivesEachLevelItsWind();

private:
    TMainForm* form() const { return m_w.form.get(); }
    TCompareForm* open()
    {
        Child<QAction>(form(), "Compare1")->trigger();
        return form()->CompareForm();
    }
    FieldTexts entries() const { return EntryTexts(form()); }

    TWindowUnderTest m_w;
};

void TestCompareWindow::opensFromMenuAndToolBar()
{
    auto* action = Child<QAction>(form(), "Compare1");
    QVERIFY(action);
    QVERIFY(Child<QMenu>(form(), "File1")->actions().contains(action));
    auto* button = Child<QToolButton>(form(), "ToolButton11");
    QVERIFY(button);
    QVERIFY(!button->icon().isNull());
    auto* limitsButton = Child<QToolButton>(form(), "ToolButton10");
    QVERIFY(limitsButton);
    QVERIFY(!button->geometry().intersects(limitsButton->geometry()));

    QTest::mouseClick(button, Qt::LeftButton);
    TCompareForm* compare = form()->CompareForm();
    QVERIFY(compare && compare->isVisible() && compare->TablesShown());
    QVERIFY(!compare->isModal());
    QCOMPARE(compare->RegulationTable()->columnCount(), static_cast<int>(RegulationPresets().size()));
    // The test jet cruises from FL 200 to its 41000 ft ceiling.
    QCOMPARE(compare->LevelTable()->rowCount(), 22);
    QCOMPARE(compare->LevelTable()->item(21, 0)->text(), QStringLiteral("410"));
    // The chart marks the one best level.
    const auto series = compare->Chart()->series();
    auto* best = qobject_cast<QScatterSeries*>(series.at(1));
    QVERIFY(best);
    QCOMPARE(best->count(), 1);
    const CompareTables& tables = compare->Tables();
    QVERIFY(tables.bestLevel);
    QCOMPARE(best->at(0).x(), tables.levels[*tables.bestLevel].flightLevel);
}

void TestCompareWindow::usedCasesRunAsInTheTables_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("payload");
    QTest::newRow("trip") << QString::fromUtf8(kModeTripTimeAndFuel.data()) << QStringLiteral("2000");
    // Heavy enough for some levels to stop at a limit.
    QTest::newRow("trip, heavy") << QString::fromUtf8(kModeTripTimeAndFuel.data()) << QStringLiteral("21000");
    QTest::newRow("range") << QString::fromUtf8(kModeMaximumRange.data()) << QStringLiteral("2000");
    QTest::newRow("payload") << QString::fromUtf8(kModeMaximumPayload.data()) << QStringLiteral("2000");
}

void TestCompareWindow::usedCasesRunAsInTheTables()
{
    QFETCH(QString, mode);
    QFETCH(QString, payload);
    PickItem(form(), "ModeSelector", mode);
    Edit(form(), Field::Payload)->setText(payload);
    TCompareForm* compare = open();
    QVERIFY(compare->TablesShown());
    const CompareTables tables = compare->Tables();
    QCOMPARE(tables.modeText, mode.toStdString());

    // "Use" each regulation and some levels, as the user clicks it; the
    // main window then holds the case's entries (as the window showed them
    // before the click), counts them as changed, and Execute gives the
    // case's figures.
    QStringList buttons;
    for (size_t i = 1; i <= tables.regulations.size(); ++i)
        buttons << QStringLiteral("UseRegulation%1").arg(i);
    for (size_t i : {size_t{0}, tables.bestLevel.value_or(1), tables.levels.size() - 1})
        buttons << QStringLiteral("UseLevel%1").arg(i + 1);
    buttons.removeDuplicates(); // the best level may be the first
    for (const QString& name : buttons) {
        const bool regulation = name.startsWith(QStringLiteral("UseRegulation"));
        const size_t index = name.mid(regulation ? 13 : 8).toULong() - 1;
        const CompareCase c
            = regulation ? compare->Tables().regulations.at(index) : compare->Tables().levels.at(index);
        const QByteArray what = name.toUtf8() + " " + QByteArray::fromStdString(c.label);
        form()->SetSetupChanged(false);
        auto* button = compare->findChild<QPushButton*>(name);
        QVERIFY2(button, what);
        button->click();
        QVERIFY2(form()->SetupChanged(), what);
        QVERIFY2(entries() == c.texts, what);
        if (regulation)
            QCOMPARE(Child<QComboBox>(form(), "RegulationSelector")->currentText().toStdString(), c.label);

        m_w.dialogs->warnings.clear();
        Child<QPushButton>(form(), "ExecuteButton")->click();
        const TMissionData& md = form()->MissionData();
        QVERIFY2(md.CalculationValid == c.valid, what);
        QVERIFY2(
            m_w.dialogs->warnings.value(m_w.dialogs->warnings.size() - 1).toStdString() == c.message, what);
        QVERIFY2(md.LimitedBy == c.limitedBy, what);
        QVERIFY2(md.TripFuel == c.tripFuel, what);
        QVERIFY2(md.MinTakeoffFuel == c.minTakeoffFuel, what);
        QVERIFY2(md.MaxRange == c.maxRange, what);
        QVERIFY2(md.MaxPayload == c.maxPayload, what);
    }
    // The table shows the stop of a stopped case.
    const CompareTables& shown = compare->Tables();
    for (size_t i = 0; i < shown.levels.size(); ++i) {
        const CompareCase& c = shown.levels[i];
        QCOMPARE(compare->LevelTable()->item(static_cast<int>(i), 5)->text().toStdString(),
            c.valid ? (c.best ? std::string("valid, best") : std::string("valid")) : c.message);
    }
}

void TestCompareWindow::unreadableEntriesAreNamed()
{
    TCompareForm* compare = open();
    Edit(form(), Field::FlightLevel)->setText(QString());
    QVERIFY(!compare->TablesShown());
    QCOMPARE(compare->Message(), QStringLiteral("Nothing can be compared: Flight Level is empty."));
    Edit(form(), Field::FlightLevel)->setText(QStringLiteral("350"));
    QVERIFY(compare->TablesShown());
}

void TestCompareWindow::oneUpdatePerUserAction_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("entryUpdates"); // of the diagram and the compare window
    QTest::addColumn<int>("limitsUpdates");
    QTest::newRow("load setup") << 0 << 1 << 1;
    QTest::newRow("airplane change") << 1 << 1 << 1;
    QTest::newRow("keystroke") << 2 << 1 << 0;
    QTest::newRow("leaving the flight level") << 3 << 1 << 0;
    QTest::newRow("regulation typed") << 4 << 1 << 0;
    QTest::newRow("execute") << 5 << 0 << 1;
}

void TestCompareWindow::oneUpdatePerUserAction()
{
    QFETCH(int, action);
    QFETCH(int, entryUpdates);
    QFETCH(int, limitsUpdates);
    const QString setup = m_w.dir->path(QStringLiteral("route.MRX"));
    form()->SaveSetupFile(setup);
    Child<QPushButton>(form(), "ExecuteButton")->click();
    Child<QAction>(form(), "PayloadRange1")->trigger();
    Child<QAction>(form(), "Limits1")->trigger();
    open();
    QVERIFY(form()->PayloadRangeForm()->isVisible() && form()->LimitsForm()->isVisible());
    const RegulationPreset typed = RegulationPresets()[2];
    Edit(form(), Field::HoldingTime)->setText(QStringLiteral("1"));
    // The exit checks run when the main window's focus moves.
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    if (action == 3) {
        Edit(form(), Field::FlightLevel)->setFocus();
        Edit(form(), Field::FlightLevel)->setText(QStringLiteral("450"));
    }
    const TMainForm::TFollowerUpdates before = form()->FollowerUpdates();

    switch (action) {
    case 0:
        m_w.dialogs->files.push_back({setup, 1});
        Child<QAction>(form(), "LoadSetup1")->trigger();
        QCOMPARE(form()->SetupChanged(), false);
        break;
    case 1:
        PickItem(form(), "AirplaneSelector", QStringLiteral("Heavy Jet"));
        break;
    case 2:
        Edit(form(), Field::Payload)->setFocus();
        QTest::keyClick(Edit(form(), Field::Payload), Qt::Key_Backspace);
        break;
    case 3:
        // A level above the ceiling: the exit check caps it and sets the OAT.
        Edit(form(), Field::Oat)->setFocus();
        QCOMPARE(Edit(form(), Field::FlightLevel)->text(), QStringLiteral("410"));
        QCOMPARE(Edit(form(), Field::Oat)->text().toStdString(), *StandardTemperatureText(410));
        break;
    case 4: {
        auto* selector = Child<QComboBox>(form(), "RegulationSelector");
        selector->lineEdit()->setFocus();
        selector->lineEdit()->selectAll();
        QTest::keyClicks(selector->lineEdit(), QString::fromUtf8(typed.name.data()));
        QCOMPARE(Edit(form(), Field::HoldingTime)->text().toStdString(), typed.holdingTime);
        QCOMPARE(Edit(form(), Field::Contingency)->text().toStdString(), typed.contingency);
        break;
    }
    case 5:
        Child<QPushButton>(form(), "ExecuteButton")->click();
        break;
    }
    const TMainForm::TFollowerUpdates after = form()->FollowerUpdates();
    // Typing a regulation name changes no entry until the name is complete;
    // then its preset sets two fields at once.
    QCOMPARE(after.diagram - before.diagram, entryUpdates);
    QCOMPARE(after.compare - before.compare, entryUpdates);
    QCOMPARE(after.limits - before.limits, limitsUpdates);
    // What the windows show is the state after the action.
    QVERIFY(form()->CompareForm()->Tables().regulations.front().texts == [this] {
        FieldTexts t = entries();
        t[Field::HoldingTime] = RegulationPresets().front().holdingTime;
        t[Field::Contingency] = RegulationPresets().front().contingency;
        return t;
    }());
}

MIROVAX_WINDOW_TEST_MAIN(TestCompareWindow)
// A forecast loaded from the File menu: of its two validity times the user
// picks the second; Wind and OAT take its values as typing would (an edit),
// the status bar names it, leaving the level takes its temperature rather
// than the standard one, the compare window gives each level its own wind
// and temperature, and Clear Forecast leaves typed entries.
void TestCompareWindow::aForecastGivesEachLevelItsWind()
{
    // Over the US west coast: a north wind of 40 kts at +6 h, 60 kts at
    // +12 h; -30 deg C at 400 hPa, -60 deg C at 150 hPa.
    const std::string bytes = mirovax::testing::UniformNorthWindForecast(
        {55, 230, 30, 245, 1, 1, 16, 26, 0}, {{6, 40.0}, {12, 60.0}}, {{400.0, -30.0}, {150.0, -60.0}});
    const QString path = m_w.dir->path(QStringLiteral("gfs.grib2"));
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    TEdit* wind = Edit(form(), Field::Wind);
    TEdit* oat = Edit(form(), Field::Oat);
    Edit(form(), Field::FlightLevel)->setText(QStringLiteral("350"));
    form()->SetSetupChanged(false);
    TCompareForm* compare = open();
    QVERIFY(compare->LevelTable()->item(0, 2));
    m_w.dialogs->itemAnswer = 1;
    m_w.dialogs->files.push_back({path, 1});
    Child<QAction>(form(), "LoadForecast1")->trigger();
    QCOMPARE(m_w.dialogs->errors, QStringList());
    QCOMPARE(m_w.dialogs->itemLists.size(), size_t{1});
    QCOMPARE(m_w.dialogs->itemLists.front().size(), 2);
    QCOMPARE(wind->text(), QStringLiteral("60"));
    QVERIFY(form()->SetupChanged());
    const QString status = Child<QStatusBar>(form(), "StatusBar1")->currentMessage();
    QVERIFY2(status.contains(path) && status.contains(QStringLiteral("GFS 2026-12-08 12 UTC +12 h"))
            && status.contains(QStringLiteral("Wind 60 kts")),
        qPrintable(status));

    // Each level its own temperature, every valid row the forecast's wind.
    const CompareTables& tables = compare->Tables();
    QVERIFY(tables.levelSource.find("+12 h") != std::string::npos);
    QSet<QString> temperatures;
    for (int row = 0; row < compare->LevelTable()->rowCount(); ++row) {
        QCOMPARE(compare->LevelTable()->item(row, 2)->text(), QStringLiteral("60"));
        temperatures.insert(compare->LevelTable()->item(row, 1)->text());
    }
    QVERIFY(temperatures.size() > 5);

    // Leaving the level: the forecast's temperature at FL410, not -56.
    Edit(form(), Field::FlightLevel)->setText(QStringLiteral("410"));
    form()->LeaveField(Field::FlightLevel);
    QVERIFY(oat->text() != QStringLiteral("-56"));
    QCOMPARE(oat->text(), QString::fromStdString(form()->Session().ForecastAt(410).oat));

    Child<QAction>(form(), "ClearForecast1")->trigger();
    QVERIFY(!Child<QAction>(form(), "ClearForecast1")->isEnabled());
    QCOMPARE(wind->text(), QStringLiteral("60"));
    QVERIFY(compare->Tables().levelSource.empty());
    QCOMPARE(compare->LevelTable()->item(0, 1)->text(),
        QString::fromStdString(*StandardTemperatureText(compare->Tables().levels.front().flightLevel)));

    // Dropped onto the window, the file loads as a forecast again.
    m_w.dialogs->itemAnswer = 0;
    form()->OpenDroppedFile(path);
    QCOMPARE(m_w.dialogs->errors, QStringList());
    QCOMPARE(wind->text(), QStringLiteral("40"));
    QVERIFY(Child<QAction>(form(), "ClearForecast1")->isEnabled());
}

#include "test_compare_window.moc"
