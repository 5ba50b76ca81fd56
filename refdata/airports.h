#pragma once

#include "refdata/table_store.h"

#include <string>

namespace mirovax {

// A position in radians as the distance formula takes it: latitude from
// "Feld5", longitude negated from "Feld6".
struct GeoPosition {
    double latitude = 0;
    double longitude = 0;
};

GeoPosition ReadPosition(const TTable& airports);

// Great-circle distance in NM by the spherical law of cosines in extended
// precision, before rounding. Identical positions give 0, antipodes 10800.
double GreatCircleNm(const GeoPosition& first, const GeoPosition& second);

// The distance rounded to a whole number (ties to even) as field text.
std::string DistanceText(const GeoPosition& first, const GeoPosition& second);

// The Calculate button: the trip distance text for Edit3 from two codes.
std::string CalculateDistance(TTable& airports, const std::string& origin, const std::string& destination);

// The Alternate button: Edit9 (the alternate's elevation text, unchanged)
// and Edit10 (its distance from the destination).
struct AlternateData {
    std::string elevation;
    std::string distance;
};
AlternateData AlternateLookup(TTable& airports, const std::string& alternate, const std::string& destination);

} // namespace mirovax
