#include "engine/mission_limits.h"
#include "engine/solve.h"
#include "engine/text_format.h"
#include "report/dispatch_sheet.h"
#include "setup/setup_file.h"
#include "test_support.h"
#include "textio/text_encoding.h"

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
DispatchSheetInput WorkedSheet(double matow = 30000, std::string_view mode = kModeTripTimeAndFuel)
{
    DispatchSheetInput input;
    input.runTime = 1796722800;
    input.flight = "MX 101";
    input.registration = "D-AMRX";
    input.programTitle = "Mirovax - Version: 1.0.1.0";
    input.modeText = mode;
    input.regulationText = "ICAO";
    const SetupTexts setup = mirovax::testing::WorkedSetup();
    input.fields = FieldsOf(setup);
    input.md = mirovax::testing::WorkedRecord();
    input.md.MATOW = matow;
    NoServices services;
    if (mode == kModeMaximumRange)
        SolveMaximumRange(input.md, services);
    else if (mode == kModeMaximumPayload)
        SolveMaximumPayload(input.md, services);
    else
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
    // The trip's CO2 at 3.16 kg a kg of fuel.
    EXPECT_NE(valid.find("CO&#8322; of the trip: " + FormatRounded(WorkedSheet().md.TripFuel * 3.16) + " kg"),
        std::string::npos);

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
    EXPECT_EQ(stopped.find("CO&#8322;"), std::string::npos);
    EXPECT_EQ(stopped.find("Tank Capacity"), std::string::npos) << "the tanks were never checked";
}

// A maximum mode ignores the entry it searches for: the maximum it found
// stands in that entry's place, and the entry is nowhere on the sheet.
TEST(DispatchSheet, AMaximumModeShowsWhatItFoundInPlaceOfWhatItIgnores)
{
    struct Case {
        std::string_view mode;
        std::string found; // the row in the entry's place
        std::string ignored; // the entry's row in Trip Time and Fuel
    };
    const DispatchSheetInput range = WorkedSheet(30000, kModeMaximumRange);
    const DispatchSheetInput payload = WorkedSheet(30000, kModeMaximumPayload);
    ASSERT_TRUE(range.valid);
    ASSERT_TRUE(payload.valid);
    const Case cases[] = {
        {kModeMaximumRange, "<th>Maximum Range</th><td>" + FormatRounded(range.md.MaxRange) + " NM</td>",
            "<th>Distance</th><td>594 NM</td>"},
        {kModeMaximumPayload,
            "<th>Maximum Payload</th><td>" + FormatRounded(payload.md.MaxPayload) + " kg</td>",
            "<th>Payload</th><td>5000 kg</td>"},
    };
    EXPECT_NE(DispatchSheetHtml(WorkedSheet()).find("<th>Distance</th><td>594 NM</td>"), std::string::npos);
    EXPECT_NE(DispatchSheetHtml(WorkedSheet()).find("<th>Payload</th><td>5000 kg</td>"), std::string::npos);
    for (const Case& c : cases) {
        const DispatchSheetInput input = c.mode == kModeMaximumRange ? range : payload;
        const std::string html = DispatchSheetHtml(input);
        ExpectHas(html, {c.found, "<th>Limited by</th><td>" + input.md.LimitedBy + "</td>"}, c.found.c_str());
        EXPECT_EQ(html.find(c.ignored), std::string::npos) << c.mode;
    }
    // Stopped, the maximum is blank where the entry would stand.
    DispatchSheetInput stopped = range;
    stopped.valid = false;
    EXPECT_NE(DispatchSheetHtml(stopped).find("<th>Maximum Range</th><td></td>"), std::string::npos);
}

// Every text from the user or a file is inert on the sheet and valid UTF-8.
TEST(DispatchSheet, EveryTextIsEscaped)
{
    DispatchSheetInput input = WorkedSheet();
    input.flight = "<script>alert(\"x\")</script>";
    input.registration = "D-'&'";
    input.fields[Field::From] = "K<S>FO";
    input.fields[Field::Alternate] = "\"KSEA\"";
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
