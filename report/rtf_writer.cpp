#include "report/rtf_writer.h"

#include "report/report_text.h"

#include <algorithm>

namespace mirovax {

namespace {

void AppendHexByte(std::string& out, unsigned byte)
{
    constexpr char kDigits[] = "0123456789abcdef";
    out += "\\'";
    out += kDigits[(byte >> 4) & 0xF];
    out += kDigits[byte & 0xF];
}

// \uN takes a signed 16-bit number; the one fallback character after it is
// what readers without Unicode support show (\uc1 in the header).
void AppendUnicodeUnit(std::string& out, unsigned unit, unsigned fallbackByte)
{
    const long value = unit > 32767 ? static_cast<long>(unit) - 65536 : static_cast<long>(unit);
    out += "\\u" + std::to_string(value);
    if (fallbackByte != 0)
        AppendHexByte(out, fallbackByte);
    else
        out += '?';
}

void AppendText(std::string& out, std::string_view text)
{
    for (const char32_t c : DecodeUtf8(text)) {
        if (c == U'\t') {
            out += "\\tab ";
        } else if (IsReportControlCharacter(c)) {
            out += ' ';
        } else if (c == U'\\' || c == U'{' || c == U'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x10000) {
            // Control characters were replaced above, so the C1 bytes never
            // stand in for a character here.
            const int fallback = UnicodeToWindows1252(c);
            AppendUnicodeUnit(
                out, static_cast<unsigned>(c), fallback < 0 ? 0u : static_cast<unsigned>(fallback));
        } else {
            // Outside the Basic Multilingual Plane: a UTF-16 surrogate pair.
            const auto offset = static_cast<unsigned>(c - 0x10000);
            AppendUnicodeUnit(out, 0xD800 + (offset >> 10), 0);
            AppendUnicodeUnit(out, 0xDC00 + (offset & 0x3FF), 0);
        }
    }
}

} // namespace

std::string WriteRtf(const ReportModel& model)
{
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl{\\f0\\fswiss\\fcharset0 ";
    out += kReportFontName;
    out += ";}}\r\n";
    for (const ReportRow& row : model.rows) {
        // Each paragraph states all of its attributes: \pard resets the
        // paragraph (tab stops included) and \plain the character format, so
        // no row inherits anything from the row before it.
        out += "\\pard";
        for (const int tab : row.tabStopsTwips) {
            if (tab > 0)
                out += "\\tx" + std::to_string(tab);
        }
        // \fs counts half points; RTF readers take sizes up to 1638 pt.
        const int halfPoints = std::clamp(row.sizePt, 1, 1638) * 2;
        out += "\\plain\\f0\\fs" + std::to_string(halfPoints);
        if (row.bold)
            out += "\\b";
        if (row.underline)
            out += "\\ul";
        if (!row.text.empty()) {
            // The blank ends the control word; a blank at the start of the
            // text follows it and is kept.
            out += ' ';
            AppendText(out, row.text);
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

} // namespace mirovax
