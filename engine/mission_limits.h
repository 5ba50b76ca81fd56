#pragma once

#include "engine/mission_data.h"
#include "engine/solve.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The limits of a mission after a run: each quantity against its limit with
// the room left under it, the limit that binds, and in Trip Time and Fuel the
// payload and fuel that would still fit. Computed from the record alone, so
// the window, the command line and the dispatch sheet show the same figures.
namespace mirovax {

// The names of the limits, in the order they are listed. The first four are
// the texts LimitedBy takes for the same limit; the last two compare the
// mission's allowable weights with the structure and never bind.
inline constexpr std::string_view kMarginZeroFuelWeight = kLimitZeroFuelWeight;
inline constexpr std::string_view kMarginLandingWeight = kLimitAllowableLandingWeight;
inline constexpr std::string_view kMarginTakeoffWeight = kLimitAllowableTakeoffWeight;
inline constexpr std::string_view kMarginTankCapacity = kLimitTankCapacity;
inline constexpr std::string_view kMarginStructuralTakeoff = "Structural Takeoff Weight";
inline constexpr std::string_view kMarginStructuralLanding = "Structural Landing Weight";

// One quantity of the run against its limit, in kg.
struct LimitMargin {
    std::string name; // one of the names above
    double value = 0; // the quantity: zero fuel weight, checked landing weight, ...
    double limit = 0; // MZFW, MALW, MATOW, TCAP, MTOW, MLAW
    double margin = 0; // limit - value; below 0 when the limit is exceeded
    bool binding = false;
    // One of the structural pair: an allowable weight at the structure's
    // limit is the usual case, not one to warn of.
    bool structural = false;
};

// How a quantity stands against its limit: with room to spare, near it
// (within kNearMarginShare of the limit, down to the limit itself), or above
// it.
enum class MarginState { Ok, Near, Exceeded };

// The share of the limit under which the room left counts as near.
inline constexpr double kNearMarginShare = 0.02;

// The state of one quantity of a run. The structural pair is never near: an
// allowable weight at the structure's limit is the usual case. In a Maximum
// Range run (firstDistanceBeyondLimit) a quantity above its limit is near,
// not exceeded: the figures are those of the first distance that breaks the
// binding limit (and any other limit that breaks at the same step), while
// the range found flies within them all.
MarginState MarginStateOf(const LimitMargin& margin, bool firstDistanceBeyondLimit);

// Everything a run tells about its limits.
struct MissionLimits {
    // The limits the run computed a quantity for, in the order of the names
    // above; a run that stopped early lists only those checked before the
    // stop (the structural pair is always listed).
    std::vector<LimitMargin> limits;
    // The name of the binding limit, empty when none binds (an aborted
    // search, a stop before any weight).
    std::string binding;
    // A limit stopped the run: its name and by how many kg it was exceeded.
    // When Maximum Payload finds no room for any payload, the limits are
    // those of the mission at the dry operating weight (a payload of 0 kg),
    // listed up to the limit that left no payload. A wind the airplane cannot
    // fly against is no limit of the list: nothing is stopped or binds.
    bool stopped = false;
    std::string stoppedBy;
    double exceededBy = 0;
    // Maximum Range: the fuel and weights belong to the first distance that
    // breaks the binding limit, so its margin is below 0 by design.
    bool firstDistanceBeyondLimit = false;
    // Trip Time and Fuel, valid runs only: the payload and the fuel (kg) that
    // would still fit with the same entries.
    std::optional<double> extraPayload;
    std::optional<double> extraFuel;
};

// The limits of the run that just wrote md in the mode named by modeText;
// valid is the run's outcome (CalculationValid after a run whose inputs were
// read). Runs the searches the extras need on copies of the record; md is not
// changed.
MissionLimits ComputeMissionLimits(const TMissionData& md, std::string_view modeText, bool valid);

} // namespace mirovax
