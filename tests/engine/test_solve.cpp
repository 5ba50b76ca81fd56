#include "engine/checked_math.h"
#include "engine/fuel_models.h"
#include "engine/solve.h"
#include "worked_data.h"

#include <gtest/gtest.h>

using namespace mirovax;
using mirovax::test::RecordingServices;
using mirovax::test::WorkedMission;

namespace {

void ExpectRounded(double value, double expected, double decimals, const char* what)
{
    const double scale = std::pow(10.0, decimals);
    EXPECT_EQ(std::nearbyint(value * scale) / scale, expected) << what << " = " << value;
}

} // namespace

TEST(TripTimeAndFuel, WorkedRun)
{
    TMissionData md = WorkedMission();
    RecordingServices services;
    SolveTripTimeAndFuel(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_TRUE(services.messages.empty());
    ExpectRounded(md.ZeroFuelWeight, 19000, 2, "ZeroFuelWeight");
    ExpectRounded(md.HoldingFuel, 1788.45, 2, "HoldingFuel");
    ExpectRounded(md.AlternateFuel, 817.88, 2, "AlternateFuel");
    ExpectRounded(md.TripFuel, 3062.53, 2, "TripFuel");
    ExpectRounded(md.ContingencyFuel, 153.13, 2, "ContingencyFuel");
    ExpectRounded(md.MinTakeoffFuel, 5822.00, 2, "MinTakeoffFuel");
    ExpectRounded(md.StillAirDistance, 621.12, 2, "StillAirDistance");
    ExpectRounded(md.TripTime, 1.3559, 4, "TripTime");
    ExpectRounded(md.ContingencyTime, 0.0678, 4, "ContingencyTime");
    ExpectRounded(md.MinTakeoffTime, 2.4019, 4, "MinTakeoffTime");
    ExpectRounded(md.AvgFuelFlow, 2258.75, 2, "AvgFuelFlow");
    ExpectRounded(md.TakeoffWeight, 24822.00, 2, "TakeoffWeight");
    ExpectRounded(md.LandingWeight, 21759.46, 2, "LandingWeight");
    // Not written by this mode.
    EXPECT_EQ(md.MaxRange, 0);
    EXPECT_EQ(md.MaxPayload, 0);
    EXPECT_EQ(md.LimitedBy, "");

    // The sums follow the stated order of addition, bit for bit.
    EXPECT_EQ(md.MinTakeoffFuel, ((md.HoldingFuel + md.ContingencyFuel) + md.TripFuel) + md.AlternateFuel);
    EXPECT_EQ(md.MinTakeoffTime, ((45.0 / 60 + md.AlternateTime) + md.TripTime) + md.ContingencyTime);
}

TEST(MaximumRange, WorkedRun)
{
    TMissionData md = WorkedMission();
    RecordingServices services;
    SolveMaximumRange(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_EQ(services.yields, 696);
    EXPECT_EQ(md.StillAirDistance, 697);
    ExpectRounded(md.MaxRange, 666.57, 2, "MaxRange");
    EXPECT_EQ(md.LimitedBy, "Tank Capacity");
    ExpectRounded(md.ZeroFuelWeight, 19000, 2, "ZeroFuelWeight");
    ExpectRounded(md.HoldingFuel, 1788.45, 2, "HoldingFuel");
    ExpectRounded(md.AlternateFuel, 817.88, 2, "AlternateFuel");
    ExpectRounded(md.TripFuel, 3395.76, 2, "TripFuel");
    EXPECT_EQ(md.ContingencyFuel, 0);
    ExpectRounded(md.MinTakeoffFuel, 6002.10, 2, "MinTakeoffFuel");
    ExpectRounded(md.TripTime, 1.5215, 4, "TripTime");
    ExpectRounded(md.ContingencyTime, 0.0761, 4, "ContingencyTime");
    ExpectRounded(md.MinTakeoffTime, 2.5758, 4, "MinTakeoffTime");
    ExpectRounded(md.AvgFuelFlow, 2231.85, 2, "AvgFuelFlow");
    ExpectRounded(md.TakeoffWeight, 25002.10, 2, "TakeoffWeight");
    ExpectRounded(md.LandingWeight, 21606.34, 2, "LandingWeight");
    EXPECT_EQ(md.MaxRange, 697 * md.GroundSpeed / md.TrueAirspeed);
}

TEST(MaximumPayload, WorkedRuns)
{
    TMissionData md = WorkedMission();
    md.MATOW = 24000;
    RecordingServices services;
    SolveMaximumPayload(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(services.yields, 0) << "this search does not yield";
    // 263rd pass: 262 subtractions of 10 kg.
    EXPECT_EQ(md.ZeroFuelWeight, 18380);
    ExpectRounded(md.TakeoffWeight, 23989.28, 2, "TakeoffWeight");
    ExpectRounded(md.MaxPayload, 4380, 2, "MaxPayload");
    EXPECT_EQ(md.LimitedBy, "Allowable Takeoff Weight");

    md = WorkedMission();
    md.MALW = 21000;
    SolveMaximumPayload(md, services);
    EXPECT_EQ(md.ZeroFuelWeight, 18440);
    ExpectRounded(md.MaxPayload, 4440, 2, "MaxPayload");
    EXPECT_EQ(md.LimitedBy, "Allowable Landing Weight");
}

TEST(MaximumPayload, MzfwMeetingBothLimitsTakesOnePass)
{
    TMissionData md = WorkedMission();
    md.MATOW = 1e6;
    md.MALW = 1e6;
    md.LimitedBy = "earlier";
    RecordingServices services;
    SolveMaximumPayload(md, services);
    EXPECT_EQ(md.ZeroFuelWeight, md.MZFW);
    EXPECT_EQ(md.LimitedBy, "Zero Fuel Weight");
    EXPECT_NEAR(md.MaxPayload, md.MZFW - md.DOW, 1e-9);
    EXPECT_EQ(md.ContingencyFuel, 0);
}

TEST(MaximumPayload, LandingLimitBetweenTwoSteps)
{
    TMissionData md = WorkedMission();
    md.MATOW = 1e6;
    // Find the landing weight at MZFW - 25 kg and make it the limit: the
    // passes at MZFW, -10 and -20 fail, the one at -30 passes.
    TMissionData probe = md;
    CalcHoldingFuel(probe, md.MZFW - 25, 1933, 45);
    const double holding = probe.HoldingFuel;
    CalcAlternateFuel(probe, md.MZFW - 25 + holding, 100);
    md.MALW = md.MZFW - 25 + holding + probe.AlternateFuel;
    RecordingServices services;
    SolveMaximumPayload(md, services);
    EXPECT_EQ(md.ZeroFuelWeight, md.MZFW - 30);
    EXPECT_EQ(md.LimitedBy, "Allowable Landing Weight");
}

TEST(MaximumPayload, SearchGoesBelowDowAndReportsNegativePayload)
{
    TMissionData md = WorkedMission();
    md.MATOW = 1e6;
    md.MALW = 14000; // below DOW plus holding and alternate fuel
    RecordingServices services;
    SolveMaximumPayload(md, services);
    EXPECT_LT(md.ZeroFuelWeight, md.DOW);
    EXPECT_LT(md.MaxPayload, 0);
}

TEST(MaximumPayload, DataWhereNoWeightPassesEndsWithAnError)
{
    TMissionData md = WorkedMission();
    md.MALW = -1; // no zero fuel weight can meet it
    RecordingServices services;
    EXPECT_THROW(SolveMaximumPayload(md, services), SearchError);

    md = WorkedMission();
    md.MZFW = 1e300; // 10 kg steps no longer change the weight
    md.MALW = 0;
    EXPECT_THROW(SolveMaximumPayload(md, services), SearchError);
}

TEST(MaximumPayload, ContingencyTimeIsCountedButNotItsFuel)
{
    TMissionData md = WorkedMission();
    md.ContingencyPercent = 10;
    RecordingServices services;
    SolveMaximumPayload(md, services);
    EXPECT_EQ(md.ContingencyFuel, 0);
    EXPECT_EQ(md.ContingencyTime, md.TripTime * 10 / 100);
    EXPECT_EQ(md.MinTakeoffTime, ((45.0 / 60 + md.AlternateTime) + md.TripTime) + md.ContingencyTime);
}

// Trip Time and Fuel at each limit edge: equal passes, 1 kg more stops with
// the message, and only the results computed before the check are written.
TEST(TripTimeAndFuel, LimitEdges)
{
    const TMissionData base = WorkedMission();
    TMissionData reference = base;
    RecordingServices quiet;
    SolveTripTimeAndFuel(reference, quiet);

    struct Case {
        const char* name;
        void (*set)(TMissionData&, const TMissionData& reference, double extra);
        const char* message;
    };
    const Case cases[] = {
        {"zero fuel", [](TMissionData& md, const TMissionData&, double extra) { md.MZFW = 19000 - extra; },
            "Maximum Zero Fuel Weight of 18999 kg exceeded!"},
        {"landing",
            [](TMissionData& md, const TMissionData& r, double extra) {
                md.MALW = r.ZeroFuelWeight + r.HoldingFuel + r.AlternateFuel - extra;
            },
            nullptr},
        {"takeoff",
            [](TMissionData& md, const TMissionData& r, double extra) { md.MATOW = r.TakeoffWeight - extra; },
            nullptr},
    };
    for (const Case& c : cases) {
        TMissionData md = base;
        c.set(md, reference, 0);
        RecordingServices services;
        SolveTripTimeAndFuel(md, services);
        EXPECT_TRUE(md.CalculationValid) << c.name << ": equal passes";
        EXPECT_TRUE(services.messages.empty()) << c.name;

        md = base;
        c.set(md, reference, 1);
        SolveTripTimeAndFuel(md, services);
        EXPECT_FALSE(md.CalculationValid) << c.name;
        ASSERT_EQ(services.messages.size(), 1u) << c.name;
        if (c.message) {
            EXPECT_EQ(services.messages[0], c.message);
        }
    }
}

TEST(TripTimeAndFuel, StopsWriteOnlyWhatWasComputed)
{
    TMissionData md = WorkedMission();
    md.HoldingFuel = md.TripFuel = md.LandingWeight = -7;
    md.MZFW = 18000;
    md.MATOW = 1; // also exceeded, but only the first limit is reported
    RecordingServices services;
    SolveTripTimeAndFuel(md, services);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0], "Maximum Zero Fuel Weight of 18000 kg exceeded!");
    EXPECT_EQ(md.ZeroFuelWeight, 19000);
    EXPECT_EQ(md.HoldingFuel, -7);
    EXPECT_EQ(md.TripFuel, -7);

    md = WorkedMission();
    md.LandingWeight = -7;
    md.MATOW = 24000.5;
    services.messages.clear();
    SolveTripTimeAndFuel(md, services);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0], "Maximum Allowable Takeoff Weight of 24000.5 kg exceeded!");
    EXPECT_NE(md.TakeoffWeight, 0);
    EXPECT_EQ(md.LandingWeight, -7);
}

TEST(TripTimeAndFuel, FuelAboveTankCapacityIsNotReported)
{
    TMissionData md = WorkedMission();
    md.TCAP = 100;
    RecordingServices services;
    SolveTripTimeAndFuel(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_TRUE(services.messages.empty());
}

TEST(TripTimeAndFuel, ZeroTripDistanceIsADivisionFault)
{
    TMissionData md = WorkedMission();
    md.TripDistance = 0;
    RecordingServices services;
    try {
        SolveTripTimeAndFuel(md, services);
        FAIL() << "no error";
    } catch (const ArithmeticError& e) {
        EXPECT_EQ(e.fault(), ArithmeticFault::ZeroDivide);
    }
    EXPECT_EQ(md.AvgFuelFlow, 0) << "nothing after the fault is written";
    EXPECT_EQ(md.TakeoffWeight, 0);
}

TEST(MaximumRange, LimitsBeforeTheSearch)
{
    TMissionData md = WorkedMission();
    md.MALW = 20000;
    md.TripFuel = -7;
    RecordingServices services;
    SolveMaximumRange(md, services);
    EXPECT_FALSE(md.CalculationValid);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0], "Maximum Allowable Landing Weight of 20000 kg exceeded!");
    EXPECT_EQ(services.yields, 0);
    EXPECT_EQ(md.TripFuel, -7);
}

TEST(MaximumRange, FirstDistanceAlreadyBreaksALimit)
{
    TMissionData md = WorkedMission();
    md.TCAP = 100;
    RecordingServices services;
    SolveMaximumRange(md, services);
    EXPECT_EQ(services.yields, 1);
    EXPECT_EQ(md.StillAirDistance, 2);
    EXPECT_EQ(md.MaxRange, 2 * md.GroundSpeed / md.TrueAirspeed);
    TMissionData probe = md;
    CalcTripFuel(probe, 1, 310, md.ZeroFuelWeight + md.HoldingFuel + md.AlternateFuel);
    EXPECT_EQ(md.TripFuel,
        (probe.TripFuel + (md.HoldingFuel + md.AlternateFuel)) - (md.HoldingFuel + md.AlternateFuel));
}

TEST(MaximumRange, TotalFuelEqualToTankCapacityGoesOn)
{
    TMissionData md = WorkedMission();
    TMissionData probe = md;
    RecordingServices services;
    SolveMaximumRange(probe, services);
    // Make the tank hold exactly the total fuel at 500 NAM.
    const double landing = probe.ZeroFuelWeight + probe.HoldingFuel + probe.AlternateFuel;
    CalcTripFuel(probe, 500, 310, landing);
    md.TCAP = probe.TripFuel + (probe.HoldingFuel + probe.AlternateFuel);
    RecordingServices s2;
    SolveMaximumRange(md, s2);
    EXPECT_EQ(md.StillAirDistance, 502) << "500 passes, 501 exceeds";
}

TEST(MaximumRange, BothLimitsInOnePassNameTheTakeoffWeight)
{
    // The takeoff weight is the zero fuel weight plus the total fuel, so a
    // MATOW of 19000 + TCAP is crossed in the same pass as the tank.
    TMissionData md = WorkedMission();
    md.MATOW = 25000;
    RecordingServices services;
    SolveMaximumRange(md, services);
    EXPECT_EQ(md.StillAirDistance, 697);
    EXPECT_EQ(md.LimitedBy, "Maximum Takeoff Weight");

    md = WorkedMission();
    md.MATOW = 24500;
    SolveMaximumRange(md, services);
    EXPECT_LT(md.StillAirDistance, 697);
    EXPECT_EQ(md.LimitedBy, "Maximum Takeoff Weight");
}

TEST(MaximumRange, AbortStopsAfterTheLastComputedPass)
{
    TMissionData md = WorkedMission();
    md.TCAP = 1e9;
    md.MATOW = 1e9;
    md.aC1 = md.aC2 = 0; // trip fuel never grows: only Abort ends the search
    RecordingServices services(&md, 250);
    SolveMaximumRange(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_EQ(services.yields, 251);
    EXPECT_EQ(md.StillAirDistance, 251) << "250 distances computed";
    EXPECT_EQ(md.LimitedBy, "Aborted by User");
    EXPECT_TRUE(services.messages.empty());
}

TEST(MaximumRange, AbortAtTheFirstPassStillComputesOneDistance)
{
    TMissionData md = WorkedMission();
    md.AbortRequested = true;
    RecordingServices services;
    SolveMaximumRange(md, services);
    EXPECT_EQ(services.yields, 2);
    EXPECT_EQ(md.StillAirDistance, 2);
    EXPECT_GT(md.TripFuel, 0);
    EXPECT_EQ(md.LimitedBy, "Aborted by User");
}

TEST(MaximumRange, ContingencyTimeIsCountedButNotItsFuel)
{
    TMissionData md = WorkedMission();
    md.ContingencyPercent = 10;
    RecordingServices services;
    SolveMaximumRange(md, services);
    EXPECT_EQ(md.ContingencyFuel, 0);
    EXPECT_EQ(md.ContingencyTime, md.TripTime * 10 / 100);
}
