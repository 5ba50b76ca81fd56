// Reading a 1,000-waypoint flight plan in each format and measuring its route.
// Target: at most 5 ms per plan, format recognition and distance included.
#include "flightplan/flight_plan.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kWaypoints = 1000;

// A zigzag across North America, a hundredth of a degree apart in the
// notations every format writes.
struct Point {
    std::string ident;
    double latitude;
    double longitude;
};

Point At(int i)
{
    char ident[16];
    std::snprintf(ident, sizeof ident, "WP%03d", i);
    return {ident, 30.0 + (i % 7) * 0.25 + i * 0.01, -120.0 + i * 0.05};
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string Dms(double value, char positive, char negative)
{
    const long hundredths = std::lround(std::fabs(value) * 360000.0);
    char text[48];
    std::snprintf(text, sizeof text, "%c%ld\xC2\xB0 %ld' %ld.%02ld\"", value < 0 ? negative : positive,
        hundredths / 360000, hundredths % 360000 / 6000, hundredths % 6000 / 100, hundredths % 100);
    return text;
}

std::string LittleNavmap()
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LittleNavmap><Flightplan><Waypoints>\n";
    for (int i = 0; i < kWaypoints; ++i) {
        const Point p = At(i);
        xml += "<Waypoint><Ident>" + p.ident + "</Ident><Type>WAYPOINT</Type><Pos Lon=\""
            + Number(p.longitude) + "\" Lat=\"" + Number(p.latitude) + "\" Alt=\"35000\"/></Waypoint>\n";
    }
    return xml + "</Waypoints></Flightplan></LittleNavmap>\n";
}

std::string FlightSimulator()
{
    std::string xml
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SimBase.Document><FlightPlan.FlightPlan>\n";
    for (int i = 0; i < kWaypoints; ++i) {
        const Point p = At(i);
        xml += "<ATCWaypoint id=\"" + p.ident
            + "\"><ATCWaypointType>Intersection</ATCWaypointType><WorldPosition>" + Dms(p.latitude, 'N', 'S')
            + "," + Dms(p.longitude, 'E', 'W') + ",+035000.00</WorldPosition></ATCWaypoint>\n";
    }
    return xml + "</FlightPlan.FlightPlan></SimBase.Document>\n";
}

std::string XPlane()
{
    std::string text = "I\n1100 Version\nCYCLE 2301\nNUMENR " + std::to_string(kWaypoints) + "\n";
    for (int i = 0; i < kWaypoints; ++i) {
        const Point p = At(i);
        text += "11 " + p.ident + " DRCT 35000.000000 " + Number(p.latitude) + " " + Number(p.longitude)
            + "\n";
    }
    return text;
}

std::string Garmin()
{
    std::string table;
    std::string route;
    for (int i = 0; i < kWaypoints; ++i) {
        const Point p = At(i);
        table += "<waypoint><identifier>" + p.ident
            + "</identifier><type>INT</type><country-code>K2</country-code><lat>" + Number(p.latitude)
            + "</lat><lon>" + Number(p.longitude) + "</lon></waypoint>\n";
        route += "<route-point><waypoint-identifier>" + p.ident
            + "</waypoint-identifier><waypoint-type>INT</waypoint-type><waypoint-country-code>K2"
              "</waypoint-country-code></route-point>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<flight-plan "
           "xmlns=\"http://www8.garmin.com/xmlschemas/FlightPlan/v1\"><waypoint-table>\n"
        + table + "</waypoint-table><route>\n" + route + "</route></flight-plan>\n";
}

std::string SimBrief()
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OFP><general><initial_altitude>35000"
                      "</initial_altitude><avg_wind_comp>-12</avg_wind_comp></general><navlog>\n";
    for (int i = 0; i < kWaypoints; ++i) {
        const Point p = At(i);
        xml += "<fix><ident>" + p.ident + "</ident><type>wpt</type><pos_lat>" + Number(p.latitude)
            + "</pos_lat><pos_long>" + Number(p.longitude)
            + "</pos_long><is_sid_star>0</is_sid_star></fix>\n";
    }
    return xml + "</navlog></OFP>\n";
}

void ReadPlan(benchmark::State& state, std::string (*make)())
{
    const std::string content = make();
    for (auto _ : state) {
        const mirovax::FlightPlan plan = mirovax::ParseFlightPlan(content);
        benchmark::DoNotOptimize(mirovax::RouteDistanceNm(plan.waypoints));
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(content.size()));
}
BENCHMARK_CAPTURE(ReadPlan, LittleNavmap, LittleNavmap)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadPlan, FlightSimulator, FlightSimulator)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadPlan, XPlane, XPlane)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadPlan, Garmin, Garmin)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadPlan, SimBrief, SimBrief)->Unit(benchmark::kMillisecond);

} // namespace
