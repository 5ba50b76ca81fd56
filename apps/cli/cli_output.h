#pragma once

#include "apps/cli/cli_solve.h"

#include <string>
#include <string_view>

// The two output forms of mirovax-cli solve. Both are locale-independent.
namespace mirovax::cli {

// The results panel as text, caption and value, after a header naming the
// file, the airplane and the mode; the limit message instead when a limit
// stopped the run. Runs that ended in an error give no panel (the error goes
// to standard error).
std::string FormatPlain(const SetupRun& run);

// One JSON object on one line, ending in a line break. Strings are UTF-8
// (invalid bytes become U+FFFD); numbers carry the shortest digits that
// read back to the same double.
std::string FormatJson(const SetupRun& run);

} // namespace mirovax::cli
