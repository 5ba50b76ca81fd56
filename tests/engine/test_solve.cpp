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

using Solve = void (*)(TMissionData&, IMissionServices&);

// Runs a mode on md and gives the one limit message it reported: empty when
// there was none, a count when there were more.
std::string SolveMessage(TMissionData& md, Solve solve)
{
    RecordingServices services;
    solve(md, services);
    if (services.messages.size() > 1)
        return std::to_string(services.messages.size()) + " messages";
    return services.messages.empty() ? std::string() : services.messages[0];
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

// The search ends at a limit once the zero fuel weight falls below DOW,
// naming the limit it last stepped down for; a weight equal to DOW is tried.
TEST(MaximumPayload, NoPayloadBelowTheDryOperatingWeight)
{
    struct Case {
        const char* name;
        void (*set)(TMissionData&);
        const char* message;
    };
    const Case cases[] = {
        {"landing", [](TMissionData& md) { md.MALW = 14000; },
            "No payload fits within the Allowable Landing Weight!"},
        {"takeoff", [](TMissionData& md) { md.MATOW = 16000; },
            "No payload fits within the Allowable Takeoff Weight!"},
        {"tank", [](TMissionData& md) { md.TCAP = 2000; }, "No payload fits within the Tank Capacity!"},
        {"zero fuel", [](TMissionData& md) { md.MZFW = 13999; },
            "No payload fits within the Zero Fuel Weight!"},
    };
    for (const Case& c : cases) {
        TMissionData md = WorkedMission();
        c.set(md);
        md.MaxPayload = md.TakeoffWeight = md.MinTakeoffFuel = -7;
        EXPECT_EQ(SolveMessage(md, SolveMaximumPayload), c.message);
        EXPECT_FALSE(md.CalculationValid) << c.name;
        // The weight that went below DOW stays; nothing after the search is
        // written.
        EXPECT_LT(md.ZeroFuelWeight, md.DOW) << c.name;
        EXPECT_GE(md.ZeroFuelWeight, md.DOW - 10) << c.name;
        EXPECT_EQ(md.MaxPayload, -7) << c.name;
        EXPECT_EQ(md.TakeoffWeight, -7) << c.name;
        EXPECT_EQ(md.MinTakeoffFuel, -7) << c.name;
    }

    // With MATOW 24000 the pass at 18380 kg is the first accepted: a DOW of
    // 18380 leaves a payload of 0 kg, one of 18381 none at all.
    TMissionData md = WorkedMission();
    md.MATOW = 24000;
    md.DOW = 18380;
    EXPECT_EQ(SolveMessage(md, SolveMaximumPayload), "");
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_EQ(md.ZeroFuelWeight, 18380);
    EXPECT_NEAR(md.MaxPayload, 0, 1e-9);

    md = WorkedMission();
    md.MATOW = 24000;
    md.DOW = 18381;
    EXPECT_EQ(SolveMessage(md, SolveMaximumPayload), "No payload fits within the Allowable Takeoff Weight!");
    EXPECT_FALSE(md.CalculationValid);
    EXPECT_EQ(md.ZeroFuelWeight, 18380);
}

TEST(MaximumPayload, PassBoundWhereStepsNoLongerChangeTheWeight)
{
    TMissionData md = WorkedMission();
    md.MZFW = 1e300; // 10 kg steps no longer change the weight
    md.MALW = 0;
    RecordingServices services;
    EXPECT_THROW(SolveMaximumPayload(md, services), SearchError);
    EXPECT_TRUE(services.messages.empty());
}

// The takeoff fuel of an accepted pass must fit the tanks: equal passes,
// a pass 1 kg over is stepped down from.
TEST(MaximumPayload, TankCapacityEdges)
{
    TMissionData roomy = WorkedMission();
    RecordingServices services;
    SolveMaximumPayload(roomy, services);
    ASSERT_EQ(roomy.LimitedBy, "Zero Fuel Weight");

    TMissionData md = WorkedMission();
    md.TCAP = roomy.MinTakeoffFuel;
    SolveMaximumPayload(md, services);
    EXPECT_EQ(md.ZeroFuelWeight, md.MZFW);
    EXPECT_EQ(md.LimitedBy, "Zero Fuel Weight");

    md = WorkedMission();
    md.TCAP = roomy.MinTakeoffFuel - 1;
    SolveMaximumPayload(md, services);
    EXPECT_TRUE(md.CalculationValid);
    EXPECT_LT(md.ZeroFuelWeight, md.MZFW);
    EXPECT_EQ(md.LimitedBy, "Tank Capacity");
    EXPECT_LE(md.MinTakeoffFuel, md.TCAP);
    // The pass 10 kg heavier was over the tank.
    TMissionData heavier = md;
    heavier.MZFW = md.ZeroFuelWeight + 10;
    heavier.TCAP = 1e9;
    SolveMaximumPayload(heavier, services);
    EXPECT_GT(heavier.MinTakeoffFuel, md.TCAP);
    EXPECT_TRUE(services.messages.empty());
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
// the message.
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
        {"tank",
            [](TMissionData& md, const TMissionData& r, double extra) { md.TCAP = r.MinTakeoffFuel - extra; },
            nullptr},
    };
    for (const Case& c : cases) {
        TMissionData md = base;
        c.set(md, reference, 0);
        EXPECT_EQ(SolveMessage(md, SolveTripTimeAndFuel), "") << c.name;
        EXPECT_TRUE(md.CalculationValid) << c.name << ": equal passes";

        md = base;
        c.set(md, reference, 1);
        const std::string message = SolveMessage(md, SolveTripTimeAndFuel);
        EXPECT_FALSE(md.CalculationValid) << c.name;
        EXPECT_TRUE(message.ends_with(" exceeded!")) << c.name << ": " << message;
        if (c.message) {
            EXPECT_EQ(message, c.message);
        }
    }
}

TEST(TripTimeAndFuel, StopsWriteOnlyWhatWasComputed)
{
    TMissionData md = WorkedMission();
    md.HoldingFuel = md.TripFuel = md.LandingWeight = -7;
    md.MZFW = 18000;
    md.MATOW = 1; // also exceeded, but only the first limit is reported
    EXPECT_EQ(SolveMessage(md, SolveTripTimeAndFuel), "Maximum Zero Fuel Weight of 18000 kg exceeded!");
    EXPECT_EQ(md.ZeroFuelWeight, 19000);
    EXPECT_EQ(md.HoldingFuel, -7);
    EXPECT_EQ(md.TripFuel, -7);

    md = WorkedMission();
    md.LandingWeight = -7;
    md.MATOW = 24000.5;
    EXPECT_EQ(
        SolveMessage(md, SolveTripTimeAndFuel), "Maximum Allowable Takeoff Weight of 24000.5 kg exceeded!");
    EXPECT_NE(md.TakeoffWeight, 0);
    EXPECT_EQ(md.LandingWeight, -7);
}

TEST(TripTimeAndFuel, TankCapacityIsCheckedAfterTheWeights)
{
    TMissionData md = WorkedMission();
    md.TCAP = 5000;
    md.MaxRange = -7;
    EXPECT_EQ(SolveMessage(md, SolveTripTimeAndFuel), "Tank Capacity of 5000 kg exceeded!");
    EXPECT_FALSE(md.CalculationValid);
    // Every result of the mode is written by then, the landing weight too.
    ExpectRounded(md.MinTakeoffFuel, 5822.00, 2, "MinTakeoffFuel");
    ExpectRounded(md.LandingWeight, 21759.46, 2, "LandingWeight");
    EXPECT_EQ(md.MaxRange, -7);

    // Over the takeoff weight as well: that limit is reported.
    md = WorkedMission();
    md.TCAP = 5000;
    md.MATOW = 24000;
    EXPECT_EQ(
        SolveMessage(md, SolveTripTimeAndFuel), "Maximum Allowable Takeoff Weight of 24000 kg exceeded!");
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

// A wind not below the true airspeed stops every mode right after the
// speeds; a wind just below it is no stop.
TEST(SolveModes, GroundSpeedAtOrBelowZeroStops)
{
    const std::pair<const char*, Solve> modes[]
        = {{"trip", SolveTripTimeAndFuel}, {"range", SolveMaximumRange}, {"payload", SolveMaximumPayload}};
    TMissionData speeds = WorkedMission();
    CalcTrueAirspeed(speeds);
    const double tas = speeds.TrueAirspeed;
    for (const auto& [name, solve] : modes) {
        TMissionData md = WorkedMission();
        md.Wind = 500;
        md.StillAirDistance = md.AlternateTime = md.ZeroFuelWeight = -7;
        md.LimitedBy = "earlier";
        RecordingServices services;
        solve(md, services);
        EXPECT_FALSE(md.CalculationValid) << name;
        ASSERT_EQ(services.messages.size(), 1u) << name;
        EXPECT_EQ(services.messages[0], "Wind of 500 kts is not less than the True Airspeed of 458 kts!");
        EXPECT_EQ(md.TrueAirspeed, tas) << name;
        EXPECT_EQ(md.GroundSpeed, tas - 500) << name;
        EXPECT_EQ(md.StillAirDistance, -7) << name;
        EXPECT_EQ(md.AlternateTime, -7) << name;
        EXPECT_EQ(md.ZeroFuelWeight, -7) << name;
        EXPECT_EQ(md.LimitedBy, "earlier") << name;
        EXPECT_EQ(services.yields, 0) << name;

        // A ground speed of exactly 0 is a stop, not a division by zero.
        md = WorkedMission();
        md.Wind = tas;
        const std::string message = SolveMessage(md, solve);
        EXPECT_FALSE(md.CalculationValid) << name;
        EXPECT_TRUE(message.starts_with("Wind of 458.09")) << message;

        md = WorkedMission();
        md.Wind = -0.5;
        EXPECT_EQ(SolveMessage(md, solve), "") << name;
        EXPECT_TRUE(md.CalculationValid) << name;
        EXPECT_EQ(md.GroundSpeed, tas + 0.5) << name;
    }

    // Just below the true airspeed the mode goes on to its next step.
    TMissionData md = WorkedMission();
    md.Wind = std::nextafter(tas, 0.0);
    md.TripDistance = 1e-12;
    RecordingServices services;
    SolveTripTimeAndFuel(md, services);
    EXPECT_GT(md.GroundSpeed, 0);
    EXPECT_EQ(md.StillAirDistance, md.TripDistance * tas / md.GroundSpeed);
}

// A fuel model's value below 0 kg ends the run as an error in every mode and
// every pass; nothing after it is written.
TEST(SolveModes, FuelBelowZeroIsAnError)
{
    struct Case {
        const char* name;
        void (*solve)(TMissionData&, IMissionServices&);
        void (*set)(TMissionData&);
        const char* quantity;
    };
    const Case cases[] = {
        // The weight term alone: alternate fuel below 0 in the first pass.
        {"trip, alternate", SolveTripTimeAndFuel, [](TMissionData& md) { md.bC3 = -1000; }, "Alternate fuel"},
        {"trip, holding", SolveTripTimeAndFuel, [](TMissionData& md) { md.bH1 = md.bH2 = -5000; },
            "Holding fuel"},
        // Alternate fuel stays above 0, trip fuel for 1 NAM does not.
        {"range, first distance", SolveMaximumRange, [](TMissionData& md) { md.bC3 = -500; }, "Trip fuel"},
        // The holding flow falls below 0 while the landing weight steps the
        // zero fuel weight down.
        {"payload, later pass", SolveMaximumPayload,
            [](TMissionData& md) {
                md.aH1 = md.aH2 = 0.1;
                md.bH1 = md.bH2 = -2050;
                md.MALW = 20000;
            },
            "Holding fuel"},
    };
    for (const Case& c : cases) {
        TMissionData md = WorkedMission();
        md.Type = "WORKED-1";
        c.set(md);
        md.MinTakeoffFuel = md.TakeoffWeight = -7;
        RecordingServices services;
        try {
            c.solve(md, services);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const FuelModelError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind(std::string(c.quantity) + " of -", 0), 0u) << what;
            EXPECT_NE(what.find(" kg is below 0 kg: the fuel lines of the WORKED-1 do not fit this mission."),
                std::string::npos)
                << what;
        }
        EXPECT_TRUE(services.messages.empty()) << c.name;
        EXPECT_EQ(md.MinTakeoffFuel, -7) << c.name;
        EXPECT_EQ(md.TakeoffWeight, -7) << c.name;
    }
}
