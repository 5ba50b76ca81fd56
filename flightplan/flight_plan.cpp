#include "flightplan/flight_plan.h"

#include "flightplan/plan_readers.h"
#include "plan_parse.h"
#include "refdata/airports.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace mirovax {

namespace {

bool LooksLikeXPlane(std::string_view content)
{
    const std::size_t firstEnd = content.find('\n');
    if (firstEnd == std::string_view::npos)
        return false;
    const std::string_view origin = plan::Trimmed(content.substr(0, firstEnd));
    return origin == "I" || origin == "A";
}

} // namespace

std::string_view PlanFormatName(PlanFormat format)
{
    switch (format) {
    case PlanFormat::LittleNavmap:
        return "Little Navmap";
    case PlanFormat::FlightSimulator:
        return "Flight Simulator PLN";
    case PlanFormat::XPlane:
        return "X-Plane FMS";
    case PlanFormat::Garmin:
        return "Garmin FPL";
    case PlanFormat::SimBrief:
        return "SimBrief OFP";
    }
    return "unknown";
}

FlightPlan ParseFlightPlan(std::string_view content)
{
    const std::string_view text = plan::CheckedContent(content);
    if (plan::LooksLikeXml(text))
        return plan::ReadXml(text, std::nullopt);
    if (LooksLikeXPlane(text))
        return ReadXPlaneFms(text);
    plan::Fail("not a flight plan in a format this program reads (Little Navmap, Flight Simulator PLN, "
               "X-Plane FMS, Garmin FPL or SimBrief OFP)");
}

FlightPlan ReadFlightPlan(const std::string& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        throw FlightPlanError(path + ": the file cannot be opened: it does not exist");
    if (!std::filesystem::is_regular_file(status))
        throw FlightPlanError(path + ": not a regular file");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxFlightPlanBytes)
        throw FlightPlanError(path + ": " + plan::TooLargeMessage());
    std::ifstream file(path, std::ios::binary);
    if (error || !file)
        throw FlightPlanError(path + ": the file cannot be opened");
    // One byte beyond the size taken, so that a file grown since is still
    // refused when it has grown too large.
    std::string content(static_cast<std::size_t>(size) + 1, '\0');
    file.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (file.bad())
        throw FlightPlanError(path + ": the file cannot be read");
    content.resize(static_cast<std::size_t>(file.gcount()));
    try {
        return ParseFlightPlan(content);
    } catch (const FlightPlanError& e) {
        throw FlightPlanError(path + ": " + e.what());
    }
}

double RouteDistanceNm(const std::vector<PlanWaypoint>& waypoints)
{
    double distance = 0;
    for (std::size_t i = 1; i < waypoints.size(); ++i) {
        distance += GreatCircleNm(PositionFromDegrees(waypoints[i - 1].latitude, waypoints[i - 1].longitude),
            PositionFromDegrees(waypoints[i].latitude, waypoints[i].longitude));
    }
    return distance;
}

double DirectDistanceNm(const std::vector<PlanWaypoint>& waypoints)
{
    if (waypoints.size() < 2)
        return 0;
    return GreatCircleNm(PositionFromDegrees(waypoints.front().latitude, waypoints.front().longitude),
        PositionFromDegrees(waypoints.back().latitude, waypoints.back().longitude));
}

} // namespace mirovax
