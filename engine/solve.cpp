#include "engine/solve.h"

#include "engine/checked_math.h"
#include "engine/fuel_models.h"
#include "engine/text_format.h"

namespace mirovax {

using namespace fp;

namespace {

void LimitStop(TMissionData& md, IMissionServices& services, const char* what, double limit)
{
    services.ReportLimit(std::string(what) + FormatGeneral(limit) + " kg exceeded!");
    md.CalculationValid = false;
}

constexpr const char* kZfwMessage = "Maximum Zero Fuel Weight of ";
constexpr const char* kLandingMessage = "Maximum Allowable Landing Weight of ";
constexpr const char* kTakeoffMessage = "Maximum Allowable Takeoff Weight of ";
constexpr const char* kTankMessage = "Tank Capacity of ";

// The Maximum Payload search has gone below the dry operating weight: the
// limit it last stepped down for leaves no room for any payload.
void NoPayloadStop(TMissionData& md, IMissionServices& services)
{
    services.ReportLimit("No payload fits within the " + md.LimitedBy + "!");
    md.CalculationValid = false;
}

// Holding fuel at the zero fuel weight, alternate fuel at that plus the
// holding fuel; returns the landing weight without trip fuel.
double HoldingAndAlternate(TMissionData& md, double zeroFuelWeight)
{
    double weight = zeroFuelWeight;
    CalcHoldingFuel(md, weight, add(md.HoldingAltitude, md.AlternateElevation), md.HoldingTime);
    weight = add(weight, md.HoldingFuel);
    CalcAlternateFuel(md, weight, md.AlternateDistance);
    return add(weight, md.AlternateFuel);
}

// Holding, contingency, trip and alternate fuel, added in this order.
double SumTakeoffFuel(const TMissionData& md)
{
    return add(add(add(md.HoldingFuel, md.ContingencyFuel), md.TripFuel), md.AlternateFuel);
}

// Holding, alternate, trip and contingency times, added in this order.
double SumTakeoffTime(const TMissionData& md)
{
    return add(add(add(div(md.HoldingTime, 60.0), md.AlternateTime), md.TripTime), md.ContingencyTime);
}

} // namespace

bool SolveSpeeds(TMissionData& md, IMissionServices& services)
{
    CalcTrueAirspeed(md);
    CalcGroundSpeed(md);
    // Against such a wind the airplane never arrives: every distance, time
    // and fuel after this point would be negative or infinite.
    if (md.GroundSpeed > 0.0)
        return true;
    services.ReportLimit("Wind of " + FormatGeneral(md.Wind) + " kts is not less than the True Airspeed of "
        + FormatRounded(md.TrueAirspeed) + " kts!");
    md.CalculationValid = false;
    return false;
}

void SolveTripTimeAndFuel(TMissionData& md, IMissionServices& services)
{
    if (!SolveSpeeds(md, services))
        return;
    CalcStillAirDistance(md);
    md.AlternateTime = div(md.AlternateDistance, md.GroundSpeed);
    md.TripTime = div(md.TripDistance, md.GroundSpeed);
    md.ContingencyTime = div(mul(md.TripTime, md.ContingencyPercent), 100.0);
    md.ContingencyFuel = 0;
    md.ZeroFuelWeight = add(md.DOW, md.Payload);
    if (md.ZeroFuelWeight > md.MZFW)
        return LimitStop(md, services, kZfwMessage, md.MZFW);

    const double weight = HoldingAndAlternate(md, add(md.ZeroFuelWeight, md.ContingencyFuel));
    // This landing weight holds no contingency fuel.
    if (weight > md.MALW)
        return LimitStop(md, services, kLandingMessage, md.MALW);

    CalcTripFuel(md, md.StillAirDistance, md.FlightLevel, weight);
    md.ContingencyFuel = div(mul(md.TripFuel, md.ContingencyPercent), 100.0);
    md.MinTakeoffFuel = SumTakeoffFuel(md);
    md.AvgFuelFlow = div(md.TripFuel, md.TripTime);
    md.MinTakeoffTime = SumTakeoffTime(md);
    md.TakeoffWeight = add(md.ZeroFuelWeight, md.MinTakeoffFuel);
    if (md.TakeoffWeight > md.MATOW)
        return LimitStop(md, services, kTakeoffMessage, md.MATOW);
    md.LandingWeight = sub(md.TakeoffWeight, md.TripFuel);
    // After the weights, so that a mission over both names the takeoff
    // weight.
    if (md.MinTakeoffFuel > md.TCAP)
        return LimitStop(md, services, kTankMessage, md.TCAP);
}

void SolveMaximumRange(TMissionData& md, IMissionServices& services)
{
    if (!SolveSpeeds(md, services))
        return;
    md.AlternateTime = div(md.AlternateDistance, md.GroundSpeed);
    md.ContingencyFuel = 0;
    md.ZeroFuelWeight = add(md.DOW, md.Payload);
    if (md.ZeroFuelWeight > md.MZFW)
        return LimitStop(md, services, kZfwMessage, md.MZFW);

    double weight = HoldingAndAlternate(md, md.ZeroFuelWeight);
    if (weight > md.MALW)
        return LimitStop(md, services, kLandingMessage, md.MALW);

    const double reserve = add(add(md.HoldingFuel, md.AlternateFuel), md.ContingencyFuel);
    md.StillAirDistance = 1;

    // One nautical air mile per pass, yielding once per pass so that Abort
    // stays live. The first pass is always computed, so that an abort leaves
    // the figures of at least one distance behind.
    double totalFuel = 0;
    bool aborted = false;
    for (bool firstPass = true;; firstPass = false) {
        services.YieldEvents();
        if (md.AbortRequested && !firstPass) {
            aborted = true;
            break;
        }
        CalcTripFuel(md, md.StillAirDistance, md.FlightLevel, weight);
        totalFuel = add(md.TripFuel, reserve);
        md.StillAirDistance = add(md.StillAirDistance, 1.0);
        if (totalFuel > md.TCAP)
            break;
        if (add(weight, md.TripFuel) > md.MATOW)
            break;
    }

    if (aborted)
        md.LimitedBy = kLimitAborted;
    if (totalFuel > md.TCAP)
        md.LimitedBy = kLimitTankCapacity;
    weight = add(weight, md.TripFuel);
    // Both limits in one pass: the takeoff weight is named.
    if (weight > md.MATOW)
        md.LimitedBy = kLimitMaximumTakeoffWeight;
    md.TripFuel = sub(totalFuel, reserve);
    md.MaxRange = div(mul(md.StillAirDistance, md.GroundSpeed), md.TrueAirspeed);
    md.TripTime = div(md.MaxRange, md.GroundSpeed);
    md.ContingencyTime = div(mul(md.TripTime, md.ContingencyPercent), 100.0);
    md.MinTakeoffFuel = SumTakeoffFuel(md);
    md.AvgFuelFlow = div(md.TripFuel, md.TripTime);
    md.MinTakeoffTime = SumTakeoffTime(md);
    md.TakeoffWeight = add(md.ZeroFuelWeight, md.MinTakeoffFuel);
    md.LandingWeight = sub(md.TakeoffWeight, md.TripFuel);
}

void SolveMaximumPayload(TMissionData& md, IMissionServices& services)
{
    if (!SolveSpeeds(md, services))
        return;
    md.StillAirDistance = div(mul(md.TripDistance, md.TrueAirspeed), md.GroundSpeed);
    md.AlternateTime = div(md.AlternateDistance, md.GroundSpeed);
    md.TripTime = div(md.TripDistance, md.GroundSpeed);
    md.ContingencyTime = div(mul(md.TripTime, md.ContingencyPercent), 100.0);
    md.ContingencyFuel = 0;

    double step = 0;
    md.LimitedBy = kLimitZeroFuelWeight;
    md.ZeroFuelWeight = md.MZFW;
    double weight = 0;
    for (long pass = 1;; ++pass) {
        if (pass > kMaxPayloadPassLimit)
            throw SearchError(
                "Maximum Payload search ended without result: " + std::to_string(kMaxPayloadPassLimit)
                + " steps of 10 kg down from a zero fuel weight of " + FormatGeneral(md.MZFW)
                + " kg did not reach the dry operating weight of " + FormatGeneral(md.DOW) + " kg.");
        md.ZeroFuelWeight = sub(md.ZeroFuelWeight, step);
        if (md.ZeroFuelWeight < md.DOW)
            return NoPayloadStop(md, services);
        weight = HoldingAndAlternate(md, md.ZeroFuelWeight);
        if (weight > md.MALW) {
            md.LimitedBy = kLimitAllowableLandingWeight;
            step = 10;
            continue;
        }
        CalcTripFuel(md, md.StillAirDistance, md.FlightLevel, weight);
        weight = add(weight, md.TripFuel);
        if (weight > md.MATOW) {
            md.LimitedBy = kLimitAllowableTakeoffWeight;
            step = 10;
            continue;
        }
        // The same sum as the minimum takeoff fuel below; the contingency
        // fuel is 0 in this mode.
        if (SumTakeoffFuel(md) > md.TCAP) {
            md.LimitedBy = kLimitTankCapacity;
            step = 10;
            continue;
        }
        break;
    }

    md.MinTakeoffFuel = SumTakeoffFuel(md);
    md.AvgFuelFlow = div(md.TripFuel, md.TripTime);
    md.MinTakeoffTime = SumTakeoffTime(md);
    md.MaxPayload = sub(weight, add(md.DOW, md.MinTakeoffFuel));
    md.TakeoffWeight = weight;
    md.LandingWeight = sub(md.TakeoffWeight, md.TripFuel);
}

} // namespace mirovax
