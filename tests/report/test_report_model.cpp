#include "report/report_model.h"
#include "report_sample.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace mirovax {
namespace {

using testing::SampleSnapshot;

std::vector<std::string> Texts(const ReportModel& model)
{
    std::vector<std::string> texts;
    for (const ReportRow& row : model.rows)
        texts.push_back(row.text);
    return texts;
}

bool HasRowStarting(const ReportModel& model, std::string_view prefix)
{
    return std::any_of(model.rows.begin(), model.rows.end(),
        [&](const ReportRow& row) { return row.text.starts_with(prefix); });
}

TEST(BuildReport, MaximumPayloadGivesEveryRowInOrder)
{
    const ReportModel model = BuildReport(SampleSnapshot("Maximum Payload"));
    const std::vector<std::string> expected = {
        "Mirovax - Version: 1.0.1.0",
        "Mission Report",
        "",
        "Solve for:\tMaximum Payload",
        "",
        "Airplane Data",
        "Airframe:\tA320-200\tEngine:\tCFM56-5B4",
        "Dry Operating Weight:\t42600 kg\tMaximum Takeoff Weight:\t78000 kg",
        "Maximum Landing Weight:\t66000 kg\tMaximum Zero Fuel Weight:\t62500 kg",
        "Tank Capacity:\t19400 kg\tMaximum Altitude:\t39000 ft",
        "Cruise Mach:\t0.78\tReference:\tIllustrative data",
        "",
        "Trip Data",
        "From:\tKSFO\tTo:\tKBFI",
        "Distance:\t594 NM",
        "Regulations:\tFAR Domestic\tFlight Level:\t310",
        "OAT:\t-46 \u00B0C\tWind:\t0 kts",
        "MATOW:\t73500 kg\tMALW:\t64500 kg",
        "Alternate:\tKSEA\tElevation:\t433 ft",
        "Distance:\t5 NM\tHolding Time:\t45 min",
        "Hold. Altitude:\t1500 ft\tCont Fuel:\t0 %",
        "",
        "Results",
        "Limited by:\tTank Capacity\tMaximum Payload:\t1234 NM",
        "True Airspeed:\t447 kts\tGround Speed:\t447 kts",
        "Still Air Distance:\t594 NAM\tAvg. Fuel Flow:\t2416 kg/h",
        "Zero Fuel Weight:\t54600 kg\tTakeoff Weight:\t59936 kg",
        "Landing Weight:\t56727 kg",
        "Holding:\t00:45\t2075",
        "Alternate:\t00:00\t52",
        "Contingency:\t00:00\t0",
        "Trip:\t01:19\t3209",
        "Min. Takeoff:\t02:05\t5336",
        "",
        "File: /home/pilot/Seattle shuttle.MRX",
    };
    EXPECT_EQ(Texts(model), expected);
}

TEST(BuildReport, SizesAndStylesOfHeadingsAndRows)
{
    const ReportModel model = BuildReport(SampleSnapshot("Trip Time and Fuel"));
    for (const ReportRow& row : model.rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.tabStopsTwips, (std::array<int, 4>{2000, 4000, 6000, 8000}));
        if (row.text == "Mission Report") {
            EXPECT_EQ(row.sizePt, 14);
            EXPECT_TRUE(row.bold);
            EXPECT_TRUE(row.underline);
        } else if (row.text == "Airplane Data" || row.text == "Trip Data" || row.text == "Results") {
            EXPECT_EQ(row.sizePt, 10);
            EXPECT_TRUE(row.bold);
            EXPECT_FALSE(row.underline);
        } else {
            EXPECT_EQ(row.sizePt, 8);
            EXPECT_FALSE(row.bold);
            EXPECT_FALSE(row.underline);
        }
    }
}

// Rows 14 and 15 (route, trip distance), 16 (payload) and 25 (limit and
// maximum) by mode text; the other 32 rows are always there.
TEST(BuildReport, ModeTextDecidesTheModeRows)
{
    struct Case {
        const char* mode;
        bool route;
        bool payload;
        bool limit;
    };
    const Case cases[] = {
        {"Trip Time and Fuel", true, true, false},
        {"Maximum Payload", true, false, true},
        {"Maximum Range", false, true, true},
        {"maximum range", false, false, false},
        {"Maximum Range ", false, false, false},
        {"", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const ReportModel model = BuildReport(SampleSnapshot(c.mode));
        EXPECT_EQ(HasRowStarting(model, "From:\t"), c.route);
        EXPECT_EQ(HasRowStarting(model, "Distance:\t594 NM"), c.route);
        EXPECT_EQ(HasRowStarting(model, "Payload:\t12000 kg"), c.payload);
        EXPECT_EQ(HasRowStarting(model, "Limited by:\t"), c.limit);
        const size_t expectedRows = 32 + (c.route ? 2 : 0) + (c.payload ? 1 : 0) + (c.limit ? 1 : 0);
        EXPECT_EQ(model.rows.size(), expectedRows);
        EXPECT_EQ(model.rows[3].text, std::string("Solve for:\t") + c.mode);
    }
}

TEST(BuildReport, MaximumRangeRowsFollowTheResultsHeading)
{
    const ReportModel model = BuildReport(SampleSnapshot("Maximum Range"));
    const auto texts = Texts(model);
    const auto trip = std::find(texts.begin(), texts.end(), "Trip Data");
    ASSERT_NE(trip, texts.end());
    EXPECT_EQ(*(trip + 1), "Payload:\t12000 kg");
    EXPECT_EQ(*(trip + 2), "Regulations:\tFAR Domestic\tFlight Level:\t310");
    const auto results = std::find(texts.begin(), texts.end(), "Results");
    ASSERT_NE(results, texts.end());
    EXPECT_EQ(*(results + 1), "Limited by:\tTank Capacity\tMaximum Range:\t1234 NM");
}

TEST(BuildReport, ComposingTwiceGivesOneReport)
{
    const ReportSnapshot snapshot = SampleSnapshot();
    const ReportModel first = BuildReport(snapshot);
    const ReportModel second = BuildReport(snapshot);
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::count(second.rows.begin(), second.rows.end(), second.rows[1]), 1);
    EXPECT_EQ(second.rows.size(), 35u);
}

TEST(BuildReport, FileRowIsEmptyAfterACommandLineOpen)
{
    ReportSnapshot snapshot = SampleSnapshot();
    snapshot.setupFileName.clear();
    const ReportModel model = BuildReport(snapshot);
    ASSERT_GE(model.rows.size(), 2u);
    EXPECT_EQ(model.rows.back().text, "File: ");
    EXPECT_EQ(model.rows[model.rows.size() - 2].text, "");
}

// The report copies the window as it stands: an edited field, blanked result
// labels and changed captions all show as they are.
TEST(BuildReport, CopiesCurrentTextsAndCaptions)
{
    ReportSnapshot snapshot = SampleSnapshot();
    snapshot.fields[Field::FlightLevel] = "350";
    snapshot.staticText(28) = "Mode:";
    SetResultLabels(snapshot, ResultTexts{});
    const auto texts = Texts(BuildReport(snapshot));
    EXPECT_NE(
        std::find(texts.begin(), texts.end(), "Regulations:\tFAR Domestic\tFlight Level:\t350"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Mode:\tTrip Time and Fuel"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "True Airspeed:\t\tGround Speed:\t"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Holding:\t\t"), texts.end());
}

// A tab or line break pasted into a field, or arriving from a file, must not
// add a column or a row.
TEST(BuildReport, ControlCharactersInTextsBecomeBlanks)
{
    ReportSnapshot snapshot = SampleSnapshot();
    snapshot.fields[Field::From] = "KS\tFO";
    snapshot.fields[Field::To] = "KB\r\nI";
    snapshot.regulationText = "FAR\x01\x7f";
    snapshot.setupFileName = "a\nb\xc2\x85"
                             "c"; // LF and NEL
    snapshot.title = "Mirovax\t\xe2\x80\xa8"; // tab and LINE SEPARATOR
    const ReportModel model = BuildReport(snapshot);
    const auto texts = Texts(model);
    EXPECT_EQ(model.rows.size(), 35u);
    EXPECT_EQ(texts[0], "Mirovax  ");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "From:\tKS FO\tTo:\tKB  I"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Regulations:\tFAR  \tFlight Level:\t310"), texts.end());
    EXPECT_EQ(texts.back(), "File: a b c");
}

TEST(BuildReport, KeepsNonAsciiAndRepairsBrokenUtf8)
{
    ReportSnapshot snapshot = SampleSnapshot();
    snapshot.setupFileName = "/home/j\xc3\xbcrgen/Z\xc3\xbcrich \xe2\x82\xac.MRX";
    snapshot.label(10) = "ok\xff\xc3"; // a stray byte and a cut-off sequence
    const auto texts = Texts(BuildReport(snapshot));
    EXPECT_EQ(texts.back(), "File: /home/j\xc3\xbcrgen/Z\xc3\xbcrich \xe2\x82\xac.MRX");
    EXPECT_NE(
        std::find(texts.begin(), texts.end(), "Cruise Mach:\t0.78\tReference:\tok\xef\xbf\xbd\xef\xbf\xbd"),
        texts.end());
}

TEST(ReportSnapshot, FixedCaptionsAndLabelHelpers)
{
    ReportSnapshot s;
    FillFixedCaptions(s);
    for (int n = 1; n <= 51; ++n)
        EXPECT_FALSE(s.staticText(n).empty()) << n;
    EXPECT_EQ(s.staticText(1), "From:");
    EXPECT_EQ(s.staticText(10), "\u00B0C");
    EXPECT_EQ(s.staticText(23), "Regulations:");
    EXPECT_EQ(s.staticText(28), "Solve for:");
    EXPECT_EQ(s.staticText(39), "Limited by:");
    EXPECT_EQ(s.staticText(51), "Landing Weight:");
    EXPECT_THROW(StaticTextCaption(0), std::out_of_range);
    EXPECT_THROW(StaticTextCaption(52), std::out_of_range);

    std::array<std::string, 10> airplane;
    for (int n = 1; n <= 10; ++n)
        airplane[static_cast<size_t>(n - 1)] = "A" + std::to_string(n);
    ResultTexts results;
    for (int n = 12; n <= 30; ++n)
        results.label(n) = "R" + std::to_string(n);
    SetAirplaneLabels(s, airplane);
    SetResultLabels(s, results);
    EXPECT_EQ(s.label(1), "A1");
    EXPECT_EQ(s.label(10), "A10");
    EXPECT_EQ(s.label(11), "");
    EXPECT_EQ(s.label(12), "R12");
    EXPECT_EQ(s.label(30), "R30");
}

TEST(ReportSnapshot, ModeTextSetsLabel11AsTheModeSelectorDoes)
{
    ReportSnapshot s;
    s.label(11) = "Label11";
    SetModeText(s, "Trip Time and Fuel");
    EXPECT_EQ(s.label(11), "Label11");
    SetModeText(s, "Maximum Payload");
    EXPECT_EQ(s.label(11), "Maximum Payload:");
    SetModeText(s, "maximum range");
    EXPECT_EQ(s.modeText, "maximum range");
    EXPECT_EQ(s.label(11), "Maximum Payload:");
    SetModeText(s, "Maximum Range");
    EXPECT_EQ(s.label(11), "Maximum Range:");
    EXPECT_EQ(MainWindowCaption(""), "Mirovax - Version: ");
}

} // namespace
} // namespace mirovax
