#include "form/payload_range_inputs.h"

#include "form/window_captions.h"

namespace mirovax {

namespace {

bool Blank(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

std::string Refusal(std::string_view lead, Field field, const char* what)
{
    return std::string(lead) + ": " + FieldCaption(field) + " " + what + ".";
}

} // namespace

std::optional<std::string> UnusableFieldMessage(const FieldTexts& texts, std::string_view lead)
{
    const std::optional<Field> field = FirstUnusableField(texts);
    if (!field)
        return std::nullopt;
    // A field of blanks looks empty to the user, though the run only fails
    // to convert it.
    return Refusal(lead, *field, Blank(texts[*field]) ? "is empty" : "is not a number");
}

DiagramMission DiagramMissionOf(const TMissionData& airplane, const FieldTexts& texts)
{
    DiagramMission mission;
    mission.unusable = UnusableFieldMessage(texts);
    mission.md = airplane;
    if (!mission.unusable)
        ReadInputs(texts, mission.md);
    return mission;
}

} // namespace mirovax
