#include "fuel_fit_check.h"

#include "fitting/fuel_fit.h"
#include "fitting/fuel_fit_plot.h"
#include "fitting/manual_tables.h"

#include <cmath>
#include <exception>
#include <string_view>

namespace mirovax {

std::string CheckFuelFit(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return "";
    FuelFitOptions options;
    options.hasDow = (data[0] & 1) != 0;
    options.dow = 42600;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<ManualTableRow> rows;
    try {
        rows = ParseManualTablesCsv(text);
    } catch (const ImportError&) {
        return "";
    } catch (const std::exception& error) {
        return std::string("reading threw another error: ") + error.what();
    }
    try {
        const FuelLineFit fit = FitFuelLines(rows, options);
        for (const NumericField& field : FuelLineFields()) {
            if (!std::isfinite(fit.lines.*field.member))
                return std::string("the fitted ") + field.name + " is not finite";
        }
        if (fit.residuals.size() != rows.size())
            return "not one residual per row";
        for (const FitResidual& r : fit.residuals) {
            if (!std::isfinite(r.fitted) || !std::isfinite(r.relative) || r.fitted < 0)
                return "a residual is not finite or a fitted fuel below 0";
        }
        const std::string svg = FuelFitSvg(rows, fit, "fuzz");
        if (svg.find("nan") != std::string::npos || svg.find("inf") != std::string::npos)
            return "the plot holds a number that is not finite";
        try {
            CheckFitError(fit, 0.10);
        } catch (const FitRefused&) { }
    } catch (const FitRefused&) {
        return "";
    } catch (const std::exception& error) {
        return std::string("the fit threw another error: ") + error.what();
    }
    return "";
}

} // namespace mirovax
