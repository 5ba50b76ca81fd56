#include "forecast/route_weather.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace mirovax {
namespace {

constexpr double kMsPerKt = 1852.0 / 3600.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kRadian = std::numbers::pi / 180;

using Field = std::function<double(double latitude, double longitude)>;

ForecastGrid Global2Deg(double westLongitude = 0)
{
    // No poles: rows from 89 S to 89 N.
    return {-89.0, westLongitude, 2.0, 2.0, 90, 180, true};
}

ForecastLevel MakeLevel(
    const ForecastGrid& grid, double pressureHpa, const Field& u, const Field& v, const Field& temperature)
{
    ForecastLevel level;
    level.pressureHpa = pressureHpa;
    for (std::size_t r = 0; r < grid.rows; ++r) {
        for (std::size_t c = 0; c < grid.columns; ++c) {
            const double latitude = grid.southLatitude + static_cast<double>(r) * grid.latitudeStep;
            const double longitude = grid.westLongitude + static_cast<double>(c) * grid.longitudeStep;
            level.u.push_back(u(latitude, longitude));
            level.v.push_back(v(latitude, longitude));
            if (temperature)
                level.temperature.push_back(temperature(latitude, longitude));
        }
    }
    return level;
}

Field Constant(double value)
{
    return [value](double, double) { return value; };
}

// One time with the field at 300 and 200 hPa alike, around FL300 to FL390.
Forecast MakeForecast(const ForecastGrid& grid, const Field& u, const Field& v, const Field& temperature = {})
{
    Forecast forecast;
    forecast.grid = grid;
    forecast.times.resize(1);
    forecast.times[0].levels.push_back(MakeLevel(grid, 300, u, v, temperature));
    forecast.times[0].levels.push_back(MakeLevel(grid, 200, u, v, temperature));
    return forecast;
}

RouteWeatherSamples Sample(const Forecast& forecast, std::vector<RoutePoint> route, double flightLevel = 340)
{
    return SampleRouteWeather(forecast, forecast.times[0], route, flightLevel);
}

std::string ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const ForecastError& error) {
        return error.what();
    }
    return "no error";
}

std::string SampleError(const Forecast& forecast, std::vector<RoutePoint> route, double flightLevel = 340)
{
    return ErrorOf([&] { Sample(forecast, std::move(route), flightLevel); });
}

// The ICAO standard atmosphere's table.
TEST(RouteWeather, StandardPressureFollowsTheStandardAtmosphere)
{
    const struct {
        double flightLevel;
        double pressureHpa;
    } cases[] = {{0, 1013.25}, {300, 300.90}, {340, 249.99}, {11000 / 0.3048 / 100, 226.32}, {390, 196.77},
        {500, 115.97}};
    for (const auto& c : cases)
        EXPECT_NEAR(StandardPressureHpa(c.flightLevel), c.pressureHpa, 0.006) << "FL" << c.flightLevel;
    // The two layers meet at 11 km.
    const double tropopause = 11000 / 0.3048 / 100;
    EXPECT_NEAR(StandardPressureHpa(tropopause - 1e-10), StandardPressureHpa(tropopause + 1e-10), 1e-9);
}

TEST(RouteWeather, UniformWesterlyGivesTheWindAlongEachTrack)
{
    const double westerlyKt = 40;
    const Forecast forecast = MakeForecast(Global2Deg(), Constant(westerlyKt * kMsPerKt), Constant(0));
    const struct {
        RoutePoint from, to;
        double trackDeg, headwindKt;
    } cases[] = {
        {{0, 10}, {0, 40}, 90, -westerlyKt}, // eastbound on the equator
        {{0, 40}, {0, 10}, 270, westerlyKt},
        {{10, 20}, {40, 20}, 0, 0}, // northbound on a meridian
        {{40, -20}, {10, -20}, 180, 0},
    };
    for (const auto& c : cases) {
        const RouteWeatherSamples weather = Sample(forecast, {c.from, c.to});
        // 30 degrees in pieces of at most half the 2 degree step.
        ASSERT_EQ(weather.samples.size(), 30u);
        EXPECT_EQ(weather.missing, 0u);
        for (const RouteSample& s : weather.samples) {
            EXPECT_NEAR(std::remainder(s.trackDeg - c.trackDeg, 360), 0, 1e-9);
            EXPECT_NEAR(s.headwindKt, c.headwindKt, 1e-9);
            EXPECT_NEAR(s.lengthNm, 60, 1e-9);
            EXPECT_TRUE(std::isnan(s.temperatureC));
        }
        EXPECT_NEAR(TimeCorrectHeadwind(weather, 450), c.headwindKt, 1e-9);
        EXPECT_TRUE(std::isnan(MeanTemperature(weather)));
    }

    // From 50 N 0 E to 50 N 90 E, 54.07 degrees of arc: the great circle
    // starts on a course of atan(1 / sin 50) = 52.55 degrees, is due east at
    // 59.32 N 45 E and ends on 127.45, symmetrically; the wind is the
    // westerly's share along it.
    const RouteWeatherSamples arc = Sample(forecast, {{50, 0}, {50, 90}});
    const std::size_t n = arc.samples.size();
    ASSERT_EQ(n, 55u);
    const RouteSample& middle = arc.samples[n / 2];
    EXPECT_NEAR(middle.trackDeg, 90, 1e-9);
    EXPECT_NEAR(middle.point.longitude, 45, 1e-9);
    EXPECT_NEAR(middle.point.latitude, 59.3179438, 1e-6);
    EXPECT_GT(arc.samples.front().trackDeg, 52.5462804);
    EXPECT_LT(arc.samples.front().trackDeg, 53.5);
    for (std::size_t i = 0; i < n; ++i) {
        const RouteSample& s = arc.samples[i];
        EXPECT_NEAR(s.trackDeg + arc.samples[n - 1 - i].trackDeg, 180, 1e-9);
        EXPECT_NEAR(s.headwindKt, -westerlyKt * std::sin(s.trackDeg * kRadian), 1e-9);
        if (i > 0) {
            // Successive samples no further apart than the piece length, a
            // piece no longer than half the grid step (60 NM to the degree).
            const RouteSample& p = arc.samples[i - 1];
            const double d
                = std::acos(std::sin(p.point.latitude * kRadian) * std::sin(s.point.latitude * kRadian)
                      + std::cos(p.point.latitude * kRadian) * std::cos(s.point.latitude * kRadian)
                          * std::cos((s.point.longitude - p.point.longitude) * kRadian))
                / kRadian * 60;
            EXPECT_NEAR(d, s.lengthNm, 1e-6);
            EXPECT_LE(s.lengthNm, 60);
        }
    }
}

// u from -50 kt at 0 E to +50 kt at 40 E: eastbound at true airspeed V the
// flight time is the integral of dx / (V + u(x)), so the time-correct headwind
// is V - 100 / ln((V + 50) / (V - 50)); the plain mean is 0, and the headwind
// half weighs more, being flown for longer.
TEST(RouteWeather, TimeCorrectHeadwindWeighsTheSlowerHalfMore)
{
    const Forecast forecast = MakeForecast(
        Global2Deg(), [](double, double lon) { return (lon <= 180 ? -50 + 2.5 * lon : 0) * kMsPerKt; },
        Constant(0), [](double, double lon) { return 220 + 0.5 * lon; });
    const RouteWeatherSamples weather = Sample(forecast, {{0, 0}, {0, 40}});
    ASSERT_EQ(weather.samples.size(), 40u);
    double meanHeadwind = 0;
    for (const RouteSample& s : weather.samples)
        meanHeadwind += s.headwindKt / 40;
    EXPECT_NEAR(meanHeadwind, 0, 1e-9);
    const double tas = 200;
    const double exact = tas - 100 / std::log((tas + 50) / (tas - 50));
    EXPECT_NEAR(exact, 4.2385, 1e-4);
    EXPECT_NEAR(TimeCorrectHeadwind(weather, tas), exact, 0.01);
    // Linear temperature: the mean is the middle's, 230 K.
    EXPECT_NEAR(MeanTemperature(weather), -43.15, 1e-9);

    EXPECT_EQ(ErrorOf([&] { TimeCorrectHeadwind(weather, 48); }),
        "The headwind of 49 kts at 0.00 N 0.50 E reaches the true airspeed, 48 kts.");
    EXPECT_EQ(ErrorOf([&] { TimeCorrectHeadwind(weather, 0); }),
        "The true airspeed for the route's wind must be above 0 kts.");
}

TEST(RouteWeather, LevelsInterpolateInTheLogarithmOfPressure)
{
    const ForecastGrid grid = Global2Deg();
    Forecast forecast;
    forecast.grid = grid;
    forecast.times.resize(1);
    std::vector<ForecastLevel>& levels = forecast.times[0].levels;
    levels.push_back(MakeLevel(grid, 400, Constant(kNaN), Constant(kNaN), {}));
    levels.push_back(MakeLevel(grid, 300, Constant(10 * kMsPerKt), Constant(0), Constant(230)));
    levels.push_back(MakeLevel(grid, 200, Constant(30 * kMsPerKt), Constant(0), Constant(220)));
    const std::vector<RoutePoint> east = {{0, 0}, {0, 4}};

    // FL340 is 249.99 hPa: ln(300 / 249.99) / ln(300 / 200) = 0.44976 of
    // the way from 300 to 200 hPa.
    const RouteWeatherSamples between = Sample(forecast, east, 340);
    EXPECT_NEAR(between.pressureHpa, 249.9899, 1e-4);
    EXPECT_NEAR(between.samples[0].headwindKt, -18.9952, 1e-4);
    EXPECT_NEAR(between.samples[0].temperatureC, 225.5024 - 273.15, 1e-4);

    // On a level: that level alone, whatever its neighbour holds.
    levels[1].pressureHpa = StandardPressureHpa(300);
    const RouteWeatherSamples on = Sample(forecast, east, 300);
    EXPECT_NEAR(on.samples[0].headwindKt, -10, 1e-9);
    EXPECT_NEAR(on.samples[0].temperatureC, 230 - 273.15, 1e-9);

    EXPECT_EQ(SampleError(forecast, east, 450),
        "FL450 (147.5 hPa) is outside the forecast's levels, 400 to 200 hPa.");
    EXPECT_EQ(
        SampleError(forecast, east, 0), "FL0 (1013.2 hPa) is outside the forecast's levels, 400 to 200 hPa.");
}

// u is the longitude's distance east of 180 (kt), so that the samples around
// the antimeridian read it from the columns on both sides: the global grid's
// last and first (its columns start at 181 E), and the middle of a regional
// grid from 160 to 200 E.
TEST(RouteWeather, RoutesCrossTheAntimeridianTheShortWay)
{
    const Field fromDateLine = [](double, double lon) { return std::remainder(lon - 180, 360) * kMsPerKt; };
    const ForecastGrid regional = {-20, 160, 2, 2, 21, 21, false};
    const ForecastGrid southern = {-20, 160, 2, 2, 11, 21, false}; // up to the equator
    for (const ForecastGrid& grid : {Global2Deg(181), regional}) {
        const Forecast forecast = MakeForecast(grid, fromDateLine, Constant(0));
        const RouteWeatherSamples weather = Sample(forecast, {{0, 170}, {0, -170}});
        ASSERT_EQ(weather.samples.size(), 20u);
        for (const RouteSample& s : weather.samples) {
            EXPECT_NEAR(s.trackDeg, 90, 1e-9);
            EXPECT_NEAR(s.headwindKt, -std::remainder(s.point.longitude - 180, 360), 1e-9);
        }
        EXPECT_NEAR(weather.samples[9].point.longitude, 179.5, 1e-9);
        EXPECT_NEAR(weather.samples[10].point.longitude, -179.5, 1e-9);
        EXPECT_NEAR(weather.samples[10].headwindKt, -0.5, 1e-9);
    }

    // The regional grid's edges: along its last column and row, and out.
    const Forecast forecast = MakeForecast(regional, fromDateLine, Constant(0));
    EXPECT_EQ(Sample(forecast, {{-10, 200}, {20, 200}}).samples.size(), 30u);
    EXPECT_EQ(
        Sample(MakeForecast(southern, fromDateLine, Constant(0)), {{0, 165}, {0, 175}}).samples.size(), 10u);
    EXPECT_EQ(SampleError(forecast, {{0, 170}, {0, -150}}),
        "The route leaves the forecast's area at 0.00 N 159.50 W.");
    EXPECT_EQ(SampleError(forecast, {{0, 170}, {30, 170}}),
        "The route leaves the forecast's area at 20.50 N 170.00 E.");
}

TEST(RouteWeather, MissingValuesAreCountedOrRefused)
{
    // No wind at 20 E on the equator: the samples within a step of it go.
    const Field holed = [](double lat, double lon) { return lat == 1 && lon == 20 ? kNaN : 10.0; };
    const Field noTemperatureNorth = [](double lat, double) { return lat > 50 ? kNaN : 250.0; };
    const Forecast forecast = MakeForecast(Global2Deg(), holed, Constant(0), noTemperatureNorth);
    const RouteWeatherSamples weather = Sample(forecast, {{1, 10}, {1, 30}});
    EXPECT_EQ(weather.missing, 4u);
    EXPECT_EQ(weather.samples.size(), 16u);
    // Along the columns beside it, only the column's own values enter.
    EXPECT_EQ(Sample(forecast, {{-1, 18}, {3, 18}}).missing, 0u);
    EXPECT_EQ(Sample(forecast, {{-1, 22}, {3, 22}}).missing, 0u);
    // The samples keep their places and lengths around the hole.
    EXPECT_NEAR(weather.samples[8].point.longitude, 22.5, 0.01);

    // Temperature alone missing: the sample stays, without it.
    const RouteWeatherSamples north = Sample(forecast, {{47, 0}, {53, 0}});
    ASSERT_EQ(north.samples.size(), 6u);
    EXPECT_EQ(north.missing, 0u);
    EXPECT_NEAR(north.samples[1].temperatureC, 250 - 273.15, 1e-9);
    EXPECT_TRUE(std::isnan(north.samples[2].temperatureC));
    EXPECT_NEAR(MeanTemperature(north), 250 - 273.15, 1e-9);

    // Past the outermost row of a global grid, its values.
    EXPECT_EQ(Sample(forecast, {{85, 0}, {85, 180}}).samples.size(), 10u);

    const Forecast empty = MakeForecast(Global2Deg(), Constant(kNaN), Constant(0));
    EXPECT_EQ(SampleError(empty, {{0, 0}, {0, 5}}), "The forecast has no wind along the route at FL340.");
    EXPECT_EQ(SampleError(forecast, {{0, 0}}), "The route needs at least two points for its weather.");
    EXPECT_EQ(
        SampleError(forecast, {{0, 0}, {kNaN, 0}}), "The route's point 2 is not a position on the earth.");
    // Legs of no length add nothing; a leg to the antipode has no course.
    EXPECT_EQ(Sample(forecast, {{0, 0}, {0, 0}, {0, 1e-13}, {0, 3}}).samples.size(), 3u);
    EXPECT_EQ(SampleError(forecast, {{0, 0}, {0, 180}}),
        "The route goes between opposite points of the earth at 0.00 N 0.00 E: no single great circle "
        "joins them.");
}

} // namespace
} // namespace mirovax
