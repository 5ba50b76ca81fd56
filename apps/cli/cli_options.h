#pragma once

#include "apps/cli/cli_vary.h"
#include "engine/text_format.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The command line of mirovax-cli: commands, options and the names by which
// a user addresses the fields of a setup.
namespace mirovax::cli {

// Exit statuses; a batch exits with the highest of its files'.
enum ExitStatus : int {
    kExitValid = 0,
    kExitLimit = 1,
    kExitInputsUnusable = 2,
    kExitArithmeticFault = 3,
    kExitFileOrTable = 4,
    kExitUsage = 64,
    // Ctrl+C stopped a batch before every file was solved (128 + SIGINT).
    kExitInterrupted = 130,
};

// The name of each setup line on the command line (--set) and in the JSON
// output, in file order: the fields' names, then "airplane" and
// "regulations".
extern const std::array<std::string_view, 17> kSetupFieldNames;

// The setup line index a --set name addresses, or -1. "airplane" is not
// one of them: --airplane changes the type as the selector would.
int SettableFieldIndex(std::string_view name);

// One of the three solve-mode texts for a --mode argument: the exact mode
// text, the text in any letter case, or the short forms "trip", "payload"
// and "range". Anything else is nullopt: a typing error must not run a
// calculation that solves nothing.
std::optional<std::string_view> ModeFromArgument(std::string_view argument);

enum class Command { None, Solve, Airplanes, Distance, Alternate, PayloadRange, Sweep, Plan, Winds };

// The payloads payload-range computes unless --points says otherwise, and
// the range --points accepts: two give the ends, ten thousand a curve finer
// than any picture needs (each point is a Maximum Range search).
inline constexpr int kDefaultDiagramPoints = 50;
inline constexpr int kMinDiagramPoints = 2;
inline constexpr int kMaxDiagramPoints = 10000;

struct FieldSetting {
    int line = 0; // 0-based setup line index
    std::string text;
};

struct CliOptions {
    Command command = Command::None;
    bool help = false;
    bool version = false;
    // Setup files for solve and payload-range; the two codes for distance
    // and alternate.
    std::vector<std::string> operands;
    std::string mode = "Trip Time and Fuel";
    std::optional<std::string> airplane;
    // solve, sweep and payload-range --units kg|lb: the unit masses are
    // typed (--set, --vary) and printed in; files and "values" stay kg.
    MassUnit units = MassUnit::Kilograms;
    std::vector<FieldSetting> settings; // in the order given
    std::optional<std::string> tablesDir;
    bool json = false;
    // solve --report FILE: the mission report of the one setup file.
    std::optional<std::string> reportFile;
    // solve --margins: the limits block under the plain results.
    bool margins = false;
    // solve --sheet FILE: the dispatch sheet of the one setup file, with the
    // flight number and registration it shows.
    std::optional<std::string> sheetFile;
    std::string flight;
    std::string registration;
    // payload-range: evenly spaced payloads of the curve, and its output
    // (JSON above, CSV, or an SVG picture written to svgFile, "-" standard
    // output; a plain table when none is asked for).
    int points = kDefaultDiagramPoints;
    bool csv = false;
    std::optional<std::string> svgFile;
    // sweep: the varied fields, the first the outermost, and whether each
    // point's flight level is left as in the window, setting the OAT.
    std::vector<Variation> variations;
    bool isa = false;
    // solve, sweep and payload-range --plan FILE: a flight plan put into the
    // setup's entries before the --set texts.
    std::optional<std::string> planFile;
    // solve, sweep and payload-range --winds FILE: a GRIB2 forecast whose
    // wind and temperature along the route go into Wind and OAT, at the
    // validity time --winds-time names (the file's first by default).
    std::optional<std::string> windsFile;
    std::optional<std::string> windsTime;
    // winds --route FROM TO and --level FL.
    std::vector<std::string> route;
    std::optional<std::string> level;
};

// Wrong usage; the message says what is wrong, and command names the help
// that applies.
class UsageError : public std::runtime_error {
public:
    UsageError(const std::string& message, Command command)
        : std::runtime_error(message)
        , m_command(command)
    { }
    Command command() const { return m_command; }

private:
    Command m_command;
};

// Parses the arguments after the program name with CLI11. Options may come
// before or after the command and its operands, as "--opt VALUE" or
// "--opt=VALUE"; "--" after the command ends the options. Throws UsageError.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

// The --help text of a command (Command::None: the program's), from the
// same definitions the parser is built from.
std::string HelpText(Command command);

// How to reach the help, for the line after a usage error.
std::string HelpHint(Command command);

} // namespace mirovax::cli
