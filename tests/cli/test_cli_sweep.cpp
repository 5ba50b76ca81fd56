#include "cli_fixture.h"

#include "apps/cli/cli_app.h"
#include "apps/cli/cli_options.h"
#include "apps/cli/cli_vary.h"
#include "setup/setup_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sstream>

using namespace mirovax;
using namespace mirovax::cli;
namespace support = mirovax::testing;

namespace {

using Point = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Raises the interrupt flag once the given number of lines has been
// written: Ctrl+C pressed while the point after them is being solved.
class InterruptingBuffer : public std::stringbuf {
public:
    InterruptingBuffer(volatile std::sig_atomic_t& flag, int lines)
        : m_flag(flag)
        , m_lines(lines)
    { }

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        const std::streamsize written = std::stringbuf::xsputn(text, count);
        const std::string all = str();
        if (std::count(all.begin(), all.end(), '\n') >= m_lines)
            m_flag = 1;
        return written;
    }

private:
    volatile std::sig_atomic_t& m_flag;
    int m_lines;
};

class CliSweepTest : public CliTest {
protected:
    void SetUp() override
    {
        // A second, heavier type that cannot climb to the setup's FL310.
        support::AirplaneRow low = support::WorkedAirplane("OTHER");
        low.numbers.at("DOW") = 15000;
        low.numbers.at("MaxAlt") = 30000;
        SaveSetup(m_setup, support::WorkedSetup());
        WriteAirplanes({support::WorkedAirplane("WORKED-1"), low});
    }

    const std::string m_setup = (m_dir / "Worked.MRX").string();
};

} // namespace

// Every point is the solve run of the same texts, object for object, in
// the order the --vary options nest; the sweep exits with the worst point's
// status.
TEST_F(CliSweepTest, EachPointIsTheSolveRunOfItsValues)
{
    struct Case {
        std::vector<std::string> options; // --mode, --set, --vary, --isa
        std::vector<Point> points; // in output order
        // The texts solve is given for a point beyond its values: what
        // leaving the flight-level field puts there.
        std::vector<std::vector<std::string>> solveExtras;
        int status;
    };
    const Case cases[] = {
        {{"--vary", "flight-level=250:310:30", "--vary", "payload=1000,9000"},
            {{{"flight-level", "250"}, {"payload", "1000"}}, {{"flight-level", "250"}, {"payload", "9000"}},
                {{"flight-level", "280"}, {"payload", "1000"}},
                {{"flight-level", "280"}, {"payload", "9000"}},
                {{"flight-level", "310"}, {"payload", "1000"}},
                {{"flight-level", "310"}, {"payload", "9000"}}},
            {}, kExitLimit},
        {{"--mode", "range", "--vary", "airplane=WORKED-1,OTHER", "--vary", "regulations=JAA,FAR Domestic"},
            {{{"airplane", "WORKED-1"}, {"regulations", "JAA"}},
                {{"airplane", "WORKED-1"}, {"regulations", "FAR Domestic"}},
                {{"airplane", "OTHER"}, {"regulations", "JAA"}},
                {{"airplane", "OTHER"}, {"regulations", "FAR Domestic"}}},
            {}, kExitValid},
        {{"--mode", "payload", "--set", "matow=24000", "--vary", "distance=300:900:600", "--vary",
             "airplane=WORKED-1,NOPE"},
            {{{"distance", "300"}, {"airplane", "WORKED-1"}}, {{"distance", "300"}, {"airplane", "NOPE"}},
                {{"distance", "900"}, {"airplane", "WORKED-1"}}, {{"distance", "900"}, {"airplane", "NOPE"}}},
            {}, kExitInputsUnusable},
        // Above OTHER's 30000 ft the level is capped, as leaving the field
        // caps it; the OAT is the standard temperature of the level flown.
        {{"--isa", "--airplane", "OTHER", "--vary", "flight-level=100,350"},
            {{{"flight-level", "100"}}, {{"flight-level", "350"}}},
            {{"--set", "oat=-5"}, {"--set", "flight-level=300", "--set", "oat=-44"}}, kExitLimit},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"sweep", m_setup, "--json"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        std::string out, err;
        const std::string what = ::testing::PrintToString(c.options);
        EXPECT_EQ(Run(args, &out, &err), c.status) << what << err;
        const std::vector<std::string> lines = Lines(out);
        ASSERT_EQ(lines.size(), c.points.size()) << what << err;

        // The solve of each point: the same file, --mode, --airplane and
        // --set, then the point's values.
        std::vector<std::string> common = {"solve", m_setup, "--json"};
        for (size_t i = 0; i < c.options.size(); ++i) {
            if (c.options[i] == "--vary")
                ++i;
            else if (c.options[i] != "--isa")
                common.push_back(c.options[i]);
        }
        for (size_t p = 0; p < c.points.size(); ++p) {
            std::vector<std::string> solve = common;
            std::string prefix = "{\"point\":{";
            for (const auto& [field, text] : c.points[p]) {
                if (field == "airplane")
                    solve.insert(solve.end(), {"--airplane", text});
                else
                    solve.insert(solve.end(), {"--set", field + "=" + text});
                prefix += (prefix.back() == '{' ? "\"" : ",\"") + field + "\":\"" + text + "\"";
            }
            if (!c.solveExtras.empty())
                solve.insert(solve.end(), c.solveExtras[p].begin(), c.solveExtras[p].end());
            std::string solved;
            Run(solve, &solved);
            ASSERT_TRUE(lines[p].starts_with(prefix + "},")) << what << lines[p];
            EXPECT_EQ("{" + lines[p].substr(prefix.size() + 2) + "\n", solved) << what << " point " << p;
        }
    }
}

// A regulations text sets holding time and contingency as choosing it in the
// window does, in the order of the --set options; a text not in the list
// presets nothing.
TEST_F(CliSweepTest, RegulationsPresetAsTheSelectorDoes)
{
    struct Case {
        std::vector<std::string> sets;
        const char* holding;
        const char* contingency;
    };
    const Case cases[] = {
        {{"holding-time=99", "regulations=FAR Domestic"}, "45", "0"},
        {{"regulations=FAR International", "holding-time=99"}, "99", "10"},
        {{"regulations=far domestic"}, "45", "5"}, // the file's texts stay
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"solve", m_setup, "--json"};
        for (const std::string& s : c.sets)
            args.insert(args.end(), {"--set", s});
        std::string out;
        Run(args, &out);
        EXPECT_NE(out.find(std::string("\"holding-time\":\"") + c.holding + "\""), std::string::npos)
            << c.sets.back();
        EXPECT_NE(out.find(std::string("\"contingency\":\"") + c.contingency + "\""), std::string::npos)
            << c.sets.back();
    }
}

TEST_F(CliSweepTest, RangesReachTheirEndExactlyAndRefuseWhatIsNoRange)
{
    struct Case {
        const char* argument;
        std::vector<std::string> texts; // empty: refused
        const char* why; // part of the refusal
    };
    const Case cases[] = {
        {"flight-level=250:310:30", {"250", "280", "310"}, ""},
        {"flight-level=250:300:30", {"250", "280"}, ""}, // a step that does not divide
        {"distance=0:0.3:0.1", {"0", "0.1", "0.2", "0.3"}, ""}, // 3 * 0.1 > 0.3 in doubles
        {"oat=-10:5:7.5", {"-10", "-2.5", "5"}, ""},
        {"payload=5.50:5.5:1", {"5.5"}, ""},
        {"regulations=FAR Domestic,JAA", {"FAR Domestic", "JAA"}, ""},
        {"origin=KS:FO", {"KS:FO"}, ""}, // codes take lists only
        {"payload=2000", {"2000"}, ""},
        {"payload=1:0:1", {}, "FROM \"1\" lies above TO \"0\""},
        {"payload=0:1:0", {}, "STEP must be above 0"},
        {"payload=0:1:-1", {}, "STEP must be above 0"},
        {"payload=0:x:1", {}, "TO \"x\" is not a number"},
        {"payload=1e3:2e3:1", {}, "FROM \"1e3\" is not a number"},
        {"payload=0:1", {}, "expected FROM:TO:STEP"},
        {"payload=0:1234567890123456:1", {}, "more than 15 significant digits"},
        {"speed=1,2", {}, "unknown field \"speed\""},
        {"payload=1,,2", {}, "an empty value"},
    };
    for (const Case& c : cases) {
        if (c.texts.empty()) {
            EXPECT_THROW(
                {
                    try {
                        ParseVariation(c.argument);
                    } catch (const std::invalid_argument& e) {
                        EXPECT_NE(std::string(e.what()).find(c.why), std::string::npos) << e.what();
                        throw;
                    }
                },
                std::invalid_argument)
                << c.argument;
            continue;
        }
        const Variation v = ParseVariation(c.argument);
        std::vector<std::string> texts;
        for (std::uint64_t i = 0; i < v.count; ++i)
            texts.push_back(v.Text(i));
        EXPECT_EQ(texts, c.texts) << c.argument;
    }
}

// Refused before anything is solved, with wrong usage's status.
TEST_F(CliSweepTest, RefusesWhatCannotBeSwept)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--vary", "payload=1:1000:1", "--vary", "distance=0:1000:1"},
            "more than 1000000 points (the --vary counts multiplied)"},
        {{"--vary", "payload=0:999999999999999:1"}, "more than 1000000 points"},
        {{"--vary", "payload=0:1:0"}, "--vary: STEP must be above 0"},
        {{"--vary", "payload=1,2", "--vary", "payload=3"}, "field \"payload\" is varied twice"},
        {{"--airplane", "OTHER", "--vary", "airplane=WORKED-1"}, "--airplane and --vary airplane exclude"},
        {{"--set", "payload=1"}, "sweep: no --vary given"},
        {{"--vary", "payload=1", "--csv", "--json"}, "exclude each other"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"sweep", m_setup};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::string out, err;
        EXPECT_EQ(Run(args, &out, &err), kExitUsage) << c.message;
        EXPECT_EQ(out, "");
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
    }
    std::vector<Variation> thousandSquared
        = {ParseVariation("payload=1:1000:1"), ParseVariation("distance=1:1000:1")};
    EXPECT_EQ(PointCount(thousandSquared), kMaxSweepPoints);
}

// A row is written as its point is solved, and Ctrl+C stops between points.
TEST_F(CliSweepTest, RowsStreamAndCtrlCStopsBetweenPoints)
{
    volatile std::sig_atomic_t interrupt = 0;
    InterruptingBuffer buffer(interrupt, 2); // the header and one row
    std::ostream stream(&buffer);
    std::string err;
    EXPECT_EQ(Run({"sweep", m_setup, "--csv", "--vary", "payload=1000:6000:1000"}, nullptr, &err, &interrupt,
                  &stream),
        kExitInterrupted);
    const std::vector<std::string> lines = Lines(buffer.str());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "payload,valid,status,TripFuel,MinTakeoffFuel,TakeoffWeight,LandingWeight,message\r");
    EXPECT_TRUE(lines[1].starts_with("1000,true,0,")) << lines[1];
    EXPECT_NE(err.find("interrupted: 5 of 6 points not solved"), std::string::npos) << err;
}
