#include "cli_report.h"

#include "report/report_file.h"
#include "report/rtf_writer.h"

#include <filesystem>

namespace mirovax::cli {

namespace {

// The fields that turn letters into capitals in the window: the origin, the
// destination and the alternate. Only ASCII letters change; the codes they
// hold are ICAO codes.
constexpr int kUpperCaseEdits[] = {1, 2, 8};

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

ReportSnapshot RunReportSnapshot(
    const SetupRun& run, std::string_view fileVersion, const std::string& setupFileName)
{
    ReportSnapshot snapshot;
    FillFixedCaptions(snapshot);
    snapshot.title = MainWindowCaption(fileVersion);
    SetModeText(snapshot, run.mode);
    for (int n = 1; n <= 15; ++n)
        snapshot.edit(n) = run.fields[static_cast<size_t>(n - 1)];
    for (const int n : kUpperCaseEdits)
        snapshot.edit(n) = AsciiUpper(snapshot.edit(n));
    snapshot.regulationText = run.fields[kSetupRegulationsLine];
    SetAirplaneLabels(snapshot, run.airplane.labels);
    // A run that did not end valid leaves the results panel blank.
    if (run.valid)
        SetResultLabels(snapshot, run.results);
    snapshot.setupFileName = setupFileName;
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
