#pragma once

#include "flightplan/flight_plan.h"

#include <string_view>

// One reader per format, for callers that know the format (and the fuzz
// targets). Each takes a whole file's bytes and throws FlightPlanError for
// content that is not its format or cannot be read as it.
namespace mirovax {

FlightPlan ReadLittleNavmap(std::string_view content); // .lnmpln
FlightPlan ReadFlightSimulatorPln(std::string_view content); // .pln
FlightPlan ReadXPlaneFms(std::string_view content); // .fms
FlightPlan ReadGarminFpl(std::string_view content); // .fpl
FlightPlan ReadSimBriefOfp(std::string_view content); // OFP as XML

} // namespace mirovax
