#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirovax {

// One input of the number conversion fuzz target: a field's text. The
// conversion must name a position within the text (or one past it) when it
// fails; when it succeeds the value must be finite, must be what a plain
// C-locale reading of the text gives, and the general number format of it
// must convert again to within its 15 digits. ReadInputs must report the
// same position when every field holds the text. Returns an empty text when
// that holds, otherwise what went wrong.
std::string CheckConvertNumber(const std::uint8_t* data, std::size_t size);

} // namespace mirovax
