#include "payload_range.h"

#include "checked_math.h"
#include "fuel_models.h"
#include "solve.h"
#include "text_format.h"

#include <algorithm>

namespace mirovax {

namespace {

// Runs the search without yielding; a search that goes on past the bound
// would never end, since the limits do not bind.
class DiagramServices : public IMissionServices {
public:
    void ReportLimit(const std::string& message) override { limitMessage = message; }
    void YieldEvents() override
    {
        if (++m_passes > static_cast<long>(kDiagramMaxStillAirNam))
            throw DiagramError("The payload-range diagram cannot be drawn: neither the tank capacity nor the "
                               "allowable takeoff weight limits the range within "
                + FormatGeneral(kDiagramMaxStillAirNam) + " NAM.");
    }
    void Restart()
    {
        m_passes = 0;
        limitMessage.clear();
    }
    std::string limitMessage;

private:
    long m_passes = 0;
};

// A fuel model that gives less than 0 kg at some payload leaves that part of
// the diagram undrawable, as any fault of the search does.
[[noreturn]] void RefuseAt(double payload, const FuelModelError& e)
{
    throw DiagramError("The payload-range diagram cannot be drawn at a payload of " + FormatGeneral(payload)
        + " kg: " + e.what());
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
    RefuseAt(payload, e);
}

PayloadRangePoint RangeAt(const TMissionData& base, double payload, DiagramServices& services)
{
    TMissionData md = base;
    md.Payload = payload;
    md.AbortRequested = false;
    md.CalculationValid = true;
    md.LimitedBy.clear();
    services.Restart();
    try {
        SolveMaximumRange(md, services);
    } catch (const FuelModelError& e) {
        RefuseAt(payload, e);
    }
    if (!md.CalculationValid)
        throw DiagramError("The payload-range diagram cannot be drawn at a payload of "
            + FormatGeneral(payload) + " kg: " + services.limitMessage);
    return {payload, md.MaxRange, md.LimitedBy, false};
}

} // namespace

std::vector<PayloadRangePoint> ComputePayloadRange(const TMissionData& md, int points)
{
    points = std::max(points, 2);
    {
        // The speeds do not depend on the payload: a wind that stops every
        // run stops the diagram as a whole.
        TMissionData speeds = md;
        DiagramServices services;
        if (!SolveSpeeds(speeds, services))
            throw DiagramError("The payload-range diagram cannot be drawn: " + services.limitMessage);
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

    DiagramServices services;
    std::vector<PayloadRangePoint> diagram;
    diagram.push_back({maxPayload, 0, payloadLimit, true});
    for (double payload : payloads) {
        PayloadRangePoint point = RangeAt(md, payload, services);
        point.corner = payload == maxPayload || (hasTankCorner && payload == tankCorner) || payload == 0;
        diagram.push_back(point);
    }
    return diagram;
}

} // namespace mirovax
