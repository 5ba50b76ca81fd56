#include "apps/cli/cli_options.h"

#include <gtest/gtest.h>

using namespace mirovax::cli;

namespace {

CliOptions Parse(const std::vector<std::string>& args)
{
    return ParseCommandLine(args);
}

} // namespace

TEST(CliOptions, SolveTakesOptionsAnywhereAndKeepsSettingsInOrder)
{
    const CliOptions o
        = Parse({"--tables", "/t", "solve", "a.MRX", "--mode=range", "b.MRX", "--set", "matow=24000",
            "--airplane", "A320", "--set=oat=-50", "--set", "matow=23000", "--json", "--", "--odd-name.MRX"});
    EXPECT_EQ(o.command, Command::Solve);
    EXPECT_EQ(o.operands, (std::vector<std::string>{"a.MRX", "b.MRX", "--odd-name.MRX"}));
    EXPECT_EQ(o.mode, "Maximum Range");
    ASSERT_TRUE(o.airplane);
    EXPECT_EQ(*o.airplane, "A320");
    ASSERT_TRUE(o.tablesDir);
    EXPECT_EQ(*o.tablesDir, "/t");
    EXPECT_TRUE(o.json);
    ASSERT_EQ(o.settings.size(), 3u);
    EXPECT_EQ(o.settings[0].line, 13);
    EXPECT_EQ(o.settings[0].text, "24000");
    EXPECT_EQ(o.settings[1].line, 5);
    EXPECT_EQ(o.settings[1].text, "-50");
    EXPECT_EQ(o.settings[2].text, "23000"); // a later --set wins by coming later

    // A text may be empty or hold "=" itself; settings before the command
    // come first; a file may have a command's name.
    const CliOptions e = Parse({"--set", "origin=", "solve", "distance", "--set", "regulations=A=B"});
    EXPECT_EQ(e.operands, std::vector<std::string>{"distance"});
    EXPECT_EQ(e.settings[0].line, 0);
    EXPECT_EQ(e.settings[0].text, "");
    EXPECT_EQ(e.settings[1].line, 16);
    EXPECT_EQ(e.settings[1].text, "A=B");
    EXPECT_EQ(e.mode, "Trip Time and Fuel");
}

TEST(CliOptions, EverySetupFieldButTheAirplaneCanBeSet)
{
    for (size_t i = 0; i < kSetupFieldNames.size(); ++i) {
        const int expected = i == 15 ? -1 : static_cast<int>(i);
        EXPECT_EQ(SettableFieldIndex(kSetupFieldNames[i]), expected) << kSetupFieldNames[i];
    }
    EXPECT_EQ(SettableFieldIndex("flight-level"), 4);
    EXPECT_EQ(SettableFieldIndex("malw"), 14);
    EXPECT_EQ(SettableFieldIndex("Edit5"), -1);
    EXPECT_EQ(SettableFieldIndex("MATOW"), -1);
}

TEST(CliOptions, ModesAreTheThreeTextsOrTheirShortForms)
{
    const std::pair<const char*, const char*> accepted[] = {
        {"Trip Time and Fuel", "Trip Time and Fuel"},
        {"trip", "Trip Time and Fuel"},
        {"maximum payload", "Maximum Payload"},
        {"PAYLOAD", "Maximum Payload"},
        {"Maximum Range", "Maximum Range"},
        {"range", "Maximum Range"},
    };
    for (const auto& [argument, mode] : accepted) {
        ASSERT_TRUE(ModeFromArgument(argument)) << argument;
        EXPECT_EQ(*ModeFromArgument(argument), mode);
    }
    for (const char* rejected : {"", "Maximum", "Trip Time and Fuel ", "ranges", "Maximum  Range"})
        EXPECT_FALSE(ModeFromArgument(rejected)) << rejected;
}

TEST(CliOptions, WrongUsageIsAnErrorThatNamesTheCommand)
{
    struct Case {
        std::vector<std::string> args;
        const char* expected;
        Command command;
    };
    const Case cases[] = {
        {{}, "no command", Command::None},
        {{"compute", "a.MRX"}, "unknown command", Command::None},
        {{"solve"}, "no setup file", Command::Solve},
        {{"solve", "a.MRX", "--mode", "fastest"}, "unknown mode", Command::Solve},
        {{"solve", "a.MRX", "--mode"}, "needs a value", Command::Solve},
        {{"solve", "a.MRX", "--set", "matow"}, "FIELD=TEXT", Command::Solve},
        {{"solve", "a.MRX", "--set", "airplane=A320"}, "--airplane", Command::Solve},
        {{"solve", "a.MRX", "--set", "weight=1"}, "unknown field", Command::Solve},
        {{"solve", "a.MRX", "--verbose"}, "unknown option", Command::Solve},
        {{"solve", "a.MRX", "--tables="}, "--tables", Command::Solve},
        {{"airplanes", "--json"}, "payload-range, plan, solve, sweep and winds only", Command::Airplanes},
        {{"--mode", "range", "distance", "KSFO", "KBFI"}, "solve and sweep only", Command::Distance},
        {{"airplanes", "extra"}, "unexpected argument", Command::Airplanes},
        {{"distance", "KSFO"}, "two ICAO codes", Command::Distance},
        {{"alternate", "KSEA", "KBFI", "KSFO"}, "two ICAO codes", Command::Alternate},
        {{"solve", "a.MRX", "b.MRX", "--report", "r.rtf"}, "exactly one setup file", Command::Solve},
        {{"solve", "a.MRX", "--report="}, "--report needs a file name", Command::Solve},
        {{"solve", "--report=", "a.MRX"}, "--report needs a file name", Command::Solve},
        {{"solve", "a.MRX", "--json=1"}, "--json takes no value", Command::Solve},
        {{"solve", "a.MRX", "--report"}, "needs a value", Command::Solve},
        {{"airplanes", "--report", "r.rtf"}, "solve only", Command::Airplanes},
        {{"solve", "a.MRX", "b.MRX", "--sheet", "s.html"}, "--sheet takes exactly one setup file",
            Command::Solve},
        {{"solve", "a.MRX", "--flight", "MX1"}, "--flight applies to the dispatch sheet only",
            Command::Solve},
        {{"payload-range", "a.MRX", "--margins"}, "solve only", Command::PayloadRange},
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
}

TEST(CliOptions, HelpNeedsNoOperandsAndEachCommandHasItsOwn)
{
    EXPECT_TRUE(Parse({"--help"}).help);
    const CliOptions solveHelp = Parse({"solve", "-h"});
    EXPECT_TRUE(solveHelp.help);
    EXPECT_EQ(solveHelp.command, Command::Solve);
    EXPECT_TRUE(Parse({"--version"}).version);

    EXPECT_NE(HelpText(Command::Solve).find("--set FIELD=TEXT"), std::string::npos);
    EXPECT_NE(HelpText(Command::Solve).find("holding-altitude"), std::string::npos);
    EXPECT_NE(HelpText(Command::Distance).find("distance FROM TO"), std::string::npos);
    EXPECT_NE(HelpText(Command::Alternate).find("alternate-elevation="), std::string::npos);
    EXPECT_NE(HelpText(Command::Airplanes).find("table order"), std::string::npos);
    EXPECT_NE(HelpText(Command::None).find("64  wrong usage"), std::string::npos);
    EXPECT_EQ(HelpHint(Command::Solve), "Try 'mirovax-cli solve --help'.");
    EXPECT_NE(HelpText(Command::Solve).find("--report FILE"), std::string::npos);
}

TEST(CliOptions, ReportNamesOneFileForOneSetup)
{
    EXPECT_FALSE(Parse({"solve", "a.MRX"}).reportFile);
    const CliOptions o = Parse({"solve", "--report", "out.doc", "a.MRX"});
    ASSERT_TRUE(o.reportFile);
    EXPECT_EQ(*o.reportFile, "out.doc");
    EXPECT_EQ(o.operands, std::vector<std::string>{"a.MRX"});
    EXPECT_EQ(*Parse({"solve", "a.MRX", "--report=r"}).reportFile, "r");
}
