#pragma once

#include "engine/mission_data.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The steps and limit checks the solve modes share with the limits of a run
// (mission_limits.cpp): one definition of each sum, each check, its message
// and the order in which the modes check, so that the margins shown after a
// run name the limit the run itself stopped at, from the same operations.
namespace mirovax::solve_steps {

// Holding fuel at the zero fuel weight, alternate fuel at that plus the
// holding fuel; returns the landing weight without trip fuel.
double HoldingAndAlternate(TMissionData& md, double zeroFuelWeight);

// Trip fuel for the landing weight without contingency (kg), then the
// contingency fuel as the entered percentage of it.
void TripAndContingencyFuel(TMissionData& md, double landingWeight);

// Holding, contingency, trip and alternate fuel, added in this order.
double SumTakeoffFuel(const TMissionData& md);

// Holding, alternate, trip and contingency times, added in this order.
double SumTakeoffTime(const TMissionData& md);

// The landing weight the landing check compares with MALW, from the record:
// zero fuel weight, holding and alternate fuel, without contingency fuel.
double CheckedLandingWeight(const TMissionData& md);

// Whether the ground speed lets the airplane arrive at all; the modes stop
// with WindStopMessage before any weight when it does not.
bool GroundSpeedAllowsFlight(const TMissionData& md);
std::string WindStopMessage(const TMissionData& md);

// One weight check: a quantity of the record against a limit of the record.
struct LimitCheck {
    std::string_view name; // as mission_limits.h names the limit
    const char* message; // the stop message up to the limit's figure
    double TMissionData::*limit;
    // The quantity as the record holds it after the check was made.
    double (*quantity)(const TMissionData& md);
};

// The checks in the order Trip Time and Fuel makes them: zero fuel weight,
// landing weight, takeoff weight, then (with every result written) the
// minimum takeoff fuel against TCAP. Maximum Range makes the first
// kChecksBeforeRangeSearch of them before its search.
enum CheckIndex : std::size_t { kZeroFuelCheck, kLandingCheck, kTakeoffCheck, kTankCheck };
extern const std::array<LimitCheck, 4> kLimitChecks;
inline constexpr std::size_t kChecksBeforeRangeSearch = 2;

// Whether value is over the check's limit; equal passes.
bool Exceeds(const LimitCheck& check, const TMissionData& md, double value);

// "Maximum Zero Fuel Weight of 21000 kg exceeded!"
std::string StopMessage(const LimitCheck& check, const TMissionData& md);

// The Maximum Payload search went below the dry operating weight: the limit
// it last stepped down for (LimitedBy) leaves no room for any payload.
bool NoPayloadFits(const TMissionData& md);
std::string NoPayloadMessage(const TMissionData& md);

} // namespace mirovax::solve_steps
