#pragma once

#include "mission_data.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace mirovax {

// One point of the payload-range diagram: the maximum range (NM) that the
// Maximum Range search finds for a payload (kg), and the limit that binds.
struct PayloadRangePoint {
    double payload = 0;
    double range = 0;
    std::string limitedBy;
    bool corner = false; // where the binding limit changes
};

// The diagram cannot be drawn for these data (no payload meets the landing
// limit, or the limits never bind within any sensible range).
class DiagramError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A still-air distance no search of the diagram goes beyond: more than twice
// round the earth means the limits never bind.
inline constexpr double kDiagramMaxStillAirNam = 50000;

// Computes the diagram for the airplane and inputs of md (which it does not
// change): `points` evenly spaced payloads from 0 to the largest payload that
// the zero fuel weight and the allowable landing weight allow, plus the exact
// corners, ordered by falling payload (rising range). The first point is the
// largest payload at zero range. Each point but that one is a Maximum Range
// run at its payload. Throws DiagramError (also for a wind that stops every
// run and for a fuel model that gives less than 0 kg), or ArithmeticError as
// the search would.
std::vector<PayloadRangePoint> ComputePayloadRange(const TMissionData& md, int points);

} // namespace mirovax
