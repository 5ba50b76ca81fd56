#pragma once

#include "apps/cli/cli_options.h"
#include "flightplan/flight_plan.h"
#include "refdata/table_store.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>

// Flight plans from other planners on the command line: `plan FILE` prints
// what was read, and --plan FILE puts a plan into the setup's entries before
// the --set texts, as the window's Open Flight Plan does.
namespace mirovax::cli {

// A plan read for --plan, with the airport table its alternate's elevation
// and distance are looked up in (open when the plan names an alternate).
struct PlanRequest {
    std::string path;
    FlightPlan plan;
    std::shared_ptr<TTable> airports;
};

// Reads --plan's file, and the airport table when the plan names an
// alternate; nothing without --plan. Throws FlightPlanError (naming the
// file) or TableError.
std::optional<PlanRequest> ReadPlanOption(const CliOptions& options, const std::string& airportTable);

// `plan FILE [--json]`: the format, the airports, the cruise level, the
// waypoints' count, the route and great-circle distances and the notes.
int ShowPlan(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace mirovax::cli
