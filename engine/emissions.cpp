#include "engine/emissions.h"

namespace mirovax {

std::optional<double> TripCo2Kg(double tripFuelKg, bool valid)
{
    if (!valid)
        return std::nullopt;
    return tripFuelKg * kCo2KgPerKgJetFuel;
}

} // namespace mirovax
