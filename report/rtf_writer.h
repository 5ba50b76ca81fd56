#pragma once

#include "report/report_model.h"

#include <string>

namespace mirovax {

// The report as a rich-text (RTF 1) document: one paragraph per row in the
// font "Arial", each with its size, bold and underline and the four tab
// stops. The result is plain 7-bit ASCII whatever the texts hold:
// - backslashes and braces are escaped, so a field holding "{\b x}" prints
//   those five characters and never turns bold;
// - a tab is the paragraph's tab, any other control character a blank, so a
//   text can never add a paragraph;
// - every other non-ASCII character is written as \uN with a Windows-1252
//   fallback (\'xx), or "?" where that code page has no such character, so
//   readers with and without Unicode support show the same character.
std::string WriteRtf(const ReportModel& model);

} // namespace mirovax
