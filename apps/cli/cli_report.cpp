#include "cli_report.h"

#include "report/report_file.h"
#include "report/rtf_writer.h"

#include <filesystem>

namespace mirovax::cli {

namespace {

std::string AsciiUpper(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

} // namespace

bool RunCanBeReported(const SetupRun& run)
{
    return run.fieldsLoaded && run.airplaneLoaded;
}

FieldTexts ShownFields(const SetupRun& run, bool inUnit)
{
    // The fields that turn letters into capitals in the window hold ICAO
    // codes: only ASCII letters change.
    FieldTexts fields = inUnit ? run.session.ShownFields() : FieldsOf(run.fields());
    for (const FieldSpec& spec : Fields()) {
        if (spec.upperCase)
            fields[spec.field] = AsciiUpper(fields[spec.field]);
    }
    return fields;
}

DispatchSheetInput RunSheetInput(const SetupRun& run, std::string_view fileVersion, std::time_t runTime,
    const std::string& flight, const std::string& registration)
{
    DispatchSheetInput input;
    input.runTime = runTime;
    input.flight = flight;
    input.registration = registration;
    input.programTitle = MainWindowCaption(fileVersion);
    input.modeText = run.mode;
    input.regulationText = run.fields()[kSetupRegulationsLine];
    input.fields = ShownFields(run, false);
    input.md = run.md();
    input.valid = run.valid;
    if (run.limits)
        input.limits = *run.limits;
    size_t start = 0;
    while (start < run.message.size()) {
        const size_t end = std::min(run.message.find('\n', start), run.message.size());
        input.warnings.push_back(run.message.substr(start, end - start));
        start = end + 1;
    }
    input.warnings.insert(input.warnings.end(), run.notes.begin(), run.notes.end());
    input.windSource = run.session.WindSource();
    input.oatSource = run.session.OatSource();
    if (const OpenedPlan* plan = run.session.Plan()) {
        input.planFile = plan->path;
        for (const PlanWaypoint& waypoint : plan->plan.waypoints)
            input.planWaypoints.push_back(waypoint.ident);
    }
    return input;
}

ReportSnapshot RunReportSnapshot(
    const SetupRun& run, std::string_view fileVersion, const std::string& setupFileName)
{
    ReportSnapshot snapshot;
    FillFixedCaptions(snapshot, run.session.Units());
    snapshot.title = MainWindowCaption(fileVersion);
    SetModeText(snapshot, run.mode);
    snapshot.fields = ShownFields(run, true);
    snapshot.regulationText = run.fields()[kSetupRegulationsLine];
    SetAirplaneLabels(snapshot, run.airplane.labels);
    // A run that did not end valid leaves the results panel blank.
    if (run.valid)
        SetResultLabels(snapshot, run.results);
    snapshot.setupFileName = setupFileName;
    if (const OpenedPlan* plan = run.session.Plan()) {
        snapshot.planFileName = plan->path;
        snapshot.planWaypoints = plan->plan.waypoints.size();
    }
    snapshot.windSource = run.session.WindSource();
    snapshot.oatSource = run.session.OatSource();
    return snapshot;
}

void WriteRunReport(const SetupRun& run, std::string_view fileVersion, const std::string& reportPath,
    const std::vector<RunInput>& inputs)
{
    std::error_code ec;
    std::filesystem::path setupPath = std::filesystem::absolute(run.path, ec);
    if (ec)
        setupPath = run.path;
    const ReportSnapshot snapshot
        = RunReportSnapshot(run, fileVersion, setupPath.lexically_normal().string());
    SaveReportFile(reportPath, WriteRtf(BuildReport(snapshot)), inputs);
}

} // namespace mirovax::cli
