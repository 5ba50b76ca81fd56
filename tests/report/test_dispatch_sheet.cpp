#include "engine/mission_limits.h"
#include "engine/solve.h"
#include "output/text_encoding.h"
#include "report/dispatch_sheet.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mirovax;

namespace {

class NoServices : public IMissionServices {
public:
    void ReportLimit(const std::string& message) override { messages.push_back(message); }
    void YieldEvents() override { }
    std::vector<std::string> messages;
};

// The sheet of a Trip Time and Fuel run of the worked mission with the
// given MATOW, dated 2026-12-08 09:40:00 UTC.
DispatchSheetInput WorkedSheet(double matow = 30000)
{
    DispatchSheetInput input;
    input.runTime = 1796722800;
    input.flight = "MX 101";
    input.registration = "D-AMRX";
    input.programTitle = "Mirovax - Version: 1.0.1.0";
    input.modeText = kModeTripTimeAndFuel;
    input.regulationText = "ICAO";
    const SetupTexts setup = mirovax::testing::WorkedSetup();
    std::copy_n(setup.begin(), input.edits.size(), input.edits.begin());
    input.md = mirovax::testing::WorkedRecord();
    input.md.MATOW = matow;
    NoServices services;
    SolveTripTimeAndFuel(input.md, services);
    input.valid = input.md.CalculationValid;
    input.limits = ComputeMissionLimits(input.md, input.modeText, input.valid);
    input.warnings = services.messages;
    return input;
}

void ExpectHas(const std::string& html, const std::vector<std::string>& parts, const char* what)
{
    for (const std::string& part : parts)
        EXPECT_NE(html.find(part), std::string::npos) << what << ": " << part;
}

} // namespace

// What a dispatcher reads off the sheet, and what the printer needs.
TEST(DispatchSheet, CarriesTheRunTheLimitsAndTheSignOff)
{
    const std::string valid = DispatchSheetHtml(WorkedSheet());
    ExpectHas(valid,
        {"<!DOCTYPE html>", "<meta charset=\"utf-8\">", "@page { size: A4;",
            "<title>Dispatch Sheet MX 101</title>", "2026-12-08 09:40 UTC", "<td>MX 101</td>",
            "<td>D-AMRX</td>", "<td>WORKED-1</td>", "<td>Test airframe</td>", "<td>Test engine</td>",
            "<td>KSFO &rarr; KBFI</td>", "<td>KSEA</td>", "<td>ICAO</td>", "<td>Trip Time and Fuel</td>",
            // The fuel table: time and fuel of each item, then the lines
            // the dispatcher fills in.
            "<tr><td>Holding</td><td class=\"num\">00:45</td><td class=\"num\">1788</td></tr>",
            "<tr><td>Contingency (5 %)</td><td class=\"num\">00:04</td><td class=\"num\">153</td></tr>",
            "<tr><td>Trip</td><td class=\"num\">01:21</td><td class=\"num\">3063</td></tr>",
            "<tr><td>Min. Takeoff</td><td class=\"num\">02:24</td><td class=\"num\">5822</td></tr>",
            "<tr class=\"fill\"><td>Extra fuel</td><td></td><td></td></tr>",
            // The tanks bind with 178 kg to spare; 176 kg more fuel fits.
            // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one text over two lines
            "<tr class=\"binding\"><td>Tank Capacity (binding)</td><td class=\"num\">5822</td><td "
            "class=\"num\">6000</td><td class=\"num margin\">178</td></tr>",
            "Binding limit: <b>Tank Capacity</b>", "<th>Extra fuel</th><td>176 kg</td>",
            "<p class=\"note\">None.</p>", "Dispatcher: name and signature", "Captain: name and signature"},
        "valid");
    EXPECT_EQ(valid.find("Not a plan to fly"), std::string::npos);

    // A run stopped at a limit: no figures to fly by, the limit and its
    // excess named, the message among the warnings, no extras.
    const DispatchSheetInput stoppedInput = WorkedSheet(24000);
    ASSERT_FALSE(stoppedInput.valid);
    const std::string stopped = DispatchSheetHtml(stoppedInput);
    ExpectHas(stopped,
        {"Not a plan to fly", "<tr><td>Trip</td><td></td><td></td></tr>",
            "Stopped by the Allowable Takeoff Weight, exceeded by 822 kg.",
            "<li>Maximum Allowable Takeoff Weight of 24000 kg exceeded!</li>"},
        "stopped");
    EXPECT_EQ(stopped.find("Possible extras"), std::string::npos);
    EXPECT_EQ(stopped.find("Tank Capacity"), std::string::npos) << "the tanks were never checked";
}

// Every text from the user or a file is inert on the sheet and valid UTF-8.
TEST(DispatchSheet, EveryTextIsEscaped)
{
    DispatchSheetInput input = WorkedSheet();
    input.flight = "<script>alert(\"x\")</script>";
    input.registration = "D-'&'";
    input.edits[0] = "K<S>FO";
    input.edits[7] = "\"KSEA\"";
    input.regulationText = "ICAO & <i>more</i>";
    input.md.Type = "A320 <img src=x onerror=alert(1)>";
    input.md.Airframe = std::string("Caf\xE9\x01");
    input.warnings = {"<b>loud</b> & clear"};
    input.programTitle = "Mirovax </title><script>";
    const std::string html = DispatchSheetHtml(input);
    ExpectHas(html,
        {"<td>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;</td>", "<td>D-&#39;&amp;&#39;</td>",
            "<td>K&lt;S&gt;FO &rarr; KBFI</td>", "<td>&quot;KSEA&quot;</td>",
            "<td>ICAO &amp; &lt;i&gt;more&lt;/i&gt;</td>", "<td>A320 &lt;img src=x onerror=alert(1)&gt;</td>",
            "<td>Caf\xEF\xBF\xBD</td>", "<li>&lt;b&gt;loud&lt;/b&gt; &amp; clear</li>",
            "<title>Dispatch Sheet &lt;script&gt;"},
        "escaped");
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("<img"), std::string::npos);
    EXPECT_EQ(html.find("<i>"), std::string::npos);
    EXPECT_EQ(EncodeUtf8(DecodeUtf8(html)), html) << "not valid UTF-8";
}
