#pragma once

#include "apps/cli/cli_options.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// What each command is: its name and operands, its help, the options it
// takes and the checks the parser alone cannot make. A file per command
// family defines its commands; the parser and the --help texts read them.
namespace mirovax::cli {

struct OptionHelp {
    std::string_view option; // the long name; the value's name is the parser's
    std::string text;
};

struct CommandDef {
    Command command = Command::None;
    std::string_view name;
    std::string_view operands; // as the usage line names them
    std::string_view summary; // the line in the program's help
    std::string_view otherUsage; // a second usage line, or empty
    std::string_view description;
    // The options the command takes, in the order its help lists them.
    std::vector<OptionHelp> options;
    std::string_view notes; // after the options
    std::string_view exitStatus; // the list, and a line after it
    std::string_view statusNote;
    // Checks the operands and the rules of the command's own options once
    // they are parsed, unless help or the version is asked for; throws
    // UsageError.
    void (*check)(const CliOptions& options) = nullptr;
};

// Each command's definition, by the file of its family.
CommandDef SolveCommand(); // cli_commands_solve.cpp
CommandDef SweepCommand();
CommandDef AirplanesCommand(); // cli_commands_tables.cpp
CommandDef DistanceCommand();
CommandDef AlternateCommand();
CommandDef PayloadRangeCommand(); // cli_commands_payload_range.cpp
CommandDef PlanCommand(); // cli_plan.cpp
CommandDef WindsCommand(); // cli_winds.cpp

// Every command, in the order of the program's help.
std::vector<CommandDef> Commands();

// The options every command takes, whether or not its help lists them.
std::vector<OptionHelp> ProgramOptions();

// Each option's column in a help text, by its long name: "--points N",
// "-h, --help".
std::map<std::string, std::string, std::less<>> OptionColumns();

// "solve: no setup file given", when the number of operands is not from
// min to max.
void CheckOperandCount(const CliOptions& options, size_t min, size_t max, const std::string& message);

inline constexpr std::string_view kTablesHelp
    = "read \"Airplane.DB\" and \"Airports.DB\" from DIR instead of\n"
      "the directory of the mirovax-cli executable";
inline constexpr std::string_view kHelpHelp = "show this help";
inline constexpr std::string_view kPlanHelp = "put a flight plan's airports, route distance, first\n"
                                              "alternate, cruise level and wind into the entries\n"
                                              "before the --set texts, as Open Flight Plan does";

inline constexpr std::string_view kUnitsHelp = "the unit of masses, kg (the default) or lb: --set and\n"
                                               "--vary masses are typed in it and every printed mass is\n"
                                               "in it; setup files and --json's \"values\" stay in kg";

inline constexpr std::string_view kWindsHelp = "put a GRIB2 forecast's wind and temperature along\n"
                                               "the route at the flight level into Wind and OAT,\n"
                                               "after --plan and --set (a --set wind or oat stands)";
inline constexpr std::string_view kWindsTimeHelp = "the forecast's validity time, as 2026-12-08T18\n"
                                                   "(the file's first by default)";

inline constexpr std::string_view kStatusHelp
    = "Exit status:\n"
      "  0   valid results\n"
      "  1   stopped at a limit\n"
      "  2   inputs unusable (an empty field, a text that is not a number,\n"
      "      an airplane type or airport code the tables do not hold)\n"
      "  3   arithmetic fault, or a fuel below 0 kg from the airplane's\n"
      "      fuel lines\n"
      "  4   a file or table error\n"
      "  64  wrong usage\n";

} // namespace mirovax::cli
