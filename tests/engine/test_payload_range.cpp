#include "engine/payload_range.h"
#include "engine/solve.h"
#include "worked_data.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mirovax;
using mirovax::test::RecordingServices;
using mirovax::test::WorkedMission;

namespace {

TMissionData MaxRangeAt(TMissionData md, double payload)
{
    md.Payload = payload;
    md.LimitedBy.clear();
    md.CalculationValid = true;
    RecordingServices services;
    SolveMaximumRange(md, services);
    return md;
}

} // namespace

TEST(PayloadRange, EveryPointIsAMaximumRangeRun)
{
    TMissionData md = WorkedMission();
    md.MATOW = 24000;
    const TMissionData before = md;
    const auto diagram = ComputePayloadRange(md, 11);
    EXPECT_EQ(md.Payload, before.Payload) << "the record is not changed";
    EXPECT_EQ(md.MaxRange, before.MaxRange);

    ASSERT_GE(diagram.size(), 12u);
    EXPECT_EQ(diagram.front().payload, 7000);
    EXPECT_EQ(diagram.front().range, 0);
    EXPECT_EQ(diagram.front().limitedBy, "Zero Fuel Weight");
    for (size_t i = 1; i < diagram.size(); ++i) {
        const TMissionData run = MaxRangeAt(md, diagram[i].payload);
        EXPECT_EQ(diagram[i].range, run.MaxRange) << diagram[i].payload;
        EXPECT_EQ(diagram[i].limitedBy, run.LimitedBy) << diagram[i].payload;
        EXPECT_LT(diagram[i].payload, diagram[i - 1].payload + (i == 1 ? 1 : 0));
        EXPECT_GE(diagram[i].range, diagram[i - 1].range);
    }
}

TEST(PayloadRange, CornersWhereTheBindingLimitChanges)
{
    TMissionData md = WorkedMission();
    md.MATOW = 24000; // 24000 - 6000 - 14000: the tank corner at 4000 kg
    const auto diagram = ComputePayloadRange(md, 5);
    std::vector<PayloadRangePoint> corners;
    for (const auto& p : diagram) {
        if (p.corner)
            corners.push_back(p);
    }
    ASSERT_EQ(corners.size(), 4u);
    EXPECT_EQ(corners[1].payload, 7000);
    EXPECT_EQ(corners[1].limitedBy, "Maximum Takeoff Weight");
    EXPECT_EQ(corners[2].payload, 4000);
    EXPECT_EQ(corners[3].payload, 0);
    EXPECT_EQ(corners[3].limitedBy, "Tank Capacity");
    // Above the corner the takeoff weight binds, below it the tank.
    for (const auto& p : diagram) {
        if (p.range == 0)
            continue;
        if (p.payload > 4000) {
            EXPECT_EQ(p.limitedBy, "Maximum Takeoff Weight") << p.payload;
        } else if (p.payload < 4000) {
            EXPECT_EQ(p.limitedBy, "Tank Capacity") << p.payload;
        }
    }
}

TEST(PayloadRange, EachCornerNamesTheLimitThatBindsFromItOn)
{
    // At the tank corner both limits meet and the point names the takeoff
    // weight; the corner names the tank, which binds from there on. With a
    // takeoff limit the tank reaches first, it binds from the top corner on.
    const struct {
        double matow;
        std::vector<std::string> names;
    } cases[] = {
        {24000, {"Zero Fuel Weight", "Maximum Takeoff Weight", "Tank Capacity", "Ferry Range"}},
        {30000, {"Zero Fuel Weight", "Tank Capacity", "Ferry Range"}},
    };
    for (const auto& c : cases) {
        TMissionData md = WorkedMission();
        md.MATOW = c.matow;
        std::vector<std::string> names;
        for (const auto& p : ComputePayloadRange(md, 5)) {
            if (p.corner) {
                names.push_back(p.bindsFromHere);
            } else {
                EXPECT_EQ(p.bindsFromHere, "") << p.payload;
            }
        }
        EXPECT_EQ(names, c.names) << c.matow;
    }
}

TEST(PayloadRange, LandingLimitCapsThePayloadExactly)
{
    TMissionData md = WorkedMission();
    md.MALW = 22000;
    const auto diagram = ComputePayloadRange(md, 3);
    EXPECT_EQ(diagram.front().limitedBy, "Allowable Landing Weight");
    const double cap = diagram.front().payload;
    EXPECT_LT(cap, 7000);
    // The cap passes the landing check, the next double above it does not.
    TMissionData atCap = MaxRangeAt(md, cap);
    EXPECT_TRUE(atCap.CalculationValid);
    TMissionData above = MaxRangeAt(md, std::nextafter(cap, 1e9));
    EXPECT_FALSE(above.CalculationValid);
}

TEST(PayloadRange, RefusedWhenTheLimitsNeverBind)
{
    TMissionData md = WorkedMission();
    md.aC1 = md.aC2 = 0; // trip fuel does not grow with distance
    md.TCAP = 1e9;
    md.MATOW = 1e9;
    EXPECT_THROW(ComputePayloadRange(md, 3), DiagramError);

    // The limits bind, but beyond the bound: refused as when they never bind,
    // although the search that finds these ranges does not go pass by pass.
    md = WorkedMission();
    md.TCAP = 1e6;
    md.MATOW = 1e9;
    EXPECT_THROW(ComputePayloadRange(md, 3), DiagramError);

    md = WorkedMission();
    md.MALW = 1000;
    EXPECT_THROW(ComputePayloadRange(md, 3), DiagramError);
}

// A diagram point is a Maximum Range run: a wind that stops the run and a
// fuel below 0 kg keep the diagram from being drawn.
TEST(PayloadRange, RefusedForAStoppingWindOrFuelBelowZero)
{
    TMissionData md = WorkedMission();
    md.Wind = 500;
    try {
        ComputePayloadRange(md, 3);
        FAIL() << "drawn";
    } catch (const DiagramError& e) {
        EXPECT_STREQ(e.what(),
            "The payload-range diagram cannot be drawn: Wind of 500 kts is not less than the "
            "True Airspeed of 458 kts!");
    }

    // Trip fuel for the first nautical air miles is below 0.
    md = WorkedMission();
    md.Type = "WORKED-1";
    md.bC3 = -400;
    try {
        ComputePayloadRange(md, 3);
        FAIL() << "drawn";
    } catch (const DiagramError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("cannot be drawn at a payload of "), std::string::npos) << what;
        EXPECT_NE(what.find(" kg: Trip fuel of -"), std::string::npos) << what;
        EXPECT_NE(what.find("the fuel lines of the WORKED-1 do not fit this mission."), std::string::npos)
            << what;
    }
}
