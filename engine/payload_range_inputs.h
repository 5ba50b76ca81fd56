#pragma once

#include "engine/calculation_run.h"

#include <optional>
#include <string>

namespace mirovax {

// Why the diagram cannot be drawn from these field texts, naming the field
// by its caption and name ("The diagram cannot be drawn: Flight Level (Edit5)
// is empty."), or nothing when every field that a run reads is usable. The
// fields are checked in the order the run converts them, Edit8 (never
// converted, but required) last, so the field named is the one that refuses
// the run.
std::optional<std::string> UnusableFieldMessage(const InputTexts& texts);

// The caption under which the window shows field "Edit" + n, n = 3 to 15.
std::string FieldCaption(int edit);

} // namespace mirovax
