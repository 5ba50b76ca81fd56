#include "engine/solve.h"

#include "engine/checked_math.h"
#include "engine/fuel_models.h"
#include "engine/search_passes.h"
#include "engine/solve_steps.h"
#include "engine/text_format.h"

#include <optional>

namespace mirovax {

using namespace fp;

namespace {

using namespace solve_steps;

// Reports the limit and marks the run invalid.
void LimitStop(TMissionData& md, IMissionServices& services, const std::string& message)
{
    services.ReportLimit(message);
    md.CalculationValid = false;
}

// Whether the check stops the run at value; reports the stop when it does.
bool StopsAt(CheckIndex index, TMissionData& md, IMissionServices& services, double value)
{
    const LimitCheck& check = kLimitChecks[index];
    if (!Exceeds(check, md, value))
        return false;
    LimitStop(md, services, StopMessage(check, md));
    return true;
}

} // namespace

bool SolveSpeeds(TMissionData& md, IMissionServices& services)
{
    CalcTrueAirspeed(md);
    CalcGroundSpeed(md);
    if (GroundSpeedAllowsFlight(md))
        return true;
    LimitStop(md, services, WindStopMessage(md));
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
    if (StopsAt(kZeroFuelCheck, md, services, md.ZeroFuelWeight))
        return;

    const double weight = HoldingAndAlternate(md, add(md.ZeroFuelWeight, md.ContingencyFuel));
    // This landing weight holds no contingency fuel.
    if (StopsAt(kLandingCheck, md, services, weight))
        return;

    TripAndContingencyFuel(md, weight);
    md.MinTakeoffFuel = SumTakeoffFuel(md);
    md.AvgFuelFlow = div(md.TripFuel, md.TripTime);
    md.MinTakeoffTime = SumTakeoffTime(md);
    md.TakeoffWeight = add(md.ZeroFuelWeight, md.MinTakeoffFuel);
    if (StopsAt(kTakeoffCheck, md, services, md.TakeoffWeight))
        return;
    md.LandingWeight = sub(md.TakeoffWeight, md.TripFuel);
    // After the weights, so that a mission over both names the takeoff
    // weight.
    StopsAt(kTankCheck, md, services, md.MinTakeoffFuel);
}

namespace search_passes {

std::optional<RangeStart> OpenMaximumRange(TMissionData& md, IMissionServices& services)
{
    if (!SolveSpeeds(md, services))
        return std::nullopt;
    md.AlternateTime = div(md.AlternateDistance, md.GroundSpeed);
    md.ContingencyFuel = 0;
    md.ZeroFuelWeight = add(md.DOW, md.Payload);
    if (StopsAt(kZeroFuelCheck, md, services, md.ZeroFuelWeight))
        return std::nullopt;

    RangeStart start;
    start.weight = HoldingAndAlternate(md, md.ZeroFuelWeight);
    if (StopsAt(kLandingCheck, md, services, start.weight))
        return std::nullopt;
    start.reserve = add(add(md.HoldingFuel, md.AlternateFuel), md.ContingencyFuel);
    md.StillAirDistance = 1;
    return start;
}

bool RangePass(TMissionData& md, const RangeStart& start, double& totalFuel)
{
    CalcTripFuel(md, md.StillAirDistance, md.FlightLevel, start.weight);
    totalFuel = add(md.TripFuel, start.reserve);
    md.StillAirDistance = add(md.StillAirDistance, 1.0);
    return Exceeds(kLimitChecks[kTankCheck], md, totalFuel)
        || Exceeds(kLimitChecks[kTakeoffCheck], md, add(start.weight, md.TripFuel));
}

void FinishMaximumRange(TMissionData& md, const RangeStart& start, double totalFuel, bool aborted)
{
    if (aborted)
        md.LimitedBy = kLimitAborted;
    if (Exceeds(kLimitChecks[kTankCheck], md, totalFuel))
        md.LimitedBy = kLimitTankCapacity;
    const double weight = add(start.weight, md.TripFuel);
    // Both limits in one pass: the takeoff weight is named.
    if (Exceeds(kLimitChecks[kTakeoffCheck], md, weight))
        md.LimitedBy = kLimitMaximumTakeoffWeight;
    md.TripFuel = sub(totalFuel, start.reserve);
    md.MaxRange = div(mul(md.StillAirDistance, md.GroundSpeed), md.TrueAirspeed);
    md.TripTime = div(md.MaxRange, md.GroundSpeed);
    md.ContingencyTime = div(mul(md.TripTime, md.ContingencyPercent), 100.0);
    md.MinTakeoffFuel = SumTakeoffFuel(md);
    md.AvgFuelFlow = div(md.TripFuel, md.TripTime);
    md.MinTakeoffTime = SumTakeoffTime(md);
    md.TakeoffWeight = add(md.ZeroFuelWeight, md.MinTakeoffFuel);
    md.LandingWeight = sub(md.TakeoffWeight, md.TripFuel);
}

bool OpenMaximumPayload(TMissionData& md, IMissionServices& services)
{
    if (!SolveSpeeds(md, services))
        return false;
    md.StillAirDistance = div(mul(md.TripDistance, md.TrueAirspeed), md.GroundSpeed);
    md.AlternateTime = div(md.AlternateDistance, md.GroundSpeed);
    md.TripTime = div(md.TripDistance, md.GroundSpeed);
    md.ContingencyTime = div(mul(md.TripTime, md.ContingencyPercent), 100.0);
    md.ContingencyFuel = 0;
    md.LimitedBy = kLimitZeroFuelWeight;
    md.ZeroFuelWeight = md.MZFW;
    return true;
}

PayloadOutcome PayloadPass(TMissionData& md, long pass, double& weight)
{
    if (pass > kMaxPayloadPassLimit)
        throw SearchError(
            "Maximum Payload search ended without result: " + std::to_string(kMaxPayloadPassLimit)
            + " steps of 10 kg down from a zero fuel weight of " + FormatGeneral(md.MZFW)
            + " kg did not reach the dry operating weight of " + FormatGeneral(md.DOW) + " kg.");
    // Every pass but the first follows a rejected one, 10 kg lighter.
    md.ZeroFuelWeight = sub(md.ZeroFuelWeight, pass == 1 ? 0.0 : 10.0);
    if (NoPayloadFits(md))
        return PayloadOutcome::NoPayload;
    weight = HoldingAndAlternate(md, md.ZeroFuelWeight);
    if (Exceeds(kLimitChecks[kLandingCheck], md, weight)) {
        md.LimitedBy = kLimitAllowableLandingWeight;
        return PayloadOutcome::Rejected;
    }
    CalcTripFuel(md, md.StillAirDistance, md.FlightLevel, weight);
    weight = add(weight, md.TripFuel);
    if (Exceeds(kLimitChecks[kTakeoffCheck], md, weight)) {
        md.LimitedBy = kLimitAllowableTakeoffWeight;
        return PayloadOutcome::Rejected;
    }
    // The same sum as the minimum takeoff fuel of the finish; the contingency
    // fuel is 0 in this mode.
    if (Exceeds(kLimitChecks[kTankCheck], md, SumTakeoffFuel(md))) {
        md.LimitedBy = kLimitTankCapacity;
        return PayloadOutcome::Rejected;
    }
    return PayloadOutcome::Accepted;
}

void FinishMaximumPayload(TMissionData& md, double weight)
{
    md.MinTakeoffFuel = SumTakeoffFuel(md);
    md.AvgFuelFlow = div(md.TripFuel, md.TripTime);
    md.MinTakeoffTime = SumTakeoffTime(md);
    md.MaxPayload = sub(weight, add(md.DOW, md.MinTakeoffFuel));
    md.TakeoffWeight = weight;
    md.LandingWeight = sub(md.TakeoffWeight, md.TripFuel);
}

void StopWithoutPayload(TMissionData& md, IMissionServices& services)
{
    LimitStop(md, services, NoPayloadMessage(md));
}

} // namespace search_passes

using namespace search_passes;

void SolveMaximumRange(TMissionData& md, IMissionServices& services)
{
    const std::optional<RangeStart> start = OpenMaximumRange(md, services);
    if (!start)
        return;
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
        if (RangePass(md, *start, totalFuel))
            break;
    }
    FinishMaximumRange(md, *start, totalFuel, aborted);
}

void SolveMaximumPayload(TMissionData& md, IMissionServices& services)
{
    if (!OpenMaximumPayload(md, services))
        return;
    double weight = 0;
    for (long pass = 1;; ++pass) {
        const PayloadOutcome outcome = PayloadPass(md, pass, weight);
        if (outcome == PayloadOutcome::NoPayload)
            return StopWithoutPayload(md, services);
        if (outcome == PayloadOutcome::Accepted)
            break;
    }
    FinishMaximumPayload(md, weight);
}

} // namespace mirovax
