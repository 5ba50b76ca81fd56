#include "plan_parse.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace mirovax::plan {

namespace {

constexpr std::size_t kQuotedMax = 48;

} // namespace

void Fail(const std::string& message)
{
    throw FlightPlanError(message);
}

std::string TooLargeMessage()
{
    constexpr std::size_t kMiB = std::size_t{1024} * 1024;
    return "the file is larger than " + std::to_string(kMaxFlightPlanBytes / kMiB)
        + " MiB, more than any flight plan";
}

std::string_view CheckedContent(std::string_view content)
{
    if (content.size() > kMaxFlightPlanBytes)
        Fail(TooLargeMessage());
    if (content.starts_with("\xEF\xBB\xBF"))
        content.remove_prefix(3);
    return content;
}

bool LooksLikeXml(std::string_view content)
{
    // The XML parser converts UTF-16 itself.
    if (content.starts_with("\xFF\xFE") || content.starts_with("\xFE\xFF"))
        return true;
    const std::size_t first = content.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && content[first] == '<';
}

std::string LineAt(std::string_view content, std::size_t offset)
{
    const std::string_view before = content.substr(0, std::min(offset, content.size()));
    return "line " + std::to_string(std::count(before.begin(), before.end(), '\n') + 1) + ": ";
}

std::string_view Trimmed(std::string_view text)
{
    constexpr std::string_view kSpace = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

std::string Quoted(std::string_view text)
{
    if (text.size() > kQuotedMax)
        return "\"" + std::string(text.substr(0, kQuotedMax)) + "...\"";
    return "\"" + std::string(text) + "\"";
}

double ParseNumber(std::string_view text, const std::string& what)
{
    const std::string_view number = Trimmed(text);
    // from_chars takes no plus sign, which some planners write.
    std::string_view digits = number;
    if (digits.starts_with('+') && digits.size() > 1 && digits[1] != '-')
        digits.remove_prefix(1);
    if (digits.empty())
        Fail(what + " is not a number: " + Quoted(number));
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::invalid_argument || end != digits.data() + digits.size())
        Fail(what + " is not a number: " + Quoted(number));
    if (error != std::errc() || !std::isfinite(value))
        Fail(what + " is not a finite number: " + Quoted(number));
    return value;
}

PlanWaypoint Placed(std::string ident, std::string type, double latitudeDeg, double longitudeDeg)
{
    if (!(latitudeDeg >= -90.0 && latitudeDeg <= 90.0))
        Fail("the latitude of waypoint " + Quoted(ident) + " is outside -90 to 90 degrees");
    if (!(longitudeDeg >= -180.0 && longitudeDeg <= 180.0))
        Fail("the longitude of waypoint " + Quoted(ident) + " is outside -180 to 180 degrees");
    return PlanWaypoint{std::move(ident), std::move(type), latitudeDeg, longitudeDeg};
}

std::string ProcedureNote(const std::vector<std::string>& procedures)
{
    if (procedures.empty())
        return {};
    std::string note = "Procedures named without their fixes are not in the distance: ";
    for (std::size_t i = 0; i < procedures.size(); ++i)
        note += (i == 0 ? "" : ", ") + procedures[i];
    return note + ".";
}

FlightPlan Finished(FlightPlan plan)
{
    if (plan.waypoints.size() < 2)
        Fail("the plan places fewer than two waypoints");
    if (plan.departure.empty())
        plan.departure = plan.waypoints.front().ident;
    if (plan.destination.empty())
        plan.destination = plan.waypoints.back().ident;
    return plan;
}

} // namespace mirovax::plan
