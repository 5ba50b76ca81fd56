#include "form/fields.h"

#include "form/window_captions.h"

namespace mirovax {

namespace {

using M = TMissionData;
using enum Field;
using enum KeyFilter;

constexpr std::array<FieldSpec, kFieldCount> kFields = {{
    {From, "Edit1", 1, 1, 0, Any, "Origination ICAO Code", 4, true, "KSFO", "origin", nullptr},
    {To, "Edit2", 2, 2, 0, Any, "Destination ICAO Code", 4, true, "KBFI", "destination", nullptr},
    {Distance, "Edit3", 3, 3, 4, Digits, "Trip Distance", 5, false, "594", "distance", &M::TripDistance},
    {Payload, "Edit4", 4, 5, 9, Digits, "Payload", 6, false, "12000", "payload", &M::Payload},
    {FlightLevel, "Edit5", 5, 6, 0, Digits, "Flight Level", 3, false, "310", "flight-level", &M::FlightLevel},
    {Oat, "Edit6", 6, 7, 10, SignedDigits, "Outside Air Temperature", 3, false, "-46", "oat", &M::OAT},
    {Wind, "Edit7", 7, 8, 11, SignedDigits, "Wind (HW = +, TW = -)", 4, false, "0", "wind", &M::Wind},
    {Alternate, "Edit8", 8, 12, 0, Any, "Alternate ICAO Code", 4, true, "KSEA", "alternate", nullptr},
    {AlternateElevation, "Edit9", 9, 13, 16, Digits, "Alternate Elevation", 5, false, "433",
        "alternate-elevation", &M::AlternateElevation},
    {AlternateDistance, "Edit10", 10, 14, 17, Digits, "Alternate Distance", 4, false, "5",
        "alternate-distance", &M::AlternateDistance},
    {HoldingTime, "Edit11", 11, 15, 18, Digits, "Holding Time", 2, false, "45", "holding-time",
        &M::HoldingTime},
    {HoldingAltitude, "Edit12", 12, 19, 20, Digits, "Holding Altitude", 5, false, "1500", "holding-altitude",
        &M::HoldingAltitude},
    {Contingency, "Edit13", 13, 21, 22, Digits, "Contingency Fuel", 2, false, "0", "contingency",
        &M::ContingencyPercent},
    {Matow, "Edit14", 14, 24, 25, Digits, "Maximum Allowable Takeoff Weight", 6, false, "Edit14", "matow",
        &M::MATOW},
    {Malw, "Edit15", 15, 27, 26, Digits, "Maximum Allowable Landing Weight", 6, false, "Edit15", "malw",
        &M::MALW},
}};

// The table is in the order of Field.
constexpr bool InFieldOrder()
{
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (Index(kFields[i].field) != i || kFields[i].setupLine != static_cast<int>(i) + 1)
            return false;
    }
    return true;
}
static_assert(InFieldOrder());

} // namespace

std::span<const FieldSpec, kFieldCount> Fields()
{
    return kFields;
}

const FieldSpec& Spec(Field field)
{
    return kFields[Index(field)];
}

std::string_view FieldUnit(Field field, MassUnit massUnit)
{
    const int unit = Spec(field).unitText;
    return unit == 0 ? std::string_view() : StaticTextCaption(unit, massUnit);
}

bool IsMassField(Field field)
{
    return FieldUnit(field) == "kg";
}

} // namespace mirovax
