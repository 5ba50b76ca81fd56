#pragma once

#include "flightplan/flight_plan.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirovax {

// One input of a flight-plan reader's fuzz target: a file's bytes given to
// the reader of one format. The reader may refuse them with FlightPlanError
// and nothing else; a plan it returns has at least two waypoints, each
// within -90..90 and -180..180 degrees, finite distances, and is what
// reading the same bytes without naming the format gives. Returns an empty
// text when all of that holds, otherwise what went wrong.
std::string CheckPlanReader(PlanFormat format, const std::uint8_t* data, std::size_t size);

} // namespace mirovax
