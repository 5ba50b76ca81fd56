#include "refdata/airports.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace mirovax {
namespace {

using testing::MakeDatabase;
using testing::ScratchDir;

constexpr double kDegree = 3.14159265358979323846 / 180;

GeoPosition At(double latitudeDegrees, double longitudeDegrees)
{
    return {latitudeDegrees * kDegree, -longitudeDegrees * kDegree};
}

TEST(GreatCircle, KnownDistances)
{
    struct Case {
        const char* what;
        GeoPosition first;
        GeoPosition second;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"one degree along a meridian", At(10, 20), At(11, 20), "60"},
        {"ninety degrees along the equator", At(0, 0), At(0, 90), "5400"},
        {"the same point on the equator", At(0, 45), At(0, 45), "0"},
        {"the same point far north", At(47.529999, -122.302002), At(47.529999, -122.302002), "0"},
        {"the poles", At(90, 0), At(-90, 0), "10800"},
        {"antipodes on the equator", At(0, 0), At(0, 180), "10800"},
        {"antipodes elsewhere", At(37.61899948120117, -122.375), At(-37.61899948120117, 57.625), "10800"},
        {"across the date line", At(0, 179.5), At(0, -179.5), "60"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DistanceText(c.first, c.second), c.text);
        EXPECT_EQ(DistanceText(c.second, c.first), c.text);
        EXPECT_FALSE(std::isnan(GreatCircleNm(c.first, c.second)));
    }
    EXPECT_NEAR(GreatCircleNm(At(10, 20), At(11, 20)), 60.0, 1e-9);
    EXPECT_NEAR(GreatCircleNm(At(0, 0), At(0, 90)), 5400.0, 1e-9);
    EXPECT_LT(GreatCircleNm(At(0, 45), At(0, 45)), 1e-6);
    EXPECT_NEAR(GreatCircleNm(At(0, 0), At(0, 180)), 10800.0, 1e-9);
}

// A table in the program's layout: each test runs the button sequences on it.
class AirportLookups : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string path = m_dir.file("Airports.DB");
        MakeDatabase(path,
            {
                "CREATE TABLE Airports (ICAO TEXT, elevation TEXT, Feld5 REAL, Feld6 REAL)",
                "CREATE INDEX Airports_ICAO ON Airports (ICAO COLLATE NOCASE)",
                "INSERT INTO Airports VALUES ('AAAA', '100', 0, 0)",
                "INSERT INTO Airports VALUES ('BBBB', '-12', 1, 0)",
                "INSERT INTO Airports VALUES ('CCCC', '433', 0, 90)",
            });
        m_table.Open(path);
    }

    ScratchDir m_dir;
    TTable m_table;
};

// Each lookup as the buttons make it: what they fill in, or the first code
// the table does not hold.
TEST_F(AirportLookups, Buttons)
{
    struct Case {
        const char* first;
        const char* second;
        std::optional<std::string> distance;
        std::optional<std::string> elevation; // Alternate only
        std::optional<std::string> unknown;
    };
    const std::vector<Case> calculate = {
        {"AAAA", "BBBB", "60", {}, {}},
        {"aaaa", "cccc", "5400", {}, {}}, // codes in lower case are found
        // A code that matches nothing gives no distance: neither the origin
        // read twice nor the airport current before.
        {"BBBB", "ZZZZ", {}, {}, "ZZZZ"},
        {"ZZZZ", "CCCC", {}, {}, "ZZZZ"},
        {"", "AAAA", {}, {}, ""},
    };
    for (const Case& c : calculate) {
        SCOPED_TRACE(std::string("Calculate ") + c.first + " " + c.second);
        const DistanceLookup lookup = CalculateDistance(m_table, c.first, c.second);
        EXPECT_EQ(lookup.distance, c.distance);
        EXPECT_EQ(lookup.unknownCode, c.unknown);
    }
    const std::vector<Case> alternate = {
        {"CCCC", "AAAA", "5400", "433", {}},
        // The elevation is the alternate's even when the destination is
        // unknown; an unknown alternate gives nothing.
        {"BBBB", "QQQQ", {}, "-12", "QQQQ"},
        {"QQQQ", "AAAA", {}, {}, "QQQQ"},
    };
    for (const Case& c : alternate) {
        SCOPED_TRACE(std::string("Alternate ") + c.first + " " + c.second);
        const AlternateData data = AlternateLookup(m_table, c.first, c.second);
        EXPECT_EQ(data.distance, c.distance);
        EXPECT_EQ(data.elevation, c.elevation);
        EXPECT_EQ(data.unknownCode, c.unknown);
    }
    EXPECT_EQ(UnknownAirportMessage("QQQQ"), "Airport \"QQQQ\" is not in the airport table!");
}

TEST(AirportLookupsOnAnEmptyTable, FindNothing)
{
    ScratchDir dir;
    const std::string path = dir.file("Airports.DB");
    MakeDatabase(path, {"CREATE TABLE Airports (ICAO TEXT, elevation TEXT, Feld5 REAL, Feld6 REAL)"});
    TTable table;
    table.Open(path);
    EXPECT_EQ(CalculateDistance(table, "KSFO", "KBFI").unknownCode, "KSFO");
    const AlternateData data = AlternateLookup(table, "KSEA", "KBFI");
    EXPECT_EQ(data.unknownCode, "KSEA");
    EXPECT_FALSE(data.elevation);
}

TEST(ShippedAirportTable, HoldsTheDefaultRoute)
{
    TTable table;
    table.Open(testing::BesideExecutable("Airports.DB"));
    EXPECT_GT(table.RecordCount(), 4000);
    EXPECT_EQ(CalculateDistance(table, "KSFO", "KBFI").distance, "595");
    const AlternateData data = AlternateLookup(table, "KSEA", "KBFI");
    EXPECT_EQ(data.elevation, "433");
    EXPECT_EQ(data.distance, "5");
    // Frankfurt to Sydney and back: a long way, the same either way round.
    EXPECT_EQ(
        CalculateDistance(table, "EDDF", "YSSY").distance, CalculateDistance(table, "YSSY", "EDDF").distance);
}

} // namespace
} // namespace mirovax
