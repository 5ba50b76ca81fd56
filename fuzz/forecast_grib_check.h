#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirovax {

// One input of the GRIB2 reader's fuzz target: a file's bytes. The reader
// may refuse them with ForecastError and nothing else; a forecast it returns
// has at least one time, times in strictly increasing validity, each with
// levels of strictly decreasing pressure, a grid of at least two rows and
// columns with positive steps and its west longitude in [0, 360), and
// values of the grid's size. Returns an empty text when all of that holds,
// otherwise what went wrong.
std::string CheckForecastGrib(const std::uint8_t* data, std::size_t size);

} // namespace mirovax
