#include "engine/payload_range.h"

#include "engine/checked_math.h"
#include "engine/fast_search.h"
#include "engine/fuel_models.h"
#include "engine/headless_services.h"
#include "engine/solve.h"
#include "engine/text_format.h"

#include <algorithm>
#include <cmath>

namespace mirovax {

namespace {

// Counts the passes of a per-pass search; a search that goes on past the
// bound would never end, since the limits do not bind.
DiagramError NeverBinds()
{
    return DiagramError("The payload-range diagram cannot be drawn: neither the tank capacity nor the "
                        "allowable takeoff weight limits the range within "
        + FormatGeneral(kDiagramMaxStillAirNam) + " NAM.");
}

// Bounded: a search that never meets a limit ends at the diagram's reach.
HeadlessServices DiagramServices()
{
    return HeadlessServices(static_cast<long>(kDiagramMaxStillAirNam), [] { throw NeverBinds(); });
}

// A fuel model that gives less than 0 kg at some payload leaves that part of
// the diagram undrawable, as any fault of the search does.
std::string RefusalAt(const TMissionData& md, double payload)
{
    return "The payload-range diagram cannot be drawn at a payload of " + FormatMassExact(payload, md.Units)
        + " " + std::string(MassUnitText(md.Units)) + ": ";
}

[[noreturn]] void RefuseAt(const TMissionData& md, double payload, const FuelModelError& e)
{
    throw DiagramError(RefusalAt(md, payload) + e.what());
}

bool LandingCheckPasses(const TMissionData& base, double payload)
try {
    TMissionData md = base;
    const double zfw = fp::add(md.DOW, payload);
    CalcHoldingFuel(md, zfw, fp::add(md.HoldingAltitude, md.AlternateElevation), md.HoldingTime);
    const double withHolding = fp::add(zfw, md.HoldingFuel);
    CalcAlternateFuel(md, withHolding, md.AlternateDistance);
    return fp::add(withHolding, md.AlternateFuel) <= md.MALW;
} catch (const FuelModelError& e) {
    RefuseAt(base, payload, e);
}

PayloadRangePoint RangeAt(const TMissionData& base, double payload, HeadlessServices& services)
{
    TMissionData md = base;
    md.Payload = payload;
    md.AbortRequested = false;
    md.CalculationValid = true;
    md.LimitedBy.clear();
    services.Restart();
    try {
        SolveMaximumRangeFast(md, services);
    } catch (const FuelModelError& e) {
        RefuseAt(base, payload, e);
    }
    // The fast search yields only where it hands the search to the per-pass
    // one; an answer beyond the bound is refused as the per-pass search is
    // at its pass past the bound. It faults only at passes the per-pass
    // search makes as well, far below the bound: at the first, or one by one
    // from the second where its proof does not hold.
    if (md.CalculationValid && md.StillAirDistance > kDiagramMaxStillAirNam + 1)
        throw NeverBinds();
    if (!md.CalculationValid)
        throw DiagramError(RefusalAt(md, payload) + services.LimitMessage());
    return {payload, md.MaxRange, md.LimitedBy, false, {}};
}

} // namespace

std::vector<PayloadRangePoint> ComputePayloadRange(const TMissionData& md, int points)
{
    points = std::max(points, 2);
    {
        // The speeds do not depend on the payload: a wind that stops every
        // run stops the diagram as a whole.
        TMissionData speeds = md;
        HeadlessServices services = DiagramServices();
        if (!SolveSpeeds(speeds, services))
            throw DiagramError("The payload-range diagram cannot be drawn: " + services.LimitMessage());
    }
    double maxPayload = fp::sub(md.MZFW, md.DOW);
    std::string payloadLimit = "Zero Fuel Weight";
    if (maxPayload < 0)
        throw DiagramError("The payload-range diagram cannot be drawn: the dry operating weight is above the "
                           "maximum zero fuel weight.");
    if (!LandingCheckPasses(md, maxPayload)) {
        if (!LandingCheckPasses(md, 0))
            throw DiagramError("The payload-range diagram cannot be drawn: even without payload the landing "
                               "weight at the destination is above the allowable landing weight.");
        // The landing weight grows with the payload: bisect to the last
        // payload that passes, to the resolution of a double.
        double pass = 0, fail = maxPayload;
        while (true) {
            const double mid = pass + (fail - pass) / 2;
            if (mid <= pass || mid >= fail)
                break;
            (LandingCheckPasses(md, mid) ? pass : fail) = mid;
        }
        maxPayload = pass;
        payloadLimit = "Allowable Landing Weight";
    }

    std::vector<double> payloads;
    payloads.reserve(static_cast<size_t>(points));
    for (int i = 0; i < points; ++i)
        payloads.push_back(maxPayload * i / (points - 1));
    // Below this payload the tank fills before the takeoff weight is reached;
    // here both limits meet in the same pass.
    const double tankCorner = md.MATOW - md.TCAP - md.DOW;
    const bool hasTankCorner = tankCorner > 0 && tankCorner < maxPayload;
    if (hasTankCorner)
        payloads.push_back(tankCorner);
    std::sort(payloads.begin(), payloads.end(), std::greater<>());
    payloads.erase(std::unique(payloads.begin(), payloads.end()), payloads.end());

    HeadlessServices services = DiagramServices();
    std::vector<PayloadRangePoint> diagram;
    diagram.push_back({maxPayload, 0, payloadLimit, true, payloadLimit});
    for (double payload : payloads) {
        PayloadRangePoint point = RangeAt(md, payload, services);
        point.corner = payload == maxPayload || (hasTankCorner && payload == tankCorner) || payload == 0;
        diagram.push_back(point);
    }
    // A point names the limit that binds on the stretch that ends at it (at
    // the tank corner both meet and the takeoff weight is named); a corner
    // names the one on the stretch that starts at it.
    for (size_t i = 1; i < diagram.size(); ++i) {
        if (diagram[i].corner)
            diagram[i].bindsFromHere
                = i + 1 < diagram.size() ? diagram[i + 1].limitedBy : std::string(kFerryRange);
    }
    return diagram;
}

std::vector<double> AxisTicks(double maximum, int maxTicks)
{
    maxTicks = std::max(maxTicks, 1);
    if (!(maximum > 0) || !std::isfinite(maximum))
        maximum = 1;
    const double raw = maximum / maxTicks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * magnitude;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= raw) {
            step = factor * magnitude;
            break;
        }
    }
    // The quotient can land a rounding error above a whole number.
    const auto intervals = static_cast<int>(std::ceil(maximum / step - 1e-9));
    std::vector<double> ticks;
    for (int i = 0; i <= intervals; ++i)
        ticks.push_back(i * step);
    return ticks;
}

bool InsideEnvelope(const std::vector<PayloadRangePoint>& diagram, double payload, double range)
{
    if (!(range >= 0) || !(payload >= 0))
        return false;
    bool covered = false;
    double reach = 0; // NM, the envelope's range at this payload
    for (size_t i = 1; i < diagram.size(); ++i) {
        const PayloadRangePoint& upper = diagram[i - 1];
        const PayloadRangePoint& lower = diagram[i];
        if (payload > upper.payload || payload < lower.payload)
            continue;
        covered = true;
        double segmentReach = std::max(upper.range, lower.range);
        if (upper.payload > lower.payload) {
            const double t = (upper.payload - payload) / (upper.payload - lower.payload);
            segmentReach = upper.range + t * (lower.range - upper.range);
        }
        reach = std::max(reach, segmentReach);
    }
    if (diagram.size() == 1 && payload == diagram.front().payload) {
        covered = true;
        reach = diagram.front().range;
    }
    return covered && range <= reach;
}

} // namespace mirovax
