#pragma once

#include "engine/mission_data.h"
#include "refdata/table_store.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirovax {

// What LoadAirplane puts on the window: the Airplane Data panel's Label1 to
// Label10, the texts of MATOW and MALW (kg, as the entries keep them), and
// the maximum lengths of the payload, MATOW and MALW as typed.
struct AirplaneDisplay {
    std::array<std::string, 10> labels; // labels[n - 1] is "Label" + n
    std::string matow;
    std::string malw;
    int payloadMaxLength = 5;
    int matowMaxLength = 5;
    int malwMaxLength = 5;
};

// Locates the type (whole value, ignoring case; the result is not tested) and
// reads the current record's fields, "Type" to "Reference", into the
// airplane constants of md. A missing field throws TableError after the
// fields before it were stored.
AirplaneDisplay LoadAirplane(TTable& table, const std::string& typeName, TMissionData& md);

// The display of the airplane constants md holds, its masses (and the entry
// lengths) in the unit.
AirplaneDisplay DisplayAirplane(const TMissionData& md, MassUnit unit = MassUnit::Kilograms);

// LoadAirplane for a type the table holds; a type it lacks leaves md and the
// table's current record untouched and gives nothing, so that no caller
// computes with the airplane that happened to be loaded before.
std::optional<AirplaneDisplay> LoadListedAirplane(
    TTable& table, const std::string& typeName, TMissionData& md);

// Whether a selector's text names the loaded type: the same comparison as the
// table's lookup (whole value, ASCII letters in either case).
bool NamesLoadedAirplane(std::string_view typeText, std::string_view loadedType);

// Why nothing can be computed while the selector names a type the table
// lacks.
std::string UnlistedAirplaneMessage(std::string_view typeText);

// The "Type" of every record from the current one to the end of the table,
// in table order.
std::vector<std::string> ReadTypesFromCurrent(TTable& table);

} // namespace mirovax
