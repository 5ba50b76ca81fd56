#pragma once

#include "engine/mission_data.h"
#include "refdata/table_store.h"

#include <array>
#include <string>
#include <vector>

namespace mirovax {

// What LoadAirplane puts on the window: the Airplane Data panel's Label1 to
// Label10, the texts of Edit14 and Edit15, and the maximum lengths of Edit4,
// Edit14 and Edit15.
struct AirplaneDisplay {
    std::array<std::string, 10> labels; // labels[n - 1] is "Label" + n
    std::string edit14;
    std::string edit15;
    int edit4MaxLength = 5;
    int edit14MaxLength = 5;
    int edit15MaxLength = 5;
};

// Locates the type (whole value, ignoring case; the result is not tested) and
// reads the current record's fields, "Type" to "Reference", into the
// airplane constants of md. A missing field throws TableError after the
// fields before it were stored.
AirplaneDisplay LoadAirplane(TTable& table, const std::string& typeName, TMissionData& md);

// The "Type" of every record from the current one to the end of the table,
// in table order.
std::vector<std::string> ReadTypesFromCurrent(TTable& table);

} // namespace mirovax
