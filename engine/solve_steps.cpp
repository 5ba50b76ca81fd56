#include "engine/solve_steps.h"

#include "engine/checked_math.h"
#include "engine/fuel_models.h"
#include "engine/mission_limits.h"
#include "engine/text_format.h"

namespace mirovax::solve_steps {

using namespace fp;

double HoldingAndAlternate(TMissionData& md, double zeroFuelWeight)
{
    double weight = zeroFuelWeight;
    CalcHoldingFuel(md, weight, add(md.HoldingAltitude, md.AlternateElevation), md.HoldingTime);
    weight = add(weight, md.HoldingFuel);
    CalcAlternateFuel(md, weight, md.AlternateDistance);
    return add(weight, md.AlternateFuel);
}

void TripAndContingencyFuel(TMissionData& md, double landingWeight)
{
    CalcTripFuel(md, md.StillAirDistance, md.FlightLevel, landingWeight);
    md.ContingencyFuel = div(mul(md.TripFuel, md.ContingencyPercent), 100.0);
}

double SumTakeoffFuel(const TMissionData& md)
{
    return add(add(add(md.HoldingFuel, md.ContingencyFuel), md.TripFuel), md.AlternateFuel);
}

double SumTakeoffTime(const TMissionData& md)
{
    return add(add(add(div(md.HoldingTime, 60.0), md.AlternateTime), md.TripTime), md.ContingencyTime);
}

double CheckedLandingWeight(const TMissionData& md)
{
    return add(add(md.ZeroFuelWeight, md.HoldingFuel), md.AlternateFuel);
}

bool GroundSpeedAllowsFlight(const TMissionData& md)
{
    // Against such a wind the airplane never arrives: every distance, time
    // and fuel after this point would be negative or infinite.
    return md.GroundSpeed > 0.0;
}

std::string WindStopMessage(const TMissionData& md)
{
    return "Wind of " + FormatGeneral(md.Wind) + " kts is not less than the True Airspeed of "
        + FormatRounded(md.TrueAirspeed) + " kts!";
}

const std::array<LimitCheck, 4> kLimitChecks = {{
    {kMarginZeroFuelWeight, "Maximum Zero Fuel Weight of ", &TMissionData::MZFW,
        [](const TMissionData& md) { return md.ZeroFuelWeight; }},
    {kMarginLandingWeight, "Maximum Allowable Landing Weight of ", &TMissionData::MALW, CheckedLandingWeight},
    {kMarginTakeoffWeight, "Maximum Allowable Takeoff Weight of ", &TMissionData::MATOW,
        [](const TMissionData& md) { return md.TakeoffWeight; }},
    {kMarginTankCapacity, "Tank Capacity of ", &TMissionData::TCAP,
        [](const TMissionData& md) { return md.MinTakeoffFuel; }},
}};

bool Exceeds(const LimitCheck& check, const TMissionData& md, double value)
{
    return value > md.*check.limit;
}

std::string StopMessage(const LimitCheck& check, const TMissionData& md)
{
    return std::string(check.message) + FormatMassExact(md.*check.limit, md.Units) + " "
        + std::string(MassUnitText(md.Units)) + " exceeded!";
}

bool NoPayloadFits(const TMissionData& md)
{
    return md.ZeroFuelWeight < md.DOW;
}

std::string NoPayloadMessage(const TMissionData& md)
{
    return "No payload fits within the " + md.LimitedBy + "!";
}

} // namespace mirovax::solve_steps
