#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Flight plans made in other planners, read into one route record: the
// airports, the cruise altitude and the waypoints with their positions.
// Nothing is ever written back to such a file. No Qt.
namespace mirovax {

enum class PlanFormat { LittleNavmap, FlightSimulator, XPlane, Garmin, SimBrief };

// The format's name as messages and `mirovax-cli plan` print it: "Little
// Navmap", "Flight Simulator PLN", "X-Plane FMS", "Garmin FPL", "SimBrief
// OFP".
std::string_view PlanFormatName(PlanFormat format);

struct PlanWaypoint {
    std::string ident;
    std::string type; // as the file names it; may be empty
    double latitude = 0; // degrees, north positive
    double longitude = 0; // degrees, east positive
};

struct FlightPlan {
    PlanFormat format = PlanFormat::LittleNavmap;
    std::string departure; // ICAO code as in the file
    std::string destination;
    std::vector<std::string> alternates; // in the file's order
    std::optional<double> cruiseAltitudeFt;
    // The placed waypoints in flying order, the departure first and the
    // destination last where the file places them.
    std::vector<PlanWaypoint> waypoints;
    // The plan's average wind component in kt, headwind positive (this
    // program's sign), where the file has one.
    std::optional<double> averageHeadwindKt;
    // What the reader could not take into the route, one sentence each
    // (procedures stored by name only are not in the distance).
    std::vector<std::string> notes;
};

// A file that is none of the formats, or one that cannot be read as its
// format; what() says why, naming the file where one was read.
class FlightPlanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Larger files are refused before they are parsed.
inline constexpr std::size_t kMaxFlightPlanBytes = std::size_t{10} * 1024 * 1024;

// Reads a plan from its bytes, recognising the format from the content.
// Throws FlightPlanError.
FlightPlan ParseFlightPlan(std::string_view content);

// Reads the plan file at path; every error names the file. Throws
// FlightPlanError.
FlightPlan ReadFlightPlan(const std::string& path);

// The sum of the legs' great-circle distances in NM (the airport table's
// formula), before rounding.
double RouteDistanceNm(const std::vector<PlanWaypoint>& waypoints);
// The great-circle distance in NM between the first and the last waypoint,
// before rounding.
double DirectDistanceNm(const std::vector<PlanWaypoint>& waypoints);

} // namespace mirovax
