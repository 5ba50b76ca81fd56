#include "cli_options.h"

#include "engine/solve.h"

#include <algorithm>

namespace mirovax::cli {

const std::array<std::string_view, 17> kSetupFieldNames = {
    "origin",
    "destination",
    "distance",
    "payload",
    "flight-level",
    "oat",
    "wind",
    "alternate",
    "alternate-elevation",
    "alternate-distance",
    "holding-time",
    "holding-altitude",
    "contingency",
    "matow",
    "malw",
    "airplane",
    "regulations",
};

namespace {

constexpr int kAirplaneIndex = 15;

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        const auto lower
            = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string_view CommandName(Command command)
{
    switch (command) {
    case Command::Solve:
        return "solve";
    case Command::Airplanes:
        return "airplanes";
    case Command::Distance:
        return "distance";
    case Command::Alternate:
        return "alternate";
    case Command::PayloadRange:
        return "payload-range";
    case Command::None:
        break;
    }
    return "";
}

std::optional<Command> CommandFromName(std::string_view name)
{
    for (Command c :
        {Command::Solve, Command::Airplanes, Command::Distance, Command::Alternate, Command::PayloadRange}) {
        if (name == CommandName(c))
            return c;
    }
    return std::nullopt;
}

void CheckOperandCount(const CliOptions& options)
{
    const size_t n = options.operands.size();
    switch (options.command) {
    case Command::Solve:
        if (n == 0)
            throw UsageError("solve: no setup file given", options.command);
        break;
    case Command::Airplanes:
        if (n != 0)
            throw UsageError(
                "airplanes: unexpected argument \"" + options.operands[0] + "\"", options.command);
        break;
    case Command::Distance:
        if (n != 2)
            throw UsageError("distance: expected two ICAO codes, FROM and TO", options.command);
        break;
    case Command::Alternate:
        if (n != 2)
            throw UsageError(
                "alternate: expected two ICAO codes, ALTERNATE and DESTINATION", options.command);
        break;
    case Command::PayloadRange:
        if (n != 1)
            throw UsageError("payload-range: expected one setup file", options.command);
        break;
    case Command::None:
        throw UsageError("no command given", options.command);
    }
}

// --points: a whole number in range, nothing else ("50", not "50.0" or "5e1").
int ParsePoints(const std::string& value, Command command)
{
    const bool digits = !value.empty() && value.size() <= 6
        && std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int points = digits ? std::stoi(value) : 0;
    if (points < kMinDiagramPoints || points > kMaxDiagramPoints)
        throw UsageError("--points: expected a whole number from " + std::to_string(kMinDiagramPoints)
                + " to " + std::to_string(kMaxDiagramPoints) + ", got \"" + value + "\"",
            command);
    return points;
}

FieldSetting ParseSetting(std::string_view value, Command command)
{
    const size_t eq = value.find('=');
    if (eq == std::string_view::npos)
        throw UsageError("--set: expected FIELD=TEXT, got \"" + std::string(value) + "\"", command);
    const std::string_view name = value.substr(0, eq);
    const int index = SettableFieldIndex(name);
    if (index < 0) {
        std::string message = "--set: unknown field \"" + std::string(name) + "\"";
        if (name == "airplane")
            message += " (use --airplane TYPE)";
        throw UsageError(message, command);
    }
    return FieldSetting{index, std::string(value.substr(eq + 1))};
}

} // namespace

int SettableFieldIndex(std::string_view name)
{
    for (size_t i = 0; i < kSetupFieldNames.size(); ++i) {
        if (kSetupFieldNames[i] == name && static_cast<int>(i) != kAirplaneIndex)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::string_view> ModeFromArgument(std::string_view argument)
{
    struct Alias {
        std::string_view shortName;
        std::string_view mode;
    };
    static constexpr Alias kAliases[] = {
        {"trip", kModeTripTimeAndFuel},
        {"payload", kModeMaximumPayload},
        {"range", kModeMaximumRange},
    };
    for (const Alias& a : kAliases) {
        if (EqualsIgnoringCase(argument, a.mode) || EqualsIgnoringCase(argument, a.shortName))
            return a.mode;
    }
    return std::nullopt;
}

CliOptions ParseCommandLine(const std::vector<std::string>& args)
{
    CliOptions options;
    bool optionsEnded = false;
    std::vector<std::string> solveOnly; // options that only solve takes
    std::vector<std::string> diagramOnly; // options that only payload-range takes
    std::vector<std::string> solveOrDiagram; // options both take
    std::vector<std::string> diagramOutputs; // --json, --csv, --svg, each once
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (options.command == Command::None) {
                const std::optional<Command> command = CommandFromName(arg);
                if (!command)
                    throw UsageError("unknown command \"" + arg + "\"", Command::None);
                options.command = *command;
            } else {
                options.operands.push_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        if (arg == "--json" || arg == "--csv") {
            (arg == "--json" ? solveOrDiagram : diagramOnly).push_back(arg);
            if (std::find(diagramOutputs.begin(), diagramOutputs.end(), arg) == diagramOutputs.end())
                diagramOutputs.push_back(arg);
            (arg == "--json" ? options.json : options.csv) = true;
            continue;
        }

        // Options with a value: "--name VALUE" or "--name=VALUE".
        std::string name = arg;
        std::optional<std::string> value;
        const size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const bool known = name == "--mode" || name == "--airplane" || name == "--set" || name == "--tables"
            || name == "--report" || name == "--points" || name == "--svg";
        if (!known)
            throw UsageError("unknown option \"" + arg + "\"", options.command);
        if (!value) {
            if (i + 1 >= args.size())
                throw UsageError(name + " needs a value", options.command);
            value = args[++i];
        }
        if (name == "--tables") {
            if (value->empty())
                throw UsageError("--tables needs a directory", options.command);
            options.tablesDir = *value;
            continue;
        }
        if (name == "--points" || name == "--svg") {
            diagramOnly.push_back(name);
            if (name == "--points") {
                options.points = ParsePoints(*value, options.command);
            } else {
                if (value->empty())
                    throw UsageError("--svg needs a file name", options.command);
                if (!options.svgFile)
                    diagramOutputs.push_back(name);
                options.svgFile = *value;
            }
            continue;
        }
        (name == "--mode" || name == "--report" ? solveOnly : solveOrDiagram).push_back(name);
        if (name == "--mode") {
            const std::optional<std::string_view> mode = ModeFromArgument(*value);
            if (!mode) {
                throw UsageError("--mode: unknown mode \"" + *value
                        + "\"; expected \"Trip Time and Fuel\", \"Maximum Payload\" or "
                          "\"Maximum Range\"",
                    options.command);
            }
            options.mode = std::string(*mode);
        } else if (name == "--airplane") {
            options.airplane = *value;
        } else if (name == "--report") {
            if (value->empty())
                throw UsageError("--report needs a file name", options.command);
            options.reportFile = *value;
        } else {
            options.settings.push_back(ParseSetting(*value, options.command));
        }
    }
    // An option of another command is refused even with --help; without a
    // command, --help shows the program's help whatever else was given.
    const auto checkApplies = [&](bool noCommandYet) {
        const Command c = options.command;
        if (noCommandYet && c == Command::None)
            return;
        if (!solveOnly.empty() && c != Command::Solve)
            throw UsageError(solveOnly.front() + " applies to solve only", c);
        if (!diagramOnly.empty() && c != Command::PayloadRange)
            throw UsageError(diagramOnly.front() + " applies to payload-range only", c);
        if (!solveOrDiagram.empty() && c != Command::Solve && c != Command::PayloadRange)
            throw UsageError(solveOrDiagram.front() + " applies to payload-range and solve only", c);
    };
    checkApplies(true);
    if (options.command == Command::PayloadRange && diagramOutputs.size() > 1)
        throw UsageError(
            diagramOutputs[0] + " and " + diagramOutputs[1] + " exclude each other", options.command);
    if (options.help || options.version)
        return options;
    checkApplies(false);
    CheckOperandCount(options);
    // One report file holds one setup's report; a batch would have to
    // overwrite it or invent names the user did not give.
    if (options.reportFile && options.operands.size() > 1)
        throw UsageError("--report takes exactly one setup file, " + std::to_string(options.operands.size())
                + " were given",
            options.command);
    return options;
}

std::string HelpHint(Command command)
{
    if (command == Command::None)
        return "Try 'mirovax-cli --help'.";
    return "Try 'mirovax-cli " + std::string(CommandName(command)) + " --help'.";
}

std::string HelpText(Command command)
{
    static const char* const kStatus = "Exit status:\n"
                                       "  0   valid results\n"
                                       "  1   stopped at a limit\n"
                                       "  2   inputs unusable (an empty field, a text that is not a number,\n"
                                       "      an airplane type or airport code the tables do not hold)\n"
                                       "  3   arithmetic fault, or a fuel below 0 kg from the airplane's\n"
                                       "      fuel lines\n"
                                       "  4   a file or table error\n"
                                       "  64  wrong usage\n";
    static const char* const kTables
        = "  --tables DIR   read \"Airplane.DB\" and \"Airports.DB\" from DIR instead of\n"
          "                 the directory of the mirovax-cli executable\n";
    switch (command) {
    case Command::Solve:
        return std::string("Usage: mirovax-cli solve SETUP.MRX... [OPTION]...\n"
                           "       mirovax-cli solve SETUP.MRX --report FILE [OPTION]...\n"
                           "\n"
                           "Solves each setup file as the window does after Load Setup and Execute:\n"
                           "the 17 lines go into the fields, the airplane of line 16 (or of --airplane)\n"
                           "is loaded, MATOW and MALW keep lines 14 and 15 where they are numbers\n"
                           "within its structural maxima (otherwise the maxima stand and standard\n"
                           "error says so), then each --set applies in the order given here, then the\n"
                           "mode is solved. Each file is solved on its own, as if it were the only one.\n"
                           "\n"
                           "Options:\n"
                           "  --mode MODE        \"Trip Time and Fuel\" (the default), \"Maximum Payload\"\n"
                           "                     or \"Maximum Range\"; also trip, payload, range\n"
                           "  --airplane TYPE    pick another airplane type instead of line 16's\n"
                           "  --set FIELD=TEXT   replace a field's text; FIELD is one of origin,\n"
                           "                     destination, distance, payload, flight-level, oat, wind,\n"
                           "                     alternate, alternate-elevation, alternate-distance,\n"
                           "                     holding-time, holding-altitude, contingency, matow,\n"
                           "                     malw, regulations; may be given more than once.\n"
                           "                     The wind is in kts, a headwind positive and a tailwind\n"
                           "                     negative (ground speed = true airspeed - wind)\n")
            + kTables
            + "  --json             one JSON object per line and file: \"file\", \"mode\",\n"
              "                     \"status\", \"valid\", \"message\" (the limit message),\n"
              "                     \"error\", \"fields\", \"labels\" (Label12 to Label30) and\n"
              "                     \"values\" (the results at full precision, and LimitedBy)\n"
              "  --report FILE      also write the mission report that View Report shows\n"
              "                     after this run, as rich text (RTF) whatever FILE's\n"
              "                     extension; one setup file only. The results rows are\n"
              "                     blank unless the run ended valid; no report is written\n"
              "                     when the file or its airplane cannot be loaded, nor\n"
              "                     over the setup file or a table (exit status 64)\n"
              "  -h, --help         show this help\n"
              "\n"
              "Plain output shows the results panel, caption and text, or the limit\n"
              "message; errors go to standard error and name the file and the line.\n"
              "Ctrl+C during a Maximum Range search acts as the Abort button; the files\n"
              "after it are not solved (exit status 130). A second Ctrl+C ends at once.\n"
              "\n"
            + kStatus + "A batch exits with the highest status of its files.\n";
    case Command::Airplanes:
        return std::string("Usage: mirovax-cli airplanes [OPTION]...\n"
                           "\n"
                           "Lists the airplane types of the airplane table in table order, one a line.\n"
                           "\n"
                           "Options:\n")
            + kTables + "  -h, --help     show this help\n";
    case Command::Distance:
        return std::string("Usage: mirovax-cli distance FROM TO [OPTION]...\n"
                           "\n"
                           "Prints what the Calculate button puts into the trip distance field: the\n"
                           "great-circle distance in NM between two airports of the airport table,\n"
                           "as \"distance=NM\", ready for solve --set.\n"
                           "\n"
                           "Options:\n")
            + kTables + "  -h, --help     show this help\n";
    case Command::Alternate:
        return std::string(
                   "Usage: mirovax-cli alternate ALTERNATE DESTINATION [OPTION]...\n"
                   "\n"
                   "Prints what the Alternate button puts into the fields: the alternate's\n"
                   "elevation (ft) and its distance (NM) from the destination, as\n"
                   "\"alternate-elevation=FT\" and \"alternate-distance=NM\", ready for solve --set.\n"
                   "\n"
                   "Options:\n")
            + kTables + "  -h, --help     show this help\n";
    case Command::PayloadRange:
        return std::string("Usage: mirovax-cli payload-range SETUP.MRX [OPTION]...\n"
                           "\n"
                           "Computes the payload-range diagram of the setup file, as the window's\n"
                           "Payload-Range command draws it: the file is read as solve reads it, then\n"
                           "the Maximum Range search runs for evenly spaced payloads from the largest\n"
                           "that the zero fuel weight and the allowable landing weight allow down to\n"
                           "zero, plus the corners where the binding limit changes. Each point gives\n"
                           "the payload (kg), the range (NM) and the limit that ends the search.\n"
                           "\n"
                           "Options:\n"
                           "  --points N         evenly spaced payloads, 2 to 10000 (default 50)\n"
                           "  --airplane TYPE    pick another airplane type, as in solve\n"
                           "  --set FIELD=TEXT   replace a field's text, as in solve\n")
            + kTables
            + "  --csv              \"payload,range,limitedBy,corner\" and a line per point\n"
              "  --json             {\"points\": [{\"payload\": ..., \"range\": ...,\n"
              "                     \"limitedBy\": ...}, ...]}, numbers at full precision\n"
              "  --svg FILE         write the diagram as an SVG picture to FILE (\"-\":\n"
              "                     standard output), with the setup's mission marked\n"
              "  -h, --help         show this help\n"
              "\n"
              "Without --csv, --json or --svg a table is printed, and where the setup's\n"
              "mission (payload over trip distance) lies. At most one of them is allowed.\n"
              "\n"
              "Exit status:\n"
              "  0   the diagram was computed\n"
              "  2   inputs unusable (the field that keeps it from being drawn is named)\n"
              "  3   the diagram cannot be drawn (an arithmetic fault, a fuel below 0 kg,\n"
              "      a wind not below the true airspeed, no payload within the limits, or\n"
              "      limits that never bind)\n"
              "  4   a file or table error\n"
              "  64  wrong usage\n";
    case Command::None:
        break;
    }
    return std::string("Usage: mirovax-cli COMMAND [ARGUMENT]... [OPTION]...\n"
                       "\n"
                       "Mission performance of an airplane from the command line.\n"
                       "\n"
                       "Commands:\n"
                       "  solve SETUP.MRX...            solve setup files in a mode\n"
                       "  airplanes                     list the airplane types\n"
                       "  distance FROM TO              trip distance between two airports\n"
                       "  alternate ALTERNATE DEST      alternate elevation and distance\n"
                       "  payload-range SETUP.MRX       payload-range diagram of a setup file\n"
                       "\n"
                       "Options:\n")
        + kTables
        + "  -h, --help     show this help; after a command, that command's help\n"
          "  --version      show the version\n"
          "\n"
        + kStatus;
}

} // namespace mirovax::cli
