// The shipped airplane table against fuel burnt in real service: each type
// with a row in the US DOT Form 41 T-2 figures (tests/refdata/data) flown
// through the program's own Trip Time and Fuel at its average stage.

#include "engine/solve.h"
#include "form/input_rules.h"
#include "refdata/airplane.h"
#include "test_support.h"
#include "textio/csv.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mirovax {
namespace {

struct ServiceFigures {
    double stageNm = 0;
    double kgPerHour = 0;
};

// The T-2 table by shipped type; lines starting with '#' state its source.
std::map<std::string, ServiceFigures> ReadServiceFigures()
{
    const std::string text
        = testing::ReadFile(std::string(MIROVAX_SOURCE_DIR) + "/tests/refdata/data/t2_fuel_2024.csv");
    std::map<std::string, ServiceFigures> figures;
    bool header = true;
    for (const CsvRecord& record : ParseCsv(text)) {
        if (record.fields.front().starts_with("#"))
            continue;
        if (std::exchange(header, false))
            continue;
        figures[record.fields.at(0)] = {std::stod(record.fields.at(3)), std::stod(record.fields.at(4))};
    }
    return figures;
}

class NoLimits : public IMissionServices {
public:
    void ReportLimit(const std::string& message) override { ADD_FAILURE() << message; }
    void YieldEvents() override { }
};

class ShippedFleet : public ::testing::Test {
protected:
    void SetUp() override { m_airplanes.Open(testing::BesideExecutable("Airplane.DB")); }

    // Trip Time and Fuel as a user enters it: FL350 at the standard
    // temperature, still air, 30 min holding at 1500 ft, 5 % contingency,
    // a 100 NM alternate at sea level.
    TMissionData Fly(const std::string& type, double stageNm, double payload)
    {
        TMissionData md;
        LoadAirplane(m_airplanes, type, md);
        EXPECT_EQ(md.Type, type) << "not in the shipped table";
        md.Payload = payload;
        md.FlightLevel = 350;
        md.OAT = std::stod(StandardTemperatureText(md.FlightLevel).value());
        md.Wind = 0;
        md.MATOW = md.MTOW;
        md.MALW = md.MLAW;
        md.TripDistance = stageNm;
        md.HoldingTime = 30;
        md.HoldingAltitude = 1500;
        md.AlternateElevation = 0;
        md.AlternateDistance = 100;
        md.ContingencyPercent = 5;
        md.CalculationValid = true;
        NoLimits services;
        SolveTripTimeAndFuel(md, services);
        EXPECT_TRUE(md.CalculationValid) << type;
        return md;
    }

    // 60 % of the type's largest payload.
    double TypicalPayload(const std::string& type)
    {
        TMissionData md;
        LoadAirplane(m_airplanes, type, md);
        return 0.6 * (md.MZFW - md.DOW);
    }

    TTable m_airplanes;
};

TEST_F(ShippedFleet, BurnsWhatTheTypesBurnInUsService)
{
    const std::map<std::string, ServiceFigures> service = ReadServiceFigures();
    ASSERT_GE(service.size(), 19U);
    for (const auto& [type, figures] : service) {
        const TMissionData md = Fly(type, figures.stageNm, TypicalPayload(type));
        const double ratio = md.AvgFuelFlow / figures.kgPerHour;
        EXPECT_GE(ratio, 0.85) << type << ": " << md.AvgFuelFlow << " kg/h against " << figures.kgPerHour;
        EXPECT_LE(ratio, 1.10) << type << ": " << md.AvgFuelFlow << " kg/h against " << figures.kgPerHour;
    }
}

// A newer type flies its predecessor's T-2 mission, payload in kg included,
// on less fuel, by about what the manufacturers claim for the generation.
// The A350-941 is not held to it: on the A330-300's entries the model's
// parameters give it 1.03 of the A330-300's trip fuel (data/README.md).
TEST_F(ShippedFleet, NewerGenerationsBurnLessOnTheSameEntries)
{
    const std::map<std::string, ServiceFigures> service = ReadServiceFigures();
    const std::pair<const char*, const char*> generations[] = {{"A320-271N", "A320-214"},
        {"A321-271N", "A321-231"}, {"B737 MAX 8", "B737-800"}, {"B737 MAX 9", "B737-900"}};
    for (const auto& [newer, older] : generations) {
        const double stage = service.at(older).stageNm;
        const double payload = TypicalPayload(older);
        const double ratio = Fly(newer, stage, payload).TripFuel / Fly(older, stage, payload).TripFuel;
        EXPECT_GE(ratio, 0.76) << newer << " against the " << older;
        EXPECT_LE(ratio, 0.92) << newer << " against the " << older;
    }
}

} // namespace
} // namespace mirovax
