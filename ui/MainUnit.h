#pragma once

#include "engine/mission_data.h"
#include "engine/solve.h"
#include "form/calculation_run.h"
#include "form/input_rules.h"
#include "form/mission_session.h"
#include "refdata/airplane.h"
#include "refdata/table_store.h"
#include "report/dispatch_sheet.h"
#include "report/report_model.h"
#include "setup/setup_file.h"
#include "textio/file_writer.h"
#include "ui/Dialogs.h"
#include "ui/diagram/payload_range_form.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;
class QStatusBar;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace mirovax {

class TAboutForm;
class TCompareForm;
class TDispatchSheetDialog;
class TEdit;
class TLimitsForm;
class THelpViewer;

// The three standard dialogs of the main window.
extern const FileDialogSpec kSetupOpenDialog;
extern const FileDialogSpec kSetupSaveDialog;
extern const FileDialogSpec kReportSaveDialog;
extern const FileDialogSpec kFlightPlanOpenDialog;
extern const FileDialogSpec kForecastOpenDialog;

inline constexpr const char* kHelpFileName = "MRX_HELP.hlp";
inline constexpr const char* kAirplaneTableName = "Airplane.DB";
inline constexpr const char* kAirportTableName = "Airports.DB";

// The mass unit the Units menu last chose, from the platform's settings
// (organization and application "Mirovax", key "units": "kg" or "lb");
// kilograms when none or another text is stored.
MassUnit StoredMassUnit();

// The one main window. It owns the mission record, the two tables and every
// control; its handlers map control texts to the engine and the reference
// data and back, and compute nothing themselves.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // executablePath is the running program; its directory is ProgramDir,
    // where the tables and the help file are looked for, and its version
    // record gives the caption. Tests name a file in a directory of their own.
    explicit TMainForm(IDialogs& dialogs,
        const QString& executablePath = QCoreApplication::applicationFilePath(), QWidget* parent = nullptr);
    ~TMainForm() override;

    // Program-wide state beside the mission record.
    TMissionData& MissionData() { return m_session.Record(); }
    // The entries, the airplane loaded for them and the record a run works
    // on; the controls show it.
    const MissionSession& Session() const { return m_session; }
    const QString& ProgramDir() const { return m_programDir; }
    // The tables the window reads, which no save may replace.
    std::vector<RunInput> TablesInUse() const;
    const QString& HelpFile() const { return m_helpFile; }
    int StartParamCount() const { return m_startParamCount; }
    bool SetupChanged() const { return m_setupChanged; }
    void SetSetupChanged(bool changed) { m_setupChanged = changed; }
    // True from the start to the end of a calculation run.
    bool CalculationRunning() const { return m_running; }
    THelpViewer* HelpViewer() const { return m_helpViewer; }
    TAboutForm* AboutForm() const { return m_aboutForm.get(); }

    // Start-up: run by the constructor once every control exists.
    void FormCreate();

    // Airplane selection. LoadAirplane loads a type the table holds and
    // returns true; for a type it lacks it blanks the Airplane Data panel,
    // changes no field and returns false, and everything that computes
    // refuses until a listed type is chosen.
    bool LoadAirplane(const QString& typeName);
    void AirplaneSelectorChange();
    void ViewAirplaneDataButtonClick();
    void AirplaneDataDoneButtonClick();

    // Airport buttons.
    void CalculateDistanceButtonClick();
    void AlternateDataButtonClick();

    // Change tracking: every edit of a field marks the setup changed.
    void FieldChanged(Field field);
    void RegulationSelectorChange();
    void ModeSelectorChange();

    // The calculation run.
    void ExecuteButtonClick();
    void AbortButtonClick();
    void ShowResults();
    void ClearResults();
    // After a valid run, the first change of an entry greys the values and
    // says in the status bar that they no longer match the entries; the
    // labels keep their texts. The next run or blanking ends it.
    bool ResultsOutOfDate() const { return m_resultsOutOfDate; }

    // Setup files, key filters and exit checks. LoadSetupFile returns the
    // texts it read.
    SetupTexts LoadSetupFile(const QString& path);
    void SaveSetupFile(const QString& path);
    void LoadSetup1Click();
    void SaveSetup1Click();
    // A flight plan of another planner into the entries (MainUnitPlan.cpp):
    // the dialog, then OpenFlightPlan; a plan that cannot be read changes
    // nothing and its error names the file. The status bar names the plan.
    void OpenFlightPlan1Click();
    // File > Load Forecast: the dialog, then LoadForecast. A file that
    // cannot be read changes nothing; of several validity times the user
    // picks one. The forecast's wind and OAT go into the fields.
    void LoadForecast1Click();
    void LoadForecast(const QString& path);
    // File > Clear Forecast: Wind and OAT are typed entries again.
    void ClearForecast1Click();
    // Units > Kilograms or Pounds (MainUnitUnits.cpp): every mass the window
    // and its windows show, and the masses typed, in that unit from now on,
    // remembered in the platform's settings for the next start. The results
    // are cleared: a run's texts are made in the unit it ran in.
    void ChooseMassUnit(MassUnit unit);
    void OpenFlightPlan(const QString& path);
    // A file dropped onto the window: a setup file (".MRX") opens as Load
    // Setup opens it, the offer to save first; a GRIB file (told by its
    // first bytes) loads as a forecast; any other opens as a flight plan.
    void OpenDroppedFile(const QString& path);
    // Returns whether the window may close.
    bool FormCloseQuery();
    void FormShow();
    // The check made on leaving a field (flight level, holding altitude,
    // MATOW, MALW; nothing for the others).
    void LeaveField(Field field);
    // The file last chosen in the Load Setup dialog during this run; the
    // report names it in its last row.
    const QString& SetupOpenDialogFileName() const { return m_setupOpenDialogFileName; }

    // The mission report.
    void BuildReport();
    void ViewReportButtonClick();
    void SaveReport1Click();
    void PrintReportClick();

    // The payload-range diagram. The command opens its window (made on first
    // use); while it is shown, UpdatePayloadRange redraws it from the loaded
    // airplane and the entries, and is run after every airplane load and
    // field change (and is public for Load Setup).
    void PayloadRange1Click();
    void UpdatePayloadRange();
    // nullptr until the command was first given.
    TPayloadRangeForm* PayloadRangeForm() const { return m_payloadRangeForm; }

    // The limits of the last run and its dispatch sheet. Limits1Click opens
    // the limits window (made on first use), which then follows every run:
    // it shows what the core finds for the record the run left, is blanked
    // with the results and greyed when the entries change. The sheet dialog
    // opens after a run that read its inputs (a limit stop included: the
    // sheet then carries the stop among its warnings) while the entries
    // still match it.
    void Limits1Click();
    void DispatchSheet1Click();
    // nullptr until the command was first given.
    TLimitsForm* LimitsForm() const { return m_limitsForm; }
    TDispatchSheetDialog* DispatchSheetDialog() const { return m_dispatchSheetDialog; }
    // Every field, selector and button of the window in the order Tab
    // visits them.
    std::vector<QWidget*> TabOrder() const;
    // The last run that read its inputs; nothing after the results were
    // blanked.
    const std::optional<MissionRun>& LastRun() const { return m_session.LastRun(); }

    // The compare window: the entries under each regulation preset and at
    // each flight level. Compare1Click opens it (made on first use); while it
    // is shown, UpdateCompare solves the tables again from the loaded
    // airplane, the entries and the mode. Its "Use" buttons set the main
    // window's selector or fields as typing would.
    void Compare1Click();
    void UpdateCompare();
    // "Use" of regulation column or level row index of the tables shown.
    void UseCompareCase(bool regulation, int index);
    // nullptr until the command was first given.
    TCompareForm* CompareForm() const { return m_compareForm; }

    // How often each window that follows the main window computed what it
    // shows since the program started: one user action (a key, a setup
    // load, an airplane change, a "Use") counts once however many fields it
    // sets.
    struct TFollowerUpdates {
        int diagram = 0;
        int compare = 0;
        int limits = 0;
    };
    const TFollowerUpdates& FollowerUpdates() const { return m_followerUpdates; }

    // Report box, menu and tool bar.
    void ReportDoneButtonClick();
    void Exit1Click();
    void Help2Click();
    void About1Click();

    // Esc presses the cancel button that is showing: Done of the report or of
    // the airplane data, else Abort while a run has it enabled.
    void EscapePressed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // One local file dropped: OpenDroppedFile.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The calculation run's services and input filter (MainUnitRun.cpp).
    class TRunServices;
    class TRunInputFilter;

    // The general error handler: an exception ends the handler and its
    // message is shown in an error box titled "Mirovax".
    void Guarded(const std::function<void()>& body);
    // The session's entries into the controls: the fields and the two
    // selectors' texts (text set here runs no selector reaction).
    void ShowEntries();
    void ShowFields(std::initializer_list<Field> fields);
    // With a forecast loaded: its wind and OAT for the entered route and
    // level into the fields, shown as typed, and the status line naming the
    // forecast and the values' source, then the messages.
    void ApplyForecast();
    void ShowForecastStatus(const std::vector<std::string>& messages);
    // The unit into the session and onto the window: the menu's check, the
    // mass fields' unit captions and texts, the airplane data, the value
    // labels' names.
    void ApplyMassUnit(MassUnit unit);
    // Every entry's change reaction: marks the setup changed and the results
    // out of date.
    void EntryChanged();
    // Every field's key filter: discards (sets to 0) a character field n
    // cannot hold.
    void FilterKey(Field field, char32_t& key);
    void SetResultsOutOfDate(bool outOfDate);
    QString ModeText() const;
    void SetEditText(Field field, const QString& text);
    TEdit* Edit(Field field) const;
    QLabel* NumberedLabel(int n) const;

    // The fixed layout (MainUnitLayout.cpp).
    void CreateControls();
    void CreateMenu();
    void CreateToolBar(QWidget* client);
    void CreateAirplaneBox(QWidget* client);
    void CreateRouteBox(QWidget* client);
    void CreateDataBox(QWidget* client);
    void CreateControlBox(QWidget* client);
    void CreateResultsBox(QWidget* client);
    void CreateReportBox(QWidget* client);
    void CreateAirplaneDataBox(QWidget* client);
    void SetTabOrder();

    void ConnectHandlers();

    // The last run for the limits window and the sheet (MainUnitLimits.cpp).
    void RecordRun();
    void ForgetRun();
    void RunOutOfDate();
    void UpdateLimits();

    // One update of the following windows per user action
    // (MainUnitCompare.cpp). While a batch is open, the changes of entries,
    // mode and run only mark the windows stale; the last batch to close
    // updates each stale window once, before the action returns.
    class TUpdateBatch {
    public:
        explicit TUpdateBatch(TMainForm& form);
        ~TUpdateBatch();
        TUpdateBatch(const TUpdateBatch&) = delete;
        TUpdateBatch& operator=(const TUpdateBatch&) = delete;

    private:
        TMainForm& m_form;
    };
    // An entry a run reads changed (the diagram and the compare window
    // follow), or the mode did (the compare window follows).
    void EntriesChanged();
    void ModeChanged();
    void FlushFollowers();
    // Shows a following window and brings it to the front.
    static void ShowFollower(QWidget* window);
    // Why nothing can be computed, led by what it cannot do where no
    // airplane was ever loaded: no airplane table, or a selector that names
    // a type the table lacks; nothing when the selector names the loaded
    // airplane.
    std::optional<QString> NoAirplaneMessage(const QString& lead) const;
    // The Airplane Data panel and the fields an airplane presets; for a type
    // the table lacks (nothing) the panel blanked. Returns whether an
    // airplane was loaded.
    void ShowAirplane(const AirplaneDisplay& display);
    bool ShowChosenAirplane(const std::optional<AirplaneDisplay>& display);
    // The status bar after an airplane change: the unlisted type's message
    // after what it said before, or that message gone once a listed type is
    // chosen.
    void ShowAirplaneStatus(const std::optional<QString>& unlisted);
    int m_batchDepth = 0;
    bool m_diagramStale = false;
    bool m_compareStale = false;
    bool m_limitsStale = false;
    TFollowerUpdates m_followerUpdates;

    IDialogs& m_dialogs;
    QString m_executablePath;
    QString m_programDir;
    QString m_helpFile;
    int m_startParamCount = 0;
    bool m_setupChanged = false;
    bool m_running = false;
    bool m_yielding = false; // inside a search's event yield
    bool m_closeAfterRun = false;
    bool m_shownBefore = false;
    // Results of a valid run are on show, and whether an entry changed since.
    bool m_resultsShown = false;
    bool m_resultsOutOfDate = false;
    QString m_setupOpenDialogFileName;
    // The mission report on show, as composed: saving and printing use this
    // one, which stays valid while a later setup load blanks the results.
    // Nothing while the report box is closed.
    std::optional<ReportModel> m_report;
    // The name the last report was saved under; the save dialog proposes it.
    QString m_reportFileName;
    // Made at the first print and kept, so that the printer and settings
    // chosen in the print dialog are offered again. Shared ownership only so
    // that its deleter is bound where it is made, away from this header.
    std::shared_ptr<QPrinter> m_printer;

    MissionSession m_session;
    std::unique_ptr<TTable> m_airplaneTable;
    std::unique_ptr<TTable> m_airportTable;
    std::unique_ptr<TRunServices> m_services;
    std::unique_ptr<TRunInputFilter> m_runFilter;
    std::vector<QIcon> m_imageList1;

    // Controls, named as their object names.
    QWidget* m_client = nullptr;
    QFrame* m_bevel3 = nullptr;
    QGroupBox* m_airplaneBox = nullptr;
    QGroupBox* m_routeBox = nullptr;
    QGroupBox* m_dataBox = nullptr;
    QGroupBox* m_controlBox = nullptr;
    QGroupBox* m_resultsBox = nullptr;
    QGroupBox* m_reportBox = nullptr;
    QStatusBar* m_statusBar1 = nullptr;
    QLabel* m_outOfDateNote = nullptr; // in the status bar
    QGroupBox* m_airplaneDataBox = nullptr;
    QToolBar* m_toolBar1 = nullptr;

    QComboBox* m_airplaneSelector = nullptr;
    QPushButton* m_viewAirplaneDataButton = nullptr;
    QPushButton* m_calculateDistanceButton = nullptr;
    QComboBox* m_regulationSelector = nullptr;
    QPushButton* m_alternateDataButton = nullptr;
    QComboBox* m_modeSelector = nullptr;
    QPushButton* m_executeButton = nullptr;
    QPushButton* m_abortButton = nullptr;
    QPushButton* m_viewReportButton = nullptr;
    QTextEdit* m_richEdit = nullptr;
    QPushButton* m_reportDoneButton = nullptr;
    QPushButton* m_airplaneDataDoneButton = nullptr;
    std::vector<TEdit*> m_edits; // indexed by Field

    QAction* m_loadSetup1 = nullptr;
    QAction* m_openFlightPlan1 = nullptr;
    QAction* m_loadForecast1 = nullptr;
    QAction* m_clearForecast1 = nullptr;
    QAction* m_kilograms1 = nullptr;
    QAction* m_pounds1 = nullptr;
    QAction* m_saveSetup1 = nullptr;
    QAction* m_saveReport1 = nullptr;
    QAction* m_printReport = nullptr;
    QAction* m_exit1 = nullptr;
    QAction* m_help2 = nullptr;
    QAction* m_about1 = nullptr;
    QToolButton* m_toolButton2 = nullptr;
    QToolButton* m_toolButton3 = nullptr;
    QToolButton* m_toolButton5 = nullptr;
    QToolButton* m_toolButton7 = nullptr;

    // A window of its own that closes with the program: a child of this
    // window, owned by it. Its save and print dialogs go through m_dialogs.
    TPayloadRangeForm* m_payloadRangeForm = nullptr;
    QAction* m_payloadRange1 = nullptr;
    QToolButton* m_toolButton8 = nullptr;

    // The compare window, a child of this window like the diagram.
    TCompareForm* m_compareForm = nullptr;
    QAction* m_compare1 = nullptr;
    QToolButton* m_toolButton11 = nullptr;

    // The limits window and the sheet dialog, children of this window like
    // the diagram; the sheet's dialogs go through m_dialogs.
    TLimitsForm* m_limitsForm = nullptr;
    TDispatchSheetDialog* m_dispatchSheetDialog = nullptr;
    QAction* m_limits1 = nullptr;
    QAction* m_dispatchSheet1 = nullptr;
    QToolButton* m_toolButton10 = nullptr;

    THelpViewer* m_helpViewer = nullptr;
    // A window of its own, outside the main window's children, so that its
    // Label1 is never mistaken for the Airplane Data panel's.
    std::unique_ptr<TAboutForm> m_aboutForm;

    // Key filters and exit checks (MainUnitInput.cpp), setup commands
    // (MainUnitSetup.cpp).
    class TKeyFilter;
    class TPressEater;
    void ConnectInputHandlers();
    void FocusChanged(QWidget* old, QWidget* now);
    void ApplyExitOutcome(Field field, const ExitOutcome& outcome);
    // Save Setup; true when the file was written, false when the dialog was
    // cancelled or the write failed (the error box has been shown).
    bool SaveSetupCommand();
    // The offer to save changed entries before they are closed or replaced;
    // false when the user cancels it or the save does not happen.
    bool OfferToSaveChanges();
    // Load Setup after its dialog, and the command-line open: the file, its
    // airplane and the file's own allowable weights.
    void OpenSetup(const QString& path);
    std::unique_ptr<TKeyFilter> m_keyFilter;
    std::unique_ptr<TPressEater> m_pressEater;
    // Set while an exit check puts the focus back into its field, so that
    // leaving the field the focus had moved to runs no check of its own.
    bool m_puttingFocusBack = false;
};

} // namespace mirovax
