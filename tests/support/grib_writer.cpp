#include "grib_writer.h"

#include <eccodes.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

namespace mirovax::testing {

namespace {

struct HandleDelete {
    void operator()(codes_handle* h) const { codes_handle_delete(h); }
};
using Handle = std::unique_ptr<codes_handle, HandleDelete>;

constexpr double kMissing = 9.999e20;

void Check(int err, const std::string& what)
{
    if (err != 0)
        throw std::runtime_error("GRIB writer: " + what + ": " + codes_get_error_message(err));
}

void SetLong(codes_handle* h, const std::string& key, long value)
{
    Check(codes_set_long(h, key.c_str(), value), key);
}

void SetDouble(codes_handle* h, const std::string& key, double value)
{
    Check(codes_set_double(h, key.c_str(), value), key);
}

void SetString(codes_handle* h, const std::string& key, const std::string& value)
{
    std::size_t length = value.size();
    Check(codes_set_string(h, key.c_str(), value.c_str(), &length), key);
}

Handle FromSample(const std::string& sample)
{
    Handle h(codes_grib_handle_new_from_samples(nullptr, sample.c_str()));
    if (!h)
        throw std::runtime_error("GRIB writer: no sample " + sample);
    return h;
}

void AppendMessage(std::string& bytes, codes_handle* h)
{
    const void* message = nullptr;
    std::size_t size = 0;
    Check(codes_get_message(h, &message, &size), "message");
    bytes.append(static_cast<const char*>(message), size);
}

// The values in the file's scanning order, from the south-to-north,
// west-to-east ones.
std::vector<double> InFileOrder(const GribGrid& grid, const std::vector<double>& stored)
{
    const auto columns = static_cast<std::size_t>(grid.columns);
    const auto rows = static_cast<std::size_t>(grid.rows);
    const bool iNegative = (grid.scanningMode & 128) != 0;
    const bool jPositive = (grid.scanningMode & 64) != 0;
    const bool jConsecutive = (grid.scanningMode & 32) != 0;
    std::vector<double> file(stored.size());
    for (std::size_t k = 0; k < file.size(); ++k) {
        const std::size_t i = jConsecutive ? k / rows : k % columns;
        const std::size_t j = jConsecutive ? k % rows : k / columns;
        const std::size_t column = iNegative ? columns - 1 - i : i;
        const std::size_t row = jPositive ? j : rows - 1 - j;
        file[k] = stored[row * columns + column];
    }
    return file;
}

} // namespace

void AppendGribMessage(std::string& bytes, const GribField& field)
{
    const Handle handle = FromSample(field.sample);
    codes_handle* h = handle.get();
    SetString(h, "centre", field.centre);
    SetLong(h, "generatingProcessIdentifier", field.generatingProcess);
    const struct {
        long discipline, category, number;
    } parameters[] = {{0, 2, 2}, {0, 2, 3}, {0, 0, 0}, {0, 1, 0}};
    const auto& parameter = parameters[static_cast<int>(field.parameter)];
    SetLong(h, "discipline", parameter.discipline);
    SetLong(h, "parameterCategory", parameter.category);
    SetLong(h, "parameterNumber", parameter.number);
    SetLong(h, "typeOfFirstFixedSurface", 100);
    // Pascals with as many decimals as the pressure needs.
    long scale = 0;
    double pascals = field.pressureHpa * 100;
    while (pascals != std::floor(pascals) && scale < 6) {
        pascals *= 10;
        ++scale;
    }
    SetLong(h, "scaleFactorOfFirstFixedSurface", scale);
    SetLong(h, "scaledValueOfFirstFixedSurface", std::lround(pascals));
    SetLong(h, "dataDate", field.runDate);
    SetLong(h, "dataTime", field.runTime);
    SetLong(h, "stepUnits", 1);
    SetLong(h, "forecastTime", field.stepHours);

    const bool regular = field.sample.rfind("regular_ll", 0) == 0;
    std::vector<double> values;
    if (regular) {
        const GribGrid& g = field.grid;
        SetLong(h, "Ni", g.columns);
        SetLong(h, "Nj", g.rows);
        SetDouble(h, "latitudeOfFirstGridPointInDegrees", g.firstLatitude);
        SetDouble(h, "longitudeOfFirstGridPointInDegrees", g.firstLongitude);
        SetDouble(h, "latitudeOfLastGridPointInDegrees", g.lastLatitude);
        SetDouble(h, "longitudeOfLastGridPointInDegrees", g.lastLongitude);
        SetDouble(h, "iDirectionIncrementInDegrees", g.longitudeStep);
        SetDouble(h, "jDirectionIncrementInDegrees", g.latitudeStep);
        SetLong(h, "scanningMode", g.scanningMode);
        std::vector<double> stored = field.values;
        if (stored.empty()) {
            stored.assign(static_cast<std::size_t>(g.columns * g.rows), 0.0);
            const double south = std::min(g.firstLatitude, g.lastLatitude);
            const double west = (g.scanningMode & 128) != 0 ? g.lastLongitude : g.firstLongitude;
            for (long r = 0; field.value && r < g.rows; ++r) {
                for (long c = 0; c < g.columns; ++c)
                    stored[static_cast<std::size_t>(r * g.columns + c)]
                        = field.value(south + static_cast<double>(r) * g.latitudeStep,
                            west + static_cast<double>(c) * g.longitudeStep);
            }
        }
        values = InFileOrder(g, stored);
    } else {
        long points = 0;
        Check(codes_get_long(h, "numberOfDataPoints", &points), "numberOfDataPoints");
        values.assign(static_cast<std::size_t>(points), 0.0);
    }
    if (regular || field.windRelativeToGrid)
        SetLong(h, "uvRelativeToGrid", field.windRelativeToGrid ? 1 : 0);
    // IEEE packing is chosen before the values; the others after them, which
    // ecCodes needs for complex packing.
    const bool ieee = field.packingType == "grid_ieee";
    if (ieee) {
        SetString(h, "packingType", field.packingType);
        SetLong(h, "precision", 2);
    } else {
        SetLong(h, "bitsPerValue", field.bitsPerValue);
    }
    bool missing = false;
    for (double& value : values) {
        if (std::isnan(value)) {
            value = kMissing;
            missing = true;
        }
    }
    if (missing) {
        SetLong(h, "bitmapPresent", 1);
        SetDouble(h, "missingValue", kMissing);
    }
    Check(codes_set_double_array(h, "values", values.data(), values.size()), "values");
    if (!ieee)
        SetString(h, "packingType", field.packingType);
    for (const auto& [key, value] : field.overrides)
        SetLong(h, key, value);
    AppendMessage(bytes, h);
}

std::string UniformNorthWindForecast(const GribGrid& grid,
    const std::vector<std::pair<long, double>>& stepWinds,
    const std::vector<std::pair<double, double>>& levelTemperatures)
{
    std::string bytes;
    for (const auto& [step, knots] : stepWinds) {
        for (const auto& [pressure, celsius] : levelTemperatures) {
            GribField field;
            field.grid = grid;
            field.pressureHpa = pressure;
            field.stepHours = step;
            const double northward = -knots * 1852.0 / 3600.0;
            const double kelvin = celsius + 273.15;
            for (const auto& [parameter, uniform] : {std::pair{GribParameter::U, 0.0},
                     {GribParameter::V, northward}, {GribParameter::Temperature, kelvin}}) {
                field.parameter = parameter;
                field.value = [v = uniform](double, double) { return v; };
                AppendGribMessage(bytes, field);
            }
        }
    }
    return bytes;
}

void AppendGribSample(std::string& bytes, const std::string& sample)
{
    const Handle h = FromSample(sample);
    AppendMessage(bytes, h.get());
}

std::span<const unsigned char> AsBytes(const std::string& bytes)
{
    return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

} // namespace mirovax::testing
