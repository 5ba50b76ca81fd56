#pragma once

#include "apps/cli/cli_solve.h"
#include "report/dispatch_sheet.h"
#include "report/report_model.h"

#include <string>
#include <string_view>
#include <vector>

// The mission report of a solved setup file: the report View Report would
// compose in the window after Load Setup and Execute on the same file.
namespace mirovax::cli {

// Whether the run got as far as the window would have: the fields loaded and
// the airplane of the file (or of --airplane) loaded. Before that there is no
// window state to report.
bool RunCanBeReported(const SetupRun& run);

// The window's texts after the run: the fixed captions, the caption with the
// given file version, the mode, the fields (the upper-case fields in
// capitals, as they show), the regulations, the Airplane Data panel, the
// result labels only when the run ended valid (blank otherwise, as the
// results panel is), and setupFileName for the last row.
ReportSnapshot RunReportSnapshot(
    const SetupRun& run, std::string_view fileVersion, const std::string& setupFileName);

// The fields' texts as the window shows them after the run: the origin,
// destination and alternate in capitals; the masses in the run's unit when
// inUnit, else in kilograms as the entries keep them.
FieldTexts ShownFields(const SetupRun& run, bool inUnit);

// The dispatch sheet of the run: the window's texts, the record, the limits
// and every warning (the limit message, then the notes on the file's
// allowable weights), dated runTime.
DispatchSheetInput RunSheetInput(const SetupRun& run, std::string_view fileVersion, std::time_t runTime,
    const std::string& flight, const std::string& registration);

// Composes the report of the run and saves it as rich text to reportPath,
// naming the setup file by its absolute path as the Load Setup dialog would.
// Throws std::runtime_error naming the file when it cannot be written or is
// one of inputs; the target is then left as it was.
void WriteRunReport(const SetupRun& run, std::string_view fileVersion, const std::string& reportPath,
    const std::vector<RunInput>& inputs = {});

} // namespace mirovax::cli
