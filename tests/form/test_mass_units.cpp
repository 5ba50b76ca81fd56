#include "form/mission_session.h"

#include "engine/text_format.h"
#include "form/input_rules.h"
#include "report/payload_range_output.h"
#include "setup/setup_file.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace mirovax {
namespace {

using testing::NamesKilograms;
using testing::ScratchDir;
using testing::WorkedAirplane;
using testing::WorkedSetup;

struct Recorded : IMissionServices {
    void ReportLimit(const std::string& message) override { messages.push_back(message); }
    void YieldEvents() override { }
    std::vector<std::string> messages;
};

class MassUnitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::WriteAirplaneTable(m_dir.file("Airplane.DB"), {WorkedAirplane("WORKED-1")});
        m_table.Open(m_dir.file("Airplane.DB"));
    }
    ScratchDir m_dir;
    TTable m_table;
};

// A mission typed in pounds is the kilogram mission of the pounds converted
// once: the record gets the very doubles, every result is the same bit for
// bit, and each shown mass is the kilogram figure divided once by the
// pound's kilograms and rounded ties to even. In kilograms nothing changes.
TEST_F(MassUnitTest, AMissionInPoundsIsItsKilogramRunConvertedOnce)
{
    for (const std::string_view mode : {kModeTripTimeAndFuel, kModeMaximumPayload, kModeMaximumRange}) {
        SCOPED_TRACE(std::string(mode));
        MissionSession pounds(m_table);
        pounds.SetUnits(MassUnit::Pounds);
        ASSERT_TRUE(pounds.OpenSetup(WorkedSetup()));
        pounds.SetShownText(Field::Payload, "11023");
        pounds.SetShownText(Field::Matow, "66000");
        pounds.SetShownText(Field::Malw, "55100");
        EXPECT_EQ(pounds.Text(Field::Payload), FormatRoundTrip(11023 * kKilogramsPerPound));
        EXPECT_EQ(pounds.ShownText(Field::Payload), "11023");

        MissionSession kilograms(m_table);
        ASSERT_TRUE(kilograms.OpenSetup(WorkedSetup()));
        kilograms.SetText(Field::Payload, FormatRoundTrip(11023 * kKilogramsPerPound));
        kilograms.SetText(Field::Matow, FormatRoundTrip(66000 * kKilogramsPerPound));
        kilograms.SetText(Field::Malw, FormatRoundTrip(55100 * kKilogramsPerPound));

        Recorded poundServices, kilogramServices;
        const bool valid = kilograms.Run(mode, kilogramServices);
        ASSERT_EQ(pounds.Run(mode, poundServices), valid);
        const TMissionData& lb = pounds.Record();
        const TMissionData& kg = kilograms.Record();
        EXPECT_EQ(lb.Payload, 11023 * kKilogramsPerPound);
        for (const NumericField& f : kResultFields)
            EXPECT_EQ(lb.*f.member, kg.*f.member) << f.name;

        const ResultTexts shown = pounds.Results(mode);
        EXPECT_EQ(kilograms.Results(mode).labels, ShowResults(kg, mode).labels);
        EXPECT_EQ(shown.label(17), FormatRounded(kg.AvgFuelFlow / kKilogramsPerPound) + " lb/h");
        EXPECT_EQ(shown.label(26), FormatRounded(kg.TripFuel / kKilogramsPerPound));
        EXPECT_EQ(shown.label(28), FormatRounded(kg.ZeroFuelWeight / kKilogramsPerPound) + " lb");
        EXPECT_EQ(shown.label(14), ShowResults(kg, mode).label(14)); // knots stay knots
        if (mode == kModeMaximumPayload) {
            EXPECT_EQ(shown.label(13), FormatRounded(kg.MaxPayload / kKilogramsPerPound) + " lb");
        }
        for (int n = 12; n <= 30; ++n)
            EXPECT_FALSE(NamesKilograms(shown.label(n))) << n;

        // The limits and the sheet of the run, in pounds throughout.
        const std::string sheet = DispatchSheetHtml(pounds.SheetInput("Mirovax"));
        EXPECT_FALSE(NamesKilograms(sheet));
        EXPECT_NE(sheet.find("Zero Fuel Weight"), std::string::npos);
        EXPECT_NE(sheet.find(FormatRounded(kg.ZeroFuelWeight / kKilogramsPerPound)), std::string::npos);
        EXPECT_NE(sheet.find("Fuel (lb)"), std::string::npos);
    }
}

// The entries keep kilograms whatever the unit: a setup saved while pounds
// are shown holds kilograms, and opening it in pounds shows the pounds typed
// with the very kilograms under them. A kilogram entry shows as whole pounds
// and switching the unit back and forth changes no entry; a text that is no
// number shows as it is.
TEST_F(MassUnitTest, EntriesStayInKilogramsAndRoundTripThroughASetupFile)
{
    MissionSession typed(m_table);
    typed.SetUnits(MassUnit::Pounds);
    ASSERT_TRUE(typed.OpenSetup(WorkedSetup()));
    EXPECT_EQ(typed.ShownText(Field::Matow), "66139"); // 30000 kg
    EXPECT_EQ(typed.ShownText(Field::Payload), "11023"); // 5000 kg
    typed.SetShownText(Field::Payload, "12345");
    typed.SetShownText(Field::Malw, "50000");
    const std::string path = m_dir.file("pounds.MRX");
    SaveSetup(path, typed.Entries());
    const SetupTexts file = LoadSetup(path);
    EXPECT_EQ(file[SetupIndex(Field::Payload)], "5599.5978076500005");
    EXPECT_EQ(file[SetupIndex(Field::Malw)], "22679.6185");
    EXPECT_EQ(file[SetupIndex(Field::Matow)], "30000");

    MissionSession reopened(m_table);
    reopened.SetUnits(MassUnit::Pounds);
    ASSERT_TRUE(reopened.OpenSetup(file));
    EXPECT_EQ(reopened.ShownFields(), typed.ShownFields());
    EXPECT_EQ(reopened.Entries(), typed.Entries());
    Recorded services;
    ASSERT_TRUE(reopened.Run(kModeTripTimeAndFuel, services));
    EXPECT_EQ(reopened.Record().Payload, 12345 * kKilogramsPerPound);

    const SetupTexts before = reopened.Entries();
    reopened.SetUnits(MassUnit::Kilograms);
    EXPECT_EQ(reopened.ShownText(Field::Payload), "5599.5978076500005");
    EXPECT_FALSE(reopened.LastRun()); // its texts were made in pounds
    reopened.SetUnits(MassUnit::Pounds);
    EXPECT_EQ(reopened.Entries(), before);
    EXPECT_EQ(reopened.ShownText(Field::Payload), "12345");

    reopened.SetShownText(Field::Payload, "12a");
    EXPECT_EQ(reopened.Text(Field::Payload), "12a");
    EXPECT_EQ(reopened.ShownText(Field::Payload), "12a");
    reopened.SetShownText(Field::Payload, "");
    EXPECT_EQ(reopened.ShownText(Field::Payload), "");
    EXPECT_EQ(reopened.ShownText(Field::FlightLevel), reopened.Text(Field::FlightLevel));
}

// Every message that names a mass names it in the unit: the structure's cap
// on leaving MATOW, a setup's weights that do not survive, a limit that
// stops a run, the airplane data and the diagram's files.
TEST_F(MassUnitTest, MessagesTheAirplaneDataAndTheDiagramFilesNameMassesInTheUnit)
{
    MissionSession session(m_table);
    session.SetUnits(MassUnit::Pounds);
    SetupTexts file = WorkedSetup();
    file[SetupIndex(Field::Malw)] = "26000";
    const std::optional<AirplaneDisplay> display = session.OpenSetup(file);
    ASSERT_TRUE(display);
    ASSERT_EQ(session.AllowableWeightNotes().size(), 1U);
    EXPECT_EQ(session.AllowableWeightNotes()[0],
        "Line 15 (MALW) of the setup file, 57320 lb, exceeds the Maximum Structural Landing Weight of 55116 "
        "lb, "
        "which stays.");
    EXPECT_EQ(display->labels[3], "66139 lb"); // MTOW
    EXPECT_EQ(display->matow, "30000"); // the entry keeps kilograms
    for (const std::string& label : display->labels)
        EXPECT_FALSE(NamesKilograms(label)) << label;

    session.SetShownText(Field::Matow, "70000");
    const ExitOutcome capped = session.LeaveField(Field::Matow);
    EXPECT_EQ(capped.message, "Maximum Structural Takeoff Weight of 66139 lb exceeded!");
    EXPECT_EQ(session.Text(Field::Matow), "30000");
    EXPECT_EQ(session.ShownText(Field::Matow), "66139");

    session.SetShownText(Field::Payload, "40000");
    Recorded services;
    EXPECT_FALSE(session.Run(kModeTripTimeAndFuel, services));
    ASSERT_EQ(services.messages.size(), 1U);
    EXPECT_TRUE(services.messages[0].ends_with(" lb exceeded!")) << services.messages[0];
    EXPECT_FALSE(NamesKilograms(services.messages[0]));

    session.SetShownText(Field::Payload, "4000");
    const DiagramMission mission = session.Diagram();
    ASSERT_FALSE(mission.unusable);
    const std::vector<PayloadRangePoint> diagram = ComputePayloadRange(mission.md, 20);
    const std::string svg = PayloadRangeSvg(
        diagram, MissionPoint{mission.md.Payload, mission.md.TripDistance}, "", session.Units());
    EXPECT_FALSE(NamesKilograms(svg));
    EXPECT_NE(svg.find("Payload (lb)"), std::string::npos);
    EXPECT_NE(svg.find("Mission 4000 lb over"), std::string::npos);
    EXPECT_EQ(PayloadRangeSvg(diagram), PayloadRangeSvg(diagram, std::nullopt, "", MassUnit::Kilograms));

    const std::string csv = PayloadRangeCsv(diagram, MassUnit::Pounds);
    ASSERT_TRUE(csv.starts_with("payload_lb,range,"));
    const size_t line = csv.find('\n') + 1;
    EXPECT_EQ(csv.substr(line, csv.find(',', line) - line),
        FormatRoundTrip(diagram.front().payload / kKilogramsPerPound));
}

} // namespace
} // namespace mirovax
