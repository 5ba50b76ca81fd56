#pragma once

#include "engine/mission_data.h"
#include "engine/solve.h"

#include <optional>

// The two maximum searches cut into their stages, so that the fast searches
// (fast_search.cpp) open, step and finish a search with the very operations
// of the per-pass searches in solve.cpp.
namespace mirovax::search_passes {

// Maximum Range after its checks: the landing weight without trip fuel (kg)
// and the reserve (holding plus alternate fuel, kg).
struct RangeStart {
    double weight = 0;
    double reserve = 0;
};

// The steps before the search, StillAirDistance set to 1; nothing when a
// check stopped the run (reported through services).
std::optional<RangeStart> OpenMaximumRange(TMissionData& md, IMissionServices& services);

// One pass at md.StillAirDistance: the trip fuel, the total fuel (kg, into
// totalFuel), the distance one NAM further; returns whether the tank or the
// takeoff weight ended the search.
bool RangePass(TMissionData& md, const RangeStart& start, double& totalFuel);

// The steps after the search, from the last pass computed.
void FinishMaximumRange(TMissionData& md, const RangeStart& start, double totalFuel, bool aborted);

// Maximum Payload before its search: speeds, still-air distance, times;
// LimitedBy "Zero Fuel Weight" and ZeroFuelWeight MZFW. Returns false when
// the wind stopped the run.
bool OpenMaximumPayload(TMissionData& md, IMissionServices& services);

enum class PayloadOutcome { Rejected, Accepted, NoPayload };

// Pass number `pass` (1 for the first) from the zero fuel weight the pass
// before left: 10 kg lighter after the first pass, the checks in order;
// weight receives the takeoff weight of a pass that computed one. Throws
// SearchError past kMaxPayloadPassLimit.
PayloadOutcome PayloadPass(TMissionData& md, long pass, double& weight);

// The steps after an accepted pass with its takeoff weight (kg).
void FinishMaximumPayload(TMissionData& md, double weight);

// The limit stop of a search that went below the dry operating weight.
void StopWithoutPayload(TMissionData& md, IMissionServices& services);

} // namespace mirovax::search_passes
