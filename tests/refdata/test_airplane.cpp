#include "refdata/airplane.h"

#include "engine/fuel_models.h"
#include "engine/solve.h"
#include "refdata/airports.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace mirovax {
namespace {

using testing::MakeDatabase;
using testing::ScratchDir;

const char* const kCreate
    = "CREATE TABLE Airplane (Type TEXT, Airframe TEXT, Engine TEXT, DOW REAL, MTOW REAL, MLAW REAL, MZFW "
      "REAL, "
      "TCAP REAL, MaxAlt REAL, Mach REAL, aH1 REAL, bH1 REAL, aH2 REAL, bH2 REAL, MaxHold REAL, aC1 REAL, "
      "bC1 REAL, "
      "aC2 REAL, bC2 REAL, MinCruise REAL, MaxCruise REAL, aC3 REAL, bC3 REAL, Reference TEXT)";

// A record whose numbers are 1 to 20 plus base, in the order they are read.
std::string Insert(const std::string& type, double mtow, double mlaw, double mzfw, int base)
{
    std::string sql
        = "INSERT INTO Airplane VALUES ('" + type + "', '" + type + " frame', '" + type + " engine'";
    for (int n = 1; n <= 20; ++n) {
        double value = base + n;
        if (n == 2)
            value = mtow;
        if (n == 3)
            value = mlaw;
        if (n == 4)
            value = mzfw;
        sql += ", " + std::to_string(value);
    }
    return sql + ", '" + type + " reference')";
}

class AirplaneTable : public ::testing::Test {
protected:
    void Open(const std::vector<std::string>& inserts)
    {
        std::vector<std::string> statements{kCreate};
        statements.insert(statements.end(), inserts.begin(), inserts.end());
        MakeDatabase(m_dir.file("Airplane.DB"), statements);
        m_table.Open(m_dir.file("Airplane.DB"));
    }

    ScratchDir m_dir;
    TTable m_table;
    TMissionData m_md;
};

TEST_F(AirplaneTable, LoadCopiesEveryConstantInOrderAndFillsThePanel)
{
    Open({Insert("A320", 78000, 66000, 62500, 100), Insert("B737-800", 79015.8, 66360.6, 62731.8, 200)});
    const AirplaneDisplay display = LoadAirplane(m_table, "b737-800", m_md);
    EXPECT_EQ(m_md.Airframe, "B737-800 frame");
    EXPECT_EQ(m_md.Engine, "B737-800 engine");
    EXPECT_EQ(m_md.Reference, "B737-800 reference");
    for (size_t n = 0; n < kAirplaneNumbers.size(); ++n) {
        SCOPED_TRACE(kAirplaneNumbers[n].name);
        if (n < 1 || n > 3) {
            EXPECT_EQ(m_md.*kAirplaneNumbers[n].member, 200 + static_cast<double>(n) + 1);
        }
    }
    EXPECT_EQ(m_md.MTOW, 79015.8);
    EXPECT_EQ(m_md.MZFW, 62731.8);

    const std::array<std::string, 10> labels = {"B737-800 frame", "B737-800 engine", "201 kg", "79015.8 kg",
        "66360.6 kg", "62731.8 kg", "205 kg", "206 ft", "207", "B737-800 reference"};
    EXPECT_EQ(display.labels, labels);
    EXPECT_EQ(display.matow, "79015.8");
    EXPECT_EQ(display.malw, "66360.6");
}

TEST_F(AirplaneTable, WeightFieldsGrowToSixDigitsAbove99999)
{
    struct Case {
        double weight;
        int length;
    };
    const std::vector<Case> cases = {{99999, 5}, {99999.5, 6}, {100000, 6}, {0, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.weight);
        ScratchDir dir;
        MakeDatabase(dir.file("Airplane.DB"), {kCreate, Insert("X", c.weight, c.weight, c.weight, 0)});
        TTable table;
        table.Open(dir.file("Airplane.DB"));
        const AirplaneDisplay display = LoadAirplane(table, "X", m_md);
        EXPECT_EQ(display.matowMaxLength, c.length);
        EXPECT_EQ(display.malwMaxLength, c.length);
        EXPECT_EQ(display.payloadMaxLength, c.length);
    }
}

TEST_F(AirplaneTable, AnUnknownTypeReloadsTheLastOneFound)
{
    Open({Insert("A320", 78000, 66000, 62500, 100), Insert("A321", 93500, 77800, 73800, 300),
        Insert("a320", 1, 1, 1, 500)});
    // At first the current record is the first.
    LoadAirplane(m_table, "", m_md);
    EXPECT_EQ(m_md.Airframe, "A320 frame");
    LoadAirplane(m_table, "A321", m_md);
    LoadAirplane(m_table, "A32", m_md); // typing: a prefix matches nothing
    EXPECT_EQ(m_md.Airframe, "A321 frame");
    EXPECT_EQ(m_md.MTOW, 93500);
    // Two types that differ in case: either name loads the first.
    LoadAirplane(m_table, "a320", m_md);
    EXPECT_EQ(m_md.MTOW, 78000);
}

TEST_F(AirplaneTable, AMissingFieldStopsTheLoadThereWithTheFieldNamed)
{
    MakeDatabase(m_dir.file("Airplane.DB"),
        {"CREATE TABLE Airplane (Type TEXT, Airframe TEXT, Engine TEXT, DOW REAL, "
         "MTOW REAL, MZFW REAL)",
            "INSERT INTO Airplane VALUES ('X', 'frame', 'engine', 40000, 70000, 60000)"});
    m_table.Open(m_dir.file("Airplane.DB"));
    m_md.MLAW = 12345;
    m_md.MZFW = 777;
    try {
        LoadAirplane(m_table, "X", m_md);
        FAIL() << "a table without MLAW must not load";
    } catch (const TableError& error) {
        EXPECT_NE(std::string(error.what()).find("\"MLAW\""), std::string::npos) << error.what();
    }
    EXPECT_EQ(m_md.Airframe, "frame");
    EXPECT_EQ(m_md.DOW, 40000);
    EXPECT_EQ(m_md.MTOW, 70000);
    EXPECT_EQ(m_md.MLAW, 12345); // untouched from the failing field on
    EXPECT_EQ(m_md.MZFW, 777);
}

TEST_F(AirplaneTable, AClosedTableTouchesNothing)
{
    m_md.Airframe = "before";
    EXPECT_THROW(LoadAirplane(m_table, "A320", m_md), TableError);
    EXPECT_EQ(m_md.Airframe, "before");
}

TEST_F(AirplaneTable, AnEmptyTableLoadsZerosAndEmptyTexts)
{
    Open({});
    m_md.MTOW = 5;
    m_md.Airframe = "before";
    const AirplaneDisplay display = LoadAirplane(m_table, "", m_md);
    EXPECT_EQ(m_md.MTOW, 0);
    EXPECT_EQ(m_md.Airframe, "");
    EXPECT_EQ(display.labels[3], "0 kg");
    EXPECT_EQ(display.labels[7], "0 ft");
    EXPECT_EQ(display.labels[8], "0");
    EXPECT_EQ(display.matow, "0");
    EXPECT_EQ(display.matowMaxLength, 5);
    EXPECT_TRUE(ReadTypesFromCurrent(m_table).empty());
}

TEST_F(AirplaneTable, TypesAreListedFromTheCurrentRecordInTableOrder)
{
    Open(
        {Insert("B", 1, 1, 1, 0), Insert("a", 1, 1, 1, 0), Insert("C", 1, 1, 1, 0), Insert("a", 1, 1, 1, 0)});
    EXPECT_EQ(ReadTypesFromCurrent(m_table), (std::vector<std::string>{"B", "a", "C", "a"}));
    EXPECT_TRUE(m_table.Eof());
    m_table.Locate("Type", "C");
    EXPECT_EQ(ReadTypesFromCurrent(m_table), (std::vector<std::string>{"C", "a"}));
}

// Records the limit reports a solve mode makes.
class RecordingServices : public IMissionServices {
public:
    void ReportLimit(const std::string& message) override { messages.push_back(message); }
    void YieldEvents() override { }
    std::vector<std::string> messages;
};

// The default entries with the first airplane of the shipped table, the
// route and alternate measured in the shipped airport table.
TMissionData DefaultMission()
{
    TTable airplanes;
    airplanes.Open(testing::BesideExecutable("Airplane.DB"));
    TTable airports;
    airports.Open(testing::BesideExecutable("Airports.DB"));
    TMissionData md;
    LoadAirplane(airplanes, "", md);
    md.Payload = 12000;
    md.FlightLevel = 310;
    md.OAT = -46;
    md.Wind = 0;
    md.MATOW = md.MTOW;
    md.MALW = md.MLAW;
    const AlternateData alternate = AlternateLookup(airports, "KSEA", "KBFI");
    md.AlternateElevation = std::stod(alternate.elevation.value());
    md.AlternateDistance = std::stod(alternate.distance.value());
    md.TripDistance = 594;
    md.HoldingTime = 45;
    md.HoldingAltitude = 1500;
    md.ContingencyPercent = 0;
    md.CalculationValid = true;
    return md;
}

TEST(ShippedAirplaneTable, TheFirstTypeFliesTheDefaultMissionInEveryMode)
{
    RecordingServices services;
    TMissionData md = DefaultMission();
    EXPECT_EQ(md.AlternateElevation, 433);
    EXPECT_EQ(md.AlternateDistance, 5);

    SolveTripTimeAndFuel(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_TRUE(services.messages.empty()) << services.messages.front();
    // Plausible figures for a narrow-body on a 600 NM trip.
    EXPECT_GT(md.TripFuel, 2500);
    EXPECT_LT(md.TripFuel, 6000);
    EXPECT_GT(md.HoldingFuel, 1000);
    EXPECT_LT(md.MinTakeoffFuel, md.TCAP);

    md = DefaultMission();
    SolveMaximumRange(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_GT(md.MaxRange, 1500);
    EXPECT_FALSE(md.LimitedBy.empty());

    md = DefaultMission();
    SolveMaximumPayload(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_GT(md.MaxPayload, 12000);
    EXPECT_LE(md.TakeoffWeight, md.MATOW);
}

TEST(ShippedAirplaneTable, EveryTypeLoadsWithSaneLimits)
{
    TTable airplanes;
    airplanes.Open(testing::BesideExecutable("Airplane.DB"));
    EXPECT_GE(airplanes.RecordCount(), 6);
    const std::vector<std::string> types = ReadTypesFromCurrent(airplanes);
    for (const std::string& type : types) {
        SCOPED_TRACE(type);
        TMissionData md;
        LoadAirplane(airplanes, type, md);
        EXPECT_LT(md.DOW, md.MZFW);
        EXPECT_LT(md.MZFW, md.MLAW);
        EXPECT_LT(md.MLAW, md.MTOW);
        EXPECT_GT(md.TCAP, 0);
        EXPECT_LT(md.MinCruise, md.MaxCruise);
        EXPECT_LE(md.MaxCruise * 100, md.MaxAlt) << "cruise lines above the ceiling";
        EXPECT_GT(md.MaxHold, 1500);
        EXPECT_NE(md.Reference.find("not for operational use"), std::string::npos);
    }
}

// The farthest still-air distance (NAM) whose trip fuel at the dry
// operating weight, on the more frugal cruise line, still fits the tanks: no
// trip of the type goes beyond it.
double FerryRange(TMissionData md)
{
    constexpr double kStep = 10; // NAM
    constexpr double kFarthest = 20000; // NAM; guards a line that never fills the tanks
    double distance = 0;
    for (; distance < kFarthest; distance += kStep) {
        CalcTripFuel(md, distance + kStep, md.MinCruise, md.DOW);
        const double low = md.TripFuel;
        CalcTripFuel(md, distance + kStep, md.MaxCruise, md.DOW);
        if (std::min(low, md.TripFuel) > md.TCAP)
            break;
    }
    return distance;
}

// Every weight, distance, level, altitude and time a mission can give each
// fuel model, chained as the solve modes chain them: holding at the zero fuel
// weight, alternate at that plus the holding fuel, trip at the landing weight
// without contingency. Levels and altitudes reach past the lines' ends, where
// the models clamp. Only a holding of 0 min may give 0 kg.
TEST(ShippedAirplaneTable, NoTypeGivesAFuelBelowZeroOverItsEnvelope)
{
    TTable airplanes;
    airplanes.Open(testing::BesideExecutable("Airplane.DB"));
    const std::vector<std::string> types = ReadTypesFromCurrent(airplanes);
    ASSERT_GE(types.size(), 6U);
    for (const std::string& type : types) {
        SCOPED_TRACE(type);
        TMissionData md;
        LoadAirplane(airplanes, type, md);
        const double range = FerryRange(md);
        // The sweep ends at the ferry range; a line that fills the tanks far
        // too early would end it short of the trips the type flies. Tanks
        // under 8 t (the ERJ-145LR's 4.1 t) need only reach 1900 NAM.
        EXPECT_GE(range, md.TCAP < 8000 ? 1900 : 2000) << "the sweep would miss the long trips";
        const double levels[] = {md.MinCruise - 50, md.MinCruise, (md.MinCruise + md.MaxCruise) / 2,
            md.MaxCruise, md.MaxCruise + 50};
        const double altitudes[] = {0, 1500, 8000, md.MaxHold, md.MaxHold + 5000}; // holding + elevation, ft
        // Where the sweep stands; -1 where a figure does not apply yet.
        struct {
            double zfw, altitude, minutes, alternate = -1, level = -1, distance = -1;
        } at{};
        long faults = 0;
        std::string first;
        auto check = [&](const char* what, double fuel, bool zeroAllowed) {
            if (fuel > 0 || (fuel == 0 && zeroAllowed) || faults++ > 0)
                return;
            char text[240];
            const auto size = sizeof text;
            auto n = static_cast<size_t>(
                std::snprintf(text, size, "%s %g kg at ZFW %g kg, holding %g min at %g ft", what, fuel,
                    at.zfw, at.minutes, at.altitude));
            if (at.alternate >= 0)
                n += static_cast<size_t>(
                    std::snprintf(text + n, size - n, ", alternate %g NM", at.alternate));
            if (at.distance >= 0)
                std::snprintf(text + n, size - n, ", FL %g, %g NAM", at.level, at.distance);
            first = text;
        };
        for (int z = 0; z <= 4; ++z) {
            at.zfw = md.DOW + (md.MZFW - md.DOW) * z / 4;
            for (const double altitude : altitudes) {
                at.altitude = altitude;
                for (const double minutes : {0.0, 1.0, 30.0, 60.0}) {
                    at.minutes = minutes;
                    at.alternate = at.level = at.distance = -1;
                    CalcHoldingFuel(md, at.zfw, altitude, minutes);
                    check("holding fuel", md.HoldingFuel, minutes == 0);
                    const double withHolding = at.zfw + md.HoldingFuel;
                    for (const double alternate : {0.0, 50.0, 250.0, 500.0}) {
                        at.alternate = alternate;
                        at.level = at.distance = -1;
                        CalcAlternateFuel(md, withHolding, alternate);
                        check("alternate fuel", md.AlternateFuel, false);
                        const double landing = withHolding + md.AlternateFuel;
                        for (const double level : levels) {
                            at.level = level;
                            for (at.distance = 0; at.distance <= range; at.distance += 50) {
                                CalcTripFuel(md, at.distance, level, landing);
                                check("trip fuel", md.TripFuel, false);
                            }
                        }
                    }
                }
            }
        }
        EXPECT_EQ(faults, 0) << "fuels at or below zero, the first: " << first;
    }
}

} // namespace
} // namespace mirovax
