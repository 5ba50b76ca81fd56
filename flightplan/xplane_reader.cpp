// X-Plane's FMS text format, version 1100 (X-Plane 11 and 12) and the older
// version 3.
#include "flightplan/plan_readers.h"
#include "plan_parse.h"
#include "textio/text_encoding.h"

#include <charconv>
#include <vector>

namespace mirovax {

namespace {

using plan::Fail;
using plan::Quoted;

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t", at)) != std::string_view::npos) {
        const std::size_t end = line.find_first_of(" \t", at);
        fields.push_back(line.substr(at, end - at));
        at = end;
    }
    return fields;
}

bool IsInteger(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

} // namespace

FlightPlan ReadXPlaneFms(std::string_view content)
{
    const std::string_view text = plan::CheckedContent(content);
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(plan::Trimmed(text.substr(at, end - at)));
        at = end + 1;
    }
    // "I" (or "A"), then "1100 Version" or "3 version".
    if (lines.size() < 2 || (lines[0] != "I" && lines[0] != "A"))
        Fail("not an X-Plane FMS plan: the first line is not \"I\" or \"A\"");
    const std::vector<std::string_view> version = Fields(lines[1]);
    if (version.size() != 2 || !EqualsIgnoringAsciiCase(version[1], "version"))
        Fail("line 2: not an X-Plane FMS plan: the second line is not its version");
    const bool hasVia = version[0] == "1100";
    if (!hasVia && version[0] != "3")
        Fail("line 2: X-Plane FMS version " + Quoted(version[0]) + " is not read (1100 and 3 are)");

    FlightPlan plan;
    plan.format = PlanFormat::XPlane;
    std::vector<std::string> procedures;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string line = "line " + std::to_string(i + 1) + ": ";
        const std::vector<std::string_view> fields = Fields(lines[i]);
        if (fields.empty())
            continue;
        if (!IsInteger(fields[0])) {
            // A header line; those not needed here (CYCLE, NUMENR, the
            // runways, the transitions) are passed over.
            const std::string value = fields.size() > 1 ? std::string(fields[1]) : std::string();
            if (fields[0] == "ADEP" || fields[0] == "DEP")
                plan.departure = value;
            else if (fields[0] == "ADES" || fields[0] == "DES")
                plan.destination = value;
            else if (fields[0] == "SID" || fields[0] == "STAR")
                procedures.push_back(std::string(fields[0]) + (value.empty() ? "" : " " + value));
            else if (fields[0] == "APP")
                procedures.push_back("approach" + (value.empty() ? "" : " " + value));
            continue;
        }
        // Version 3 has two lines of a single number (the route's origin
        // flag and its waypoint count) before the waypoints.
        if (!hasVia && fields.size() == 1)
            continue;
        const std::size_t expected = hasVia ? 6 : 5;
        if (fields.size() != expected)
            Fail(line
                + (hasVia ? "a waypoint line is type, ident, via, altitude, latitude and longitude"
                          : "a waypoint line is type, ident, altitude, latitude and longitude"));
        const std::string ident(fields[1]);
        try {
            plan::ParseNumber(fields[expected - 3], "the altitude of waypoint " + Quoted(ident));
            const double latitude
                = plan::ParseNumber(fields[expected - 2], "the latitude of waypoint " + Quoted(ident));
            const double longitude
                = plan::ParseNumber(fields[expected - 1], "the longitude of waypoint " + Quoted(ident));
            plan.waypoints.push_back(plan::Placed(ident, std::string(fields[0]), latitude, longitude));
        } catch (const FlightPlanError& e) {
            Fail(line + e.what());
        }
    }
    if (!procedures.empty())
        plan.notes.push_back(plan::ProcedureNote(procedures));
    return plan::Finished(std::move(plan));
}

} // namespace mirovax
