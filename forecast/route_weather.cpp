#include "forecast/route_weather.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <string>

namespace mirovax {

namespace {

// The standard atmosphere below 20 km.
constexpr double kSeaLevelPressureHpa = 1013.25;
constexpr double kSeaLevelTemperatureK = 288.15;
constexpr double kLapseRateKPerM = 0.0065;
constexpr double kGravityMPerS2 = 9.80665;
constexpr double kGasConstantJPerKgK = 287.05287;
constexpr double kTropopauseM = 11000.0;
constexpr double kTropopauseTemperatureK = 216.65;
constexpr double kMetresPerFoot = 0.3048;

constexpr double kKelvinToCelsius = 273.15;
constexpr double kKnotsPerMPerS = 3600.0 / 1852.0;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// The airport table's earth: one nautical mile to the minute of arc.
constexpr double kNmPerRadian = 10800.0 / std::numbers::pi;

// A grid coordinate this close to a row or column (in steps, about a
// centimetre on a 0.1 degree grid) is on it: a sample computed on a row or
// column comes out a few ulps off.
constexpr double kEdgeTolerance = 1e-6;
// A leg whose length is a whole number of half steps is not split once more
// for a rounding error in its length.
constexpr double kPieceTolerance = 1e-9;
// Far more than a half-step split of the longest leg on any real grid needs
// (a 0.01 degree grid gives 36,000): a bound on the work a bad grid can ask.
constexpr double kMostPiecesPerLeg = 1e7;

double TroposphereHpa(double altitudeM)
{
    return kSeaLevelPressureHpa
        * std::pow(1.0 - kLapseRateKPerM * altitudeM / kSeaLevelTemperatureK,
            kGravityMPerS2 / (kLapseRateKPerM * kGasConstantJPerKgK));
}

// A number in a message; format holds one conversion of a double.
std::string Number(const char* format, double value)
{
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return text.data();
}

// "47.50 N 10.20 W"
std::string PositionText(double latitude, double longitude)
{
    longitude = std::remainder(longitude, 360.0);
    return Number("%.2f", std::fabs(latitude)) + (latitude < 0 ? " S " : " N ")
        + Number("%.2f", std::fabs(longitude)) + (longitude < 0 ? " W" : " E");
}

struct Vector3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

Vector3 operator*(double scale, const Vector3& a)
{
    return {scale * a.x, scale * a.y, scale * a.z};
}

Vector3 operator+(const Vector3& a, const Vector3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Norm(const Vector3& a)
{
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

Vector3 UnitVector(const RoutePoint& point)
{
    const double phi = point.latitude * kRadiansPerDegree;
    const double lambda = point.longitude * kRadiansPerDegree;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

// Where in the grid a position falls: the south-west corner of its cell and
// the fractions across it.
struct GridCell {
    std::size_t row = 0;
    std::size_t column = 0;
    std::size_t nextColumn = 0;
    double north = 0; // fraction of the step from row to row + 1
    double east = 0; // fraction from column to nextColumn
};

class GridLocator {
public:
    explicit GridLocator(const ForecastGrid& grid)
        : grid_(grid)
    {
        if (grid.rows < 2 || grid.columns < 2 || !(grid.latitudeStep > 0) || !(grid.longitudeStep > 0)
            || !std::isfinite(grid.latitudeStep) || !std::isfinite(grid.longitudeStep)
            || !std::isfinite(grid.southLatitude) || !std::isfinite(grid.westLongitude))
            throw ForecastError("The forecast's grid is not a grid of at least two rows and two columns.");
        const double lastRow = static_cast<double>(grid.rows - 1);
        const double northLatitude = grid.southLatitude + lastRow * grid.latitudeStep;
        // A global grid without the poles stops short of them by less than a
        // step; a route passing nearer the pole than the outermost row takes
        // that row's values (the nearest the forecast has) instead of being
        // refused. A grid stopping further from a pole is refused there.
        clampSouth_ = grid.global && grid.southLatitude - grid.latitudeStep < -90.0;
        clampNorth_ = grid.global && northLatitude + grid.latitudeStep > 90.0;
    }

    GridCell Locate(double latitude, double longitude) const
    {
        const double lastRow = static_cast<double>(grid_.rows - 1);
        const double lastColumn = static_cast<double>(grid_.columns - 1);
        double row = (latitude - grid_.southLatitude) / grid_.latitudeStep;
        if (row < 0) {
            if (row < -kEdgeTolerance && !clampSouth_)
                Leave(latitude, longitude);
            row = 0;
        } else if (row > lastRow) {
            if (row > lastRow + kEdgeTolerance && !clampNorth_)
                Leave(latitude, longitude);
            row = lastRow;
        }
        double east = std::fmod(longitude - grid_.westLongitude, 360.0);
        if (east < 0)
            east += 360.0;
        double column = east / grid_.longitudeStep;
        // Just west of the first column by a rounding error.
        if (column > 360.0 / grid_.longitudeStep - kEdgeTolerance)
            column = 0;

        GridCell cell;
        if (grid_.global) {
            cell.column = std::min(static_cast<std::size_t>(column), grid_.columns - 1);
            cell.nextColumn = (cell.column + 1) % grid_.columns;
        } else {
            if (column > lastColumn + kEdgeTolerance)
                Leave(latitude, longitude);
            cell.column = std::min(static_cast<std::size_t>(column), grid_.columns - 2);
            cell.nextColumn = cell.column + 1;
        }
        cell.east = Snapped(column - static_cast<double>(cell.column));
        cell.row = std::min(static_cast<std::size_t>(row), grid_.rows - 2);
        cell.north = Snapped(row - static_cast<double>(cell.row));
        return cell;
    }

private:
    // A position on a row or column by all but a rounding error takes its
    // values alone: the next row or column's, missing or not, do not enter.
    static double Snapped(double fraction)
    {
        if (fraction < kEdgeTolerance)
            return 0;
        if (fraction > 1 - kEdgeTolerance)
            return 1;
        return fraction;
    }

    [[noreturn]] static void Leave(double latitude, double longitude)
    {
        throw ForecastError(
            "The route leaves the forecast's area at " + PositionText(latitude, longitude) + ".");
    }

    const ForecastGrid& grid_;
    bool clampSouth_ = false;
    bool clampNorth_ = false;
};

// The bilinear weights of a cell's corners and their indices. A corner of
// weight 0 is left out, so that a missing value there does not matter.
struct CornerWeights {
    std::array<std::size_t, 4> index{};
    std::array<double, 4> weight{};
    std::size_t count = 0;
};

CornerWeights Corners(const GridCell& cell, std::size_t columns)
{
    const std::size_t south = cell.row * columns;
    const std::size_t north = south + columns;
    const std::array<std::size_t, 4> index
        = {south + cell.column, south + cell.nextColumn, north + cell.column, north + cell.nextColumn};
    const std::array<double, 4> weight = {(1 - cell.north) * (1 - cell.east), (1 - cell.north) * cell.east,
        cell.north * (1 - cell.east), cell.north * cell.east};
    CornerWeights corners;
    for (std::size_t i = 0; i < 4; ++i) {
        if (weight[i] > 0) {
            corners.index[corners.count] = index[i];
            corners.weight[corners.count] = weight[i];
            ++corners.count;
        }
    }
    return corners;
}

double Interpolate(const std::vector<double>& values, const CornerWeights& corners)
{
    double sum = 0;
    for (std::size_t i = 0; i < corners.count; ++i)
        sum += corners.weight[i] * values[corners.index[i]];
    return sum;
}

// The one or two levels around a pressure and the weight of the upper one
// (linear in the logarithm of pressure).
struct LevelPair {
    const ForecastLevel* lower = nullptr;
    const ForecastLevel* upper = nullptr; // null when the pressure is on the lower level
    double upperWeight = 0;
};

std::string LevelRangeText(const std::vector<ForecastLevel>& levels)
{
    const auto [lowest, highest] = std::minmax_element(levels.begin(), levels.end(),
        [](const ForecastLevel& a, const ForecastLevel& b) { return a.pressureHpa < b.pressureHpa; });
    return Number("%g", highest->pressureHpa) + " to " + Number("%g", lowest->pressureHpa) + " hPa";
}

LevelPair BracketLevels(const ForecastTime& time, double pressureHpa, double flightLevel)
{
    const std::vector<ForecastLevel>& levels = time.levels;
    if (levels.empty())
        throw ForecastError("The forecast has no levels at this time.");
    for (const ForecastLevel& level : levels) {
        if (level.pressureHpa == pressureHpa)
            return {&level, nullptr, 0};
    }
    for (std::size_t i = 0; i + 1 < levels.size(); ++i) {
        const ForecastLevel& a = levels[i];
        const ForecastLevel& b = levels[i + 1];
        const double high = std::max(a.pressureHpa, b.pressureHpa);
        const double low = std::min(a.pressureHpa, b.pressureHpa);
        if (pressureHpa < high && pressureHpa > low) {
            const ForecastLevel& lower = a.pressureHpa > b.pressureHpa ? a : b;
            const ForecastLevel& upper = a.pressureHpa > b.pressureHpa ? b : a;
            const double weight = std::log(lower.pressureHpa / pressureHpa) / std::log(high / low);
            return {&lower, &upper, weight};
        }
    }
    throw ForecastError("FL" + Number("%g", flightLevel) + " (" + Number("%.1f", pressureHpa)
        + " hPa) is outside the forecast's levels, " + LevelRangeText(levels) + ".");
}

void CheckLevelSizes(const LevelPair& pair, std::size_t points)
{
    for (const ForecastLevel* level : {pair.lower, pair.upper}) {
        if (level == nullptr)
            continue;
        if (level->u.size() != points || level->v.size() != points
            || (!level->temperature.empty() && level->temperature.size() != points))
            throw ForecastError("The forecast's level at " + Number("%g", level->pressureHpa)
                + " hPa does not cover its grid.");
    }
}

struct Weather {
    double u = 0;
    double v = 0;
    double temperatureK = 0;
};

Weather WeatherAt(const LevelPair& pair, const CornerWeights& corners)
{
    const auto temperature = [&corners](const ForecastLevel& level) {
        return level.temperature.empty() ? std::numeric_limits<double>::quiet_NaN()
                                         : Interpolate(level.temperature, corners);
    };
    Weather weather{
        Interpolate(pair.lower->u, corners), Interpolate(pair.lower->v, corners), temperature(*pair.lower)};
    if (pair.upper != nullptr) {
        const double w = pair.upperWeight;
        weather.u = (1 - w) * weather.u + w * Interpolate(pair.upper->u, corners);
        weather.v = (1 - w) * weather.v + w * Interpolate(pair.upper->v, corners);
        weather.temperatureK = (1 - w) * weather.temperatureK + w * temperature(*pair.upper);
    }
    return weather;
}

} // namespace

double StandardPressureHpa(double flightLevel)
{
    const double altitudeM = flightLevel * 100.0 * kMetresPerFoot;
    if (altitudeM <= kTropopauseM)
        return TroposphereHpa(altitudeM);
    return TroposphereHpa(kTropopauseM)
        * std::exp(
            -kGravityMPerS2 * (altitudeM - kTropopauseM) / (kGasConstantJPerKgK * kTropopauseTemperatureK));
}

RouteWeatherSamples SampleRouteWeather(
    const Forecast& forecast, const ForecastTime& time, std::span<const RoutePoint> route, double flightLevel)
{
    if (route.size() < 2)
        throw ForecastError("The route needs at least two points for its weather.");
    for (std::size_t i = 0; i < route.size(); ++i) {
        if (!(std::fabs(route[i].latitude) <= 90) || !std::isfinite(route[i].longitude))
            throw ForecastError(
                "The route's point " + std::to_string(i + 1) + " is not a position on the earth.");
    }
    const ForecastGrid& grid = forecast.grid;
    const GridLocator locator(grid);
    RouteWeatherSamples result;
    result.pressureHpa = StandardPressureHpa(flightLevel);
    const LevelPair levels = BracketLevels(time, result.pressureHpa, flightLevel);
    CheckLevelSizes(levels, grid.rows * grid.columns);
    const double halfStepDeg = 0.5 * std::min(grid.latitudeStep, grid.longitudeStep);

    for (std::size_t leg = 0; leg + 1 < route.size(); ++leg) {
        const Vector3 from = UnitVector(route[leg]);
        const Vector3 to = UnitVector(route[leg + 1]);
        const Vector3 normal = Cross(from, to);
        const double sinAngle = Norm(normal);
        const double angle = std::atan2(sinAngle, from.x * to.x + from.y * to.y + from.z * to.z);
        // Points a micrometre apart or less make no leg; opposite points
        // make a leg on no particular great circle.
        if (sinAngle < 1e-12) {
            if (angle < std::numbers::pi / 2)
                continue;
            throw ForecastError("The route goes between opposite points of the earth at "
                + PositionText(route[leg].latitude, route[leg].longitude)
                + ": no single great circle joins them.");
        }
        const Vector3 axis = (1.0 / sinAngle) * normal;
        const double piecesWanted = std::ceil(angle / kRadiansPerDegree / halfStepDeg - kPieceTolerance);
        if (!(piecesWanted < kMostPiecesPerLeg))
            throw ForecastError("The forecast's grid is too fine to sample the route in.");
        const std::size_t pieces = std::max<std::size_t>(1, static_cast<std::size_t>(piecesWanted));
        const double pieceNm = angle * kNmPerRadian / static_cast<double>(pieces);
        for (std::size_t piece = 0; piece < pieces; ++piece) {
            // The middle of the piece along the great circle, and its
            // direction of flight there.
            const double fraction = (static_cast<double>(piece) + 0.5) / static_cast<double>(pieces);
            const Vector3 p = (std::sin((1 - fraction) * angle) / sinAngle) * from
                + (std::sin(fraction * angle) / sinAngle) * to;
            const Vector3 tangent = Cross(axis, p);
            const double horizontal = std::hypot(p.x, p.y);
            // East and north at the point; at a pole, those of longitude 0.
            const double cosLambda = horizontal > 0 ? p.x / horizontal : 1.0;
            const double sinLambda = horizontal > 0 ? p.y / horizontal : 0.0;
            const double eastward = -sinLambda * tangent.x + cosLambda * tangent.y;
            const double northward
                = -p.z * (cosLambda * tangent.x + sinLambda * tangent.y) + horizontal * tangent.z;
            const double speed = std::hypot(eastward, northward);

            RouteSample sample;
            sample.point.latitude = std::atan2(p.z, horizontal) / kRadiansPerDegree;
            sample.point.longitude = std::atan2(p.y, p.x) / kRadiansPerDegree;
            sample.lengthNm = pieceNm;
            sample.trackDeg = std::atan2(eastward, northward) / kRadiansPerDegree;
            if (sample.trackDeg < 0)
                sample.trackDeg += 360.0;
            if (sample.trackDeg >= 360.0)
                sample.trackDeg = 0;

            const CornerWeights corners
                = Corners(locator.Locate(sample.point.latitude, sample.point.longitude), grid.columns);
            const Weather weather = WeatherAt(levels, corners);
            if (std::isnan(weather.u) || std::isnan(weather.v)) {
                ++result.missing;
                continue;
            }
            const double sinTrack = eastward / speed;
            const double cosTrack = northward / speed;
            sample.headwindKt = -(weather.u * sinTrack + weather.v * cosTrack) * kKnotsPerMPerS;
            sample.temperatureC = weather.temperatureK - kKelvinToCelsius;
            result.samples.push_back(sample);
        }
    }
    if (result.samples.empty())
        throw ForecastError(
            "The forecast has no wind along the route at FL" + Number("%g", flightLevel) + ".");
    return result;
}

double TimeCorrectHeadwind(const RouteWeatherSamples& weather, double trueAirspeedKt)
{
    if (!(trueAirspeedKt > 0))
        throw ForecastError("The true airspeed for the route's wind must be above 0 kts.");
    double distanceNm = 0;
    double hours = 0;
    for (const RouteSample& sample : weather.samples) {
        const double groundSpeedKt = trueAirspeedKt - sample.headwindKt;
        if (!(groundSpeedKt > 0))
            throw ForecastError("The headwind of " + Number("%.0f", sample.headwindKt) + " kts at "
                + PositionText(sample.point.latitude, sample.point.longitude) + " reaches the true airspeed, "
                + Number("%.0f", trueAirspeedKt) + " kts.");
        distanceNm += sample.lengthNm;
        hours += sample.lengthNm / groundSpeedKt;
    }
    if (!(distanceNm > 0))
        throw ForecastError("The route has no wind to average.");
    return trueAirspeedKt - distanceNm / hours;
}

double MeanTemperature(const RouteWeatherSamples& weather)
{
    double distanceNm = 0;
    double sum = 0;
    for (const RouteSample& sample : weather.samples) {
        if (std::isnan(sample.temperatureC))
            continue;
        distanceNm += sample.lengthNm;
        sum += sample.lengthNm * sample.temperatureC;
    }
    return distanceNm > 0 ? sum / distanceNm : std::numeric_limits<double>::quiet_NaN();
}

} // namespace mirovax
