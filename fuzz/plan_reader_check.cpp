#include "plan_reader_check.h"

#include "flightplan/plan_readers.h"

#include <cmath>
#include <exception>
#include <string_view>

namespace mirovax {

namespace {

FlightPlan Read(PlanFormat format, std::string_view bytes)
{
    switch (format) {
    case PlanFormat::LittleNavmap:
        return ReadLittleNavmap(bytes);
    case PlanFormat::FlightSimulator:
        return ReadFlightSimulatorPln(bytes);
    case PlanFormat::XPlane:
        return ReadXPlaneFms(bytes);
    case PlanFormat::Garmin:
        return ReadGarminFpl(bytes);
    case PlanFormat::SimBrief:
        return ReadSimBriefOfp(bytes);
    }
    return ParseFlightPlan(bytes);
}

bool SameWaypoints(const std::vector<PlanWaypoint>& a, const std::vector<PlanWaypoint>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].ident != b[i].ident || a[i].type != b[i].type || a[i].latitude != b[i].latitude
            || a[i].longitude != b[i].longitude)
            return false;
    }
    return true;
}

} // namespace

std::string CheckPlanReader(PlanFormat format, const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FlightPlan plan;
    try {
        plan = Read(format, bytes);
    } catch (const FlightPlanError&) {
        return "";
    } catch (const std::exception& e) {
        return std::string("unexpected error from the reader: ") + e.what();
    }
    if (plan.format != format)
        return "the reader returned another format";
    if (plan.waypoints.size() < 2)
        return "a plan with fewer than two waypoints";
    for (const PlanWaypoint& waypoint : plan.waypoints) {
        if (!(std::fabs(waypoint.latitude) <= 90.0) || !(std::fabs(waypoint.longitude) <= 180.0))
            return "a waypoint outside the latitudes and longitudes";
    }
    const double route = RouteDistanceNm(plan.waypoints);
    const double direct = DirectDistanceNm(plan.waypoints);
    if (!std::isfinite(route) || !std::isfinite(direct) || route < 0 || direct < 0)
        return "a distance that is not a finite length";
    if (plan.departure.empty() && !plan.waypoints.front().ident.empty())
        return "no departure although the first waypoint has an ident";
    try {
        const FlightPlan detected = ParseFlightPlan(bytes);
        if (detected.format != format || !SameWaypoints(detected.waypoints, plan.waypoints)
            || detected.departure != plan.departure || detected.destination != plan.destination
            || detected.notes != plan.notes)
            return "reading without naming the format gives another plan";
    } catch (const std::exception& e) {
        return std::string("the plan is refused without naming its format: ") + e.what();
    }
    return "";
}

} // namespace mirovax
