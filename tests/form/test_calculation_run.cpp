#include "engine/checked_math.h"
#include "form/calculation_run.h"
#include "form/window_captions.h"
#include "worked_data.h"

#include <gtest/gtest.h>

using namespace mirovax;
using mirovax::test::RecordingServices;
using mirovax::test::WorkedMission;

namespace {

// The worked mission's inputs as the fields would hold them.
FieldTexts WorkedTexts()
{
    FieldTexts t;
    t[Field::Distance] = "594";
    t[Field::Payload] = "5000";
    t[Field::FlightLevel] = "310";
    t[Field::Oat] = "-46";
    t[Field::Wind] = "20";
    t[Field::Alternate] = "KSEA";
    t[Field::AlternateElevation] = "433";
    t[Field::AlternateDistance] = "100";
    t[Field::HoldingTime] = "45";
    t[Field::HoldingAltitude] = "1500";
    t[Field::Contingency] = "5";
    t[Field::Matow] = "30000";
    t[Field::Malw] = "25000";
    return t;
}

} // namespace

TEST(ReadInputs, FillsAllTwelveInputs)
{
    TMissionData md;
    ReadInputs(WorkedTexts(), md);
    const TMissionData expected = WorkedMission();
    EXPECT_EQ(md.ConversionError, 0);
    for (const NumericField& f : kInputFields)
        EXPECT_EQ(md.*f.member, expected.*f.member) << f.name;
}

TEST(ReadInputs, FirstFailureDecidesTheErrorPosition)
{
    TMissionData md;
    FieldTexts t = WorkedTexts();
    t[Field::Oat] = "4-5"; // OAT, read fourth: fails at 2
    t[Field::Contingency] = "12345x"; // read last: would fail at 6
    ReadInputs(t, md);
    EXPECT_EQ(md.ConversionError, 2);
    EXPECT_EQ(md.ContingencyPercent, 0);

    // Edit14 is read before Edit9: its failure counts first.
    t = WorkedTexts();
    t[Field::AlternateElevation] = "1x";
    t[Field::Matow] = "30000 ";
    ReadInputs(t, md);
    EXPECT_EQ(md.ConversionError, 6);
}

TEST(ReadInputs, EmptyFieldsBlockTheRunIncludingTheAlternateCode)
{
    for (const FieldSpec& spec : Fields()) {
        if (spec.field < Field::Distance)
            continue;
        TMissionData md;
        FieldTexts t = WorkedTexts();
        t[spec.field].clear();
        ReadInputs(t, md);
        EXPECT_EQ(md.ConversionError, 1) << spec.control;
    }
}

// A reader kept from run to run converts only what changed, and gives the
// record exactly what reading every field afresh gives: numbers, failures
// and empty fields, in any order of changes.
TEST(TInputReader, GivesWhatReadInputsGivesRunAfterRun)
{
    std::vector<FieldTexts> runs(7, WorkedTexts());
    runs[1][Field::Payload] = "6000";
    runs[2][Field::Oat] = "4-5"; // a failure
    runs[3] = runs[2];
    runs[3][Field::Matow] = "30000 "; // an earlier field fails as well
    runs[4][Field::Alternate].clear(); // empty, never converted
    runs[5][Field::Contingency].clear();
    runs[6][Field::Distance] = "1e400"; // too large, fails at its first character
    TInputReader reader;
    for (size_t i = 0; i < runs.size() * 2; ++i) {
        const FieldTexts& texts = runs[i % runs.size()];
        TMissionData expected;
        ReadInputs(texts, expected);
        TMissionData md;
        md.ConversionError = 99;
        reader.Read(texts, md);
        EXPECT_EQ(md.ConversionError, expected.ConversionError) << "run " << i;
        for (const NumericField& f : kInputFields)
            EXPECT_EQ(md.*f.member, expected.*f.member) << "run " << i << ": " << f.name;
    }
}

TEST(ShowResults, LabelsOfTheWorkedTripRun)
{
    TMissionData md = WorkedMission();
    RecordingServices services;
    ASSERT_TRUE(ExecuteCalculation(md, WorkedTexts(), kModeTripTimeAndFuel, services));
    const ResultTexts r = ShowResults(md, kModeTripTimeAndFuel);
    const char* expected[19] = {"", "", "458 kts", "438 kts", "621 NAM", "2259 kg/h", "00:45", "00:13",
        "00:04", "01:21", "02:24", "1788", "818", "153", "3063", "5822", "19000 kg", "24822 kg", "21759 kg"};
    for (int n = 12; n <= 30; ++n)
        EXPECT_EQ(r.label(n), expected[n - 12]) << "Label" << n;
}

TEST(ShowResults, Label13OnlyInItsOwnModes)
{
    TMissionData md = WorkedMission();
    md.MaxRange = 666.57;
    md.MaxPayload = 4380.4;
    md.LimitedBy = "Tank Capacity";
    EXPECT_EQ(ShowResults(md, kModeMaximumRange).label(13), "667 NM");
    EXPECT_EQ(ShowResults(md, kModeMaximumPayload).label(13), "4380 kg");
    EXPECT_EQ(ShowResults(md, "maximum range").label(13), "");
    EXPECT_EQ(ShowResults(md, kModeTripTimeAndFuel).label(12), "Tank Capacity");
}

// Fields and value labels are named by the captions beside them, and a value
// label by its unit too: the one its text shows, where it shows one.
TEST(ValueLabelName, NamesRowColumnAndUnit)
{
    const struct {
        int label;
        std::string_view mode;
        const char* name;
    } cases[] = {
        {26, kModeTripTimeAndFuel, "Trip fuel, kg"},
        {21, kModeTripTimeAndFuel, "Trip time, hh:mm"},
        {14, kModeTripTimeAndFuel, "True Airspeed, kts"},
        {17, kModeTripTimeAndFuel, "Avg. Fuel Flow, kg/h"},
        {12, kModeMaximumRange, "Limited by"},
        {13, kModeMaximumRange, "Maximum Range, NM"},
        {13, kModeMaximumPayload, "Maximum Payload, kg"},
        {13, "maximum range", "Maximum"},
        {30, kModeTripTimeAndFuel, "Landing Weight, kg"},
        {3, "", "Dry Operating Weight"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueLabelName(c.label, c.mode), c.name) << "Label" << c.label << " " << c.mode;
    EXPECT_THROW(ValueLabelName(11, kModeMaximumRange), std::out_of_range);
    EXPECT_THROW(ValueLabelName(31, ""), std::out_of_range);

    TMissionData md = WorkedMission();
    for (std::string_view mode : {kModeMaximumRange, kModeMaximumPayload}) {
        const ResultTexts r = ShowResults(md, mode);
        for (int n = 13; n <= 30; ++n) {
            const std::string& text = r.label(n);
            const size_t blank = text.find(' ');
            if (blank != std::string::npos) {
                EXPECT_TRUE(ValueLabelName(n, mode).ends_with(", " + text.substr(blank + 1))) << "Label" << n;
            }
        }
    }

    const std::pair<Field, const char*> fields[] = {{Field::From, "From"}, {Field::Distance, "Distance"},
        {Field::FlightLevel, "Flight Level"}, {Field::Alternate, "Alternate"},
        {Field::AlternateDistance, "Alternate Distance"}, {Field::Matow, "MATOW"}};
    for (const auto& [field, caption] : fields)
        EXPECT_EQ(FieldCaption(field), caption) << Spec(field).control;
}

TEST(ExecuteCalculation, ModeTextsAreExactAndUnknownTextsRunNothing)
{
    TMissionData md = WorkedMission();
    RecordingServices services;
    EXPECT_TRUE(ExecuteCalculation(md, WorkedTexts(), "trip time and fuel", services));
    EXPECT_EQ(md.TrueAirspeed, 0) << "no solve mode ran";
    EXPECT_TRUE(md.CalculationValid);

    EXPECT_TRUE(ExecuteCalculation(md, WorkedTexts(), kModeMaximumRange, services));
    EXPECT_EQ(md.LimitedBy, "Tank Capacity");
}

TEST(ExecuteCalculation, ResultsOfOtherModesAreKept)
{
    TMissionData md = WorkedMission();
    RecordingServices services;
    FieldTexts t = WorkedTexts();
    t[Field::Matow] = "24000";
    ASSERT_TRUE(ExecuteCalculation(md, t, kModeMaximumPayload, services));
    const double payload = md.MaxPayload;
    t[Field::Matow] = "30000";
    ASSERT_TRUE(ExecuteCalculation(md, t, kModeTripTimeAndFuel, services));
    EXPECT_EQ(md.MaxPayload, payload);
    EXPECT_EQ(md.LimitedBy, "Allowable Takeoff Weight");
}

TEST(ExecuteCalculation, ClearsAnEarlierAbortAndReportsLimitsAndFaults)
{
    TMissionData md = WorkedMission();
    md.AbortRequested = true;
    RecordingServices services;
    ASSERT_TRUE(ExecuteCalculation(md, WorkedTexts(), kModeMaximumRange, services));
    EXPECT_EQ(md.StillAirDistance, 697) << "a full search after an earlier abort";

    FieldTexts t = WorkedTexts();
    t[Field::Malw] = "20000";
    EXPECT_FALSE(ExecuteCalculation(md, t, kModeTripTimeAndFuel, services));
    EXPECT_EQ(services.messages.back(), "Maximum Allowable Landing Weight of 20000 kg exceeded!");

    t = WorkedTexts();
    t[Field::Distance] = "0";
    EXPECT_THROW(ExecuteCalculation(md, t, kModeTripTimeAndFuel, services), ArithmeticError);
    EXPECT_THROW(ExecuteCalculation(md, t, kModeMaximumPayload, services), ArithmeticError);

    t = WorkedTexts();
    t[Field::Distance] = "";
    EXPECT_FALSE(ExecuteCalculation(md, t, kModeTripTimeAndFuel, services));
}
