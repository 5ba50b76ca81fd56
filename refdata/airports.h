#pragma once

#include "refdata/table_store.h"

#include <optional>
#include <string>

namespace mirovax {

// A position in radians as the distance formula takes it: latitude from
// "Feld5", longitude negated from "Feld6".
struct GeoPosition {
    double latitude = 0;
    double longitude = 0;
};

GeoPosition ReadPosition(const TTable& airports);

// The position of a latitude and longitude in degrees, converted exactly as
// ReadPosition converts the table's (the longitude negated).
GeoPosition PositionFromDegrees(double latitudeDeg, double longitudeDeg);

// Great-circle distance in NM by the spherical law of cosines in extended
// precision, before rounding. Identical positions give 0, antipodes 10800.
double GreatCircleNm(const GeoPosition& first, const GeoPosition& second);

// The distance rounded to a whole number (ties to even) as field text.
std::string DistanceText(const GeoPosition& first, const GeoPosition& second);

// An airport's latitude and longitude in degrees as the table holds them
// (north and east positive), or nothing for a code it lacks.
struct AirportLocation {
    double latitude = 0;
    double longitude = 0;
};
std::optional<AirportLocation> LocateAirport(TTable& airports, const std::string& code);

// The warning for an airport code the airport table does not hold.
std::string UnknownAirportMessage(const std::string& code);

// The Calculate button: the trip distance text for Edit3 from two codes, or,
// when the table does not hold one of them, no distance and the first such
// code.
struct DistanceLookup {
    std::optional<std::string> distance;
    std::optional<std::string> unknownCode;
};
DistanceLookup CalculateDistance(TTable& airports, const std::string& origin, const std::string& destination);

// The Alternate button: Edit9 (the alternate's elevation text, unchanged)
// and Edit10 (its distance from the destination). An unknown alternate gives
// neither; a known alternate with an unknown destination gives the elevation
// alone. unknownCode names the code that was not found.
struct AlternateData {
    std::optional<std::string> elevation;
    std::optional<std::string> distance;
    std::optional<std::string> unknownCode;
};
AlternateData AlternateLookup(TTable& airports, const std::string& alternate, const std::string& destination);

} // namespace mirovax
