// The XML formats: Little Navmap, Flight Simulator, Garmin and SimBrief.
#include "flightplan/plan_readers.h"
#include "plan_parse.h"

#include <pugixml.hpp>

#include <algorithm>
#include <map>
#include <utility>

namespace mirovax {

namespace {

using plan::Fail;
using plan::Quoted;

constexpr std::string_view kGarminNamespace = "http://www8.garmin.com/xmlschemas/FlightPlan/v1";

// Names without their namespace prefix: a Garmin file may bind its
// namespace to one.
std::string_view LocalName(pugi::xml_node node)
{
    std::string_view name = node.name();
    if (const std::size_t colon = name.find(':'); colon != std::string_view::npos)
        name.remove_prefix(colon + 1);
    return name;
}

pugi::xml_node Child(pugi::xml_node node, std::string_view name)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && LocalName(child) == name)
            return child;
    }
    return {};
}

template <typename Visit> void ForEachChild(pugi::xml_node node, std::string_view name, Visit visit)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && LocalName(child) == name)
            visit(child);
    }
}

std::string Text(pugi::xml_node node)
{
    return std::string(plan::Trimmed(node.child_value()));
}

// A parsed document that names the line of what it refuses. Nothing in it is
// ever expanded: document type and entity declarations are refused.
class XmlPlan {
public:
    explicit XmlPlan(std::string_view content)
        : m_content(content)
    {
        if (content.find("<!ENTITY") != std::string_view::npos)
            Fail(plan::LineAt(content, content.find("<!ENTITY"))
                + "entity declarations are not read in a flight plan");
        const pugi::xml_parse_result result = m_document.load_buffer(
            content.data(), content.size(), pugi::parse_default | pugi::parse_doctype);
        if (!result)
            Fail(plan::LineAt(content, static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0)))
                + "malformed XML: " + result.description());
        for (pugi::xml_node node = m_document.first_child(); node; node = node.next_sibling()) {
            if (node.type() == pugi::node_doctype)
                Fail(At(node) + "document type declarations are not read in a flight plan");
        }
    }

    pugi::xml_node Root() const { return m_document.document_element(); }

    std::string At(pugi::xml_node node) const
    {
        const std::ptrdiff_t offset = node.offset_debug();
        return offset < 0 ? std::string() : plan::LineAt(m_content, static_cast<std::size_t>(offset));
    }

    double Number(pugi::xml_node node, std::string_view text, const std::string& what) const
    {
        try {
            return plan::ParseNumber(text, what);
        } catch (const FlightPlanError& e) {
            throw FlightPlanError(At(node) + e.what());
        }
    }

    // The number in an element's text; none when the element is missing or
    // empty.
    std::optional<double> OptionalNumber(pugi::xml_node node, const std::string& what) const
    {
        const std::string text = Text(node);
        if (text.empty())
            return std::nullopt;
        return Number(node, text, what);
    }

    PlanWaypoint Placed(
        pugi::xml_node node, std::string ident, std::string type, double latitude, double longitude) const
    {
        try {
            return plan::Placed(std::move(ident), std::move(type), latitude, longitude);
        } catch (const FlightPlanError& e) {
            throw FlightPlanError(At(node) + e.what());
        }
    }

    [[noreturn]] void FailAt(pugi::xml_node node, const std::string& message) const
    {
        Fail(At(node) + message);
    }

private:
    std::string_view m_content;
    pugi::xml_document m_document;
};

void AddOnce(std::vector<std::string>& list, std::string item)
{
    if (std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(std::move(item));
}

std::string Procedure(std::string_view kind, const std::string& name)
{
    return name.empty() ? std::string(kind) : std::string(kind) + " " + name;
}

FlightPlan ReadLittleNavmapXml(const XmlPlan& xml)
{
    FlightPlan plan;
    plan.format = PlanFormat::LittleNavmap;
    const pugi::xml_node flightplan = Child(xml.Root(), "Flightplan");
    plan.cruiseAltitudeFt
        = xml.OptionalNumber(Child(Child(flightplan, "Header"), "CruisingAlt"), "the cruise altitude");
    ForEachChild(Child(flightplan, "Alternates"), "Alternate", [&](pugi::xml_node alternate) {
        if (std::string ident = Text(Child(alternate, "Ident")); !ident.empty())
            plan.alternates.push_back(std::move(ident));
    });
    std::vector<std::string> procedures;
    for (pugi::xml_node procedure : Child(flightplan, "Procedures").children()) {
        if (procedure.type() != pugi::node_element)
            continue;
        const std::string_view kind = LocalName(procedure) == "Approach" ? "approach" : LocalName(procedure);
        std::string name = Text(Child(procedure, "Name"));
        if (name.empty())
            name = Text(Child(procedure, "ARINC"));
        AddOnce(procedures, Procedure(kind, name));
    }
    if (!procedures.empty())
        plan.notes.push_back(plan::ProcedureNote(procedures));
    ForEachChild(Child(flightplan, "Waypoints"), "Waypoint", [&](pugi::xml_node waypoint) {
        std::string ident = Text(Child(waypoint, "Ident"));
        const pugi::xml_node pos = Child(waypoint, "Pos");
        if (!pos)
            xml.FailAt(waypoint, "waypoint " + Quoted(ident) + " has no position");
        const double latitude
            = xml.Number(pos, pos.attribute("Lat").value(), "the latitude of waypoint " + Quoted(ident));
        const double longitude
            = xml.Number(pos, pos.attribute("Lon").value(), "the longitude of waypoint " + Quoted(ident));
        plan.waypoints.push_back(
            xml.Placed(pos, std::move(ident), Text(Child(waypoint, "Type")), latitude, longitude));
    });
    return plan;
}

// One coordinate of a Flight Simulator WorldPosition: N47° 26' 56.82", the
// degree sign in UTF-8, Latin-1 or as '*'.
double DmsDegrees(std::string_view text, char positive, char negative, const std::string& what)
{
    const std::string_view part = plan::Trimmed(text);
    const auto malformed = [&]() { Fail(what + " is not in degrees, minutes and seconds: " + Quoted(part)); };
    if (part.empty() || (part.front() != positive && part.front() != negative))
        malformed();
    std::string_view rest = part.substr(1);
    const std::size_t degreeSign = rest.find_first_of("*\xB0\xC2");
    if (degreeSign == std::string_view::npos)
        malformed();
    const std::string_view degrees = rest.substr(0, degreeSign);
    rest.remove_prefix(degreeSign);
    if (rest.starts_with("\xC2\xB0"))
        rest.remove_prefix(2);
    else if (rest.front() == '*' || rest.front() == '\xB0')
        rest.remove_prefix(1);
    else
        malformed();
    const std::size_t minuteSign = rest.find('\'');
    const std::size_t secondSign = rest.find('"');
    if (minuteSign == std::string_view::npos || secondSign == std::string_view::npos
        || secondSign < minuteSign || !plan::Trimmed(rest.substr(secondSign + 1)).empty())
        malformed();
    const double d = plan::ParseNumber(degrees, what + " (degrees)");
    const double m = plan::ParseNumber(rest.substr(0, minuteSign), what + " (minutes)");
    const double s
        = plan::ParseNumber(rest.substr(minuteSign + 1, secondSign - minuteSign - 1), what + " (seconds)");
    if (!(d >= 0 && m >= 0 && m < 60 && s >= 0 && s < 60))
        malformed();
    const double value = d + m / 60.0 + s / 3600.0;
    return part.front() == positive ? value : -value;
}

FlightPlan ReadFlightSimulatorXml(const XmlPlan& xml)
{
    FlightPlan plan;
    plan.format = PlanFormat::FlightSimulator;
    const pugi::xml_node flightplan = Child(xml.Root(), "FlightPlan.FlightPlan");
    plan.departure = Text(Child(flightplan, "DepartureID"));
    plan.destination = Text(Child(flightplan, "DestinationID"));
    plan.cruiseAltitudeFt = xml.OptionalNumber(Child(flightplan, "CruisingAlt"), "the cruise altitude");

    // Procedures are named on the plan, in its departure and arrival
    // details, or on the waypoints where they begin and end.
    std::vector<std::string> procedures;
    const auto addProcedures = [&](pugi::xml_node node) {
        if (const std::string sid = Text(Child(node, "DepartureFP")); !sid.empty())
            AddOnce(procedures, Procedure("SID", sid));
        if (const std::string star = Text(Child(node, "ArrivalFP")); !star.empty())
            AddOnce(procedures, Procedure("STAR", star));
        if (std::string approach = Text(Child(node, "ApproachTypeFP")); !approach.empty()) {
            if (const std::string runway = Text(Child(node, "RunwayNumberFP")); !runway.empty())
                approach += " " + runway;
            AddOnce(procedures, Procedure("approach", approach));
        }
    };
    addProcedures(flightplan);
    for (const std::string_view details : {"DepartureDetails", "ArrivalDetails", "ApproachDetails"})
        addProcedures(Child(flightplan, details));

    ForEachChild(flightplan, "ATCWaypoint", [&](pugi::xml_node waypoint) {
        addProcedures(waypoint);
        std::string ident(plan::Trimmed(waypoint.attribute("id").value()));
        const pugi::xml_node position = Child(waypoint, "WorldPosition");
        if (!position)
            xml.FailAt(waypoint, "waypoint " + Quoted(ident) + " has no WorldPosition and cannot be placed");
        const std::string text = Text(position);
        const std::size_t comma = text.find(',');
        const std::size_t altitude = comma == std::string::npos ? comma : text.find(',', comma + 1);
        double latitude = 0;
        double longitude = 0;
        try {
            const std::string what = "the position of waypoint " + Quoted(ident);
            if (comma == std::string::npos)
                Fail(what + " is not a latitude and a longitude: " + Quoted(text));
            latitude = DmsDegrees(std::string_view(text).substr(0, comma), 'N', 'S', what);
            longitude
                = DmsDegrees(std::string_view(text).substr(comma + 1, altitude - comma - 1), 'E', 'W', what);
        } catch (const FlightPlanError& e) {
            xml.FailAt(position, e.what());
        }
        plan.waypoints.push_back(xml.Placed(
            position, std::move(ident), Text(Child(waypoint, "ATCWaypointType")), latitude, longitude));
    });
    if (!procedures.empty())
        plan.notes.push_back(plan::ProcedureNote(procedures));
    return plan;
}

FlightPlan ReadGarminXml(const XmlPlan& xml)
{
    FlightPlan plan;
    plan.format = PlanFormat::Garmin;
    // A route point names its table entry by identifier, type and country
    // code together; the same identifier is often both a VOR and an NDB.
    const auto key = [](const std::string& ident, const std::string& type, const std::string& country) {
        return ident + '\0' + type + '\0' + country;
    };
    std::map<std::string, PlanWaypoint> table;
    ForEachChild(Child(xml.Root(), "waypoint-table"), "waypoint", [&](pugi::xml_node waypoint) {
        std::string ident = Text(Child(waypoint, "identifier"));
        std::string type = Text(Child(waypoint, "type"));
        const pugi::xml_node lat = Child(waypoint, "lat");
        const pugi::xml_node lon = Child(waypoint, "lon");
        const double latitude
            = xml.Number(lat ? lat : waypoint, Text(lat), "the latitude of waypoint " + Quoted(ident));
        const double longitude
            = xml.Number(lon ? lon : waypoint, Text(lon), "the longitude of waypoint " + Quoted(ident));
        std::string entry = key(ident, type, Text(Child(waypoint, "country-code")));
        table.try_emplace(
            std::move(entry), xml.Placed(waypoint, std::move(ident), std::move(type), latitude, longitude));
    });
    ForEachChild(Child(xml.Root(), "route"), "route-point", [&](pugi::xml_node point) {
        const std::string ident = Text(Child(point, "waypoint-identifier"));
        const std::string type = Text(Child(point, "waypoint-type"));
        const std::string country = Text(Child(point, "waypoint-country-code"));
        const auto found = table.find(key(ident, type, country));
        if (found == table.end())
            xml.FailAt(point,
                "route point " + Quoted(ident) + " (type " + Quoted(type) + ", country code "
                    + Quoted(country) + ") is not in the waypoint table");
        plan.waypoints.push_back(found->second);
    });
    return plan;
}

FlightPlan ReadSimBriefXml(const XmlPlan& xml)
{
    FlightPlan plan;
    plan.format = PlanFormat::SimBrief;
    const pugi::xml_node root = xml.Root();
    const pugi::xml_node general = Child(root, "general");
    plan.cruiseAltitudeFt = xml.OptionalNumber(Child(general, "initial_altitude"), "the initial altitude");
    // The file's wind component is positive for a tailwind.
    if (const std::optional<double> wind
        = xml.OptionalNumber(Child(general, "avg_wind_comp"), "the average wind"))
        plan.averageHeadwindKt = 0.0 - *wind;
    ForEachChild(root, "alternate", [&](pugi::xml_node alternate) {
        if (std::string ident = Text(Child(alternate, "icao_code")); !ident.empty())
            plan.alternates.push_back(std::move(ident));
    });

    // A fix, airport or alternate placed where it has both coordinates.
    const auto placed
        = [&](pugi::xml_node node, std::string ident, std::string type) -> std::optional<PlanWaypoint> {
        const pugi::xml_node lat = Child(node, "pos_lat");
        const pugi::xml_node lon = Child(node, "pos_long");
        if (Text(lat).empty() || Text(lon).empty())
            return std::nullopt;
        const double latitude = xml.Number(lat, Text(lat), "the latitude of " + Quoted(ident));
        const double longitude = xml.Number(lon, Text(lon), "the longitude of " + Quoted(ident));
        return xml.Placed(node, std::move(ident), std::move(type), latitude, longitude);
    };
    const pugi::xml_node origin = Child(root, "origin");
    const pugi::xml_node destination = Child(root, "destination");
    plan.departure = Text(Child(origin, "icao_code"));
    plan.destination = Text(Child(destination, "icao_code"));

    std::vector<PlanWaypoint> fixes;
    bool procedureFixes = false;
    ForEachChild(Child(root, "navlog"), "fix", [&](pugi::xml_node fix) {
        procedureFixes = procedureFixes || Text(Child(fix, "is_sid_star")) == "1";
        if (auto waypoint = placed(fix, Text(Child(fix, "ident")), Text(Child(fix, "type"))))
            fixes.push_back(std::move(*waypoint));
    });
    if (auto start = placed(origin, plan.departure, "apt")) {
        if (!fixes.empty() && fixes.front().ident == start->ident)
            fixes.erase(fixes.begin());
        plan.waypoints.push_back(std::move(*start));
    }
    const std::optional<PlanWaypoint> end = placed(destination, plan.destination, "apt");
    if (end && !fixes.empty() && fixes.back().ident == end->ident)
        fixes.pop_back();
    plan.waypoints.insert(plan.waypoints.end(), fixes.begin(), fixes.end());
    if (end)
        plan.waypoints.push_back(*end);

    // The navlog lists a SID's and a STAR's fixes flagged as such; a plan
    // without them names procedures it does not place.
    std::vector<std::string> procedures;
    if (const std::string sid = Text(Child(general, "sid_ident")); !sid.empty())
        procedures.push_back(Procedure("SID", sid));
    if (const std::string star = Text(Child(general, "star_ident")); !star.empty())
        procedures.push_back(Procedure("STAR", star));
    if (!procedureFixes && !procedures.empty())
        plan.notes.push_back(plan::ProcedureNote(procedures));
    return plan;
}

// The format a document's root element names.
std::optional<PlanFormat> RootFormat(pugi::xml_node root)
{
    const std::string_view name = root.name();
    if (name == "LittleNavmap")
        return PlanFormat::LittleNavmap;
    if (name == "SimBase.Document")
        return PlanFormat::FlightSimulator;
    if (name == "OFP")
        return PlanFormat::SimBrief;
    if (LocalName(root) == "flight-plan") {
        const std::string_view prefix = name.substr(0, name.size() - LocalName(root).size());
        const std::string declaration
            = prefix.empty() ? "xmlns" : "xmlns:" + std::string(prefix.substr(0, prefix.size() - 1));
        if (root.attribute(declaration.c_str()).value() == kGarminNamespace)
            return PlanFormat::Garmin;
    }
    return std::nullopt;
}

} // namespace

FlightPlan plan::ReadXml(std::string_view content, std::optional<PlanFormat> expected)
{
    const std::string_view text = CheckedContent(content);
    if (expected && !LooksLikeXml(text))
        Fail("not a " + std::string(PlanFormatName(*expected)) + " plan: not an XML document");
    const XmlPlan xml(text);
    const std::optional<PlanFormat> format = RootFormat(xml.Root());
    if (expected && format != expected)
        Fail("not a " + std::string(PlanFormatName(*expected)) + " plan: its root element is "
            + Quoted(xml.Root().name()));
    if (!format)
        Fail("the XML root element " + Quoted(xml.Root().name())
            + " is none of a Little Navmap, Flight Simulator, Garmin FPL or SimBrief OFP plan");
    switch (*format) {
    case PlanFormat::LittleNavmap:
        return Finished(ReadLittleNavmapXml(xml));
    case PlanFormat::FlightSimulator:
        return Finished(ReadFlightSimulatorXml(xml));
    case PlanFormat::Garmin:
        return Finished(ReadGarminXml(xml));
    case PlanFormat::SimBrief:
        return Finished(ReadSimBriefXml(xml));
    case PlanFormat::XPlane:
        break;
    }
    Fail("not an XML plan");
}

FlightPlan ReadLittleNavmap(std::string_view content)
{
    return plan::ReadXml(content, PlanFormat::LittleNavmap);
}

FlightPlan ReadFlightSimulatorPln(std::string_view content)
{
    return plan::ReadXml(content, PlanFormat::FlightSimulator);
}

FlightPlan ReadGarminFpl(std::string_view content)
{
    return plan::ReadXml(content, PlanFormat::Garmin);
}

FlightPlan ReadSimBriefOfp(std::string_view content)
{
    return plan::ReadXml(content, PlanFormat::SimBrief);
}

} // namespace mirovax
