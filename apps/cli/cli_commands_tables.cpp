// airplanes, distance and alternate: what the tables hold, without a setup.
#include "cli_commands.h"

namespace mirovax::cli {

namespace {

std::vector<OptionHelp> TablesOnlyOptions()
{
    return {
        {"--tables", std::string(kTablesHelp)},
        {"--help", std::string(kHelpHelp)},
    };
}

void CheckAirplanes(const CliOptions& options)
{
    if (!options.operands.empty())
        throw UsageError("airplanes: unexpected argument \"" + options.operands[0] + "\"", options.command);
}

void CheckDistance(const CliOptions& options)
{
    CheckOperandCount(options, 2, 2, "distance: expected two ICAO codes, FROM and TO");
}

void CheckAlternate(const CliOptions& options)
{
    CheckOperandCount(options, 2, 2, "alternate: expected two ICAO codes, ALTERNATE and DESTINATION");
}

} // namespace

CommandDef AirplanesCommand()
{
    return {
        .command = Command::Airplanes,
        .name = "airplanes",
        .operands = {},
        .summary = "list the airplane types",
        .otherUsage = {},
        .description = "Lists the airplane types of the airplane table in table order, one a line.\n",
        .options = TablesOnlyOptions(),
        .notes = {},
        .exitStatus = {},
        .statusNote = {},
        .check = CheckAirplanes,
    };
}

CommandDef DistanceCommand()
{
    return {
        .command = Command::Distance,
        .name = "distance",
        .operands = "FROM TO",
        .summary = "trip distance between two airports",
        .otherUsage = {},
        .description = "Prints what the Calculate button puts into the trip distance field: the\n"
                       "great-circle distance in NM between two airports of the airport table,\n"
                       "as \"distance=NM\", ready for solve --set.\n",
        .options = TablesOnlyOptions(),
        .notes = {},
        .exitStatus = {},
        .statusNote = {},
        .check = CheckDistance,
    };
}

CommandDef AlternateCommand()
{
    return {
        .command = Command::Alternate,
        .name = "alternate",
        .operands = "ALTERNATE DESTINATION",
        .summary = "alternate elevation and distance",
        .otherUsage = {},
        .description = "Prints what the Alternate button puts into the fields: the alternate's\n"
                       "elevation (ft) and its distance (NM) from the destination, as\n"
                       "\"alternate-elevation=FT\" and \"alternate-distance=NM\", ready for solve --set.\n",
        .options = TablesOnlyOptions(),
        .notes = {},
        .exitStatus = {},
        .statusNote = {},
        .check = CheckAlternate,
    };
}

} // namespace mirovax::cli
