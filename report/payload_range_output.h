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
// In pounds the first column is "payload_lb", the payload converted once.
// Lines end in "\n".
std::string PayloadRangeCsv(
    const std::vector<PayloadRangePoint>& diagram, MassUnit unit = MassUnit::Kilograms);

// {"points": [{"payload": 7000, "range": 0, "limitedBy": "Zero Fuel Weight",
// "bindsFromHere": "Zero Fuel Weight"}, ...]} with the numbers as in the CSV
// and bindsFromHere at the corners only, followed by "\n".
std::string PayloadRangeJson(const std::vector<PayloadRangePoint>& diagram);

// A stand-alone SVG picture: axes with range (NM) across and payload (in the
// unit) up, the envelope, its corners labelled with the limits that bind
// from them on and, when given, the current mission (kg) with whether it is
// inside.
std::string PayloadRangeSvg(const std::vector<PayloadRangePoint>& diagram,
    const std::optional<MissionPoint>& mission = std::nullopt, const std::string& title = "",
    MassUnit unit = MassUnit::Kilograms);

} // namespace mirovax
