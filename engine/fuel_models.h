#pragma once

#include "mission_data.h"

// Speeds and the three straight-line fuel models. Each routine reads the
// model coefficients of the record and writes exactly one result field; the
// clamping of an argument works on the routine's own copy. Every operation is
// checked: a zero denominator or an overflow throws ArithmeticError.
namespace mirovax {

// TrueAirspeed = sqrt(273.15 + OAT) * Mach * 38.9681 (kts).
void CalcTrueAirspeed(TMissionData& md);

// GroundSpeed = TrueAirspeed - Wind (kts); a positive wind entry slows.
void CalcGroundSpeed(TMissionData& md);

// StillAirDistance = TripDistance * TrueAirspeed / GroundSpeed (NAM).
void CalcStillAirDistance(TMissionData& md);

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
