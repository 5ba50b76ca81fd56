#include "cli_fixture.h"

#include "apps/cli/cli_options.h"
#include "engine/text_format.h"
#include "flightplan/flight_plan.h"

#include <fstream>
#include <iterator>

namespace mirovax::cli {
namespace {

constexpr const char* kRoute = "I\n1100 Version\nCYCLE 2301\nADEP KSFO\nADES KBFI\nNUMENR 3\n"
                               "1 KSFO ADEP 13.000000 37.618999 -122.375000\n"
                               "3 OAK DRCT 35000.000000 37.725 -122.223\n"
                               "1 KBFI ADES 21.000000 47.529999 -122.302002\n";

class CliPlanTest : public CliTest {
protected:
    void SetUp() override
    {
        WriteAirplanes({testing::WorkedAirplane("WORKED-1")});
        testing::WriteAirportTable((m_dir / "Airports.DB").string(), testing::BayAreaAirports());
    }
    std::string WritePlan(const std::string& name, const std::string& text)
    {
        std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

// plan prints what was read; solve takes the plan into the entries before
// the --set texts, and its JSON fields are the texts the run used.
TEST_F(CliPlanTest, PlanPrintsWhatWasReadAndSolveTakesItBeforeTheSettings)
{
    const std::string plan = WritePlan("route.fms", kRoute);
    const FlightPlan read = ReadFlightPlan(plan);
    const std::string route = FormatRounded(RouteDistanceNm(read.waypoints));
    const std::string direct = FormatRounded(DirectDistanceNm(read.waypoints));
    std::string out, err;
    ASSERT_EQ(Run({"plan", plan}, &out, &err), kExitValid) << err;
    EXPECT_EQ(out,
        "file: " + plan + "\nformat: X-Plane FMS\ndeparture: KSFO\ndestination: KBFI\nalternates: \n"
            + "cruise level: \nwaypoints: 3\nroute distance: " + route
            + " NM\ngreat-circle distance: " + direct + " NM\n");
    ASSERT_EQ(Run({"plan", "--json", plan}, &out, &err), kExitValid) << err;
    EXPECT_NE(out.find("\"waypoints\": [\"KSFO\", \"OAK\", \"KBFI\"], \"routeDistanceNm\": " + route),
        std::string::npos)
        << out;

    const std::string setup = WriteSetup("worked.MRX", testing::WorkedSetup());
    Run({"solve", setup, "--plan", plan, "--set", "destination=KSEA", "--json"}, &out, &err);
    EXPECT_NE(out.find("\"origin\":\"KSFO\",\"destination\":\"KSEA\",\"distance\":\"" + route + "\""),
        std::string::npos)
        << out;

    // The report names the plan, the sheet lists its waypoints.
    const std::string sheet = (m_dir / "sheet.html").string();
    const std::string report = (m_dir / "report.rtf").string();
    Run({"solve", setup, "--plan", plan, "--sheet", sheet}, &out, &err);
    Run({"solve", setup, "--plan", plan, "--report", report}, &out, &err);
    const auto text = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_NE(
        text(sheet).find("(3 waypoints)</td><th>Waypoints</th><td>KSFO OAK KBFI</td>"), std::string::npos);
    EXPECT_NE(text(report).find("route.fms"), std::string::npos);
}

// A plan that cannot be read stops the command before anything is solved,
// naming the file.
TEST_F(CliPlanTest, APlanThatCannotBeReadStopsTheCommand)
{
    const std::string broken = WritePlan("broken.fms", "no plan at all\n");
    const std::string setup = WriteSetup("worked.MRX", testing::WorkedSetup());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"plan", broken},
             {"solve", setup, "--plan", broken}, {"payload-range", setup, "--plan", broken},
             {"sweep", setup, "--plan", broken, "--vary", "payload=1000,2000"}}) {
        std::string out, err;
        EXPECT_EQ(Run(args, &out, &err), kExitFileOrTable) << args[0];
        EXPECT_TRUE(out.empty()) << out;
        EXPECT_NE(err.find(broken), std::string::npos) << err;
    }
    std::string err;
    EXPECT_EQ(Run({"plan"}, nullptr, &err), kExitUsage);
    EXPECT_EQ(Run({"airplanes", "--plan", broken}, nullptr, &err), kExitUsage);
}

} // namespace
} // namespace mirovax::cli
