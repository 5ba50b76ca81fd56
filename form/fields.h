#pragma once

#include "engine/mission_data.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The fifteen entry fields, and what each one is: its line in a setup file,
// its caption and unit in the window, the keys it takes, its name on the
// command line and in JSON, and the input of the mission record it gives.
// Every layer names a field by Field and reads the rest here.
namespace mirovax {

enum class Field : unsigned char {
    From,
    To,
    Distance,
    Payload,
    FlightLevel,
    Oat,
    Wind,
    Alternate,
    AlternateElevation,
    AlternateDistance,
    HoldingTime,
    HoldingAltitude,
    Contingency,
    Matow,
    Malw,
};
inline constexpr std::size_t kFieldCount = 15;

// Which typed characters a field takes: anything (the airport codes), digits
// (and backspace), or digits and "-" (temperature and wind).
enum class KeyFilter : unsigned char { Any, Digits, SignedDigits };

struct FieldSpec {
    Field field;
    std::string_view control; // the window's object name: "Edit5"
    int setupLine; // 1-based line of a setup file
    int captionText; // "StaticText" + n beside the field
    int unitText; // "StaticText" + n of its unit, 0 for none
    KeyFilter keys;
    std::string_view hint; // the field's tool tip
    int charLimit; // characters the user may type
    bool upperCase; // typed letters become capitals
    std::string_view startText; // the text before any setup or airplane
    std::string_view cliName; // "flight-level": --set and --vary, and --json's "fields"
    double TMissionData::*input; // what a run reads the text into; nullptr for the airport codes
};

// Every field, in the order of Field (and of the setup file's lines).
std::span<const FieldSpec, kFieldCount> Fields();
const FieldSpec& Spec(Field field);
constexpr std::size_t Index(Field field)
{
    return static_cast<std::size_t>(field);
}

// The unit a field's value is written with ("NM", "\u00B0C"); empty for none.
std::string_view FieldUnit(Field field, MassUnit massUnit = MassUnit::Kilograms);

// Whether the field holds a mass (its unit is "kg"): payload, MATOW, MALW.
// Shown and typed in the mass unit, kept in kilograms.
bool IsMassField(Field field);

// The two selectors a setup file keeps after the fields.
struct SelectorSpec {
    std::string_view control; // "AirplaneSelector"
    int setupLine; // 1-based
    std::string_view cliName;
};
inline constexpr SelectorSpec kAirplaneSelector{"AirplaneSelector", 16, "airplane"};
inline constexpr SelectorSpec kRegulationSelector{"RegulationSelector", 17, "regulations"};

// The texts of the fifteen fields, indexed by Field.
struct FieldTexts {
    std::array<std::string, kFieldCount> texts;
    std::string& operator[](Field field) { return texts[Index(field)]; }
    const std::string& operator[](Field field) const { return texts[Index(field)]; }
    bool operator==(const FieldTexts&) const = default;
};

} // namespace mirovax
