#include "cli_app.h"

#include "apps/cli/cli_options.h"
#include "apps/cli/cli_output.h"
#include "apps/cli/cli_payload_range.h"
#include "apps/cli/cli_report.h"
#include "apps/cli/cli_solve.h"
#include "output/file_writer.h"
#include "refdata/airplane.h"
#include "refdata/airports.h"
#include "refdata/table_store.h"

#include <algorithm>
#include <filesystem>

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

// solve --report: the report of the run, or why there is none. Returns the
// run's status, raised to a file error when the report could not be written.
int WriteReport(const SetupRun& run, const std::string& reportPath, const std::vector<RunInput>& inputs,
    std::ostream& err)
{
    // A report written over the setup file or a table would destroy it.
    try {
        RefuseRunInput(reportPath, inputs);
    } catch (const FileWriteError& e) {
        err << kProgram << "no report written to \"" << reportPath << "\": " << e.what() << '\n';
        return std::max(run.status, static_cast<int>(kExitUsage));
    }
    if (!RunCanBeReported(run)) {
        err << kProgram << "no report written to \"" << reportPath
            << "\": the setup file and its airplane were not loaded\n";
        return run.status;
    }
    try {
        WriteRunReport(run, MIROVAX_VERSION, reportPath, inputs);
    } catch (const std::exception& e) {
        err << kProgram << e.what() << '\n';
        return std::max(run.status, static_cast<int>(kExitFileOrTable));
    }
    return run.status;
}

bool Interrupted(const CliEnvironment& environment)
{
    return environment.interrupt != nullptr && *environment.interrupt != 0;
}

int Solve(const CliOptions& options, std::ostream& out, std::ostream& err, const CliEnvironment& environment)
{
    SolveRequest request;
    request.mode = options.mode;
    request.airplane = options.airplane;
    request.settings = options.settings;

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
        if (options.reportFile)
            status = std::max(status,
                WriteReport(run, *options.reportFile,
                    {{path, "the setup file"},
                        {TablePath(options, environment, "Airplane.DB"), "the airplane table"}},
                    err));
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
        switch (options.command) {
        case Command::Solve:
            return Solve(options, out, err, environment);
        case Command::Airplanes:
            return ListAirplanes(options, out, environment);
        case Command::Distance:
        case Command::Alternate:
            return Airports(options, out, environment);
        case Command::PayloadRange: {
            TTable airplanes;
            const std::string table = TablePath(options, environment, "Airplane.DB");
            OpenTable(airplanes, table);
            return RunPayloadRange(options, airplanes, table, out, err);
        }
        case Command::None:
            break;
        }
    } catch (const TableError& e) {
        err << kProgram << e.what() << '\n';
        return kExitFileOrTable;
    } catch (const std::invalid_argument& e) {
        err << kProgram << e.what() << '\n';
        return kExitInputsUnusable;
    }
    return kExitUsage;
}

} // namespace mirovax::cli
