// Reading a global 0.25 degree GRIB2 forecast (1440 x 721 points) with u, v
// and temperature on ten pressure levels, as a GFS run's file holds them.
// Target: at most 1.5 s per load and at most 400 MB resident at the peak.
#include "forecast/forecast.h"

#include "grib_writer.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>

namespace {

constexpr double kLevels[] = {1000, 925, 850, 700, 500, 400, 300, 250, 200, 100};

// Writes the file once per packing, a message at a time so that writing it
// never holds more than one field.
std::string GlobalFile(const std::string& packing)
{
    std::string path
        = (std::filesystem::temp_directory_path() / ("mirovax-forecast-bench-" + packing + ".grib2"))
              .string();
    if (std::filesystem::exists(path))
        return path;
    const std::string partial = path + ".part";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    using mirovax::testing::GribParameter;
    for (const double hpa : kLevels) {
        for (const GribParameter parameter :
            {GribParameter::U, GribParameter::V, GribParameter::Temperature}) {
            mirovax::testing::GribField field;
            field.parameter = parameter;
            field.pressureHpa = hpa;
            field.grid = {90, 0, -90, 359.75, 0.25, 0.25, 1440, 721, 0};
            field.packingType = packing;
            field.bitsPerValue = 16;
            const double scale = hpa / 1000;
            field.value = [parameter, scale](double lat, double lon) {
                const double phi = lat * std::numbers::pi / 180;
                const double lambda = lon * std::numbers::pi / 180;
                if (parameter == GribParameter::Temperature)
                    return 288 - 70 * (1 - scale) - 30 * std::sin(phi) * std::sin(phi);
                return 40 * std::cos(phi) * std::cos(2 * phi) / scale + 8 * std::sin(3 * lambda);
            };
            std::string bytes;
            mirovax::testing::AppendGribMessage(bytes, field);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
    }
    out.close();
    std::filesystem::rename(partial, path);
    return path;
}

void LoadGlobalForecast(benchmark::State& state, const std::string& packing)
{
    const std::string path = GlobalFile(packing);
    for (auto _ : state) {
        const mirovax::Forecast forecast = mirovax::ReadForecast(path);
        benchmark::DoNotOptimize(forecast.times.front().levels.back().temperature.back());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK_CAPTURE(LoadGlobalForecast, simple16, std::string("grid_simple"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(LoadGlobalForecast, complex16, std::string("grid_complex_spatial_differencing"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
