#pragma once

#include "engine/calculation_run.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirovax {

// Why the diagram cannot be drawn from these field texts, naming the field
// by its caption and name ("The diagram cannot be drawn: Flight Level (Edit5)
// is empty."), or nothing when every field that a run reads is usable. The
// field named is FirstUnusableField, the one that refuses the run. Other
// windows that follow the entries say what they cannot do in lead.
std::optional<std::string> UnusableFieldMessage(
    const InputTexts& texts, std::string_view lead = "The diagram cannot be drawn");

// The caption under which the window shows field "Edit" + n, n = 3 to 15.
std::string FieldCaption(int edit);

} // namespace mirovax
