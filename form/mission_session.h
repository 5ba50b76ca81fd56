#pragma once

#include "engine/mission_data.h"
#include "engine/mission_limits.h"
#include "engine/solve.h"
#include "flightplan/flight_plan.h"
#include "forecast/forecast.h"
#include "forecast/route_weather.h"
#include "form/calculation_run.h"
#include "form/compare.h"
#include "form/fields.h"
#include "form/input_rules.h"
#include "form/payload_range_inputs.h"
#include "refdata/airplane.h"
#include "refdata/table_store.h"
#include "report/dispatch_sheet.h"
#include "setup/setup_file.h"

#include <array>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One mission as the user works on it: the entries (the fifteen fields and
// the two selectors' texts), the airplane loaded for them from the airplane
// table, and the record a run works on. Choosing an airplane or regulations,
// opening a setup's texts, leaving a field and running act on it by the same
// rules for the window and the command-line programs; the window maps its
// controls to it and back. No Qt.
namespace mirovax {

// A flight plan opened into the entries, kept for the report and the sheet
// while the route it gave stands.
struct OpenedPlan {
    std::string path; // as opened
    FlightPlan plan;
    std::string routeDistance; // the Distance text it gave, NM
    std::string directDistance; // from the first to the last waypoint, NM
};

// What opening a plan did: the fields whose text changed, in field order,
// and what the user should know (the flight level's cap, an alternate the
// airport table lacks), one sentence each.
struct PlanOutcome {
    std::vector<Field> changed;
    std::vector<std::string> messages;
};

// A forecast file loaded for the rest of the session.
struct LoadedForecast {
    std::string path; // as opened
    Forecast forecast;
};

// What the loaded forecast gives for the entered route at a flight level.
struct ForecastWeather {
    std::string wind; // the time-correct headwind, whole kt, as field text
    std::string oat; // the mean temperature, whole deg C, as field text
    // "forecast GFS 2026-12-08 12 UTC +6 h, FL350, 73 samples"
    std::string source;
    std::size_t missing = 0; // samples left out for want of values
    double pressureHpa = 0; // the standard pressure of the flight level
    std::size_t samples = 0; // the samples the wind and temperature were taken from
    double trueAirspeedKt = 0; // the airspeed the wind was made time-correct for
};

// A run that read its inputs, kept for the limits window and the dispatch
// sheet until the next run or until the results are blanked.
struct MissionRun {
    std::time_t runTime = 0; // when the run started
    std::string modeText;
    std::string regulationText;
    FieldTexts fields; // the entries the run read
    TMissionData md; // the record the run left
    bool valid = false;
    // The limit messages the run reported, in order, then the notes on the
    // setup's allowable weights that still held.
    std::vector<std::string> warnings;
    // The entries or the mode changed since: the sheet no longer matches
    // what is on show.
    bool outOfDate = false;
    // The flight plan the route came from, if one still stood.
    std::shared_ptr<const OpenedPlan> plan;
    // Where the wind and the temperature came from, when a forecast gave
    // the texts the run read; empty for typed entries.
    std::string windSource;
    std::string oatSource;
};

class MissionSession {
public:
    // The entries start as the window starts: each field's start text, the
    // start regulations and no airplane. Without an airplane table nothing
    // can be loaded (ChooseAirplane and OpenSetup throw TableError).
    // airplanes must outlive the session.
    MissionSession();
    explicit MissionSession(TTable& airplanes);

    // The entries, in setup-file order.
    const SetupTexts& Entries() const { return m_entries; }
    FieldTexts EntryFields() const { return FieldsOf(m_entries); }
    const std::string& Text(Field field) const { return m_entries[SetupIndex(field)]; }
    const std::string& AirplaneText() const { return m_entries[kSetupAirplaneLine]; }
    const std::string& RegulationsText() const { return m_entries[kSetupRegulationsLine]; }
    // A field's text as typed: no rule runs. Changing MATOW or MALW ends the
    // notes of the setup that put them there; setting the text it already
    // holds changes nothing.
    void SetText(Field field, std::string text);
    // The unit masses are shown and typed in: the payload, MATOW and MALW
    // texts, the results, the airplane data, the limits, compare, the
    // diagram, the report and the sheet. The entries and the record keep
    // kilograms; changing the unit changes no entry, but forgets the last
    // run, whose messages name masses in the unit it ran in.
    MassUnit Units() const { return m_md.Units; }
    void SetUnits(MassUnit unit);
    // A field's text as the window shows it: a mass field's kilograms in
    // the unit, whole units (ties to even), or the text last typed for it
    // while it still stands; any other field's text as it is. A text that
    // is not a number is shown as it is.
    std::string ShownText(Field field) const;
    FieldTexts ShownFields() const;
    // A field's text as typed in the window's unit: a number typed into a
    // mass field in pounds is converted to kilograms once, here, and kept
    // as the shortest text that reads back to that double; any other text
    // as SetText. The window passes only texts that differ from the one
    // shown, so that showing a text never changes the kilograms under it.
    void SetShownText(Field field, const std::string& text);
    // The display of the loaded airplane in the unit (only with an
    // airplane).
    AirplaneDisplay AirplaneDataShown() const { return DisplayAirplane(m_md, Units()); }
    // The result labels of the record in the unit.
    ResultTexts Results(std::string_view modeText) const { return ShowResults(m_md, modeText, Units()); }
    // Every entry at once, the selectors' texts included, as typed: no
    // airplane is loaded and no preset runs.
    void SetEntries(const SetupTexts& texts);
    // A selector's text alone, as it stands before the user's choice is
    // acted on: no airplane is loaded, no preset runs.
    void SetAirplaneText(std::string text) { m_entries[kSetupAirplaneLine] = std::move(text); }
    void SetRegulationsText(std::string text) { m_entries[kSetupRegulationsLine] = std::move(text); }

    // The airplane selector's text. A type the table holds is loaded: the
    // record takes its constants and MATOW and MALW its structural limits,
    // and its display is returned. A type it lacks changes no field and
    // gives nothing; nothing can be computed until a listed type is chosen.
    std::optional<AirplaneDisplay> ChooseAirplane(const std::string& type);
    // Start-up: the table's current record (its first, when nothing was
    // looked up yet) is loaded whatever the airplane text, and its type
    // becomes the text. Throws TableError.
    AirplaneDisplay ChooseCurrentAirplane();
    // Whether the airplane text names the airplane the record holds.
    bool AirplaneReady() const;
    // Whether any airplane was ever loaded: without one the record holds
    // no airplane at all.
    bool HasAirplane() const { return m_hasAirplane; }
    const TMissionData& Record() const { return m_md; }
    TMissionData& Record() { return m_md; }

    // The regulation selector's text; a listed name presets the holding time
    // and the contingency.
    void ChooseRegulations(const std::string& name);

    // A setup's texts as opening its file puts them: every field and
    // selector as in the file (no preset runs), the file's airplane loaded,
    // or airplane instead of it, then the file's own MATOW and MALW back
    // where they are numbers within the structural limits. Returns the
    // display of the airplane loaded, nothing for a type the table lacks.
    // Throws TableError for a table fault.
    std::optional<AirplaneDisplay> OpenSetup(
        const SetupTexts& texts, const std::optional<std::string>& airplane = std::nullopt);
    // A flight plan into the entries: From and To take its departure and
    // destination, Distance its route distance, Alternate its first
    // alternate with the alternate's elevation and distance from airports
    // (where the table holds it; airports may be null), Flight Level its
    // cruise level (then the field's exit rule), Wind its average wind
    // component. What the plan lacks is left as it is. The plan is kept
    // until another plan or setup comes or From, To or Distance changes.
    PlanOutcome OpenPlan(const std::string& path, const FlightPlan& plan, TTable* airports);
    // The plan that still stands, or null.
    const OpenedPlan* Plan() const { return m_plan.get(); }

    // A forecast for the rest of the session, its first validity time
    // chosen; the route's airports are looked up in airports (may be null:
    // then only a flight plan's route can be used; must outlive the
    // session's use of the forecast). Nothing in the entries changes until
    // ApplyForecast or leaving a field.
    // The forecast is shared, never copied: copies of the session share it.
    void LoadForecast(std::shared_ptr<const LoadedForecast> forecast, TTable* airports);
    // Another of the forecast's validity times. Throws std::out_of_range.
    void ChooseForecastTime(std::size_t index);
    // Back to typed entries: the wind and temperature texts stay as they are.
    void ClearForecast();
    const LoadedForecast* CurrentForecast() const { return m_forecast.get(); }
    std::size_t ForecastTimeIndex() const { return m_forecastTime; }
    // The route the forecast is read along: the opened plan's waypoints,
    // else the great circle between From and To. Throws ForecastError when
    // neither can be placed.
    std::vector<RoutePoint> ForecastRoute() const;
    // The forecast's wind and temperature for the route at a flight level,
    // the wind time-correct for the true airspeed the airplane's Mach gives
    // at that temperature. Throws ForecastError.
    ForecastWeather ForecastAt(double flightLevel) const;
    // Puts the forecast's wind and temperature at the entered flight level
    // into Wind and OAT: the fields that changed and, where nothing could be
    // given, why (nothing changes then). Nothing without a forecast.
    PlanOutcome ApplyForecast();
    // The source of the Wind and OAT texts while they are still those a
    // forecast gave; empty for typed entries.
    std::string WindSource() const;
    std::string OatSource() const;

    // Why the file's MATOW or MALW did not survive the airplane load, one
    // sentence each; kept until MATOW or MALW changes or another airplane or
    // setup comes.
    const std::vector<std::string>& AllowableWeightNotes() const { return m_weightNotes; }

    // Leaving a field: the flight level is capped at the airplane's maximum
    // altitude and sets the standard-atmosphere temperature (with a
    // forecast loaded, the forecast's wind and temperature, as leaving From,
    // To or Distance does then), the holding
    // altitude is raised to 1500 ft, MATOW and MALW are capped at the
    // structure (only while the airplane is ready). The outcome's
    // replacement and temperature are applied to the entries; its message is
    // the caller's to show. Throws InputConversionError for a text that is
    // not a number.
    ExitOutcome LeaveField(Field field);

    // One run of the entries in the mode, as Execute runs it (see
    // ExecuteCalculation); the record keeps its inputs and results. The
    // last run is forgotten first and, when the run read its inputs (a
    // limit stop or an abort included), recorded as LastRun.
    bool Run(std::string_view modeText, IMissionServices& services,
        SearchMethod method = SearchMethod::PerPass, TInputReader* reader = nullptr);
    const std::optional<MissionRun>& LastRun() const { return m_lastRun; }
    // The limits of the last run, computed once when first asked for. Only
    // with a LastRun.
    const MissionLimits& LastRunLimits() const;
    void ForgetRun();
    // Whether the last run, which matched the entries until now, no longer
    // does (false when there is none or it was out of date already).
    bool MarkRunOutOfDate();
    // The dispatch sheet of the last run with its limits, no flight number
    // or registration. Only with a LastRun.
    DispatchSheetInput SheetInput(std::string programTitle) const;

    // The compare tables of the entries in the mode (see ComputeCompareTables).
    // With a forecast loaded each level takes its own wind and temperature.
    CompareTables Compare(std::string_view modeText) const;
    // What the payload-range diagram of the entries is drawn from.
    DiagramMission Diagram() const { return DiagramMissionOf(m_md, EntryFields()); }

private:
    // With a forecast loaded, its wind and temperature into the entries and
    // the outcome; why not into the outcome's note.
    void ApplyForecastOnExit(ExitOutcome& outcome);

    TTable* m_airplanes = nullptr;
    SetupTexts m_entries;
    TMissionData m_md;
    std::vector<std::string> m_weightNotes;
    bool m_hasAirplane = false;
    std::optional<MissionRun> m_lastRun;
    std::shared_ptr<const OpenedPlan> m_plan;
    std::shared_ptr<const LoadedForecast> m_forecast;
    std::size_t m_forecastTime = 0;
    TTable* m_forecastAirports = nullptr;
    // The text last typed into each mass field in pounds, with the
    // kilograms it gave: shown while the entry still holds them.
    struct TypedMass {
        std::string kilograms;
        std::string shown;
    };
    std::array<std::optional<TypedMass>, kFieldCount> m_typedMass;
    // The texts the forecast last put into Wind and OAT, with their source.
    std::optional<ForecastWeather> m_forecastApplied;
    mutable std::optional<MissionLimits> m_lastRunLimits;
};

} // namespace mirovax
