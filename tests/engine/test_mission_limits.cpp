#include "engine/fuel_models.h"
#include "engine/mission_limits.h"
#include "engine/solve.h"
#include "engine/text_format.h"
#include "test_support.h"
#include "worked_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>

using namespace mirovax;
using mirovax::test::RecordingServices;

namespace {

TMissionData Worked()
{
    return mirovax::testing::WorkedRecord();
}

TMissionData Heavy()
{
    TMissionData md = mirovax::testing::WorkedRecord(mirovax::testing::HeavyJet());
    md.Payload = 40000;
    md.TripDistance = 3000;
    md.MATOW = md.MTOW;
    md.MALW = md.MLAW;
    return md;
}

using Solver = void (*)(TMissionData&, IMissionServices&);

struct Solved {
    TMissionData md;
    std::vector<std::string> messages;
    MissionLimits limits;
};

// Solves on a record whose results hold figures of an earlier run, as the
// window's record does, so that a stale figure listed as fresh shows.
Solved Solve(TMissionData md, std::string_view mode, long abortAfterYields = -1)
{
    md.ZeroFuelWeight = md.TakeoffWeight = md.MinTakeoffFuel = md.HoldingFuel = md.AlternateFuel = 1e9;
    RecordingServices services(&md, abortAfterYields);
    if (mode == kModeTripTimeAndFuel)
        SolveTripTimeAndFuel(md, services);
    if (mode == kModeMaximumRange)
        SolveMaximumRange(md, services);
    if (mode == kModeMaximumPayload)
        SolveMaximumPayload(md, services);
    MissionLimits limits = ComputeMissionLimits(md, mode, md.CalculationValid);
    return {md, services.messages, limits};
}

std::vector<std::string> Names(const MissionLimits& limits)
{
    std::vector<std::string> names;
    for (const LimitMargin& m : limits.limits)
        names.push_back(m.name);
    return names;
}

const LimitMargin& Entry(const MissionLimits& limits, std::string_view name)
{
    for (const LimitMargin& m : limits.limits) {
        if (m.name == name)
            return m;
    }
    throw std::runtime_error("no entry " + std::string(name));
}

// Every listed entry, the binding flags against the binding name, the
// margin as limit - value.
void ExpectConsistent(const MissionLimits& limits, const std::string& what)
{
    int flagged = 0;
    for (const LimitMargin& m : limits.limits) {
        EXPECT_EQ(m.margin, m.limit - m.value) << what << ": " << m.name;
        if (m.binding) {
            ++flagged;
            EXPECT_EQ(m.name, limits.binding) << what;
        }
    }
    EXPECT_EQ(flagged, limits.binding.empty() ? 0 : 1) << what;
    ASSERT_GE(limits.limits.size(), 2u) << what;
    EXPECT_EQ(limits.limits[limits.limits.size() - 2].name, kMarginStructuralTakeoff) << what;
    EXPECT_EQ(limits.limits.back().name, kMarginStructuralLanding) << what;
}

const std::vector<std::string> kAllFour = {std::string(kMarginZeroFuelWeight),
    std::string(kMarginLandingWeight), std::string(kMarginTakeoffWeight), std::string(kMarginTankCapacity),
    std::string(kMarginStructuralTakeoff), std::string(kMarginStructuralLanding)};

std::vector<std::string> FirstChecks(size_t n)
{
    std::vector<std::string> names(kAllFour.begin(), kAllFour.begin() + static_cast<long>(n));
    names.insert(names.end(), kAllFour.end() - 2, kAllFour.end());
    return names;
}

// The weight the landing check compares with MALW.
double LandingWeight(const TMissionData& md)
{
    return md.ZeroFuelWeight + md.HoldingFuel + md.AlternateFuel;
}

// Extra fuel checked without the engine's search: E joins the landing
// weight, the trip fuel and contingency follow from it, and E is added to
// the minimum takeoff fuel.
bool ExtraFuelFits(const TMissionData& run, double extra)
{
    TMissionData md = run;
    const double landing = LandingWeight(md) + extra;
    if (landing > md.MALW)
        return false;
    CalcTripFuel(md, md.StillAirDistance, md.FlightLevel, landing);
    const double contingency = md.TripFuel * md.ContingencyPercent / 100.0;
    const double fuel = md.HoldingFuel + contingency + md.TripFuel + md.AlternateFuel + extra;
    return md.ZeroFuelWeight + fuel <= md.MATOW && fuel <= md.TCAP;
}

bool TripPasses(TMissionData md, double payload)
{
    md.Payload = payload;
    return Solve(md, kModeTripTimeAndFuel).md.CalculationValid;
}

} // namespace

// Trip Time and Fuel: each of the four limits binds when its margin is the
// smallest; nothing is stale, and the structural pair follows.
TEST(MissionLimits, TripBindsTheSmallestMargin)
{
    const Solved base = Solve(Worked(), kModeTripTimeAndFuel);
    const double landing = LandingWeight(base.md);
    struct Case {
        std::string_view binds;
        std::function<void(TMissionData&)> set;
    };
    const Case cases[] = {
        {kMarginTankCapacity, [](TMissionData&) {}}, // 178 kg left in the tanks
        {kMarginZeroFuelWeight, [](TMissionData& md) { md.MZFW = 19000; }},
        {kMarginLandingWeight, [&](TMissionData& md) { md.MALW = landing + 5; }},
        {kMarginTakeoffWeight, [&](TMissionData& md) { md.MATOW = base.md.TakeoffWeight + 5; }},
    };
    for (const Case& c : cases) {
        TMissionData md = Worked();
        c.set(md);
        const Solved run = Solve(md, kModeTripTimeAndFuel);
        const std::string what(c.binds);
        ASSERT_TRUE(run.md.CalculationValid) << what;
        EXPECT_EQ(Names(run.limits), kAllFour) << what;
        EXPECT_EQ(run.limits.binding, c.binds);
        EXPECT_FALSE(run.limits.stopped) << what;
        EXPECT_FALSE(run.limits.firstDistanceBeyondLimit) << what;
        ExpectConsistent(run.limits, what);
        EXPECT_EQ(Entry(run.limits, kMarginZeroFuelWeight).value, 19000) << what;
        EXPECT_EQ(Entry(run.limits, kMarginLandingWeight).value, LandingWeight(run.md)) << what;
        EXPECT_EQ(Entry(run.limits, kMarginTakeoffWeight).value, run.md.TakeoffWeight) << what;
        EXPECT_EQ(Entry(run.limits, kMarginTankCapacity).value, run.md.MinTakeoffFuel) << what;
        EXPECT_EQ(Entry(run.limits, kMarginStructuralTakeoff).margin, run.md.MTOW - run.md.MATOW) << what;
    }
    const MissionLimits& limits = base.limits;
    EXPECT_EQ(Entry(limits, kMarginTankCapacity).limit, 6000);
    EXPECT_NEAR(Entry(limits, kMarginTankCapacity).margin, 178.0, 0.01);
}

// A stopped run lists the limits up to the one that stopped it, names it
// with its excess, and the run's own message is that limit's.
TEST(MissionLimits, StopsNameTheLimitAndHideWhatWasNotComputed)
{
    const Solved base = Solve(Worked(), kModeTripTimeAndFuel);
    const double landing = LandingWeight(base.md);
    struct Case {
        std::string_view mode;
        std::function<void(TMissionData&)> set;
        size_t listed; // of the four checks
        std::string_view stoppedBy;
        double exceededBy;
        std::string message;
    };
    const Case cases[] = {
        {kModeTripTimeAndFuel, [](TMissionData& md) { md.MZFW = 18990; }, 1, kMarginZeroFuelWeight, 10,
            "Maximum Zero Fuel Weight of 18990 kg exceeded!"},
        {kModeTripTimeAndFuel, [&](TMissionData& md) { md.MALW = landing - 0.5; }, 2, kMarginLandingWeight,
            0.5, "Maximum Allowable Landing Weight of " + FormatGeneral(landing - 0.5) + " kg exceeded!"},
        {kModeTripTimeAndFuel, [](TMissionData& md) { md.MATOW = 24800; }, 3, kMarginTakeoffWeight,
            base.md.TakeoffWeight - 24800, "Maximum Allowable Takeoff Weight of 24800 kg exceeded!"},
        {kModeTripTimeAndFuel, [](TMissionData& md) { md.TCAP = 5800; }, 4, kMarginTankCapacity,
            base.md.MinTakeoffFuel - 5800, "Tank Capacity of 5800 kg exceeded!"},
        {kModeMaximumRange, [](TMissionData& md) { md.Payload = 7001; }, 1, kMarginZeroFuelWeight, 1,
            "Maximum Zero Fuel Weight of 21000 kg exceeded!"},
        {kModeMaximumRange, [&](TMissionData& md) { md.MALW = 21000; }, 2, kMarginLandingWeight,
            landing - 21000, "Maximum Allowable Landing Weight of 21000 kg exceeded!"},
    };
    for (const Case& c : cases) {
        TMissionData md = Worked();
        c.set(md);
        const Solved run = Solve(md, c.mode);
        const std::string what = std::string(c.mode) + " / " + std::string(c.stoppedBy);
        ASSERT_FALSE(run.md.CalculationValid) << what;
        EXPECT_EQ(run.messages, std::vector<std::string>{c.message}) << what;
        EXPECT_EQ(Names(run.limits), FirstChecks(c.listed)) << what;
        EXPECT_TRUE(run.limits.stopped) << what;
        EXPECT_EQ(run.limits.stoppedBy, c.stoppedBy) << what;
        EXPECT_EQ(run.limits.binding, c.stoppedBy) << what;
        EXPECT_NEAR(run.limits.exceededBy, c.exceededBy, 1e-9) << what;
        EXPECT_EQ(run.limits.exceededBy, -Entry(run.limits, c.stoppedBy).margin) << what;
        EXPECT_FALSE(run.limits.extraFuel || run.limits.extraPayload) << what;
        ExpectConsistent(run.limits, what);
    }

    // Against a wind the airplane cannot beat, and with inputs that could
    // not be read, no weight was computed.
    TMissionData md = Worked();
    md.Wind = 1000;
    for (std::string_view mode : {kModeTripTimeAndFuel, kModeMaximumRange, kModeMaximumPayload}) {
        const Solved run = Solve(md, mode);
        EXPECT_EQ(Names(run.limits), FirstChecks(0)) << mode;
        EXPECT_EQ(run.limits.binding, "") << mode;
        EXPECT_FALSE(run.limits.stopped) << mode;
    }
    md = Worked();
    md.ConversionError = 3;
    EXPECT_EQ(Names(ComputeMissionLimits(md, kModeTripTimeAndFuel, false)), FirstChecks(0));
}

// The searches bind the limit they ended on; Maximum Range's figures belong
// to the first distance beyond it, an aborted search binds nothing, and a
// Maximum Payload without room for any payload gives the excess at the dry
// operating weight.
TEST(MissionLimits, SearchesBindTheirLimitedBy)
{
    struct Case {
        std::string_view mode;
        std::function<void(TMissionData&)> set;
        std::string_view binds;
        bool beyond;
        long abortAfterYields = -1;
    };
    const Case cases[] = {
        {kModeMaximumRange, [](TMissionData&) {}, kMarginTankCapacity, true},
        {kModeMaximumRange, [](TMissionData& md) { md.MATOW = 24000; }, kMarginTakeoffWeight, true},
        {kModeMaximumRange, [](TMissionData&) {}, "", false, 100},
        {kModeMaximumPayload, [](TMissionData& md) { md.MATOW = 24000; }, kMarginTakeoffWeight, false},
        {kModeMaximumPayload, [](TMissionData& md) { md.MALW = 21000; }, kMarginLandingWeight, false},
        {kModeMaximumPayload, [](TMissionData& md) { md.TCAP = 5500; }, kMarginTankCapacity, false},
        {kModeMaximumPayload, [](TMissionData& md) { md.MATOW = md.MALW = 1e6; }, kMarginZeroFuelWeight,
            false},
    };
    for (const Case& c : cases) {
        TMissionData md = Worked();
        c.set(md);
        const Solved run = Solve(md, c.mode, c.abortAfterYields);
        const std::string what = std::string(c.mode) + " / " + std::string(c.binds);
        ASSERT_TRUE(run.md.CalculationValid) << what;
        EXPECT_EQ(Names(run.limits), kAllFour) << what;
        EXPECT_EQ(run.limits.binding, c.binds) << what;
        EXPECT_EQ(run.limits.firstDistanceBeyondLimit, c.beyond) << what;
        EXPECT_FALSE(run.limits.stopped) << what;
        EXPECT_FALSE(run.limits.extraFuel || run.limits.extraPayload) << what;
        ExpectConsistent(run.limits, what);
        if (c.beyond) {
            EXPECT_LT(Entry(run.limits, c.binds).margin, 0) << what;
        } else if (!c.binds.empty()) {
            EXPECT_GE(Entry(run.limits, c.binds).margin, 0) << what;
        }
    }

    // No payload fits: the mission at a payload of 0 kg, listed up to the
    // limit that left none.
    struct Stop {
        std::function<void(TMissionData&)> set;
        size_t listed;
        std::string_view stoppedBy;
    };
    const Stop stops[] = {
        {[](TMissionData& md) { md.MZFW = 13990; }, 1, kMarginZeroFuelWeight},
        {[](TMissionData& md) { md.MALW = 14000; }, 2, kMarginLandingWeight},
        {[](TMissionData& md) { md.MATOW = 16000; }, 3, kMarginTakeoffWeight},
        {[](TMissionData& md) { md.TCAP = 2000; }, 4, kMarginTankCapacity},
    };
    for (const Stop& s : stops) {
        TMissionData md = Worked();
        s.set(md);
        const Solved run = Solve(md, kModeMaximumPayload);
        const std::string what(s.stoppedBy);
        ASSERT_FALSE(run.md.CalculationValid) << what;
        EXPECT_EQ(run.messages, std::vector<std::string>{"No payload fits within the " + what + "!"});
        EXPECT_EQ(Names(run.limits), FirstChecks(s.listed)) << what;
        EXPECT_EQ(Entry(run.limits, kMarginZeroFuelWeight).value, md.DOW) << what;
        EXPECT_TRUE(run.limits.stopped) << what;
        EXPECT_EQ(run.limits.stoppedBy, s.stoppedBy) << what;
        EXPECT_GT(run.limits.exceededBy, 0) << what;
        ExpectConsistent(run.limits, what);
    }
    // At 14000 kg the landing weight is the dry operating weight plus the
    // holding and alternate fuel at that weight.
    TMissionData md = Worked();
    md.MALW = 14000;
    TMissionData probe = md;
    CalcHoldingFuel(probe, 14000, 1933, 45);
    CalcAlternateFuel(probe, 14000 + probe.HoldingFuel, 100);
    EXPECT_EQ(Solve(md, kModeMaximumPayload).limits.exceededBy, probe.HoldingFuel + probe.AlternateFuel);
}

// The extras against brute force: E kg more fuel passes every check and
// E + 1 kg fails one, with E found by walking from 0 where it is small;
// payload + extra payload passes a Trip Time and Fuel run.
TEST(MissionLimits, ExtrasAgainstBruteForce)
{
    struct Case {
        const char* name;
        std::function<TMissionData()> make;
        bool walk; // also find E by walking from 0
    };
    const auto worked = [](void (*set)(TMissionData&)) {
        return [set] {
            TMissionData md = Worked();
            set(md);
            return md;
        };
    };
    const Case cases[] = {
        {"tank binds", worked([](TMissionData&) {}), true},
        {"tank full to the gram",
            [] {
                TMissionData md = Worked();
                md.TCAP = Solve(md, kModeTripTimeAndFuel).md.MinTakeoffFuel;
                return md;
            },
            true},
        {"landing binds", worked([](TMissionData& md) { md.TCAP = 1e6, md.MALW = 21800; }), true},
        {"takeoff binds", worked([](TMissionData& md) { md.TCAP = 1e6, md.MATOW = 25500; }), true},
        {"flat fuel slope", worked([](TMissionData& md) { md.aC3 = 0, md.TCAP = 7000; }), true},
        {"negative fuel slope", worked([](TMissionData& md) { md.aC3 = -0.01, md.TCAP = 7000; }), true},
        {"steep negative slope", worked([](TMissionData& md) {
             md.aC3 = -0.6, md.bC3 = 14000, md.ContingencyPercent = 100, md.TCAP = 1e6;
         }),
            true},
        {"no contingency", worked([](TMissionData& md) { md.ContingencyPercent = 0; }), true},
        {"heavy jet", Heavy, false},
        {"large limits", worked([](TMissionData& md) { md.MALW = md.MATOW = md.TCAP = 1e12; }), false},
    };
    for (const Case& c : cases) {
        const Solved run = Solve(c.make(), kModeTripTimeAndFuel);
        ASSERT_TRUE(run.md.CalculationValid) << c.name << ": " << run.messages.at(0);
        ASSERT_TRUE(run.limits.extraFuel.has_value()) << c.name;
        const double extra = *run.limits.extraFuel;
        EXPECT_EQ(extra, std::floor(extra)) << c.name;
        EXPECT_TRUE(ExtraFuelFits(run.md, extra)) << c.name << ": " << extra;
        EXPECT_FALSE(ExtraFuelFits(run.md, extra + 1)) << c.name << ": " << extra;
        if (c.walk) {
            double first = 0;
            while (ExtraFuelFits(run.md, first))
                first += 1;
            EXPECT_EQ(extra, first - 1) << c.name;
        }

        ASSERT_TRUE(run.limits.extraPayload.has_value()) << c.name;
        const double payload = *run.limits.extraPayload;
        EXPECT_GE(payload, 0) << c.name;
        EXPECT_TRUE(TripPasses(run.md, run.md.Payload + payload)) << c.name << ": " << payload;
        TMissionData search = run.md;
        RecordingServices services;
        SolveMaximumPayload(search, services);
        // Stepped down from the Maximum Payload by whole 10 kg steps, the
        // last of which fails.
        const double steps = (search.MaxPayload - run.md.Payload - payload) / 10;
        EXPECT_NEAR(steps, std::round(steps), 1e-6) << c.name;
        if (payload > 0 && steps > 0.5) {
            EXPECT_FALSE(TripPasses(run.md, run.md.Payload + payload + 10)) << c.name;
        }
        if (run.md.ContingencyPercent == 0) {
            EXPECT_EQ(payload, search.MaxPayload - run.md.Payload) << c.name;
        }
    }
}

// Limits beyond any airplane end the searches at once; an extra that no
// double can hold, or a fuel model that fails inside a search, leaves the
// extra empty instead of throwing.
TEST(MissionLimits, HugeLimitsAndFaultsInTheExtras)
{
    TMissionData md = Worked();
    md.MALW = md.MATOW = md.TCAP = 1e300;
    const auto start = std::chrono::steady_clock::now();
    Solved run = Solve(md, kModeTripTimeAndFuel);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_TRUE(run.limits.extraFuel.has_value());
    // The tanks bind: the fuel is the extra plus 1.05 % of it as trip fuel
    // and contingency. Above 2^53 kg the next double is the next whole
    // number a double can hold.
    EXPECT_NEAR(*run.limits.extraFuel, 1e300 / 1.0105, 1e286);
    EXPECT_TRUE(ExtraFuelFits(run.md, *run.limits.extraFuel));
    EXPECT_FALSE(ExtraFuelFits(run.md, std::nextafter(*run.limits.extraFuel, 2e300)));
    EXPECT_EQ(run.limits.extraPayload, 2000.0) << "the zero fuel weight binds";

    md.MALW = md.MATOW = md.TCAP = std::numeric_limits<double>::max();
    run = Solve(md, kModeTripTimeAndFuel);
    ASSERT_TRUE(run.md.CalculationValid);
    EXPECT_FALSE(run.limits.extraFuel.has_value()) << *run.limits.extraFuel;

    // 10 kg steps no longer change a zero fuel weight of 1e300 kg: the
    // Maximum Payload search gives up, the extra fuel is still found.
    md = Worked();
    md.MZFW = 1e300;
    run = Solve(md, kModeTripTimeAndFuel);
    ASSERT_TRUE(run.md.CalculationValid);
    EXPECT_FALSE(run.limits.extraPayload.has_value()) << *run.limits.extraPayload;
    EXPECT_TRUE(run.limits.extraFuel.has_value());

    // A falling trip fuel that goes below 0 kg before any limit is reached.
    md = Worked();
    md.aC3 = -0.2;
    md.bC3 = 4300;
    md.MALW = md.MATOW = md.TCAP = 1e6;
    run = Solve(md, kModeTripTimeAndFuel);
    ASSERT_TRUE(run.md.CalculationValid) << run.messages.at(0);
    EXPECT_FALSE(run.limits.extraFuel.has_value()) << *run.limits.extraFuel;
}

// A quantity is near its limit from 2 % of the limit left down to the limit
// itself; past it, a Maximum Range run is only near (its figures are those of
// the first distance beyond), and the structural pair is never near.
TEST(MissionLimits, MarginStatesAtTheEdges)
{
    struct Case {
        const char* what;
        double margin; // of a 50000 kg limit, of which 2 % is 1000 kg
        bool firstDistanceBeyondLimit;
        bool structural;
        MarginState state;
    };
    const Case cases[] = {
        {"just over 2 % left", 1000.001, false, false, MarginState::Ok},
        {"2 % left", 1000, false, false, MarginState::Near},
        {"at the limit", 0, false, false, MarginState::Near},
        {"just over the limit", -0.001, false, false, MarginState::Exceeded},
        {"range: past its mark", -250, true, false, MarginState::Near},
        {"range: 2 % left", 1000, true, false, MarginState::Near},
        {"structural, at the limit", 0, false, true, MarginState::Ok},
        {"structural, over the limit", -1, false, true, MarginState::Exceeded},
    };
    for (const Case& c : cases) {
        const LimitMargin m{
            std::string(kMarginTakeoffWeight), 50000 - c.margin, 50000, c.margin, false, c.structural};
        EXPECT_EQ(MarginStateOf(m, c.firstDistanceBeyondLimit), c.state) << c.what;
    }
}
