#include "cli_plan.h"

#include "apps/cli/cli_commands.h"
#include "engine/text_format.h"
#include "textio/json_text.h"

namespace mirovax::cli {

namespace {

constexpr const char* kProgram = "mirovax-cli: ";

void CheckPlan(const CliOptions& options)
{
    CheckOperandCount(options, 1, 1, "plan: expected one flight plan file");
}

std::string CruiseLevel(const FlightPlan& plan)
{
    if (!plan.cruiseAltitudeFt || *plan.cruiseAltitudeFt <= 0)
        return "";
    return FormatRounded(*plan.cruiseAltitudeFt / 100.0);
}

std::string JsonList(const std::vector<std::string>& texts)
{
    std::string out = "[";
    for (size_t i = 0; i < texts.size(); ++i)
        out += (i == 0 ? "" : ", ") + JsonString(texts[i]);
    return out + "]";
}

} // namespace

CommandDef PlanCommand()
{
    return {
        .command = Command::Plan,
        .name = "plan",
        .operands = "FILE",
        .summary = "what a flight plan of another planner holds",
        .otherUsage = {},
        .description
        = "Reads a flight plan as the window's Open Flight Plan reads it and prints\n"
          "what was read: the format, the departure, destination and alternates, the\n"
          "cruise level, the number of waypoints, the route distance (the sum of its\n"
          "legs' great-circle distances, rounded as the Calculate button rounds) and\n"
          "the great-circle distance from the first to the last waypoint (NM), and\n"
          "any note. Little Navmap (.lnmpln), Flight Simulator (.pln), X-Plane (.fms),\n"
          "Garmin (.fpl) and SimBrief OFP (XML) files are recognised by their content.\n",
        .options = {
            {"--json",
                "one JSON object: \"file\", \"format\", \"departure\",\n"
                "\"destination\", \"alternates\", \"cruiseLevel\", \"waypoints\"\n"
                "(their identifiers), \"routeDistanceNm\", \"greatCircleNm\",\n"
                "\"averageHeadwindKt\" and \"notes\"; null where the plan has none"},
            {"--help", std::string(kHelpHelp)},
        },
        .notes = {},
        .exitStatus = "Exit status:\n"
                      "  0   the plan was read\n"
                      "  4   the file cannot be read as a flight plan (the reason is named)\n"
                      "  64  wrong usage\n",
        .statusNote = {},
        .check = CheckPlan,
    };
}

std::optional<PlanRequest> ReadPlanOption(const CliOptions& options, const std::string& airportTable)
{
    if (!options.planFile)
        return std::nullopt;
    PlanRequest request;
    request.path = *options.planFile;
    request.plan = ReadFlightPlan(request.path);
    if (!request.plan.alternates.empty()) {
        request.airports = std::make_shared<TTable>();
        request.airports->Open(airportTable);
    }
    return request;
}

int ShowPlan(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    const std::string& path = options.operands.at(0);
    FlightPlan plan;
    try {
        plan = ReadFlightPlan(path);
    } catch (const FlightPlanError& e) {
        err << kProgram << e.what() << '\n';
        return kExitFileOrTable;
    }
    const std::string format(PlanFormatName(plan.format));
    const std::string route = FormatRounded(RouteDistanceNm(plan.waypoints));
    const std::string direct = FormatRounded(DirectDistanceNm(plan.waypoints));
    const std::string level = CruiseLevel(plan);
    const std::string wind = plan.averageHeadwindKt ? FormatRounded(*plan.averageHeadwindKt) : "";
    if (options.json) {
        std::vector<std::string> idents;
        for (const PlanWaypoint& w : plan.waypoints)
            idents.push_back(w.ident);
        out << "{\"file\": " << JsonString(path) << ", \"format\": " << JsonString(format)
            << ", \"departure\": " << JsonString(plan.departure)
            << ", \"destination\": " << JsonString(plan.destination)
            << ", \"alternates\": " << JsonList(plan.alternates)
            << ", \"cruiseLevel\": " << (level.empty() ? "null" : level)
            << ", \"waypoints\": " << JsonList(idents) << ", \"routeDistanceNm\": " << route
            << ", \"greatCircleNm\": " << direct
            << ", \"averageHeadwindKt\": " << (wind.empty() ? "null" : wind)
            << ", \"notes\": " << JsonList(plan.notes) << "}\n";
        return kExitValid;
    }
    std::string alternates;
    for (const std::string& a : plan.alternates)
        alternates += (alternates.empty() ? "" : " ") + a;
    out << "file: " << path << '\n'
        << "format: " << format << '\n'
        << "departure: " << plan.departure << '\n'
        << "destination: " << plan.destination << '\n'
        << "alternates: " << alternates << '\n'
        << "cruise level: " << (level.empty() ? "" : "FL " + level) << '\n'
        << "waypoints: " << plan.waypoints.size() << '\n'
        << "route distance: " << route << " NM\n"
        << "great-circle distance: " << direct << " NM\n";
    if (!wind.empty())
        out << "average wind: " << wind << " kts (headwind positive)\n";
    for (const std::string& note : plan.notes)
        out << "note: " << note << '\n';
    return kExitValid;
}

} // namespace mirovax::cli
