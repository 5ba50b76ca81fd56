#include "refdata/airports.h"

#include "engine/text_format.h"

#include <cmath>

namespace mirovax {

namespace {

// pi to the 64-bit mantissa of the x87 extended format, and 10800 / pi at the
// same precision: nautical miles per radian of great-circle arc.
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kNmPerRadian = 3437.7467707849392526L;

double DegreesToRadians(double degrees)
{
    return static_cast<double>(degrees * kPi / 180.0L);
}

} // namespace

GeoPosition ReadPosition(const TTable& airports)
{
    GeoPosition position;
    position.latitude = DegreesToRadians(airports.FieldAsFloat("Feld5"));
    // Negated on reading; only the cosine of a difference of longitudes
    // enters, so the sign convention of the table does not matter.
    position.longitude = DegreesToRadians(-airports.FieldAsFloat("Feld6"));
    return position;
}

double GreatCircleNm(const GeoPosition& first, const GeoPosition& second)
{
    const long double phi1 = first.latitude;
    const long double phi2 = second.latitude;
    const long double deltaLambda = static_cast<long double>(second.longitude) - first.longitude;
    long double c = std::sin(phi1) * std::sin(phi2) + std::cos(phi1) * std::cos(phi2) * std::cos(deltaLambda);
    // Rounding can push the cosine of the arc just beyond +-1 for equal or
    // opposite positions; the exact values are 1 and -1 there.
    if (c > 1.0L)
        c = 1.0L;
    if (c < -1.0L)
        c = -1.0L;
    return static_cast<double>(std::acos(c) * kNmPerRadian);
}

std::string DistanceText(const GeoPosition& first, const GeoPosition& second)
{
    return FormatRounded(GreatCircleNm(first, second));
}

std::string CalculateDistance(TTable& airports, const std::string& origin, const std::string& destination)
{
    // Neither result is tested: a code that matches nothing leaves the
    // previous airport current, and its position is read instead.
    airports.Locate("ICAO", origin);
    const GeoPosition first = ReadPosition(airports);
    airports.Locate("ICAO", destination);
    const GeoPosition second = ReadPosition(airports);
    return DistanceText(first, second);
}

AlternateData AlternateLookup(TTable& airports, const std::string& alternate, const std::string& destination)
{
    AlternateData data;
    airports.Locate("ICAO", alternate);
    // Read before the second lookup, so the elevation is the alternate's
    // even when the destination code matches nothing.
    data.elevation = airports.FieldAsString("elevation");
    const GeoPosition first = ReadPosition(airports);
    airports.Locate("ICAO", destination);
    const GeoPosition second = ReadPosition(airports);
    data.distance = DistanceText(first, second);
    return data;
}

} // namespace mirovax
