#pragma once

#include "apps/cli/cli_options.h"
#include "apps/cli/cli_solve.h"

#include <csignal>
#include <ostream>

// mirovax-cli sweep: one setup file solved for every combination of the
// varied fields' values, a line per point as it is solved.
namespace mirovax::cli {

// Runs the command on an open airplane table; returns the highest status
// of the points, or kExitInterrupted when Ctrl+C stopped it.
int RunSweep(const CliOptions& options, TTable& airplanes, std::ostream& out, std::ostream& err,
    const volatile std::sig_atomic_t* interrupt, const PlanRequest* plan = nullptr,
    const WindsRequest* winds = nullptr);

} // namespace mirovax::cli
