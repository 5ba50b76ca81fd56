#include "refdata/airplane.h"

#include "engine/text_format.h"

#include <algorithm>

namespace mirovax {

namespace {

// Weights above 99999 need a sixth digit in their entry field, above
// 999999 a seventh (in pounds, where the field shows whole pounds).
int WeightFieldLength(double weight, MassUnit unit)
{
    const double figure = unit == MassUnit::Kilograms ? weight : RoundHalfEven(MassInUnit(weight, unit));
    return figure > 999999 ? 7 : figure > 99999 ? 6 : 5;
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
    return DisplayAirplane(md);
}

} // namespace

AirplaneDisplay DisplayAirplane(const TMissionData& md, MassUnit unit)
{
    const auto mass
        = [unit](double kg) { return FormatMassExact(kg, unit) + " " + std::string(MassUnitText(unit)); };
    AirplaneDisplay display;
    display.matowMaxLength = WeightFieldLength(md.MTOW, unit);
    display.malwMaxLength = WeightFieldLength(md.MLAW, unit);
    display.labels[0] = md.Airframe;
    display.labels[1] = md.Engine;
    display.labels[2] = mass(md.DOW);
    display.labels[3] = mass(md.MTOW);
    display.matow = FormatGeneral(md.MTOW);
    display.labels[4] = mass(md.MLAW);
    display.malw = FormatGeneral(md.MLAW);
    display.labels[5] = mass(md.MZFW);
    display.labels[6] = mass(md.TCAP);
    display.labels[7] = FormatGeneral(md.MaxAlt) + " ft";
    display.labels[8] = FormatGeneral(md.Mach);
    display.labels[9] = md.Reference;
    display.payloadMaxLength = WeightFieldLength(md.MZFW, unit);
    return display;
}

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
