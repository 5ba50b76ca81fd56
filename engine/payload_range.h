#pragma once

#include "engine/mission_data.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mirovax {

// One point of the payload-range diagram: the maximum range (NM) that the
// Maximum Range search finds for a payload (kg), and the limit that binds.
struct PayloadRangePoint {
    double payload = 0;
    double range = 0;
    std::string limitedBy; // the limit that binds at this point
    bool corner = false; // where the binding limit changes
    // At a corner, the limit that binds from it on towards longer range, so
    // that the corner where the tank starts to bind reads "Tank Capacity"
    // although both limits meet there; kFerryRange at the zero-payload end,
    // beyond which the envelope does not go. Empty at other points.
    std::string bindsFromHere;
};

// What the last corner, at zero payload, is named instead of a limit.
inline constexpr std::string_view kFerryRange = "Ferry Range";

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
// largest payload at zero range. Each corner names the limit that binds from
// it on (bindsFromHere). Each point but that one is a Maximum Range
// run at its payload. Throws DiagramError (also for a wind that stops every
// run and for a fuel model that gives less than 0 kg), or ArithmeticError as
// the search would.
std::vector<PayloadRangePoint> ComputePayloadRange(const TMissionData& md, int points);

// The current mission drawn beside the envelope.
struct MissionPoint {
    double payload = 0; // kg
    double range = 0; // NM, the trip distance
};

// Whether the mission lies within the envelope: a payload from 0 to the
// diagram's largest and a distance from 0 to the range that the envelope,
// interpolated linearly between its points, reaches at that payload. The
// boundary counts as inside. Points are ordered as ComputePayloadRange
// returns them (falling payload).
bool InsideEnvelope(const std::vector<PayloadRangePoint>& diagram, double payload, double range);

// Axis ticks: a step of 1, 2 or 5 times a power of ten that divides 0 to
// `maximum` into at most `maxTicks` intervals, and the tick values from 0 up
// to the first one at or above `maximum`.
std::vector<double> AxisTicks(double maximum, int maxTicks);

} // namespace mirovax
