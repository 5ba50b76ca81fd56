// solve --report: the report the window would show after the same run,
// read back from the file it writes.
#include "cli_fixture.h"

#include "apps/cli/cli_app.h"
#include "apps/cli/cli_options.h"
#include "setup/setup_file.h"
#include "test_support.h"

#include "rtf_test_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace mirovax;
using namespace mirovax::cli;
namespace fs = std::filesystem;
namespace support = mirovax::testing;

namespace {

class CliReportTest : public CliTest {
protected:
    void SetUp() override
    {
        WriteAirplanes({support::WorkedAirplane("WORKED-1")});
        m_setup = m_dir / "Worked.MRX";
        SaveSetup(m_setup, support::WorkedSetup());
        m_report = m_dir / "out.rtf";
    }
    void TearDown() override
    {
        std::error_code ec;
        // A test may leave the directory read-only; the scratch directory goes with the fixture.
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
    }

    int Run(std::vector<std::string> args) { return CliTest::Run(std::move(args), &m_out, &m_err); }

    // The report's paragraphs as text, tabs kept.
    std::vector<std::string> ReportLines()
    {
        const mirovax::testing::ReadDocument document
            = mirovax::testing::ReadRtf(support::ReadFile(m_report));
        EXPECT_EQ(document.trailingText, "");
        std::vector<std::string> lines;
        for (const mirovax::testing::ReadParagraph& p : document.paragraphs)
            lines.push_back(p.text);
        return lines;
    }

    static bool Has(const std::vector<std::string>& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix)
    {
        return std::any_of(
            lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

    fs::path m_setup;
    fs::path m_report;
    std::string m_out;
    std::string m_err;
};

} // namespace

TEST_F(CliReportTest, EachModeGivesTheWindowsReportAfterTheRun)
{
    struct Case {
        const char* mode;
        std::vector<std::string> set;
        bool route; // rows 14 and 15
        bool payload; // row 16
        const char* limitedRow; // row 25, or nullptr when absent
        const char* tripRow; // row 33
    };
    const Case cases[] = {
        {"Trip Time and Fuel", {}, true, true, nullptr, "Trip:\t01:21\t3063"},
        {"Maximum Payload", {"--set", "matow=24000"}, true, false,
            "Limited by:\tAllowable Takeoff Weight\tMaximum Payload:\t4380 kg", nullptr},
        {"Maximum Range", {}, false, true, "Limited by:\tTank Capacity\tMaximum Range:\t667 NM",
            "Still Air Distance:\t697 NAM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        std::vector<std::string> args
            = {"solve", m_setup.string(), "--mode", c.mode, "--report", m_report.string()};
        args.insert(args.end(), c.set.begin(), c.set.end());
        ASSERT_EQ(Run(args), kExitValid) << m_err;
        const std::vector<std::string> lines = ReportLines();
        ASSERT_GE(lines.size(), 30u);
        EXPECT_EQ(lines.front(), "Mirovax - Version: 1.0.1.0");
        EXPECT_EQ(lines[1], "Mission Report");
        EXPECT_EQ(lines[3], std::string("Solve for:\t") + c.mode);
        EXPECT_EQ(lines.back(), "File: " + m_setup.string());
        EXPECT_TRUE(Has(lines, "Airframe:\tTest airframe\tEngine:\tTest engine"));
        EXPECT_TRUE(Has(lines, "Dry Operating Weight:\t14000 kg\tMaximum Takeoff Weight:\t30000 kg"));
        EXPECT_TRUE(Has(lines, "Regulations:\tICAO\tFlight Level:\t310"));
        EXPECT_TRUE(Has(lines,
            "OAT:\t-46 \xC2\xB0"
            "C\tWind:\t20 kts"));
        EXPECT_EQ(Has(lines, "From:\tKSFO\tTo:\tKBFI"), c.route);
        EXPECT_EQ(Has(lines, "Distance:\t594 NM"), c.route);
        EXPECT_EQ(Has(lines, "Payload:\t5000 kg"), c.payload);
        EXPECT_EQ(HasPrefix(lines, "Limited by:"), c.limitedRow != nullptr);
        if (c.limitedRow) {
            EXPECT_TRUE(Has(lines, c.limitedRow));
        }
        if (c.tripRow) {
            EXPECT_TRUE(HasPrefix(lines, c.tripRow));
        }
    }
}

TEST_F(CliReportTest, HeadingsAndRowsKeepTheirSizesAndStyles)
{
    ASSERT_EQ(Run({"solve", m_setup.string(), "--report", m_report.string()}), kExitValid) << m_err;
    const mirovax::testing::ReadDocument document = mirovax::testing::ReadRtf(support::ReadFile(m_report));
    ASSERT_GT(document.paragraphs.size(), 6u);
    const mirovax::testing::ReadParagraph& heading = document.paragraphs[1];
    EXPECT_EQ(heading.halfPoints, 28);
    EXPECT_TRUE(heading.bold);
    EXPECT_TRUE(heading.underline);
    EXPECT_EQ(document.paragraphs[5].text, "Airplane Data");
    EXPECT_EQ(document.paragraphs[5].halfPoints, 20);
    EXPECT_TRUE(document.paragraphs[5].bold);
    for (const size_t regular : {size_t{0}, size_t{3}, size_t{6}}) {
        EXPECT_EQ(document.paragraphs[regular].halfPoints, 16);
        EXPECT_FALSE(document.paragraphs[regular].bold);
        EXPECT_FALSE(document.paragraphs[regular].underline);
    }
    for (const mirovax::testing::ReadParagraph& p : document.paragraphs) {
        EXPECT_EQ(p.fontName, "Arial");
        EXPECT_EQ(p.tabStopsTwips, (std::vector<int>{2000, 4000, 6000, 8000}));
    }
}

TEST_F(CliReportTest, ARunStoppedAtALimitReportsItsFieldsWithBlankResults)
{
    // An allowable takeoff weight below the dry operating weight stops the
    // trip at a limit; the window would show no results.
    ASSERT_EQ(
        Run({"solve", m_setup.string(), "--set", "matow=15000", "--report", m_report.string()}), kExitLimit);
    const std::vector<std::string> lines = ReportLines();
    EXPECT_TRUE(Has(lines, "MATOW:\t15000 kg\tMALW:\t25000 kg"));
    EXPECT_TRUE(Has(lines, "Trip:\t\t"));
    EXPECT_TRUE(Has(lines, "True Airspeed:\t\tGround Speed:\t"));
    EXPECT_TRUE(Has(lines, "Zero Fuel Weight:\t\tTakeoff Weight:\t"));
    EXPECT_TRUE(Has(lines, "Airframe:\tTest airframe\tEngine:\tTest engine"));
}

TEST_F(CliReportTest, FieldsShowAsTheWindowShowsThemAndMarkupStaysText)
{
    // The code fields hold capitals; a brace or backslash in a field is text.
    const std::string regulations = "{\\b x} \\par C:\\dir";
    const fs::path dotted = m_dir / "." / "Worked.MRX";
    ASSERT_EQ(Run({"solve", dotted.string(), "--set", "origin=ksfo", "--set", "alternate=kSea", "--set",
                  "regulations=" + regulations, "--report", m_report.string()}),
        kExitValid)
        << m_err;
    const std::vector<std::string> lines = ReportLines();
    EXPECT_TRUE(Has(lines, "From:\tKSFO\tTo:\tKBFI"));
    EXPECT_TRUE(Has(lines, "Alternate:\tKSEA\tElevation:\t433 ft"));
    EXPECT_TRUE(Has(lines, "Regulations:\t" + regulations + "\tFlight Level:\t310"));
    // The setup file is named by its whole path, as the Load Setup dialog
    // gives it.
    EXPECT_EQ(lines.back(), "File: " + m_setup.string());
}

TEST_F(CliReportTest, NoReportWithoutALoadedAirplaneAndAnExistingFileStays)
{
    support::WriteFile(m_report, "earlier report");
    EXPECT_EQ(Run({"solve", m_setup.string(), "--airplane", "NOPE", "--report", m_report.string()}),
        kExitInputsUnusable);
    EXPECT_NE(m_err.find("no report written"), std::string::npos) << m_err;
    EXPECT_EQ(support::ReadFile(m_report), "earlier report");

    EXPECT_EQ(
        Run({"solve", (m_dir / "missing.MRX").string(), "--report", m_report.string()}), kExitFileOrTable);
    EXPECT_EQ(support::ReadFile(m_report), "earlier report");
}

TEST_F(CliReportTest, AReportThatCannotBeWrittenIsAFileErrorAfterTheResults)
{
    const fs::path target = m_dir / "no-such-dir" / "out.rtf";
    EXPECT_EQ(Run({"solve", m_setup.string(), "--report", target.string()}), kExitFileOrTable);
    EXPECT_NE(m_err.find(target.string()), std::string::npos) << m_err;
    // The results were still shown.
    EXPECT_NE(m_out.find("01:21"), std::string::npos) << m_out;
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(CliReportTest, AReportOrSheetNeverReplacesAnInputFile)
{
    const std::string setupBefore = support::ReadFile(m_setup);
    const std::string tableBefore = support::ReadFile(m_dir / "Airplane.DB");
    const fs::path sameSetup = m_dir / "." / "Worked.MRX";
    for (const char* option : {"--report", "--sheet"}) {
        for (const fs::path& target : {sameSetup, m_dir / "Airplane.DB"}) {
            EXPECT_EQ(Run({"solve", m_setup.string(), option, target.string()}), kExitUsage) << option;
            EXPECT_NE(m_err.find("this run reads"), std::string::npos) << m_err;
        }
    }
    EXPECT_EQ(support::ReadFile(m_setup), setupBefore);
    EXPECT_EQ(support::ReadFile(m_dir / "Airplane.DB"), tableBefore);
}

// solve --sheet: the dispatch sheet of the run, dated by SOURCE_DATE_EPOCH
// so that it can be made again byte for byte.
TEST_F(CliReportTest, TheSheetIsDatedAndCarriesTheFlight)
{
    const fs::path sheet = m_dir / "sheet.html";
    ::setenv("SOURCE_DATE_EPOCH", "1796722800", 1);
    EXPECT_EQ(Run({"solve", m_setup.string(), "--sheet", sheet.string(), "--flight", "MX <1>",
                  "--registration", "D-AMRX"}),
        kExitValid)
        << m_err;
    const std::string html = support::ReadFile(sheet);
    for (const char* part : {"2026-12-08 09:40 UTC", "<td>MX &lt;1&gt;</td>", "<td>D-AMRX</td>",
             "<td class=\"num\">01:21</td><td class=\"num\">3063</td>", "Tank Capacity (binding)",
             "Mirovax - Version: "})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    EXPECT_EQ(Run({"solve", m_setup.string(), "--sheet", sheet.string(), "--flight", "MX <1>",
                  "--registration", "D-AMRX"}),
        kExitValid);
    EXPECT_EQ(support::ReadFile(sheet), html);

    ::setenv("SOURCE_DATE_EPOCH", "yesterday", 1);
    EXPECT_EQ(Run({"solve", m_setup.string(), "--sheet", sheet.string()}), kExitUsage);
    EXPECT_NE(m_err.find("SOURCE_DATE_EPOCH"), std::string::npos) << m_err;
    ::unsetenv("SOURCE_DATE_EPOCH");
}

// --units lb: every printed mass in pounds (the panel, the margins, the
// report, the sheet, the sweep, the diagram's table, CSV and picture), the
// masses of --set typed in pounds, and --json's values the kilogram run's
// bit for bit beside the labels in pounds.
TEST_F(CliReportTest, PoundsOnEveryPrintedSurfaceAndKilogramsInTheValues)
{
    const std::string setup = m_setup.string();
    const std::string payloadKg = FormatRoundTrip(11023 * kKilogramsPerPound);
    std::string kilograms;
    ASSERT_EQ(
        CliTest::Run({"solve", setup, "--set", "payload=" + payloadKg, "--json"}, &kilograms), kExitValid);
    ASSERT_EQ(Run({"solve", setup, "--units", "lb", "--set", "payload=11023", "--json"}), kExitValid)
        << m_err;
    const auto part = [](const std::string& json, const std::string& key) {
        const size_t from = json.find("\"" + key + "\":");
        return json.substr(from, json.find('}', from) - from);
    };
    EXPECT_EQ(part(m_out, "values"), part(kilograms, "values"));
    EXPECT_EQ(part(m_out, "limits"), part(kilograms, "limits"));
    EXPECT_NE(m_out.find("\"units\":{\"labels\":\"lb\",\"values\":\"kg\"}"), std::string::npos);
    EXPECT_NE(m_out.find("\"Label17\":\"4980 lb/h\""), std::string::npos) << m_out; // 2259 kg/h
    EXPECT_NE(kilograms.find("\"units\":{\"labels\":\"kg\",\"values\":\"kg\"}"), std::string::npos);

    const auto poundsOnly = [this](std::vector<std::string> args) {
        args.insert(args.begin() + 1, {"--units", "lb"});
        const int status = Run(args);
        EXPECT_FALSE(support::NamesKilograms(m_out)) << m_out;
        EXPECT_NE(m_out.find("lb"), std::string::npos) << m_out;
        return status;
    };
    EXPECT_EQ(poundsOnly({"solve", setup, "--margins", "--report", m_report.string()}), kExitValid);
    EXPECT_NE(m_out.find("Zero Fuel Weight:   41888 lb"), std::string::npos) << m_out; // 19000 kg
    EXPECT_NE(m_out.find("Extra payload:"), std::string::npos);
    const std::vector<std::string> report = ReportLines();
    EXPECT_TRUE(std::none_of(report.begin(), report.end(), support::NamesKilograms));
    EXPECT_TRUE(HasPrefix(report, "Payload:\t11023 lb")) << ::testing::PrintToString(report);

    const fs::path sheet = m_dir / "sheet.html";
    EXPECT_EQ(poundsOnly({"solve", setup, "--sheet", sheet.string()}), kExitValid);
    EXPECT_FALSE(support::NamesKilograms(support::ReadFile(sheet)));

    EXPECT_EQ(poundsOnly({"sweep", setup, "--csv", "--vary", "payload=11023,12000"}), kExitValid);
    EXPECT_TRUE(m_out.starts_with("payload,valid,status,TripFuel_lb,MinTakeoffFuel_lb,")) << m_out;
    EXPECT_EQ(poundsOnly({"payload-range", setup}), kExitValid);
    EXPECT_NE(m_out.find("Payload (lb)  Range (NM)"), std::string::npos);
    EXPECT_EQ(poundsOnly({"payload-range", setup, "--csv"}), kExitValid);
    EXPECT_TRUE(m_out.starts_with("payload_lb,range,"));
    EXPECT_EQ(poundsOnly({"payload-range", setup, "--svg", "-"}), kExitValid);

    EXPECT_EQ(Run({"solve", setup, "--units", "stone"}), kExitUsage);
    EXPECT_NE(m_err.find("unknown unit \"stone\"; expected kg or lb"), std::string::npos) << m_err;
    EXPECT_EQ(Run({"plan", setup, "--units", "lb"}), kExitUsage);
}
