#pragma once

#include "payload_range.h"

#include <optional>
#include <string>
#include <vector>

// The payload-range diagram as files and as a question asked of it: the
// command line writes these, and the diagram window places the current
// mission with InsideEnvelope. None of it needs Qt.
namespace mirovax {

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

// "payload,range,limitedBy,corner" and one line per point: payload kg and
// range NM in the shortest form that reads back to the same double, corner 1
// or 0. Lines end in "\n".
std::string PayloadRangeCsv(const std::vector<PayloadRangePoint>& diagram);

// {"points": [{"payload": 7000, "range": 0, "limitedBy": "Zero Fuel Weight"}, ...]}
// with the numbers as in the CSV, followed by "\n".
std::string PayloadRangeJson(const std::vector<PayloadRangePoint>& diagram);

// A stand-alone SVG picture: axes with range (NM) across and payload (kg) up,
// the envelope, its corners labelled with their limits and, when given, the
// current mission with whether it is inside.
std::string PayloadRangeSvg(const std::vector<PayloadRangePoint>& diagram,
    const std::optional<MissionPoint>& mission = std::nullopt, const std::string& title = "");

// The shortest decimal text that reads back to the same double, "." as the
// separator whatever the locale ("12000", "0.1", "1e+21").
std::string FormatRoundTrip(double value);

// Axis ticks: a step of 1, 2 or 5 times a power of ten that divides 0 to
// `maximum` into at most `maxTicks` intervals, and the tick values from 0 up
// to the first one at or above `maximum`.
std::vector<double> AxisTicks(double maximum, int maxTicks);

} // namespace mirovax
