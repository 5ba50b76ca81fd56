#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/text_format.h"

namespace mirovax {

// The one record a calculation works with: airplane constants, the user's
// entries as numbers, the results of the last run and the run flags.
// Units: weights and fuel kg, ground distances NM, still-air distances NAM,
// speeds kts, altitudes ft, flight levels hundreds of ft, temperature deg C,
// holding time minutes, every other time hours.
// Every field starts at zero; results are overwritten by each run, never
// cleared.
struct TMissionData {
    // Run state
    bool AbortRequested = false;
    bool CalculationValid = false;
    std::int32_t ConversionError = 0;
    // The unit the run's messages name masses in; nothing is computed in it.
    MassUnit Units = MassUnit::Kilograms;

    // Airplane constants (loaded from the airplane table)
    double MaxAlt = 0; // ft
    double MZFW = 0; // kg
    double MTOW = 0; // kg, structural
    double MLAW = 0; // kg, structural
    double Mach = 0;
    double DOW = 0; // kg
    double TCAP = 0; // kg of fuel
    std::string Type; // the airplane table's key of the loaded record
    std::string Airframe;
    std::string Engine;
    std::string Reference;
    std::string LimitedBy;

    // Inputs (captured from the edit fields by ReadInputs)
    double Payload = 0; // kg
    double FlightLevel = 0; // hundreds of ft
    double OAT = 0; // deg C
    double Wind = 0; // kts, subtracted from the true airspeed
    double MATOW = 0; // kg
    double MALW = 0; // kg
    double AlternateElevation = 0; // ft
    double TripDistance = 0; // NM
    double AlternateDistance = 0; // NM
    double HoldingTime = 0; // min
    double HoldingAltitude = 0; // ft above the alternate
    double ContingencyFuel = 0; // kg (a result, declared here)
    double ContingencyPercent = 0; // %

    // Results
    double TrueAirspeed = 0; // kts
    double GroundSpeed = 0; // kts
    double StillAirDistance = 0; // NAM
    double AvgFuelFlow = 0; // kg/h
    double AlternateTime = 0; // h
    double TripTime = 0; // h
    double MinTakeoffTime = 0; // h
    double ContingencyTime = 0; // h
    double HoldingFuel = 0; // kg
    double AlternateFuel = 0; // kg
    double TripFuel = 0; // kg
    double MinTakeoffFuel = 0; // kg
    double MaxRange = 0; // NM
    double MaxPayload = 0; // kg
    double TakeoffWeight = 0; // kg
    double ZeroFuelWeight = 0; // kg
    double LandingWeight = 0; // kg

    // Fuel-model coefficients
    double aH1 = 0; // holding flow at 1500 ft: kg/h per kg
    double bH1 = 0; // kg/h
    double aH2 = 0; // holding flow at MaxHold: kg/h per kg
    double bH2 = 0; // kg/h
    double MaxHold = 0; // ft
    double aC1 = 0; // distance fuel at MinCruise (and the alternate leg): kg per NAM
    double bC1 = 0; // kg
    double aC2 = 0; // distance fuel at MaxCruise: kg per NAM
    double bC2 = 0; // kg
    double MinCruise = 0; // flight level
    double MaxCruise = 0; // flight level
    double aC3 = 0; // weight term: kg per kg
    double bC3 = 0; // kg
};

// A numeric field of the record by its name, for output keyed by field name
// (the command line's JSON) and for loading airplane constants by name.
struct NumericField {
    const char* name;
    double TMissionData::*member;
};

// The twenty numeric airplane constants and model coefficients, in the order the
// airplane table is read (the texts Airframe, Engine and Reference aside).
extern const std::array<NumericField, 20> kAirplaneNumbers;

// Its two parts: the airplane's own figures ("DOW" to "Mach") and the
// thirteen fuel-line fields ("aH1" to "bC3") that the fuel models read.
inline constexpr std::size_t kAirplaneFigureCount = 7;
inline std::span<const NumericField> AirplaneFigureFields()
{
    return std::span(kAirplaneNumbers).first(kAirplaneFigureCount);
}
inline std::span<const NumericField> FuelLineFields()
{
    return std::span(kAirplaneNumbers).subspan(kAirplaneFigureCount);
}

// The results that the solve modes write, in the record's order.
extern const std::array<NumericField, 18> kResultFields;

// The twelve numeric inputs, in the record's order.
extern const std::array<NumericField, 12> kInputFields;

} // namespace mirovax
