#include "form/compare.h"

#include "engine/fast_search.h"
#include "engine/headless_services.h"
#include "engine/payload_range.h"
#include "engine/text_format.h"
#include "form/input_rules.h"
#include "form/payload_range_inputs.h"

#include <exception>
#include <stdexcept>

namespace mirovax {

namespace {

// No case yields to a window; a search the limits never end is stopped as
// the diagram's are, past any sensible range.
std::runtime_error NeverBinds()
{
    return std::runtime_error(
        "No limit is reached within " + FormatGeneral(kDiagramMaxStillAirNam) + " NAM.");
}

// More levels than any airplane has between its lowest cruise level and
// its ceiling; a table that would list more holds wrong data.
constexpr int kMaxLevels = 100;

CompareCase Solve(
    const TMissionData& airplane, std::string label, const FieldTexts& texts, std::string_view modeText)
{
    CompareCase c;
    c.label = std::move(label);
    c.texts = texts;
    TMissionData md = airplane;
    HeadlessServices services(static_cast<long>(kDiagramMaxStillAirNam), [] { throw NeverBinds(); });
    try {
        c.valid = ExecuteCalculation(md, texts, modeText, services, SearchMethod::Fast);
        // The fast search yields only where it hands over to the per-pass
        // one, so an answer beyond the bound is refused here as the per-pass
        // search is at its pass past it.
        if (c.valid && modeText == kModeMaximumRange && md.StillAirDistance > kDiagramMaxStillAirNam + 1)
            throw NeverBinds();
        c.message = c.valid ? std::string() : services.LimitMessage();
    } catch (const std::exception& e) {
        c.valid = false;
        c.message = e.what();
    }
    c.limitedBy = md.LimitedBy;
    c.tripFuel = md.TripFuel;
    c.minTakeoffFuel = md.MinTakeoffFuel;
    c.maxRange = md.MaxRange;
    c.maxPayload = md.MaxPayload;
    c.keyFigure = modeText == kModeMaximumRange ? md.MaxRange
        : modeText == kModeMaximumPayload       ? md.MaxPayload
                                                : md.TripFuel;
    return c;
}

} // namespace

KeyFigureName CompareKeyFigure(std::string_view modeText, MassUnit unit)
{
    if (modeText == kModeMaximumRange)
        return {"Max. Range", "NM"};
    if (modeText == kModeMaximumPayload)
        return {"Max. Payload", MassUnitText(unit)};
    return {"Trip Fuel", MassUnitText(unit)};
}

double ShownKeyFigure(const CompareTables& tables, const CompareCase& c)
{
    return tables.modeText == kModeMaximumRange ? c.keyFigure : MassInUnit(c.keyFigure, tables.unit);
}

CompareTables ComputeCompareTables(const TMissionData& airplane, const FieldTexts& texts,
    std::string_view modeText, const LevelWeatherSource& levelWeather)
{
    CompareTables tables;
    tables.modeText = modeText;
    tables.unit = airplane.Units;
    if (!FindModeRule(modeText)) {
        tables.refusal = UnknownModeMessage(modeText);
        return tables;
    }
    if (const std::optional<std::string> unusable = UnusableFieldMessage(texts, "Nothing can be compared")) {
        tables.refusal = *unusable;
        return tables;
    }

    for (const RegulationPreset& preset : RegulationPresets()) {
        FieldTexts t = texts;
        t[Field::HoldingTime] = preset.holdingTime;
        t[Field::Contingency] = preset.contingency;
        tables.regulations.push_back(Solve(airplane, std::string(preset.name), t, modeText));
    }

    // Each level with the temperature that leaving the flight-level field
    // sets for it; where that sets none the entered OAT stays. A forecast
    // gives each level its own wind and temperature instead.
    double level = airplane.MinCruise;
    for (int i = 0; i < kMaxLevels && level * 100 <= airplane.MaxAlt; ++i, level += kCompareLevelStep) {
        FieldTexts t = texts;
        t[Field::FlightLevel] = FormatGeneral(level);
        if (levelWeather) {
            const LevelWeather weather = levelWeather(level);
            if (!weather.error.empty()) {
                CompareCase unsolved;
                unsolved.label = t[Field::FlightLevel];
                unsolved.texts = t;
                unsolved.message = weather.error;
                unsolved.flightLevel = level;
                tables.levels.push_back(std::move(unsolved));
                continue;
            }
            t[Field::Wind] = weather.wind;
            t[Field::Oat] = weather.oat;
        } else if (const std::optional<std::string> oat = StandardTemperatureText(level)) {
            t[Field::Oat] = *oat;
        }
        tables.levels.push_back(Solve(airplane, t[Field::FlightLevel], t, modeText));
        tables.levels.back().flightLevel = level;
    }

    const bool leastIsBest = modeText == kModeTripTimeAndFuel;
    for (size_t i = 0; i < tables.levels.size(); ++i) {
        const CompareCase& c = tables.levels[i];
        if (!c.valid)
            continue;
        if (!tables.bestLevel) {
            tables.bestLevel = i;
            continue;
        }
        const double best = tables.levels[*tables.bestLevel].keyFigure;
        if (leastIsBest ? c.keyFigure < best : c.keyFigure > best)
            tables.bestLevel = i;
    }
    if (tables.bestLevel)
        tables.levels[*tables.bestLevel].best = true;
    return tables;
}

} // namespace mirovax
