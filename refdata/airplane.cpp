#include "refdata/airplane.h"

#include "engine/text_format.h"

namespace mirovax {

namespace {

// Weights above 99999 kg need a sixth digit in their entry field.
int WeightFieldLength(double weight)
{
    return weight > 99999 ? 6 : 5;
}

} // namespace

AirplaneDisplay LoadAirplane(TTable& table, const std::string& typeName, TMissionData& md)
{
    // A miss keeps the current record, so the last airplane found is loaded
    // again.
    table.Locate("Type", typeName);

    md.Type = table.FieldAsString("Type");
    md.Airframe = table.FieldAsString("Airframe");
    md.Engine = table.FieldAsString("Engine");
    for (const NumericField& field : kAirplaneNumbers)
        md.*field.member = table.FieldAsFloat(field.name);
    md.Reference = table.FieldAsString("Reference");

    AirplaneDisplay display;
    display.edit14MaxLength = WeightFieldLength(md.MTOW);
    display.edit15MaxLength = WeightFieldLength(md.MLAW);
    display.labels[0] = md.Airframe;
    display.labels[1] = md.Engine;
    display.labels[2] = FormatGeneral(md.DOW) + " kg";
    display.labels[3] = FormatGeneral(md.MTOW) + " kg";
    display.edit14 = FormatGeneral(md.MTOW);
    display.labels[4] = FormatGeneral(md.MLAW) + " kg";
    display.edit15 = FormatGeneral(md.MLAW);
    display.labels[5] = FormatGeneral(md.MZFW) + " kg";
    display.labels[6] = FormatGeneral(md.TCAP) + " kg";
    display.labels[7] = FormatGeneral(md.MaxAlt) + " ft";
    display.labels[8] = FormatGeneral(md.Mach);
    display.labels[9] = md.Reference;
    display.edit4MaxLength = WeightFieldLength(md.MZFW);
    return display;
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
