#pragma once

#include "report/report_model.h"
#include "textio/file_writer.h"

#include <QString>

#include <vector>

class QPrinter;
class QTextDocument;
class QTextEdit;

// The report box's rich-text view: showing the composed report, printing it
// and saving it. The window keeps the ReportModel it showed, so that saving
// and printing use exactly the report on screen.
namespace mirovax {

// The file types of the Save Report dialog, in the order of their 1-based
// type index (kReportFileTypeRichText, kReportFileTypeText).
inline constexpr char kReportRichTextFilter[] = "Rich Text File (*.RTF)";
inline constexpr char kReportTextFilter[] = "Text File (*.TXT)";

// The print job's title.
inline constexpr char kReportJobTitle[] = "Mission_Report";

// Both filters joined with ";;", for QFileDialog::setNameFilter(s).
QString ReportSaveFilters();

// The 1-based type index of a filter text as QFileDialog::selectedNameFilter
// returns it; 0 for any other text.
int ReportFileTypeIndex(const QString& selectedFilter);

// The view's own settings: font "Arial" 8 pt, read-only, vertical scroll bar,
// long lines wrapped at the right edge, not in the tab cycle.
void ConfigureReportView(QTextEdit* richEdit);

// Replaces the whole content of the view with the report: one paragraph per
// row in "Arial" with the row's size, bold and underline (never italic or
// struck out) and the four tab stops. A tab stays a tab; any other control
// character shows as a blank, so a row is always exactly one paragraph.
// The view is left read-only.
void ShowReportInView(QTextEdit* richEdit, const ReportModel& model);

// The report's text area on a printed page, in printer pixels measured from
// the top-left corner of the printable page: one inch left, top and bottom,
// half an inch (truncated to whole pixels) right.
struct PageRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const PageRect&) const = default;
};

// dpiX, dpiY: the printer's pixels per logical inch across and down;
// widthPx, heightPx: its printable page.
PageRect ReportPageRect(int dpiX, int dpiY, int widthPx, int heightPx);

// Prints the document as one job titled "Mission_Report" on the printer as
// it is set up (by the print dialog), laid out page after page into
// ReportPageRect of the printer's printable page. A page range and copies
// chosen in the print dialog are honoured. Throws std::runtime_error when no
// printer is available, when the page leaves no room inside the margins, when
// the range holds no page of the report, or when the printer fails; the
// message says which.
void PrintReport(const QTextDocument& document, QPrinter& printer);
void PrintReport(const QTextEdit* richEdit, QPrinter& printer);

// Saves the report as rich text under chosenName, completed with ".rtf" or
// ".txt" by the chosen file type when it has no extension, and returns the
// name it was saved under (which the dialog proposes next time). The content
// is rich text whatever the extension. Throws std::runtime_error naming the
// file when it cannot be written or is one of inputs; an existing file is
// then left as it was.
QString SaveReport(const ReportModel& model, const QString& chosenName, int fileTypeIndex,
    const std::vector<RunInput>& inputs = {});

} // namespace mirovax
