#include "engine/fast_search.h"

#include "engine/checked_math.h"
#include "engine/fuel_models.h"
#include "engine/search_passes.h"
#include "engine/solve_steps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

// How the shortcuts stay exact. A search ends at the first pass whose
// figures break a limit. Each figure a pass compares is, in real numbers, a
// straight line in the distance (Maximum Range) or in the zero fuel weight
// (Maximum Payload), and where every slope feeding it is at least 0 that
// line does not fall as the search goes on. The pass computes the line in
// doubles, a few roundings away from it: E below bounds that distance for
// every pass of a stretch (each rounding is at most 2^-53 of a magnitude the
// stretch cannot exceed; E allows 2^-40 of it). So one pass, computed with
// the pass's own operations, proves a whole stretch of passes before it:
// when its figure, less 2E, still breaks a limit, the real line breaks it
// over the stretch and so does every computed figure there; when its figure
// plus 2E stays within, every pass before it stays within. The passes the
// proof leaves open are then run one by one with the per-pass search's own
// code (search_passes.h), from a record in the state the per-pass search
// would have left, so the finish, the limit named and any fault come out as
// the per-pass search gives them. Where a condition of the proof does not
// hold, or the passes left open are too many, the per-pass search runs
// instead, from the start.
namespace mirovax {

using namespace search_passes;
using namespace solve_steps;

namespace {

// The passes run one by one after a proof before the per-pass search takes
// over.
constexpr long kScanPasses = 4096;

// Every whole number up to 2^52 is a double, and so is its sum with 1: the
// distances 1, 2, 3 ... NAM the per-pass search reaches by adding 1 are the
// whole numbers themselves.
constexpr double kExactWhole = 4503599627370496.0;

// Magnitudes a proof accepts: sums and products of a few of them stay far
// from an infinity, so no pass of a proved stretch overflows.
constexpr double kLargestMagnitude = 1e300;

// E is this share of the stretch's magnitudes (the roundings of a pass need
// less than 2^-46 of them), plus what results too small for normal doubles
// can lose.
constexpr double kErrorShare = 0x1p-40;
constexpr double kUnderflowError = 0x1p-1000;

double Down(double x)
{
    return std::nextafter(x, -std::numeric_limits<double>::infinity());
}

double Up(double x)
{
    return std::nextafter(x, std::numeric_limits<double>::infinity());
}

bool WithinMagnitude(double x)
{
    return std::fabs(x) < kLargestMagnitude;
}

// ---- Maximum Range -------------------------------------------------------

// Whether the pass at distance (NAM) ends the search, as the per-pass search
// computes it; leaves the pass's trip fuel in md.TripFuel. Nothing when the
// pass would fault.
std::optional<bool> RangeEndsAt(TMissionData& md, const RangeStart& start, double distance)
{
    try {
        md.StillAirDistance = distance;
        double totalFuel = 0;
        return RangePass(md, start, totalFuel);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

// Where the search would end if every pass kept to its line: doubling from
// pass 2, then halving. Nothing rests on the answer but the speed.
std::optional<double> GuessRangeEnd(TMissionData& md, const RangeStart& start)
{
    double within = 1; // pass 1 has been run and did not end the search
    double ends = 2;
    for (;;) {
        const std::optional<bool> result = RangeEndsAt(md, start, ends);
        if (!result)
            return std::nullopt;
        if (*result)
            break;
        within = ends;
        ends *= 2;
        if (ends > kExactWhole / 2)
            return std::nullopt;
    }
    while (ends - within > 1) {
        const double middle = std::floor(within + (ends - within) / 2);
        const std::optional<bool> result = RangeEndsAt(md, start, middle);
        if (!result)
            return std::nullopt;
        (*result ? ends : within) = middle;
    }
    return ends;
}

// Proves that no pass from 2 NAM to `last` ends the search or faults, and
// that no pass up to `last` + kScanPasses gives a trip fuel below 0 kg or
// overflows. The trip fuel is, in real numbers, weightTerm + low +
// ratio * (high - low) with low and high the two distance lines: with both
// slopes at least 0 and the ratio from 0 to 1 its slope is at least 0.
bool ProveRangeStretch(TMissionData& md, const RangeStart& start, double last, double weightTerm)
{
    const double reach = last + kScanPasses;
    const double magnitude
        = md.aC1 * reach + std::fabs(md.bC1) + md.aC2 * reach + std::fabs(md.bC2) + std::fabs(weightTerm);
    if (!WithinMagnitude(magnitude) || !WithinMagnitude(start.reserve) || !WithinMagnitude(start.weight))
        return false;
    const double error = magnitude * kErrorShare + kUnderflowError;

    // Every computed trip fuel up to `last` is at most the one at `last`
    // plus 2E; rounding is monotone, so its total fuel and takeoff weight are
    // at most those of that bound.
    if (!RangeEndsAt(md, start, last).has_value())
        return false;
    const double highest = Up(md.TripFuel + 2 * error);
    if (Exceeds(kLimitChecks[kTankCheck], md, highest + start.reserve)
        || Exceeds(kLimitChecks[kTakeoffCheck], md, start.weight + highest))
        return false;

    // Every computed trip fuel from 2 NAM on is at least the one at 2 NAM
    // less 2E.
    if (!RangeEndsAt(md, start, 2).has_value())
        return false;
    return Down(md.TripFuel - 2 * error) >= 0.0;
}

// The first distance (NAM) to run pass by pass: one past a proved stretch,
// or 2 when no stretch is proved but the end is near. Nothing when the
// shortcut cannot answer.
std::optional<double> RangeScanStart(TMissionData& md, const RangeStart& start)
{
    if (!(md.aC1 >= 0.0 && md.aC2 >= 0.0))
        return std::nullopt;
    // Pass 1 computed both without a fault.
    const double ratio = CruiseLineRatio(md, md.FlightLevel);
    const double weightTerm = md.aC3 * start.weight + md.bC3;
    if (!(ratio >= 0.0 && ratio <= 1.0))
        return std::nullopt;
    const std::optional<double> end = GuessRangeEnd(md, start);
    if (!end)
        return std::nullopt;
    for (long gap = 1; gap <= kScanPasses / 2; gap *= 2) {
        const double last = *end - static_cast<double>(gap);
        if (last < 2)
            return 2.0;
        if (ProveRangeStretch(md, start, last, weightTerm))
            return last + 1;
    }
    return std::nullopt;
}

// ---- Maximum Payload -----------------------------------------------------

// Whether every zero fuel weight the search tries, MZFW - 10 k down to below
// DOW, is what repeated subtraction of 10 kg gives: MZFW is a whole multiple
// of 2^-bits, and so is each MZFW - 10 k; while those multiples stay within
// 2^53 units of 2^-bits they are doubles, and each subtraction is exact.
bool PayloadStepsExact(const TMissionData& md)
{
    // A DOW that is not a number never ends the search, so no reach bounds
    // its weights (and std::max would pass over it).
    if (std::isnan(md.DOW))
        return false;
    const double reach = std::max(std::fabs(md.MZFW), std::fabs(md.DOW) + 20);
    if (!(reach < kExactWhole))
        return false;
    double scaled = md.MZFW;
    double scaledReach = reach;
    for (int bits = 0; bits <= 52; ++bits) {
        if (std::floor(scaled) == scaled)
            return scaledReach <= 2 * kExactWhole;
        // Doubling a double is exact.
        scaled *= 2;
        scaledReach *= 2;
    }
    return false;
}

// The zero fuel weight of pass `pass` (1 for MZFW), exact by
// PayloadStepsExact.
double ZeroFuelWeightOfPass(const TMissionData& md, long pass)
{
    return md.MZFW - 10.0 * static_cast<double>(pass - 1);
}

// The outcome of pass `pass` on a scratch record, as the per-pass search
// computes it; nothing when the pass would fault or pass the pass bound.
std::optional<PayloadOutcome> PayloadOutcomeAt(TMissionData& scratch, long pass)
{
    try {
        scratch.ZeroFuelWeight = ZeroFuelWeightOfPass(scratch, pass - 1);
        double weight = 0;
        return PayloadPass(scratch, pass, weight);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

// The first pass that is accepted or finds no payload if the passes kept to
// their lines: doubling from pass 2, then halving. Only the speed rests on
// it.
std::optional<long> GuessPayloadEnd(TMissionData& scratch)
{
    long rejected = 1;
    long ends = 2;
    for (;;) {
        const std::optional<PayloadOutcome> outcome = PayloadOutcomeAt(scratch, ends);
        if (!outcome)
            return std::nullopt;
        if (*outcome != PayloadOutcome::Rejected)
            break;
        rejected = ends;
        ends *= 2;
    }
    while (ends - rejected > 1) {
        const long middle = rejected + (ends - rejected) / 2;
        const std::optional<PayloadOutcome> outcome = PayloadOutcomeAt(scratch, middle);
        if (!outcome)
            return std::nullopt;
        (*outcome != PayloadOutcome::Rejected ? ends : rejected) = middle;
    }
    return ends;
}

// Proves that every pass from 1 to `last` is rejected without a fault and
// tries a zero fuel weight of at least DOW. In real numbers the holding
// fuel, alternate fuel, landing weight, trip fuel, takeoff weight and
// takeoff fuel of a pass are straight lines in its zero fuel weight; with
// the holding slopes, the holding time and the weight term's slope at least
// 0 and the holding ratio from 0 to 1, none of them falls as the weight
// grows, so the pass at `last`, the lightest, bounds them all from below.
bool ProvePayloadStretch(TMissionData& scratch, long last)
{
    const TMissionData& md = scratch;
    const double lightest = ZeroFuelWeightOfPass(md, last);
    if (lightest < md.DOW)
        return false;
    double landing = 0;
    double trip = 0;
    double takeoff = 0;
    double fuel = 0;
    try {
        landing = HoldingAndAlternate(scratch, lightest);
        CalcTripFuel(scratch, md.StillAirDistance, md.FlightLevel, landing);
        trip = md.TripFuel;
        takeoff = fp::add(landing, trip);
        fuel = SumTakeoffFuel(md);
    } catch (const std::runtime_error&) {
        return false;
    }

    // Bounds of the magnitudes any pass of the stretch meets (kg), step by
    // step through the models, and of how much a rounding early in the chain
    // can grow on its way to the figures compared.
    const double weight = std::max(std::fabs(lightest), std::fabs(md.MZFW));
    const double holdingLines = (md.aH1 + md.aH2) * weight + std::fabs(md.bH1) + std::fabs(md.bH2);
    const double holding = 3 * holdingLines * (md.HoldingTime + 1);
    const double alternateLeg = 2 * (std::fabs(md.aC1 * md.AlternateDistance) + std::fabs(md.bC1));
    const double cruise = 2
        * (std::fabs(md.aC1 * md.StillAirDistance) + std::fabs(md.bC1)
            + std::fabs(md.aC2 * md.StillAirDistance) + std::fabs(md.bC2));
    const double alternate = md.aC3 * (weight + holding) + std::fabs(md.bC3) + alternateLeg;
    const double landingBound = weight + holding + alternate;
    const double tripBound = md.aC3 * landingBound + std::fabs(md.bC3) + cruise;
    const double magnitude = landingBound + tripBound + holding + alternate;
    const double growth = (1 + md.HoldingTime) * (1 + md.aC3) * (1 + md.aC3);
    if (!WithinMagnitude(magnitude * growth))
        return false;
    const double error = (magnitude * kErrorShare + kUnderflowError) * growth;

    // No fuel below 0 kg anywhere in the stretch. Without holding time the
    // holding fuel is 0 kg (or -0) at every weight.
    const bool holdingFits = md.HoldingTime == 0.0 || Down(md.HoldingFuel - 2 * error) >= 0.0;
    if (!holdingFits || !(Down(md.AlternateFuel - 2 * error) >= 0.0) || !(Down(trip - 2 * error) >= 0.0))
        return false;
    // One check fails over the whole stretch; the checks before it may fail
    // first, which rejects the pass all the same.
    return Exceeds(kLimitChecks[kLandingCheck], md, Down(landing - 2 * error))
        || Exceeds(kLimitChecks[kTakeoffCheck], md, Down(takeoff - 2 * error))
        || Exceeds(kLimitChecks[kTankCheck], md, Down(fuel - 2 * error));
}

// The last pass of a proved stretch, run again pass by pass so that the
// rejection it names is computed; 2 when no stretch is proved but the end
// is near. Nothing when the shortcut cannot answer.
std::optional<long> PayloadScanStart(const TMissionData& md)
{
    if (!(md.aH1 >= 0.0 && md.aH2 >= 0.0 && md.aC3 >= 0.0 && md.HoldingTime >= 0.0) || !PayloadStepsExact(md))
        return std::nullopt;
    // Pass 1 computed it without a fault.
    const double ratio = HoldingLineRatio(md, fp::add(md.HoldingAltitude, md.AlternateElevation));
    if (!(ratio >= 0.0 && ratio <= 1.0))
        return std::nullopt;
    TMissionData scratch = md;
    const std::optional<long> end = GuessPayloadEnd(scratch);
    if (!end)
        return std::nullopt;
    for (long gap = 1; gap <= kScanPasses / 2; gap *= 2) {
        const long last = *end - gap;
        if (last < 2)
            return 2;
        if (ProvePayloadStretch(scratch, last))
            return last;
    }
    return std::nullopt;
}

} // namespace

void SolveMaximumRangeFast(TMissionData& md, IMissionServices& services)
{
    // A search asked to stop before it starts stops after its first pass.
    if (md.AbortRequested)
        return SolveMaximumRange(md, services);
    const std::optional<RangeStart> start = OpenMaximumRange(md, services);
    if (!start)
        return;
    double totalFuel = 0;
    // The first pass as the per-pass search makes it: any fault of the
    // search's formulas as such shows here.
    if (RangePass(md, *start, totalFuel))
        return FinishMaximumRange(md, *start, totalFuel, false);

    const std::optional<double> first = RangeScanStart(md, *start);
    if (!first)
        return SolveMaximumRange(md, services);
    md.StillAirDistance = *first;
    for (long pass = 0; pass < kScanPasses; ++pass) {
        if (RangePass(md, *start, totalFuel))
            return FinishMaximumRange(md, *start, totalFuel, false);
    }
    SolveMaximumRange(md, services);
}

void SolveMaximumPayloadFast(TMissionData& md, IMissionServices& services)
{
    if (!OpenMaximumPayload(md, services))
        return;
    double weight = 0;
    PayloadOutcome outcome = PayloadPass(md, 1, weight);
    if (outcome == PayloadOutcome::Rejected) {
        const std::optional<long> first = PayloadScanStart(md);
        if (!first)
            return SolveMaximumPayload(md, services);
        // The weight the pass before left.
        md.ZeroFuelWeight = ZeroFuelWeightOfPass(md, *first - 1);
        bool tripComputed = false;
        try {
            for (long pass = *first;; ++pass) {
                if (pass - *first == kScanPasses)
                    return SolveMaximumPayload(md, services);
                outcome = PayloadPass(md, pass, weight);
                if (outcome != PayloadOutcome::Rejected)
                    break;
                tripComputed = tripComputed || md.LimitedBy != kLimitAllowableLandingWeight;
            }
        } catch (const SearchError&) {
            // The pass bound: the record it leaves is the per-pass search's.
            return SolveMaximumPayload(md, services);
        }
        // A search that finds no payload leaves the trip fuel of the last
        // pass that computed one; when none of the passes run here did, that
        // pass lies in the proved stretch, where the per-pass search finds it.
        if (outcome == PayloadOutcome::NoPayload && !tripComputed && *first > 2)
            return SolveMaximumPayload(md, services);
    }
    if (outcome == PayloadOutcome::NoPayload)
        return StopWithoutPayload(md, services);
    FinishMaximumPayload(md, weight);
}

} // namespace mirovax
