#pragma once

#include "apps/cli/cli_options.h"
#include "apps/cli/cli_solve.h"
#include "engine/payload_range.h"
#include "report/payload_range_output.h"

#include <ostream>
#include <string>
#include <vector>

// mirovax-cli payload-range: the diagram of one setup file, read as solve
// reads it, as a table, CSV, JSON or an SVG picture.
namespace mirovax::cli {

struct PayloadRangeRun {
    // The window's state after Load Setup; its error and status tell why
    // there is no diagram.
    SetupRun setup;
    std::vector<PayloadRangePoint> diagram;
    // The setup's payload (kg) over its trip distance (NM).
    MissionPoint mission;
    bool missionInside = false;
};

// Loads the file and the airplane, applies --airplane and --set, and
// computes the diagram with `points` evenly spaced payloads. Refuses
// unusable fields as Execute does, naming the field (kExitInputsUnusable),
// and reports a diagram that cannot be drawn as kExitArithmeticFault.
PayloadRangeRun ComputeSetupPayloadRange(
    TTable& airplanes, const std::string& path, const SolveRequest& request, int points);

// The plain output: a header naming the file and the airplane, a line per
// point (payload kg and range NM rounded, the binding limit, "*" at a
// corner), and where the setup's mission lies.
std::string FormatPayloadRangeTable(const PayloadRangeRun& run);

// The title of the picture: airframe and engine of the loaded airplane.
std::string DiagramTitle(const PayloadRangeRun& run);

// Runs the command on an open airplane table; returns the exit status.
int RunPayloadRange(const CliOptions& options, TTable& airplanes, const std::string& airplaneTable,
    std::ostream& out, std::ostream& err, const PlanRequest* plan = nullptr,
    const WindsRequest* winds = nullptr);

} // namespace mirovax::cli
