#include "cli_fixture.h"

#include "apps/cli/cli_options.h"
#include "engine/fuel_models.h"
#include "engine/text_format.h"
#include "forecast/route_weather.h"
#include "grib_writer.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace mirovax::cli {
namespace {

// A forecast over the US west coast (30 to 55 N, 130 to 115 W, one degree)
// with a uniform north wind of 40 kts at 12 UTC + 6 h and 60 kts at + 12 h,
// and -30 deg C at 400 hPa, -60 deg C at 150 hPa.
class CliWindsTest : public CliTest {
protected:
    void SetUp() override
    {
        WriteAirplanes({testing::WorkedAirplane("WORKED-1")});
        testing::WriteAirportTable((m_dir / "Airports.DB").string(), testing::BayAreaAirports());
        const std::string bytes = testing::UniformNorthWindForecast(
            {55, 230, 30, 245, 1, 1, 16, 26, 0}, {{6, 40.0}, {12, 60.0}}, {{400.0, -30.0}, {150.0, -60.0}});
        std::ofstream(m_forecast, std::ios::binary) << bytes;
    }
    std::string Text(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    const std::string m_forecast = (m_dir / "gfs.grib2").string();
};

// winds prints the forecast's wind and temperature along the route; solve,
// sweep and the report and sheet take them, a --set wind stands, a second
// validity time is chosen by its time.
TEST_F(CliWindsTest, TheForecastGivesWindAndOatToEveryCommand)
{
    std::string out, err;
    ASSERT_EQ(Run({"winds", m_forecast, "--route", "KSFO", "KBFI", "--level", "350"}, &out, &err), kExitValid)
        << err;
    const std::string oat
        = FormatRounded(-30 - 30 * std::log(StandardPressureHpa(350) / 400) / std::log(150.0 / 400));
    EXPECT_NE(out.find("forecast: GFS 2026-12-08 12 UTC +6 h, valid 2026-12-08 18 UTC"), std::string::npos)
        << out;
    EXPECT_NE(
        out.find("wind: 40 kts (headwind positive)\noat: " + oat + " deg C\nsamples: "), std::string::npos)
        << out;
    // The level's standard pressure, and the speed the wind was averaged at:
    // the airplane's Mach at the forecast's temperature.
    char pressure[32];
    std::snprintf(pressure, sizeof pressure, "%.1f", StandardPressureHpa(350));
    TMissionData speed = testing::WorkedRecord();
    speed.OAT = std::stod(oat);
    CalcTrueAirspeed(speed);
    EXPECT_NE(out.find(std::string("flight level: 350 (") + pressure
                  + " hPa)\ntrue airspeed: " + FormatRounded(speed.TrueAirspeed) + " kts (WORKED-1)\n"),
        std::string::npos)
        << out;
    ASSERT_EQ(Run({"winds", m_forecast, "--route", "KSFO", "KBFI", "--level", "350", "--winds-time",
                      "2026-12-09T00", "--json"},
                  &out, &err),
        kExitValid)
        << err;
    EXPECT_NE(out.find("\"validity\": \"2026-12-09T00\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"windKt\": 60, \"oatC\": " + oat), std::string::npos) << out;

    SetupTexts texts = testing::WorkedSetup();
    texts[SetupIndex(Field::From)] = "KSFO";
    texts[SetupIndex(Field::To)] = "KBFI";
    texts[SetupIndex(Field::FlightLevel)] = "350";
    const std::string setup = WriteSetup("worked.MRX", texts);
    Run({"solve", setup, "--winds", m_forecast, "--json"}, &out, &err);
    EXPECT_NE(out.find("\"flight-level\":\"350\",\"oat\":\"" + oat + "\",\"wind\":\"40\""), std::string::npos)
        << out;
    Run({"solve", setup, "--winds", m_forecast, "--set", "wind=7", "--json"}, &out, &err);
    EXPECT_NE(out.find("\"oat\":\"" + oat + "\",\"wind\":\"7\""), std::string::npos) << out;

    // A sweep over levels: each level its own temperature.
    Run({"sweep", setup, "--winds", m_forecast, "--vary", "flight-level=250,390", "--json"}, &out, &err);
    std::vector<std::string> seen;
    for (size_t at = out.find("\"oat\":\""); at != std::string::npos; at = out.find("\"oat\":\"", at + 1))
        seen.push_back(out.substr(at + 7, out.find('"', at + 7) - (at + 7)));
    ASSERT_EQ(seen.size(), 2u) << out;
    EXPECT_NE(seen[0], seen[1]);

    // The report and the sheet say where the wind and OAT came from.
    const std::string sheet = (m_dir / "sheet.html").string();
    const std::string report = (m_dir / "report.rtf").string();
    Run({"solve", setup, "--winds", m_forecast, "--sheet", sheet}, &out, &err);
    Run({"solve", setup, "--winds", m_forecast, "--report", report}, &out, &err);
    EXPECT_NE(Text(sheet).find("forecast GFS 2026-12-08 12 UTC +6 h, FL350, "), std::string::npos);
    EXPECT_NE(Text(report).find("forecast GFS 2026-12-08 12 UTC +6 h, FL350, "), std::string::npos);
}

// What the forecast cannot give stops the command with the reason: a file
// that is no forecast, a validity time it lacks, a level outside it, an
// airport the table lacks.
TEST_F(CliWindsTest, WhatTheForecastCannotGiveStopsTheCommand)
{
    const std::string broken = (m_dir / "broken.grib2").string();
    std::ofstream(broken, std::ios::binary) << "no forecast";
    SetupTexts texts = testing::WorkedSetup();
    texts[SetupIndex(Field::From)] = "KSFO";
    texts[SetupIndex(Field::To)] = "KBFI";
    const std::string setup = WriteSetup("worked.MRX", texts);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string said;
    };
    for (const Case& c :
        std::vector<Case>{
            {{"solve", setup, "--winds", broken}, kExitFileOrTable, "broken.grib2"},
            {{"winds", broken, "--route", "KSFO", "KBFI", "--level", "350"}, kExitFileOrTable,
                "broken.grib2"},
            {{"solve", setup, "--winds", m_forecast, "--winds-time", "2026-12-10T00"}, kExitInputsUnusable,
                "2026-12-08T18, 2026-12-09T00"},
            {{"solve", setup, "--winds", m_forecast, "--set", "flight-level=100"}, kExitInputsUnusable,
                "outside the forecast's levels"},
            {{"solve", setup, "--winds", m_forecast, "--set", "destination=KXXX"}, kExitInputsUnusable,
                "KXXX"},
            {{"winds", m_forecast, "--route", "KSFO", "KXXX", "--level", "350"}, kExitInputsUnusable, "KXXX"},
            {{"solve", setup, "--winds-time", "2026-12-08T18"}, kExitUsage, "--winds-time needs --winds"},
            {{"winds", m_forecast, "--level", "350"}, kExitUsage, "--route FROM TO or --plan FILE"},
        }) {
        std::string out, err;
        EXPECT_EQ(Run(c.args, &out, &err), c.status) << c.args[0] << ' ' << c.args[2] << ": " << err;
        EXPECT_NE(err.find(c.said), std::string::npos) << err;
    }
}

} // namespace
} // namespace mirovax::cli
