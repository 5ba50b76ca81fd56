#include "form/input_rules.h"

#include "engine/solve.h"
#include "engine/text_format.h"

#include <array>
#include <cmath>

namespace mirovax {

namespace {

constexpr double kTropopauseFt = 36089;

double FieldValue(std::string_view text)
{
    const Conversion c = ConvertStrict(text);
    if (!c.ok())
        throw InputConversionError("'" + std::string(text) + "' is not a valid floating point value");
    return c.value;
}

constexpr std::array<RegulationPreset, 4> kPresets = {{
    {"JAA", "30", "5"},
    {"FAR Domestic", "45", "0"},
    {"FAR International", "30", "10"},
    {"ICAO", "30", "5"},
}};

constexpr std::array<ModeRule, 3> kModeRules = {{
    {kModeTripTimeAndFuel, true, true, std::nullopt, false, ""},
    {kModeMaximumPayload, true, false, "Maximum Payload:", true, "kg"},
    {kModeMaximumRange, false, true, "Maximum Range:", true, "NM"},
}};

} // namespace

std::optional<std::string> StandardTemperatureText(double flightLevel)
{
    const double feet = flightLevel * 100;
    if (feet < kTropopauseFt) {
        // Extended precision, in this order: lapse per foot times the level,
        // times 100, from 1, times sea-level kelvin, minus 273.15.
        const long double ratio = 1.0L - static_cast<long double>(flightLevel) * 6.875586e-6L * 100.0L;
        const long double celsius = ratio * 288.15L - 273.15L;
        return FormatRounded(static_cast<double>(std::nearbyintl(celsius)));
    }
    if (feet > kTropopauseFt)
        return "-56";
    return std::nullopt;
}

ExitOutcome FlightLevelExit(std::string_view levelText, double maxAltFt)
{
    ExitOutcome out;
    if (levelText.empty())
        return out;
    double level = FieldValue(levelText);
    if (level * 100 > maxAltFt) {
        out.message = "Maximum Operating Altitude of " + FormatGeneral(maxAltFt) + " ft exceeded!";
        out.replacement = FormatGeneral(maxAltFt / 100);
        // The level is read again from the field's new text.
        level = FieldValue(*out.replacement);
    }
    out.oatText = StandardTemperatureText(level);
    return out;
}

ExitOutcome AllowableWeightExit(std::string_view text, double limitKg, bool takeoff, MassUnit unit)
{
    ExitOutcome out;
    if (text.empty())
        return out;
    if (FieldValue(text) > limitKg) {
        out.message = std::string(takeoff ? "Maximum Structural Takeoff Weight of "
                                          : "Maximum Structural Landing Weight of ")
            + FormatMassExact(limitKg, unit) + " " + std::string(MassUnitText(unit)) + " exceeded!";
        out.replacement = FormatGeneral(limitKg);
    }
    return out;
}

ExitOutcome HoldingAltitudeExit(std::string_view text)
{
    ExitOutcome out;
    if (text.empty())
        return out;
    if (FieldValue(text) < 1500) {
        out.message = "Holding Altitude must be greater than 1500 ft";
        out.replacement = "1500";
    }
    return out;
}

std::optional<RegulationPreset> FindRegulationPreset(std::string_view regulations)
{
    for (const RegulationPreset& preset : kPresets) {
        if (preset.name == regulations)
            return preset;
    }
    return std::nullopt;
}

std::span<const RegulationPreset> RegulationPresets()
{
    return kPresets;
}

std::string_view StartRegulations()
{
    return kPresets[1].name;
}

std::optional<ModeRule> FindModeRule(std::string_view modeText)
{
    for (const ModeRule& rule : kModeRules) {
        if (rule.mode == modeText)
            return rule;
    }
    return std::nullopt;
}

std::span<const ModeRule> ModeRules()
{
    return kModeRules;
}

std::string UnknownModeMessage(std::string_view modeText)
{
    return "Unknown solve mode \"" + std::string(modeText) + "\": pick " + std::string(kModeRules[0].mode)
        + ", " + std::string(kModeRules[1].mode) + " or " + std::string(kModeRules[2].mode) + "!";
}

bool KeyAccepted(Field field, char32_t typed)
{
    const KeyFilter keys = Spec(field).keys;
    if (keys == KeyFilter::Any)
        return true;
    if (typed == U'\b' || (typed >= U'0' && typed <= U'9'))
        return true;
    return typed == U'-' && keys == KeyFilter::SignedDigits;
}

} // namespace mirovax
