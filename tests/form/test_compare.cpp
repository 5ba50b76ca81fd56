#include "form/compare.h"
#include "form/input_rules.h"
#include "worked_data.h"

#include <gtest/gtest.h>

#include <string>

using namespace mirovax;
using mirovax::test::RecordingServices;
using mirovax::test::WorkedMission;

namespace {

FieldTexts WorkedTexts(const std::string& payload)
{
    FieldTexts t;
    const char* texts[]
        = {"594", "", "310", "-46", "20", "KSEA", "433", "100", "45", "1500", "5", "30000", "25000"};
    for (size_t i = 0; i < std::size(texts); ++i)
        t.texts[Index(Field::Distance) + i] = texts[i];
    t[Field::Payload] = payload;
    return t;
}

// What Execute shows for the same entries, searching pass by pass.
void ExpectSameAsExecute(const TMissionData& airplane, const CompareCase& c, std::string_view mode)
{
    TMissionData md = airplane;
    RecordingServices services;
    const bool valid = ExecuteCalculation(md, c.texts, mode, services);
    EXPECT_EQ(c.valid, valid) << c.label;
    EXPECT_EQ(c.message, valid || services.messages.empty() ? "" : services.messages.back()) << c.label;
    EXPECT_EQ(c.limitedBy, md.LimitedBy) << c.label;
    EXPECT_EQ(c.tripFuel, md.TripFuel) << c.label;
    EXPECT_EQ(c.minTakeoffFuel, md.MinTakeoffFuel) << c.label;
    EXPECT_EQ(c.maxRange, md.MaxRange) << c.label;
    EXPECT_EQ(c.maxPayload, md.MaxPayload) << c.label;
}

} // namespace

TEST(CompareTables, EveryCaseIsTheRunOfItsEntries)
{
    TMissionData airplane = WorkedMission();
    airplane.MaxAlt = 41000; // FL 410 is the last level, exactly at the ceiling
    struct Case {
        std::string_view mode;
        std::string payload;
    };
    // 6500 kg stops some runs at a limit.
    int stopped = 0;
    for (const Case& k : {Case{kModeTripTimeAndFuel, "5000"}, Case{kModeTripTimeAndFuel, "6500"},
             Case{kModeMaximumRange, "5000"}, Case{kModeMaximumPayload, "0"}}) {
        SCOPED_TRACE(std::string(k.mode) + " " + k.payload);
        const FieldTexts texts = WorkedTexts(k.payload);
        const CompareTables tables = ComputeCompareTables(airplane, texts, k.mode);
        ASSERT_FALSE(tables.refusal);

        ASSERT_EQ(tables.regulations.size(), RegulationPresets().size());
        for (size_t i = 0; i < tables.regulations.size(); ++i) {
            const CompareCase& c = tables.regulations[i];
            const RegulationPreset& preset = RegulationPresets()[i];
            EXPECT_EQ(c.label, preset.name);
            FieldTexts expected = texts;
            expected[Field::HoldingTime] = preset.holdingTime;
            expected[Field::Contingency] = preset.contingency;
            EXPECT_EQ(c.texts, expected);
            ExpectSameAsExecute(airplane, c, k.mode);
        }

        ASSERT_EQ(tables.levels.size(), 22u);
        const CompareCase* best = nullptr;
        for (size_t i = 0; i < tables.levels.size(); ++i) {
            const CompareCase& c = tables.levels[i];
            const int level = 200 + 10 * static_cast<int>(i);
            FieldTexts expected = texts;
            expected[Field::FlightLevel] = std::to_string(level);
            expected[Field::Oat] = *StandardTemperatureText(level);
            EXPECT_EQ(c.label, expected[Field::FlightLevel]);
            EXPECT_EQ(c.texts, expected);
            ExpectSameAsExecute(airplane, c, k.mode);
            if (!c.valid) {
                EXPECT_FALSE(c.message.empty()) << c.label;
                ++stopped;
                continue;
            }
            if (!best
                || (k.mode == kModeTripTimeAndFuel    ? c.tripFuel < best->tripFuel
                        : k.mode == kModeMaximumRange ? c.maxRange > best->maxRange
                                                      : c.maxPayload > best->maxPayload))
                best = &c;
        }
        ASSERT_NE(best, nullptr);
        ASSERT_TRUE(tables.bestLevel);
        EXPECT_EQ(&tables.levels[*tables.bestLevel], best);
        for (const CompareCase& c : tables.levels)
            EXPECT_EQ(c.best, &c == best) << c.label;
    }
    EXPECT_GT(stopped, 0) << "no case met a limit";
}

TEST(CompareTables, RefusesWhatARunCannotRead)
{
    TMissionData airplane = WorkedMission();
    airplane.MaxAlt = 41000;
    FieldTexts texts = WorkedTexts("5000");
    texts[Field::AlternateDistance] = "1x";
    CompareTables tables = ComputeCompareTables(airplane, texts, kModeTripTimeAndFuel);
    EXPECT_EQ(tables.refusal, "Nothing can be compared: Alternate Distance is not a number.");
    EXPECT_TRUE(tables.regulations.empty() && tables.levels.empty());

    tables = ComputeCompareTables(airplane, WorkedTexts("5000"), "Maximum range");
    EXPECT_EQ(tables.refusal, UnknownModeMessage("Maximum range"));

    // A ceiling below the lowest cruise level leaves no level to compare.
    airplane.MaxAlt = 19000;
    tables = ComputeCompareTables(airplane, WorkedTexts("5000"), kModeTripTimeAndFuel);
    EXPECT_FALSE(tables.refusal);
    EXPECT_EQ(tables.regulations.size(), RegulationPresets().size());
    EXPECT_TRUE(tables.levels.empty());
    EXPECT_FALSE(tables.bestLevel);
}
