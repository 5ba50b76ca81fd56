#pragma once

#include "engine/mission_data.h"
#include "form/calculation_run.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The what-if tables of the compare window: the entries as they are, solved
// once under each regulation preset and once at each flight level the
// airplane may cruise at, every case exactly as Execute would solve it.
namespace mirovax {

// One case of a table: the field texts it was solved with and what the run
// gave.
struct CompareCase {
    std::string label; // the regulation's name, or the flight level's text
    FieldTexts texts; // the entries of this case (Edit3 to Edit15)
    double flightLevel = 0; // of a level's row
    bool valid = false;
    // The limit message that stopped the run, or the fault that ended it;
    // empty when valid.
    std::string message;
    std::string limitedBy;
    double tripFuel = 0; // kg
    double minTakeoffFuel = 0; // kg
    double maxRange = 0; // NM
    double maxPayload = 0; // kg
    // The figure the mode is about: trip fuel (kg) in Trip Time and Fuel,
    // the maximum range (NM) or payload (kg) in the maximum modes.
    double keyFigure = 0;
    bool best = false;
};

struct CompareTables {
    std::string modeText;
    // The unit the masses are shown in (the airplane record's).
    MassUnit unit = MassUnit::Kilograms;
    // Why no case could be solved (unreadable entries, an unknown mode);
    // the tables are empty then.
    std::optional<std::string> refusal;
    // The presets in the order the window lists them.
    std::vector<CompareCase> regulations;
    // From the airplane's lowest cruise level up in steps of 10 to the
    // highest level its maximum altitude allows; the best valid level is
    // marked (least trip fuel, largest range or payload; the lowest of equals).
    std::vector<CompareCase> levels;
    // Where each level's wind and OAT came from ("forecast GFS 2026-12-08
    // 12 UTC +6 h"); empty: the entered wind and the standard OAT.
    std::string levelSource;
    // Index into levels of the best one; nothing when no level is valid.
    std::optional<size_t> bestLevel;
};

// Flight levels compared, in steps of this many.
inline constexpr double kCompareLevelStep = 10;

// The name of the key figure and its unit, for the mode: "Trip Fuel" kg,
// "Max. Range" NM or "Max. Payload" kg; the masses in the mass unit.
struct KeyFigureName {
    std::string_view name;
    std::string_view unit;
};
KeyFigureName CompareKeyFigure(std::string_view modeText, MassUnit unit = MassUnit::Kilograms);

// A case's key figure as the tables show it: a mass in their unit, a range
// in NM.
double ShownKeyFigure(const CompareTables& tables, const CompareCase& c);

// The wind and temperature texts a level's row takes (from a forecast), or
// why the level has none: its row is then not solved and shows the reason.
struct LevelWeather {
    std::string wind;
    std::string oat;
    std::string error;
};
using LevelWeatherSource = std::function<LevelWeather(double flightLevel)>;

// Solves every case for the airplane in airplane (its entries are not read)
// and the field texts; airplane is not changed. The maximum modes use the
// fast searches.
// With levelWeather each level's row takes the wind and temperature it
// gives for the level instead of the entered wind and the standard
// temperature.
CompareTables ComputeCompareTables(const TMissionData& airplane, const FieldTexts& texts,
    std::string_view modeText, const LevelWeatherSource& levelWeather = {});

} // namespace mirovax
