#pragma once

#include <string>
#include <string_view>

// Character handling shared by the report composition and the rich-text
// writer. Texts are UTF-8; a byte sequence that is not valid UTF-8 counts as
// one U+FFFD replacement character per maximal invalid subsequence, so that a
// stray byte from a file can never swallow the characters after it.
namespace mirovax {

// Decodes UTF-8 into code points (see above for invalid sequences).
std::u32string DecodeUtf8(std::string_view text);

// Encodes code points as UTF-8; surrogates and values above U+10FFFF become
// U+FFFD.
std::string EncodeUtf8(std::u32string_view codePoints);

// C0 and C1 control characters, DEL, and the Unicode line and paragraph
// separators: characters that would start a new line or column in some reader.
bool IsReportControlCharacter(char32_t c);

// A text copied from a field, a label or a caption, made safe to stand inside
// a report row: every control character (the tab and line breaks included)
// becomes one blank, so that a pasted text can neither add a column nor a row.
std::string ReportSafeText(std::string_view text);

} // namespace mirovax
