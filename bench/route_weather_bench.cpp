// The weather along a long route in a global 0.25 degree forecast: sampling,
// the time-correct headwind and the mean temperature.
// Target: at most 2 ms per route.
#include "forecast/route_weather.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using mirovax::Forecast;
using mirovax::ForecastLevel;
using mirovax::RoutePoint;

// 1440 x 721 points from pole to pole, ten levels from 1000 to 100 hPa: a
// jet stream at mid-latitudes, a wave in v, temperature falling with height.
Forecast GlobalForecast()
{
    Forecast forecast;
    forecast.model = "GFS";
    forecast.grid = {-90.0, 0.0, 0.25, 0.25, 721, 1440, true};
    forecast.times.resize(1);
    const double pressures[] = {1000, 925, 850, 700, 500, 400, 300, 250, 200, 100};
    const std::size_t points = forecast.grid.rows * forecast.grid.columns;
    constexpr double kRadian = std::numbers::pi / 180;
    for (const double pressure : pressures) {
        ForecastLevel level;
        level.pressureHpa = pressure;
        level.u.resize(points);
        level.v.resize(points);
        level.temperature.resize(points);
        const double strength = 60 * (1 - pressure / 1100);
        for (std::size_t r = 0; r < forecast.grid.rows; ++r) {
            const double latitude = -90 + 0.25 * static_cast<double>(r);
            const double jet = strength * std::exp(-std::pow((std::fabs(latitude) - 45) / 12, 2));
            for (std::size_t c = 0; c < forecast.grid.columns; ++c) {
                const double longitude = 0.25 * static_cast<double>(c);
                const std::size_t i = r * forecast.grid.columns + c;
                level.u[i] = jet + 5 * std::sin(3 * longitude * kRadian);
                level.v[i] = 10 * std::sin(4 * longitude * kRadian) * std::cos(latitude * kRadian);
                level.temperature[i] = 150 + 0.14 * pressure - 0.3 * std::fabs(latitude);
            }
        }
        forecast.times[0].levels.push_back(std::move(level));
    }
    return forecast;
}

// Tel Aviv to San Francisco by Greenland, 6,430 NM.
const std::vector<RoutePoint> kRoute
    = {{32.01, 34.89}, {51.9, 23.9}, {69.2, -3.1}, {72.5, -71.5}, {57.2, -109.0}, {37.62, -122.38}};

void RouteWeather(benchmark::State& state)
{
    const Forecast forecast = GlobalForecast();
    double distanceNm = 0;
    std::size_t samples = 0;
    for (auto _ : state) {
        const mirovax::RouteWeatherSamples weather
            = mirovax::SampleRouteWeather(forecast, forecast.times[0], kRoute, 370);
        benchmark::DoNotOptimize(mirovax::TimeCorrectHeadwind(weather, 480));
        benchmark::DoNotOptimize(mirovax::MeanTemperature(weather));
        samples = weather.samples.size();
        distanceNm = 0;
        for (const mirovax::RouteSample& sample : weather.samples)
            distanceNm += sample.lengthNm;
    }
    state.counters["samples"] = static_cast<double>(samples);
    state.counters["NM"] = distanceNm;
}
BENCHMARK(RouteWeather)->Unit(benchmark::kMicrosecond);

} // namespace
