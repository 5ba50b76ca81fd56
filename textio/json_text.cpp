#include "textio/json_text.h"

#include "engine/text_format.h"
#include "textio/text_encoding.h"

#include <cmath>

namespace mirovax {

std::string JsonString(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (const char32_t c : DecodeUtf8(text)) {
        switch (c) {
        case U'"':
            out += "\\\"";
            break;
        case U'\\':
            out += "\\\\";
            break;
        case U'\n':
            out += "\\n";
            break;
        case U'\r':
            out += "\\r";
            break;
        case U'\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += EncodeUtf8(std::u32string_view(&c, 1));
            }
        }
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value)
{
    return std::isfinite(value) ? FormatRoundTrip(value) : "null";
}

} // namespace mirovax
