#pragma once

#include "mission_data.h"

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

// The Maximum Payload search gives up below a zero fuel weight of 0 kg or
// after this many passes: on data whose weights never fall with the zero fuel
// weight it would otherwise run for ever while the window waits.
inline constexpr long kMaxPayloadPassLimit = 10'000'000;

// Thrown when the Maximum Payload search finds no acceptable zero fuel weight.
class SearchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The three solve modes. Each reads the inputs and airplane constants of the
// record and writes its results there; a limit stop reports through
// services.ReportLimit and sets CalculationValid false. A floating-point fault
// throws ArithmeticError at the operation that caused it.
void SolveTripTimeAndFuel(TMissionData& md, IMissionServices& services);
void SolveMaximumRange(TMissionData& md, IMissionServices& services);
void SolveMaximumPayload(TMissionData& md, IMissionServices& services);

} // namespace mirovax
