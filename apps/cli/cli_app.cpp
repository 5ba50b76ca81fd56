#include "cli_app.h"

#include "apps/cli/cli_options.h"
#include "apps/cli/cli_output.h"
#include "apps/cli/cli_payload_range.h"
#include "apps/cli/cli_report.h"
#include "apps/cli/cli_solve.h"
#include "apps/cli/cli_sweep.h"
#include "refdata/airplane.h"
#include "refdata/airports.h"
#include "refdata/table_store.h"
#include "textio/file_writer.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>

#ifndef MIROVAX_VERSION
#define MIROVAX_VERSION "unknown"
#endif

namespace mirovax::cli {

namespace {

constexpr const char* kProgram = "mirovax-cli: ";

std::string TablePath(const CliOptions& options, const CliEnvironment& environment, const char* fileName)
{
    const std::filesystem::path dir = options.tablesDir ? *options.tablesDir : environment.programDir;
    return (dir / fileName).string();
}

// Opens a table, or says why not: a missing file gets a hint instead of the
// table store's message.
void OpenTable(TTable& table, const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        throw TableError("no table \"" + path + "\" (--tables DIR names the directory that holds it)");
    table.Open(path);
}

// A file solve writes beside its results (--report, --sheet): refused over
// an input of the run, skipped when the run never loaded its file and
// airplane. Returns the run's status, raised to wrong usage for a refused
// target and to a file error when the file could not be written.
int WriteRunFile(const SetupRun& run, const std::string& path, const char* what,
    const std::vector<RunInput>& inputs, std::ostream& err, const std::function<void()>& write)
{
    // Written over the setup file or a table, it would destroy it.
    try {
        RefuseRunInput(path, inputs);
    } catch (const FileWriteError& e) {
        err << kProgram << "no " << what << " written to \"" << path << "\": " << e.what() << '\n';
        return std::max(run.status, static_cast<int>(kExitUsage));
    }
    if (!RunCanBeReported(run)) {
        err << kProgram << "no " << what << " written to \"" << path
            << "\": the setup file and its airplane were not loaded\n";
        return run.status;
    }
    try {
        write();
    } catch (const std::exception& e) {
        err << kProgram << e.what() << '\n';
        return std::max(run.status, static_cast<int>(kExitFileOrTable));
    }
    return run.status;
}

// The time the sheet is dated: SOURCE_DATE_EPOCH (seconds since 1970, UTC)
// when set, so that a sheet can be made again byte for byte, else now.
std::optional<std::time_t> SheetTime(std::ostream& err)
{
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch == nullptr)
        return std::time(nullptr);
    const std::string text(epoch);
    const bool digits = !text.empty() && text.size() <= 12
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        err << kProgram << "SOURCE_DATE_EPOCH \"" << text << "\" is not a whole number of seconds\n";
        return std::nullopt;
    }
    return static_cast<std::time_t>(std::stoll(text));
}

bool Interrupted(const CliEnvironment& environment)
{
    return environment.interrupt != nullptr && *environment.interrupt != 0;
}

int Solve(const CliOptions& options, std::ostream& out, std::ostream& err, const CliEnvironment& environment,
    const PlanRequest* plan, const WindsRequest* winds)
{
    SolveRequest request;
    request.mode = options.mode;
    request.airplane = options.airplane;
    request.units = options.units;
    request.plan = plan;
    request.winds = winds;
    request.settings = options.settings;

    std::time_t runTime = 0;
    if (options.sheetFile) {
        const std::optional<std::time_t> time = SheetTime(err);
        if (!time)
            return kExitUsage;
        runTime = *time;
    }

    TTable airplanes;
    std::string tableError;
    try {
        OpenTable(airplanes, TablePath(options, environment, "Airplane.DB"));
    } catch (const TableError& e) {
        tableError = e.what();
        err << kProgram << tableError << '\n';
    }

    int status = kExitValid;
    size_t solved = 0;
    bool firstBlock = true;
    for (const std::string& path : options.operands) {
        // Ctrl+C stops the batch after the file that was running, which it
        // aborted if that was a Maximum Range search.
        if (solved > 0 && Interrupted(environment))
            break;
        SetupRun run;
        if (!tableError.empty()) {
            // Each file still gets its line, so that a JSON reader sees
            // one answer per file.
            run.path = path;
            run.mode = options.mode;
            run.error = path + ": " + tableError;
            run.status = kExitFileOrTable;
        } else {
            run = SolveSetupFile(airplanes, path, request, environment.interrupt);
            WriteSetupNotes(run, err);
            if (!run.error.empty())
                err << kProgram << run.error << '\n';
        }
        ++solved;
        status = std::max(status, run.status);
        const std::vector<RunInput> inputs = {
            {path, "the setup file"}, {TablePath(options, environment, "Airplane.DB"), "the airplane table"}};
        if (options.reportFile)
            status = std::max(status, WriteRunFile(run, *options.reportFile, "report", inputs, err, [&] {
                WriteRunReport(run, MIROVAX_VERSION, *options.reportFile, inputs);
            }));
        if (options.sheetFile)
            status
                = std::max(status, WriteRunFile(run, *options.sheetFile, "dispatch sheet", inputs, err, [&] {
                      const DispatchSheetInput sheet = RunSheetInput(
                          run, MIROVAX_VERSION, runTime, options.flight, options.registration);
                      try {
                          WriteFileAtomically(*options.sheetFile, DispatchSheetHtml(sheet), inputs);
                      } catch (const FileWriteError& e) {
                          throw std::runtime_error("Cannot write the dispatch sheet to \""
                              + *options.sheetFile + "\": " + e.what() + ".");
                      }
                  }));
        if (options.json) {
            out << FormatJson(run);
        } else {
            const std::string block = FormatPlain(run) + (options.margins ? FormatMargins(run) : "");
            if (!block.empty()) {
                if (!firstBlock)
                    out << '\n';
                out << block;
                firstBlock = false;
            }
        }
    }
    out.flush();
    if (solved < options.operands.size()) {
        err << kProgram << "interrupted: " << options.operands.size() - solved << " of "
            << options.operands.size() << " setup files not solved\n";
        return kExitInterrupted;
    }
    return status;
}

int ListAirplanes(const CliOptions& options, std::ostream& out, const CliEnvironment& environment)
{
    TTable airplanes;
    OpenTable(airplanes, TablePath(options, environment, "Airplane.DB"));
    airplanes.First();
    for (const std::string& type : ReadTypesFromCurrent(airplanes))
        out << type << '\n';
    return kExitValid;
}

// A code that matches nothing is refused before anything is printed, naming
// the table that was searched.
void RequireAirport(TTable& airports, const std::string& code)
{
    if (!airports.Locate("ICAO", code))
        throw std::invalid_argument(
            "airport \"" + code + "\" is not in the airport table " + airports.Path());
}

int Airports(const CliOptions& options, std::ostream& out, const CliEnvironment& environment)
{
    TTable airports;
    OpenTable(airports, TablePath(options, environment, "Airports.DB"));
    const std::string& first = options.operands[0];
    const std::string& second = options.operands[1];
    RequireAirport(airports, first);
    RequireAirport(airports, second);
    airports.First();
    if (options.command == Command::Distance) {
        out << "distance=" << CalculateDistance(airports, first, second).distance.value_or("") << '\n';
    } else {
        const AlternateData data = AlternateLookup(airports, first, second);
        out << "alternate-elevation=" << data.elevation.value_or("") << '\n';
        out << "alternate-distance=" << data.distance.value_or("") << '\n';
    }
    return kExitValid;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
    const CliEnvironment& environment)
{
    CliOptions options;
    try {
        options = ParseCommandLine(args);
    } catch (const UsageError& e) {
        err << kProgram << e.what() << '\n' << HelpHint(e.command()) << '\n';
        return kExitUsage;
    }
    if (options.help) {
        out << HelpText(options.command);
        return kExitValid;
    }
    if (options.version) {
        out << "mirovax-cli " << MIROVAX_VERSION << '\n';
        return kExitValid;
    }
    try {
        // A plan that cannot be read stops the command before anything is
        // solved.
        const std::optional<PlanRequest> plan
            = ReadPlanOption(options, TablePath(options, environment, "Airports.DB"));
        const PlanRequest* planRequest = plan ? &*plan : nullptr;
        // So does a forecast.
        const std::optional<WindsRequest> winds
            = ReadWindsOption(options, TablePath(options, environment, "Airports.DB"));
        const WindsRequest* windsRequest = winds ? &*winds : nullptr;
        switch (options.command) {
        case Command::Solve:
            return Solve(options, out, err, environment, planRequest, windsRequest);
        case Command::Airplanes:
            return ListAirplanes(options, out, environment);
        case Command::Distance:
        case Command::Alternate:
            return Airports(options, out, environment);
        case Command::PayloadRange: {
            TTable airplanes;
            const std::string table = TablePath(options, environment, "Airplane.DB");
            OpenTable(airplanes, table);
            return RunPayloadRange(options, airplanes, table, out, err, planRequest, windsRequest);
        }
        case Command::Sweep: {
            TTable airplanes;
            OpenTable(airplanes, TablePath(options, environment, "Airplane.DB"));
            return RunSweep(options, airplanes, out, err, environment.interrupt, planRequest, windsRequest);
        }
        case Command::Plan:
            return ShowPlan(options, out, err);
        case Command::Winds: {
            TTable airplanes;
            OpenTable(airplanes, TablePath(options, environment, "Airplane.DB"));
            return ShowWinds(
                options, airplanes, planRequest, TablePath(options, environment, "Airports.DB"), out, err);
        }
        case Command::None:
            break;
        }
    } catch (const TableError& e) {
        err << kProgram << e.what() << '\n';
        return kExitFileOrTable;
    } catch (const FlightPlanError& e) {
        err << kProgram << e.what() << '\n';
        return kExitFileOrTable;
    } catch (const ForecastError& e) {
        err << kProgram << e.what() << '\n';
        return kExitFileOrTable;
    } catch (const std::invalid_argument& e) {
        err << kProgram << e.what() << '\n';
        return kExitInputsUnusable;
    }
    return kExitUsage;
}

} // namespace mirovax::cli
