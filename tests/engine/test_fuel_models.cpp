#include "engine/checked_math.h"
#include "engine/fuel_models.h"
#include "worked_data.h"

#include <gtest/gtest.h>

using namespace mirovax;
using mirovax::test::WorkedMission;

TEST(Speeds, WorkedFigures)
{
    TMissionData md = WorkedMission();
    CalcTrueAirspeed(md);
    CalcGroundSpeed(md);
    CalcStillAirDistance(md);
    // Order of evaluation: kelvin, root, times Mach, times 38.9681.
    EXPECT_EQ(md.TrueAirspeed, std::sqrt(273.15 + -46.0) * 0.78 * 38.9681);
    EXPECT_NEAR(md.TrueAirspeed, 458.0999, 5e-5);
    EXPECT_NEAR(md.GroundSpeed, 438.0999, 5e-5);
    EXPECT_EQ(md.StillAirDistance, 594.0 * md.TrueAirspeed / md.GroundSpeed);
    EXPECT_NEAR(md.StillAirDistance, 621.1171, 5e-5);
}

TEST(Speeds, WindSignAndZeroGroundSpeed)
{
    TMissionData md = WorkedMission();
    md.Wind = -20;
    CalcTrueAirspeed(md);
    CalcGroundSpeed(md);
    EXPECT_EQ(md.GroundSpeed, md.TrueAirspeed + 20);

    md.Wind = 0;
    CalcGroundSpeed(md);
    CalcStillAirDistance(md);
    EXPECT_EQ(md.StillAirDistance, md.TripDistance);

    // The formulas themselves take any wind (the solve modes stop before
    // using such a ground speed): negative distances follow.
    md.Wind = md.TrueAirspeed + 100;
    CalcGroundSpeed(md);
    CalcStillAirDistance(md);
    EXPECT_LT(md.StillAirDistance, 0);

    md.Wind = md.TrueAirspeed;
    CalcGroundSpeed(md);
    EXPECT_THROW(CalcStillAirDistance(md), ArithmeticError);
}

TEST(Speeds, TemperatureBelowAbsoluteZeroIsInvalid)
{
    TMissionData md = WorkedMission();
    md.OAT = -300;
    try {
        CalcTrueAirspeed(md);
        FAIL() << "no error";
    } catch (const ArithmeticError& e) {
        EXPECT_EQ(e.fault(), ArithmeticFault::InvalidOperation);
    }
}

TEST(HoldingFuel, WorkedFigureAndAltitudeClamps)
{
    TMissionData md = WorkedMission();
    CalcHoldingFuel(md, 20000, 8250, 45);
    EXPECT_EQ(md.HoldingFuel, 1687.5);

    // Exactly 1500 ft and anything below it take the 1500 ft line: 2500 kg/h.
    for (double altitude : {1500.0, 1499.0, -200.0}) {
        CalcHoldingFuel(md, 20000, altitude, 60);
        EXPECT_EQ(md.HoldingFuel, 2500) << altitude;
    }
    // At or above MaxHold the MaxHold line: 2000 kg/h.
    for (double altitude : {15000.0, 41000.0}) {
        CalcHoldingFuel(md, 20000, altitude, 60);
        EXPECT_EQ(md.HoldingFuel, 2000) << altitude;
    }
    CalcHoldingFuel(md, 20000, 8250, 0);
    EXPECT_EQ(md.HoldingFuel, 0);
}

TEST(HoldingFuel, MaxHoldBelow1500UsesThe1500Line)
{
    TMissionData md = WorkedMission();
    md.MaxHold = 1000;
    // The altitude is brought to 1000, then to 1500: ratio (0)/(-500) = -0.
    CalcHoldingFuel(md, 20000, 8250, 60);
    EXPECT_EQ(md.HoldingFuel, 2500);
}

TEST(HoldingFuel, MaxHoldOf1500IsZeroByZero)
{
    TMissionData md = WorkedMission();
    md.MaxHold = 1500;
    try {
        CalcHoldingFuel(md, 20000, 8250, 45);
        FAIL() << "no error";
    } catch (const ArithmeticError& e) {
        EXPECT_EQ(e.fault(), ArithmeticFault::InvalidOperation);
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
    EXPECT_EQ(md.HoldingFuel, 0) << "the result field is not written";
}

TEST(AlternateFuel, WorkedFigureAndZeroDistance)
{
    TMissionData md = WorkedMission();
    CalcAlternateFuel(md, 22000, 100);
    EXPECT_EQ(md.AlternateFuel, 830);
    CalcAlternateFuel(md, 22000, 0);
    EXPECT_EQ(md.AlternateFuel, 0.01 * 22000 + 10 + 100);
}

TEST(TripFuel, WorkedFigureAndFlightLevelClamps)
{
    TMissionData md = WorkedMission();
    CalcTripFuel(md, 600, 300, 25000);
    EXPECT_EQ(md.TripFuel, 3035);

    const double weightTerm = 0.01 * 25000 + 10;
    CalcTripFuel(md, 600, 450, 25000); // above MaxCruise: the MaxCruise line
    EXPECT_EQ(md.TripFuel, weightTerm + 4 * 600 + 50);
    CalcTripFuel(md, 600, 100, 25000); // below MinCruise: the MinCruise line
    EXPECT_EQ(md.TripFuel, weightTerm + 5 * 600 + 100);
}

TEST(TripFuel, InvertedAndEqualCruiseLevels)
{
    TMissionData md = WorkedMission();
    md.MinCruise = 400;
    md.MaxCruise = 200;
    // Every level ends at MinCruise, and the denominator is -200: no fault.
    CalcTripFuel(md, 600, 310, 25000);
    EXPECT_EQ(md.TripFuel, 0.01 * 25000 + 10 + 5 * 600 + 100);

    md.MaxCruise = 400;
    EXPECT_THROW(CalcTripFuel(md, 600, 310, 25000), ArithmeticError);
}

TEST(TripFuel, OverflowIsAnError)
{
    TMissionData md = WorkedMission();
    md.aC1 = 1e308;
    try {
        CalcTripFuel(md, 1e10, 310, 25000);
        FAIL() << "no error";
    } catch (const ArithmeticError& e) {
        EXPECT_EQ(e.fault(), ArithmeticFault::Overflow);
    }
}

// Each model refuses a fuel below 0 kg, leaving its field as it was; -0
// and 0 are no fault.
TEST(FuelModels, FuelBelowZeroIsAnError)
{
    TMissionData md = WorkedMission();
    md.Type = "A320-214";
    md.aC3 = 0;
    md.bC3 = -401;
    md.TripFuel = -7;
    try {
        CalcTripFuel(md, 0, 200, 25000); // 100 kg on the MinCruise line
        FAIL() << "no error";
    } catch (const FuelModelError& e) {
        EXPECT_STREQ(e.what(),
            "Trip fuel of -301 kg is below 0 kg: the fuel lines of the A320-214 do not fit this mission.");
    }
    EXPECT_EQ(md.TripFuel, -7);

    md = WorkedMission();
    md.Type.clear(); // a record without a type name
    md.bC3 = -2000; // the leg of 100 NM is 600 kg
    md.AlternateFuel = -7;
    try {
        CalcAlternateFuel(md, 10000, 100);
        FAIL() << "no error";
    } catch (const FuelModelError& e) {
        EXPECT_STREQ(e.what(),
            "Alternate fuel of -1300 kg is below 0 kg: the fuel lines of this airplane type "
            "do not fit this mission.");
    }
    EXPECT_EQ(md.AlternateFuel, -7);

    // Less than half a kilogram below 0 is shown as it is.
    md = WorkedMission();
    md.Type = "B737-800";
    md.aH1 = 0;
    md.bH1 = -0.25;
    try {
        CalcHoldingFuel(md, 20000, 1500, 60);
        FAIL() << "no error";
    } catch (const FuelModelError& e) {
        EXPECT_STREQ(e.what(),
            "Holding fuel of -0.25 kg is below 0 kg: the fuel lines of the B737-800 do not fit this "
            "mission.");
    }

    md = WorkedMission();
    CalcHoldingFuel(md, 20000, 8250, -0.0);
    EXPECT_TRUE(std::signbit(md.HoldingFuel)) << "-0 is written";
    md.aC3 = md.aC1 = 0;
    md.bC3 = -100;
    CalcAlternateFuel(md, 20000, 100);
    EXPECT_EQ(md.AlternateFuel, 0);
}
