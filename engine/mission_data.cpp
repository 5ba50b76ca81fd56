#include "engine/mission_data.h"

namespace mirovax {

#define MIROVAX_FIELD(name)                                                                                  \
    NumericField                                                                                             \
    {                                                                                                        \
#name, &TMissionData::name                                                                           \
    }

const std::array<NumericField, 20> kAirplaneNumbers = {
    MIROVAX_FIELD(DOW),
    MIROVAX_FIELD(MTOW),
    MIROVAX_FIELD(MLAW),
    MIROVAX_FIELD(MZFW),
    MIROVAX_FIELD(TCAP),
    MIROVAX_FIELD(MaxAlt),
    MIROVAX_FIELD(Mach),
    MIROVAX_FIELD(aH1),
    MIROVAX_FIELD(bH1),
    MIROVAX_FIELD(aH2),
    MIROVAX_FIELD(bH2),
    MIROVAX_FIELD(MaxHold),
    MIROVAX_FIELD(aC1),
    MIROVAX_FIELD(bC1),
    MIROVAX_FIELD(aC2),
    MIROVAX_FIELD(bC2),
    MIROVAX_FIELD(MinCruise),
    MIROVAX_FIELD(MaxCruise),
    MIROVAX_FIELD(aC3),
    MIROVAX_FIELD(bC3),
};

const std::array<NumericField, 18> kResultFields = {
    MIROVAX_FIELD(ContingencyFuel),
    MIROVAX_FIELD(TrueAirspeed),
    MIROVAX_FIELD(GroundSpeed),
    MIROVAX_FIELD(StillAirDistance),
    MIROVAX_FIELD(AvgFuelFlow),
    MIROVAX_FIELD(AlternateTime),
    MIROVAX_FIELD(TripTime),
    MIROVAX_FIELD(MinTakeoffTime),
    MIROVAX_FIELD(ContingencyTime),
    MIROVAX_FIELD(HoldingFuel),
    MIROVAX_FIELD(AlternateFuel),
    MIROVAX_FIELD(TripFuel),
    MIROVAX_FIELD(MinTakeoffFuel),
    MIROVAX_FIELD(MaxRange),
    MIROVAX_FIELD(MaxPayload),
    MIROVAX_FIELD(TakeoffWeight),
    MIROVAX_FIELD(ZeroFuelWeight),
    MIROVAX_FIELD(LandingWeight),
};

const std::array<NumericField, 12> kInputFields = {
    MIROVAX_FIELD(Payload),
    MIROVAX_FIELD(FlightLevel),
    MIROVAX_FIELD(OAT),
    MIROVAX_FIELD(Wind),
    MIROVAX_FIELD(MATOW),
    MIROVAX_FIELD(MALW),
    MIROVAX_FIELD(AlternateElevation),
    MIROVAX_FIELD(TripDistance),
    MIROVAX_FIELD(AlternateDistance),
    MIROVAX_FIELD(HoldingTime),
    MIROVAX_FIELD(HoldingAltitude),
    MIROVAX_FIELD(ContingencyPercent),
};

#undef MIROVAX_FIELD

} // namespace mirovax
