#include "cli_fixture.h"

#include "apps/cli/cli_app.h"
#include "apps/cli/cli_solve.h"
#include "refdata/table_store.h"
#include "setup/setup_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace mirovax;
using namespace mirovax::cli;
namespace support = mirovax::testing;

namespace {

class CliSolveTest : public CliTest {
protected:
    void SetUp() override
    {
        // Another type first, so that a lookup that fell back on the
        // current record would show.
        support::AirplaneRow other = support::WorkedAirplane("OTHER");
        other.numbers["DOW"] = 15000;
        other.numbers["MTOW"] = 31000;
        other.numbers["MLAW"] = 26000;
        WriteAirplanes({other, support::WorkedAirplane("WORKED-1")});
        support::WriteAirportTable((m_dir / "Airports.DB").string(), support::BayAreaAirports());
        m_airplanes.Open((m_dir / "Airplane.DB").string());
    }
    SetupRun Solve(const SetupTexts& texts, const SolveRequest& request,
        const volatile std::sig_atomic_t* interrupt = nullptr)
    {
        return SolveSetupTexts(m_airplanes, "Worked.MRX", texts, request, interrupt);
    }

    TTable m_airplanes;
};

} // namespace

TEST_F(CliSolveTest, WorkedFiguresInAllThreeModes)
{
    struct Case {
        const char* mode;
        std::vector<FieldSetting> settings;
        std::vector<std::pair<int, const char*>> labels;
        std::vector<std::pair<double TMissionData::*, double>> values;
        const char* limitedBy;
    };
    const Case cases[] = {
        {"Trip Time and Fuel", {},
            {{14, "458 kts"}, {15, "438 kts"}, {16, "621 NAM"}, {17, "2259 kg/h"}, {18, "00:45"},
                {21, "01:21"}, {22, "02:24"}, {23, "1788"}, {24, "818"}, {25, "153"}, {26, "3063"},
                {27, "5822"}, {28, "19000 kg"}, {29, "24822 kg"}, {30, "21759 kg"}, {12, ""}, {13, ""}},
            {{&TMissionData::TripFuel, 3062.53}, {&TMissionData::StillAirDistance, 621.12},
                {&TMissionData::LandingWeight, 21759.46}},
            ""},
        {"Maximum Range", {},
            {{12, "Tank Capacity"}, {13, "667 NM"}, {16, "697 NAM"}, {25, "0"}, {26, "3396"}, {27, "6002"},
                {29, "25002 kg"}, {30, "21606 kg"}},
            {{&TMissionData::StillAirDistance, 697}, {&TMissionData::MaxRange, 666.57},
                {&TMissionData::TripFuel, 3395.76}, {&TMissionData::AvgFuelFlow, 2231.85}},
            "Tank Capacity"},
        {"Maximum Payload", {{13, "24000"}},
            {{12, "Allowable Takeoff Weight"}, {13, "4380 kg"}, {28, "18380 kg"}, {29, "23989 kg"}},
            {{&TMissionData::ZeroFuelWeight, 18380}, {&TMissionData::MaxPayload, 4380},
                {&TMissionData::TakeoffWeight, 23989.28}},
            "Allowable Takeoff Weight"},
    };
    for (const Case& c : cases) {
        SolveRequest request;
        request.mode = c.mode;
        request.settings = c.settings;
        const SetupRun run = Solve(support::WorkedSetup(), request);
        EXPECT_EQ(run.status, kExitValid) << c.mode << ": " << run.error;
        EXPECT_TRUE(run.valid) << c.mode;
        for (const auto& [label, text] : c.labels)
            EXPECT_EQ(run.results.label(label), text) << c.mode << " Label" << label;
        for (const auto& [member, value] : c.values)
            EXPECT_NEAR(run.md().*member, value, 0.005) << c.mode;
        EXPECT_EQ(run.md().LimitedBy, c.limitedBy) << c.mode;
    }
}

// Loading the file's airplane (or --airplane's) presets its structural
// maxima; the file's own MATOW and MALW then come back where they fit, a note
// on standard error says where they do not, and --set applies last.
TEST_F(CliSolveTest, TheFileAllowableWeightsSurviveTheAirplaneLoad)
{
    const std::string kTakeoffNote = "Worked.MRX: Line 14 (MATOW) of the setup file, 30001 kg, exceeds the "
                                     "Maximum Structural Takeoff Weight of 30000 kg, which stays.\n";
    const std::string kLandingNote = "Worked.MRX: Line 15 (MALW) of the setup file, \"x\", is not a number: "
                                     "the Maximum Structural Landing Weight of 25000 kg stays.\n";
    struct Case {
        const char* what;
        const char* matow;
        const char* malw;
        std::vector<std::string> options;
        int status;
        std::string fields; // as the JSON output shows them
        std::string err;
    };
    const std::vector<Case> cases = {
        {"a runway-limited MATOW stays and stops the run", "24000", "25000", {}, kExitLimit,
            "\"matow\":\"24000\",\"malw\":\"25000\"", ""},
        {"equal to the limits", "30000", "25000", {}, kExitValid, "\"matow\":\"30000\",\"malw\":\"25000\"",
            ""},
        {"1 kg above the limit", "30001", "25000", {}, kExitValid, "\"matow\":\"30000\"", kTakeoffNote},
        {"not a number, and --set last", "24000", "x", {"--set", "matow=30000"}, kExitValid,
            "\"matow\":\"30000\",\"malw\":\"25000\"", kLandingNote},
        {"after --airplane, against its limits", "31000", "26000", {"--airplane", "other"}, kExitValid,
            "\"matow\":\"31000\",\"malw\":\"26000\"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetupTexts texts = support::WorkedSetup();
        texts[13] = c.matow;
        texts[14] = c.malw;
        std::vector<std::string> args = {"solve", WriteSetup("Worked.MRX", texts), "--json"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        std::string out, err;
        EXPECT_EQ(Run(args, &out, &err), c.status) << err;
        EXPECT_NE(out.find(c.fields), std::string::npos) << out;
        EXPECT_EQ(err.empty() ? err : err.substr(err.find("Worked.MRX")), c.err);
    }
    SetupTexts runway = support::WorkedSetup();
    runway[13] = "24000";
    EXPECT_EQ(
        Solve(runway, SolveRequest{}).message, "Maximum Allowable Takeoff Weight of 24000 kg exceeded!");
    // Nothing of an earlier file carries over to the next.
    EXPECT_EQ(Solve(support::WorkedSetup(), SolveRequest{}).results.label(29), "24822 kg");
}

TEST_F(CliSolveTest, UnusableInputsNameTheLine)
{
    struct Case {
        int line; // 0-based
        const char* text;
        const char* mode;
        const char* expected;
    };
    const Case cases[] = {
        {5, "4-5", "Trip Time and Fuel", "line 6 (oat, Edit6): \"4-5\" is not a number (character 2)"},
        {7, "", "Trip Time and Fuel", "line 8 (alternate, Edit8): the field is empty"},
        {3, "", "Maximum Payload", "line 4 (payload, Edit4): the field is empty"},
        {2, "1,5", "Maximum Range", "line 3 (distance, Edit3): \"1,5\" is not a number (character 2)"},
        {11, "1500 ", "Trip Time and Fuel", "line 12 (holding-altitude, Edit12)"},
    };
    for (const Case& c : cases) {
        SetupTexts texts = support::WorkedSetup();
        texts[static_cast<size_t>(c.line)] = c.text;
        SolveRequest request;
        request.mode = c.mode;
        const SetupRun run = Solve(texts, request);
        EXPECT_EQ(run.status, kExitInputsUnusable) << c.expected;
        EXPECT_NE(run.error.find(std::string("Worked.MRX: ") + c.expected), std::string::npos) << run.error;
        EXPECT_EQ(run.results.label(14), "");
    }

    // Empty origin and destination do not matter.
    SetupTexts noRoute = support::WorkedSetup();
    noRoute[0] = "";
    noRoute[1] = "";
    EXPECT_EQ(Solve(noRoute, SolveRequest{}).status, kExitValid);
}

TEST_F(CliSolveTest, UnknownTypesAndFaultsAreErrorsNotResults)
{
    SetupTexts unknown = support::WorkedSetup();
    unknown[15] = "WORKED"; // a prefix is not a match
    const SetupRun run = Solve(unknown, SolveRequest{});
    EXPECT_EQ(run.status, kExitInputsUnusable);
    EXPECT_NE(run.error.find("Worked.MRX: line 16 (airplane): type \"WORKED\" is not in the airplane table"),
        std::string::npos)
        << run.error;

    // --airplane replaces an unknown line 16 before anything reads it.
    SolveRequest named;
    named.airplane = "WORKED-1";
    EXPECT_EQ(Solve(unknown, named).status, kExitValid);
    named.airplane = "NOPE";
    EXPECT_NE(Solve(support::WorkedSetup(), named).error.find("Worked.MRX: --airplane: type \"NOPE\""),
        std::string::npos);

    // A trip distance of 0 divides the trip fuel by a zero trip time.
    SolveRequest zero;
    zero.settings = {{2, "0"}};
    const SetupRun fault = Solve(support::WorkedSetup(), zero);
    EXPECT_EQ(fault.status, kExitArithmeticFault);
    EXPECT_NE(fault.error.find("Worked.MRX: "), std::string::npos);
    EXPECT_FALSE(fault.valid);
}

// The wind, tank and payload stops are limits (exit 1, the message, no
// results); a fuel below 0 kg is an error like an arithmetic fault (exit 3).
TEST_F(CliSolveTest, SoundStopsAndFuelErrorsHaveTheirStatuses)
{
    struct Case {
        const char* mode;
        std::vector<FieldSetting> settings;
        int status;
        const char* message;
        const char* error;
    };
    const Case cases[] = {
        {"Trip Time and Fuel", {{6, "500"}}, kExitLimit,
            "Wind of 500 kts is not less than the True Airspeed of 458 kts!", ""},
        {"Maximum Range", {{6, "458.5"}}, kExitLimit,
            "Wind of 458.5 kts is not less than the True Airspeed of 458 kts!", ""},
        {"Trip Time and Fuel", {{2, "700"}}, kExitLimit, "Tank Capacity of 6000 kg exceeded!", ""},
        {"Maximum Payload", {{14, "0"}}, kExitLimit, "No payload fits within the Allowable Landing Weight!",
            ""},
        {"Maximum Payload", {{14, "25000"}}, kExitValid, "", ""},
        {"Trip Time and Fuel", {{9, "-200"}}, kExitArithmeticFault, "",
            "Worked.MRX: Alternate fuel of -682 kg is below 0 kg: the fuel lines of the WORKED-1 do not fit "
            "this mission."},
    };
    for (const Case& c : cases) {
        SolveRequest request;
        request.mode = c.mode;
        // The worked limits whatever the airplane load makes of the file's.
        request.settings = {{13, "30000"}, {14, "25000"}};
        request.settings.insert(request.settings.end(), c.settings.begin(), c.settings.end());
        const SetupRun run = Solve(support::WorkedSetup(), request);
        EXPECT_EQ(run.status, c.status) << c.message << c.error;
        EXPECT_EQ(run.message, c.message);
        EXPECT_EQ(run.error, c.error);
        EXPECT_EQ(run.valid, c.status == kExitValid) << c.message;
        EXPECT_EQ(run.results.label(14).empty(), c.status != kExitValid) << c.message;
    }

    // As the batch reports them.
    const std::string file = WriteSetup("Wind.MRX", support::WorkedSetup());
    std::string out, err;
    EXPECT_EQ(Run({"solve", file, "--set", "wind=500", "--json"}, &out, &err), kExitLimit);
    EXPECT_NE(out.find("\"status\":1,\"valid\":false,\"message\":\"Wind of 500 kts is not less than the True "
                       "Airspeed of 458 kts!\",\"error\":null"),
        std::string::npos)
        << out;
    EXPECT_EQ(Run({"solve", file, "--set", "alternate-distance=-200"}, &out, &err), kExitArithmeticFault);
    EXPECT_TRUE(out.empty()) << out;
    EXPECT_NE(err.find("Wind.MRX: Alternate fuel of -"), std::string::npos) << err;
}

TEST_F(CliSolveTest, CtrlCActsAsTheAbortButton)
{
    volatile std::sig_atomic_t interrupt = 1;
    SolveRequest range;
    range.mode = "Maximum Range";
    const SetupRun run = Solve(support::WorkedSetup(), range, &interrupt);
    EXPECT_EQ(run.status, kExitValid);
    EXPECT_TRUE(run.valid);
    EXPECT_EQ(run.md().LimitedBy, "Aborted by User");
    EXPECT_EQ(run.md().StillAirDistance, 2); // one pass computed, then stopped
    EXPECT_EQ(run.results.label(12), "Aborted by User");

    // A batch stops after the file that was running.
    const std::string a = WriteSetup("A.MRX", support::WorkedSetup());
    std::string out, err;
    EXPECT_EQ(Run({"solve", a, a, a, "--mode", "range", "--json"}, &out, &err, &interrupt), kExitInterrupted);
    // The running file is still answered, aborted after its first pass.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_NE(out.find("\"LimitedBy\":\"Aborted by User\""), std::string::npos) << out;
    EXPECT_NE(err.find("2 of 3 setup files not solved"), std::string::npos) << err;
}

TEST_F(CliSolveTest, ABatchSolvesEachFileOnItsOwn)
{
    SetupTexts limited = support::WorkedSetup();
    limited[3] = "9000"; // zero fuel weight 23000 over MZFW 21000
    const std::string good = WriteSetup("Good.MRX", support::WorkedSetup());
    const std::string limit = WriteSetup("Limit.MRX", limited);
    const std::string missing = (m_dir / "Missing.MRX").string();
    const std::string shortFile = (m_dir / "Short.MRX").string();
    support::WriteFile(shortFile, "KSFO\r\nKBFI\r\n594\r\n");

    std::string out, err;
    EXPECT_EQ(Run({"solve", good, missing, limit, shortFile, good, "--json"}, &out, &err), kExitFileOrTable);
    std::vector<std::string> lines;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u) << out;
    EXPECT_NE(lines[0].find("\"status\":0,\"valid\":true"), std::string::npos);
    EXPECT_EQ(lines[0], lines[4]); // the same file gives the same answer
    EXPECT_NE(lines[1].find("\"status\":4"), std::string::npos);
    EXPECT_NE(lines[2].find("\"status\":1,\"valid\":false,\"message\":\"Maximum Zero Fuel Weight of 21000 kg "
                            "exceeded!\",\"error\":null"),
        std::string::npos)
        << lines[2];
    EXPECT_NE(lines[3].find("Line index 3 out of range"), std::string::npos);
    EXPECT_NE(err.find(missing + "\": No such file or directory"), std::string::npos) << err;
    EXPECT_NE(err.find(shortFile + ": Line index 3 out of range"), std::string::npos) << err;
    EXPECT_NE(err.find("line 4 (Edit4) is missing"), std::string::npos) << err;

    // Plain output: one panel per solved file, the limit message for the
    // stopped one, errors on standard error only.
    EXPECT_EQ(Run({"solve", good, limit, missing}, &out, &err), kExitFileOrTable);
    EXPECT_NE(out.find("File:               " + good + "\n"), std::string::npos);
    EXPECT_NE(out.find("Landing Weight:     21759 kg\n\nFile:               " + limit), std::string::npos)
        << out;
    EXPECT_NE(out.find("Maximum Zero Fuel Weight of 21000 kg exceeded!\n"), std::string::npos);
    EXPECT_EQ(out.find("Missing.MRX"), std::string::npos);

    EXPECT_EQ(Run({"solve", good, limit}, &out, &err), kExitLimit);
    EXPECT_EQ(Run({"solve", good, "--mode", "payload"}, &out, &err), kExitValid);
    EXPECT_NE(out.find("Maximum Payload:    "), std::string::npos);
}

TEST_F(CliSolveTest, TableCommandsPrintWhatTheButtonsFillIn)
{
    std::string out, err;
    EXPECT_EQ(Run({"airplanes"}, &out, &err), kExitValid);
    EXPECT_EQ(out, "OTHER\nWORKED-1\n");

    EXPECT_EQ(Run({"distance", "KSFO", "kbfi"}, &out, &err), kExitValid);
    EXPECT_EQ(out, "distance=595\n");
    EXPECT_EQ(Run({"alternate", "KSEA", "KBFI"}, &out, &err), kExitValid);
    EXPECT_EQ(out, "alternate-elevation=433\nalternate-distance=5\n");

    EXPECT_EQ(Run({"distance", "KSFO", "XXXX"}, &out, &err), kExitInputsUnusable);
    EXPECT_NE(err.find("airport \"XXXX\" is not in the airport table"), std::string::npos) << err;

    // Tables that are not there are a table error with a hint.
    std::ostringstream o, e;
    CliEnvironment nowhere;
    nowhere.programDir = (m_dir / "empty").string();
    EXPECT_EQ(RunCli({"airplanes"}, o, e, nowhere), kExitFileOrTable);
    EXPECT_NE(e.str().find("--tables DIR"), std::string::npos) << e.str();
    const std::string good = WriteSetup("Good.MRX", support::WorkedSetup());
    std::ostringstream o2, e2;
    EXPECT_EQ(RunCli({"solve", good, good, "--json"}, o2, e2, nowhere), kExitFileOrTable);
    const std::string batch = o2.str();
    EXPECT_EQ(std::count(batch.begin(), batch.end(), '\n'), 2);

    EXPECT_EQ(Run({"solve"}, &out, &err), kExitUsage);
    EXPECT_NE(err.find("Try 'mirovax-cli solve --help'."), std::string::npos);
    EXPECT_EQ(Run({"solve", "--help"}, &out, &err), kExitValid);
    EXPECT_NE(out.find("Usage: mirovax-cli solve"), std::string::npos);
}

// The limits of the run: in every JSON line, and under the plain results
// with --margins.
TEST_F(CliSolveTest, LimitsAndExtrasInJsonAndUnderMargins)
{
    const std::string file = WriteSetup("Limits.MRX", support::WorkedSetup());
    std::string out, err;
    ASSERT_EQ(Run({"solve", file, "--json"}, &out, &err), kExitValid) << err;
    for (const char* part : {// NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one text over two lines
             "\"limits\":[{\"name\":\"Zero Fuel Weight\",\"value\":19000,\"limit\":21000,\"margin\":2000,"
             "\"binding\":false},{\"name\":\"Allowable Landing Weight\",\"value\":21606.",
             "{\"name\":\"Tank Capacity\",\"value\":5821.99",
             ",\"binding\":true},{\"name\":\"Structural Takeoff Weight\"",
             "\"stoppedBy\":null,\"exceededBy\":null,\"extraPayload\":", ",\"extraFuel\":176}\n"})
        EXPECT_NE(out.find(part), std::string::npos) << part << "\n" << out;

    ASSERT_EQ(Run({"solve", file, "--set", "matow=24000", "--json"}, &out, &err), kExitLimit);
    EXPECT_NE(out.find("\"binding\":true},{\"name\":\"Structural Takeoff Weight\",\"value\":24000"),
        std::string::npos)
        << out;
    EXPECT_NE(out.find("\"stoppedBy\":\"Allowable Takeoff Weight\",\"exceededBy\":821.99"), std::string::npos)
        << out;
    EXPECT_NE(out.find("\"extraPayload\":null,\"extraFuel\":null}"), std::string::npos) << out;

    ASSERT_EQ(Run({"solve", file}, &out, &err), kExitValid);
    EXPECT_EQ(out.find("Margin"), std::string::npos) << "only with --margins";
    ASSERT_EQ(Run({"solve", file, "--margins"}, &out, &err), kExitValid);
    for (const char* row : {"Limits                           Value       Limit      Margin\n",
             "Zero Fuel Weight              19000 kg    21000 kg     2000 kg\n",
             "Tank Capacity                  5822 kg     6000 kg      178 kg  binding\n",
             "Binding limit:      Tank Capacity\n", "Extra fuel:         176 kg\n"})
        EXPECT_NE(out.find(row), std::string::npos) << row << out;
    ASSERT_EQ(Run({"solve", file, "--margins", "--set", "matow=24000"}, &out, &err), kExitLimit);
    EXPECT_NE(
        out.find("Stopped by:         Allowable Takeoff Weight, exceeded by 822 kg\n"), std::string::npos)
        << out;
    EXPECT_EQ(out.find("Extra fuel:"), std::string::npos) << out;
}
