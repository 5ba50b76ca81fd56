#include "form/mission_session.h"

#include "engine/text_format.h"
#include "refdata/airports.h"
#include "setup/allowable_weights.h"

#include <limits>
#include <stdexcept>

namespace mirovax {

namespace {

// The caller's services, with the limit messages kept for the run's record.
class RecordingServices : public IMissionServices {
public:
    explicit RecordingServices(IMissionServices& services)
        : m_services(services)
    { }
    void ReportLimit(const std::string& message) override
    {
        messages.push_back(message);
        m_services.ReportLimit(message);
    }
    void YieldEvents() override { m_services.YieldEvents(); }
    std::vector<std::string> messages;

private:
    IMissionServices& m_services;
};

} // namespace

MissionSession::MissionSession()
{
    for (const FieldSpec& spec : Fields())
        m_entries[SetupIndex(spec.field)] = spec.startText;
    m_entries[kSetupRegulationsLine] = StartRegulations();
}

MissionSession::MissionSession(TTable& airplanes)
    : MissionSession()
{
    m_airplanes = &airplanes;
}

void MissionSession::SetText(Field field, std::string text)
{
    std::string& entry = m_entries[SetupIndex(field)];
    if (entry == text)
        return;
    if (field == Field::Matow || field == Field::Malw)
        m_weightNotes.clear();
    if (field == Field::From || field == Field::To || field == Field::Distance)
        m_plan.reset();
    entry = std::move(text);
}

void MissionSession::SetUnits(MassUnit unit)
{
    if (unit == Units())
        return;
    m_md.Units = unit;
    ForgetRun();
}

std::string MissionSession::ShownText(Field field) const
{
    const std::string& text = Text(field);
    if (Units() == MassUnit::Kilograms || !IsMassField(field))
        return text;
    const std::optional<TypedMass>& typed = m_typedMass[Index(field)];
    if (typed && typed->kilograms == text)
        return typed->shown;
    return ShownMassText(text, Units());
}

FieldTexts MissionSession::ShownFields() const
{
    FieldTexts out;
    for (const FieldSpec& spec : Fields())
        out[spec.field] = ShownText(spec.field);
    return out;
}

void MissionSession::SetShownText(Field field, const std::string& text)
{
    if (Units() == MassUnit::Kilograms || !IsMassField(field)) {
        SetText(field, text);
        return;
    }
    const Conversion c = ConvertStrict(text);
    std::string kilograms = c.ok() ? FormatRoundTrip(KilogramsOf(c.value, Units())) : text;
    m_typedMass[Index(field)] = TypedMass{kilograms, text};
    SetText(field, std::move(kilograms));
}

void MissionSession::SetEntries(const SetupTexts& texts)
{
    m_entries = texts;
    m_weightNotes.clear();
    m_plan.reset();
}

std::optional<AirplaneDisplay> MissionSession::ChooseAirplane(const std::string& type)
{
    m_entries[kSetupAirplaneLine] = type;
    m_weightNotes.clear();
    if (m_airplanes == nullptr)
        throw TableError("no airplane table is open");
    std::optional<AirplaneDisplay> display = LoadListedAirplane(*m_airplanes, type, m_md);
    if (display) {
        m_hasAirplane = true;
        m_entries[SetupIndex(Field::Matow)] = display->matow;
        m_entries[SetupIndex(Field::Malw)] = display->malw;
        display = AirplaneDataShown();
    }
    return display;
}

AirplaneDisplay MissionSession::ChooseCurrentAirplane()
{
    if (m_airplanes == nullptr)
        throw TableError("no airplane table is open");
    m_weightNotes.clear();
    AirplaneDisplay display = LoadAirplane(*m_airplanes, AirplaneText(), m_md);
    m_hasAirplane = true;
    m_entries[kSetupAirplaneLine] = m_md.Type;
    m_entries[SetupIndex(Field::Matow)] = display.matow;
    m_entries[SetupIndex(Field::Malw)] = display.malw;
    return AirplaneDataShown();
}

bool MissionSession::AirplaneReady() const
{
    return NamesLoadedAirplane(AirplaneText(), m_md.Type);
}

void MissionSession::ChooseRegulations(const std::string& name)
{
    m_entries[kSetupRegulationsLine] = name;
    if (const std::optional<RegulationPreset> preset = FindRegulationPreset(name)) {
        m_entries[SetupIndex(Field::HoldingTime)] = preset->holdingTime;
        m_entries[SetupIndex(Field::Contingency)] = preset->contingency;
    }
}

std::optional<AirplaneDisplay> MissionSession::OpenSetup(
    const SetupTexts& texts, const std::optional<std::string>& airplane)
{
    m_entries = texts;
    m_plan.reset();
    std::optional<AirplaneDisplay> display = ChooseAirplane(airplane.value_or(texts[kSetupAirplaneLine]));
    if (display) {
        AllowableWeights weights
            = RestoreAllowableWeights(texts, display->matow, display->malw, m_md.MTOW, m_md.MLAW, Units());
        m_entries[SetupIndex(Field::Matow)] = weights.matow;
        m_entries[SetupIndex(Field::Malw)] = weights.malw;
        m_weightNotes = std::move(weights.notes);
    }
    return display;
}

PlanOutcome MissionSession::OpenPlan(const std::string& path, const FlightPlan& plan, TTable* airports)
{
    const FieldTexts before = EntryFields();
    OpenedPlan opened;
    opened.path = path;
    opened.plan = plan;
    opened.routeDistance = FormatRounded(RouteDistanceNm(plan.waypoints));
    opened.directDistance = FormatRounded(DirectDistanceNm(plan.waypoints));
    PlanOutcome outcome;
    SetText(Field::From, plan.departure);
    SetText(Field::To, plan.destination);
    SetText(Field::Distance, opened.routeDistance);
    if (!plan.alternates.empty()) {
        const std::string& alternate = plan.alternates.front();
        SetText(Field::Alternate, alternate);
        if (airports != nullptr) {
            const AlternateData data = AlternateLookup(*airports, alternate, plan.destination);
            if (data.elevation)
                SetText(Field::AlternateElevation, *data.elevation);
            if (data.distance)
                SetText(Field::AlternateDistance, *data.distance);
            if (data.unknownCode)
                outcome.messages.push_back(UnknownAirportMessage(*data.unknownCode));
        }
    }
    if (plan.cruiseAltitudeFt && *plan.cruiseAltitudeFt > 0) {
        SetText(Field::FlightLevel, FormatRounded(*plan.cruiseAltitudeFt / 100.0));
        const ExitOutcome level = LeaveField(Field::FlightLevel);
        if (!level.message.empty())
            outcome.messages.push_back(level.message);
    }
    if (plan.averageHeadwindKt)
        SetText(Field::Wind, FormatRounded(*plan.averageHeadwindKt));
    const FieldTexts after = EntryFields();
    for (const FieldSpec& spec : Fields()) {
        if (after[spec.field] != before[spec.field])
            outcome.changed.push_back(spec.field);
    }
    m_plan = std::make_shared<const OpenedPlan>(std::move(opened));
    return outcome;
}

ExitOutcome MissionSession::LeaveField(Field field)
{
    ExitOutcome outcome;
    switch (field) {
    case Field::FlightLevel: {
        // Under a type the table lacks there is no maximum altitude to cap
        // at; the temperature still follows the level.
        const double maxAltFt = AirplaneReady() ? m_md.MaxAlt : std::numeric_limits<double>::infinity();
        outcome = FlightLevelExit(Text(field), maxAltFt);
        if (outcome.replacement)
            SetText(field, *outcome.replacement);
        if (outcome.oatText)
            SetText(Field::Oat, *outcome.oatText);
        ApplyForecastOnExit(outcome);
        break;
    }
    case Field::From:
    case Field::To:
    case Field::Distance:
        ApplyForecastOnExit(outcome);
        break;
    case Field::HoldingAltitude:
        outcome = HoldingAltitudeExit(Text(field));
        break;
    case Field::Matow:
    case Field::Malw:
        if (AirplaneReady()) {
            const bool takeoff = field == Field::Matow;
            outcome = AllowableWeightExit(Text(field), takeoff ? m_md.MTOW : m_md.MLAW, takeoff, Units());
        }
        break;
    default:
        break;
    }
    if (outcome.replacement)
        SetText(field, *outcome.replacement);
    return outcome;
}

bool MissionSession::Run(
    std::string_view modeText, IMissionServices& services, SearchMethod method, TInputReader* reader)
{
    ForgetRun();
    MissionRun run;
    run.runTime = std::time(nullptr);
    run.modeText = std::string(modeText);
    run.regulationText = RegulationsText();
    run.fields = EntryFields();
    run.plan = m_plan;
    run.windSource = WindSource();
    run.oatSource = OatSource();
    RecordingServices recording(services);
    const bool valid = ExecuteCalculation(m_md, run.fields, modeText, recording, method, reader);
    run.valid = valid;
    // A run that could not read its entries leaves nothing to show; a limit
    // stop does: which limit stopped it and by how much.
    if (m_md.ConversionError == 0) {
        run.md = m_md;
        run.warnings = std::move(recording.messages);
        run.warnings.insert(run.warnings.end(), m_weightNotes.begin(), m_weightNotes.end());
        m_lastRun = std::move(run);
    }
    return valid;
}

const MissionLimits& MissionSession::LastRunLimits() const
{
    if (!m_lastRun)
        throw std::logic_error("no run to show the limits of");
    if (!m_lastRunLimits)
        m_lastRunLimits = ComputeMissionLimits(m_lastRun->md, m_lastRun->modeText, m_lastRun->valid);
    return *m_lastRunLimits;
}

void MissionSession::ForgetRun()
{
    m_lastRun.reset();
    m_lastRunLimits.reset();
}

bool MissionSession::MarkRunOutOfDate()
{
    if (!m_lastRun || m_lastRun->outOfDate)
        return false;
    m_lastRun->outOfDate = true;
    return true;
}

DispatchSheetInput MissionSession::SheetInput(std::string programTitle) const
{
    const MissionLimits& limits = LastRunLimits();
    const MissionRun& run = *m_lastRun;
    DispatchSheetInput input;
    input.runTime = run.runTime;
    input.programTitle = std::move(programTitle);
    input.modeText = run.modeText;
    input.regulationText = run.regulationText;
    input.fields = run.fields;
    input.md = run.md;
    input.md.Units = Units();
    input.valid = run.valid;
    input.limits = limits;
    input.warnings = run.warnings;
    input.windSource = run.windSource;
    input.oatSource = run.oatSource;
    if (run.plan) {
        input.planFile = run.plan->path;
        for (const PlanWaypoint& waypoint : run.plan->plan.waypoints)
            input.planWaypoints.push_back(waypoint.ident);
    }
    return input;
}

} // namespace mirovax
