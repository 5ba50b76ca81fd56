#include "output/text_encoding.h"

#include <array>

namespace mirovax {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool InRange(unsigned char b, unsigned char low, unsigned char high)
{
    return b >= low && b <= high;
}

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

std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        // Length of the sequence and the range its second byte must lie in;
        // the narrower ranges exclude overlong forms, surrogates and values
        // beyond U+10FFFF.
        size_t length = 0;
        unsigned char secondLow = 0x80;
        unsigned char secondHigh = 0xBF;
        char32_t value = 0;
        if (InRange(lead, 0xC2, 0xDF)) {
            length = 2;
            value = lead & 0x1Fu;
        } else if (InRange(lead, 0xE0, 0xEF)) {
            length = 3;
            value = lead & 0x0Fu;
            if (lead == 0xE0)
                secondLow = 0xA0;
            else if (lead == 0xED)
                secondHigh = 0x9F;
        } else if (InRange(lead, 0xF0, 0xF4)) {
            length = 4;
            value = lead & 0x07u;
            if (lead == 0xF0)
                secondLow = 0x90;
            else if (lead == 0xF4)
                secondHigh = 0x8F;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        size_t taken = 1;
        bool valid = true;
        for (; taken < length; ++taken) {
            if (i + taken >= text.size()) {
                valid = false;
                break;
            }
            const auto b = static_cast<unsigned char>(text[i + taken]);
            const bool fits = taken == 1 ? InRange(b, secondLow, secondHigh) : InRange(b, 0x80, 0xBF);
            if (!fits) {
                valid = false;
                break;
            }
            value = (value << 6) | (b & 0x3Fu);
        }
        out.push_back(valid ? value : kReplacement);
        i += taken;
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

} // namespace mirovax
