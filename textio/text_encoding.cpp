#include "textio/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace mirovax {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool InRange(unsigned char b, unsigned char low, unsigned char high)
{
    return b >= low && b <= high;
}

// The bytes that start a UTF-8 sequence: its length, the bits of the lead
// byte that belong to the value, and the range the second byte must lie in.
// The narrower ranges exclude overlong forms, surrogates and values beyond
// U+10FFFF.
struct Lead {
    unsigned char low, high;
    size_t length;
    unsigned char mask;
    unsigned char secondLow, secondHigh;
};

constexpr std::array<Lead, 8> kLeads = {{
    {0xC2, 0xDF, 2, 0x1F, 0x80, 0xBF},
    {0xE0, 0xE0, 3, 0x0F, 0xA0, 0xBF},
    {0xE1, 0xEC, 3, 0x0F, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x0F, 0x80, 0x9F},
    {0xEE, 0xEF, 3, 0x0F, 0x80, 0xBF},
    {0xF0, 0xF0, 4, 0x07, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x07, 0x80, 0xBF},
    {0xF4, 0xF4, 4, 0x07, 0x80, 0x8F},
}};

// Bytes 0x80 to 0x9F of Windows-1252.
constexpr std::array<char32_t, 32> kHighBytes = {
    0x20AC,
    0x0081,
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
    0x008D,
    0x017D,
    0x008F,
    0x0090,
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
    0x009D,
    0x017E,
    0x0178,
};

} // namespace

Utf8Character DecodeUtf8Character(std::string_view text)
{
    const auto byte = static_cast<unsigned char>(text.front());
    if (byte < 0x80)
        return {byte, 1, true};
    const auto lead = std::find_if(
        kLeads.begin(), kLeads.end(), [&](const Lead& l) { return InRange(byte, l.low, l.high); });
    if (lead == kLeads.end())
        return {kReplacement, 1, false};
    auto value = static_cast<char32_t>(byte & lead->mask);
    for (size_t taken = 1; taken < lead->length; ++taken) {
        if (taken >= text.size())
            return {kReplacement, taken, false};
        const auto b = static_cast<unsigned char>(text[taken]);
        const bool fits = taken == 1 ? InRange(b, lead->secondLow, lead->secondHigh) : InRange(b, 0x80, 0xBF);
        if (!fits)
            return {kReplacement, taken, false};
        value = (value << 6) | (b & 0x3Fu);
    }
    return {value, lead->length, true};
}

std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Utf8Character c = DecodeUtf8Character(text);
        out.push_back(c.value);
        text.remove_prefix(c.length);
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view codePoints)
{
    std::string out;
    out.reserve(codePoints.size());
    for (char32_t c : codePoints) {
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            c = kReplacement;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string MarkupText(std::string_view text)
{
    std::string out;
    for (const char ch : EncodeUtf8(DecodeUtf8(text))) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t' || ch == '\n')
                out += ch;
        }
    }
    return out;
}

char32_t Windows1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighBytes[byte - 0x80u];
    return byte;
}

int UnicodeToWindows1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (unsigned i = 0; i < kHighBytes.size(); ++i) {
        if (kHighBytes[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

namespace {

std::string CodePointName(char32_t c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

} // namespace

std::string DecodeWindows1252(std::string_view bytes)
{
    std::u32string codePoints;
    codePoints.reserve(bytes.size());
    for (const char ch : bytes)
        codePoints.push_back(Windows1252ToUnicode(static_cast<unsigned char>(ch)));
    return EncodeUtf8(codePoints);
}

std::string EncodeWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const Utf8Character c = DecodeUtf8Character(utf8.substr(i));
        if (!c.valid)
            throw std::invalid_argument("not valid UTF-8 at byte " + std::to_string(i + 1));
        const int b = UnicodeToWindows1252(c.value);
        if (b < 0) {
            throw std::invalid_argument("the character " + CodePointName(c.value) + " \""
                + std::string(utf8.substr(i, c.length)) + "\" has no Windows-1252 code");
        }
        out += static_cast<char>(b);
        i += c.length;
    }
    return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace mirovax
