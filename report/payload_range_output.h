#pragma once

#include "engine/payload_range.h"

#include <optional>
#include <string>
#include <vector>

// The payload-range diagram as files: the command line writes these. The
// diagram itself, its ticks and where the mission lies come from the engine.
namespace mirovax {

// "payload,range,limitedBy,corner,bindsFromHere" and one line per point:
// payload kg and range NM in the shortest form that reads back to the same
// double, corner 1 or 0, and at a corner the limit that binds from it on.
// Lines end in "\n".
std::string PayloadRangeCsv(const std::vector<PayloadRangePoint>& diagram);

// {"points": [{"payload": 7000, "range": 0, "limitedBy": "Zero Fuel Weight",
// "bindsFromHere": "Zero Fuel Weight"}, ...]} with the numbers as in the CSV
// and bindsFromHere at the corners only, followed by "\n".
std::string PayloadRangeJson(const std::vector<PayloadRangePoint>& diagram);

// A stand-alone SVG picture: axes with range (NM) across and payload (kg) up,
// the envelope, its corners labelled with the limits that bind from them on
// and, when given, the
// current mission with whether it is inside.
std::string PayloadRangeSvg(const std::vector<PayloadRangePoint>& diagram,
    const std::optional<MissionPoint>& mission = std::nullopt, const std::string& title = "");

} // namespace mirovax
