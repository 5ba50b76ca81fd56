#pragma once

#include "textio/text_encoding.h"

#include <string>
#include <string_view>

// Character handling shared by the report composition and the rich-text
// writer. Texts are UTF-8 (output/text_encoding.h decodes them).
namespace mirovax {

// C0 and C1 control characters, DEL, and the Unicode line and paragraph
// separators: characters that would start a new line or column in some reader.
bool IsReportControlCharacter(char32_t c);

// A text copied from a field, a label or a caption, made safe to stand inside
// a report row: every control character (the tab and line breaks included)
// becomes one blank, so that a pasted text can neither add a column nor a row.
std::string ReportSafeText(std::string_view text);

} // namespace mirovax
