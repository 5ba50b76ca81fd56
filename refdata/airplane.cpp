#include "refdata/airplane.h"

#include "engine/text_format.h"

#include <algorithm>

namespace mirovax {

namespace {

// Weights above 99999 kg need a sixth digit in their entry field.
int WeightFieldLength(double weight)
{
    return weight > 99999 ? 6 : 5;
}

// Reads the current record into md.
AirplaneDisplay ReadCurrentAirplane(const TTable& table, TMissionData& md)
{
    md.Type = table.FieldAsString("Type");
    md.Airframe = table.FieldAsString("Airframe");
    md.Engine = table.FieldAsString("Engine");
    for (const NumericField& field : kAirplaneNumbers)
        md.*field.member = table.FieldAsFloat(field.name);
    md.Reference = table.FieldAsString("Reference");

    AirplaneDisplay display;
    display.matowMaxLength = WeightFieldLength(md.MTOW);
    display.malwMaxLength = WeightFieldLength(md.MLAW);
    display.labels[0] = md.Airframe;
    display.labels[1] = md.Engine;
    display.labels[2] = FormatGeneral(md.DOW) + " kg";
    display.labels[3] = FormatGeneral(md.MTOW) + " kg";
    display.matow = FormatGeneral(md.MTOW);
    display.labels[4] = FormatGeneral(md.MLAW) + " kg";
    display.malw = FormatGeneral(md.MLAW);
    display.labels[5] = FormatGeneral(md.MZFW) + " kg";
    display.labels[6] = FormatGeneral(md.TCAP) + " kg";
    display.labels[7] = FormatGeneral(md.MaxAlt) + " ft";
    display.labels[8] = FormatGeneral(md.Mach);
    display.labels[9] = md.Reference;
    display.payloadMaxLength = WeightFieldLength(md.MZFW);
    return display;
}

} // namespace

AirplaneDisplay LoadAirplane(TTable& table, const std::string& typeName, TMissionData& md)
{
    // A miss keeps the current record, so the last airplane found is loaded
    // again.
    table.Locate("Type", typeName);
    return ReadCurrentAirplane(table, md);
}

std::optional<AirplaneDisplay> LoadListedAirplane(
    TTable& table, const std::string& typeName, TMissionData& md)
{
    if (!table.Locate("Type", typeName))
        return std::nullopt;
    return ReadCurrentAirplane(table, md);
}

bool NamesLoadedAirplane(std::string_view typeText, std::string_view loadedType)
{
    const auto folded = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return typeText.size() == loadedType.size()
        && std::equal(typeText.begin(), typeText.end(), loadedType.begin(),
            [&folded](char a, char b) { return folded(a) == folded(b); });
}

std::string UnlistedAirplaneMessage(std::string_view typeText)
{
    return "Airplane type \"" + std::string(typeText)
        + "\" is not in the airplane table: pick one from the list";
}

std::vector<std::string> ReadTypesFromCurrent(TTable& table)
{
    std::vector<std::string> types;
    while (!table.Eof()) {
        types.push_back(table.FieldAsString("Type"));
        table.Next();
    }
    return types;
}

} // namespace mirovax
