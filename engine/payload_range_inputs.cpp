#include "engine/payload_range_inputs.h"

#include "engine/text_format.h"

#include <array>

namespace mirovax {

namespace {

// The run converts the fields in this order (see ReadInputs).
constexpr std::array<int, 12> kConversionOrder = {3, 4, 5, 6, 7, 14, 15, 9, 10, 11, 12, 13};

bool Blank(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

std::string Refusal(int edit, const char* what)
{
    return "The diagram cannot be drawn: " + FieldCaption(edit) + " (Edit" + std::to_string(edit) + ") "
        + what + ".";
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

std::optional<std::string> UnusableFieldMessage(const InputTexts& texts)
{
    for (int edit : kConversionOrder) {
        const std::string& text = texts.edit(edit);
        // A field of blanks looks empty to the user, though the run only
        // fails to convert it.
        if (Blank(text))
            return Refusal(edit, "is empty");
        if (!ConvertStrict(text).ok())
            return Refusal(edit, "is not a number");
    }
    if (texts.edit(8).empty())
        return Refusal(8, "is empty");
    return std::nullopt;
}

} // namespace mirovax
