// The main window driven through its real widgets, found by their names.
#include "TestSupport.h"

#include "ui/Controls.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <QToolButton>
#include <algorithm>
#include <functional>

using namespace mirovax;
using namespace mirovax::test;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void positions();
    void editFields();
    void tabOrder();
    void menuAndToolBar();
    void captionsFitTheirSpace();

    void selectAirplaneFromTheList();
    void selectAirplaneByTyping();
    void programSetTextsAndChangeEvents();
    void upperCaseAndLengthLimits();
    void airplaneDataPanelAndEscape();
    void typedUnlistedAirplane();
    void calculateAndAlternate();

    void executeEachMode_data();
    void executeEachMode();
    void unreadableFieldStopsTheRunSilently_data();
    void unreadableFieldStopsTheRunSilently();
    void limitStopsTheRunWithAWarning();
    void arithmeticFaultEndsTheRunWithAnErrorBox();
    void unknownModeTextRunsNoSolveMode();
    void resultsGoOutOfDateAtTheFirstChange();
    void abortDuringMaximumRange();
    void escapeAbortsAndOtherInputIsRefused();
    void closingDuringASearchStopsItFirst();
    void realLimitBoxCanBeAnsweredDuringARun();

private:
    QWidget* w(const char* name) const { return Child<QWidget>(m_form.get(), name); }
    QComboBox* combo(const char* name) const { return Child<QComboBox>(m_form.get(), name); }
    QPushButton* button(const char* name) const { return Child<QPushButton>(m_form.get(), name); }
    void setMode(const char* mode);

    std::unique_ptr<TProgramDir> m_dir;
    std::unique_ptr<TScriptedDialogs> m_dialogs;
    std::unique_ptr<TMainForm> m_form;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<TProgramDir>();
    m_dir->writeAirplanes({TestJet(), HeavyJet(), TestJet("alpha Jet")});
    m_dir->writeAirports(BayAreaAirports());
    m_dialogs = std::make_unique<TScriptedDialogs>();
    m_form = std::make_unique<TMainForm>(*m_dialogs, m_dir->executable());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestMainWindow::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_dir.reset();
}

void TestMainWindow::setMode(const char* mode)
{
    QComboBox* selector = combo("ModeSelector");
    const int index = selector->findText(QString::fromLatin1(mode));
    QVERIFY(index >= 0);
    selector->setCurrentIndex(index);
    emit selector->textActivated(selector->itemText(index));
}

void TestMainWindow::positions()
{
    struct Row {
        const char* name;
        QRect geometry; // width -1: sized to its text
        bool enabled;
        bool shown;
    };
    // Taken after an airplane was loaded, which enables the route, trip data
    // and control boxes.
    const Row rows[] = {
        {"Bevel3", QRect(0, 29, 529, 594), true, true},
        {"AirplaneBox", QRect(8, 32, 233, 73), true, true},
        {"RouteBox", QRect(248, 32, 273, 73), true, true},
        {"DataBox", QRect(8, 112, 513, 193), true, true},
        {"ControlBox", QRect(8, 312, 513, 57), true, true},
        {"ResultsBox", QRect(8, 376, 513, 241), true, true},
        {"ReportBox", QRect(8, 32, 513, 585), true, false},
        {"StatusBar1", QRect(0, 623, 529, 19), true, true},
        {"AirplaneDataBox", QRect(8, 112, 513, 505), true, false},
        {"ToolBar1", QRect(0, 0, 529, 29), true, true},
        {"AirplaneSelector", QRect(8, 16, 217, 21), true, true},
        {"ViewAirplaneDataButton", QRect(8, 40, 75, 25), true, true},
        {"CalculateDistanceButton", QRect(176, 40, 75, 25), true, true},
        {"RegulationSelector", QRect(80, 16, 145, 21), true, true},
        {"StaticText19", QRect(248, 120, -1, 17), true, true},
        {"StaticText22", QRect(392, 144, -1, 17), true, true},
        {"AlternateDataButton", QRect(416, 16, 75, 25), true, true},
        {"ModeSelector", QRect(64, 16, 145, 21), true, true},
        {"ExecuteButton", QRect(224, 16, 105, 25), true, true},
        {"AbortButton", QRect(336, 16, 75, 25), false, true},
        {"ViewReportButton", QRect(432, 16, 75, 25), false, true},
        {"Bevel2", QRect(2, 15, 509, 224), true, true},
        {"StaticText39", QRect(8, 24, -1, 17), true, false},
        {"Label13", QRect(120, 48, -1, 13), true, false},
        {"Label23", QRect(392, 48, -1, 13), true, true},
        {"Label30", QRect(120, 216, -1, 13), true, true},
        {"RichEdit", QRect(2, 15, 509, 530), true, false},
        {"ReportDoneButton", QRect(8, 552, 75, 25), true, false},
        {"Bevel1", QRect(2, 15, 509, 450), true, false},
        {"AirplaneDataDoneButton", QRect(8, 472, 75, 25), true, false},
        {"StaticText38", QRect(16, 248, -1, 17), true, false},
        {"Label10", QRect(152, 248, -1, 217), true, false},
    };
    for (const Row& row : rows) {
        const QString name = QString::fromLatin1(row.name);
        QWidget* control = m_form->findChild<QWidget*>(name);
        QVERIFY2(control, row.name);
        QCOMPARE(control->pos(), row.geometry.topLeft());
        if (row.geometry.width() > 0)
            QCOMPARE(control->width(), row.geometry.width());
        QCOMPARE(control->height(), row.geometry.height());
        QCOMPARE(control->isEnabled(), row.enabled);
        QCOMPARE(control->isVisibleTo(m_form.get()), row.shown);
    }
}

void TestMainWindow::editFields()
{
    // Every field as the field table describes it, but Edit14 and Edit15
    // hold the loaded airplane's structural limits, and their limits and
    // that of Edit4 follow its weights (5 digits for the test jet). Each
    // stands on its caption's line, the caption ending before it, its unit
    // 72 px after its left edge.
    for (const FieldSpec& spec : Fields()) {
        const QString name
            = QString::fromLatin1(spec.control.data(), static_cast<qsizetype>(spec.control.size()));
        TEdit* e = Edit(m_form.get(), spec.field);
        QVERIFY2(e, qPrintable(name));
        QString text
            = QString::fromLatin1(spec.startText.data(), static_cast<qsizetype>(spec.startText.size()));
        int limit = spec.charLimit;
        if (spec.field == Field::Matow)
            text = QStringLiteral("70000");
        if (spec.field == Field::Malw)
            text = QStringLiteral("60000");
        if (spec.field == Field::Payload || spec.field == Field::Matow || spec.field == Field::Malw)
            limit = 5;
        QCOMPARE(e->text(), text);
        QCOMPARE(
            e->toolTip(), QString::fromLatin1(spec.hint.data(), static_cast<qsizetype>(spec.hint.size())));
        QCOMPARE(e->charLimit(), limit);
        QCOMPARE(e->upperCase(), spec.upperCase);
        QCOMPARE(e->size(), QSize(65, 21));

        auto* caption
            = Child<QLabel>(m_form.get(), qPrintable(QStringLiteral("StaticText%1").arg(spec.captionText)));
        QVERIFY2(caption && caption->parentWidget() == e->parentWidget(), qPrintable(name));
        QCOMPARE(caption->y(), e->y() + 8);
        QVERIFY2(caption->x() + caption->fontMetrics().horizontalAdvance(caption->text()) < e->x(),
            qPrintable(name));
        if (spec.unitText != 0) {
            auto* unit
                = Child<QLabel>(m_form.get(), qPrintable(QStringLiteral("StaticText%1").arg(spec.unitText)));
            QVERIFY2(unit && unit->parentWidget() == e->parentWidget(), qPrintable(name));
            QCOMPARE(unit->pos(), QPoint(e->x() + 72, caption->y()));
        }
    }
}

void TestMainWindow::tabOrder()
{
    // Tab visits every field, selector and button of the window once, in
    // the window's order.
    const std::vector<QWidget*> order = m_form->TabOrder();
    const QSet<QWidget*> declared(order.begin(), order.end());
    QCOMPARE(static_cast<size_t>(declared.size()), order.size());
    for (QWidget* control : m_form->findChildren<QWidget*>()) {
        if (control->window() != m_form.get())
            continue;
        if (qobject_cast<TEdit*>(control) || qobject_cast<QComboBox*>(control)
            || qobject_cast<QPushButton*>(control))
            QVERIFY2(declared.contains(control), qPrintable(control->objectName()));
    }
    std::vector<QWidget*> chain;
    QWidget* next = order.front();
    do {
        if (declared.contains(next) && std::find(chain.begin(), chain.end(), next) == chain.end())
            chain.push_back(next);
        next = next->nextInFocusChain();
    } while (next != order.front());
    QVERIFY(chain == order);

    // Box by box as the boxes stand on the window, the hidden panels last;
    // within a box down a column or on to the right, but for View Report
    // before Abort.
    QStringList boxes;
    for (size_t i = 0; i < order.size(); ++i) {
        QWidget* box = order[i]->parentWidget();
        if (boxes.isEmpty() || boxes.back() != box->objectName())
            boxes << box->objectName();
        if (i == 0 || order[i - 1]->parentWidget() != box)
            continue;
        const QPoint before = order[i - 1]->pos();
        const QPoint here = order[i]->pos();
        const bool onward = here.y() > before.y() || here.x() > before.x();
        QVERIFY2(onward || order[i]->objectName() == QStringLiteral("AbortButton"),
            qPrintable(order[i]->objectName()));
    }
    QCOMPARE(boxes,
        QStringList({"AirplaneBox", "RouteBox", "DataBox", "ControlBox", "ReportBox", "AirplaneDataBox"}));
    QCOMPARE(QApplication::focusWidget(), w("AirplaneSelector"));

    // Entering a field from the keyboard selects its text, so typing
    // replaces it.
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    Edit(m_form.get(), Field::To)->setFocus();
    QTest::keyClick(Edit(m_form.get(), Field::To), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Edit(m_form.get(), Field::Distance));
    QCOMPARE(Edit(m_form.get(), Field::Distance)->selectedText(), QStringLiteral("594"));
}

void TestMainWindow::menuAndToolBar()
{
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        bool enabled;
    };
    const Item items[] = {
        {"LoadSetup1", "Load Setup", QKeySequence(Qt::CTRL | Qt::Key_O), true},
        {"SaveSetup1", "Save Setup", QKeySequence(Qt::CTRL | Qt::Key_S), true},
        {"SaveReport1", "Save Report", QKeySequence(Qt::CTRL | Qt::Key_R), false},
        {"PrintReport", "Print Report", QKeySequence(Qt::CTRL | Qt::Key_P), false},
        {"LoadForecast1", "Load F&orecast\u2026", QKeySequence(), true},
        {"ClearForecast1", "Clear Forecas&t", QKeySequence(), false},
        {"Exit1", "Exit", QKeySequence(), true},
        {"Help2", "Help", QKeySequence(Qt::Key_F1), true},
        {"About1", "About", QKeySequence(), true},
    };
    for (const Item& item : items) {
        auto* action = m_form->findChild<QAction*>(QString::fromLatin1(item.name));
        QVERIFY2(action, item.name);
        QCOMPARE(action->text(), QString::fromUtf8(item.caption));
        QCOMPARE(action->shortcut(), item.shortcut);
        QCOMPARE(action->isEnabled(), item.enabled);
    }
    struct Tool {
        const char* name;
        int left;
        bool enabled;
    };
    for (const Tool& tool : {Tool{"ToolButton2", 8, true}, Tool{"ToolButton3", 31, true},
             Tool{"ToolButton5", 62, false}, Tool{"ToolButton7", 93, true}}) {
        auto* b = Child<QToolButton>(m_form.get(), tool.name);
        QVERIFY2(b, tool.name);
        QCOMPARE(b->x(), tool.left);
        QCOMPARE(b->size(), QSize(23, 22));
        QCOMPARE(b->isEnabled(), tool.enabled);
        QVERIFY(!b->icon().isNull());
    }
    QVERIFY(Child<QStatusBar>(m_form.get(), "StatusBar1")->currentMessage().isEmpty());
    // Seven items and separators, Open Flight Plan, Load Forecast and Clear
    // Forecast after Save Setup, and Payload-Range, Limits and Margins,
    // Compare and Dispatch Sheet after Print Report.
    QCOMPARE(m_form->findChild<QMenu*>(QStringLiteral("File1"))->actions().size(), 14);
    // The window icon is the program's drawing in ten sizes, really drawn:
    // a missing picture would still give an icon, but a transparent one.
    const QIcon icon = m_form->windowIcon();
    QCOMPARE(icon.availableSizes().size(), 10);
    const QImage image = icon.pixmap(32, 32).toImage();
    QVERIFY(image.pixelColor(16, 16).alpha() == 255);
}

void TestMainWindow::captionsFitTheirSpace()
{
    // Each caption must end before the control that follows it in its row
    // (the fields' captions: editFields).
    const std::pair<const char*, const char*> rows[] = {
        {"StaticText23", "RegulationSelector"},
        {"StaticText28", "ModeSelector"},
        {"StaticText42", "Label16"},
        {"StaticText49", "Label28"},
        {"StaticText46", "Label20"},
        {"StaticText48", "Label22"},
        {"StaticText34", "Label6"},
        {"StaticText32", "Label4"},
    };
    for (const auto& [captionName, controlName] : rows) {
        auto* caption = Child<QLabel>(m_form.get(), captionName);
        QWidget* control = w(controlName);
        if (caption == nullptr || control == nullptr)
            QFAIL(captionName);
        const int end = caption->x() + caption->fontMetrics().horizontalAdvance(caption->text());
        QVERIFY2(end < control->x(),
            qPrintable(QStringLiteral("%1 ends at %2, %3 starts at %4")
                           .arg(QLatin1String(captionName))
                           .arg(end)
                           .arg(QLatin1String(controlName))
                           .arg(control->x())));
    }
    for (const char* name : {"ViewAirplaneDataButton", "CalculateDistanceButton", "AlternateDataButton",
             "ViewReportButton", "ExecuteButton"}) {
        QPushButton* b = button(name);
        QVERIFY2(
            b->fontMetrics().horizontalAdvance(QString(b->text()).remove(QLatin1Char('&'))) < b->width() - 8,
            name);
    }
    const QFont font = w("Edit1")->font();
    QCOMPARE(font.pixelSize(), 11);
    QVERIFY(
        font.family() == QLatin1String("MS Sans Serif") || font.family() == QLatin1String("Liberation Sans"));
}

void TestMainWindow::selectAirplaneFromTheList()
{
    QComboBox* selector = combo("AirplaneSelector");
    QCOMPARE(selector->count(), 3);
    QCOMPARE(selector->itemText(0), QStringLiteral("alpha Jet"));
    QCOMPARE(selector->itemText(1), QStringLiteral("Heavy Jet"));
    QCOMPARE(selector->itemText(2), QStringLiteral("Test Jet"));
    QCOMPARE(selector->currentText(), QStringLiteral("Test Jet"));

    // Pick "Heavy Jet" with the mouse from the open list.
    selector->showPopup();
    QAbstractItemView* view = selector->view();
    QTRY_VERIFY(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_COMPARE(selector->currentText(), QStringLiteral("Heavy Jet"));
    QCOMPARE(m_form->MissionData().MTOW, 300000.0);
    QCOMPARE(Edit(m_form.get(), Field::Matow)->text(), QStringLiteral("300000"));
    QCOMPARE(Edit(m_form.get(), Field::Matow)->charLimit(), 6);
    QCOMPARE(Edit(m_form.get(), Field::Payload)->charLimit(), 6);
    QCOMPARE(Child<QLabel>(m_form.get(), "Label9")->text(), QStringLiteral("0.84"));
    QCOMPARE(Child<QLabel>(m_form.get(), "Label3")->text(), QStringLiteral("150000 kg"));
    QVERIFY(m_form->SetupChanged());
    QVERIFY(m_dialogs->errors.isEmpty());
}

void TestMainWindow::selectAirplaneByTyping()
{
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    // A run first, so that the change of airplane has results to clear.
    button("ExecuteButton")->click();
    QVERIFY(!ResultLabels(m_form.get()).at(2).isEmpty());

    QComboBox* selector = combo("AirplaneSelector");
    selector->lineEdit()->selectAll();
    QTest::keyClicks(selector->lineEdit(), QStringLiteral("HEAVY"));
    // A partial name leaves the previous airplane loaded, and each keystroke
    // still counts as a change and clears the results.
    QCOMPARE(m_form->MissionData().MTOW, 70000.0);
    QVERIFY(m_form->SetupChanged());
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    QTest::keyClicks(selector->lineEdit(), QStringLiteral(" jET"));
    QCOMPARE(selector->currentText(), QStringLiteral("HEAVY jET"));
    QCOMPARE(m_form->MissionData().MTOW, 300000.0);
    QCOMPARE(m_form->MissionData().Airframe, std::string("Heavy test jet"));
    QCOMPARE(selector->count(), 3);
    QVERIFY(m_dialogs->errors.isEmpty());
}

void TestMainWindow::programSetTextsAndChangeEvents()
{
    QVERIFY(!m_form->SetupChanged());
    Edit(m_form.get(), Field::FlightLevel)->setText(QStringLiteral("310"));
    QVERIFY2(!m_form->SetupChanged(), "the same text is no change");
    Edit(m_form.get(), Field::FlightLevel)->setText(QStringLiteral("330"));
    QVERIFY(m_form->SetupChanged());

    m_form->SetSetupChanged(false);
    combo("AirplaneSelector")->setEditText(QStringLiteral("Heavy Jet"));
    combo("RegulationSelector")->setEditText(QStringLiteral("ICAO"));
    QVERIFY2(!m_form->SetupChanged(), "program-set combo text runs no handler");
    QCOMPARE(m_form->MissionData().MTOW, 70000.0);
    QCOMPARE(Edit(m_form.get(), Field::HoldingTime)->text(), QStringLiteral("45"));

    // Typing into the regulations applies the preset at the exact name.
    QLineEdit* regulations = combo("RegulationSelector")->lineEdit();
    regulations->selectAll();
    QTest::keyClicks(regulations, QStringLiteral("ICA"));
    QVERIFY(m_form->SetupChanged());
    QCOMPARE(Edit(m_form.get(), Field::Contingency)->text(), QStringLiteral("0"));
    QTest::keyClicks(regulations, QStringLiteral("O"));
    QCOMPARE(Edit(m_form.get(), Field::HoldingTime)->text(), QStringLiteral("30"));
    QCOMPARE(Edit(m_form.get(), Field::Contingency)->text(), QStringLiteral("5"));

    // The mode selector shows the rows of the maximum modes and never marks
    // the setup changed.
    m_form->SetSetupChanged(false);
    setMode("Maximum Range");
    QVERIFY(!Edit(m_form.get(), Field::Distance)->isEnabled());
    QVERIFY(w("Label13")->isVisibleTo(m_form.get()));
    QCOMPARE(Child<QLabel>(m_form.get(), "Label11")->text(), QStringLiteral("Maximum Range:"));
    QVERIFY(!m_form->SetupChanged());
}

void TestMainWindow::upperCaseAndLengthLimits()
{
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    TEdit* origin = Edit(m_form.get(), Field::From);
    origin->setFocus();
    origin->selectAll();
    QTest::keyClicks(origin, QStringLiteral("kjfkx"));
    QCOMPARE(origin->text(), QStringLiteral("KJFK"));
    // Text the program sets is held in capitals as well.
    origin->setText(QStringLiteral("egll"));
    QCOMPARE(origin->text(), QStringLiteral("EGLL"));

    // Text set by the program stays whole; typing cannot lengthen it, but
    // deleting works.
    TEdit* distance = Edit(m_form.get(), Field::AlternateDistance);
    distance->setText(QStringLiteral("10800"));
    QCOMPARE(distance->text(), QStringLiteral("10800"));
    distance->setFocus();
    distance->end(false);
    m_form->SetSetupChanged(false);
    QTest::keyClick(distance, Qt::Key_1);
    QCOMPARE(distance->text(), QStringLiteral("10800"));
    QVERIFY2(!m_form->SetupChanged(), "a refused keystroke changes nothing");
    QTest::keyClick(distance, Qt::Key_Backspace);
    QCOMPARE(distance->text(), QStringLiteral("1080"));
    QTest::keyClick(distance, Qt::Key_5);
    QCOMPARE(distance->text(), QStringLiteral("1080"));

    // Pasting keeps what fits, in capitals where the field forces them.
    QApplication::clipboard()->setText(QStringLiteral("egll-heathrow"));
    TEdit* alternate = Edit(m_form.get(), Field::Alternate);
    alternate->setFocus();
    alternate->clear();
    QTest::keyClick(alternate, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(alternate->text(), QStringLiteral("EGLL"));
    QApplication::clipboard()->setText(QStringLiteral("99"));
    alternate->setSelection(1, 1); // "G" becomes "9"; the second "9" is cut
    QTest::keyClick(alternate, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(alternate->text(), QStringLiteral("E9LL"));
}

void TestMainWindow::airplaneDataPanelAndEscape()
{
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QWidget* panel = w("AirplaneDataBox");
    QTest::mouseClick(button("ViewAirplaneDataButton"), Qt::LeftButton);
    QVERIFY(panel->isVisible());
    QCOMPARE(Child<QLabel>(m_form.get(), "Label1")->text(), QStringLiteral("Test twin jet"));
    QCOMPARE(Child<QLabel>(m_form.get(), "Label4")->text(), QStringLiteral("70000 kg"));
    QCOMPARE(Child<QLabel>(m_form.get(), "Label8")->text(), QStringLiteral("41000 ft"));
    // The selector stays usable and the panel follows the new airplane.
    QLineEdit* selector = combo("AirplaneSelector")->lineEdit();
    selector->setFocus();
    selector->selectAll();
    QTest::keyClicks(selector, QStringLiteral("heavy jet"));
    QVERIFY(panel->isVisible());
    QCOMPARE(Child<QLabel>(m_form.get(), "Label4")->text(), QStringLiteral("300000 kg"));
    // The panel covers the trip data: a click there reaches the panel.
    QVERIFY(
        panel->isAncestorOf(m_form->findChild<QWidget*>(QStringLiteral("ClientArea"))->childAt(100, 200)));
    QTest::keyClick(m_form.get(), Qt::Key_Escape);
    QVERIFY(!panel->isVisible());
    QTest::mouseClick(button("ViewAirplaneDataButton"), Qt::LeftButton);
    QTest::mouseClick(button("AirplaneDataDoneButton"), Qt::LeftButton);
    QVERIFY(!panel->isVisible());
}

// Text typed into the selector that names no listed type leaves nothing to
// compute with; finishing a listed name loads it.
void TestMainWindow::typedUnlistedAirplane()
{
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QLineEdit* selector = combo("AirplaneSelector")->lineEdit();
    const QString matow = Edit(m_form.get(), Field::Matow)->text();
    selector->setFocus();
    selector->end(false);
    QTest::keyClicks(selector, QStringLiteral("B777-300E"));
    QCOMPARE(selector->text(), QStringLiteral("Test JetB777-300E"));
    const QString message = QStringLiteral(
        "Airplane type \"Test JetB777-300E\" is not in the airplane table: pick one from the list");
    QCOMPARE(Child<QStatusBar>(m_form.get(), "StatusBar1")->currentMessage(), message);
    QCOMPARE(Child<QLabel>(m_form.get(), "Label1")->text(), QString());
    QCOMPARE(Edit(m_form.get(), Field::Matow)->text(), matow);
    QTest::mouseClick(button("ExecuteButton"), Qt::LeftButton);
    QCOMPARE(m_dialogs->warnings, QStringList{message});
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());

    selector->selectAll();
    QTest::keyClicks(selector, QStringLiteral("heavy jet"));
    QCOMPARE(Child<QLabel>(m_form.get(), "Label4")->text(), QStringLiteral("300000 kg"));
    QCOMPARE(Child<QStatusBar>(m_form.get(), "StatusBar1")->currentMessage(), QString());
    QTest::mouseClick(button("ExecuteButton"), Qt::LeftButton);
    QCOMPARE(m_dialogs->warnings.size(), 1);
    QCOMPARE(m_form->LastRun()->md.Type, std::string("Heavy Jet"));
}

void TestMainWindow::calculateAndAlternate()
{
    m_form->SetSetupChanged(false);
    QTest::mouseClick(button("CalculateDistanceButton"), Qt::LeftButton);
    QCOMPARE(Edit(m_form.get(), Field::Distance)->text(), QStringLiteral("595")); // 594.67 NM
    QVERIFY(m_form->SetupChanged());
    QTest::mouseClick(button("AlternateDataButton"), Qt::LeftButton);
    QCOMPARE(Edit(m_form.get(), Field::AlternateElevation)->text(), QStringLiteral("433"));
    QCOMPARE(Edit(m_form.get(), Field::AlternateDistance)->text(), QStringLiteral("5")); // 4.86 NM
    QVERIFY(m_dialogs->errors.isEmpty());
    QVERIFY(m_dialogs->warnings.isEmpty());

    // A code the table does not hold is named, and changes no field; a known
    // alternate still gives its elevation when the destination is unknown.
    struct Case {
        Field field;
        const char* code;
        const char* button;
        const char* edit9;
    };
    const Case cases[] = {
        {Field::From, "QQQQ", "CalculateDistanceButton", "1"},
        {Field::To, "QQQQ", "CalculateDistanceButton", "1"},
        {Field::Alternate, "QQQQ", "AlternateDataButton", "1"},
        {Field::To, "QQQQ", "AlternateDataButton", "433"},
    };
    for (const Case& c : cases) {
        Edit(m_form.get(), Field::From)->setText(QStringLiteral("KSFO"));
        Edit(m_form.get(), Field::To)->setText(QStringLiteral("KBFI"));
        Edit(m_form.get(), Field::Alternate)->setText(QStringLiteral("KSEA"));
        for (Field n : {Field::Distance, Field::AlternateElevation, Field::AlternateDistance})
            Edit(m_form.get(), n)->setText(QStringLiteral("1"));
        Edit(m_form.get(), c.field)->setText(QString::fromLatin1(c.code));
        m_dialogs->warnings.clear();
        button(c.button)->click();
        QCOMPARE(m_dialogs->warnings,
            QStringList{QStringLiteral("Airport \"QQQQ\" is not in the airport table!")});
        QCOMPARE(Edit(m_form.get(), Field::Distance)->text(), QStringLiteral("1"));
        QCOMPARE(Edit(m_form.get(), Field::AlternateElevation)->text(), QString::fromLatin1(c.edit9));
        QCOMPARE(Edit(m_form.get(), Field::AlternateDistance)->text(), QStringLiteral("1"));
    }
    QCOMPARE(m_dialogs->errors, QStringList());
}

void TestMainWindow::executeEachMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("labels");
    // Label12 to Label30 after a run on the built-in entries with Test Jet.
    QTest::newRow("Trip Time and Fuel")
        << "Trip Time and Fuel"
        << QStringList{"", "", "458 kts", "458 kts", "594 NAM", "2520 kg/h", "00:45", "00:00", "00:00",
               "01:17", "02:03", "1565", "671", "0", "3268", "5504", "52000 kg", "57504 kg", "54236 kg"};
    QTest::newRow("Maximum Payload") << "Maximum Payload"
                                     << QStringList{"Zero Fuel Weight", "16000 kg", "458 kts", "458 kts",
                                            "594 NAM", "2552 kg/h", "00:45", "00:00", "00:00", "01:17",
                                            "02:03", "1675", "712", "0", "3310", "5697", "56000 kg",
                                            "61697 kg", "58387 kg"};
    QTest::newRow("Maximum Range") << "Maximum Range"
                                   << QStringList{"Maximum Takeoff Weight", "3404 NM", "458 kts", "458 kts",
                                          "3404 NAM", "2122 kg/h", "00:45", "00:00", "00:00", "07:25",
                                          "08:11", "1565", "671", "0", "15768", "18004", "52000 kg",
                                          "70004 kg", "54236 kg"};
}

void TestMainWindow::executeEachMode()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, labels);
    setMode(qPrintable(mode));
    QTest::mouseClick(button("ExecuteButton"), Qt::LeftButton);
    QCOMPARE(ResultLabels(m_form.get()), labels);
    QVERIFY(button("ViewReportButton")->isEnabled());
    QVERIFY(!button("AbortButton")->isEnabled());
    QCOMPARE(m_dialogs->messageCount(), 0);
}

void TestMainWindow::unreadableFieldStopsTheRunSilently_data()
{
    QTest::addColumn<Field>("n");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty alternate code") << Field::Alternate << "";
    QTest::newRow("minus after a digit") << Field::Oat << "4-5";
    QTest::newRow("trailing blank") << Field::Malw << "60000 ";
    QTest::newRow("empty payload") << Field::Payload << "";
    QTest::newRow("comma decimal") << Field::Wind << "1,5";
}

void TestMainWindow::unreadableFieldStopsTheRunSilently()
{
    QFETCH(Field, n);
    QFETCH(QString, text);
    button("ExecuteButton")->click();
    QVERIFY(button("ViewReportButton")->isEnabled());
    Edit(m_form.get(), n)->setText(text);
    button("ExecuteButton")->click();
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    QVERIFY(!button("ViewReportButton")->isEnabled());
    QCOMPARE(m_dialogs->messageCount(), 0);
    QCOMPARE(m_dialogs->sounds, 0);
    QCOMPARE(Edit(m_form.get(), n)->text(), text);
}

void TestMainWindow::limitStopsTheRunWithAWarning()
{
    Edit(m_form.get(), Field::Payload)->setText(QStringLiteral("20000")); // 40000 + 20000 > MZFW 56000
    button("ExecuteButton")->click();
    QCOMPARE(m_dialogs->sounds, 1);
    QCOMPARE(
        m_dialogs->warnings, QStringList{QStringLiteral("Maximum Zero Fuel Weight of 56000 kg exceeded!")});
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    QVERIFY(!button("ViewReportButton")->isEnabled());
    QVERIFY(!button("AbortButton")->isEnabled());

    // A wind the airplane cannot fly against stops every mode the same way.
    Edit(m_form.get(), Field::Payload)->setText(QStringLiteral("12000"));
    Edit(m_form.get(), Field::Wind)->setText(QStringLiteral("500"));
    for (const char* mode : {"Trip Time and Fuel", "Maximum Range", "Maximum Payload"}) {
        setMode(mode);
        button("ExecuteButton")->click();
        QCOMPARE(m_dialogs->warnings.last(),
            QStringLiteral("Wind of 500 kts is not less than the True Airspeed of 458 kts!"));
        QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
        QVERIFY(!button("ViewReportButton")->isEnabled());
    }
    QCOMPARE(m_dialogs->warnings.size(), 4);
    QVERIFY(m_dialogs->errors.isEmpty());
}

void TestMainWindow::arithmeticFaultEndsTheRunWithAnErrorBox()
{
    Edit(m_form.get(), Field::Distance)
        ->setText(QStringLiteral("0")); // a trip time of 0 h divides the fuel flow by zero
    button("ExecuteButton")->click();
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->warnings.isEmpty());
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    QVERIFY(!button("ViewReportButton")->isEnabled());
    QVERIFY(!button("AbortButton")->isEnabled());
    QVERIFY(!m_form->CalculationRunning());
    // The window goes on: the next run works.
    Edit(m_form.get(), Field::Distance)->setText(QStringLiteral("594"));
    button("ExecuteButton")->click();
    QVERIFY(button("ViewReportButton")->isEnabled());

    // A fuel line that gives less than 0 kg is reported in the same box.
    Edit(m_form.get(), Field::AlternateDistance)->setText(QStringLiteral("-200"));
    button("ExecuteButton")->click();
    QCOMPARE(m_dialogs->errors.size(), 2);
    QVERIFY2(m_dialogs->errors.last().startsWith(QStringLiteral("Alternate fuel of -")),
        qPrintable(m_dialogs->errors.last()));
    QVERIFY(m_dialogs->errors.last().endsWith(QStringLiteral(" do not fit this mission.")));
    QVERIFY(m_dialogs->warnings.isEmpty());
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    QVERIFY(!button("ViewReportButton")->isEnabled());
}

void TestMainWindow::unknownModeTextRunsNoSolveMode()
{
    button("ExecuteButton")->click();
    QVERIFY(button("ViewReportButton")->isEnabled());
    QLineEdit* mode = combo("ModeSelector")->lineEdit();
    mode->selectAll();
    QTest::keyClicks(mode, QStringLiteral("Maximum Rnage"));
    button("ExecuteButton")->click();
    QCOMPARE(m_dialogs->warnings,
        QStringList{QStringLiteral("Unknown solve mode \"Maximum Rnage\": pick Trip Time and Fuel, Maximum "
                                   "Payload or Maximum Range!")});
    QCOMPARE(m_dialogs->sounds, 1);
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    QVERIFY(!button("ViewReportButton")->isEnabled());
    QVERIFY(!button("AbortButton")->isEnabled());
}

// After a valid run, the first change of an entry greys the values and puts
// a note in the status bar, leaving every text as it was; Execute ends it.
void TestMainWindow::resultsGoOutOfDateAtTheFirstChange()
{
    QLabel* note = Child<QLabel>(m_form.get(), "ResultsOutOfDateNote");
    const std::function<void()> changes[] = {
        [this] {
            Edit(m_form.get(), Field::Wind)
                ->setText(Edit(m_form.get(), Field::Wind)->text() == QStringLiteral("0")
                        ? QStringLiteral("10")
                        : QStringLiteral("0"));
        },
        [this] { QTest::keyClicks(combo("RegulationSelector")->lineEdit(), QStringLiteral("x")); },
        [this] { setMode("Maximum Payload"); },
    };
    for (const auto& change : changes) {
        QVERIFY(!m_form->ResultsOutOfDate());
        change(); // before any run: nothing to mark
        QVERIFY(!m_form->ResultsOutOfDate());
        button("ExecuteButton")->click();
        const QStringList shown = ResultLabels(m_form.get());
        QVERIFY(!shown.join(QString()).isEmpty());
        QVERIFY(note->isHidden());
        change();
        QVERIFY(m_form->ResultsOutOfDate());
        QCOMPARE(ResultLabels(m_form.get()), shown);
        for (int n = 12; n <= 30; ++n)
            QVERIFY(!Child<QLabel>(m_form.get(), qPrintable(QStringLiteral("Label%1").arg(n)))->isEnabled());
        QVERIFY(note->isVisibleTo(m_form.get()));
        QCOMPARE(note->text(), QStringLiteral("Results out of date: press Execute"));
        button("ExecuteButton")->click();
        QVERIFY(!m_form->ResultsOutOfDate());
        QVERIFY(Child<QLabel>(m_form.get(), "Label14")->isEnabled());
        QVERIFY(note->isHidden());
        // Blanked results are not out of date either.
        change();
        emit combo("AirplaneSelector")->textActivated(QStringLiteral("Test Jet"));
        QVERIFY(!m_form->ResultsOutOfDate());
        QVERIFY(Child<QLabel>(m_form.get(), "Label14")->isEnabled());
        setMode("Trip Time and Fuel");
        Edit(m_form.get(), Field::Wind)->setText(QStringLiteral("0"));
        combo("RegulationSelector")->setEditText(QStringLiteral("FAR Domestic"));
    }
}

void TestMainWindow::abortDuringMaximumRange()
{
    setMode("Maximum Range");
    WhenEventsRun([this] {
        QVERIFY(m_form->CalculationRunning());
        QVERIFY(button("AbortButton")->isEnabled());
        QTest::mouseClick(button("AbortButton"), Qt::LeftButton);
    });
    button("ExecuteButton")->click();
    // Abort is seen at the next pass: the first pass is always completed.
    QCOMPARE(m_form->MissionData().StillAirDistance, 2.0);
    QCOMPARE(ResultLabels(m_form.get()).at(0), QStringLiteral("Aborted by User"));
    QVERIFY(button("ViewReportButton")->isEnabled());
    QVERIFY(!button("AbortButton")->isEnabled());

    // The next run searches in full.
    button("ExecuteButton")->click();
    QCOMPARE(ResultLabels(m_form.get()).at(0), QStringLiteral("Maximum Takeoff Weight"));
    QCOMPARE(ResultLabels(m_form.get()).at(1), QStringLiteral("3404 NM"));
}

void TestMainWindow::escapeAbortsAndOtherInputIsRefused()
{
    setMode("Maximum Range");
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    Edit(m_form.get(), Field::Payload)->setFocus();
    int runs = 0;
    connect(button("ExecuteButton"), &QPushButton::clicked, this, [&runs] { ++runs; });
    WhenEventsRun([this] {
        // Mid-search: Execute, typing, the selectors and the menu do nothing.
        QTest::mouseClick(button("ExecuteButton"), Qt::LeftButton);
        QTest::keyClicks(Edit(m_form.get(), Field::Payload), QStringLiteral("99"));
        QTest::keyClick(m_form.get(), Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(m_form.get(), Qt::Key_Escape);
    });
    QTest::mouseClick(button("ExecuteButton"), Qt::LeftButton);
    QCOMPARE(runs, 1);
    QCOMPARE(Edit(m_form.get(), Field::Payload)->text(), QStringLiteral("12000"));
    QCOMPARE(ResultLabels(m_form.get()).at(0), QStringLiteral("Aborted by User"));
    QCOMPARE(m_dialogs->fileDialogs.size(), 0);
    // After the run, typing works again.
    QTest::keyClick(Edit(m_form.get(), Field::Payload), Qt::Key_Backspace);
    QCOMPARE(Edit(m_form.get(), Field::Payload)->text(), QStringLiteral("1200"));
}

void TestMainWindow::closingDuringASearchStopsItFirst()
{
    setMode("Maximum Range");
    WhenEventsRun([this] {
        QVERIFY(!m_form->close());
        QVERIFY(m_form->isVisible());
    });
    button("ExecuteButton")->click();
    QCOMPARE(ResultLabels(m_form.get()).at(0), QStringLiteral("Aborted by User"));
    QVERIFY(!m_form->isVisible());
    QVERIFY(!m_form->CalculationRunning());
}

void TestMainWindow::realLimitBoxCanBeAnsweredDuringARun()
{
    // The real message boxes, answered with the keyboard as a user would:
    // the run's input filter must not keep the box from closing.
    class QuietQtDialogs : public TQtDialogs {
    public:
        void informationSound() override { ++sounds; }
        int sounds = 0;
    } dialogs;
    TMainForm form(dialogs, m_dir->executable());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* mode = Child<QComboBox>(&form, "ModeSelector");
    mode->setCurrentIndex(mode->findText(QStringLiteral("Maximum Range")));
    Child<QLineEdit>(&form, "Edit4")->setText(QStringLiteral("20000"));

    QString boxText;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxText = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    answer.start(10);
    Child<QPushButton>(&form, "ExecuteButton")->click();
    answer.stop();
    QCOMPARE(boxText, QStringLiteral("Maximum Zero Fuel Weight of 56000 kg exceeded!"));
    QCOMPARE(dialogs.sounds, 1);
    QVERIFY(!form.CalculationRunning());
}

MIROVAX_WINDOW_TEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
