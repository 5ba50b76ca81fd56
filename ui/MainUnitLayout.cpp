// The main window's fixed layout: every control at its place, with its
// object name, caption and hint, and the tab order. The handlers live in
// MainUnit.cpp and the files beside it.
#include "ui/MainUnit.h"

#include "form/input_rules.h"
#include "form/window_captions.h"
#include "report/report_model.h"
#include "ui/Controls.h"
#include "ui/Pictures.h"
#include "ui/WindowFont.h"
#include "ui/accessible/accessible_names.h"
#include "ui/reportview/report_view.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace mirovax {

namespace {

constexpr int kClientWidth = 529; // px
constexpr int kClientHeight = 642; // px
constexpr int kEditHeight = 21; // px
constexpr int kComboHeight = 21; // px
constexpr int kStaticTextHeight = 17; // px
constexpr int kValueLabelHeight = 13; // px

// "StaticText" + n with its fixed caption, sized to its text as an
// auto-sizing static text is.
QLabel* StaticText(QWidget* parent, int n, int left, int top)
{
    const QString text = Q(StaticTextCaption(n));
    QLabel* label = MakeLabel(parent, NumberedName("StaticText", n), text, left, top, 10, kStaticTextHeight);
    label->resize(label->fontMetrics().horizontalAdvance(text) + 2, kStaticTextHeight);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QString& hint, int left,
    int top, int width = 75, int height = 25)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setGeometry(left, top, width, height);
    button->setAutoDefault(false);
    return button;
}

QComboBox* Selector(QWidget* parent, const char* name, const QString& hint, int left, int top, int width)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    // The text is the user's: no completion that would change what was typed,
    // and Return does not add the text to the list.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Leaving the field or pressing Return would otherwise make the combo box
    // pick the item matching the typed text and report it as the user's
    // choice, running the handler without a pick or a keystroke.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    QObject::disconnect(combo->lineEdit(), &QLineEdit::returnPressed, combo, nullptr);
    combo->setToolTip(hint);
    combo->setGeometry(left, top, width, kComboHeight);
    return combo;
}

QGroupBox* GroupBox(
    QWidget* parent, const char* name, const QString& caption, QRect geometry, int helpContext)
{
    auto* box = new TGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    if (helpContext != 0)
        box->setProperty("helpContext", helpContext);
    return box;
}

// A control that starts disabled: the boxes until an airplane is loaded, the
// buttons until what they act on exists.
template <class Widget> Widget* Disabled(Widget* widget)
{
    widget->setEnabled(false);
    return widget;
}

} // namespace

void TMainForm::CreateControls()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("MainForm"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(ProgramIcon());
    setProperty("helpContext", 105);

    m_imageList1 = {PictureIcon(TPicture::LoadSetup), PictureIcon(TPicture::SaveSetup),
        PictureIcon(TPicture::PrintReport), PictureIcon(TPicture::Help), PictureIcon(TPicture::PayloadRange),
        PictureIcon(TPicture::Limits), PictureIcon(TPicture::Compare)};

    CreateMenu();

    // The client area holds everything below the menu at fixed positions.
    auto* client = new QWidget(this);
    m_client = client;
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFont(WindowFont());
    client->setFixedSize(kClientWidth, kClientHeight);
    client->setAutoFillBackground(true);
    client->setBackgroundRole(QPalette::Button);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Creation order is stacking order: later controls lie on top.
    m_bevel3 = new QFrame(client);
    m_bevel3->setObjectName(QStringLiteral("Bevel3"));
    m_bevel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_bevel3->setGeometry(0, 29, 529, 594);

    CreateAirplaneBox(client);
    CreateRouteBox(client);
    CreateDataBox(client);
    CreateControlBox(client);
    CreateResultsBox(client);
    CreateReportBox(client);

    m_statusBar1 = new QStatusBar(client);
    m_statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar1->setSizeGripEnabled(false);
    m_statusBar1->setGeometry(0, 623, 529, 19);
    m_outOfDateNote = new QLabel(QStringLiteral("Results out of date: press Execute"), m_statusBar1);
    m_outOfDateNote->setObjectName(QStringLiteral("ResultsOutOfDateNote"));
    m_statusBar1->addPermanentWidget(m_outOfDateNote);
    m_outOfDateNote->hide();

    CreateAirplaneDataBox(client);
    CreateToolBar(client);
    SetTabOrder();
    NameControlsForAccessibility(this);
}

void TMainForm::CreateMenu()
{
    auto* mainMenu = new QMenuBar(this);
    mainMenu->setObjectName(QStringLiteral("MainMenu"));
    setMenuBar(mainMenu);

    auto action = [this](QMenu* menu, const char* name, const QString& caption, const QString& hint,
                      int image, const QKeySequence& shortcut) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint.isEmpty() ? caption : hint);
        if (image >= 0)
            a->setIcon(m_imageList1.at(static_cast<size_t>(image)));
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
        menu->addAction(a);
        addAction(a); // shortcuts work while the menu is closed
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* file1 = mainMenu->addMenu(QStringLiteral("File"));
    file1->setObjectName(QStringLiteral("File1"));
    file1->menuAction()->setObjectName(QStringLiteral("File1Action"));
    m_loadSetup1 = action(file1, "LoadSetup1", QStringLiteral("Load Setup"), QStringLiteral("Load Setup"), 0,
        QKeySequence(Qt::CTRL | Qt::Key_O));
    m_saveSetup1 = action(file1, "SaveSetup1", QStringLiteral("Save Setup"), QStringLiteral("Save Setup"), 1,
        QKeySequence(Qt::CTRL | Qt::Key_S));
    m_openFlightPlan1 = action(file1, "OpenFlightPlan1", QStringLiteral("Open &Flight Plan\u2026"),
        QStringLiteral("Open a Flight Plan of Another Planner"), -1, QKeySequence());
    m_loadForecast1 = action(file1, "LoadForecast1", QStringLiteral("Load F&orecast\u2026"),
        QStringLiteral("Load a Forecast of Winds and Temperatures Aloft"), -1, QKeySequence());
    m_clearForecast1 = action(file1, "ClearForecast1", QStringLiteral("Clear Forecas&t"),
        QStringLiteral("Clear the Forecast"), -1, QKeySequence());
    m_clearForecast1->setEnabled(false);
    separator(file1, "N1");
    m_saveReport1 = action(file1, "SaveReport1", QStringLiteral("Save Report"), QString(), -1,
        QKeySequence(Qt::CTRL | Qt::Key_R));
    m_printReport = action(file1, "PrintReport", QStringLiteral("Print Report"),
        QStringLiteral("Print Report"), 2, QKeySequence(Qt::CTRL | Qt::Key_P));
    m_payloadRange1 = action(file1, "PayloadRange1", QStringLiteral("&Payload-Range"),
        QStringLiteral("Payload-Range Diagram"), 4, QKeySequence());
    m_limits1 = action(file1, "Limits1", QStringLiteral("&Limits and Margins"),
        QStringLiteral("Limits and Margins"), 5, QKeySequence());
    m_compare1 = action(file1, "Compare1", QStringLiteral("&Compare"),
        QStringLiteral("Compare Regulations and Flight Levels"), 6, QKeySequence());
    m_dispatchSheet1 = action(file1, "DispatchSheet1", QStringLiteral("&Dispatch Sheet\u2026"),
        QStringLiteral("Dispatch Sheet"), -1, QKeySequence());
    m_dispatchSheet1->setEnabled(false);
    separator(file1, "N2");
    m_exit1 = action(file1, "Exit1", QStringLiteral("Exit"), QString(), -1, QKeySequence());
    m_saveReport1->setEnabled(false);
    m_printReport->setEnabled(false);

    QMenu* units1 = mainMenu->addMenu(QStringLiteral("Units"));
    units1->setObjectName(QStringLiteral("Units1"));
    units1->menuAction()->setObjectName(QStringLiteral("Units1Action"));
    auto* unitGroup = new QActionGroup(this);
    m_kilograms1 = action(units1, "Kilograms1", QStringLiteral("&Kilograms (kg)"),
        QStringLiteral("Masses in Kilograms"), -1, QKeySequence());
    m_pounds1 = action(units1, "Pounds1", QStringLiteral("&Pounds (lb)"), QStringLiteral("Masses in Pounds"),
        -1, QKeySequence());
    for (QAction* unit : {m_kilograms1, m_pounds1}) {
        unit->setCheckable(true);
        unitGroup->addAction(unit);
    }
    m_kilograms1->setChecked(true);

    QMenu* help1 = mainMenu->addMenu(QStringLiteral("Help"));
    help1->setObjectName(QStringLiteral("Help1"));
    help1->menuAction()->setObjectName(QStringLiteral("Help1Action"));
    m_help2
        = action(help1, "Help2", QStringLiteral("Help"), QStringLiteral("Help"), 3, QKeySequence(Qt::Key_F1));
    separator(help1, "N3");
    m_about1 = action(help1, "About1", QStringLiteral("About"), QString(), -1, QKeySequence());
}

void TMainForm::CreateToolBar(QWidget* client)
{
    m_toolBar1 = new QToolBar(client);
    m_toolBar1->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar1->setMovable(false);
    m_toolBar1->setFloatable(false);
    m_toolBar1->setGeometry(0, 0, 529, 29);

    // The buttons stand at fixed places; each stands for a menu item but keeps
    // its own enabled state.
    auto separator = [this](const char* name, int left) {
        auto* line = new QFrame(m_toolBar1);
        line->setObjectName(QString::fromLatin1(name));
        line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        line->setGeometry(left, 2, 8, 22);
    };
    auto button = [this](const char* name, int left, int image, const QString& hint) {
        auto* b = new QToolButton(m_toolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoRaise(true);
        b->setIcon(m_imageList1.at(static_cast<size_t>(image)));
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setToolTip(hint);
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(left, 2, 23, 22);
        return b;
    };
    separator("ToolButton1", 0);
    m_toolButton2 = button("ToolButton2", 8, 0, QStringLiteral("Load Setup"));
    m_toolButton3 = button("ToolButton3", 31, 1, QStringLiteral("Save Setup"));
    separator("ToolButton4", 54);
    m_toolButton5 = button("ToolButton5", 62, 2, QStringLiteral("Print Report"));
    separator("ToolButton6", 85);
    m_toolButton7 = button("ToolButton7", 93, 3, QStringLiteral("Help"));
    separator("ToolButton9", 116);
    m_toolButton8 = button("ToolButton8", 124, 4, QStringLiteral("Payload-Range Diagram"));
    m_toolButton10 = button("ToolButton10", 147, 5, QStringLiteral("Limits and Margins"));
    m_toolButton11 = button("ToolButton11", 170, 6, QStringLiteral("Compare Regulations and Flight Levels"));
    m_toolButton5->setEnabled(false);
}

void TMainForm::CreateAirplaneBox(QWidget* client)
{
    m_airplaneBox = GroupBox(client, "AirplaneBox", QStringLiteral("Airplane"), QRect(8, 32, 233, 73), 106);
    m_airplaneSelector
        = Selector(m_airplaneBox, "AirplaneSelector", QStringLiteral("Select Airplane"), 8, 16, 217);
    m_viewAirplaneDataButton = Disabled(Button(m_airplaneBox, "ViewAirplaneDataButton",
        QStringLiteral("View &Data"), QStringLiteral("View Airplane Data"), 8, 40));
    // No caption stands beside the selector; its box names it.
    m_airplaneSelector->setAccessibleName(m_airplaneBox->title());
}

namespace {

// Where a field stands in its box.
struct EditRow {
    Field field;
    int left;
    int top;
};

// A field's edit at the row's top and the given left edge, as the field
// table describes it.
TEdit* MakeEdit(QWidget* parent, const EditRow& row, int left)
{
    const FieldSpec& spec = Spec(row.field);
    auto* edit = new TEdit(parent);
    edit->setObjectName(QString::fromLatin1(spec.control));
    edit->setGeometry(left, row.top, 65, kEditHeight);
    edit->setText(QString::fromLatin1(spec.startText));
    edit->setToolTip(QString::fromLatin1(spec.hint));
    // Named by the caption beside it, as messages name it.
    edit->setAccessibleName(Q(FieldCaption(row.field)));
    edit->setCharLimit(spec.charLimit);
    edit->setUpperCase(spec.upperCase);
    return edit;
}

} // namespace

void TMainForm::CreateRouteBox(QWidget* client)
{
    m_routeBox
        = Disabled(GroupBox(client, "RouteBox", QStringLiteral("Route"), QRect(248, 32, 273, 73), 107));
    m_edits.assign(15, nullptr);

    StaticText(m_routeBox, Spec(Field::From).captionText, 8, 24);
    StaticText(m_routeBox, Spec(Field::To).captionText, 8, 48);
    StaticText(m_routeBox, Spec(Field::Distance).captionText, 120, 24);
    StaticText(m_routeBox, Spec(Field::Distance).unitText, 248, 24);
    static constexpr EditRow kRows[] = {
        {Field::From, 40, 16},
        {Field::To, 40, 40},
        {Field::Distance, 176, 16},
    };
    for (const EditRow& row : kRows)
        m_edits[Index(row.field)] = MakeEdit(m_routeBox, row, row.left);
    m_calculateDistanceButton = Disabled(Button(m_routeBox, "CalculateDistanceButton",
        QStringLiteral("&Calculate"), QStringLiteral("Calculate Trip Distance"), 176, 40));
}

void TMainForm::CreateDataBox(QWidget* client)
{
    m_dataBox
        = Disabled(GroupBox(client, "DataBox", QStringLiteral("Trip Data"), QRect(8, 112, 513, 193), 108));

    // Caption, field 72 px to its right, unit 72 px further; captions and
    // units stand 8 px below the field's top so their text lines up.
    static constexpr EditRow kRows[] = {
        {Field::Payload, 8, 40},
        {Field::FlightLevel, 8, 64},
        {Field::Oat, 8, 88},
        {Field::Wind, 8, 112},
        {Field::Matow, 8, 136},
        {Field::Malw, 8, 160},
        {Field::Alternate, 248, 16},
        {Field::AlternateElevation, 248, 40},
        {Field::AlternateDistance, 248, 64},
        {Field::HoldingTime, 248, 88},
        {Field::HoldingAltitude, 248, 112},
        {Field::Contingency, 248, 136},
    };

    QLabel* regulations = StaticText(m_dataBox, 23, 8, 24);
    m_regulationSelector
        = Selector(m_dataBox, "RegulationSelector", QStringLiteral("Select Regulations"), 80, 16, 145);
    regulations->setBuddy(m_regulationSelector);
    for (const RegulationPreset& preset : RegulationPresets())
        m_regulationSelector->addItem(Q(preset.name));
    m_regulationSelector->setCurrentIndex(m_regulationSelector->findText(Q(StartRegulations())));

    for (const EditRow& row : kRows) {
        const FieldSpec& spec = Spec(row.field);
        StaticText(m_dataBox, spec.captionText, row.left, row.top + 8);
        m_edits[Index(row.field)] = MakeEdit(m_dataBox, row, row.left + 72);
        if (spec.unitText != 0)
            StaticText(m_dataBox, spec.unitText, row.left + 144, row.top + 8);
    }
    m_alternateDataButton = Disabled(Button(m_dataBox, "AlternateDataButton", QStringLiteral("&Alternate"),
        QStringLiteral("Load Alternate Data"), 416, 16));
}

void TMainForm::CreateControlBox(QWidget* client)
{
    m_controlBox
        = Disabled(GroupBox(client, "ControlBox", QStringLiteral("Control"), QRect(8, 312, 513, 57), 109));
    QLabel* solveFor = StaticText(m_controlBox, 28, 8, 24);
    m_modeSelector = Selector(m_controlBox, "ModeSelector", QStringLiteral("Select Mode"), 64, 16, 145);
    solveFor->setBuddy(m_modeSelector);
    for (const ModeRule& rule : ModeRules())
        m_modeSelector->addItem(Q(rule.mode));
    m_modeSelector->setCurrentIndex(0);
    m_executeButton = Button(m_controlBox, "ExecuteButton", QStringLiteral("Execute"),
        QStringLiteral("Execute Setup"), 224, 16, 105, 25);
    m_abortButton = Disabled(Button(
        m_controlBox, "AbortButton", QStringLiteral("Abort"), QStringLiteral("Abort Calculation"), 336, 16));
    m_viewReportButton = Disabled(Button(m_controlBox, "ViewReportButton", QStringLiteral("View &Report"),
        QStringLiteral("View Report"), 432, 16));
}

void TMainForm::CreateResultsBox(QWidget* client)
{
    m_resultsBox = GroupBox(client, "ResultsBox", QStringLiteral("Results"), QRect(8, 376, 513, 241), 110);
    auto* bevel2 = new QFrame(m_resultsBox);
    bevel2->setObjectName(QStringLiteral("Bevel2"));
    bevel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel2->setGeometry(2, 15, 509, 224);

    struct Caption {
        int number;
        int left;
        int top;
    };
    static constexpr Caption kCaptions[] = {
        {39, 8, 24},
        {40, 8, 72},
        {41, 8, 96},
        {42, 8, 120},
        {43, 8, 144},
        {44, 208, 48},
        {45, 208, 72},
        {46, 208, 96},
        {47, 208, 120},
        {48, 208, 144},
        {49, 8, 168},
        {50, 8, 192},
        {51, 8, 216},
    };
    for (const Caption& c : kCaptions)
        StaticText(m_resultsBox, c.number, c.left, c.top);

    // Value labels: width up to the next column.
    struct Value {
        int number;
        int left;
        int top;
        int width;
    };
    static constexpr Value kValues[] = {
        {11, 8, 48, 110},
        {12, 120, 24, 380},
        {13, 120, 48, 86},
        {14, 120, 72, 86},
        {15, 120, 96, 86},
        {16, 120, 120, 86},
        {17, 120, 144, 86},
        {18, 304, 48, 86},
        {19, 304, 72, 86},
        {20, 304, 96, 86},
        {21, 304, 120, 86},
        {22, 304, 144, 86},
        {23, 392, 48, 110},
        {24, 392, 72, 110},
        {25, 392, 96, 110},
        {26, 392, 120, 110},
        {27, 392, 144, 110},
        {28, 120, 168, 200},
        {29, 120, 192, 200},
        {30, 120, 216, 200},
    };
    for (const Value& v : kValues) {
        const QString name = NumberedName("Label", v.number);
        QLabel* label = MakeLabel(m_resultsBox, name, name, v.left, v.top, v.width, kValueLabelHeight);
        // Label11 is the maximum's caption, the others are read by their
        // row and unit.
        if (v.number != 11)
            label->setAccessibleName(
                Q(ValueLabelName(v.number, m_modeSelector->currentText().toStdString())));
    }
    for (const char* hidden : {"StaticText39", "Label11", "Label12", "Label13"})
        m_resultsBox->findChild<QWidget*>(QString::fromLatin1(hidden))->hide();
}

void TMainForm::CreateReportBox(QWidget* client)
{
    m_reportBox = GroupBox(client, "ReportBox", QStringLiteral("Report"), QRect(8, 32, 513, 585), 0);
    m_reportBox->hide();
    m_richEdit = new QTextEdit(m_reportBox);
    m_richEdit->setObjectName(QStringLiteral("RichEdit"));
    m_richEdit->setGeometry(2, 15, 509, 530);
    // Font, read-only state, scrolling and focus are the report view's own.
    ConfigureReportView(m_richEdit);
    m_richEdit->setPlainText(QStringLiteral("RichEdit"));
    m_richEdit->setProperty("helpContext", 111);
    m_richEdit->setAccessibleName(m_reportBox->title());
    m_richEdit->setAccessibleDescription(QStringLiteral("The mission report as it is saved and printed"));
    m_reportDoneButton = Button(
        m_reportBox, "ReportDoneButton", QStringLiteral("Done"), QStringLiteral("Close Report"), 8, 552);
}

void TMainForm::CreateAirplaneDataBox(QWidget* client)
{
    m_airplaneDataBox
        = GroupBox(client, "AirplaneDataBox", QStringLiteral("Airplane Data"), QRect(8, 112, 513, 505), 0);
    m_airplaneDataBox->hide();
    auto* bevel1 = new QFrame(m_airplaneDataBox);
    bevel1->setObjectName(QStringLiteral("Bevel1"));
    bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel1->setGeometry(2, 15, 509, 450);

    for (int row = 0; row < 10; ++row) {
        const int top = 32 + 24 * row;
        StaticText(m_airplaneDataBox, 29 + row, 16, top);
        const QString name = NumberedName("Label", row + 1);
        QLabel* value = MakeLabel(m_airplaneDataBox, name, name, 152, top, 350, kValueLabelHeight);
        value->setAccessibleName(Q(ValueLabelName(row + 1, {})));
        // A long source reference wraps into the free space below it rather
        // than being cut at the box's edge.
        if (row == 9) {
            value->setWordWrap(true);
            value->resize(350, 465 - top);
        }
    }
    m_airplaneDataDoneButton = Button(m_airplaneDataBox, "AirplaneDataDoneButton", QStringLiteral("Done"),
        QStringLiteral("Close Airplane Data"), 8, 472);
}

std::vector<QWidget*> TMainForm::TabOrder() const
{
    // Box by box in the boxes' tab order, each box down a column before the
    // next, a button after the field of its row. Execute, View Report, Abort
    // is not their order on screen.
    return {
        m_airplaneSelector,
        m_viewAirplaneDataButton,
        Edit(Field::From),
        Edit(Field::To),
        Edit(Field::Distance),
        m_calculateDistanceButton,
        m_regulationSelector,
        Edit(Field::Payload),
        Edit(Field::FlightLevel),
        Edit(Field::Oat),
        Edit(Field::Wind),
        Edit(Field::Matow),
        Edit(Field::Malw),
        Edit(Field::Alternate),
        m_alternateDataButton,
        Edit(Field::AlternateElevation),
        Edit(Field::AlternateDistance),
        Edit(Field::HoldingTime),
        Edit(Field::HoldingAltitude),
        Edit(Field::Contingency),
        m_modeSelector,
        m_executeButton,
        m_viewReportButton,
        m_abortButton,
        m_reportDoneButton,
        m_airplaneDataDoneButton,
    };
}

void TMainForm::SetTabOrder()
{
    const std::vector<QWidget*> order = TabOrder();
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace mirovax
