#pragma once

#include "engine/mission_data.h"
#include "form/calculation_run.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirovax {

// Why the diagram cannot be drawn from these field texts, naming the field
// by its caption ("The diagram cannot be drawn: Flight Level is empty."), or nothing when every field that a
// run reads is usable. The field named is FirstUnusableField, the one that refuses the run. Other windows
// that follow the entries say what they cannot do in lead.
std::optional<std::string> UnusableFieldMessage(
    const FieldTexts& texts, std::string_view lead = "The diagram cannot be drawn");

// What the payload-range diagram is drawn from: the airplane with the
// entries read in, or why a field cannot be read (UnusableFieldMessage).
struct DiagramMission {
    std::optional<std::string> unusable;
    TMissionData md; // the airplane with the entries, when they can be read
};
DiagramMission DiagramMissionOf(const TMissionData& airplane, const FieldTexts& texts);

} // namespace mirovax
