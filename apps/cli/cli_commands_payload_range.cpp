// payload-range: the payload-range diagram of a setup file.
#include "cli_commands.h"

namespace mirovax::cli {

namespace {

void CheckPayloadRange(const CliOptions& options)
{
    CheckOperandCount(options, 1, 1, "payload-range: expected one setup file");
}

} // namespace

CommandDef PayloadRangeCommand()
{
    return {
        .command = Command::PayloadRange,
        .name = "payload-range",
        .operands = "SETUP.MRX",
        .summary = "payload-range diagram of a setup file",
        .otherUsage = {},
        .description
        = "Computes the payload-range diagram of the setup file, as the window's\n"
          "Payload-Range command draws it: the file is read as solve reads it, then\n"
          "the Maximum Range search runs for evenly spaced payloads from the largest\n"
          "that the zero fuel weight and the allowable landing weight allow down to\n"
          "zero, plus the corners where the binding limit changes. Each point gives\n"
          "the payload (kg), the range (NM) and the limit that ends the search; each\n"
          "corner the limit that binds from it on.\n",
        .options = {
            {"--points", "evenly spaced payloads, 2 to 10000 (default 50)"},
            {"--airplane", "pick another airplane type, as in solve"},
            {"--units",
                "kg (the default) or lb: --set masses are typed in it,\n"
                "and the table, --csv (\"payload_lb\") and --svg are in it;\n"
                "--json stays in kg"},
            {"--plan", std::string(kPlanHelp)},
            {"--winds", std::string(kWindsHelp)},
            {"--winds-time", std::string(kWindsTimeHelp)},
            {"--set", "replace a field's text, as in solve"},
            {"--tables", std::string(kTablesHelp)},
            {"--csv", "\"payload,range,limitedBy,corner,bindsFromHere\" and a line per point"},
            {"--json",
                "{\"points\": [{\"payload\": ..., \"range\": ...,\n"
                "\"limitedBy\": ..., \"bindsFromHere\": ...}, ...]}, numbers at full precision"},
            {"--svg",
                "write the diagram as an SVG picture to FILE (\"-\":\n"
                "standard output), with the setup's mission marked"},
            {"--help", std::string(kHelpHelp)},
        },
        .notes = "Without --csv, --json or --svg a table is printed, and where the setup's\n"
                 "mission (payload over trip distance) lies. At most one of them is allowed.\n",
        .exitStatus = "Exit status:\n"
                      "  0   the diagram was computed\n"
                      "  2   inputs unusable (the field that keeps it from being drawn is named)\n"
                      "  3   the diagram cannot be drawn (an arithmetic fault, a fuel below 0 kg,\n"
                      "      a wind not below the true airspeed, no payload within the limits, or\n"
                      "      limits that never bind)\n"
                      "  4   a file or table error\n"
                      "  64  wrong usage\n",
        .statusNote = {},
        .check = CheckPayloadRange,
    };
}

} // namespace mirovax::cli
