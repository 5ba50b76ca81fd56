#include "engine/mission_limits.h"

#include "engine/checked_math.h"
#include "engine/fast_search.h"
#include "engine/fuel_models.h"
#include "engine/headless_services.h"
#include "engine/solve.h"
#include "engine/solve_steps.h"

#include <cmath>

namespace mirovax {

using namespace fp;
using namespace solve_steps;

namespace {

// The linear walk for extra fuel, where the checks are not provably
// monotone, gives up after this many kilograms; the Trip Time and Fuel runs
// that verify the extra payload after this many 10 kg steps.
constexpr double kMaxFuelWalk = 1 << 20;
constexpr long kMaxPayloadSteps = 100'000;

// The extras run the solve modes on copies: no message, no event.
// Appends an entry; one whose margin no double can hold (limits near the
// largest double of opposite signs) is left out rather than shown wrong.
void AddEntry(MissionLimits& out, std::string_view name, double value, double limit)
{
    const bool structural = name == kMarginStructuralTakeoff || name == kMarginStructuralLanding;
    LimitMargin entry{std::string(name), value, limit, 0, false, structural};
    try {
        entry.margin = sub(limit, value);
    } catch (const ArithmeticError&) {
        return;
    }
    out.limits.push_back(entry);
}

void AddCheck(MissionLimits& out, const TMissionData& md, const LimitCheck& check, double value)
{
    AddEntry(out, check.name, value, md.*check.limit);
}

LimitMargin* FindEntry(MissionLimits& out, std::string_view name)
{
    for (LimitMargin& entry : out.limits) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

void Bind(MissionLimits& out, std::string_view name)
{
    if (LimitMargin* entry = FindEntry(out, name)) {
        entry->binding = true;
        out.binding = entry->name;
    }
}

// The limit that stopped the run, and by how much its quantity went over.
void Stop(MissionLimits& out, std::string_view name)
{
    out.stopped = true;
    out.stoppedBy = std::string(name);
    if (const LimitMargin* entry = FindEntry(out, name))
        out.exceededBy = -entry->margin;
    Bind(out, name);
}

// The entry a search's LimitedBy names; the Maximum Range search says
// "Maximum Takeoff Weight" for the allowable takeoff weight.
std::string_view EntryOfLimitedBy(std::string_view limitedBy)
{
    if (limitedBy == kLimitMaximumTakeoffWeight)
        return kMarginTakeoffWeight;
    for (const LimitCheck& check : kLimitChecks) {
        if (check.name == limitedBy)
            return check.name;
    }
    return {};
}

// Trip Time and Fuel, or Maximum Range before its search: the checks in the
// run's order, from the record's figures. A run that stopped wrote the
// quantities up to the check that stopped it; the entries after it would
// show figures of an earlier run, so they are not listed.
void ListChecks(MissionLimits& out, const TMissionData& md, std::size_t count, bool valid)
{
    for (std::size_t i = 0; i < count; ++i) {
        const LimitCheck& check = kLimitChecks[i];
        const double value = check.quantity(md);
        AddCheck(out, md, check, value);
        if (!valid && Exceeds(check, md, value)) {
            Stop(out, check.name);
            return;
        }
    }
}

// The smallest margin of the weight and tank checks; the first on a tie.
void BindSmallestMargin(MissionLimits& out)
{
    const LimitMargin* smallest = nullptr;
    for (const LimitMargin& entry : out.limits) {
        if (smallest == nullptr || entry.margin < smallest->margin)
            smallest = &entry;
    }
    if (smallest != nullptr)
        Bind(out, smallest->name);
}

// Maximum Payload stopped below the dry operating weight: the mission at a
// payload of 0 kg, each check as the search makes it (no contingency fuel),
// listed up to the limit that left no payload, whose excess is the one
// given. Where the 10 kg steps passed over a payload below 10 kg, that limit
// is not exceeded at the dry operating weight and the excess is 0 or less.
void ListNoPayload(MissionLimits& out, const TMissionData& md)
{
    TMissionData at = md;
    at.ContingencyFuel = 0;
    std::array<double, kLimitChecks.size()> values{};
    std::size_t computed = 0;
    // A fault at the dry operating weight leaves the figures before it.
    try {
        values[computed++] = md.DOW;
        const double landing = HoldingAndAlternate(at, md.DOW);
        values[computed++] = landing;
        CalcTripFuel(at, at.StillAirDistance, at.FlightLevel, landing);
        const double takeoff = add(landing, at.TripFuel);
        values[computed++] = takeoff;
        const double fuel = SumTakeoffFuel(at);
        values[computed++] = fuel;
    } catch (const std::runtime_error&) { }
    const std::string_view stoppedBy = EntryOfLimitedBy(md.LimitedBy);
    for (std::size_t i = 0; i < computed; ++i) {
        AddCheck(out, md, kLimitChecks[i], values[i]);
        if (kLimitChecks[i].name == stoppedBy)
            break;
    }
    Stop(out, stoppedBy);
}

// Whether E kg of fuel more still passes the landing, takeoff and tank checks:
// E joins the running weight right after the alternate fuel, so the landing
// check, the trip fuel and the contingency see it, and it is added to the
// minimum takeoff fuel and so to the takeoff weight. With E = 0 this is the
// run itself, operation for operation.
class ExtraFuelProbe {
public:
    explicit ExtraFuelProbe(const TMissionData& md)
        : m_md(md)
        , m_landingWeight(CheckedLandingWeight(md))
    { }

    bool Passes(double extra)
    {
        const double weight = add(m_landingWeight, extra);
        if (Exceeds(kLimitChecks[kLandingCheck], m_md, weight))
            return false;
        TripAndContingencyFuel(m_md, weight);
        const double fuel = add(SumTakeoffFuel(m_md), extra);
        return !Exceeds(kLimitChecks[kTakeoffCheck], m_md, add(m_md.ZeroFuelWeight, fuel))
            && !Exceeds(kLimitChecks[kTankCheck], m_md, fuel);
    }

private:
    TMissionData m_md;
    double m_landingWeight;
};

// The first failing E minus 1. With a trip fuel that does not fall as the
// weight grows and a contingency that is not negative, every quantity the
// checks compare is a chain of rounded additions and multiplications by
// non-negative factors of E, so none falls as E grows: once a check fails it
// fails for every larger E, and doubling then halving finds the first
// failure exactly in a few thousand probes at most, whatever the limits.
// Otherwise each kilogram is tried in turn, up to kMaxFuelWalk.
std::optional<double> ExtraFuel(const TMissionData& md)
{
    ExtraFuelProbe probe(md);
    if (!probe.Passes(0))
        return std::nullopt;
    if (md.aC3 >= 0.0 && md.ContingencyPercent >= 0.0) {
        double passes = 0;
        double fails = 1;
        while (probe.Passes(fails)) {
            passes = fails;
            fails = mul(fails, 2.0);
        }
        // Above 2^53 kg not every whole number is a double: the search ends
        // when no whole number lies between the two.
        for (;;) {
            const double middle = std::floor(passes + (fails - passes) / 2);
            if (middle <= passes || middle >= fails)
                return passes;
            (probe.Passes(middle) ? passes : fails) = middle;
        }
    }
    for (double extra = 1; extra <= kMaxFuelWalk; extra += 1) {
        if (!probe.Passes(extra))
            return extra - 1;
    }
    return std::nullopt;
}

// The Maximum Payload of the same entries less the payload. That search
// carries no contingency fuel, so the figure is stepped down by the search's
// own 10 kg until a Trip Time and Fuel run with it passes; never below 0.
std::optional<double> ExtraPayload(const TMissionData& md)
{
    HeadlessServices silent;
    TMissionData search = md;
    search.CalculationValid = true;
    SolveMaximumPayloadFast(search, silent);
    if (!search.CalculationValid)
        return 0.0;
    double extra = sub(search.MaxPayload, md.Payload);
    for (long step = 0; extra > 0.0; ++step) {
        if (step == kMaxPayloadSteps)
            return std::nullopt;
        TMissionData trip = md;
        trip.CalculationValid = true;
        trip.Payload = add(md.Payload, extra);
        SolveTripTimeAndFuel(trip, silent);
        if (trip.CalculationValid)
            return extra;
        const double lower = sub(extra, 10.0);
        // So large that 10 kg no longer changes it: no step would help.
        if (lower == extra)
            return std::nullopt;
        extra = lower;
    }
    return 0.0;
}

// A fault inside a search leaves its extra empty.
std::optional<double> Guarded(std::optional<double> (*extra)(const TMissionData&), const TMissionData& md)
{
    try {
        return extra(md);
    } catch (const ArithmeticError&) {
    } catch (const FuelModelError&) {
    } catch (const SearchError&) { }
    return std::nullopt;
}

} // namespace

MarginState MarginStateOf(const LimitMargin& margin, bool firstDistanceBeyondLimit)
{
    if (margin.margin < 0)
        return firstDistanceBeyondLimit ? MarginState::Near : MarginState::Exceeded;
    if (margin.margin <= margin.limit * kNearMarginShare && !margin.structural)
        return MarginState::Near;
    return MarginState::Ok;
}

MissionLimits ComputeMissionLimits(const TMissionData& md, std::string_view modeText, bool valid)
{
    MissionLimits out;
    const bool trip = modeText == kModeTripTimeAndFuel;
    const bool range = modeText == kModeMaximumRange;
    const bool payload = modeText == kModeMaximumPayload;
    // Inputs that could not be read, or a wind the airplane cannot fly
    // against: the run computed no weight.
    const bool weighed = md.ConversionError == 0 && (trip || range || payload) && GroundSpeedAllowsFlight(md);
    if (weighed && trip) {
        ListChecks(out, md, kLimitChecks.size(), valid);
        if (valid) {
            BindSmallestMargin(out);
            out.extraFuel = Guarded(ExtraFuel, md);
            out.extraPayload = Guarded(ExtraPayload, md);
        }
    } else if (weighed && range) {
        ListChecks(out, md, valid ? kLimitChecks.size() : kChecksBeforeRangeSearch, valid);
        if (valid && md.LimitedBy != kLimitAborted) {
            Bind(out, EntryOfLimitedBy(md.LimitedBy));
            out.firstDistanceBeyondLimit = true;
        }
    } else if (weighed && payload) {
        if (valid) {
            for (const LimitCheck& check : kLimitChecks)
                AddCheck(out, md, check, check.quantity(md));
            Bind(out, EntryOfLimitedBy(md.LimitedBy));
        } else if (NoPayloadFits(md)) {
            ListNoPayload(out, md);
        }
    }
    AddEntry(out, kMarginStructuralTakeoff, md.MATOW, md.MTOW);
    AddEntry(out, kMarginStructuralLanding, md.MALW, md.MLAW);
    return out;
}

} // namespace mirovax
