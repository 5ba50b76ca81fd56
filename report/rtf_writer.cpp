#include "report/rtf_writer.h"

#include "report/report_text.h"

#include <algorithm>

namespace mirovax {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes the code page
// leaves undefined. Bytes 0xA0 to 0xFF equal U+00A0 to U+00FF.
constexpr char32_t kCp1252High[32] = {
    0x20AC,
    0,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0,
    0x017D,
    0,
    0,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0,
    0x017E,
    0x0178,
};

// The Windows-1252 byte for a non-ASCII code point, or 0 when it has none.
unsigned Cp1252Byte(char32_t c)
{
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<unsigned>(c);
    for (unsigned i = 0; i < 32; ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == c)
            return 0x80 + i;
    }
    return 0;
}

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
            AppendUnicodeUnit(out, static_cast<unsigned>(c), Cp1252Byte(c));
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
