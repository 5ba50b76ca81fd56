#include "flightplan/flight_plan.h"
#include "flightplan/plan_readers.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace mirovax {
namespace {

// Seattle to Portland by three navaids, every position on a ten-thousandth
// of a degree so that it is exact in seconds with two decimals as well.
struct Point {
    std::string ident;
    std::string type;
    int xplaneType;
    double latitude;
    double longitude;
};
const std::vector<Point> kRoute = {
    {"KSEA", "AIRPORT", 1, 47.4490, -122.3093},
    {"SEA", "VOR", 3, 47.4353, -122.3097},
    {"OLM", "VOR", 3, 46.9714, -122.9017},
    {"BTG", "VOR", 3, 45.7478, -122.5922},
    {"KPDX", "AIRPORT", 1, 45.5887, -122.5975},
};
// By the haversine formula on a sphere of 10800 / pi NM radius.
constexpr double kRouteNm = 121.73529922458269;
constexpr double kDirectNm = 112.25020114382656;

std::string Decimal(double value, int decimals = 4)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Dms(double value, char positive, char negative, const std::string& degreeSign)
{
    const long hundredths = std::lround(std::fabs(value) * 360000.0); // of a second
    char text[64];
    std::snprintf(text, sizeof text, "%c%ld%s %ld' %ld.%02ld\"", value < 0 ? negative : positive,
        hundredths / 360000, degreeSign.c_str(), hundredths % 360000 / 6000, hundredths % 6000 / 100,
        hundredths % 100);
    return text;
}

std::string Lnm(const std::string& extra = "")
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LittleNavmap>\n<Flightplan>\n"
                      "<Header><CruisingAlt>35000</CruisingAlt></Header>\n"
                      "<Alternates><Alternate><Ident>KEUG</Ident></Alternate></Alternates>\n"
        + extra + "<Waypoints>\n";
    for (const Point& p : kRoute) {
        xml += "<Waypoint><Ident>" + p.ident + "</Ident><Type>" + p.type + "</Type><Pos Lon=\""
            + Decimal(p.longitude) + "\" Lat=\"" + Decimal(p.latitude) + "\" Alt=\"0\"/></Waypoint>\n";
    }
    return xml + "</Waypoints>\n</Flightplan>\n</LittleNavmap>\n";
}

std::string Pln(const std::string& degreeSign = "\xC2\xB0", const std::string& extra = "")
{
    std::string xml
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SimBase.Document Type=\"AceXML\" version=\"1,0\">\n"
          "<FlightPlan.FlightPlan>\n<CruisingAlt>35000</CruisingAlt>\n"
          "<DepartureID>KSEA</DepartureID>\n<DestinationID>KPDX</DestinationID>\n";
    for (const Point& p : kRoute) {
        xml += "<ATCWaypoint id=\"" + p.ident + "\"><ATCWaypointType>" + p.type + "</ATCWaypointType>"
            + (p.ident == "SEA" ? extra : "") + "<WorldPosition>" + Dms(p.latitude, 'N', 'S', degreeSign)
            + "," + Dms(p.longitude, 'E', 'W', degreeSign) + ",+000000.00</WorldPosition></ATCWaypoint>\n";
    }
    return xml + "</FlightPlan.FlightPlan>\n</SimBase.Document>\n";
}

std::string Fms(const std::string& header = "", bool old = false)
{
    std::string text = old ? "I\n3 version\n1\n4\n"
                           : "I\n1100 Version\nCYCLE 2301\nADEP KSEA\nADES KPDX\n" + header + "NUMENR 5\n";
    for (std::size_t i = 0; i < kRoute.size(); ++i) {
        const Point& p = kRoute[i];
        const std::string via = old ? "" : i == 0 ? " ADEP" : i + 1 == kRoute.size() ? " ADES" : " DRCT";
        text += std::to_string(p.xplaneType) + " " + p.ident + via + " 0.000000 " + Decimal(p.latitude, 6)
            + " " + Decimal(p.longitude, 6) + "\r\n";
    }
    return text;
}

std::string Fpl()
{
    std::string table;
    std::string route;
    for (const Point& p : kRoute) {
        table += "<waypoint><identifier>" + p.ident + "</identifier><type>" + p.type
            + "</type><country-code>K1</country-code><lat>" + Decimal(p.latitude) + "</lat><lon>"
            + Decimal(p.longitude) + "</lon></waypoint>\n";
        route += "<route-point><waypoint-identifier>" + p.ident + "</waypoint-identifier><waypoint-type>"
            + p.type + "</waypoint-type><waypoint-country-code>K1</waypoint-country-code></route-point>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<flight-plan xmlns=\"http://www8.garmin.com/xmlschemas/FlightPlan/v1\">\n<waypoint-table>\n"
        + table + "</waypoint-table>\n<route>\n" + route + "</route>\n</flight-plan>\n";
}

std::string Ofp(
    const std::string& general = "<avg_wind_comp>-12</avg_wind_comp>", const std::string& fixFlag = "0")
{
    const auto airport = [](const char* element, const Point& p) {
        return "<" + std::string(element) + "><icao_code>" + p.ident + "</icao_code><pos_lat>"
            + Decimal(p.latitude) + "</pos_lat><pos_long>" + Decimal(p.longitude) + "</pos_long></" + element
            + ">\n";
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OFP>\n<general><initial_altitude>35000"
                      "</initial_altitude>"
        + general + "</general>\n" + airport("origin", kRoute.front()) + airport("destination", kRoute.back())
        + "<alternate><icao_code>KEUG</icao_code></alternate>\n<navlog>\n";
    // As the file lists them: the destination is the last fix, the origin
    // is not a fix.
    for (std::size_t i = 1; i < kRoute.size(); ++i) {
        xml += "<fix><ident>" + kRoute[i].ident + "</ident><type>vor</type><pos_lat>"
            + Decimal(kRoute[i].latitude) + "</pos_lat><pos_long>" + Decimal(kRoute[i].longitude)
            + "</pos_long><is_sid_star>" + fixFlag + "</is_sid_star></fix>\n";
    }
    return xml + "</navlog>\n</OFP>\n";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string ErrorOf(const std::function<void()>& read)
{
    try {
        read();
    } catch (const FlightPlanError& e) {
        return e.what();
    }
    return "(no error)";
}

struct Sample {
    const char* corpus; // fuzz target
    const char* file;
    std::string content;
};

// Every sample a test reads, and the fuzz targets' seeds.
std::vector<Sample> Samples()
{
    return {
        {"plan_lnm", "route.lnmpln", Lnm()},
        {"plan_lnm", "procedures.lnmpln",
            Lnm("<Procedures><SID><Name>BANGR9</Name></SID><Approach><ARINC>I10R</ARINC>"
                "</Approach></Procedures>\n")},
        {"plan_pln", "route.pln", Pln()},
        {"plan_pln", "asterisk.pln", Pln("*", "<DepartureFP>BANGR9</DepartureFP>")},
        {"plan_pln", "latin1.pln", Pln("\xB0")},
        {"plan_fms", "route.fms", Fms()},
        {"plan_fms", "procedures.fms", Fms("SID BANGR9\nSTAR HHOOD4\nAPP I10R\n")},
        {"plan_fms", "version3.fms", Fms("", true)},
        {"plan_fpl", "route.fpl", Fpl()},
        {"plan_ofp", "route.xml", Ofp()},
        {"plan_ofp", "named.xml", Ofp("<avg_wind_comp>25</avg_wind_comp><sid_ident>BANGR9</sid_ident>")},
    };
}

const Sample& Find(const std::vector<Sample>& samples, const std::string& file)
{
    for (const Sample& sample : samples) {
        if (file == sample.file)
            return sample;
    }
    throw std::logic_error(file);
}

TEST(FlightPlan, OneRouteReadsAlikeInEveryFormat)
{
    testing::ScratchDir dir;
    const std::vector<Sample> samples = Samples();
    if (const char* corpus = std::getenv("MIROVAX_WRITE_FLIGHTPLAN_CORPUS")) {
        for (const Sample& sample : samples) {
            std::filesystem::create_directories(std::filesystem::path(corpus) / sample.corpus);
            testing::WriteFile(std::filesystem::path(corpus) / sample.corpus / sample.file, sample.content);
        }
    }
    const struct {
        const char* file;
        PlanFormat format;
        FlightPlan (*reader)(std::string_view);
        bool cruiseAndAlternate;
    } cases[] = {
        {"route.lnmpln", PlanFormat::LittleNavmap, ReadLittleNavmap, true},
        {"route.pln", PlanFormat::FlightSimulator, ReadFlightSimulatorPln, false},
        {"route.fms", PlanFormat::XPlane, ReadXPlaneFms, false},
        {"route.fpl", PlanFormat::Garmin, ReadGarminFpl, false},
        {"route.xml", PlanFormat::SimBrief, ReadSimBriefOfp, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.file(c.file);
        testing::WriteFile(path, Find(samples, c.file).content);
        const FlightPlan plan = ReadFlightPlan(path);
        EXPECT_EQ(plan.format, c.format);
        EXPECT_EQ(c.reader(Find(samples, c.file).content).waypoints.size(), kRoute.size());
        EXPECT_EQ(plan.departure, "KSEA");
        EXPECT_EQ(plan.destination, "KPDX");
        ASSERT_EQ(plan.waypoints.size(), kRoute.size());
        for (std::size_t i = 0; i < kRoute.size(); ++i) {
            EXPECT_EQ(plan.waypoints[i].ident, kRoute[i].ident);
            // Degrees, minutes and seconds sum to the decimal within a
            // rounding; every other format gives the same decimal.
            EXPECT_NEAR(plan.waypoints[i].latitude, kRoute[i].latitude, 1e-12);
            EXPECT_NEAR(plan.waypoints[i].longitude, kRoute[i].longitude, 1e-12);
        }
        if (c.format == PlanFormat::FlightSimulator)
            EXPECT_NEAR(
                RouteDistanceNm(plan.waypoints), RouteDistanceNm(ReadLittleNavmap(Lnm()).waypoints), 1e-9);
        else
            EXPECT_EQ(RouteDistanceNm(plan.waypoints), RouteDistanceNm(ReadLittleNavmap(Lnm()).waypoints));
        EXPECT_NEAR(RouteDistanceNm(plan.waypoints), kRouteNm, 1e-6);
        EXPECT_NEAR(DirectDistanceNm(plan.waypoints), kDirectNm, 1e-6);
        EXPECT_EQ(plan.cruiseAltitudeFt,
            c.cruiseAndAlternate || c.format == PlanFormat::FlightSimulator ? std::optional<double>(35000)
                                                                            : std::nullopt);
        EXPECT_EQ(plan.alternates,
            c.cruiseAndAlternate ? std::vector<std::string>{"KEUG"} : std::vector<std::string>{});
        EXPECT_TRUE(plan.notes.empty());
    }
    EXPECT_EQ(PlanFormatName(PlanFormat::XPlane), "X-Plane FMS");
}

TEST(FlightPlan, NotesWindSignAndOtherNotations)
{
    const std::vector<Sample> samples = Samples();
    const auto read = [&](const char* file) { return ParseFlightPlan(Find(samples, file).content); };
    const FlightPlan reference = read("route.pln");
    // The degree sign as '*' and in Latin-1 reads as in UTF-8; the old
    // X-Plane form without its via column as the new.
    for (const char* file : {"asterisk.pln", "latin1.pln"})
        EXPECT_EQ(RouteDistanceNm(read(file).waypoints), RouteDistanceNm(reference.waypoints)) << file;
    const std::string declaredLatin1 = Replaced(Find(samples, "latin1.pln").content, "UTF-8", "ISO-8859-1");
    EXPECT_EQ(
        RouteDistanceNm(ParseFlightPlan(declaredLatin1).waypoints), RouteDistanceNm(reference.waypoints));
    EXPECT_EQ(RouteDistanceNm(read("version3.fms").waypoints), RouteDistanceNm(read("route.fms").waypoints));
    EXPECT_EQ(read("version3.fms").departure, "KSEA");

    const std::string named = "Procedures named without their fixes are not in the distance: ";
    EXPECT_EQ(
        read("procedures.lnmpln").notes, std::vector<std::string>{named + "SID BANGR9, approach I10R."});
    EXPECT_EQ(read("asterisk.pln").notes, std::vector<std::string>{named + "SID BANGR9."});
    EXPECT_EQ(read("procedures.fms").notes,
        std::vector<std::string>{named + "SID BANGR9, STAR HHOOD4, approach I10R."});
    EXPECT_EQ(read("named.xml").notes, std::vector<std::string>{named + "SID BANGR9."});
    // Its fixes flagged as the SID's: the procedure is in the distance.
    EXPECT_TRUE(ParseFlightPlan(Ofp("<sid_ident>BANGR9</sid_ident>", "1")).notes.empty());

    // SimBrief's wind component is positive for a tailwind; headwind is
    // positive here, and a calm is +0, not -0.
    EXPECT_EQ(read("route.xml").averageHeadwindKt, 12.0);
    EXPECT_EQ(read("named.xml").averageHeadwindKt, -25.0);
    const std::optional<double> calm
        = ParseFlightPlan(Ofp("<avg_wind_comp>0</avg_wind_comp>")).averageHeadwindKt;
    ASSERT_TRUE(calm.has_value());
    EXPECT_FALSE(std::signbit(*calm));
    EXPECT_FALSE(read("route.lnmpln").averageHeadwindKt.has_value());
}

TEST(FlightPlan, RefusesWhatItCannotRead)
{
    const std::string lnm = Lnm();
    const std::string doctype = "<?xml version=\"1.0\"?>\n<!DOCTYPE LittleNavmap>\n<LittleNavmap/>";
    const struct {
        std::string content;
        std::string message;
    } cases[] = {
        {"KSEA DCT KPDX", "not a flight plan in a format this program reads"},
        {"<gpx version=\"1.1\"/>", "the XML root element \"gpx\" is none of"},
        {"<flight-plan/>", "the XML root element \"flight-plan\" is none of"},
        {Replaced(lnm, "</Waypoints>", "</Waypoint>"), "line 12: malformed XML: Start-end tags mismatch"},
        {doctype, "line 2: document type declarations are not read"},
        {"<!DOCTYPE x [\n<!ENTITY a \"b\">]>\n<LittleNavmap>&a;</LittleNavmap>",
            "line 2: entity declarations are not"},
        {std::string(kMaxFlightPlanBytes + 1, ' '), "larger than 10 MiB"},
        {Replaced(lnm, "<Waypoint><Ident>SEA", "<Waypoint><Ident>SEA</Ident></Waypoint><Waypoint><Ident>S"),
            "line 8: waypoint \"SEA\" has no position"},
        {"<LittleNavmap><Flightplan/></LittleNavmap>", "the plan places fewer than two waypoints"},
        {Replaced(lnm, "Lat=\"47.4353\"", "Lat=\"90.0001\""),
            "line 8: the latitude of waypoint \"SEA\" is outside -90"},
        {Replaced(Fms(), "-122.901700", "-180.5"),
            "line 9: the longitude of waypoint \"OLM\" is outside -180"},
        {Replaced(lnm, "Lat=\"47.4353\"", "Lat=\"47,4353\""),
            "latitude of waypoint \"SEA\" is not a number: \"47,4353\""},
        {Replaced(lnm, "Lat=\"47.4353\"", "Lat=\"0x2F\""), "is not a number: \"0x2F\""},
        {Replaced(lnm, "Lat=\"47.4353\"", "Lat=\"\""), "is not a number: \"\""},
        {Replaced(lnm, "Lat=\"47.4353\"", "Lat=\"nan\""), "is not a finite number: \"nan\""},
        {Replaced(lnm, "Lon=\"-122.3097\"", "Lon=\"-1e999\""), "is not a finite number: \"-1e999\""},
        {Replaced(lnm, "35000", "FL350"), "the cruise altitude is not a number"},
        {Replaced(Fpl(), "<waypoint-identifier>OLM</waypoint-identifier><waypoint-type>VOR",
             "<waypoint-identifier>OLM</waypoint-identifier><waypoint-type>NDB"),
            "route point \"OLM\" (type \"NDB\", country code \"K1\") is not in the waypoint table"},
        {Replaced(Pln(), "<ATCWaypoint id=\"OLM\">", "<ATCWaypoint id=\"OLM\"/><ATCWaypoint id=\"X\">"),
            "line 9: waypoint \"OLM\" has no WorldPosition and cannot be placed"},
        {Replaced(Pln(), "N46\xC2\xB0 58'", "N46\xC2\xB0 60'"),
            "of waypoint \"OLM\" is not in degrees, minutes and"},
        {Replaced(Fms(), "1100 Version", "1000 Version"), "line 2: X-Plane FMS version \"1000\" is not read"},
        {Replaced(Fms(), " DRCT 0.000000 46", " 46"),
            "line 9: a waypoint line is type, ident, via, altitude"},
    };
    for (const auto& c : cases)
        EXPECT_NE(ErrorOf([&] { ParseFlightPlan(c.content); }).find(c.message), std::string::npos)
            << c.message << "\n  got: " << ErrorOf([&] { ParseFlightPlan(c.content); });

    // A reader for one format refuses the others.
    EXPECT_EQ(
        ErrorOf([&] { ReadGarminFpl(lnm); }), "not a Garmin FPL plan: its root element is \"LittleNavmap\"");
    EXPECT_EQ(ErrorOf([&] { ReadLittleNavmap(Fms()); }), "not a Little Navmap plan: not an XML document");
    EXPECT_NE(ErrorOf([&] { ReadXPlaneFms(lnm); }).find("not an X-Plane FMS plan"), std::string::npos);

    // A file's errors name it; a large file is refused before it is read.
    testing::ScratchDir dir;
    const std::string missing = dir.file("missing.pln");
    EXPECT_EQ(ErrorOf([&] { ReadFlightPlan(missing); }),
        missing + ": the file cannot be opened: it does not exist");
    testing::WriteFile(dir.file("bad.lnmpln"), doctype);
    EXPECT_EQ(ErrorOf([&] { ReadFlightPlan(dir.file("bad.lnmpln")); }),
        dir.file("bad.lnmpln") + ": line 2: document type declarations are not read in a flight plan");
    std::filesystem::resize_file(dir.file("bad.lnmpln"), kMaxFlightPlanBytes + 1);
    EXPECT_NE(
        ErrorOf([&] { ReadFlightPlan(dir.file("bad.lnmpln")); }).find("bad.lnmpln: the file is larger than"),
        std::string::npos);
}

} // namespace
} // namespace mirovax
