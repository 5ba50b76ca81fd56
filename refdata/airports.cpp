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

GeoPosition PositionFromDegrees(double latitudeDeg, double longitudeDeg)
{
    GeoPosition position;
    position.latitude = DegreesToRadians(latitudeDeg);
    // Negated on reading; only the cosine of a difference of longitudes
    // enters, so the sign convention of the table does not matter.
    position.longitude = DegreesToRadians(-longitudeDeg);
    return position;
}

GeoPosition ReadPosition(const TTable& airports)
{
    return PositionFromDegrees(airports.FieldAsFloat("Feld5"), airports.FieldAsFloat("Feld6"));
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

std::optional<AirportLocation> LocateAirport(TTable& airports, const std::string& code)
{
    if (!airports.Locate("ICAO", code))
        return std::nullopt;
    return AirportLocation{airports.FieldAsFloat("Feld5"), airports.FieldAsFloat("Feld6")};
}

std::string UnknownAirportMessage(const std::string& code)
{
    return "Airport \"" + code + "\" is not in the airport table!";
}

// A code that matches nothing would leave the previous airport current and
// give its position instead: a plausible-looking, wrong distance.
DistanceLookup CalculateDistance(TTable& airports, const std::string& origin, const std::string& destination)
{
    DistanceLookup lookup;
    if (!airports.Locate("ICAO", origin)) {
        lookup.unknownCode = origin;
        return lookup;
    }
    const GeoPosition first = ReadPosition(airports);
    if (!airports.Locate("ICAO", destination)) {
        lookup.unknownCode = destination;
        return lookup;
    }
    lookup.distance = DistanceText(first, ReadPosition(airports));
    return lookup;
}

AlternateData AlternateLookup(TTable& airports, const std::string& alternate, const std::string& destination)
{
    AlternateData data;
    if (!airports.Locate("ICAO", alternate)) {
        data.unknownCode = alternate;
        return data;
    }
    // The elevation is the alternate's own, whether or not the destination
    // is found.
    data.elevation = airports.FieldAsString("elevation");
    const GeoPosition first = ReadPosition(airports);
    if (!airports.Locate("ICAO", destination)) {
        data.unknownCode = destination;
        return data;
    }
    data.distance = DistanceText(first, ReadPosition(airports));
    return data;
}

} // namespace mirovax
