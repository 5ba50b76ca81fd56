#include "cli_fixture.h"

#include "apps/cli/cli_app.h"
#include "apps/cli/cli_options.h"
#include "apps/cli/cli_payload_range.h"
#include "engine/text_format.h"
#include "refdata/table_store.h"
#include "setup/setup_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

using namespace mirovax;
using namespace mirovax::cli;
namespace support = mirovax::testing;

namespace {

class CliPayloadRangeTest : public CliTest {
protected:
    void SetUp() override
    {
        // Neither the tank nor the takeoff weight ever stops this one.
        support::AirplaneRow endless = support::WorkedAirplane("ENDLESS");
        endless.numbers["TCAP"] = 1e9;
        endless.numbers["MTOW"] = 1e9;
        WriteAirplanes({endless, support::WorkedAirplane("WORKED-1")});
        m_airplanes.Open((m_dir / "Airplane.DB").string());
        m_setup = WriteSetup("Worked.MRX", support::WorkedSetup());
    }

    TTable m_airplanes;
    std::string m_setup;
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(CliPayloadRangeTest, EachPointIsWhatSolveFindsInMaximumRangeAtThatPayload)
{
    SolveRequest request;
    request.settings = {{13, "24000"}}; // MATOW: the tank corner at 4000 kg
    const PayloadRangeRun run = ComputeSetupPayloadRange(m_airplanes, m_setup, request, 6);
    ASSERT_EQ(run.setup.status, kExitValid) << run.setup.error;
    ASSERT_GE(run.diagram.size(), 7u);
    EXPECT_EQ(run.diagram.front().payload, 7000);
    EXPECT_EQ(run.diagram.front().range, 0);
    for (size_t i = 1; i < run.diagram.size(); ++i) {
        const PayloadRangePoint& p = run.diagram[i];
        SolveRequest range = request;
        range.mode = "Maximum Range";
        range.settings.push_back({3, FormatRoundTrip(p.payload)});
        const SetupRun solved = SolveSetupFile(m_airplanes, m_setup, range, nullptr);
        ASSERT_EQ(solved.status, kExitValid) << solved.error;
        EXPECT_EQ(p.range, solved.md().MaxRange) << p.payload;
        EXPECT_EQ(p.limitedBy, solved.md().LimitedBy) << p.payload;
    }
}

TEST_F(CliPayloadRangeTest, OutputsNameTheCornersAndPlaceTheMission)
{
    // The worked mission flies within the structural maxima, but an MATOW of
    // 24000 kg is exceeded on it (solve stops at that limit): outside.
    std::string out, err;
    ASSERT_EQ(Run({"payload-range", m_setup, "--points", "5"}, &out, &err), kExitValid) << err;
    EXPECT_TRUE(Contains(out, "Worked.MRX: WORKED-1, Test airframe (Test engine)\n")) << out;
    EXPECT_TRUE(Contains(out, "Payload (kg)  Range (NM)  Limited by\n")) << out;
    EXPECT_TRUE(Contains(out, "        7000           0  Zero Fuel Weight  *\n")) << out;
    EXPECT_TRUE(Contains(out, "Mission: 5000 kg over 594 NM, inside the envelope.\n")) << out;
    EXPECT_TRUE(err.empty()) << err;

    ASSERT_EQ(Run({"payload-range", m_setup, "--points=5", "--set", "matow=24000"}, &out, &err), kExitValid);
    // Each corner names the limit that binds from it on, unless it is the
    // row's own: the tank corner, where both limits meet, the tank.
    EXPECT_TRUE(Contains(out, "  Maximum Takeoff Weight  *\n")) << out;
    EXPECT_FALSE(Contains(out, "Maximum Takeoff Weight  * Maximum Takeoff Weight")) << out;
    EXPECT_TRUE(Contains(out, "        4000 ")) << out;
    EXPECT_TRUE(Contains(out, "  Maximum Takeoff Weight  * Tank Capacity\n")) << out;
    EXPECT_TRUE(Contains(out, "           0  ")) << out;
    EXPECT_TRUE(Contains(out, "  Tank Capacity  * Ferry Range\n")) << out;
    EXPECT_TRUE(Contains(out, "Mission: 5000 kg over 594 NM, outside the envelope.\n")) << out;

    ASSERT_EQ(Run({"payload-range", m_setup, "--points", "2", "--set", "matow=24000", "--json"}, &out), 0);
    EXPECT_EQ(
        out.rfind("{\"points\": [{\"payload\": 7000, \"range\": 0, \"limitedBy\": \"Zero Fuel Weight\", "
                  "\"bindsFromHere\": \"Zero Fuel Weight\"}",
            0),
        0u)
        << out;
    EXPECT_TRUE(Contains(out, "{\"payload\": 4000, \"range\": ")) << out;
    EXPECT_TRUE(
        Contains(out, "\"limitedBy\": \"Maximum Takeoff Weight\", \"bindsFromHere\": \"Tank Capacity\"}"))
        << out;
    EXPECT_TRUE(Contains(out, "\"limitedBy\": \"Tank Capacity\", \"bindsFromHere\": \"Ferry Range\"}]}\n"))
        << out;

    ASSERT_EQ(Run({"payload-range", m_setup, "--csv"}, &out), kExitValid);
    EXPECT_EQ(
        out.rfind(
            "payload,range,limitedBy,corner,bindsFromHere\n7000,0,Zero Fuel Weight,1,Zero Fuel Weight\n", 0),
        0u)
        << out;
    // 50 payloads by default, and the zero-range point on top.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1 + 50 + 1);

    // --airplane picks the type before the diagram is drawn; the file's MATOW
    // of 30000 kg comes back after that load and binds, until --set lifts it.
    ASSERT_EQ(Run({"payload-range", m_setup, "--airplane", "endless", "--csv"}, &out, &err), kExitValid)
        << err;
    EXPECT_TRUE(Contains(out, "Maximum Takeoff Weight")) << out;
    ASSERT_EQ(Run({"payload-range", m_setup, "--airplane", "endless", "--set", "matow=1000000000", "--json"},
                  &out, &err),
        kExitArithmeticFault);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(Contains(err, "Worked.MRX: The payload-range diagram cannot be drawn: neither the tank"))
        << err;
}

TEST_F(CliPayloadRangeTest, TheSvgGoesToItsFileOrStandardOutput)
{
    const std::string svgPath = (m_dir / "diagram.svg").string();
    std::string out, err;
    ASSERT_EQ(Run({"payload-range", m_setup, "--svg", svgPath}, &out, &err), kExitValid) << err;
    EXPECT_TRUE(out.empty()) << out;
    const std::string svg = support::ReadFile(svgPath);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_TRUE(Contains(svg, "<title>Test airframe (Test engine)</title>")) << svg.substr(0, 400);
    EXPECT_TRUE(Contains(svg, "Tank Capacity"));
    EXPECT_TRUE(Contains(svg, "</svg>"));

    ASSERT_EQ(Run({"payload-range", m_setup, "--svg=-"}, &out), kExitValid);
    EXPECT_EQ(out, svg);

    const std::string nowhere = (m_dir / "no-such-dir" / "diagram.svg").string();
    EXPECT_EQ(Run({"payload-range", m_setup, "--svg", nowhere}, &out, &err), kExitFileOrTable);
    EXPECT_TRUE(Contains(err, "cannot write \"" + nowhere + "\"")) << err;

    // The picture never replaces what it is drawn from.
    const std::string setupBefore = support::ReadFile(m_setup);
    const std::string tableBefore = support::ReadFile(m_dir / "Airplane.DB");
    for (const auto& [target, what] : {std::pair{m_setup, "the setup file"},
             std::pair{(m_dir / "Airplane.DB").string(), "the airplane table"}}) {
        err.clear();
        EXPECT_EQ(Run({"payload-range", m_setup, "--svg", target}, &out, &err), kExitUsage);
        EXPECT_TRUE(Contains(err, std::string("it is ") + what + " this run reads")) << err;
    }
    EXPECT_EQ(support::ReadFile(m_setup), setupBefore);
    EXPECT_EQ(support::ReadFile(m_dir / "Airplane.DB"), tableBefore);
}

TEST_F(CliPayloadRangeTest, RefusalsHaveTheStatusesOfSolve)
{
    const std::string shortFile = (m_dir / "Short.MRX").string();
    support::WriteFile(shortFile, "KSFO\r\nKBFI\r\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"payload-range", m_setup, "--set", "flight-level="}, kExitInputsUnusable,
            "Worked.MRX: The diagram cannot be drawn: Flight Level is empty."},
        {{"payload-range", m_setup, "--set", "oat=4-5"}, kExitInputsUnusable, "OAT is not a number."},
        // Edit8 is never converted, yet Execute refuses to run without it.
        {{"payload-range", m_setup, "--set", "alternate="}, kExitInputsUnusable, "Alternate is empty."},
        {{"payload-range", m_setup, "--airplane", "B747"}, kExitInputsUnusable, "type \"B747\" is not in"},
        {{"payload-range", m_setup, "--set", "malw=15000"}, kExitArithmeticFault,
            "even without payload the landing weight"},
        {{"payload-range", m_setup, "--set", "wind=500"}, kExitArithmeticFault,
            "Worked.MRX: The payload-range diagram cannot be drawn: Wind of 500 kts is not less than the "
            "True "
            "Airspeed of 458 kts!"},
        {{"payload-range", m_setup, "--set", "alternate-distance=-200"}, kExitArithmeticFault,
            "cannot be drawn at a payload of 7000 kg: Alternate fuel of -"},
        {{"payload-range", (m_dir / "Missing.MRX").string()}, kExitFileOrTable, "Missing.MRX"},
        {{"payload-range", shortFile}, kExitFileOrTable, "Short.MRX"},
        {{"payload-range", m_setup, "--points", "1"}, kExitUsage, "--points: expected a whole number"},
        {{"payload-range", m_setup, "--csv", "--svg", "a.svg"}, kExitUsage,
            "--csv and --svg exclude each other"},
        {{"payload-range", m_setup, m_setup}, kExitUsage, "expected one setup file"},
        {{"payload-range", m_setup, "--mode", "range"}, kExitUsage, "--mode applies to solve and sweep only"},
    };
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(Run(c.args, &out, &err), c.status) << c.message << "\n" << err;
        EXPECT_TRUE(Contains(err, c.message)) << err;
        EXPECT_TRUE(out.empty()) << out;
    }

    // Without the table nothing can be drawn.
    std::ostringstream out, err;
    CliEnvironment environment;
    environment.programDir = (m_dir / "elsewhere").string();
    EXPECT_EQ(RunCli({"payload-range", m_setup}, out, err, environment), kExitFileOrTable);
    EXPECT_TRUE(Contains(err.str(), "no table")) << err.str();
}

TEST(CliPayloadRangeOptions, PointsAndOutputsAreCheckedWhenParsed)
{
    const CliOptions o = ParseCommandLine(
        {"payload-range", "a.MRX", "--points=7", "--svg", "x.svg", "--set", "matow=24000"});
    EXPECT_EQ(o.command, Command::PayloadRange);
    EXPECT_EQ(o.points, 7);
    ASSERT_TRUE(o.svgFile);
    EXPECT_EQ(*o.svgFile, "x.svg");
    ASSERT_EQ(o.settings.size(), 1u);
    EXPECT_EQ(ParseCommandLine({"payload-range", "a.MRX"}).points, kDefaultDiagramPoints);
    EXPECT_EQ(
        ParseCommandLine({"payload-range", "a.MRX", "--points", "10000", "--json", "--json"}).points, 10000);

    struct Case {
        std::vector<std::string> args;
        const char* expected;
        Command command;
    };
    const Case cases[] = {
        {{"payload-range", "a.MRX", "--points", "10001"}, "--points", Command::PayloadRange},
        {{"payload-range", "a.MRX", "--points", "5.0"}, "--points", Command::PayloadRange},
        {{"payload-range", "a.MRX", "--points", "-3"}, "--points", Command::PayloadRange},
        {{"payload-range", "a.MRX", "--points="}, "--points", Command::PayloadRange},
        {{"payload-range", "a.MRX", "--points", "99999999999"}, "--points", Command::PayloadRange},
        {{"payload-range", "a.MRX", "--svg="}, "--svg needs a file name", Command::PayloadRange},
        {{"payload-range", "a.MRX", "--json", "--csv"}, "--json and --csv exclude", Command::PayloadRange},
        {{"payload-range"}, "expected one setup file", Command::PayloadRange},
        {{"solve", "a.MRX", "--csv"}, "--csv applies to payload-range and sweep only", Command::Solve},
        {{"solve", "a.MRX", "--points", "5"}, "--points applies to payload-range only", Command::Solve},
        {{"distance", "A", "B", "--set", "oat=1"}, "applies to payload-range, solve and sweep only",
            Command::Distance},
    };
    for (const Case& c : cases) {
        try {
            ParseCommandLine(c.args);
            ADD_FAILURE() << "accepted: " << c.expected;
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
            EXPECT_EQ(e.command(), c.command) << e.what();
        }
    }

    // The help names the command and its own options.
    EXPECT_NE(HelpText(Command::None).find("payload-range SETUP.MRX"), std::string::npos);
    const std::string help = HelpText(Command::PayloadRange);
    for (const char* option : {"--points N", "--csv", "--json", "--svg FILE", "--tables DIR", "--set"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_TRUE(ParseCommandLine({"payload-range", "--help"}).help);
}
