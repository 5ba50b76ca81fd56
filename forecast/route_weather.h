#pragma once

#include "forecast/forecast.h"

#include <cstddef>
#include <span>
#include <vector>

// The wind and temperature a forecast gives along a route at one flight
// level. No Qt.
namespace mirovax {

struct RoutePoint {
    double latitude = 0; // degrees, north positive
    double longitude = 0; // degrees, east positive
};

// The pressure of a flight level (hundreds of feet, pressure altitude) in the
// standard atmosphere: the troposphere's lapse up to 11 km, isothermal above.
double StandardPressureHpa(double flightLevel);

// One sample of the route, standing for the piece of route around it.
struct RouteSample {
    RoutePoint point;
    double lengthNm = 0; // of the piece of route it stands for
    double trackDeg = 0; // local true track, degrees from north
    double headwindKt = 0; // -(u sin track + v cos track), kt
    double temperatureC = 0; // NaN where the forecast has no temperature
};

struct RouteWeatherSamples {
    std::vector<RouteSample> samples; // in flying order, those with values
    std::size_t missing = 0; // samples left out: the forecast has no value there
    double pressureHpa = 0; // of the flight level
};

// Samples the great circles between consecutive points at intervals no
// longer than half the grid's spacing, interpolating bilinearly in the grid
// and linearly in the logarithm of pressure between the two levels around
// the flight level. Beyond the outermost rows of a global grid without the
// poles, the outermost row's values. Throws ForecastError: fewer than two
// points, a route leaving a regional grid, a level outside the forecast's,
// no sample with a value.
RouteWeatherSamples SampleRouteWeather(const Forecast& forecast, const ForecastTime& time,
    std::span<const RoutePoint> route, double flightLevel);

// The headwind that gives the route's flight time at the true airspeed: the
// time-correct average, kt, headwind positive. Throws ForecastError where a
// sample's headwind reaches the true airspeed.
double TimeCorrectHeadwind(const RouteWeatherSamples& weather, double trueAirspeedKt);
// The distance-weighted mean temperature, deg C; NaN when no sample has one.
double MeanTemperature(const RouteWeatherSamples& weather);

} // namespace mirovax
