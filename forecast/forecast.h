#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Upper-air forecasts read from GRIB2 files: the earth-relative wind and the
// temperature on isobaric levels, on one regular latitude-longitude grid, at
// one or more validity times. No Qt.
namespace mirovax {

// A regular latitude-longitude grid as stored here: rows from south to north,
// columns from west to east, whatever the file's scanning order. The value of
// row r, column c is at index r * columns + c.
struct ForecastGrid {
    double southLatitude = 0; // degrees, the first row
    double westLongitude = 0; // degrees in [0, 360), the first column
    double latitudeStep = 0; // degrees between rows, > 0
    double longitudeStep = 0; // degrees between columns, > 0
    std::size_t rows = 0;
    std::size_t columns = 0;
    // The columns go round the earth: after the last column comes the first.
    bool global = false;
};

// One isobaric level at one validity time.
struct ForecastLevel {
    double pressureHpa = 0;
    std::vector<double> u; // m/s towards the east; NaN where the file has no value
    std::vector<double> v; // m/s towards the north; NaN where missing
    std::vector<double> temperature; // K; NaN where missing; empty when the file has none at this level
};

struct ForecastTime {
    int runDate = 0; // the model run, yyyymmdd
    int runTime = 0; // hhmm, UTC
    int stepHours = 0; // from the run to the validity time
    int validityDate = 0; // yyyymmdd
    int validityTime = 0; // hhmm, UTC
    // Each level holding both u and v, highest pressure (lowest level) first.
    std::vector<ForecastLevel> levels;
};

struct Forecast {
    std::string model; // "GFS", "ECMWF" or the centre's abbreviation
    ForecastGrid grid;
    std::vector<ForecastTime> times; // earliest validity first
};

// Why a forecast cannot be read or used: one sentence for the user, naming
// the file where it is about one.
class ForecastError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a GRIB2 file. Throws ForecastError.
Forecast ReadForecast(const std::string& path);
// The same from bytes already in memory; name stands for the file in messages.
Forecast ParseForecast(std::span<const unsigned char> bytes, const std::string& name);

// "GFS 2026-12-08 12 UTC +6 h": the model, its run and the step.
std::string ForecastTimeLabel(const Forecast& forecast, const ForecastTime& time);
// "valid 2026-12-08 18 UTC"
std::string ForecastValidityText(const ForecastTime& time);
// "10 levels, 1000 to 100 hPa"
std::string ForecastLevelsText(const ForecastTime& time);

} // namespace mirovax
