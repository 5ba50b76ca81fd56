// The payload-range command of the main window: the diagram window it opens
// and how that window follows the airplane and the entries.
#include "TestSupport.h"

#include "engine/payload_range.h"
#include "ui/Controls.h"
#include "ui/diagram/payload_range_form.h"

#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace mirovax;
using namespace mirovax::test;

class TestPayloadRangeWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandInMenuAndToolBar();
    void opensTheDiagramOfTheLoadedAirplane();
    void followsAnAirplaneChange();
    void followsEntryChanges();
    void unusableFieldIsNamed_data();
    void unusableFieldIsNamed();
    void hiddenWindowWaitsUntilOpenedAgain();
    void savesThroughTheWindowsDialogs();
    void doesNothingDuringAMaximumRangeSearch();
    void withoutAnAirplaneTableSaysSo();

private:
    void pick(const char* selectorName, const QString& text);
    TPayloadRangeForm* open();
    // What the diagram should be: the airplane in the record and the entries
    // as the window holds them.
    std::vector<PayloadRangePoint> expectedDiagram() const;

    std::unique_ptr<TProgramDir> m_dir;
    std::unique_ptr<TScriptedDialogs> m_dialogs;
    std::unique_ptr<TMainForm> m_form;
};

void TestPayloadRangeWindow::init()
{
    m_dir = std::make_unique<TProgramDir>();
    m_dir->writeAirplanes({TestJet(), HeavyJet()});
    m_dir->writeAirports(BayAreaAirports());
    m_dialogs = std::make_unique<TScriptedDialogs>();
    m_form = std::make_unique<TMainForm>(*m_dialogs, m_dir->executable());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestPayloadRangeWindow::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_dir.reset();
}

void TestPayloadRangeWindow::pick(const char* selectorName, const QString& text)
{
    auto* selector = Child<QComboBox>(m_form.get(), selectorName);
    const int index = selector->findText(text);
    QVERIFY(index >= 0);
    selector->setCurrentIndex(index);
    emit selector->textActivated(selector->itemText(index));
}

TPayloadRangeForm* TestPayloadRangeWindow::open()
{
    Child<QAction>(m_form.get(), "PayloadRange1")->trigger();
    return m_form->PayloadRangeForm();
}

std::vector<PayloadRangePoint> TestPayloadRangeWindow::expectedDiagram() const
{
    const FieldTexts texts = EntryTexts(m_form.get());
    TMissionData md = m_form->MissionData();
    ReadInputs(texts, md);
    return ComputePayloadRange(md, TPayloadRangeForm::kPoints);
}

namespace {

bool SameDiagram(const std::vector<PayloadRangePoint>& a, const std::vector<PayloadRangePoint>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.payload == y.payload && x.range == y.range && x.limitedBy == y.limitedBy
            && x.corner == y.corner;
    });
}

} // namespace

void TestPayloadRangeWindow::commandInMenuAndToolBar()
{
    auto* action = Child<QAction>(m_form.get(), "PayloadRange1");
    QVERIFY(action);
    QCOMPARE(action->text(), QStringLiteral("&Payload-Range"));
    QVERIFY(Child<QMenu>(m_form.get(), "File1")->actions().contains(action));
    auto* button = Child<QToolButton>(m_form.get(), "ToolButton8");
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Payload-Range Diagram"));
    QVERIFY(!button->icon().isNull());
    // Right of the Help button, clear of it.
    QVERIFY(button->geometry().left() >= Child<QToolButton>(m_form.get(), "ToolButton7")->geometry().right());

    QVERIFY(!m_form->PayloadRangeForm());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(m_form->PayloadRangeForm());
    QVERIFY(m_form->PayloadRangeForm()->isVisible());
    // Opening it again reuses the one window.
    TPayloadRangeForm* first = m_form->PayloadRangeForm();
    QCOMPARE(open(), first);
}

void TestPayloadRangeWindow::opensTheDiagramOfTheLoadedAirplane()
{
    TPayloadRangeForm* form = open();
    QVERIFY(form->DiagramShown());
    QVERIFY(SameDiagram(form->Diagram(), expectedDiagram()));
    // Test Jet: MZFW 56000 - DOW 40000.
    QCOMPARE(form->Diagram().front().payload, 16000.0);
    QVERIFY(form->Chart()->title().contains(QStringLiteral("Test twin jet")));
    QCOMPARE(form->MissionText(), QStringLiteral("Mission: 12000 kg over 594 NM, inside the envelope."));
    QVERIFY(form->MissionInside());
    QVERIFY(!form->CornerLabels().isEmpty());
    QCOMPARE(m_dialogs->messageCount(), 0);
    // Opening the diagram changes no entry.
    QVERIFY(!m_form->SetupChanged());
}

void TestPayloadRangeWindow::followsAnAirplaneChange()
{
    TPayloadRangeForm* form = open();
    pick("AirplaneSelector", QStringLiteral("Heavy Jet"));
    QVERIFY(form->DiagramShown());
    // Heavy Jet: its MALW, preset on the change, caps the payload a little
    // below MZFW 210000 - DOW 150000.
    QCOMPARE(form->Diagram().front().limitedBy, std::string("Allowable Landing Weight"));
    QVERIFY(form->Diagram().front().payload > 59900 && form->Diagram().front().payload < 60000);
    QCOMPARE(Edit(m_form.get(), Field::Matow)->text(), QStringLiteral("300000"));
    QVERIFY(SameDiagram(form->Diagram(), expectedDiagram()));
    QVERIFY(form->Chart()->title().contains(QStringLiteral("Heavy test jet")));

    pick("AirplaneSelector", QStringLiteral("Test Jet"));
    QCOMPARE(form->Diagram().front().payload, 16000.0);
}

void TestPayloadRangeWindow::followsEntryChanges()
{
    TPayloadRangeForm* form = open();
    const std::vector<PayloadRangePoint> before = form->Diagram();

    // A lower MATOW shortens the range at full payload.
    Edit(m_form.get(), Field::Matow)->setText(QStringLiteral("62000"));
    QVERIFY(form->DiagramShown());
    QVERIFY(SameDiagram(form->Diagram(), expectedDiagram()));
    QVERIFY(form->Diagram().at(1).range < before.at(1).range);

    // The mission moves with the payload and the trip distance fields.
    QTest::keyClicks(Edit(m_form.get(), Field::Distance), QStringLiteral("9")); // 5949 NM
    QVERIFY(form->MissionText().startsWith(QStringLiteral("Mission: 12000 kg over 5949 NM, outside")));
    QVERIFY(!form->MissionInside());

    // A regulation preset changes the holding time and contingency fields.
    pick("RegulationSelector", QStringLiteral("ICAO"));
    QCOMPARE(Edit(m_form.get(), Field::HoldingTime)->text(), QStringLiteral("30"));
    QVERIFY(SameDiagram(form->Diagram(), expectedDiagram()));

    // A wind that stops Maximum Range stops every point, without a box.
    Edit(m_form.get(), Field::Wind)->setText(QStringLiteral("500"));
    QVERIFY(!form->DiagramShown());
    QCOMPARE(form->Message(),
        QStringLiteral("The payload-range diagram cannot be drawn: Wind of 500 kts is not less than the True "
                       "Airspeed of 458 kts!"));
    QCOMPARE(m_dialogs->messageCount(), 0);
}

void TestPayloadRangeWindow::unusableFieldIsNamed_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty flight level") << Field::FlightLevel << QString() << "Flight Level is empty.";
    QTest::newRow("empty alternate") << Field::Alternate << QString() << "Alternate is empty.";
    QTest::newRow("MALW not a number") << Field::Malw << QStringLiteral("6e") << "MALW is not a number.";
    QTest::newRow("empty trip distance") << Field::Distance << QString() << "Distance is empty.";
}

void TestPayloadRangeWindow::unusableFieldIsNamed()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TPayloadRangeForm* form = open();
    const QString kept = Edit(m_form.get(), field)->text();
    Edit(m_form.get(), field)->setText(text);
    QVERIFY(!form->DiagramShown());
    QCOMPARE(form->Message(), QStringLiteral("The diagram cannot be drawn: ") + message);
    // As Execute: no box, no sound.
    QCOMPARE(m_dialogs->messageCount(), 0);
    QCOMPARE(m_dialogs->sounds, 0);
    QVERIFY(!Child<QPushButton>(form, "SavePngButton")->isEnabled());

    Edit(m_form.get(), field)->setText(kept);
    QVERIFY(form->DiagramShown());
    QVERIFY(Child<QPushButton>(form, "SavePngButton")->isEnabled());
}

void TestPayloadRangeWindow::hiddenWindowWaitsUntilOpenedAgain()
{
    TPayloadRangeForm* form = open();
    form->close();
    Edit(m_form.get(), Field::FlightLevel)->setText(QString());
    QVERIFY(form->DiagramShown()); // not redrawn while hidden
    open();
    QCOMPARE(form->Message(), QStringLiteral("The diagram cannot be drawn: Flight Level is empty."));
}

void TestPayloadRangeWindow::savesThroughTheWindowsDialogs()
{
    TPayloadRangeForm* form = open();
    const QString png = m_dir->path(QStringLiteral("diagram")); // the suffix is added
    const QString svg = m_dir->path(QStringLiteral("diagram.svg"));
    m_dialogs->files.push_back({png, 1});
    m_dialogs->files.push_back({svg, 1});
    m_dialogs->files.push_back({});
    QTest::mouseClick(Child<QPushButton>(form, "SavePngButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(form, "SaveSvgButton"), Qt::LeftButton);
    QVERIFY(!form->SavePng()); // cancelled
    QCOMPARE(m_dialogs->fileDialogs,
        QStringList({"DiagramPngSaveDialog", "DiagramSvgSaveDialog", "DiagramPngSaveDialog"}));
    QVERIFY(QFileInfo(png + ".png").size() > 0);
    QVERIFY(QFileInfo(svg).size() > 0);

    // A failure goes to the main window's error box.
    m_dialogs->files.push_back({m_dir->path(QStringLiteral("no-such-dir/d.png")), 1});
    QVERIFY(!form->SavePng());
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors.front().contains(QStringLiteral("no-such-dir/d.png")));

    // The print dialog too: the scripted one declines.
    QVERIFY(!form->Print());
    QCOMPARE(m_dialogs->printDialogs, 1);
}

void TestPayloadRangeWindow::doesNothingDuringAMaximumRangeSearch()
{
    pick("ModeSelector", QStringLiteral("Maximum Range"));
    bool checked = false;
    WhenEventsRun([this, &checked] {
        QVERIFY(m_form->CalculationRunning());
        QTest::mouseClick(Child<QToolButton>(m_form.get(), "ToolButton8"), Qt::LeftButton);
        m_form->PayloadRange1Click();
        QVERIFY(!m_form->PayloadRangeForm());
        checked = true;
        m_form->AbortButtonClick();
    });
    Child<QPushButton>(m_form.get(), "ExecuteButton")->click();
    QVERIFY(checked);
    QVERIFY(!m_form->PayloadRangeForm());
    // After the run the command works.
    QVERIFY(open()->DiagramShown());
}

void TestPayloadRangeWindow::withoutAnAirplaneTableSaysSo()
{
    TProgramDir empty;
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, empty.executable());
    form.show();
    Child<QAction>(&form, "PayloadRange1")->trigger();
    QVERIFY(form.PayloadRangeForm()->isVisible());
    QVERIFY(!form.PayloadRangeForm()->DiagramShown());
    QVERIFY(form.PayloadRangeForm()->Message().contains(QStringLiteral("no airplane is loaded")));
    QCOMPARE(dialogs.messageCount(), 0);
}

QTEST_MAIN(TestPayloadRangeWindow)
#include "test_payload_range_window.moc"
