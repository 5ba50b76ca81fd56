#pragma once

#include "apps/cli/cli_solve.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The two output forms of mirovax-cli solve. Both are locale-independent.
namespace mirovax::cli {

// The results panel as text, caption and value, after a header naming the
// file, the airplane and the mode; the limit message instead when a limit
// stopped the run. Runs that ended in an error give no panel (the error goes
// to standard error).
std::string FormatPlain(const SetupRun& run);

// The limits block of --margins: each limit's quantity, limit and margin in
// whole kg with the binding one marked, what stopped the run and by how
// much, and in Trip Time and Fuel the possible extra payload and fuel.
// Empty when the run has no limits (an error before or during the solve).
std::string FormatMargins(const SetupRun& run);

// One JSON object on one line, ending in a line break. Strings are UTF-8
// (invalid bytes become U+FFFD); numbers carry the shortest digits that
// read back to the same double. "limits", "stoppedBy", "exceededBy",
// "extraPayload" and "extraFuel" are always present, null where the run has
// none. A sweep's point leads the object as "point": the varied fields and
// their texts, in the order given.
using PointTexts = std::vector<std::pair<std::string, std::string>>;
std::string FormatJson(const SetupRun& run, const PointTexts& point = {});

} // namespace mirovax::cli
