#include "cli_solve.h"

#include "engine/checked_math.h"
#include "engine/fuel_models.h"
#include "engine/text_format.h"
#include "form/input_rules.h"
#include "refdata/table_store.h"

namespace mirovax::cli {

namespace {

std::string FieldName(Field field)
{
    const FieldSpec& spec = Spec(field);
    return "line " + std::to_string(spec.setupLine) + " (" + std::string(spec.cliName) + ", "
        + std::string(spec.control) + ")";
}

// Leaving the flight-level field: a level above the airplane's maximum
// altitude is capped, with a note, and the OAT follows the level. A level
// that is not a number is left for the run to refuse.
void LeaveFlightLevel(SetupRun& run)
{
    try {
        const ExitOutcome outcome = run.session.LeaveField(Field::FlightLevel);
        if (!outcome.message.empty())
            run.notes.push_back(outcome.message);
    } catch (const InputConversionError&) { }
}

} // namespace

CliServices::CliServices(TMissionData& md, const volatile std::sig_atomic_t* interrupt)
    : m_md(md)
    , m_interrupt(interrupt)
{ }

void CliServices::ReportLimit(const std::string& message)
{
    if (!m_message.empty())
        m_message += '\n';
    m_message += message;
}

void CliServices::YieldEvents()
{
    if (m_interrupt != nullptr && *m_interrupt != 0)
        m_md.AbortRequested = true;
}

std::string DescribeUnusableInput(const SetupTexts& fields)
{
    const std::optional<Field> field = FirstUnusableField(FieldsOf(fields));
    if (!field)
        return "";
    const std::string& text = fields[SetupIndex(*field)];
    if (text.empty())
        return FieldName(*field) + ": the field is empty";
    return FieldName(*field) + ": \"" + text + "\" is not a number (character "
        + std::to_string(ConvertStrict(text).errorPosition) + ")";
}

SetupRun LoadSetupAirplane(TTable& airplanes, const std::string& path, const SetupTexts& texts,
    const std::string& mode, const std::optional<std::string>& airplane, MassUnit units)
{
    SetupRun run;
    run.path = path;
    run.mode = mode;
    run.session = MissionSession(airplanes);
    run.session.SetUnits(units);
    run.session.SetEntries(texts);
    run.fieldsLoaded = true;
    try {
        // With --airplane the type of line 16 is replaced before anything
        // reads it. A type the table does not hold is an error here: the
        // window would keep the previous record, which on the command line
        // means a result for an airplane nobody asked for.
        std::optional<AirplaneDisplay> display = run.session.OpenSetup(texts, airplane);
        if (display) {
            run.airplane = std::move(*display);
            run.airplaneLoaded = true;
            run.notes = run.session.AllowableWeightNotes();
        } else if (airplane) {
            run.error = path + ": --airplane: type \"" + *airplane + "\" is not in the airplane table "
                + airplanes.Path();
            run.status = kExitInputsUnusable;
        } else {
            run.error = path + ": line 16 (airplane): type \"" + texts[kSetupAirplaneLine]
                + "\" is not in the airplane table " + airplanes.Path();
            run.status = kExitInputsUnusable;
        }
    } catch (const TableError& e) {
        run.error = path + ": " + e.what();
        run.status = kExitFileOrTable;
    }
    return run;
}

void ApplyRequest(SetupRun& run, const SolveRequest& request)
{
    run.mode = request.mode;
    if (request.plan != nullptr) {
        const PlanOutcome outcome
            = run.session.OpenPlan(request.plan->path, request.plan->plan, request.plan->airports.get());
        run.notes.insert(run.notes.end(), outcome.messages.begin(), outcome.messages.end());
    }
    // A --set text as typing it would put it: regulations named exactly as
    // in the selector's list also preset holding time and contingency.
    for (const FieldSetting& s : request.settings) {
        if (s.line == kSetupRegulationsLine)
            run.session.ChooseRegulations(s.text);
        else if (s.line == kSetupAirplaneLine)
            throw std::logic_error("--set cannot name the airplane");
        else
            run.session.SetShownText(Fields()[static_cast<size_t>(s.line)].field, s.text);
    }
    if (request.leaveFlightLevel)
        LeaveFlightLevel(run);
    // A forecast that gives nothing for the route and level is no run: the
    // typed wind would pass for the forecast's.
    if (request.winds != nullptr) {
        const std::string why = ApplyWinds(run.session, *request.winds, request.settings);
        if (!why.empty()) {
            run.error = run.path + ": --winds: " + why;
            run.status = kExitInputsUnusable;
        }
    }
}

SetupRun PrepareSetupTexts(
    TTable& airplanes, const std::string& path, const SetupTexts& texts, const SolveRequest& request)
{
    SetupRun run = LoadSetupAirplane(airplanes, path, texts, request.mode, request.airplane, request.units);
    if (run.error.empty())
        ApplyRequest(run, request);
    return run;
}

void WriteSetupNotes(const SetupRun& run, std::ostream& err)
{
    for (const std::string& note : run.notes)
        err << "mirovax-cli: " << run.path << ": " << note << '\n';
}

void SolvePreparedRun(SetupRun& run, const SolveRequest& request, const volatile std::sig_atomic_t* interrupt,
    TInputReader* reader)
{
    CliServices services(run.session.Record(), interrupt);
    try {
        run.valid = run.session.Run(run.mode, services, request.search, reader);
    } catch (const ArithmeticError& e) {
        run.valid = false;
        run.error = run.path + ": " + e.what();
        run.status = kExitArithmeticFault;
        return;
    } catch (const SearchError& e) {
        run.valid = false;
        run.error = run.path + ": " + e.what();
        run.status = kExitArithmeticFault;
        return;
    } catch (const FuelModelError& e) {
        // Fuel below 0 kg is no plan: an error like an arithmetic fault.
        run.valid = false;
        run.error = run.path + ": " + e.what();
        run.status = kExitArithmeticFault;
        return;
    }
    run.message = services.message();
    if (run.session.LastRun() && request.panelAndLimits)
        run.limits = run.session.LastRunLimits();
    if (run.valid) {
        if (request.panelAndLimits)
            run.results = run.session.Results(run.mode);
        run.status = kExitValid;
    } else if (run.md().ConversionError != 0) {
        const std::string why = DescribeUnusableInput(run.fields());
        run.error = run.path + ": " + (why.empty() ? "the inputs cannot be read" : why);
        run.status = kExitInputsUnusable;
    } else {
        run.status = kExitLimit;
    }
}

SetupRun SolveSetupTexts(TTable& airplanes, const std::string& path, const SetupTexts& texts,
    const SolveRequest& request, const volatile std::sig_atomic_t* interrupt)
{
    SetupRun run = PrepareSetupTexts(airplanes, path, texts, request);
    if (run.error.empty())
        SolvePreparedRun(run, request, interrupt);
    return run;
}

std::optional<SetupRun> ReadSetupTexts(
    const std::string& path, const SolveRequest& request, SetupTexts& texts)
{
    try {
        texts = LoadSetup(path);
    } catch (const SetupFileError& e) {
        SetupRun run;
        run.path = path;
        run.mode = request.mode;
        run.error = e.what();
        run.status = kExitFileOrTable;
        return run;
    }
    return std::nullopt;
}

SetupRun SolveSetupFile(TTable& airplanes, const std::string& path, const SolveRequest& request,
    const volatile std::sig_atomic_t* interrupt)
{
    SetupTexts texts;
    if (std::optional<SetupRun> failed = ReadSetupTexts(path, request, texts))
        return *failed;
    return SolveSetupTexts(airplanes, path, texts, request, interrupt);
}

SetupRun PrepareSetupFile(TTable& airplanes, const std::string& path, const SolveRequest& request)
{
    SetupTexts texts;
    if (std::optional<SetupRun> failed = ReadSetupTexts(path, request, texts))
        return *failed;
    return PrepareSetupTexts(airplanes, path, texts, request);
}

} // namespace mirovax::cli
