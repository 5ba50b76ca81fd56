#pragma once

#include "engine/mission_data.h"

#include <stdexcept>

// Speeds and the three straight-line fuel models. Each routine reads the
// model coefficients of the record and writes exactly one result field; the
// clamping of an argument works on the routine's own copy. Every operation is
// checked: a zero denominator or an overflow throws ArithmeticError.
namespace mirovax {

// A fuel model gave less than 0 kg: the airplane type's straight lines do
// not hold for this mission, and no plan may be built on the figure. Like an
// arithmetic fault it ends the run; the result field is not written.
class FuelModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// TrueAirspeed = sqrt(273.15 + OAT) * Mach * 38.9681 (kts).
void CalcTrueAirspeed(TMissionData& md);

// GroundSpeed = TrueAirspeed - Wind (kts); a positive wind entry slows.
void CalcGroundSpeed(TMissionData& md);

// StillAirDistance = TripDistance * TrueAirspeed / GroundSpeed (NAM).
void CalcStillAirDistance(TMissionData& md);

// How far along from the 1500 ft line to the MaxHold line the holding flow
// lies at an altitude (ft), and from the MinCruise line to the MaxCruise line
// the distance fuel at a flight level: 0 at the first line, 1 at the second,
// after the clamping the models apply. Throws ArithmeticError where the two
// lines lie at the same altitude or level.
double HoldingLineRatio(const TMissionData& md, double altitude);
double CruiseLineRatio(const TMissionData& md, double flightLevel);

// The three fuel models below throw FuelModelError instead of writing a
// fuel below 0 kg (-0 is not below 0).

// HoldingFuel (kg) for a weight (kg), holding altitude (ft) and time (min),
// interpolated between the 1500 ft and MaxHold lines.
void CalcHoldingFuel(TMissionData& md, double weight, double altitude, double minutes);

// AlternateFuel (kg) for a weight (kg) and distance (NM) on the MinCruise
// line, without wind correction.
void CalcAlternateFuel(TMissionData& md, double weight, double distance);

// TripFuel (kg) for a still-air distance (NAM), flight level and landing
// weight without contingency (kg), interpolated between MinCruise and
// MaxCruise.
void CalcTripFuel(TMissionData& md, double distance, double flightLevel, double weight);

} // namespace mirovax
