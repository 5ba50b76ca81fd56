#include "ui/MainUnit.h"

#include "form/input_rules.h"
#include "form/window_captions.h"
#include "refdata/airplane.h"
#include "refdata/airports.h"
#include "ui/AboutUnit.h"
#include "ui/Controls.h"
#include "ui/FileVersion.h"
#include "ui/HelpViewer.h"
#include "ui/MainUnitInput.h"
#include "ui/MainUnitRun.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

#include <clocale>
#include <string>

namespace mirovax {

const FileDialogSpec kSetupOpenDialog{QStringLiteral("SetupOpenDialog"), QStringLiteral("Mirovax|*.MRX")};
const FileDialogSpec kSetupSaveDialog{QStringLiteral("SetupSaveDialog"), QStringLiteral("Mirovax|*.MRX")};
const FileDialogSpec kReportSaveDialog{
    QStringLiteral("ReportSaveDialog"), QStringLiteral("Rich Text File|*.RTF|Text File|*.TXT")};

namespace {

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

TMainForm::TMainForm(IDialogs& dialogs, const QString& executablePath, QWidget* parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_executablePath(executablePath)
    , m_airplaneTable(std::make_unique<TTable>())
    , m_airportTable(std::make_unique<TTable>())
    , m_services(std::make_unique<TRunServices>(*this))
    , m_runFilter(std::make_unique<TRunInputFilter>(*this))
{
    m_session = MissionSession(*m_airplaneTable);
    CreateControls();
    ConnectHandlers();
    // Setup files and flight plans may be dropped onto the window.
    setAcceptDrops(true);
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
// Events

void TMainForm::ConnectHandlers()
{
    connect(m_airplaneSelector, &QComboBox::textActivated, this, &TMainForm::AirplaneSelectorChange);
    connect(m_airplaneSelector->lineEdit(), &QLineEdit::textEdited, this, &TMainForm::AirplaneSelectorChange);
    connect(m_viewAirplaneDataButton, &QPushButton::clicked, this, &TMainForm::ViewAirplaneDataButtonClick);
    connect(m_airplaneDataDoneButton, &QPushButton::clicked, this, &TMainForm::AirplaneDataDoneButtonClick);
    connect(m_calculateDistanceButton, &QPushButton::clicked, this, &TMainForm::CalculateDistanceButtonClick);
    connect(m_alternateDataButton, &QPushButton::clicked, this, &TMainForm::AlternateDataButtonClick);

    for (const FieldSpec& spec : Fields())
        connect(Edit(spec.field), &TEdit::contentChanged, this,
            [this, field = spec.field] { FieldChanged(field); });

    // The selectors' texts follow into the session however they change; a
    // choice is acted on only where the user makes it.
    connect(m_airplaneSelector, &QComboBox::editTextChanged, this,
        [this](const QString& text) { m_session.SetAirplaneText(text.toStdString()); });
    connect(m_regulationSelector, &QComboBox::editTextChanged, this,
        [this](const QString& text) { m_session.SetRegulationsText(text.toStdString()); });
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
    for (const FieldSpec& spec : Fields()) {
        if (spec.field >= Field::Distance)
            connect(Edit(spec.field), &TEdit::contentChanged, this, &TMainForm::EntriesChanged);
    }
    // The compare window, following the entries and the mode as well.
    connect(m_compare1, &QAction::triggered, this, &TMainForm::Compare1Click);
    connect(m_toolButton11, &QToolButton::clicked, this, &TMainForm::Compare1Click);
    // The limits of the last run and its dispatch sheet.
    connect(m_limits1, &QAction::triggered, this, &TMainForm::Limits1Click);
    connect(m_toolButton10, &QToolButton::clicked, this, &TMainForm::Limits1Click);
    connect(m_dispatchSheet1, &QAction::triggered, this, &TMainForm::DispatchSheet1Click);
    // Setup files, key filters and exit checks.
    connect(m_loadSetup1, &QAction::triggered, this, &TMainForm::LoadSetup1Click);
    connect(m_openFlightPlan1, &QAction::triggered, this, &TMainForm::OpenFlightPlan1Click);
    connect(m_loadForecast1, &QAction::triggered, this, &TMainForm::LoadForecast1Click);
    connect(m_clearForecast1, &QAction::triggered, this, &TMainForm::ClearForecast1Click);
    connect(m_kilograms1, &QAction::triggered, this, [this] { ChooseMassUnit(MassUnit::Kilograms); });
    connect(m_pounds1, &QAction::triggered, this, [this] { ChooseMassUnit(MassUnit::Pounds); });
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

    MissionData().AbortRequested = false;
    ApplyMassUnit(StoredMassUnit());
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
        // The selector is still empty: the first record is loaded, and its
        // type becomes the selector's text.
        ShowAirplane(m_session.ChooseCurrentAirplane());
        for (const std::string& type : ReadTypesFromCurrent(*m_airplaneTable))
            AddSorted(m_airplaneSelector, Q(type));
        m_airplaneSelector->setEditText(Q(m_session.AirplaneText()));
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

bool TMainForm::LoadAirplane(const QString& typeName)
{
    return ShowChosenAirplane(m_session.ChooseAirplane(typeName.toStdString()));
}

bool TMainForm::ShowChosenAirplane(const std::optional<AirplaneDisplay>& display)
{
    if (display) {
        ShowAirplane(*display);
        return true;
    }
    // The record still holds the airplane loaded before, which nothing may
    // use now: its panel goes, and the fields it preset stay as they are.
    for (int n = 1; n <= 10; ++n)
        NumberedLabel(n)->setText(QString());
    EntriesChanged();
    return false;
}

void TMainForm::ShowAirplane(const AirplaneDisplay& display)
{
    Edit(Field::Matow)->setCharLimit(display.matowMaxLength);
    Edit(Field::Malw)->setCharLimit(display.malwMaxLength);
    for (int n = 1; n <= 10; ++n) {
        NumberedLabel(n)->setText(Q(display.labels.at(static_cast<size_t>(n - 1))));
        // The loaded airplane's MATOW and MALW, as the session holds them.
        if (n == 4)
            ShowFields({Field::Matow});
        if (n == 5)
            ShowFields({Field::Malw});
    }
    m_viewAirplaneDataButton->setEnabled(true);
    Edit(Field::Payload)->setCharLimit(display.payloadMaxLength);
    m_routeBox->setEnabled(true);
    m_dataBox->setEnabled(true);
    m_controlBox->setEnabled(true);
    EntriesChanged();
}

void TMainForm::AirplaneSelectorChange()
{
    const TUpdateBatch batch(*this);
    Guarded([this] {
        const QString typeText = m_airplaneSelector->currentText();
        const bool listed = LoadAirplane(typeText);
        ShowAirplaneStatus(listed
                ? std::nullopt
                : std::optional<QString>(Q(UnlistedAirplaneMessage(typeText.toStdString()))));
        ClearResults();
        EntryChanged();
    });
}

void TMainForm::ShowAirplaneStatus(const std::optional<QString>& unlisted)
{
    // An earlier unlisted type's message goes; what stood before it stays.
    QString shown = m_statusBar1->currentMessage();
    // The message's text up to the type, from the one place that words it.
    const QString lead = Q(UnlistedAirplaneMessage("")).section(QLatin1Char('"'), 0, 0);
    const qsizetype at = shown.indexOf(lead + QLatin1Char('"'));
    if (at >= 0)
        shown = shown.left(at).trimmed();
    if (unlisted)
        shown += (shown.isEmpty() ? QString() : QStringLiteral("  ")) + *unlisted;
    if (shown == m_statusBar1->currentMessage())
        return;
    m_statusBar1->showMessage(shown);
    m_statusBar1->setToolTip(shown);
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
            *m_airportTable, Edit(Field::From)->text().toStdString(), Edit(Field::To)->text().toStdString());
        if (lookup.distance)
            SetEditText(Field::Distance, Q(*lookup.distance));
        if (lookup.unknownCode)
            ShowEntryMessage(m_dialogs, this, Q(UnknownAirportMessage(*lookup.unknownCode)));
    });
}

void TMainForm::AlternateDataButtonClick()
{
    Guarded([this] {
        const AlternateData alternate = AlternateLookup(*m_airportTable,
            Edit(Field::Alternate)->text().toStdString(), Edit(Field::To)->text().toStdString());
        if (alternate.elevation)
            SetEditText(Field::AlternateElevation, Q(*alternate.elevation));
        if (alternate.distance)
            SetEditText(Field::AlternateDistance, Q(*alternate.distance));
        if (alternate.unknownCode)
            ShowEntryMessage(m_dialogs, this, Q(UnknownAirportMessage(*alternate.unknownCode)));
    });
}

// ---------------------------------------------------------------------------
// Change tracking and selectors

void TMainForm::FieldChanged(Field field)
{
    // Every change of a field's text goes into the session first; the text
    // the session gave the field stands for the kilograms it came from.
    const std::string text = Edit(field)->text().toStdString();
    if (text != m_session.ShownText(field))
        m_session.SetShownText(field, text);
    EntryChanged();
}

void TMainForm::EntryChanged()
{
    m_setupChanged = true;
    RunOutOfDate();
    if (m_resultsShown && !m_resultsOutOfDate)
        SetResultsOutOfDate(true);
}

void TMainForm::RegulationSelectorChange()
{
    const TUpdateBatch batch(*this);
    EntryChanged();
    // A text that is not exactly one of the names presets nothing.
    m_session.ChooseRegulations(m_regulationSelector->currentText().toStdString());
    ShowFields({Field::HoldingTime, Field::Contingency});
}

void TMainForm::ModeSelectorChange()
{
    // The mode is no part of a setup file, but results shown for another
    // mode no longer answer the question asked.
    if (m_resultsShown && !m_resultsOutOfDate)
        SetResultsOutOfDate(true);
    RunOutOfDate();
    ModeChanged();
    // The quantity being solved for cannot be entered; the maximum modes show
    // the "Limited by" row and the row of the maximum found.
    const std::optional<ModeRule> rule = FindModeRule(ModeText().toStdString());
    if (!rule)
        return;
    Edit(Field::Distance)->setEnabled(rule->tripDistanceEnabled);
    Edit(Field::Payload)->setEnabled(rule->payloadEnabled);
    QLabel* label11 = NumberedLabel(11);
    if (rule->label11) {
        label11->setText(Q(*rule->label11));
        NumberedLabel(13)->setAccessibleName(Q(ValueLabelName(13, rule->mode, m_session.Units())));
    }
    for (QWidget* w :
        {static_cast<QWidget*>(m_resultsBox->findChild<QLabel*>(QStringLiteral("StaticText39"))),
            static_cast<QWidget*>(label11), static_cast<QWidget*>(NumberedLabel(12)),
            static_cast<QWidget*>(NumberedLabel(13))})
        w->setVisible(rule->maximumRowsShown);
}

// ---------------------------------------------------------------------------
// Report box, menu, help, closing

void TMainForm::ReportDoneButtonClick()
{
    m_reportBox->hide();
    m_report.reset();
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
    else if (m_running)
        AbortButtonClick();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Closing during a Maximum Range search stops the search first; the run
    // then ends normally and closes the window.
    if (m_running) {
        MissionData().AbortRequested = true;
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

TEdit* TMainForm::Edit(Field field) const
{
    return m_edits.at(Index(field));
}

QLabel* TMainForm::NumberedLabel(int n) const
{
    return m_client->findChild<QLabel*>(NumberedName("Label", n));
}

void TMainForm::SetEditText(Field field, const QString& text)
{
    Edit(field)->setText(text);
}

void TMainForm::ShowFields(std::initializer_list<Field> fields)
{
    for (const Field field : fields)
        SetEditText(field, Q(m_session.ShownText(field)));
}

void TMainForm::ShowEntries()
{
    for (const FieldSpec& spec : Fields())
        SetEditText(spec.field, Q(m_session.ShownText(spec.field)));
    m_airplaneSelector->setEditText(Q(m_session.AirplaneText()));
    m_regulationSelector->setEditText(Q(m_session.RegulationsText()));
}

} // namespace mirovax
