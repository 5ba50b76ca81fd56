#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirovax {

// One input of the fuel-fit fuzz target. The first byte says whether a dry
// operating weight is given (odd: 42600 kg), the rest is a manual's tables as
// CSV. Reading must refuse the text with an ImportError or accept it; the fit
// must refuse the rows with a FitRefused or give finite lines and residuals,
// whose plot and error check then run without fault. Returns an empty text
// when that holds, otherwise what went wrong.
std::string CheckFuelFit(const std::uint8_t* data, std::size_t size);

} // namespace mirovax
