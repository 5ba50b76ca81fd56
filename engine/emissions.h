#pragma once

#include <optional>

// The carbon dioxide a flight emits, from the fuel it burns.
namespace mirovax {

// kg of CO2 per kg of jet fuel burnt (ICAO's factor for Jet A and Jet A-1).
inline constexpr double kCo2KgPerKgJetFuel = 3.16;

// The trip's CO2 in kg, from its trip fuel; nothing where the run did not end
// with a trip fuel to show (valid false).
std::optional<double> TripCo2Kg(double tripFuelKg, bool valid);

} // namespace mirovax
