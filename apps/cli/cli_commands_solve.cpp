// solve and sweep: a setup file solved in a mode, once or over varied fields.
#include "cli_commands.h"

#include <limits>

namespace mirovax::cli {

namespace {

void CheckSolve(const CliOptions& options)
{
    CheckOperandCount(options, 1, std::numeric_limits<size_t>::max(), "solve: no setup file given");
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
}

// A field varied twice, or the airplane both picked and varied, would leave
// the points' rows naming values that were not solved.
void CheckSweep(const CliOptions& options)
{
    CheckOperandCount(options, 1, 1, "sweep: expected one setup file");
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

// "replace a field's text; FIELD is one of origin, ...": every name --set
// takes, filled into lines of at most 56 characters.
std::string SetHelp()
{
    std::string text = "replace a field's text; FIELD is one of";
    size_t lineStart = 0;
    std::string_view separator = " ";
    for (std::string_view name : kSetupFieldNames) {
        if (SettableFieldIndex(name) < 0)
            continue;
        if (text.size() - lineStart + separator.size() + name.size() + 1 > 56) {
            text += std::string(separator.substr(0, separator.size() - 1)) + "\n";
            lineStart = text.size();
            separator = "";
        }
        text += std::string(separator) + std::string(name);
        separator = ", ";
    }
    return text
        + "; may be given more than once.\n"
          "Regulations named exactly as in the window's list\n"
          "preset the holding time and contingency, as choosing\n"
          "them there does. The wind is in kts, a headwind positive and a tailwind\n"
          "negative (ground speed = true airspeed - wind)";
}

} // namespace

CommandDef SolveCommand()
{
    return {
        .command = Command::Solve,
        .name = "solve",
        .operands = "SETUP.MRX...",
        .summary = "solve setup files in a mode",
        .otherUsage = "SETUP.MRX [--report FILE] [--sheet FILE] [OPTION]...",
        .description
        = "Solves each setup file as the window does after Load Setup and Execute:\n"
          "the 17 lines go into the fields, the airplane of line 16 (or of --airplane)\n"
          "is loaded, MATOW and MALW keep lines 14 and 15 where they are numbers\n"
          "within its structural maxima (otherwise the maxima stand and standard\n"
          "error says so), then each --set applies in the order given here, then the\n"
          "mode is solved. Each file is solved on its own, as if it were the only one.\n",
        .options = {
            {"--mode",
                "\"Trip Time and Fuel\" (the default), \"Maximum Payload\"\n"
                "or \"Maximum Range\"; also trip, payload, range"},
            {"--airplane", "pick another airplane type instead of line 16's"},
            {"--units", std::string(kUnitsHelp)},
            {"--plan", std::string(kPlanHelp)},
            {"--winds", std::string(kWindsHelp)},
            {"--winds-time", std::string(kWindsTimeHelp)},
            {"--set", SetHelp()},
            {"--tables", std::string(kTablesHelp)},
            {"--json",
                "one JSON object per line and file: \"file\", \"mode\",\n"
                "\"status\", \"valid\", \"message\" (the limit message),\n"
                "\"error\", \"fields\", \"units\" (of \"labels\", and \"kg\"\n"
                "of \"values\"), \"labels\" (Label12 to Label30),\n"
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
            {"--help", std::string(kHelpHelp)},
        },
        .notes = "Plain output shows the results panel, caption and text, or the limit\n"
                 "message; errors go to standard error and name the file and the line.\n"
                 "Ctrl+C during a Maximum Range search acts as the Abort button; the files\n"
                 "after it are not solved (exit status 130). A second Ctrl+C ends at once.\n",
        .exitStatus = kStatusHelp,
        .statusNote = "A batch exits with the highest status of its files.\n",
        .check = CheckSolve,
    };
}

CommandDef SweepCommand()
{
    return {
        .command = Command::Sweep,
        .name = "sweep",
        .operands = "SETUP.MRX",
        .summary = "solve a setup file over varied fields",
        .otherUsage = "SETUP.MRX --vary FIELD=VALUES [--vary FIELD=VALUES]... [OPTION]...",
        .description
        = "Solves the setup file once for every combination of the varied fields'\n"
          "values, each point as solve --set would solve it: the file is loaded, the\n"
          "--set texts apply, then the point's values in the order of the --vary\n"
          "options. At most 1000000 points; more are refused before any is solved.\n",
        .options = {
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
            {"--units", std::string(kUnitsHelp)},
            {"--plan", std::string(kPlanHelp)},
            {"--winds", std::string(kWindsHelp)},
            {"--winds-time", std::string(kWindsTimeHelp)},
            {"--set", "replace a field's text, as in solve, before the\nvaried values"},
            {"--tables", std::string(kTablesHelp)},
            {"--csv", "a header line, then a line per point"},
            {"--json",
                "one object per line and point, as solve --json gives\n"
                "it, with \"point\": the varied fields and their texts"},
            {"--help", std::string(kHelpHelp)},
        },
        .notes = "Each point gives a line: the varied values, valid, status, TripFuel,\n"
                 "MinTakeoffFuel, TakeoffWeight, LandingWeight, MaxRange or MaxPayload in\n"
                 "those modes, LimitedBy (kg, NM; blank unless valid) and the limit message\n"
                 "or the error; with --units lb the masses are in lb and their columns say so\n"
                 "(TripFuel_lb). Without --csv or --json the line is an aligned table row;\n"
                 "at most one of them is allowed. Lines are written as points are solved.\n"
                 "Ctrl+C stops after the point being solved (exit status 130).\n",
        .exitStatus = kStatusHelp,
        .statusNote = "The sweep exits with the highest status of its points.\n",
        .check = CheckSweep,
    };
}

} // namespace mirovax::cli
