#include "forecast_grib_check.h"

#include "forecast/forecast.h"

#include <exception>
#include <span>
#include <utility>

namespace mirovax {

std::string CheckForecastGrib(const std::uint8_t* data, std::size_t size)
{
    Forecast forecast;
    try {
        forecast = ParseForecast(std::span<const unsigned char>(data, size), "input.grib2");
    } catch (const ForecastError& e) {
        if (std::string(e.what()).rfind("input.grib2: ", 0) != 0)
            return std::string("a refusal that does not name the file: ") + e.what();
        return "";
    } catch (const std::exception& e) {
        return std::string("unexpected error from the reader: ") + e.what();
    }
    const ForecastGrid& grid = forecast.grid;
    if (grid.rows < 2 || grid.columns < 2 || !(grid.latitudeStep > 0) || !(grid.longitudeStep > 0)
        || !(grid.westLongitude >= 0 && grid.westLongitude < 360) || !(grid.southLatitude >= -90)
        || !(grid.southLatitude + static_cast<double>(grid.rows - 1) * grid.latitudeStep <= 90.001))
        return "a grid that is not on the earth";
    if (forecast.times.empty() || forecast.model.empty())
        return "a forecast without times or model";
    const std::size_t points = grid.rows * grid.columns;
    for (std::size_t i = 0; i < forecast.times.size(); ++i) {
        const ForecastTime& time = forecast.times[i];
        if (i > 0
            && std::pair(forecast.times[i - 1].validityDate, forecast.times[i - 1].validityTime)
                >= std::pair(time.validityDate, time.validityTime))
            return "times out of order";
        if (time.levels.empty())
            return "a time without levels";
        for (std::size_t l = 0; l < time.levels.size(); ++l) {
            const ForecastLevel& level = time.levels[l];
            if (l > 0 && !(time.levels[l - 1].pressureHpa > level.pressureHpa))
                return "levels out of order";
            if (!(level.pressureHpa > 0) || level.u.size() != points || level.v.size() != points
                || (!level.temperature.empty() && level.temperature.size() != points))
                return "a level of the wrong size or pressure";
        }
        if (ForecastTimeLabel(forecast, time).empty() || ForecastValidityText(time).empty()
            || ForecastLevelsText(time).empty())
            return "an empty label";
    }
    return "";
}

} // namespace mirovax
