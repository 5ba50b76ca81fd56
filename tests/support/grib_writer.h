#pragma once

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

// GRIB2 messages written with ecCodes from its bundled samples, for the
// forecast tests, the fuzz seeds and the benchmark. No test framework.
namespace mirovax::testing {

// A regular latitude-longitude grid as the file declares it.
struct GribGrid {
    double firstLatitude = 50;
    double firstLongitude = 0;
    double lastLatitude = 40;
    double lastLongitude = 10;
    double latitudeStep = 1; // jDirectionIncrement
    double longitudeStep = 1; // iDirectionIncrement
    long columns = 11; // Ni
    long rows = 11; // Nj
    // The GRIB2 flags: 128 i scans negatively, 64 j scans positively,
    // 32 j points are consecutive. 0 is the usual north-to-south order.
    long scanningMode = 0;
};

enum class GribParameter { U, V, Temperature, Humidity };

struct GribField {
    GribParameter parameter = GribParameter::U;
    double pressureHpa = 250;
    long runDate = 20261208; // yyyymmdd
    long runTime = 1200; // hhmm
    long stepHours = 6;
    GribGrid grid;
    // The values from south to north, west to east (row r, column c at
    // r * columns + c), whatever the grid's scanning mode; NaN is a missing
    // point, written through a bitmap. When empty, value(latitude, longitude)
    // gives each point, or 0 when that is empty too.
    std::vector<double> values;
    std::function<double(double latitude, double longitude)> value;
    bool windRelativeToGrid = false;
    std::string centre = "kwbc";
    long generatingProcess = 96;
    // The ecCodes sample the message starts from; another grid type's sample
    // (e.g. "polar_stereographic_pl_grib2") keeps its own grid and gets
    // zeros for values.
    std::string sample = "regular_ll_pl_grib2";
    // "grid_ieee" with 64-bit precision reads back exactly; others (e.g.
    // "grid_simple", "grid_ccsds") with bitsPerValue.
    std::string packingType = "grid_ieee";
    long bitsPerValue = 16;
    // Keys set last, in this order, after the values: a message that
    // contradicts itself.
    std::vector<std::pair<std::string, long>> overrides;
};

// Appends one GRIB2 message; throws std::runtime_error naming the key
// ecCodes refused.
void AppendGribMessage(std::string& bytes, const GribField& field);

// Appends one of ecCodes's sample messages unchanged (e.g. "GRIB1").
void AppendGribSample(std::string& bytes, const std::string& sample);

// A forecast of uniform fields on grid: at each (step, wind) a north wind of
// that many kts and at each (pressure hPa, temperature deg C) that
// temperature, u, v and temperature at every point.
std::string UniformNorthWindForecast(const GribGrid& grid,
    const std::vector<std::pair<long, double>>& stepWinds,
    const std::vector<std::pair<double, double>>& levelTemperatures);

// The bytes as ParseForecast takes them.
std::span<const unsigned char> AsBytes(const std::string& bytes);

} // namespace mirovax::testing
