#pragma once

#include <array>
#include <charconv>
#include <string>

namespace mirovax {

// SVG user units with two decimals, "." whatever the locale.
inline std::string SvgCoord(double value)
{
    std::array<char, 64> buffer{};
    const auto result
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    return std::string(buffer.data(), result.ptr);
}

} // namespace mirovax
