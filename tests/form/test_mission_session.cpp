#include "form/mission_session.h"

#include "engine/text_format.h"
#include "form/input_rules.h"
#include "refdata/airports.h"
#include "report/payload_range_output.h"
#include "setup/setup_file.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace mirovax {
namespace {

using testing::NamesKilograms;
using testing::ScratchDir;
using testing::WorkedAirplane;
using testing::WorkedSetup;

struct LimitRecorder : IMissionServices {
    void ReportLimit(const std::string& message) override { messages.push_back(message); }
    void YieldEvents() override { }
    std::vector<std::string> messages;
};

class MissionSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::WriteAirplaneTable(m_dir.file("Airplane.DB"), {WorkedAirplane("WORKED-1")});
        m_table.Open(m_dir.file("Airplane.DB"));
    }
    ScratchDir m_dir;
    TTable m_table;
};

// Opening a setup: the file's texts stand, its MATOW back within the
// structure, its MALW above it replaced by the limit with a note; a type the
// table lacks changes nothing and leaves the session unable to compute.
TEST_F(MissionSessionTest, OpeningASetupLoadsItsAirplaneAndKeepsItsWeightsWithinTheStructure)
{
    SetupTexts file = WorkedSetup();
    file[SetupIndex(Field::Matow)] = "29000";
    file[SetupIndex(Field::Malw)] = "99999";
    MissionSession session(m_table);
    ASSERT_TRUE(session.OpenSetup(file));
    EXPECT_TRUE(session.AirplaneReady());
    EXPECT_EQ(session.Text(Field::Matow), "29000");
    EXPECT_EQ(session.Text(Field::Malw), "25000");
    ASSERT_EQ(session.AllowableWeightNotes().size(), 1U);
    EXPECT_NE(session.AllowableWeightNotes()[0].find("Line 15 (MALW)"), std::string::npos);
    session.SetText(Field::Malw, "24000");
    EXPECT_TRUE(session.AllowableWeightNotes().empty());

    SetupTexts unlisted = file;
    unlisted[kSetupAirplaneLine] = "B777-9X";
    EXPECT_FALSE(session.OpenSetup(unlisted));
    EXPECT_EQ(session.Entries(), unlisted);
    EXPECT_FALSE(session.AirplaneReady());
    // No structure to cap at: MATOW is left as typed, the level uncapped
    // while its temperature still follows.
    session.SetText(Field::Matow, "99999");
    EXPECT_EQ(session.LeaveField(Field::Matow).replacement, std::nullopt);
    session.SetText(Field::FlightLevel, "450");
    EXPECT_EQ(session.LeaveField(Field::FlightLevel).replacement, std::nullopt);
    EXPECT_EQ(session.Text(Field::Oat), "-56");
    // --airplane's type in place of the file's.
    ASSERT_TRUE(session.OpenSetup(unlisted, std::string("worked-1")));
    EXPECT_EQ(session.AirplaneText(), "worked-1");
    EXPECT_TRUE(session.AirplaneReady());
}

// The rules on leaving a field act on the entries: the level capped at the
// ceiling with its temperature, MATOW capped at the structure, the holding
// altitude raised; a regulation presets two fields; a run is Execute's.
TEST_F(MissionSessionTest, ExitRulesPresetsAndTheRunActOnTheEntries)
{
    MissionSession session(m_table);
    ASSERT_TRUE(session.OpenSetup(WorkedSetup()));
    session.SetText(Field::FlightLevel, "450");
    const ExitOutcome level = session.LeaveField(Field::FlightLevel);
    EXPECT_EQ(level.message, "Maximum Operating Altitude of 41000 ft exceeded!");
    EXPECT_EQ(session.Text(Field::FlightLevel), "410");
    EXPECT_EQ(session.Text(Field::Oat), "-56");
    session.SetText(Field::Matow, "31000");
    EXPECT_EQ(session.LeaveField(Field::Matow).replacement, "30000");
    EXPECT_EQ(session.Text(Field::Matow), "30000");
    session.SetText(Field::HoldingAltitude, "900");
    session.LeaveField(Field::HoldingAltitude);
    EXPECT_EQ(session.Text(Field::HoldingAltitude), "1500");
    session.SetText(Field::FlightLevel, "3x0");
    EXPECT_THROW(session.LeaveField(Field::FlightLevel), InputConversionError);
    session.SetText(Field::FlightLevel, "310");

    session.ChooseRegulations("FAR International");
    EXPECT_EQ(session.Text(Field::HoldingTime), "30");
    EXPECT_EQ(session.Text(Field::Contingency), "10");
    session.ChooseRegulations("Company");
    EXPECT_EQ(session.RegulationsText(), "Company");
    EXPECT_EQ(session.Text(Field::Contingency), "10");

    struct Quiet : IMissionServices {
        void ReportLimit(const std::string&) override { }
        void YieldEvents() override { }
    } services;
    TMissionData expected = session.Record();
    ASSERT_TRUE(ExecuteCalculation(expected, session.EntryFields(), kModeTripTimeAndFuel, services));
    ASSERT_TRUE(session.Run(kModeTripTimeAndFuel, services));
    EXPECT_EQ(session.Record().TripFuel, expected.TripFuel);
    EXPECT_EQ(session.Record().TakeoffWeight, expected.TakeoffWeight);
}

// A run that read its entries is kept for the limits window and the sheet:
// a limit stop with its message, then the setup's note on its weights; it
// goes out of date once, and a run that cannot read its entries keeps none.
TEST_F(MissionSessionTest, ARunIsKeptForTheLimitsAndTheSheetUntilTheNextRun)
{
    SetupTexts file = WorkedSetup();
    file[SetupIndex(Field::Malw)] = "99999";
    MissionSession session(m_table);
    ASSERT_TRUE(session.OpenSetup(file));
    session.SetText(Field::Payload, "99999");
    LimitRecorder services;
    EXPECT_FALSE(session.Run(kModeTripTimeAndFuel, services));
    ASSERT_TRUE(session.LastRun());
    const MissionRun& run = *session.LastRun();
    ASSERT_EQ(services.messages.size(), 1U);
    EXPECT_EQ(
        run.warnings, (std::vector<std::string>{services.messages[0], session.AllowableWeightNotes()[0]}));
    EXPECT_FALSE(run.valid);
    EXPECT_EQ(run.fields, session.EntryFields());

    const DispatchSheetInput sheet = session.SheetInput("Title");
    EXPECT_EQ(DispatchSheetHtml(sheet), [&] {
        DispatchSheetInput expected = sheet;
        expected.limits = ComputeMissionLimits(session.Record(), kModeTripTimeAndFuel, false);
        return DispatchSheetHtml(expected);
    }());
    EXPECT_EQ(sheet.warnings, run.warnings);

    EXPECT_TRUE(session.MarkRunOutOfDate());
    EXPECT_FALSE(session.MarkRunOutOfDate());
    EXPECT_TRUE(session.LastRun()->outOfDate);

    session.SetText(Field::Payload, "5x00");
    EXPECT_FALSE(session.Run(kModeTripTimeAndFuel, services));
    EXPECT_FALSE(session.LastRun());
    EXPECT_FALSE(session.MarkRunOutOfDate());
}

// A flight plan fills the route as the buttons would (the distance is the
// Calculate button's for a direct plan, the alternate's data the Alternate
// button's), its level by the exit rule, its wind rounded; it is kept until
// the route changes.
TEST_F(MissionSessionTest, APlanFillsTheRouteAsTheButtonsWouldAndIsKeptWhileItStands)
{
    testing::WriteAirportTable(m_dir.file("Airports.DB"), testing::BayAreaAirports());
    TTable airports;
    airports.Open(m_dir.file("Airports.DB"));
    MissionSession session(m_table);
    ASSERT_TRUE(session.OpenSetup(WorkedSetup()));
    FlightPlan plan;
    plan.departure = "KSFO";
    plan.destination = "KBFI";
    plan.alternates = {"KSEA", "KPDX"};
    plan.cruiseAltitudeFt = 45000;
    plan.averageHeadwindKt = -12.5;
    for (const testing::AirportRow& row : testing::BayAreaAirports()) {
        if (row.icao != "KSEA")
            plan.waypoints.push_back({row.icao, "AIRPORT", row.latitude, row.longitude});
    }
    const PlanOutcome outcome = session.OpenPlan("route.fms", plan, &airports);
    EXPECT_EQ(session.Text(Field::From), "KSFO");
    EXPECT_EQ(session.Text(Field::To), "KBFI");
    EXPECT_EQ(session.Text(Field::Distance), CalculateDistance(airports, "KSFO", "KBFI").distance);
    const AlternateData alternate = AlternateLookup(airports, "KSEA", "KBFI");
    EXPECT_EQ(session.Text(Field::Alternate), "KSEA");
    EXPECT_EQ(session.Text(Field::AlternateElevation), alternate.elevation);
    EXPECT_EQ(session.Text(Field::AlternateDistance), alternate.distance);
    EXPECT_EQ(session.Text(Field::FlightLevel), "410");
    EXPECT_EQ(session.Text(Field::Oat), "-56");
    EXPECT_EQ(session.Text(Field::Wind), "-12");
    EXPECT_EQ(outcome.messages, std::vector<std::string>{"Maximum Operating Altitude of 41000 ft exceeded!"});
    // Only a text that changed is an edit: From and To are the setup's own.
    EXPECT_EQ(outcome.changed,
        (std::vector<Field>{
            Field::Distance, Field::FlightLevel, Field::Oat, Field::Wind, Field::AlternateDistance}));
    ASSERT_NE(session.Plan(), nullptr);
    EXPECT_EQ(session.Plan()->path, "route.fms");
    EXPECT_EQ(session.Plan()->directDistance, session.Text(Field::Distance));

    // An alternate the table lacks is said; the route still stands.
    plan.alternates = {"KXXX"};
    EXPECT_EQ(session.OpenPlan("route.fms", plan, &airports).messages.front(), UnknownAirportMessage("KXXX"));
    session.SetText(Field::Payload, "1000");
    EXPECT_NE(session.Plan(), nullptr);
    session.SetText(Field::Distance, "999");
    EXPECT_EQ(session.Plan(), nullptr);
}

// A global one-degree forecast with a uniform north wind of 40 kts and a
// temperature of its own at each of two levels: -30 deg C at 400 hPa
// (about FL235), -60 deg C at 150 hPa (about FL445).
std::shared_ptr<const LoadedForecast> NorthWindForecast()
{
    auto loaded = std::make_shared<LoadedForecast>();
    loaded->path = "gfs.grib2";
    Forecast& f = loaded->forecast;
    f.model = "GFS";
    f.grid = {-90, 0, 1, 1, 181, 360, true};
    ForecastTime time{20261208, 1200, 6, 20261208, 1800, {}};
    const size_t points = f.grid.rows * f.grid.columns;
    for (const auto& [pressure, celsius] : {std::pair{400.0, -30.0}, {150.0, -60.0}}) {
        ForecastLevel level;
        level.pressureHpa = pressure;
        level.u.assign(points, 0.0);
        level.v.assign(points, -40 * 1852.0 / 3600);
        level.temperature.assign(points, celsius + 273.15);
        time.levels.push_back(std::move(level));
    }
    f.times.push_back(std::move(time));
    return loaded;
}

// The forecast's values go into Wind and OAT for the route between the
// airports at the level, beat the standard temperature when the level is
// left, give way to a typed wind, say why when they cannot be had, and give
// each compared level its own.
TEST_F(MissionSessionTest, AForecastGivesTheRouteItsWindAndTemperatureUntilTheUserTypesOver)
{
    testing::WriteAirportTable(m_dir.file("Airports.DB"), testing::BayAreaAirports());
    TTable airports;
    airports.Open(m_dir.file("Airports.DB"));
    MissionSession session(m_table);
    ASSERT_TRUE(session.OpenSetup(WorkedSetup()));
    session.SetText(Field::From, "KSFO");
    session.SetText(Field::To, "KBFI");
    session.SetText(Field::FlightLevel, "350");
    session.SetText(Field::Wind, "0");
    session.SetText(Field::Oat, "0");
    session.LoadForecast(NorthWindForecast(), &airports);

    // Northbound into a north wind: a headwind of its full speed (the
    // track is within a degree of north); the temperature between the
    // levels in the logarithm of pressure.
    const PlanOutcome applied = session.ApplyForecast();
    EXPECT_EQ(applied.changed, (std::vector<Field>{Field::Wind, Field::Oat}));
    EXPECT_TRUE(applied.messages.empty());
    EXPECT_EQ(session.Text(Field::Wind), "40");
    const double p = StandardPressureHpa(350);
    EXPECT_EQ(session.Text(Field::Oat), FormatRounded(-30 - 30 * std::log(p / 400) / std::log(150.0 / 400)));
    const std::string source = session.WindSource();
    EXPECT_EQ(source.rfind("forecast GFS 2026-12-08 12 UTC +6 h, FL350, ", 0), 0u) << source;
    EXPECT_EQ(session.OatSource(), source);

    // Leaving the level: the forecast's temperature, not the standard one.
    session.SetText(Field::FlightLevel, "410");
    const ExitOutcome left = session.LeaveField(Field::FlightLevel);
    EXPECT_EQ(left.oatText, session.Text(Field::Oat));
    EXPECT_NE(session.Text(Field::Oat), "-56");
    EXPECT_TRUE(left.note.empty()) << left.note;
    EXPECT_NE(session.WindSource().find("FL410"), std::string::npos);

    // A typed wind is the user's: the run says only the OAT is forecast.
    session.SetText(Field::Wind, "5");
    struct Quiet : IMissionServices {
        void ReportLimit(const std::string&) override { }
        void YieldEvents() override { }
    } services;
    session.Run(kModeTripTimeAndFuel, services);
    ASSERT_TRUE(session.LastRun());
    EXPECT_EQ(session.LastRun()->windSource, "");
    EXPECT_EQ(session.LastRun()->oatSource, session.OatSource());
    EXPECT_EQ(session.SheetInput("t").oatSource, session.OatSource());

    // Below the forecast's levels, or with an airport the table lacks:
    // nothing changes but the standard temperature, and the note says why.
    session.SetText(Field::FlightLevel, "100");
    const ExitOutcome low = session.LeaveField(Field::FlightLevel);
    EXPECT_NE(low.note.find("outside the forecast's levels"), std::string::npos) << low.note;
    EXPECT_EQ(session.Text(Field::Oat), *StandardTemperatureText(100));
    EXPECT_EQ(session.OatSource(), "");
    session.SetText(Field::FlightLevel, "350");
    session.SetText(Field::To, "KXXX");
    EXPECT_NE(session.ApplyForecast().messages.at(0).find("KXXX"), std::string::npos);
    session.SetText(Field::To, "KBFI");

    // Compare: each level its own wind and temperature; a level outside the
    // forecast is not solved and says why.
    const CompareTables tables = session.Compare(kModeTripTimeAndFuel);
    EXPECT_EQ(tables.levelSource, "forecast GFS 2026-12-08 12 UTC +6 h");
    std::set<std::string> temperatures;
    for (const CompareCase& c : tables.levels) {
        if (StandardPressureHpa(c.flightLevel) > 400) {
            EXPECT_FALSE(c.valid);
            EXPECT_NE(c.message.find("outside the forecast's levels"), std::string::npos) << c.message;
            continue;
        }
        const ForecastWeather weather = session.ForecastAt(c.flightLevel);
        EXPECT_EQ(c.texts[Field::Wind], weather.wind);
        EXPECT_EQ(c.texts[Field::Oat], weather.oat);
        temperatures.insert(weather.oat);
    }
    EXPECT_GT(temperatures.size(), 5u);

    // Cleared: the texts stay, typed entries again.
    session.ApplyForecast();
    const SetupTexts before = session.Entries();
    session.ClearForecast();
    EXPECT_EQ(session.Entries(), before);
    EXPECT_EQ(session.WindSource(), "");
    EXPECT_EQ(session.Compare(kModeTripTimeAndFuel).levelSource, "");
}

// A mission typed in pounds is the kilogram mission of the pounds converted
// once: the record gets the very doubles, every result is the same bit for
// bit, and each shown mass is the kilogram figure divided once by the
// pound's kilograms and rounded ties to even. In kilograms nothing changes.
TEST_F(MissionSessionTest, AMissionInPoundsIsItsKilogramRunConvertedOnce)
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

        LimitRecorder poundServices, kilogramServices;
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
TEST_F(MissionSessionTest, EntriesStayInKilogramsAndRoundTripThroughASetupFile)
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
    LimitRecorder services;
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
TEST_F(MissionSessionTest, MessagesTheAirplaneDataAndTheDiagramFilesNameMassesInTheUnit)
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
    LimitRecorder services;
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
