#include "cli_options.h"

#include "engine/solve.h"
#include "setup/setup_file.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <memory>
#include <span>

namespace mirovax::cli {

const std::array<std::string_view, 17> kSetupFieldNames = [] {
    std::array<std::string_view, 17> names{};
    for (const FieldSpec& spec : Fields())
        names[SetupIndex(spec.field)] = spec.cliName;
    names[kSetupAirplaneLine] = kAirplaneSelector.cliName;
    names[kSetupRegulationsLine] = kRegulationSelector.cliName;
    return names;
}();

namespace {

constexpr int kAirplaneIndex = kSetupAirplaneLine;
constexpr const char* kProgramName = "mirovax-cli";

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        const auto lower
            = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// ---- Value checks, run by CLI11 as each option's validator; a failure reads
// "--mode: unknown mode ...".

std::string CheckMode(std::string& value)
{
    const std::optional<std::string_view> mode = ModeFromArgument(value);
    if (!mode)
        return "unknown mode \"" + value
            + "\"; expected \"Trip Time and Fuel\", \"Maximum Payload\" or \"Maximum Range\"";
    value = std::string(*mode);
    return {};
}

// A whole number in range, nothing else ("50", not "50.0" or "5e1").
std::string CheckPoints(std::string& value)
{
    const bool digits = !value.empty() && value.size() <= 6
        && std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int points = digits ? std::stoi(value) : 0;
    if (points < kMinDiagramPoints || points > kMaxDiagramPoints)
        return "expected a whole number from " + std::to_string(kMinDiagramPoints) + " to "
            + std::to_string(kMaxDiagramPoints) + ", got \"" + value + "\"";
    return {};
}

std::string CheckSetting(std::string& value)
{
    const size_t eq = value.find('=');
    if (eq == std::string::npos)
        return "expected FIELD=TEXT, got \"" + value + "\"";
    const std::string name = value.substr(0, eq);
    if (SettableFieldIndex(name) < 0)
        return "unknown field \"" + name + "\"" + (name == "airplane" ? " (use --airplane TYPE)" : "");
    return {};
}

std::string CheckVariation(std::string& value)
{
    try {
        ParseVariation(value);
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return {};
}

// ---- The definitions: every option once, every command with the help of
// the options it takes. The parser and the --help texts are built from them.

struct OptionDef {
    std::string_view names; // CLI11 names, e.g. "-h,--help"
    std::string_view value; // the value's name in the help; empty for a flag
    // Why an empty value is refused, where it is: "--tables needs a
    // directory".
    std::string_view whenEmpty;
    // Checks a value, and may put it in its standard form.
    std::string (*check)(std::string& value) = nullptr;
};

constexpr OptionDef kOptionDefs[] = {
    {"--mode", "MODE", "", CheckMode},
    {"--airplane", "TYPE", ""},
    {"--set", "FIELD=TEXT", "", CheckSetting},
    {"--tables", "DIR", "needs a directory"},
    {"--json", "", ""},
    {"--report", "FILE", "needs a file name"},
    {"--margins", "", ""},
    {"--sheet", "FILE", "needs a file name"},
    {"--flight", "TEXT", ""},
    {"--registration", "TEXT", ""},
    {"--points", "N", "", CheckPoints},
    {"--csv", "", ""},
    {"--svg", "FILE", "needs a file name"},
    {"--vary", "FIELD=VALUES", "", CheckVariation},
    {"--isa", "", ""},
    {"-h,--help", "", ""},
    {"--version", "", ""},
};

struct OptionHelp {
    std::string_view option; // the long name
    std::string_view text;
};

constexpr std::string_view kTablesHelp = "read \"Airplane.DB\" and \"Airports.DB\" from DIR instead of\n"
                                         "the directory of the mirovax-cli executable";
constexpr std::string_view kHelpHelp = "show this help";

constexpr std::string_view kStatusHelp
    = "Exit status:\n"
      "  0   valid results\n"
      "  1   stopped at a limit\n"
      "  2   inputs unusable (an empty field, a text that is not a number,\n"
      "      an airplane type or airport code the tables do not hold)\n"
      "  3   arithmetic fault, or a fuel below 0 kg from the airplane's\n"
      "      fuel lines\n"
      "  4   a file or table error\n"
      "  64  wrong usage\n";

constexpr OptionHelp kProgramOptions[] = {
    {"--tables", kTablesHelp},
    {"--help", "show this help; after a command, that command's help"},
    {"--version", "show the version"},
};

constexpr OptionHelp kSolveOptions[] = {
    {"--mode",
        "\"Trip Time and Fuel\" (the default), \"Maximum Payload\"\n"
        "or \"Maximum Range\"; also trip, payload, range"},
    {"--airplane", "pick another airplane type instead of line 16's"},
    {"--set",
        "replace a field's text; FIELD is one of origin,\n"
        "destination, distance, payload, flight-level, oat, wind,\n"
        "alternate, alternate-elevation, alternate-distance,\n"
        "holding-time, holding-altitude, contingency, matow,\n"
        "malw, regulations; may be given more than once.\n"
        "Regulations named exactly as in the window's list\n"
        "preset the holding time and contingency, as choosing\n"
        "them there does. The wind is in kts, a headwind positive and a tailwind\n"
        "negative (ground speed = true airspeed - wind)"},
    {"--tables", kTablesHelp},
    {"--json",
        "one JSON object per line and file: \"file\", \"mode\",\n"
        "\"status\", \"valid\", \"message\" (the limit message),\n"
        "\"error\", \"fields\", \"labels\" (Label12 to Label30),\n"
        "\"values\" (the results at full precision, and LimitedBy),\n"
        "\"co2TripKg\" (trip fuel x 3.16, ICAO's factor),\n"
        "\"limits\" (each limit's \"name\", \"value\", \"limit\",\n"
        "\"margin\" in kg and \"binding\"), \"stoppedBy\", \"exceededBy\",\n"
        "\"extraPayload\" and \"extraFuel\" (kg); null where a run\n"
        "has none"},
    {"--margins",
        "after the results, each limit with its margin, the\n"
        "binding limit and the possible extra payload and fuel"},
    {"--report",
        "also write the mission report that View Report shows\n"
        "after this run, as rich text (RTF) whatever FILE's\n"
        "extension; one setup file only. The results rows are\n"
        "blank unless the run ended valid; no report is written\n"
        "when the file or its airplane cannot be loaded, nor\n"
        "over the setup file or a table (exit status 64)"},
    {"--sheet",
        "also write the dispatch sheet of this run to FILE: one\n"
        "A4 page of HTML to print and sign; one setup file only,\n"
        "never over the setup file or a table (exit status 64).\n"
        "It is dated now in UTC, or at SOURCE_DATE_EPOCH (seconds\n"
        "since 1970) when that is set"},
    {"--flight", "the flight number the sheet shows"},
    {"--registration", "the airplane registration the sheet shows"},
    {"--help", kHelpHelp},
};

constexpr OptionHelp kTablesOnlyOptions[] = {
    {"--tables", kTablesHelp},
    {"--help", kHelpHelp},
};

constexpr OptionHelp kPayloadRangeOptions[] = {
    {"--points", "evenly spaced payloads, 2 to 10000 (default 50)"},
    {"--airplane", "pick another airplane type, as in solve"},
    {"--set", "replace a field's text, as in solve"},
    {"--tables", kTablesHelp},
    {"--csv", "\"payload,range,limitedBy,corner,bindsFromHere\" and a line per point"},
    {"--json",
        "{\"points\": [{\"payload\": ..., \"range\": ...,\n"
        "\"limitedBy\": ..., \"bindsFromHere\": ...}, ...]}, numbers at full precision"},
    {"--svg",
        "write the diagram as an SVG picture to FILE (\"-\":\n"
        "standard output), with the setup's mission marked"},
    {"--help", kHelpHelp},
};

constexpr OptionHelp kSweepOptions[] = {
    {"--vary",
        "the values of a field: FROM:TO:STEP (TO included when\n"
        "a step reaches it) or a list V1,V2,...; FIELD is a --set\n"
        "field or airplane; the airplane, the regulations and\n"
        "the airport codes take lists only. Given more than\n"
        "once, every combination is solved, the first --vary\n"
        "varying slowest"},
    {"--mode", "the mode, as in solve"},
    {"--isa",
        "leave each point's flight level as in the window: capped\n"
        "at the airplane's maximum altitude, the OAT set to the\n"
        "standard-atmosphere temperature"},
    {"--airplane", "pick another airplane type, as in solve"},
    {"--set", "replace a field's text, as in solve, before the\nvaried values"},
    {"--tables", kTablesHelp},
    {"--csv", "a header line, then a line per point"},
    {"--json",
        "one object per line and point, as solve --json gives\n"
        "it, with \"point\": the varied fields and their texts"},
    {"--help", kHelpHelp},
};

struct CommandDef {
    Command command;
    std::string_view name;
    std::string_view operands; // as the usage line names them
    std::string_view summary; // the line in the program's help
    std::string_view otherUsage; // a second usage line, or empty
    std::string_view description;
    std::span<const OptionHelp> options;
    std::string_view notes; // after the options
    std::string_view exitStatus; // the list, and a line after it
    std::string_view statusNote;
};

const CommandDef kCommands[] = {
    {Command::Solve, "solve", "SETUP.MRX...", "solve setup files in a mode",
        "SETUP.MRX [--report FILE] [--sheet FILE] [OPTION]...",
        "Solves each setup file as the window does after Load Setup and Execute:\n"
        "the 17 lines go into the fields, the airplane of line 16 (or of --airplane)\n"
        "is loaded, MATOW and MALW keep lines 14 and 15 where they are numbers\n"
        "within its structural maxima (otherwise the maxima stand and standard\n"
        "error says so), then each --set applies in the order given here, then the\n"
        "mode is solved. Each file is solved on its own, as if it were the only one.\n",
        kSolveOptions,
        "Plain output shows the results panel, caption and text, or the limit\n"
        "message; errors go to standard error and name the file and the line.\n"
        "Ctrl+C during a Maximum Range search acts as the Abort button; the files\n"
        "after it are not solved (exit status 130). A second Ctrl+C ends at once.\n",
        kStatusHelp, "A batch exits with the highest status of its files.\n"},
    {Command::Airplanes, "airplanes", "", "list the airplane types", "",
        "Lists the airplane types of the airplane table in table order, one a line.\n", kTablesOnlyOptions,
        "", "", ""},
    {Command::Distance, "distance", "FROM TO", "trip distance between two airports", "",
        "Prints what the Calculate button puts into the trip distance field: the\n"
        "great-circle distance in NM between two airports of the airport table,\n"
        "as \"distance=NM\", ready for solve --set.\n",
        kTablesOnlyOptions, "", "", ""},
    {Command::Alternate, "alternate", "ALTERNATE DESTINATION", "alternate elevation and distance", "",
        "Prints what the Alternate button puts into the fields: the alternate's\n"
        "elevation (ft) and its distance (NM) from the destination, as\n"
        "\"alternate-elevation=FT\" and \"alternate-distance=NM\", ready for solve --set.\n",
        kTablesOnlyOptions, "", "", ""},
    {Command::PayloadRange, "payload-range", "SETUP.MRX", "payload-range diagram of a setup file", "",
        "Computes the payload-range diagram of the setup file, as the window's\n"
        "Payload-Range command draws it: the file is read as solve reads it, then\n"
        "the Maximum Range search runs for evenly spaced payloads from the largest\n"
        "that the zero fuel weight and the allowable landing weight allow down to\n"
        "zero, plus the corners where the binding limit changes. Each point gives\n"
        "the payload (kg), the range (NM) and the limit that ends the search; each\n"
        "corner the limit that binds from it on.\n",
        kPayloadRangeOptions,
        "Without --csv, --json or --svg a table is printed, and where the setup's\n"
        "mission (payload over trip distance) lies. At most one of them is allowed.\n",
        "Exit status:\n"
        "  0   the diagram was computed\n"
        "  2   inputs unusable (the field that keeps it from being drawn is named)\n"
        "  3   the diagram cannot be drawn (an arithmetic fault, a fuel below 0 kg,\n"
        "      a wind not below the true airspeed, no payload within the limits, or\n"
        "      limits that never bind)\n"
        "  4   a file or table error\n"
        "  64  wrong usage\n",
        ""},
    {Command::Sweep, "sweep", "SETUP.MRX", "solve a setup file over varied fields",
        "SETUP.MRX --vary FIELD=VALUES [--vary FIELD=VALUES]... [OPTION]...",
        "Solves the setup file once for every combination of the varied fields'\n"
        "values, each point as solve --set would solve it: the file is loaded, the\n"
        "--set texts apply, then the point's values in the order of the --vary\n"
        "options. At most 1000000 points; more are refused before any is solved.\n",
        kSweepOptions,
        "Each point gives a line: the varied values, valid, status, TripFuel,\n"
        "MinTakeoffFuel, TakeoffWeight, LandingWeight, MaxRange or MaxPayload in\n"
        "those modes, LimitedBy (kg, NM; blank unless valid) and the limit message\n"
        "or the error. Without --csv or --json the line is an aligned table row;\n"
        "at most one of them is allowed. Lines are written as points are solved.\n"
        "Ctrl+C stops after the point being solved (exit status 130).\n",
        kStatusHelp, "The sweep exits with the highest status of its points.\n"},
};

const CommandDef* FindCommand(Command command)
{
    for (const CommandDef& c : kCommands) {
        if (c.command == command)
            return &c;
    }
    return nullptr;
}

const CommandDef* FindCommand(std::string_view name)
{
    for (const CommandDef& c : kCommands) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

bool Takes(std::span<const OptionHelp> options, std::string_view option)
{
    return std::any_of(
        options.begin(), options.end(), [&](const OptionHelp& o) { return o.option == option; });
}

// "solve only", "payload-range, solve and sweep only": the commands that list the
// option, in alphabetical order.
std::string AppliesTo(std::string_view option)
{
    std::vector<std::string> names;
    for (const CommandDef& c : kCommands) {
        if (Takes(c.options, option))
            names.emplace_back(c.name);
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text + " only";
}

FieldSetting ToSetting(const std::string& checked)
{
    const size_t eq = checked.find('=');
    return FieldSetting{SettableFieldIndex(checked.substr(0, eq)), checked.substr(eq + 1)};
}

// Every option is known to the program and to every command, so that an
// option of another command is refused by name rather than as unknown; the
// help of each lists only its own.
void AddOptions(CLI::App& app)
{
    for (const OptionDef& def : kOptionDefs) {
        CLI::Option* option = def.value.empty() ? app.add_flag(std::string(def.names))
                                                : app.add_option(std::string(def.names));
        // Each occurrence counts: --set in the order given, elsewhere the
        // last one given wins.
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        if (def.value.empty()) {
            option->disable_flag_override();
            continue;
        }
        option->type_name(std::string(def.value))->expected(1)->allow_extra_args(false);
        if (def.check != nullptr)
            option->transform(CLI::Validator(def.check, std::string(def.value)));
    }
}

std::unique_ptr<CLI::App> BuildParser()
{
    auto app = std::make_unique<CLI::App>("", kProgramName);
    app->set_help_flag(); // -h/--help is an option like the others
    app->allow_extras(); // an unknown command or option gets its own message
    // A command name after the command is an operand: a file may be called
    // "distance".
    app->require_subcommand(0, 1);
    AddOptions(*app);
    for (const CommandDef& def : kCommands) {
        CLI::App* sub = app->add_subcommand(std::string(def.name), std::string(def.summary));
        sub->set_help_flag();
        sub->allow_extras();
        sub->add_option("operands")->expected(0, CLI::detail::expected_max_vector_size)->allow_extra_args();
        AddOptions(*sub);
    }
    return app;
}

std::string_view WhenEmpty(std::string_view name)
{
    for (const OptionDef& def : kOptionDefs) {
        if (def.names == name)
            return def.whenEmpty;
    }
    return {};
}

// CLI11 reports a missing value as "NAME: 1 required TYPE missing" and a
// value given to a flag as "NAME was given a disallowed flag override"; those
// are said the program's way, other messages pass unchanged.
std::string ParseErrorMessage(const CLI::ParseError& error)
{
    std::string message = error.what();
    if (error.get_name() != "ArgumentMismatch")
        return message;
    if (const size_t colon = message.find(": ");
        colon != std::string::npos && message.find(" required ") != std::string::npos)
        return message.substr(0, colon) + " needs a value";
    if (const size_t end = message.find(" was given a disallowed flag override"); end != std::string::npos)
        return "--" + message.substr(0, end) + " takes no value";
    return message;
}

Command ParsedCommand(const CLI::App& app)
{
    for (const CLI::App* sub : app.get_subcommands()) {
        if (sub->parsed())
            return FindCommand(sub->get_name())->command;
    }
    return Command::None;
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
    case Command::Sweep:
        if (n != 1)
            throw UsageError("sweep: expected one setup file", options.command);
        break;
    case Command::None:
        throw UsageError("no command given", options.command);
    }
}

// A field varied twice, or the airplane both picked and varied, would leave
// the points' rows naming values that were not solved.
void CheckVariations(const CliOptions& options)
{
    if (options.variations.empty())
        throw UsageError("sweep: no --vary given", options.command);
    for (size_t i = 0; i < options.variations.size(); ++i) {
        const Variation& v = options.variations[i];
        for (size_t j = 0; j < i; ++j) {
            if (options.variations[j].line == v.line)
                throw UsageError("--vary: field \"" + v.field + "\" is varied twice", options.command);
        }
        if (v.field == "airplane" && options.airplane)
            throw UsageError("--airplane and --vary airplane exclude each other", options.command);
    }
    if (PointCount(options.variations) > kMaxSweepPoints)
        throw UsageError("sweep: more than " + std::to_string(kMaxSweepPoints)
                + " points (the --vary counts multiplied); narrow a range, widen a step or vary fewer fields",
            options.command);
}

// ---- The help texts, from the definitions above.

std::string OptionColumn(std::string_view option)
{
    for (const OptionDef& def : kOptionDefs) {
        std::string names(def.names);
        const size_t comma = names.find(',');
        if (names.substr(comma == std::string::npos ? 0 : comma + 1) != option)
            continue;
        if (comma != std::string::npos)
            names.replace(comma, 1, ", ");
        return def.value.empty() ? names : names + " " + std::string(def.value);
    }
    return std::string(option);
}

// Two columns, the second starting three spaces after the longest first.
std::string Columns(const std::vector<std::pair<std::string, std::string_view>>& rows)
{
    size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    const std::string indent(2 + width + 3, ' ');
    std::string text;
    for (const auto& [left, right] : rows) {
        text += "  " + left + std::string(width + 3 - left.size(), ' ');
        for (char c : right) {
            text += c;
            if (c == '\n')
                text += indent;
        }
        text += '\n';
    }
    return text;
}

std::string OptionList(std::span<const OptionHelp> options)
{
    std::vector<std::pair<std::string, std::string_view>> rows;
    for (const OptionHelp& o : options)
        rows.emplace_back(OptionColumn(o.option), o.text);
    return "Options:\n" + Columns(rows);
}

std::string UsageLine(std::string_view command, std::string_view operands)
{
    std::string line = std::string(kProgramName) + " " + std::string(command);
    if (!operands.empty())
        line += " " + std::string(operands);
    return line + " [OPTION]...";
}

std::string ProgramHelp()
{
    std::vector<std::pair<std::string, std::string_view>> commands;
    for (const CommandDef& c : kCommands)
        commands.emplace_back(
            std::string(c.name) + (c.operands.empty() ? "" : " ") + std::string(c.operands), c.summary);
    return "Usage: " + std::string(kProgramName) + " COMMAND [ARGUMENT]... [OPTION]...\n\n"
        + "Mission performance of an airplane from the command line.\n\nCommands:\n" + Columns(commands)
        + "\n" + OptionList(kProgramOptions) + "\n" + std::string(kStatusHelp);
}

std::string CommandHelp(const CommandDef& c)
{
    std::string text = "Usage: " + UsageLine(c.name, c.operands) + "\n";
    if (!c.otherUsage.empty())
        text += "       " + std::string(kProgramName) + " " + std::string(c.name) + " "
            + std::string(c.otherUsage) + "\n";
    text += "\n" + std::string(c.description) + "\n" + OptionList(c.options);
    if (!c.notes.empty())
        text += "\n" + std::string(c.notes);
    if (!c.exitStatus.empty())
        text += "\n" + std::string(c.exitStatus) + std::string(c.statusNote);
    return text;
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
    // "--" ends the options: what follows are operands, even "--odd.MRX".
    // CLI11 would hand them to the program rather than to the command when
    // the command's operands are optional.
    const auto mark = std::find(args.begin(), args.end(), "--");
    // "--tables=" gives an empty value, as "--tables \"\"" does; CLI11 alone
    // would take the next argument as its value instead.
    std::vector<std::string> reversed;
    for (auto arg = std::make_reverse_iterator(mark); arg != args.rend(); ++arg) {
        if (arg->size() > 3 && arg->starts_with("--") && arg->back() == '=') {
            reversed.emplace_back();
            reversed.push_back(arg->substr(0, arg->size() - 1));
        } else {
            reversed.push_back(*arg);
        }
    }
    const std::unique_ptr<CLI::App> app = BuildParser();
    try {
        app->parse(reversed);
    } catch (const CLI::ParseError& e) {
        throw UsageError(ParseErrorMessage(e), ParsedCommand(*app));
    }

    CliOptions options;
    options.command = ParsedCommand(*app);
    const CLI::App* commandApp = nullptr;
    if (options.command != Command::None)
        commandApp = app->get_subcommand(std::string(FindCommand(options.command)->name));

    const CLI::App* const levels[] = {app.get(), commandApp};
    // What CLI11 did not recognise: before the command, a word is an
    // unknown command; anywhere, a dash starts an unknown option.
    for (const CLI::App* level : levels) {
        if (level == nullptr)
            continue;
        for (const std::string& extra : level->remaining()) {
            if (extra.size() > 1 && extra[0] == '-')
                throw UsageError("unknown option \"" + extra + "\"", options.command);
            throw UsageError("unknown command \"" + extra + "\"", Command::None);
        }
    }
    if (commandApp != nullptr)
        options.operands = commandApp->get_option("operands")->results();
    if (mark != args.end())
        options.operands.insert(options.operands.end(), std::next(mark), args.end());

    // The options in the order given, those before the command first.
    std::vector<std::string> foreign; // options the command does not take
    std::vector<std::string> outputs; // --json, --csv, --svg, each once
    std::map<const CLI::Option*, size_t> used;
    for (const CLI::App* level : levels) {
        if (level == nullptr)
            continue;
        for (const CLI::Option* option : level->parse_order()) {
            if (option->get_positional())
                continue;
            const std::string name = option->get_name();
            const std::string value
                = option->get_type_size_max() > 0 ? option->results().at(used[option]++) : std::string();
            // The program's own options (--tables, --help, --version) every
            // command takes, whether or not its help lists them.
            if (options.command != Command::None && !Takes(kProgramOptions, name)
                && !Takes(FindCommand(options.command)->options, name))
                foreign.push_back(name);
            if (name == "--json" || name == "--csv" || name == "--svg") {
                if (std::find(outputs.begin(), outputs.end(), name) == outputs.end())
                    outputs.push_back(name);
            }
            if (name == "--help") {
                options.help = true;
            } else if (name == "--version") {
                options.version = true;
            } else if (name == "--json") {
                options.json = true;
            } else if (name == "--csv") {
                options.csv = true;
            } else if (name == "--margins") {
                options.margins = true;
            } else if (name == "--flight") {
                options.flight = value;
            } else if (name == "--registration") {
                options.registration = value;
            } else if (name == "--mode") {
                options.mode = value;
            } else if (name == "--airplane") {
                options.airplane = value;
            } else if (name == "--set") {
                options.settings.push_back(ToSetting(value));
            } else if (name == "--vary") {
                options.variations.push_back(ParseVariation(value));
            } else if (name == "--isa") {
                options.isa = true;
            } else if (name == "--points") {
                options.points = std::stoi(value);
            } else if (value.empty() && !WhenEmpty(name).empty()) {
                throw UsageError(name + " " + std::string(WhenEmpty(name)), options.command);
            } else if (name == "--tables") {
                options.tablesDir = value;
            } else if (name == "--report") {
                options.reportFile = value;
            } else if (name == "--sheet") {
                options.sheetFile = value;
            } else if (name == "--svg") {
                options.svgFile = value;
            }
        }
    }

    // An option of another command is refused even with --help; without a
    // command, --help shows the program's help whatever else was given.
    if (!foreign.empty())
        throw UsageError(foreign.front() + " applies to " + AppliesTo(foreign.front()), options.command);
    if ((options.command == Command::PayloadRange || options.command == Command::Sweep) && outputs.size() > 1)
        throw UsageError(outputs[0] + " and " + outputs[1] + " exclude each other", options.command);
    if (options.help || options.version)
        return options;
    CheckOperandCount(options);
    if (options.command == Command::Sweep)
        CheckVariations(options);
    // One report file holds one setup's report; a batch would have to
    // overwrite it or invent names the user did not give.
    for (const auto& [option, given] : {std::pair{"--report", options.reportFile.has_value()},
             std::pair{"--sheet", options.sheetFile.has_value()}}) {
        if (given && options.operands.size() > 1)
            throw UsageError(std::string(option) + " takes exactly one setup file, "
                    + std::to_string(options.operands.size()) + " were given",
                options.command);
    }
    // A flight number or registration goes nowhere but onto the sheet.
    if (!options.sheetFile && (!options.flight.empty() || !options.registration.empty()))
        throw UsageError(std::string(options.flight.empty() ? "--registration" : "--flight")
                + " applies to the dispatch sheet only (--sheet FILE)",
            options.command);
    return options;
}

std::string HelpHint(Command command)
{
    if (command == Command::None)
        return "Try 'mirovax-cli --help'.";
    return "Try 'mirovax-cli " + std::string(FindCommand(command)->name) + " --help'.";
}

std::string HelpText(Command command)
{
    const CommandDef* def = FindCommand(command);
    return def != nullptr ? CommandHelp(*def) : ProgramHelp();
}

} // namespace mirovax::cli
