#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirovax {

// One input of the table import fuzz target. The first byte picks the kind
// (even: airplanes, odd: airports), the rest is the CSV text. The import must
// either refuse the text with an ImportError or accept it; a table it accepts
// must export to CSV that imports to the same table again. Returns an empty
// text when that holds, otherwise what went wrong.
std::string CheckTableImport(const std::uint8_t* data, std::size_t size);

} // namespace mirovax
