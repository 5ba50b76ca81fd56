#include "engine/fast_search.h"
#include "fast_search_missions.h"
#include "worked_data.h"

#include <gtest/gtest.h>

#include <limits>

using namespace mirovax;
using mirovax::test::RecordingServices;
using mirovax::test::WorkedMission;

// A sample of the differential tool's missions (bench/fast_search_diff runs
// a million): every field, message and exception as the per-pass search
// gives them, on ordinary and on edge data.
TEST(FastSearch, AgreesWithThePerPassSearchOnRandomMissions)
{
    constexpr int kMissions = 10'000;
    int leftOut = 0;
    for (int n = 0; n < kMissions; ++n) {
        const TMissionData md = fast_search_check::RandomMission(20'000 + static_cast<std::uint64_t>(n));
        const fast_search_check::Comparison result = fast_search_check::CompareSearches(md);
        ASSERT_EQ(result.difference, "") << "mission " << n;
        leftOut += result.compared ? 0 : 1;
    }
    EXPECT_LT(leftOut, kMissions / 50) << "too few missions compared";
}

// The shortcut is taken where it can prove its answer: no pass per nautical
// air mile (each would yield), here for a range far beyond 10,000 NAM, and
// the record of the per-pass search all the same.
TEST(FastSearch, TakesTheShortcutOnALongRange)
{
    TMissionData md = WorkedMission();
    md.TCAP = 1e6;
    md.MATOW = 1e7;
    TMissionData fast = md;
    RecordingServices services;
    SolveMaximumRangeFast(fast, services);
    EXPECT_EQ(services.yields, 0);
    EXPECT_GT(fast.StillAirDistance, 100'000);

    TMissionData slow = md;
    SolveMaximumRange(slow, services);
    EXPECT_EQ(fast.StillAirDistance, slow.StillAirDistance);
    EXPECT_EQ(fast.TripFuel, slow.TripFuel);
    EXPECT_EQ(fast.MaxRange, slow.MaxRange);
    EXPECT_EQ(fast.LimitedBy, slow.LimitedBy);
}

// Missions at the edges of the shortcuts' proofs, each solved by both
// searches and compared field by field, message by message.
TEST(FastSearch, AgreesWithThePerPassSearchAtTheEdgesOfItsProofs)
{
    struct Case {
        const char* name;
        void (*edit)(TMissionData& md);
    };
    const Case cases[] = {
        // No payload check ever ends this search, so its zero fuel weights
        // go past -32768 kg, where MZFW's last bit no longer fits and 10 kg
        // steps round; a shortcut to pass n computing MZFW - 10 (n - 1)
        // would round once instead.
        {"a dry operating weight that is not a number",
            [](TMissionData& md) {
                md.aH1 = md.aH2 = md.aC1 = md.aC2 = md.aC3 = 0;
                md.bH1 = md.bH2 = 60;
                md.bC1 = md.bC2 = 100;
                md.MZFW = 1 + 0x5p-40;
                md.DOW = std::numeric_limits<double>::quiet_NaN();
                md.MALW = -40'000;
                md.MATOW = md.TCAP = 1e9;
            }},
    };
    for (const Case& c : cases) {
        TMissionData md = WorkedMission();
        c.edit(md);
        const fast_search_check::Comparison result = fast_search_check::CompareSearches(md);
        EXPECT_TRUE(result.compared) << c.name;
        EXPECT_EQ(result.difference, "") << c.name;
    }
}
