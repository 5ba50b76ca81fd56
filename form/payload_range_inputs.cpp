#include "form/payload_range_inputs.h"

#include "form/window_captions.h"

namespace mirovax {

namespace {

bool Blank(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

std::string Refusal(std::string_view lead, int edit, const char* what)
{
    return std::string(lead) + ": " + FieldCaption(edit) + " " + what + ".";
}

} // namespace

std::optional<std::string> UnusableFieldMessage(const InputTexts& texts, std::string_view lead)
{
    const std::optional<int> edit = FirstUnusableField(texts);
    if (!edit)
        return std::nullopt;
    // A field of blanks looks empty to the user, though the run only fails
    // to convert it.
    return Refusal(lead, *edit, Blank(texts.edit(*edit)) ? "is empty" : "is not a number");
}

} // namespace mirovax
