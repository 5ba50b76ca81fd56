#pragma once

#include "apps/cli/cli_options.h"
#include "apps/cli/cli_plan.h"
#include "form/mission_session.h"
#include "refdata/table_store.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

// Forecast winds on the command line: --winds FILE gives solve, sweep and
// payload-range the wind and temperature of a GRIB2 forecast along the
// route at the flight level, as the window's Load Forecast does, and
// `winds FILE` prints them.
namespace mirovax::cli {

// A forecast read for --winds, the validity time chosen (--winds-time) and
// the airport table its route's airports are looked up in.
struct WindsRequest {
    std::shared_ptr<const LoadedForecast> forecast;
    std::size_t time = 0;
    std::shared_ptr<TTable> airports;
};

// Reads --winds's file and opens the airport table; nothing without
// --winds. Throws ForecastError (naming the file), TableError, or
// std::invalid_argument for a --winds-time the file does not hold.
std::optional<WindsRequest> ReadWindsOption(const CliOptions& options, const std::string& airportTable);

// Puts the forecast's wind and OAT into the session's entries; the texts
// the --set options gave Wind or OAT stay. Returns why nothing could be
// given, empty when the forecast gave its values.
std::string ApplyWinds(
    MissionSession& session, const WindsRequest& winds, const std::vector<FieldSetting>& settings);

// `winds FILE (--route FROM TO | --plan FILE) --level FL [--json]`.
int ShowWinds(const CliOptions& options, TTable& airplanes, const PlanRequest* plan,
    const std::string& airportTable, std::ostream& out, std::ostream& err);

} // namespace mirovax::cli
