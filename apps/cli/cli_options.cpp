#include "cli_options.h"

#include "cli_commands.h"
#include "engine/solve.h"
#include "setup/setup_file.h"
#include "textio/text_encoding.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <utility>

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

std::string CheckUnits(std::string& value)
{
    return ParseMassUnit(value) ? std::string() : "unknown unit \"" + value + "\"; expected kg or lb";
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

FieldSetting ToSetting(const std::string& checked)
{
    const size_t eq = checked.find('=');
    return FieldSetting{SettableFieldIndex(checked.substr(0, eq)), checked.substr(eq + 1)};
}

Variation ToVariation(const std::string& checked)
{
    return ParseVariation(checked);
}

// ---- The options, each bound to its field of CliOptions.

// A value; given more than once, each is checked and the last one wins.
template <class T> CLI::Option* AddValue(CLI::App& app, const char* name, T& field, const char* value)
{
    return app.add_option(name, field)
        ->type_name(value)
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// A value that may be given more than once, each added to the list in the
// order given. Those before the command come first.
template <class T>
CLI::Option* AddList(CLI::App& app, const char* name, std::vector<T>& list, T (*convert)(const std::string&),
    const char* value)
{
    const auto append = [&list, convert](const std::vector<std::string>& values) {
        for (const std::string& v : values)
            list.push_back(convert(v));
    };
    return app.add_option_function<std::vector<std::string>>(name, append)
        ->type_name(value)
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

CLI::Option* AddFlag(CLI::App& app, const char* names, bool& field)
{
    return app.add_flag(names, field)->disable_flag_override();
}

// Every option is known to the program and to every command, so that an
// option of another command is refused by name rather than as unknown; the
// help of each lists only its own. The program's options come before the
// command's, so the last one given still wins. CLI11 checks the values in
// this order.
void AddOptions(CLI::App& app, CliOptions& o)
{
    AddValue(app, "--mode", o.mode, "MODE")->transform(CLI::Validator(CheckMode, ""));
    AddValue(app, "--airplane", o.airplane, "TYPE");
    app.add_option_function<std::string>("--units",
           [&o](const std::string& text) { o.units = ParseMassUnit(text).value_or(MassUnit::Kilograms); })
        ->type_name("kg|lb")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->transform(CLI::Validator(CheckUnits, ""));
    AddList(app, "--set", o.settings, ToSetting, "FIELD=TEXT")->transform(CLI::Validator(CheckSetting, ""));
    AddValue(app, "--tables", o.tablesDir, "DIR");
    AddFlag(app, "--json", o.json);
    AddValue(app, "--report", o.reportFile, "FILE");
    AddFlag(app, "--margins", o.margins);
    AddValue(app, "--sheet", o.sheetFile, "FILE");
    AddValue(app, "--flight", o.flight, "TEXT");
    AddValue(app, "--registration", o.registration, "TEXT");
    AddValue(app, "--points", o.points, "N")->transform(CLI::Validator(CheckPoints, ""));
    AddFlag(app, "--csv", o.csv);
    AddValue(app, "--svg", o.svgFile, "FILE");
    AddList(app, "--vary", o.variations, ToVariation, "FIELD=VALUES")
        ->transform(CLI::Validator(CheckVariation, ""));
    AddFlag(app, "--isa", o.isa);
    AddValue(app, "--plan", o.planFile, "FILE");
    AddValue(app, "--winds", o.windsFile, "FILE");
    AddValue(app, "--winds-time", o.windsTime, "TIME");
    app.add_option("--route", o.route)
        ->type_name("FROM TO")
        ->expected(2)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    AddValue(app, "--level", o.level, "FL");
    AddFlag(app, "-h,--help", o.help);
    AddFlag(app, "--version", o.version);
}

// ---- The rules between options, checked once the values are.

// Why an empty value is refused, where it is: "--tables needs a directory".
constexpr std::pair<std::string_view, std::string_view> kRefusedEmpty[] = {
    {"--tables", "needs a directory"},
    {"--report", "needs a file name"},
    {"--sheet", "needs a file name"},
    {"--svg", "needs a file name"},
    {"--plan", "needs a file name"},
    {"--winds", "needs a file name"},
};

// The outputs: payload-range and sweep take each of them, but one at a time.
constexpr std::string_view kOutputOptions[] = {"--json", "--csv", "--svg"};

std::unique_ptr<CLI::App> BuildParser(CliOptions& options, const std::vector<CommandDef>& commands)
{
    auto app = std::make_unique<CLI::App>("", kProgramName);
    app->set_help_flag(); // -h/--help is an option like the others
    app->allow_extras(); // an unknown command or option gets its own message
    // A command name after the command is an operand: a file may be called
    // "distance".
    app->require_subcommand(0, 1);
    AddOptions(*app, options);
    for (const CommandDef& def : commands) {
        CLI::App* sub = app->add_subcommand(std::string(def.name), std::string(def.summary));
        sub->set_help_flag();
        sub->allow_extras();
        sub->add_option("operands", options.operands)
            ->expected(0, CLI::detail::expected_max_vector_size)
            ->allow_extra_args();
        AddOptions(*sub, options);
    }
    return app;
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

const CommandDef* ParsedCommand(const CLI::App& app, const std::vector<CommandDef>& commands)
{
    for (const CommandDef& c : commands) {
        if (app.get_subcommand(std::string(c.name))->parsed())
            return &c;
    }
    return nullptr;
}

bool Takes(const std::vector<OptionHelp>& options, std::string_view option)
{
    return std::any_of(
        options.begin(), options.end(), [&](const OptionHelp& o) { return o.option == option; });
}

// "solve only", "payload-range, solve and sweep only": the commands that list the
// option, in alphabetical order.
std::string AppliesTo(const std::vector<CommandDef>& commands, std::string_view option)
{
    std::vector<std::string> names;
    for (const CommandDef& c : commands) {
        if (Takes(c.options, option))
            names.emplace_back(c.name);
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text + " only";
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
        if (EqualsIgnoringAsciiCase(argument, a.mode) || EqualsIgnoringAsciiCase(argument, a.shortName))
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
    CliOptions options;
    const std::vector<CommandDef> commands = Commands();
    const std::unique_ptr<CLI::App> app = BuildParser(options, commands);
    try {
        app->parse(reversed);
    } catch (const CLI::ParseError& e) {
        const CommandDef* command = ParsedCommand(*app, commands);
        throw UsageError(ParseErrorMessage(e), command != nullptr ? command->command : Command::None);
    }

    const CommandDef* command = ParsedCommand(*app, commands);
    options.command = command != nullptr ? command->command : Command::None;
    const CLI::App* const levels[]
        = {app.get(), command != nullptr ? app->get_subcommand(std::string(command->name)) : nullptr};
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
    if (mark != args.end())
        options.operands.insert(options.operands.end(), std::next(mark), args.end());

    // The options in the order given, those before the command first.
    std::vector<const CLI::Option*> given;
    for (const CLI::App* level : levels) {
        if (level == nullptr)
            continue;
        for (const CLI::Option* option : level->parse_order()) {
            if (!option->get_positional())
                given.push_back(option);
        }
    }
    std::map<const CLI::Option*, size_t> occurrence;
    for (const CLI::Option* option : given) {
        for (const auto& [name, why] : kRefusedEmpty) {
            if (option->get_name() == name && option->results().at(occurrence[option]++).empty())
                throw UsageError(std::string(name) + " " + std::string(why), options.command);
        }
    }
    // An option of another command is refused even with --help; without a
    // command, --help shows the program's help whatever else was given.
    if (command != nullptr) {
        const std::vector<OptionHelp> everywhere = ProgramOptions();
        for (const CLI::Option* option : given) {
            const std::string name = option->get_name();
            if (!Takes(everywhere, name) && !Takes(command->options, name))
                throw UsageError(name + " applies to " + AppliesTo(commands, name), options.command);
        }
        std::vector<std::string> outputs;
        for (const CLI::Option* option : given) {
            const std::string name = option->get_name();
            if (std::find(std::begin(kOutputOptions), std::end(kOutputOptions), name)
                    != std::end(kOutputOptions)
                && std::find(outputs.begin(), outputs.end(), name) == outputs.end())
                outputs.push_back(name);
        }
        if (outputs.size() > 1)
            throw UsageError(outputs[0] + " and " + outputs[1] + " exclude each other", options.command);
    }
    if (options.help || options.version)
        return options;
    if (command == nullptr)
        throw UsageError("no command given", Command::None);
    // The validity time is of a forecast; the winds command's is its operand.
    if (options.windsTime && !options.windsFile && command->command != Command::Winds)
        throw UsageError("--winds-time needs --winds FILE", options.command);
    command->check(options);
    return options;
}

void CheckOperandCount(const CliOptions& options, size_t min, size_t max, const std::string& message)
{
    if (options.operands.size() < min || options.operands.size() > max)
        throw UsageError(message, options.command);
}

std::map<std::string, std::string, std::less<>> OptionColumns()
{
    CliOptions options;
    const std::unique_ptr<CLI::App> app = BuildParser(options, {});
    std::map<std::string, std::string, std::less<>> columns;
    for (const CLI::Option* option : app->get_options()) {
        std::string column = option->get_name(false, true);
        if (const size_t comma = column.find(','); comma != std::string::npos)
            column.replace(comma, 1, ", ");
        if (!option->get_type_name().empty())
            column += " " + option->get_type_name();
        columns.emplace(option->get_name(), column);
    }
    return columns;
}

} // namespace mirovax::cli
