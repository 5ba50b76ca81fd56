#include "refdata/airports.h"

#include "table_files.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST_F(AirportLookups, CalculateButton)
{
    EXPECT_EQ(CalculateDistance(m_table, "AAAA", "BBBB"), "60");
    EXPECT_EQ(CalculateDistance(m_table, "aaaa", "cccc"), "5400"); // codes in lower case are found
    // A destination that matches nothing reads the origin twice.
    EXPECT_EQ(CalculateDistance(m_table, "BBBB", "ZZZZ"), "0");
    // An origin that matches nothing reads the airport current before: BBBB.
    EXPECT_EQ(CalculateDistance(m_table, "ZZZZ", "CCCC"), DistanceText(At(1, 0), At(0, 90)));
    // An empty code is looked up like any other text and matches nothing.
    EXPECT_EQ(CalculateDistance(m_table, "", "AAAA"), "5400");
}

TEST_F(AirportLookups, AlternateButton)
{
    AlternateData data = AlternateLookup(m_table, "CCCC", "AAAA");
    EXPECT_EQ(data.elevation, "433");
    EXPECT_EQ(data.distance, "5400");
    // The elevation is the alternate's even when the destination is unknown.
    data = AlternateLookup(m_table, "BBBB", "QQQQ");
    EXPECT_EQ(data.elevation, "-12");
    EXPECT_EQ(data.distance, "0");
    // An unknown alternate yields the airport current before, BBBB.
    data = AlternateLookup(m_table, "QQQQ", "AAAA");
    EXPECT_EQ(data.elevation, "-12");
    EXPECT_EQ(data.distance, "60");
}

TEST(AirportLookupsOnAnEmptyTable, GiveNoElevationAndZeroDistance)
{
    ScratchDir dir;
    const std::string path = dir.file("Airports.DB");
    MakeDatabase(path, {"CREATE TABLE Airports (ICAO TEXT, elevation TEXT, Feld5 REAL, Feld6 REAL)"});
    TTable table;
    table.Open(path);
    EXPECT_EQ(CalculateDistance(table, "KSFO", "KBFI"), "0");
    const AlternateData data = AlternateLookup(table, "KSEA", "KBFI");
    EXPECT_EQ(data.elevation, "");
    EXPECT_EQ(data.distance, "0");
}

TEST(ShippedAirportTable, HoldsTheDefaultRoute)
{
    TTable table;
    table.Open(testing::BesideExecutable("Airports.DB"));
    EXPECT_GT(table.RecordCount(), 4000);
    EXPECT_EQ(CalculateDistance(table, "KSFO", "KBFI"), "595");
    const AlternateData data = AlternateLookup(table, "KSEA", "KBFI");
    EXPECT_EQ(data.elevation, "433");
    EXPECT_EQ(data.distance, "5");
    // Frankfurt to Sydney and back: a long way, the same either way round.
    EXPECT_EQ(CalculateDistance(table, "EDDF", "YSSY"), CalculateDistance(table, "YSSY", "EDDF"));
}

} // namespace
} // namespace mirovax
