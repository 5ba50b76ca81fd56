#pragma once

#include "flightplan/flight_plan.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the readers share: strict numbers, checked positions and the checks
// every plan passes before it is returned.
namespace mirovax::plan {

[[noreturn]] void Fail(const std::string& message);

// Why a file over kMaxFlightPlanBytes is refused.
std::string TooLargeMessage();

// Refuses content over kMaxFlightPlanBytes; returns it without a UTF-8 byte
// order mark.
std::string_view CheckedContent(std::string_view content);

// Whether content begins as an XML document: its first character other than
// white space is '<', or it starts with a UTF-16 byte order mark.
bool LooksLikeXml(std::string_view content);

// "line N: " for a byte offset into content.
std::string LineAt(std::string_view content, std::size_t offset);

std::string_view Trimmed(std::string_view text);

// A text from the file in quotes for a message, cut short when long.
std::string Quoted(std::string_view text);

// The whole (trimmed) text as a finite decimal number, in the C locale
// whatever the process's; otherwise an error naming what.
double ParseNumber(std::string_view text, const std::string& what);

// A waypoint whose position is within -90..90 and -180..180 degrees.
PlanWaypoint Placed(std::string ident, std::string type, double latitudeDeg, double longitudeDeg);

// The note for procedures the file names but does not place, e.g.
// {"SID BANGR9", "approach I16R"}; empty for none.
std::string ProcedureNote(const std::vector<std::string>& procedures);

// Refuses a plan with fewer than two waypoints and fills the departure and
// destination from the first and last waypoint where the file names none.
FlightPlan Finished(FlightPlan plan);

// Reads an XML plan of the expected format, or of whichever format its root
// element names when none is expected (xml_readers.cpp).
FlightPlan ReadXml(std::string_view content, std::optional<PlanFormat> expected);

} // namespace mirovax::plan
