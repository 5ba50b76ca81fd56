#include "engine/payload_range_inputs.h"

#include <array>

namespace mirovax {

namespace {

bool Blank(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

std::string Refusal(std::string_view lead, int edit, const char* what)
{
    return std::string(lead) + ": " + FieldCaption(edit) + " (Edit" + std::to_string(edit) + ") " + what
        + ".";
}

} // namespace

std::string FieldCaption(int edit)
{
    // The captions beside the fields; the alternate's distance is named as
    // such, as both distance fields are captioned "Distance:".
    static const std::array<const char*, 13> captions
        = {"Distance", "Payload", "Flight Level", "OAT", "Wind", "Alternate", "Elevation",
            "Alternate Distance", "Holding Time", "Hold. Altitude", "Cont Fuel", "MATOW", "MALW"};
    return captions.at(static_cast<size_t>(edit - 3));
}

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
