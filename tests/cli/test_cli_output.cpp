#include "apps/cli/cli_output.h"
#include "textio/json_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

using namespace mirovax;
using namespace mirovax::cli;

namespace {

// A run as the solve path leaves it after a valid Maximum Range.
SetupRun RangeRun()
{
    SetupRun run;
    run.path = "dir/Range \"1\".MRX";
    run.mode = "Maximum Range";
    run.fieldsLoaded = true;
    SetupTexts entries;
    entries[SetupIndex(Field::From)] = "KSFO";
    entries[kSetupAirplaneLine] = "WORKED-1";
    entries[kSetupRegulationsLine] = "ICAO";
    run.session.SetEntries(entries);
    run.valid = true;
    TMissionData& md = run.session.Record();
    md.StillAirDistance = 697;
    md.MaxRange = 666.5707;
    md.TripFuel = 3395.7612345678901;
    md.LimitedBy = "Tank Capacity";
    for (int n = 12; n <= 30; ++n)
        run.results.label(n) = std::string("L").append(std::to_string(n));
    return run;
}

} // namespace

TEST(CliJson, StringsAreEscapedAndAlwaysValidUtf8)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "\"plain\""}, {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"line\r\nnext\ttab", "\"line\\r\\nnext\\ttab\""},
        {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
        {"Caf\xC3\xA9 \xE2\x82\xAC", "\"Caf\xC3\xA9 \xE2\x82\xAC\""}, // valid UTF-8 stays
        {"Caf\xE9", "\"Caf\xEF\xBF\xBD\""}, // a stray Latin-1 byte
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""}, // an encoded surrogate
        {"\xF0\x9F\x98", "\"\xEF\xBF\xBD\""}, // truncated: one replacement
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(JsonString(text), json) << text;
}

TEST(CliJson, NumbersReadBackToTheSameDouble)
{
    const double values[] = {0.0, 1.0, -46.0, 0.1, 1.0 / 3.0, 666.5707191781, 3062.53, 1e-7, 1e300, -2.5,
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()};
    for (const double v : values) {
        const std::string text = JsonNumber(v);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
        EXPECT_EQ(text.find(','), std::string::npos) << text;
    }
    EXPECT_EQ(JsonNumber(19000), "19000");
    EXPECT_EQ(JsonNumber(0.78), "0.78");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
}

TEST(CliJson, OneLineWithEveryLabelAndResult)
{
    const std::string json = FormatJson(RangeRun());
    ASSERT_EQ(json.back(), '\n');
    EXPECT_EQ(json.find('\n'), json.size() - 1);
    EXPECT_EQ(json.rfind("{\"file\":\"dir/Range \\\"1\\\".MRX\",\"mode\":\"Maximum Range\",\"status\":0,"
                         "\"valid\":true,\"message\":null,\"error\":null,",
                  0),
        0u)
        << json;
    for (int n = 12; n <= 30; ++n) {
        const std::string key = "\"Label" + std::to_string(n) + "\":\"L" + std::to_string(n) + "\"";
        EXPECT_NE(json.find(key), std::string::npos) << key;
    }
    for (const NumericField& f : kResultFields)
        EXPECT_NE(json.find(std::string("\"").append(f.name).append("\":")), std::string::npos) << f.name;
    EXPECT_NE(json.find("\"TripFuel\":3395.76123456789"), std::string::npos) << json;
    EXPECT_NE(json.find("\"StillAirDistance\":697,"), std::string::npos);
    // The trip's CO2 at ICAO's 3.16 kg a kg of fuel; a run without limits
    // (none computed) says so with nulls.
    EXPECT_NE(
        json.find("\"LimitedBy\":\"Tank Capacity\"},\"co2TripKg\":" + JsonNumber(3395.76123456789 * 3.16)
            + ",\"limits\":null,\"stoppedBy\":null,"
              "\"exceededBy\":null,\"extraPayload\":null,\"extraFuel\":null}\n"),
        std::string::npos)
        << json;
    EXPECT_NE(json.find("\"fields\":{\"origin\":\"KSFO\",\"destination\":\"\","), std::string::npos);
    EXPECT_NE(json.find("\"airplane\":\"WORKED-1\",\"regulations\":\"ICAO\"}"), std::string::npos);

    SetupRun failed;
    failed.path = "missing.MRX";
    failed.mode = "Trip Time and Fuel";
    failed.status = kExitFileOrTable;
    failed.error = "Cannot open setup file \"missing.MRX\": No such file or directory";
    const std::string failedJson = FormatJson(failed);
    EXPECT_NE(failedJson.find("\"status\":4,\"valid\":false,\"message\":null,\"error\":\"Cannot open"),
        std::string::npos)
        << failedJson;
    EXPECT_NE(failedJson.find("\"fields\":null"), std::string::npos);
    EXPECT_NE(failedJson.find("\"co2TripKg\":null,"), std::string::npos) << failedJson;
}

TEST(CliPlain, ShowsThePanelOfTheMode)
{
    const std::string range = FormatPlain(RangeRun());
    EXPECT_EQ(range,
        "File:               dir/Range \"1\".MRX\n"
        "Airplane:           WORKED-1\n"
        "Solve for:          Maximum Range\n"
        "Limited by:         L12\n"
        "Maximum Range:      L13\n"
        "True Airspeed:      L14\n"
        "Ground Speed:       L15\n"
        "Still Air Distance: L16\n"
        "Avg. Fuel Flow:     L17\n"
        "Holding:            L18  L23\n"
        "Alternate:          L19  L24\n"
        "Contingency:        L20  L25\n"
        "Trip:               L21  L26\n"
        "Min. Takeoff:       L22  L27\n"
        "Zero Fuel Weight:   L28\n"
        "Takeoff Weight:     L29\n"
        "Landing Weight:     L30\n");

    SetupRun payload = RangeRun();
    payload.mode = "Maximum Payload";
    EXPECT_NE(FormatPlain(payload).find("Maximum Payload:    L13\n"), std::string::npos);

    // Trip Time and Fuel hides the limiting item and the maximum.
    SetupRun trip = RangeRun();
    trip.mode = "Trip Time and Fuel";
    const std::string tripText = FormatPlain(trip);
    EXPECT_EQ(tripText.find("Limited by:"), std::string::npos);
    EXPECT_EQ(tripText.find("L13"), std::string::npos);
    EXPECT_NE(tripText.find("True Airspeed:      L14\n"), std::string::npos);

    SetupRun limit = RangeRun();
    limit.mode = "Trip Time and Fuel";
    limit.valid = false;
    limit.message = "Maximum Allowable Takeoff Weight of 24000 kg exceeded!";
    const std::string limitText = FormatPlain(limit);
    EXPECT_NE(limitText.find("Solve for:          Trip Time and Fuel\n"
                             "Maximum Allowable Takeoff Weight of 24000 kg exceeded!\n"),
        std::string::npos)
        << limitText;
    EXPECT_EQ(limitText.find("L14"), std::string::npos);

    SetupRun error = RangeRun();
    error.error = std::string("fault");
    EXPECT_EQ(FormatPlain(error), "");
}
