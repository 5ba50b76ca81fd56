#include "engine/text_format.h"
#include "report/payload_range_output.h"
#include "worked_data.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>

using namespace mirovax;

namespace {

// A small envelope: payload limit at 7000 kg, takeoff weight corner at
// 1000 NM, tank corner at 4000 kg and 2500 NM, ferry range 3000 NM.
std::vector<PayloadRangePoint> SmallDiagram()
{
    return {{7000, 0, "Zero Fuel Weight", true, "Zero Fuel Weight"},
        {7000, 1000, "Maximum Takeoff Weight", true, "Maximum Takeoff Weight"},
        {5500, 1750, "Maximum Takeoff Weight", false, ""},
        {4000, 2500, "Maximum Takeoff Weight", true, "Tank Capacity"},
        {0, 3000, "Tank Capacity", true, "Ferry Range"}};
}

double ReadDouble(const std::string& text)
{
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(result.ptr, text.data() + text.size()) << text;
    return value;
}

// The text from `open` to the next `close` after `at`, moving `at` past it;
// empty when `open` does not follow.
std::string Next(const std::string& text, size_t& at, const std::string& open, const std::string& close)
{
    const size_t start = text.find(open, at);
    if (start == std::string::npos)
        return at = std::string::npos, "";
    const size_t end = text.find(close, start + open.size());
    at = end == std::string::npos ? end : end + close.size();
    return text.substr(start + open.size(), end - start - open.size());
}

} // namespace

TEST(PayloadRangeOutput, JsonHasTheExactShapeAndEscapesTheLimit)
{
    const std::vector<PayloadRangePoint> diagram = {{7000, 0, "Zero Fuel Weight", true, "Zero Fuel Weight"},
        {0.1, 1234.5678901234567, "A \"b\"\\\n\x01", false, ""}};
    EXPECT_EQ(PayloadRangeJson(diagram),
        "{\"points\": [{\"payload\": 7000, \"range\": 0, \"limitedBy\": \"Zero Fuel Weight\", "
        "\"bindsFromHere\": \"Zero Fuel Weight\"}, "
        "{\"payload\": 0.1, \"range\": 1234.5678901234567, \"limitedBy\": \"A "
        "\\\"b\\\"\\\\\\n\\u0001\"}]}\n");
    EXPECT_EQ(PayloadRangeJson({}), "{\"points\": []}\n");
}

TEST(PayloadRangeOutput, CsvHasAHeaderAndQuotesWhereNeeded)
{
    const std::vector<PayloadRangePoint> diagram = {{7000, 0, "Zero Fuel Weight", true, "Zero Fuel Weight"},
        {3500.25, 1e-7, "Tank, \"full\"", false, ""}, {0, 2, "Tank Capacity", true, "Ferry Range"}};
    EXPECT_EQ(PayloadRangeCsv(diagram),
        "payload,range,limitedBy,corner,bindsFromHere\n"
        "7000,0,Zero Fuel Weight,1,Zero Fuel Weight\n"
        "3500.25,1e-07,\"Tank, \"\"full\"\"\",0,\n"
        "0,2,Tank Capacity,1,Ferry Range\n");
}

TEST(PayloadRangeOutput, NumbersReadBackToTheSameDoubles)
{
    TMissionData md = test::WorkedMission();
    md.MATOW = 24000;
    const auto diagram = ComputePayloadRange(md, 37);
    const std::string json = PayloadRangeJson(diagram);
    size_t at = 0, i = 0;
    for (; i < diagram.size(); ++i) {
        EXPECT_EQ(ReadDouble(Next(json, at, "{\"payload\": ", ",")), diagram[i].payload);
        EXPECT_EQ(ReadDouble(Next(json, at, "\"range\": ", ",")), diagram[i].range);
        EXPECT_EQ(Next(json, at, "\"limitedBy\": \"", "\""), diagram[i].limitedBy);
        if (diagram[i].corner) {
            EXPECT_EQ(Next(json, at, "\"bindsFromHere\": \"", "\"}"), diagram[i].bindsFromHere);
        }
    }
    EXPECT_EQ(json.find("{\"payload\"", at), std::string::npos) << "no more points than computed";

    for (double value : {0.1, 1.0 / 3, 6237.000000000001, 1e21, 5e-324, -0.0, 123456789012345678.0})
        EXPECT_EQ(ReadDouble(FormatRoundTrip(value)), value) << FormatRoundTrip(value);
}

TEST(PayloadRangeOutput, InsideEnvelopeInterpolatesBetweenPoints)
{
    const auto diagram = SmallDiagram();
    struct Case {
        double payload, range;
        bool inside;
    } cases[] = {
        {7000, 1000, true}, // the payload-limit corner itself
        {7000, 1000.001, false},
        {7000.001, 0, false}, // above the largest payload
        {5500, 1750, true}, // on a segment
        {5500, 1750.01, false},
        {6000, 1500, true}, // interpolated, not just at a point
        {6000, 1501, false},
        {2000, 2750, true},
        {2000, 2751, false},
        {0, 3000, true},
        {0, 3000.01, false},
        {0, 0, true},
        {-1, 10, false}, // negative entries lie outside
        {3000, -1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InsideEnvelope(diagram, c.payload, c.range), c.inside)
            << c.payload << " kg, " << c.range << " NM";
    EXPECT_FALSE(InsideEnvelope({}, 0, 0));
}

TEST(PayloadRangeOutput, AxisTicksCoverTheMaximumInRoundSteps)
{
    struct Case {
        double maximum;
        int maxTicks;
        std::vector<double> ticks;
    } cases[] = {
        {6237, 8, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000}}, {7000, 6, {0, 2000, 4000, 6000, 8000}},
        {50000, 5, {0, 10000, 20000, 30000, 40000, 50000}}, {0.9, 4, {0, 0.5, 1}},
        {0, 4, {0, 0.5, 1}}, // nothing to show: a unit axis
    };
    for (const Case& c : cases) {
        const auto ticks = AxisTicks(c.maximum, c.maxTicks);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << c.maximum;
        for (size_t i = 0; i < ticks.size(); ++i)
            EXPECT_DOUBLE_EQ(ticks[i], c.ticks[i]) << c.maximum;
    }
}

TEST(PayloadRangeOutput, SvgDrawsTheCurveCornersAndMission)
{
    auto diagram = SmallDiagram();
    diagram[3].bindsFromHere = "Takeoff & <Tank>";
    const std::string svg = PayloadRangeSvg(diagram, MissionPoint{6000, 1500}, "A320 & co");
    EXPECT_EQ(
        svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"", 0),
        0u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    EXPECT_NE(svg.find("<title>A320 &amp; co</title>"), std::string::npos);

    // One polyline through every point: from (0 NM, 7000 kg) on the left edge,
    // 7/10 of the way up the 0 to 10000 kg axis (room for labels above), to
    // (3000 NM, 0 kg) on the bottom edge 6/7 of the way along 0 to 3500 NM.
    size_t at = 0;
    const std::string points = Next(svg, at, "<polyline points=\"", "\"");
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(std::count(points.begin(), points.end(), ','), static_cast<long>(diagram.size()));
    EXPECT_EQ(points.rfind("90.00,158.00 ", 0), 0u) << points;
    EXPECT_EQ(points.substr(points.size() - 14), " 630.00,410.00") << points;

    EXPECT_EQ(std::count(svg.begin(), svg.end(), '<') - std::count(svg.begin(), svg.end(), '>'), 0);
    size_t circles = 0;
    for (size_t c = svg.find("<circle"); c != std::string::npos; c = svg.find("<circle", c + 1))
        ++circles;
    EXPECT_EQ(circles, 4u) << "one marker per corner";
    EXPECT_NE(svg.find(">Takeoff &amp; &lt;Tank&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find(">4000 kg, 2500 NM</text>"), std::string::npos);
    EXPECT_NE(svg.find("Mission 6000 kg over 1500 NM: inside the envelope"), std::string::npos);
    EXPECT_NE(
        PayloadRangeSvg(diagram, MissionPoint{6000, 1600}).find("outside the envelope"), std::string::npos);
    EXPECT_EQ(PayloadRangeSvg(diagram).find("Mission"), std::string::npos);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
}
