#pragma once

#include "form/calculation_run.h"
#include "form/fields.h"
#include "form/window_captions.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The mission report as data: what it copies from the main window, and the
// rows it is made of. Composing is a pure function, so the window, the
// command line and the tests compose the same report from the same texts.
namespace mirovax {

// The report's own font; the composition never changes it.
inline constexpr std::string_view kReportFontName = "Arial";

// Four tab stops at 100, 200, 300 and 400 pt from the left edge of the text,
// in twips (1/20 pt); they hold for every row.
inline constexpr std::array<int, 4> kReportTabStopsTwips = {2000, 4000, 6000, 8000};

// Every text of the main window that the report copies, as it stands when the
// report is composed. All texts are UTF-8.
//
// The window fills it from its controls: the fields, and by name "StaticText"
// + n and "Label" + n. The command line fills it without a window:
// FillFixedCaptions for the captions, the setup file's lines for the edits and
// the regulations, SetAirplaneLabels, SetModeText and SetResultLabels for the
// labels.
//
// Which rows appear depends on modeText alone: the report copies the texts of
// hidden or disabled controls just the same, so no visibility or enabled state
// is needed here.
struct ReportSnapshot {
    // The main window's caption, "Mirovax - Version: 1.0.1.0".
    std::string title;
    // ModeSelector's text, compared exactly and with case with the mode names.
    std::string modeText;
    // RegulationSelector's text.
    std::string regulationText;
    // The file named in the last row. In the window this is the file last
    // chosen in the Load Setup dialog during this run, and stays empty when a
    // setup was only opened from the command line or saved.
    std::string setupFileName;
    // The flight plan the route came from and its number of waypoints; no
    // row when the file name is empty.
    std::string planFileName;
    size_t planWaypoints = 0;
    // Where the wind and the temperature came from when a forecast gave
    // them ("forecast GFS 2026-12-08 12 UTC +6 h, FL350, 73 samples"); no
    // row when both are empty.
    std::string windSource;
    std::string oatSource;

    FieldTexts fields; // the entry fields' texts
    std::array<std::string, 51> staticTexts; // staticTexts[n - 1]: caption of "StaticText" + n
    std::array<std::string, 30> labels; // labels[n - 1]: text of "Label" + n

    std::string& staticText(int n) { return staticTexts.at(static_cast<size_t>(n - 1)); }
    const std::string& staticText(int n) const { return staticTexts.at(static_cast<size_t>(n - 1)); }
    std::string& label(int n) { return labels.at(static_cast<size_t>(n - 1)); }
    const std::string& label(int n) const { return labels.at(static_cast<size_t>(n - 1)); }
};

// Puts the fixed captions StaticText1 to StaticText51 into the snapshot; they
// change only with the mass unit.
void FillFixedCaptions(ReportSnapshot& snapshot, MassUnit unit = MassUnit::Kilograms);

// The window's caption for a file version: "Mirovax - Version: " + version.
std::string MainWindowCaption(std::string_view fileVersion);

// Sets the mode text and, as choosing a mode in the window does, Label11's
// caption: "Maximum Payload:" or "Maximum Range:" for those two modes; any
// other text leaves Label11 as it was.
void SetModeText(ReportSnapshot& snapshot, std::string_view modeText);

// Label1 to Label10, the Airplane Data panel that loading an airplane fills
// (labels[n - 1] is "Label" + n).
void SetAirplaneLabels(ReportSnapshot& snapshot, const std::array<std::string, 10>& labels);

// Label12 to Label30, the result labels of a calculation run.
void SetResultLabels(ReportSnapshot& snapshot, const ResultTexts& results);

// One paragraph of the report.
struct ReportRow {
    std::string text; // UTF-8; a '\t' moves to the next tab stop
    int sizePt = 8;
    bool bold = false;
    bool underline = false;
    std::array<int, 4> tabStopsTwips = kReportTabStopsTwips;

    bool operator==(const ReportRow&) const = default;
};

// The whole report: its rows in order, every one ending with a paragraph
// break, the last one included. Italic and strike-out are never used.
struct ReportModel {
    std::vector<ReportRow> rows;

    bool operator==(const ReportModel&) const = default;
};

// Composes the mission report from the window's texts. Every copied text
// passes through ReportSafeText, so a tab or line break pasted into a field
// shows as a blank instead of adding a column or a row.
ReportModel BuildReport(const ReportSnapshot& snapshot);

// The rows, caption and source, that say where the wind and the temperature
// came from: one "Wind and OAT:" row when one forecast gave both, else one
// for each that a forecast gave; none for typed entries.
std::vector<std::pair<std::string, std::string>> WeatherSourceRows(
    const std::string& windSource, const std::string& oatSource);

} // namespace mirovax
