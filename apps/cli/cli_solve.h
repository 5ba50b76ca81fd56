#pragma once

#include "apps/cli/cli_options.h"
#include "apps/cli/cli_plan.h"
#include "apps/cli/cli_winds.h"
#include "engine/mission_data.h"
#include "engine/mission_limits.h"
#include "engine/solve.h"
#include "form/calculation_run.h"
#include "form/mission_session.h"
#include "refdata/airplane.h"
#include "setup/setup_file.h"

#include <csignal>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Solving one setup file without a window: what the window shows after Load
// Setup and Execute, kept whole so that a report can be composed from it.
namespace mirovax::cli {

// The services a solve mode gets from the command line: a limit report is
// recorded, and the event yield turns a pending Ctrl+C into the Abort
// button's request.
class CliServices : public IMissionServices {
public:
    CliServices(TMissionData& md, const volatile std::sig_atomic_t* interrupt);
    void ReportLimit(const std::string& message) override;
    void YieldEvents() override;
    const std::string& message() const { return m_message; }

private:
    TMissionData& m_md;
    const volatile std::sig_atomic_t* m_interrupt;
    std::string m_message;
};

// What to do with each file of a batch.
struct SolveRequest {
    std::string mode = std::string(kModeTripTimeAndFuel);
    std::optional<std::string> airplane;
    // The unit the --set masses are typed in and the run's texts shown in.
    MassUnit units = MassUnit::Kilograms;
    // --plan's flight plan, put into the entries before the settings; it
    // must outlive the request.
    const PlanRequest* plan = nullptr;
    // --winds's forecast, put into Wind and OAT after the settings and the
    // flight level; it must outlive the request.
    const WindsRequest* winds = nullptr;
    // Applied in order; a regulations text presets as the selector does.
    std::vector<FieldSetting> settings;
    // After the settings, the flight level is left as in the window: capped
    // at the airplane's maximum altitude, the OAT set from it.
    bool leaveFlightLevel = false;
    SearchMethod search = SearchMethod::PerPass;
    // The results panel's texts and the limits of the run, which a sweep's
    // table and CSV do not print.
    bool panelAndLimits = true;
};

// One setup file solved: the window's state after the run.
struct SetupRun {
    std::string path;
    std::string mode;
    // The entries after loading, the airplane presets and --set (meaningful
    // when fieldsLoaded), and the record the run works on.
    MissionSession session;
    const SetupTexts& fields() const { return session.Entries(); }
    const TMissionData& md() const { return session.Record(); }
    bool fieldsLoaded = false;
    // Why a line 14 or 15 of the file did not survive the airplane load, for
    // standard error (the structural limit stands in its place), and the
    // flight level's cap.
    std::vector<std::string> notes;
    // The Airplane Data panel of the loaded airplane.
    AirplaneDisplay airplane;
    bool airplaneLoaded = false;
    // Label12 to Label30: blank unless the run ended valid.
    ResultTexts results;
    bool valid = false;
    std::string message; // the limit message, empty when none
    // The limits of the run, when it read its inputs and ended without a
    // fault.
    std::optional<MissionLimits> limits;
    std::string error; // the fault, empty when none; names file and line
    int status = kExitValid;
};

// The first field that keeps ReadInputs from reading the inputs, in the
// order the run reads them, as "line 6 (oat, Edit6): ..."; empty when all
// can be read.
std::string DescribeUnusableInput(const SetupTexts& fields);

// The window's state after Load Setup: texts as if they had just been
// loaded from the file at path, the airplane of line 16 (or airplane, for
// --airplane) loaded on a fresh mission record, the file's MATOW and MALW
// restored where they fit, masses shown in units. A type the table does not hold, or a table fault,
// leaves error and status set. airplanes must be open.
SetupRun LoadSetupAirplane(TTable& airplanes, const std::string& path, const SetupTexts& texts,
    const std::string& mode, const std::optional<std::string>& airplane,
    MassUnit units = MassUnit::Kilograms);

// The request's mode, flight plan and --set texts, then the flight level
// left as in the window where it asks for that.
void ApplyRequest(SetupRun& run, const SolveRequest& request);

// The window's state before Execute: LoadSetupAirplane with the request's
// airplane, then ApplyRequest unless the load failed.
SetupRun PrepareSetupTexts(
    TTable& airplanes, const std::string& path, const SetupTexts& texts, const SolveRequest& request);

// The run's notes on standard error, one a line, naming the file.
void WriteSetupNotes(const SetupRun& run, std::ostream& err);

// Reads the texts of the setup file at path; a file that cannot be read
// gives the run that reports it (status kExitFileOrTable) instead.
std::optional<SetupRun> ReadSetupTexts(
    const std::string& path, const SolveRequest& request, SetupTexts& texts);

// Reads the file and prepares it; a file that cannot be read gives a run
// with status kExitFileOrTable and the error.
SetupRun PrepareSetupFile(TTable& airplanes, const std::string& path, const SolveRequest& request);

// Executes a prepared run (no error) as the window's Execute does, and
// leaves its results, limits, message, error and status in run. A reader
// kept from run to run converts only the fields that changed.
void SolvePreparedRun(SetupRun& run, const SolveRequest& request, const volatile std::sig_atomic_t* interrupt,
    TInputReader* reader = nullptr);

// Solves texts as if they had just been loaded from the file at path, on a
// fresh mission record, so that nothing of an earlier file carries over.
// airplanes must be open.
SetupRun SolveSetupTexts(TTable& airplanes, const std::string& path, const SetupTexts& texts,
    const SolveRequest& request, const volatile std::sig_atomic_t* interrupt);

// Loads the file and solves it; a file that cannot be read gives a run
// with status kExitFileOrTable and the error.
SetupRun SolveSetupFile(TTable& airplanes, const std::string& path, const SolveRequest& request,
    const volatile std::sig_atomic_t* interrupt);

} // namespace mirovax::cli
