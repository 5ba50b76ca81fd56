#include "fast_search_missions.h"

#include "engine/checked_math.h"
#include "engine/fast_search.h"
#include "engine/fuel_models.h"
#include "engine/solve.h"
#include "engine/solve_steps.h"
#include "engine/text_format.h"

#include <bit>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

namespace mirovax::fast_search_check {

namespace {

class PassBoundReached : public std::exception { };

// Records the messages; the per-pass Maximum Range search is cut off at
// kPassBound passes.
class CheckServices : public IMissionServices {
public:
    void ReportLimit(const std::string& message) override { messages.push_back(message); }
    void YieldEvents() override
    {
        if (++m_passes > kPassBound)
            throw PassBoundReached();
    }
    std::vector<std::string> messages;

private:
    long m_passes = 0;
};

struct Outcome {
    TMissionData md;
    std::vector<std::string> messages;
    std::string thrown; // the exception's kind and text
    bool cutOff = false;
};

Outcome Run(const TMissionData& start, void (*solve)(TMissionData&, IMissionServices&))
{
    Outcome out{start, {}, {}, false};
    CheckServices services;
    try {
        solve(out.md, services);
    } catch (const PassBoundReached&) {
        out.cutOff = true;
    } catch (const ArithmeticError& e) {
        out.thrown = std::string("ArithmeticError: ") + e.what();
    } catch (const FuelModelError& e) {
        out.thrown = std::string("FuelModelError: ") + e.what();
    } catch (const SearchError& e) {
        out.thrown = std::string("SearchError: ") + e.what();
    }
    out.messages = services.messages;
    return out;
}

std::string Differences(const Outcome& slow, const Outcome& fast)
{
    std::string out;
    auto note = [&out](const std::string& what, const std::string& a, const std::string& b) {
        out += "  " + what + ": per-pass " + a + ", fast " + b + "\n";
    };
    auto compare = [&](const auto& fields) {
        for (const NumericField& field : fields) {
            const double a = slow.md.*field.member;
            const double b = fast.md.*field.member;
            if (std::bit_cast<std::uint64_t>(a) != std::bit_cast<std::uint64_t>(b))
                note(field.name, FormatRoundTrip(a), FormatRoundTrip(b));
        }
    };
    compare(kAirplaneNumbers);
    compare(kInputFields);
    compare(kResultFields);
    if (slow.md.LimitedBy != fast.md.LimitedBy)
        note("LimitedBy", slow.md.LimitedBy, fast.md.LimitedBy);
    if (slow.md.CalculationValid != fast.md.CalculationValid)
        note("CalculationValid", std::to_string(slow.md.CalculationValid),
            std::to_string(fast.md.CalculationValid));
    if (slow.md.AbortRequested != fast.md.AbortRequested)
        note(
            "AbortRequested", std::to_string(slow.md.AbortRequested), std::to_string(fast.md.AbortRequested));
    if (slow.messages != fast.messages) {
        auto joined = [](const std::vector<std::string>& v) {
            std::string s;
            for (const std::string& m : v)
                s += "[" + m + "]";
            return s;
        };
        note("messages", joined(slow.messages), joined(fast.messages));
    }
    if (slow.thrown != fast.thrown)
        note("exception", "[" + slow.thrown + "]", "[" + fast.thrown + "]");
    return out;
}

class Draw {
public:
    explicit Draw(std::uint64_t seed)
        : m_rng(seed)
    { }
    double Uniform(double low, double high)
    {
        return std::uniform_real_distribution<double>(low, high)(m_rng);
    }
    // A whole number, as most entries are typed.
    double Whole(double low, double high) { return std::round(Uniform(low, high)); }
    // Whole most of the time, otherwise with decimals.
    double Entry(double low, double high) { return Chance(0.8) ? Whole(low, high) : Uniform(low, high); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

private:
    std::mt19937_64 m_rng;
};

void RandomAirplane(Draw& d, TMissionData& md)
{
    md.Type = "random";
    md.DOW = d.Entry(8'000, 150'000);
    md.MZFW = md.DOW + d.Entry(1'000, 60'000);
    md.TCAP = d.Entry(2'000, 140'000);
    md.MTOW = md.MZFW + md.TCAP;
    md.MLAW = md.MZFW + d.Entry(0, 20'000);
    md.MaxAlt = 41'000;
    md.Mach = d.Uniform(0.6, 0.88);
    md.aH1 = d.Uniform(0.005, 0.06);
    md.bH1 = d.Entry(0, 2'000);
    md.aH2 = d.Uniform(0.005, 0.06);
    md.bH2 = d.Entry(0, 2'000);
    md.MaxHold = d.Whole(5'000, 25'000);
    md.aC1 = d.Uniform(1, 15);
    md.bC1 = d.Entry(0, 1'500);
    md.aC2 = d.Uniform(1, 15);
    md.bC2 = d.Entry(0, 1'500);
    md.MinCruise = d.Whole(100, 250);
    md.MaxCruise = d.Whole(300, 430);
    md.aC3 = d.Chance(0.1) ? 0 : d.Uniform(0, 0.05);
    md.bC3 = d.Entry(0, 500);
}

void RandomEntries(Draw& d, TMissionData& md)
{
    md.Payload = d.Entry(0, md.MZFW - md.DOW);
    md.FlightLevel = d.Whole(50, 450);
    md.OAT = d.Entry(-70, 30);
    md.Wind = d.Entry(-120, 120);
    md.MATOW = d.Chance(0.5) ? md.MTOW : d.Entry(md.DOW, md.MTOW * 1.2);
    md.MALW = d.Chance(0.5) ? md.MLAW : d.Entry(md.DOW, md.MLAW * 1.2);
    md.AlternateElevation = d.Entry(-200, 6'000);
    md.TripDistance = d.Entry(50, 8'000);
    md.AlternateDistance = d.Entry(0, 400);
    md.HoldingTime = d.Entry(0, 60);
    md.HoldingAltitude = d.Entry(0, 12'000);
    md.ContingencyPercent = d.Entry(0, 10);
    md.CalculationValid = true;
}

// Figures of the searches' passes, computed with the engine's operations,
// for limits that land exactly on them.
struct PassFigures {
    double landing = 0; // kg, without trip fuel
    double reserve = 0; // kg, holding plus alternate fuel
    double tripFuel = 0; // kg
};

PassFigures FiguresAt(TMissionData md, double zeroFuelWeight, double distance)
{
    PassFigures f;
    f.landing = solve_steps::HoldingAndAlternate(md, zeroFuelWeight);
    f.reserve = md.HoldingFuel + md.AlternateFuel + 0.0;
    CalcTripFuel(md, distance, md.FlightLevel, f.landing);
    f.tripFuel = md.TripFuel;
    return f;
}

// Limits equal to a figure of a chosen pass: the check passes there and
// fails at the next pass or the one after.
void LandOnALimit(Draw& d, TMissionData& md)
{
    try {
        CalcTrueAirspeed(md);
        CalcGroundSpeed(md);
        const double stillAir = md.TripDistance * md.TrueAirspeed / md.GroundSpeed;
        switch (d.Pick(4)) {
        case 0: { // Maximum Range: the total fuel at a distance equals TCAP
            const PassFigures f = FiguresAt(md, md.DOW + md.Payload, d.Whole(1, 12'000));
            md.TCAP = f.tripFuel + f.reserve;
            md.MATOW = 1e9;
            break;
        }
        case 1: { // Maximum Range: the takeoff weight equals MATOW
            const PassFigures f = FiguresAt(md, md.DOW + md.Payload, d.Whole(1, 12'000));
            md.MATOW = f.landing + f.tripFuel;
            md.TCAP = d.Chance(0.5) ? 1e9 : f.tripFuel + f.reserve;
            break;
        }
        case 2: { // Maximum Payload: the landing weight of a step equals MALW
            const PassFigures f = FiguresAt(md, md.MZFW - 10 * d.Whole(0, 3'000), stillAir);
            md.MALW = f.landing;
            break;
        }
        default: { // Maximum Payload: the takeoff weight or fuel of a step
            const PassFigures f = FiguresAt(md, md.MZFW - 10 * d.Whole(0, 3'000), stillAir);
            if (d.Chance(0.5))
                md.MATOW = f.landing + f.tripFuel;
            else
                md.TCAP = f.reserve + f.tripFuel;
            break;
        }
        }
    } catch (const std::runtime_error&) {
        // Data on which the models fault: the searches compare as they are.
    }
}

void Adversarial(Draw& d, TMissionData& md)
{
    switch (d.Pick(12)) {
    case 0: // flat distance fuel on one line or both
        (d.Chance(0.5) ? md.aC1 : md.aC2) = 0;
        if (d.Chance(0.1))
            md.aC1 = md.aC2 = 0;
        break;
    case 1: // falling distance fuel
        (d.Chance(0.5) ? md.aC1 : md.aC2) = -d.Uniform(0.001, 3);
        break;
    case 2: // falling holding flow or weight term
        (d.Chance(0.5) ? md.aH1 : md.aH2) = -d.Uniform(0.001, 0.05);
        if (d.Chance(0.3))
            md.aC3 = -d.Uniform(0.0001, 0.01);
        break;
    case 3:
    case 4:
        LandOnALimit(d, md);
        break;
    case 5: // ranges above 10,000 NAM
        md.aC1 = d.Uniform(0.3, 2);
        md.aC2 = d.Uniform(0.3, 2);
        md.TCAP = d.Entry(20'000, 200'000);
        md.MATOW = md.MTOW = 1e7;
        break;
    case 6: // huge limits
        md.MATOW = d.Chance(0.5) ? 1e15 : md.MATOW;
        md.MALW = d.Chance(0.5) ? 1e15 : md.MALW;
        md.TCAP = d.Chance(0.5) ? d.Entry(1e5, 1e6) : md.TCAP;
        break;
    case 7: // tiny limits: the first pass or no payload at all
        md.TCAP = d.Uniform(0, 50);
        if (d.Chance(0.5))
            md.MALW = d.Uniform(0, md.DOW);
        if (d.Chance(0.3))
            md.MATOW = d.Uniform(0, md.DOW);
        break;
    case 8: // zero denominators and a wind the airplane cannot fly against
        switch (d.Pick(4)) {
        case 0:
            md.MaxHold = 1500;
            md.HoldingAltitude = 0;
            break;
        case 1:
            md.MaxCruise = md.MinCruise;
            break;
        case 2:
            md.TripDistance = 0;
            break;
        default:
            md.Wind = 1'000;
            break;
        }
        break;
    case 9: // zero fuel weights that are not whole, and a far-off MZFW
        md.MZFW += d.Chance(0.5) ? 0.25 : d.Uniform(0, 1);
        if (d.Chance(0.05))
            md.MZFW = md.DOW + d.Entry(1e5, 1e7);
        break;
    case 10: // lines below 0 kg somewhere
        md.bC1 = -d.Entry(0, 5'000);
        md.bH1 = -d.Entry(0, 3'000);
        break;
    default: // a holding level at or above MaxHold, a level outside the lines
        md.HoldingAltitude = d.Chance(0.5) ? 40'000 : 1500;
        md.FlightLevel = d.Chance(0.5) ? 10 : 600;
        if (d.Chance(0.3))
            std::swap(md.MinCruise, md.MaxCruise);
        break;
    }
}

} // namespace

TMissionData RandomMission(std::uint64_t seed)
{
    Draw d(seed);
    TMissionData md;
    RandomAirplane(d, md);
    RandomEntries(d, md);
    if (d.Chance(0.35))
        Adversarial(d, md);
    return md;
}

Comparison CompareSearches(const TMissionData& md)
{
    struct Mode {
        const char* name;
        void (*perPass)(TMissionData&, IMissionServices&);
        void (*fast)(TMissionData&, IMissionServices&);
    };
    const Mode modes[] = {
        {"Maximum Range", SolveMaximumRange, SolveMaximumRangeFast},
        {"Maximum Payload", SolveMaximumPayload, SolveMaximumPayloadFast},
    };
    Comparison out;
    out.compared = true;
    for (const Mode& mode : modes) {
        const Outcome slow = Run(md, mode.perPass);
        if (slow.cutOff) {
            out.compared = false;
            continue;
        }
        const Outcome fast = Run(md, mode.fast);
        const std::string differences
            = fast.cutOff ? "  the fast search was cut off\n" : Differences(slow, fast);
        if (!differences.empty()) {
            out.difference = std::string(mode.name) + ":\n" + differences;
            return out;
        }
    }
    return out;
}

} // namespace mirovax::fast_search_check
