#include "ui/MainUnit.h"

#include "engine/input_rules.h"
#include "engine/text_format.h"
#include "refdata/airplane.h"
#include "refdata/airports.h"
#include "ui/AboutUnit.h"
#include "ui/Controls.h"
#include "ui/FileVersion.h"
#include "ui/HelpViewer.h"
#include "ui/MainUnitInput.h"
#include "ui/Pictures.h"
#include "ui/reportview/report_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <clocale>
#include <string>

namespace mirovax {

const FileDialogSpec kSetupOpenDialog{QStringLiteral("SetupOpenDialog"), QStringLiteral("Mirovax|*.MRX")};
const FileDialogSpec kSetupSaveDialog{QStringLiteral("SetupSaveDialog"), QStringLiteral("Mirovax|*.MRX")};
const FileDialogSpec kReportSaveDialog{
    QStringLiteral("ReportSaveDialog"), QStringLiteral("Rich Text File|*.RTF|Text File|*.TXT")};

namespace {

constexpr int kClientWidth = 529; // px
constexpr int kClientHeight = 642; // px
constexpr int kFontPixels = 11; // 8 point at 96 dots per inch
constexpr int kEditHeight = 21;
constexpr int kComboHeight = 21;
constexpr int kStaticTextHeight = 17;
constexpr int kValueLabelHeight = 13;

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QString NumberedName(const char* prefix, int n)
{
    return QString::fromLatin1(prefix) + Q(std::to_string(n));
}

QFont PickFont(const QString& wanted)
{
    const QStringList families = QFontDatabase::families();
    QString family = QStringLiteral("Liberation Sans");
    if (families.contains(wanted))
        family = wanted;
    else if (!families.contains(family))
        family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont font(family);
    font.setPixelSize(kFontPixels);
    // The stand-in runs a little wider than the face the layout was drawn
    // for; narrowed slightly, the longest captions end before their values.
    if (family != wanted)
        font.setStretch(95);
    return font;
}

// A caption sized to its text, as an auto-sizing static text is.
QLabel* StaticText(QWidget* parent, int n, const QString& text, int left, int top)
{
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

// Adds an entry to a list kept in alphabetical order without regard to case;
// equal entries keep the order in which they came.
void AddSorted(QComboBox* combo, const QString& text)
{
    int at = combo->count();
    for (int i = 0; i < combo->count(); ++i) {
        if (QString::compare(combo->itemText(i), text, Qt::CaseInsensitive) > 0) {
            at = i;
            break;
        }
    }
    combo->insertItem(at, text);
}

} // namespace

QFont WindowFont()
{
    return PickFont(QStringLiteral("MS Sans Serif"));
}
QFont ReportFont()
{
    return PickFont(QStringLiteral("Arial"));
}

// What the solve modes ask of the window: the limit report and the event
// yield of the Maximum Range search.
class TMainForm::TRunServices : public IMissionServices {
public:
    explicit TRunServices(TMainForm& form)
        : m_form(form)
    { }
    void ReportLimit(const std::string& message) override
    {
        ShowEntryMessage(m_form.m_dialogs, &m_form, Q(message));
    }
    void YieldEvents() override
    {
        // Only input handled here meets the run's input filter; a limit box
        // or the fault box of the same run must stay usable.
        struct Yielding {
            bool& flag;
            explicit Yielding(bool& f)
                : flag(f)
            {
                flag = true;
            }
            ~Yielding() { flag = false; }
        } yielding(m_form.m_yielding);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

private:
    TMainForm& m_form;
};

// While a search yields to the event loop, user input reaches only the Abort
// button (and Esc, which presses it): Execute, the selectors, the fields, the
// menu and the tool bar would otherwise change the mission data under the
// search. Painting, timers and the close button go on as usual.
class TMainForm::TRunInputFilter : public QObject {
public:
    explicit TRunInputFilter(TMainForm& form)
        : m_form(form)
    { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_form.m_yielding)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                // Esc may arrive as a shortcut check only, or as the key.
                m_form.AbortButtonClick();
                return true;
            }
            return watched != m_form.m_abortButton;
        }
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return watched != m_form.m_abortButton;
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

private:
    TMainForm& m_form;
};

TMainForm::TMainForm(IDialogs& dialogs, const QString& executablePath, QWidget* parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_executablePath(executablePath)
    , m_airplaneTable(std::make_unique<TTable>())
    , m_airportTable(std::make_unique<TTable>())
    , m_services(std::make_unique<TRunServices>(*this))
    , m_runFilter(std::make_unique<TRunInputFilter>(*this))
{
    CreateControls();
    ConnectHandlers();
    m_helpViewer = new THelpViewer(this);
    m_helpViewer->setAttribute(Qt::WA_QuitOnClose, false);
    Guarded([this] { FormCreate(); });
    m_aboutForm = std::make_unique<TAboutForm>(this);
    m_airplaneSelector->setFocus();
}

TMainForm::~TMainForm()
{
    // The controls outlive the members they report to (they go with the
    // QWidget base, closing and losing the focus on the way): no handler may
    // run from here on.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    if (m_running)
        QCoreApplication::instance()->removeEventFilter(m_runFilter.get());
}

// ---------------------------------------------------------------------------
// Layout

void TMainForm::CreateControls()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("MainForm"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(ProgramIcon());
    setProperty("helpContext", 105);

    m_imageList1 = {DrawPicture(TPicture::LoadSetup), DrawPicture(TPicture::SaveSetup),
        DrawPicture(TPicture::PrintReport), DrawPicture(TPicture::Help), DrawPicture(TPicture::PayloadRange)};

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
            a->setIcon(QIcon(m_imageList1.at(static_cast<size_t>(image))));
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
    separator(file1, "N1");
    m_saveReport1 = action(file1, "SaveReport1", QStringLiteral("Save Report"), QString(), -1,
        QKeySequence(Qt::CTRL | Qt::Key_R));
    m_printReport = action(file1, "PrintReport", QStringLiteral("Print Report"),
        QStringLiteral("Print Report"), 2, QKeySequence(Qt::CTRL | Qt::Key_P));
    m_payloadRange1 = action(file1, "PayloadRange1", QStringLiteral("&Payload-Range"),
        QStringLiteral("Payload-Range Diagram"), 4, QKeySequence());
    separator(file1, "N2");
    m_exit1 = action(file1, "Exit1", QStringLiteral("Exit"), QString(), -1, QKeySequence());
    m_saveReport1->setEnabled(false);
    m_printReport->setEnabled(false);

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
        b->setIcon(QIcon(m_imageList1.at(static_cast<size_t>(image))));
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
    m_toolButton5->setEnabled(false);
}

void TMainForm::CreateAirplaneBox(QWidget* client)
{
    m_airplaneBox = GroupBox(client, "AirplaneBox", QStringLiteral("Airplane"), QRect(8, 32, 233, 73), 106);
    m_airplaneSelector
        = Selector(m_airplaneBox, "AirplaneSelector", QStringLiteral("Select Airplane"), 8, 16, 217);
    m_viewAirplaneDataButton = Button(m_airplaneBox, "ViewAirplaneDataButton", QStringLiteral("View &Data"),
        QStringLiteral("View Airplane Data"), 8, 40);
    m_viewAirplaneDataButton->setEnabled(false);
}

namespace {

struct EditRow {
    int number;
    int left;
    int top;
    const char* text;
    const char* hint;
    int charLimit;
    bool upperCase;
};

} // namespace

void TMainForm::CreateRouteBox(QWidget* client)
{
    m_routeBox = GroupBox(client, "RouteBox", QStringLiteral("Route"), QRect(248, 32, 273, 73), 107);
    m_routeBox->setEnabled(false);
    m_edits.assign(15, nullptr);

    StaticText(m_routeBox, 1, QStringLiteral("From:"), 8, 24);
    StaticText(m_routeBox, 2, QStringLiteral("To:"), 8, 48);
    StaticText(m_routeBox, 3, QStringLiteral("Distance:"), 120, 24);
    StaticText(m_routeBox, 4, QStringLiteral("NM"), 248, 24);
    static constexpr EditRow kRows[] = {
        {1, 40, 16, "KSFO", "Origination ICAO Code", 4, true},
        {2, 40, 40, "KBFI", "Destination ICAO Code", 4, true},
        {3, 176, 16, "594", "Trip Distance", 5, false},
    };
    for (const EditRow& row : kRows) {
        auto* edit = new TEdit(m_routeBox);
        edit->setObjectName(NumberedName("Edit", row.number));
        edit->setGeometry(row.left, row.top, 65, kEditHeight);
        edit->setText(QString::fromLatin1(row.text));
        edit->setToolTip(QString::fromLatin1(row.hint));
        edit->setCharLimit(row.charLimit);
        edit->setUpperCase(row.upperCase);
        m_edits[static_cast<size_t>(row.number - 1)] = edit;
    }
    m_calculateDistanceButton = Button(m_routeBox, "CalculateDistanceButton", QStringLiteral("&Calculate"),
        QStringLiteral("Calculate Trip Distance"), 176, 40);
    m_calculateDistanceButton->setEnabled(false);
}

void TMainForm::CreateDataBox(QWidget* client)
{
    m_dataBox = GroupBox(client, "DataBox", QStringLiteral("Trip Data"), QRect(8, 112, 513, 193), 108);
    m_dataBox->setEnabled(false);

    // Caption, field 72 px to its right, unit 72 px further; captions and
    // units stand 8 px below the field's top so their text lines up.
    struct Row {
        int captionNumber;
        const char* caption;
        EditRow field;
        int unitNumber;
        const char* unit;
    };
    static constexpr Row kRows[] = {
        {5, "Payload:", {4, 8, 40, "12000", "Payload", 6, false}, 9, "kg"},
        {6, "Flight Level:", {5, 8, 64, "310", "Flight Level", 3, false}, 0, nullptr},
        {7, "OAT:", {6, 8, 88, "-46", "Outside Air Temperature", 3, false}, 10, "\u00b0C"},
        {8, "Wind:", {7, 8, 112, "0", "Wind (HW = +, TW = -)", 4, false}, 11, "kts"},
        {24, "MATOW:", {14, 8, 136, "Edit14", "Maximum Allowable Takeoff Weight", 6, false}, 25, "kg"},
        {27, "MALW:", {15, 8, 160, "Edit15", "Maximum Allowable Landing Weight", 6, false}, 26, "kg"},
        {12, "Alternate:", {8, 248, 16, "KSEA", "Alternate ICAO Code", 4, true}, 0, nullptr},
        {13, "Elevation:", {9, 248, 40, "433", "Alternate Elevation", 5, false}, 16, "ft"},
        {14, "Distance:", {10, 248, 64, "5", "Alternate Distance", 4, false}, 17, "NM"},
        {15, "Holding Time:", {11, 248, 88, "45", "Holding Time", 2, false}, 18, "min"},
        {19, "Hold. Altitude:", {12, 248, 112, "1500", "Holding Altitude", 5, false}, 20, "ft"},
        {21, "Cont Fuel:", {13, 248, 136, "0", "Contingency Fuel", 2, false}, 22, "%"},
    };

    StaticText(m_dataBox, 23, QStringLiteral("Regulations:"), 8, 24);
    m_regulationSelector
        = Selector(m_dataBox, "RegulationSelector", QStringLiteral("Select Regulations"), 80, 16, 145);
    m_regulationSelector->addItems({QStringLiteral("JAA"), QStringLiteral("FAR Domestic"),
        QStringLiteral("FAR International"), QStringLiteral("ICAO")});
    m_regulationSelector->setCurrentIndex(1);

    for (const Row& row : kRows) {
        const EditRow& f = row.field;
        StaticText(m_dataBox, row.captionNumber, QString::fromUtf8(row.caption), f.left, f.top + 8);
        auto* edit = new TEdit(m_dataBox);
        edit->setObjectName(NumberedName("Edit", f.number));
        edit->setGeometry(f.left + 72, f.top, 65, kEditHeight);
        edit->setText(QString::fromLatin1(f.text));
        edit->setToolTip(QString::fromLatin1(f.hint));
        edit->setCharLimit(f.charLimit);
        edit->setUpperCase(f.upperCase);
        m_edits[static_cast<size_t>(f.number - 1)] = edit;
        if (row.unit)
            StaticText(m_dataBox, row.unitNumber, QString::fromUtf8(row.unit), f.left + 144, f.top + 8);
    }
    m_alternateDataButton = Button(m_dataBox, "AlternateDataButton", QStringLiteral("&Alternate"),
        QStringLiteral("Load Alternate Data"), 416, 16);
    m_alternateDataButton->setEnabled(false);
}

void TMainForm::CreateControlBox(QWidget* client)
{
    m_controlBox = GroupBox(client, "ControlBox", QStringLiteral("Control"), QRect(8, 312, 513, 57), 109);
    m_controlBox->setEnabled(false);
    StaticText(m_controlBox, 28, QStringLiteral("Solve for:"), 8, 24);
    m_modeSelector = Selector(m_controlBox, "ModeSelector", QStringLiteral("Select Mode"), 64, 16, 145);
    m_modeSelector->addItems({Q(std::string(kModeTripTimeAndFuel)), Q(std::string(kModeMaximumPayload)),
        Q(std::string(kModeMaximumRange))});
    m_modeSelector->setCurrentIndex(0);
    m_executeButton = Button(m_controlBox, "ExecuteButton", QStringLiteral("Execute"),
        QStringLiteral("Execute Setup"), 224, 16, 105, 25);
    m_abortButton = Button(
        m_controlBox, "AbortButton", QStringLiteral("Abort"), QStringLiteral("Abort Calculation"), 336, 16);
    m_abortButton->setEnabled(false);
    m_viewReportButton = Button(m_controlBox, "ViewReportButton", QStringLiteral("View &Report"),
        QStringLiteral("View Report"), 432, 16);
    m_viewReportButton->setEnabled(false);
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
        const char* text;
        int left;
        int top;
    };
    static constexpr Caption kCaptions[] = {
        {39, "Limited by:", 8, 24},
        {40, "True Airspeed:", 8, 72},
        {41, "Ground Speed:", 8, 96},
        {42, "Still Air Distance:", 8, 120},
        {43, "Avg. Fuel Flow:", 8, 144},
        {44, "Holding:", 208, 48},
        {45, "Alternate:", 208, 72},
        {46, "Contingency:", 208, 96},
        {47, "Trip:", 208, 120},
        {48, "Min. Takeoff:", 208, 144},
        {49, "Zero Fuel Weight:", 8, 168},
        {50, "Takeoff Weight:", 8, 192},
        {51, "Landing Weight:", 8, 216},
    };
    for (const Caption& c : kCaptions)
        StaticText(m_resultsBox, c.number, QString::fromLatin1(c.text), c.left, c.top);

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
        MakeLabel(m_resultsBox, name, name, v.left, v.top, v.width, kValueLabelHeight);
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
    m_richEdit->setReadOnly(true);
    m_richEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_richEdit->setLineWrapMode(QTextEdit::WidgetWidth);
    m_richEdit->setFocusPolicy(Qt::ClickFocus);
    m_richEdit->setFont(ReportFont());
    m_richEdit->setPlainText(QStringLiteral("RichEdit"));
    m_richEdit->setProperty("helpContext", 111);
    ConfigureReportView(m_richEdit);
    m_reportDoneButton = Button(m_reportBox, "ReportDoneButton", QStringLiteral("Done"), QString(), 8, 552);
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

    static constexpr const char* kCaptions[] = {
        "Airframe:",
        "Engine:",
        "Dry Operating Weight:",
        "Maximum Takeoff Weight:",
        "Maximum Landing Weight:",
        "Maximum Zero Fuel Weight:",
        "Tank Capacity:",
        "Maximum Altitude:",
        "Cruise Mach:",
        "Reference:",
    };
    for (int row = 0; row < 10; ++row) {
        const int top = 32 + 24 * row;
        StaticText(m_airplaneDataBox, 29 + row, QString::fromLatin1(kCaptions[row]), 16, top);
        const QString name = NumberedName("Label", row + 1);
        QLabel* value = MakeLabel(m_airplaneDataBox, name, name, 152, top, 350, kValueLabelHeight);
        // A long source reference wraps into the free space below it rather
        // than being cut at the box's edge.
        if (row == 9) {
            value->setWordWrap(true);
            value->resize(350, 465 - top);
        }
    }
    m_airplaneDataDoneButton
        = Button(m_airplaneDataBox, "AirplaneDataDoneButton", QStringLiteral("Done"), QString(), 8, 472);
}

void TMainForm::SetTabOrder()
{
    // Box by box in the boxes' tab order, controls by their place within
    // their box. Execute, View Report, Abort is not their order on screen.
    const std::vector<QWidget*> order = {
        m_airplaneSelector,
        m_viewAirplaneDataButton,
        Edit(1),
        Edit(2),
        Edit(3),
        m_calculateDistanceButton,
        m_regulationSelector,
        Edit(4),
        Edit(5),
        Edit(6),
        Edit(7),
        Edit(14),
        Edit(15),
        Edit(8),
        m_alternateDataButton,
        Edit(9),
        Edit(10),
        Edit(11),
        Edit(12),
        Edit(13),
        m_modeSelector,
        m_executeButton,
        m_viewReportButton,
        m_abortButton,
        m_reportDoneButton,
        m_airplaneDataDoneButton,
    };
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// ---------------------------------------------------------------------------
// Events

void TMainForm::ConnectHandlers()
{
    connect(m_airplaneSelector, &QComboBox::textActivated, this, &TMainForm::AirplaneSelectorChange);
    connect(m_airplaneSelector->lineEdit(), &QLineEdit::textEdited, this, &TMainForm::AirplaneSelectorChange);
    connect(m_viewAirplaneDataButton, &QPushButton::clicked, this, &TMainForm::ViewAirplaneDataButtonClick);
    connect(m_airplaneDataDoneButton, &QPushButton::clicked, this, &TMainForm::AirplaneDataDoneButtonClick);
    connect(m_calculateDistanceButton, &QPushButton::clicked, this, &TMainForm::CalculateDistanceButtonClick);
    connect(m_alternateDataButton, &QPushButton::clicked, this, &TMainForm::AlternateDataButtonClick);

    using Handler = void (TMainForm::*)();
    static constexpr Handler kEditChange[] = {
        &TMainForm::Edit1Change,
        &TMainForm::Edit2Change,
        &TMainForm::Edit3Change,
        &TMainForm::Edit4Change,
        &TMainForm::Edit5Change,
        &TMainForm::Edit6Change,
        &TMainForm::Edit7Change,
        &TMainForm::Edit8Change,
        &TMainForm::Edit9Change,
        &TMainForm::Edit10Change,
        &TMainForm::Edit11Change,
        &TMainForm::Edit12Change,
        &TMainForm::Edit13Change,
        &TMainForm::Edit14Change,
        &TMainForm::Edit15Change,
    };
    for (int n = 1; n <= 15; ++n)
        connect(Edit(n), &TEdit::contentChanged, this, kEditChange[n - 1]);

    // A combo box reacts to the user only: picking an item or typing. Text
    // the program sets runs no handler.
    connect(m_regulationSelector, &QComboBox::textActivated, this, &TMainForm::RegulationSelectorChange);
    connect(
        m_regulationSelector->lineEdit(), &QLineEdit::textEdited, this, &TMainForm::RegulationSelectorChange);
    connect(m_modeSelector, &QComboBox::textActivated, this, &TMainForm::ModeSelectorChange);
    connect(m_modeSelector->lineEdit(), &QLineEdit::textEdited, this, &TMainForm::ModeSelectorChange);

    connect(m_executeButton, &QPushButton::clicked, this, &TMainForm::ExecuteButtonClick);
    connect(m_abortButton, &QPushButton::clicked, this, &TMainForm::AbortButtonClick);
    connect(m_reportDoneButton, &QPushButton::clicked, this, &TMainForm::ReportDoneButtonClick);

    connect(m_exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
    connect(m_help2, &QAction::triggered, this, &TMainForm::Help2Click);
    connect(m_toolButton7, &QToolButton::clicked, this, &TMainForm::Help2Click);
    connect(m_about1, &QAction::triggered, this, &TMainForm::About1Click);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("EscapeShortcut"));
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &TMainForm::EscapePressed);

    // The mission report: view, save, print.
    connect(m_viewReportButton, &QPushButton::clicked, this, &TMainForm::ViewReportButtonClick);
    connect(m_saveReport1, &QAction::triggered, this, &TMainForm::SaveReport1Click);
    connect(m_printReport, &QAction::triggered, this, &TMainForm::PrintReportClick);
    connect(m_toolButton5, &QToolButton::clicked, this, &TMainForm::PrintReportClick);
    // The payload-range diagram: the command, and its window following the
    // entries that a run reads (the airplane follows from LoadAirplane).
    connect(m_payloadRange1, &QAction::triggered, this, &TMainForm::PayloadRange1Click);
    connect(m_toolButton8, &QToolButton::clicked, this, &TMainForm::PayloadRange1Click);
    for (int n = 3; n <= 15; ++n)
        connect(Edit(n), &TEdit::contentChanged, this, &TMainForm::UpdatePayloadRange);
    // Setup files, key filters and exit checks.
    connect(m_loadSetup1, &QAction::triggered, this, &TMainForm::LoadSetup1Click);
    connect(m_toolButton2, &QToolButton::clicked, this, &TMainForm::LoadSetup1Click);
    connect(m_saveSetup1, &QAction::triggered, this, &TMainForm::SaveSetup1Click);
    connect(m_toolButton3, &QToolButton::clicked, this, &TMainForm::SaveSetup1Click);
    ConnectInputHandlers();
}

void TMainForm::Guarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        m_dialogs.error(this, Q(e.what()));
    }
}

// ---------------------------------------------------------------------------
// Start-up

void TMainForm::FormCreate()
{
    // "." for every conversion between numbers and text, whatever the
    // locale. The engine's conversions are locale-free already; this keeps
    // Qt's and the C library's defaults in line with them.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    m_md.AbortRequested = false;
    const QFileInfo executable(m_executablePath);
    m_programDir = executable.absolutePath() + QLatin1Char('/');
    m_helpFile = m_programDir + QString::fromLatin1(kHelpFileName);
    setWindowTitle(QStringLiteral("Mirovax - Version: ")
        + Q(GetFileVersionString(executable.absoluteFilePath().toStdString())));
    m_startParamCount = static_cast<int>(QCoreApplication::arguments().size()) - 1;

    const QString airports = m_programDir + QString::fromLatin1(kAirportTableName);
    if (QFileInfo(airports).isFile()) {
        m_airportTable->Open(airports.toStdString());
        m_calculateDistanceButton->setEnabled(true);
        m_alternateDataButton->setEnabled(true);
    }

    const QString airplanes = m_programDir + QString::fromLatin1(kAirplaneTableName);
    if (QFileInfo(airplanes).isFile()) {
        m_airplaneTable->Open(airplanes.toStdString());
        m_airplaneSelector->setEnabled(true);
        LoadAirplane(m_airplaneSelector->currentText());
        for (const std::string& type : ReadTypesFromCurrent(*m_airplaneTable))
            AddSorted(m_airplaneSelector, Q(type));
        m_airplaneTable->First();
        m_airplaneSelector->setEditText(Q(m_airplaneTable->FieldAsString("Type")));
    }

    ClearResults();
    m_setupChanged = false;
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownBefore)
        return;
    m_shownBefore = true;
    // Centred on the screen when first shown.
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveCenter(available.center());
        move(frame.topLeft());
    }
    m_airplaneSelector->setFocus();
    Guarded([this] { FormShow(); });
}

// ---------------------------------------------------------------------------
// Airplane selection and airports

void TMainForm::LoadAirplane(const QString& typeName)
{
    const AirplaneDisplay display = mirovax::LoadAirplane(*m_airplaneTable, typeName.toStdString(), m_md);
    Edit(14)->setCharLimit(display.edit14MaxLength);
    Edit(15)->setCharLimit(display.edit15MaxLength);
    for (int n = 1; n <= 10; ++n) {
        NumberedLabel(n)->setText(Q(display.labels.at(static_cast<size_t>(n - 1))));
        if (n == 4)
            SetEditText(14, Q(display.edit14));
        if (n == 5)
            SetEditText(15, Q(display.edit15));
    }
    m_viewAirplaneDataButton->setEnabled(true);
    Edit(4)->setCharLimit(display.edit4MaxLength);
    m_routeBox->setEnabled(true);
    m_dataBox->setEnabled(true);
    m_controlBox->setEnabled(true);
    UpdatePayloadRange();
}

void TMainForm::AirplaneSelectorChange()
{
    Guarded([this] {
        LoadAirplane(m_airplaneSelector->currentText());
        ClearResults();
        EntryChanged();
    });
}

void TMainForm::ViewAirplaneDataButtonClick()
{
    m_airplaneDataBox->show();
}

void TMainForm::AirplaneDataDoneButtonClick()
{
    m_airplaneDataBox->hide();
}

void TMainForm::CalculateDistanceButtonClick()
{
    Guarded([this] {
        const DistanceLookup lookup = CalculateDistance(
            *m_airportTable, Edit(1)->text().toStdString(), Edit(2)->text().toStdString());
        if (lookup.distance)
            SetEditText(3, Q(*lookup.distance));
        if (lookup.unknownCode)
            ShowEntryMessage(m_dialogs, this, Q(UnknownAirportMessage(*lookup.unknownCode)));
    });
}

void TMainForm::AlternateDataButtonClick()
{
    Guarded([this] {
        const AlternateData alternate
            = AlternateLookup(*m_airportTable, Edit(8)->text().toStdString(), Edit(2)->text().toStdString());
        if (alternate.elevation)
            SetEditText(9, Q(*alternate.elevation));
        if (alternate.distance)
            SetEditText(10, Q(*alternate.distance));
        if (alternate.unknownCode)
            ShowEntryMessage(m_dialogs, this, Q(UnknownAirportMessage(*alternate.unknownCode)));
    });
}

// ---------------------------------------------------------------------------
// Change tracking and selectors

void TMainForm::Edit1Change()
{
    EntryChanged();
}
void TMainForm::Edit2Change()
{
    EntryChanged();
}
void TMainForm::Edit3Change()
{
    EntryChanged();
}
void TMainForm::Edit4Change()
{
    EntryChanged();
}
void TMainForm::Edit5Change()
{
    EntryChanged();
}
void TMainForm::Edit6Change()
{
    EntryChanged();
}
void TMainForm::Edit7Change()
{
    EntryChanged();
}
void TMainForm::Edit8Change()
{
    EntryChanged();
}
void TMainForm::Edit9Change()
{
    EntryChanged();
}
void TMainForm::Edit10Change()
{
    EntryChanged();
}
void TMainForm::Edit11Change()
{
    EntryChanged();
}
void TMainForm::Edit12Change()
{
    EntryChanged();
}
void TMainForm::Edit13Change()
{
    EntryChanged();
}
void TMainForm::Edit14Change()
{
    EntryChanged();
}
void TMainForm::Edit15Change()
{
    EntryChanged();
}

void TMainForm::EntryChanged()
{
    m_setupChanged = true;
    if (m_resultsShown && !m_resultsOutOfDate)
        SetResultsOutOfDate(true);
}

void TMainForm::SetResultsOutOfDate(bool outOfDate)
{
    m_resultsOutOfDate = outOfDate;
    for (int n = 12; n <= 30; ++n)
        NumberedLabel(n)->setEnabled(!outOfDate);
    m_outOfDateNote->setVisible(outOfDate);
}

void TMainForm::RegulationSelectorChange()
{
    EntryChanged();
    // A text that is not exactly one of the names presets nothing.
    const std::optional<RegulationPreset> preset
        = FindRegulationPreset(m_regulationSelector->currentText().toStdString());
    if (!preset)
        return;
    SetEditText(11,
        QString::fromLatin1(preset->holdingTime.data(), static_cast<qsizetype>(preset->holdingTime.size())));
    SetEditText(13,
        QString::fromLatin1(preset->contingency.data(), static_cast<qsizetype>(preset->contingency.size())));
}

void TMainForm::ModeSelectorChange()
{
    // The mode is no part of a setup file, but results shown for another
    // mode no longer answer the question asked.
    if (m_resultsShown && !m_resultsOutOfDate)
        SetResultsOutOfDate(true);
    // The quantity being solved for cannot be entered; the maximum modes show
    // the "Limited by" row and the row of the maximum found.
    const std::optional<ModeRule> rule = FindModeRule(ModeText().toStdString());
    if (!rule)
        return;
    Edit(3)->setEnabled(rule->tripDistanceEnabled);
    Edit(4)->setEnabled(rule->payloadEnabled);
    QLabel* label11 = NumberedLabel(11);
    if (rule->label11)
        label11->setText(
            QString::fromLatin1(rule->label11->data(), static_cast<qsizetype>(rule->label11->size())));
    for (QWidget* w :
        {static_cast<QWidget*>(m_resultsBox->findChild<QLabel*>(QStringLiteral("StaticText39"))),
            static_cast<QWidget*>(label11), static_cast<QWidget*>(NumberedLabel(12)),
            static_cast<QWidget*>(NumberedLabel(13))})
        w->setVisible(rule->maximumRowsShown);
}

// ---------------------------------------------------------------------------
// The calculation run

InputTexts TMainForm::CollectInputTexts() const
{
    InputTexts texts;
    for (int n = 3; n <= 15; ++n)
        texts.edit(n) = Edit(n)->text().toStdString();
    return texts;
}

QString TMainForm::ModeText() const
{
    return m_modeSelector->currentText();
}

void TMainForm::ReadInputs()
{
    mirovax::ReadInputs(CollectInputTexts(), m_md);
}

void TMainForm::ExecuteButtonClick()
{
    // A click that reached here during a search (by a path the input filter
    // does not cover) must not start a second run on the same record.
    if (m_running)
        return;
    m_running = true;
    QCoreApplication::instance()->installEventFilter(m_runFilter.get());
    Guarded([this] {
        m_md.AbortRequested = false;
        ClearResults();
        m_abortButton->setEnabled(true);
        m_viewReportButton->setEnabled(false);
        const std::string mode = ModeText().toStdString();
        if (!FindModeRule(mode)) {
            ShowEntryMessage(m_dialogs, this, Q(UnknownModeMessage(mode)));
        } else if (ExecuteCalculation(m_md, CollectInputTexts(), mode, *m_services)) {
            ShowResults();
            m_resultsShown = true;
            m_viewReportButton->setEnabled(true);
        }
    });
    // Every run ends here, an arithmetic fault included.
    m_abortButton->setEnabled(false);
    QCoreApplication::instance()->removeEventFilter(m_runFilter.get());
    m_running = false;
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        close();
    }
}

void TMainForm::AbortButtonClick()
{
    m_md.AbortRequested = true;
}

void TMainForm::ShowResults()
{
    const std::string mode = ModeText().toStdString();
    const ResultTexts texts = mirovax::ShowResults(m_md, mode);
    const bool maximumMode = mode == kModeMaximumRange || mode == kModeMaximumPayload;
    for (int n = 12; n <= 30; ++n) {
        if (n == 13 && !maximumMode)
            continue;
        NumberedLabel(n)->setText(Q(texts.label(n)));
    }
}

void TMainForm::ClearResults()
{
    m_resultsShown = false;
    if (m_resultsOutOfDate)
        SetResultsOutOfDate(false);
    for (int n = 12; n <= 30; ++n) {
        if (auto* label = m_client->findChild<QLabel*>(NumberedName("Label", n)))
            label->setText(QString());
    }
}

// ---------------------------------------------------------------------------
// Report box, menu, help, closing

void TMainForm::ReportDoneButtonClick()
{
    m_reportBox->hide();
    m_saveReport1->setEnabled(false);
    m_printReport->setEnabled(false);
    m_toolButton5->setEnabled(false);
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::Help2Click()
{
    m_helpViewer->showContents(m_helpFile);
}

void TMainForm::About1Click()
{
    m_aboutForm->exec();
}

void TMainForm::EscapePressed()
{
    if (m_reportBox->isVisible())
        m_reportDoneButton->click();
    else if (m_airplaneDataBox->isVisible())
        m_airplaneDataDoneButton->click();
    else if (m_abortButton->isEnabled())
        m_abortButton->click();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Closing during a Maximum Range search stops the search first; the run
    // then ends normally and closes the window.
    if (m_running) {
        m_md.AbortRequested = true;
        m_closeAfterRun = true;
        event->ignore();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    m_helpViewer->close();
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------------------
// Helpers

TEdit* TMainForm::Edit(int n) const
{
    return m_edits.at(static_cast<size_t>(n - 1));
}

QLabel* TMainForm::NumberedLabel(int n) const
{
    return m_client->findChild<QLabel*>(NumberedName("Label", n));
}

void TMainForm::SetEditText(int n, const QString& text)
{
    Edit(n)->setText(text);
}

} // namespace mirovax
