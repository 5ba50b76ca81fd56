// The program's own options and help, and the --help texts of the commands,
// laid out from the commands' definitions.
#include "cli_commands.h"

#include <algorithm>
#include <utility>

namespace mirovax::cli {

namespace {

constexpr const char* kProgramName = "mirovax-cli";

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

std::string OptionList(const std::vector<OptionHelp>& options)
{
    const auto columns = OptionColumns();
    std::vector<std::pair<std::string, std::string_view>> rows;
    for (const OptionHelp& o : options) {
        const auto column = columns.find(o.option);
        rows.emplace_back(column != columns.end() ? column->second : std::string(o.option), o.text);
    }
    return "Options:\n" + Columns(rows);
}

std::string ProgramHelp()
{
    std::vector<std::pair<std::string, std::string_view>> rows;
    const std::vector<CommandDef> commands = Commands();
    rows.reserve(commands.size());
    for (const CommandDef& c : commands)
        rows.emplace_back(
            std::string(c.name) + (c.operands.empty() ? "" : " ") + std::string(c.operands), c.summary);
    return "Usage: " + std::string(kProgramName) + " COMMAND [ARGUMENT]... [OPTION]...\n\n"
        + "Mission performance of an airplane from the command line.\n\nCommands:\n" + Columns(rows) + "\n"
        + OptionList(ProgramOptions()) + "\n" + std::string(kStatusHelp);
}

std::string CommandHelp(const CommandDef& c)
{
    std::string text = "Usage: " + std::string(kProgramName) + " " + std::string(c.name);
    if (!c.operands.empty())
        text += " " + std::string(c.operands);
    text += " [OPTION]...\n";
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

std::vector<OptionHelp> ProgramOptions()
{
    return {
        {"--tables", std::string(kTablesHelp)},
        {"--help", "show this help; after a command, that command's help"},
        {"--version", "show the version"},
    };
}

std::vector<CommandDef> Commands()
{
    std::vector<CommandDef> commands;
    for (CommandDef (*command)() : {SolveCommand, AirplanesCommand, DistanceCommand, AlternateCommand,
             PayloadRangeCommand, SweepCommand, PlanCommand, WindsCommand})
        commands.push_back(command());
    return commands;
}

std::string HelpHint(Command command)
{
    for (const CommandDef& c : Commands()) {
        if (c.command == command)
            return "Try '" + std::string(kProgramName) + " " + std::string(c.name) + " --help'.";
    }
    return "Try '" + std::string(kProgramName) + " --help'.";
}

std::string HelpText(Command command)
{
    for (const CommandDef& c : Commands()) {
        if (c.command == command)
            return CommandHelp(c);
    }
    return ProgramHelp();
}

} // namespace mirovax::cli
