#pragma once

#include "engine/mission_data.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace mirovax {

// What a solve mode needs from whoever runs it. The window plays the
// information sound and shows a modal warning box; the command line records
// the message.
class IMissionServices {
public:
    virtual ~IMissionServices() = default;
    // Reports an exceeded limit; returns when the user has acknowledged it.
    virtual void ReportLimit(const std::string& message) = 0;
    // Lets the caller handle pending events (an Abort click among them).
    // The Maximum Range search calls it once per pass.
    virtual void YieldEvents() = 0;
};

inline constexpr std::string_view kModeTripTimeAndFuel = "Trip Time and Fuel";
inline constexpr std::string_view kModeMaximumRange = "Maximum Range";
inline constexpr std::string_view kModeMaximumPayload = "Maximum Payload";

inline constexpr std::string_view kLimitTankCapacity = "Tank Capacity";
inline constexpr std::string_view kLimitMaximumTakeoffWeight = "Maximum Takeoff Weight";
inline constexpr std::string_view kLimitZeroFuelWeight = "Zero Fuel Weight";
inline constexpr std::string_view kLimitAllowableLandingWeight = "Allowable Landing Weight";
inline constexpr std::string_view kLimitAllowableTakeoffWeight = "Allowable Takeoff Weight";
// LimitedBy after the user stopped a Maximum Range search.
inline constexpr std::string_view kLimitAborted = "Aborted by User";

// The Maximum Payload search gives up after this many passes: where 10 kg
// steps no longer change the zero fuel weight it would never reach the dry
// operating weight and would run for ever while the window waits.
inline constexpr long kMaxPayloadPassLimit = 10'000'000;

// Thrown when the Maximum Payload search gives up after kMaxPayloadPassLimit
// passes.
class SearchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The speeds every mode starts with: TrueAirspeed and GroundSpeed. A ground
// speed at or below 0 (a wind entry not below the true airspeed) is a limit
// stop, reported through services; returns whether the mode may go on.
bool SolveSpeeds(TMissionData& md, IMissionServices& services);

// The three solve modes. Each reads the inputs and airplane constants of the
// record and writes its results there; a limit stop reports through
// services.ReportLimit, sets CalculationValid false and leaves in the record
// what was computed before the check. A floating-point fault throws
// ArithmeticError at the operation that caused it, a fuel model that gives
// less than 0 kg FuelModelError (fuel_models.h), each before its result is
// written.
//
// Trip Time and Fuel stops at the first exceeded limit: zero fuel weight,
// landing weight, takeoff weight, then (with every result written) a minimum
// takeoff fuel above TCAP. Maximum Payload steps the zero fuel weight down
// from MZFW by 10 kg while the landing weight, the takeoff weight or the
// takeoff fuel (against TCAP) is over its limit, and stops at a limit when the
// zero fuel weight falls below DOW, naming the limit that left no payload.
void SolveTripTimeAndFuel(TMissionData& md, IMissionServices& services);
void SolveMaximumRange(TMissionData& md, IMissionServices& services);
void SolveMaximumPayload(TMissionData& md, IMissionServices& services);

} // namespace mirovax
