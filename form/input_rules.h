#pragma once

#include "form/fields.h"

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The rules that act while the user types into the main window's fields or
// leaves one, as pure functions: the window applies what they return.
namespace mirovax {

// Raised when an exit check meets a text that is not a number (pasted, or
// from a setup file); the field keeps its text.
class InputConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What leaving a checked field does: an optional warning, an optional new
// text for the field (with the focus put back into it), and for the flight
// level an optional new text for the temperature field.
struct ExitOutcome {
    std::string message; // empty: no message
    std::optional<std::string> replacement; // the field's new text; focus returns
    std::optional<std::string> oatText; // the temperature field's new text
    std::optional<std::string> windText; // the wind field's new text (a forecast's)
    std::string note; // for the status line: why a forecast gave no values here, or what it left out
};

// Leaving the flight level: caps the level at the airplane's maximum altitude (ft), then
// sets the standard-atmosphere temperature for the resulting level.
ExitOutcome FlightLevelExit(std::string_view levelText, double maxAltFt);

// Standard-atmosphere temperature (deg C, rounded ties to even) for a flight
// level, -56 above the tropopause at 36089 ft, nothing exactly at it.
std::optional<std::string> StandardTemperatureText(double flightLevel);

// Leaving MATOW (takeoff) or MALW (landing): a value above the structural
// limit (kg, as is the text) is replaced by the limit; the message names the
// limit in the unit.
ExitOutcome AllowableWeightExit(
    std::string_view text, double limitKg, bool takeoff, MassUnit unit = MassUnit::Kilograms);

// Leaving the holding altitude: a holding altitude below 1500 ft is replaced by 1500.
ExitOutcome HoldingAltitudeExit(std::string_view text);

// Holding time and contingency that a regulation name presets; exact,
// case-sensitive match, otherwise nothing.
struct RegulationPreset {
    std::string_view name;
    std::string_view holdingTime; // min
    std::string_view contingency; // %
};
std::optional<RegulationPreset> FindRegulationPreset(std::string_view regulations);
// Every regulation with its preset, in the order the window lists them.
std::span<const RegulationPreset> RegulationPresets();
// The regulations the entries start with ("FAR Domestic"), whose preset
// the start texts of the holding time and contingency are.
std::string_view StartRegulations();

// Which fields and result rows a mode text enables or shows; exact,
// case-sensitive match, otherwise nothing changes.
struct ModeRule {
    std::string_view mode;
    bool tripDistanceEnabled;
    bool payloadEnabled;
    std::optional<std::string_view> label11;
    bool maximumRowsShown; // StaticText39, Label11, Label12, Label13
    std::string_view maximumUnit; // Label13's, after the number
};
std::optional<ModeRule> FindModeRule(std::string_view modeText);
// The three modes, in the order the window lists them.
std::span<const ModeRule> ModeRules();

// The warning for a mode text that is none of the three modes: Execute shows
// it instead of results.
std::string UnknownModeMessage(std::string_view modeText);

// Whether a typed character reaches a field, by the field's key filter:
// digits and backspace for the numeric fields, "-" too for OAT and wind; the
// airport codes take everything. Other control characters are discarded.
bool KeyAccepted(Field field, char32_t typed);

} // namespace mirovax
