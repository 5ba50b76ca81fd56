#include "engine/fuel_models.h"

#include "engine/checked_math.h"
#include "engine/text_format.h"

#include <cmath>

namespace mirovax {

using namespace fp;

namespace {

// The fuel a model gives, or the error that names it, its value and the
// airplane type.
double NotBelowZero(const TMissionData& md, const char* quantity, double fuel)
{
    if (fuel >= 0.0)
        return fuel;
    // Whole kilograms read best; a fraction above -0.5 kg would round to 0.
    const double figure = MassInUnit(fuel, md.Units);
    const std::string value = std::fabs(figure) >= 0.5 ? FormatRounded(figure) : FormatGeneral(figure);
    const std::string type = md.Type.empty() ? "this airplane type" : "the " + md.Type;
    const std::string unit(MassUnitText(md.Units));
    throw FuelModelError(std::string(quantity) + " of " + value + " " + unit + " is below 0 " + unit
        + ": the fuel lines of " + type + " do not fit this mission.");
}

} // namespace

void CalcTrueAirspeed(TMissionData& md)
{
    // 38.9681 * sqrt(kelvin) is the speed of sound in knots.
    md.TrueAirspeed = mul(mul(fp::sqrt(add(273.15, md.OAT)), md.Mach), 38.9681);
}

void CalcGroundSpeed(TMissionData& md)
{
    md.GroundSpeed = sub(md.TrueAirspeed, md.Wind);
}

void CalcStillAirDistance(TMissionData& md)
{
    md.StillAirDistance = div(mul(md.TripDistance, md.TrueAirspeed), md.GroundSpeed);
}

double HoldingLineRatio(const TMissionData& md, double altitude)
{
    // Upper bound first: with MaxHold below 1500 every altitude ends at 1500.
    if (altitude > md.MaxHold)
        altitude = md.MaxHold;
    if (altitude < 1500.0)
        altitude = 1500.0;
    return div(sub(altitude, 1500.0), sub(md.MaxHold, 1500.0));
}

double CruiseLineRatio(const TMissionData& md, double flightLevel)
{
    // Upper bound first: with MinCruise above MaxCruise every level ends at
    // MinCruise.
    if (flightLevel > md.MaxCruise)
        flightLevel = md.MaxCruise;
    if (flightLevel < md.MinCruise)
        flightLevel = md.MinCruise;
    return div(sub(flightLevel, md.MinCruise), sub(md.MaxCruise, md.MinCruise));
}

void CalcHoldingFuel(TMissionData& md, double weight, double altitude, double minutes)
{
    const double low = add(mul(md.aH1, weight), md.bH1);
    const double high = add(mul(md.aH2, weight), md.bH2);
    const double ratio = HoldingLineRatio(md, altitude);
    const double flow = add(low, mul(ratio, sub(high, low)));
    md.HoldingFuel = NotBelowZero(md, "Holding fuel", div(mul(flow, minutes), 60.0));
}

void CalcAlternateFuel(TMissionData& md, double weight, double distance)
{
    const double leg = add(mul(md.aC1, distance), md.bC1);
    md.AlternateFuel = NotBelowZero(md, "Alternate fuel", add(add(mul(md.aC3, weight), md.bC3), leg));
}

void CalcTripFuel(TMissionData& md, double distance, double flightLevel, double weight)
{
    const double high = add(mul(md.aC2, distance), md.bC2);
    const double low = add(mul(md.aC1, distance), md.bC1);
    const double ratio = CruiseLineRatio(md, flightLevel);
    const double cruise = add(low, mul(ratio, sub(high, low)));
    md.TripFuel = NotBelowZero(md, "Trip fuel", add(add(mul(md.aC3, weight), md.bC3), cruise));
}

} // namespace mirovax
