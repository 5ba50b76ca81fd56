#include "form/input_rules.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using namespace mirovax;

TEST(StandardTemperature, LevelsAroundTheTropopause)
{
    const struct {
        double level;
        const char* oat;
    } cases[] = {
        {0, "15"}, {100, "-5"}, {250, "-35"}, {310, "-46"}, {350, "-54"}, {360, "-56"}, {361, "-56"},
        {-10, "17"}, // below sea level the line goes on
    };
    for (const auto& c : cases)
        EXPECT_EQ(StandardTemperatureText(c.level).value_or("unchanged"), c.oat) << c.level;
    EXPECT_FALSE(StandardTemperatureText(360.89).has_value()) << "exactly at 36089 ft";
}

TEST(FlightLevelExit, CapsAtTheMaximumAltitudeThenSetsTheTemperature)
{
    ExitOutcome out = FlightLevelExit("420", 41000);
    EXPECT_EQ(out.message, "Maximum Operating Altitude of 41000 ft exceeded!");
    EXPECT_EQ(out.replacement.value_or(""), "410");
    EXPECT_EQ(out.oatText.value_or(""), "-56");

    out = FlightLevelExit("410", 41000);
    EXPECT_EQ(out.message, "");
    EXPECT_FALSE(out.replacement.has_value());
    EXPECT_EQ(out.oatText.value_or(""), "-56");

    // A cap below the tropopause gets the temperature of the cap.
    out = FlightLevelExit("300", 25000);
    EXPECT_EQ(out.replacement.value_or(""), "250");
    EXPECT_EQ(out.oatText.value_or(""), "-35");

    out = FlightLevelExit("999", 41050);
    EXPECT_EQ(out.replacement.value_or(""), "410.5");

    out = FlightLevelExit("", 41000);
    EXPECT_EQ(out.message, "");
    EXPECT_FALSE(out.oatText.has_value());

    EXPECT_THROW(FlightLevelExit("3x0", 41000), InputConversionError);
}

TEST(AllowableWeightExit, EqualPassesOneKilogramMoreIsReplaced)
{
    EXPECT_EQ(AllowableWeightExit("79000", 79000, true).message, "");
    const ExitOutcome out = AllowableWeightExit("79001", 79000, true);
    EXPECT_EQ(out.message, "Maximum Structural Takeoff Weight of 79000 kg exceeded!");
    EXPECT_EQ(out.replacement.value_or(""), "79000");

    const ExitOutcome landing = AllowableWeightExit("70000", 66349.5, false);
    EXPECT_EQ(landing.message, "Maximum Structural Landing Weight of 66349.5 kg exceeded!");
    EXPECT_EQ(landing.replacement.value_or(""), "66349.5");

    EXPECT_EQ(AllowableWeightExit("", 1, true).message, "");
    try {
        AllowableWeightExit("12,5", 79000, true);
        FAIL() << "no error";
    } catch (const InputConversionError& e) {
        EXPECT_STREQ(e.what(), "'12,5' is not a valid floating point value");
    }
}

TEST(HoldingAltitudeExit, MinimumOf1500)
{
    EXPECT_EQ(HoldingAltitudeExit("1500").message, "");
    EXPECT_EQ(HoldingAltitudeExit("").message, "");
    for (const char* low : {"1499", "0"}) {
        const ExitOutcome out = HoldingAltitudeExit(low);
        EXPECT_EQ(out.message, "Holding Altitude must be greater than 1500 ft") << low;
        EXPECT_EQ(out.replacement.value_or(""), "1500");
    }
}

TEST(RegulationPresets, ExactNamesOnly)
{
    EXPECT_EQ(FindRegulationPreset("FAR International")->contingency, "10");
    EXPECT_EQ(FindRegulationPreset("FAR Domestic")->holdingTime, "45");
    EXPECT_EQ(FindRegulationPreset("ICAO")->contingency, "5");
    EXPECT_EQ(FindRegulationPreset("JAA")->holdingTime, "30");
    for (const char* partial : {"I", "IC", "ICA", "icao", "JAA "})
        EXPECT_FALSE(FindRegulationPreset(partial).has_value()) << partial;
    // The window lists them in this order and starts on the second.
    std::vector<std::string_view> listed;
    for (const RegulationPreset& preset : RegulationPresets())
        listed.push_back(preset.name);
    EXPECT_EQ(listed, (std::vector<std::string_view>{"JAA", "FAR Domestic", "FAR International", "ICAO"}));
}

TEST(ModeRules, FieldsAndRowsPerMode)
{
    const auto range = FindModeRule("Maximum Range");
    ASSERT_TRUE(range.has_value());
    EXPECT_FALSE(range->tripDistanceEnabled);
    EXPECT_TRUE(range->payloadEnabled);
    EXPECT_EQ(range->label11.value_or(""), "Maximum Range:");

    const auto payload = FindModeRule("Maximum Payload");
    EXPECT_TRUE(payload->tripDistanceEnabled);
    EXPECT_FALSE(payload->payloadEnabled);

    const auto trip = FindModeRule("Trip Time and Fuel");
    EXPECT_FALSE(trip->maximumRowsShown);
    EXPECT_FALSE(trip->label11.has_value());

    EXPECT_FALSE(FindModeRule("maximum range").has_value());
    std::vector<std::string_view> listed;
    for (const ModeRule& rule : ModeRules())
        listed.push_back(rule.mode);
    EXPECT_EQ(
        listed, (std::vector<std::string_view>{"Trip Time and Fuel", "Maximum Payload", "Maximum Range"}));
    EXPECT_EQ(UnknownModeMessage("Maximum Rnage"),
        "Unknown solve mode \"Maximum Rnage\": pick Trip Time and Fuel, Maximum Payload or Maximum Range!");
}

TEST(KeyFilters, PerFieldCharacterSets)
{
    using enum Field;
    for (Field f : {Distance, Payload, FlightLevel, AlternateElevation, AlternateDistance, HoldingTime,
             HoldingAltitude, Contingency, Matow, Malw}) {
        const std::string_view edit = Spec(f).control;
        EXPECT_TRUE(KeyAccepted(f, U'7')) << edit;
        EXPECT_TRUE(KeyAccepted(f, U'\b')) << edit;
        EXPECT_FALSE(KeyAccepted(f, U'-')) << edit;
        EXPECT_FALSE(KeyAccepted(f, U'.')) << edit;
        EXPECT_FALSE(KeyAccepted(f, U'\x16')) << "Ctrl+V in " << edit;
    }
    for (Field f : {Oat, Wind}) {
        EXPECT_TRUE(KeyAccepted(f, U'-')) << Spec(f).control;
        EXPECT_FALSE(KeyAccepted(f, U'+')) << Spec(f).control;
        EXPECT_FALSE(KeyAccepted(f, U'\x03')) << Spec(f).control;
    }
    for (Field f : {From, To, Alternate}) {
        EXPECT_TRUE(KeyAccepted(f, U'k')) << Spec(f).control;
        EXPECT_TRUE(KeyAccepted(f, U'\x16')) << Spec(f).control;
    }
}
