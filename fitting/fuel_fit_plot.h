#pragma once

#include "fitting/fuel_fit.h"

#include <string>
#include <vector>

namespace mirovax {

// The fit against the table as an SVG picture: one panel per kind of row
// (trip fuel against distance, one line per flight level and weight, and its
// relative residuals; holding
// flow against weight, one line per altitude; alternate fuel against
// distance, one line per weight), the tabulated values as dots and the
// program's figures with the fitted lines as lines, coloured alike. The
// caption carries the title (escaped) and the largest residual.
std::string FuelFitSvg(
    const std::vector<ManualTableRow>& rows, const FuelLineFit& fit, const std::string& title);

} // namespace mirovax
