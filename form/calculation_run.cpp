#include "form/calculation_run.h"

#include "engine/text_format.h"
#include "form/input_rules.h"
#include "form/window_captions.h"

namespace mirovax {

namespace {

using enum Field;

// The order in which the fields are converted; the first failure decides
// ConversionError, and names the field that refuses the run.
constexpr std::array<Field, 12> kInputOrder = {Distance, Payload, FlightLevel, Oat, Wind, Matow, Malw,
    AlternateElevation, AlternateDistance, HoldingTime, HoldingAltitude, Contingency};

} // namespace

std::optional<Field> FirstUnusableField(const FieldTexts& texts)
{
    for (const Field field : kInputOrder) {
        if (!ConvertStrict(texts[field]).ok())
            return field;
    }
    if (texts[Alternate].empty())
        return Alternate;
    return std::nullopt;
}

namespace {

// The inputs from the conversion of each field, in the order of kInputOrder.
template <class Convert> void StoreInputs(const FieldTexts& texts, TMissionData& md, Convert convert)
{
    md.ConversionError = 0;
    for (size_t i = 0; i < kInputOrder.size(); ++i) {
        const Field field = kInputOrder[i];
        const Conversion c = convert(i, texts[field]);
        md.*Spec(field).input = c.value;
        if (!c.ok() && md.ConversionError == 0)
            md.ConversionError = c.errorPosition;
    }
    for (const FieldSpec& spec : Fields()) {
        if (spec.field >= Distance && texts[spec.field].empty()) {
            md.ConversionError = 1;
            break;
        }
    }
}

} // namespace

void ReadInputs(const FieldTexts& texts, TMissionData& md)
{
    StoreInputs(texts, md, [](size_t, const std::string& text) { return ConvertStrict(text); });
}

void TInputReader::Read(const FieldTexts& texts, TMissionData& md)
{
    StoreInputs(texts, md, [this](size_t i, const std::string& text) {
        Converted& last = m_last[i];
        if (!last.done || last.text != text) {
            last.text = text;
            last.conversion = ConvertStrict(text);
            last.done = true;
        }
        return last.conversion;
    });
}

ResultTexts ShowResults(const TMissionData& md, std::string_view modeText, MassUnit massUnit)
{
    // Rounded in the label's unit, with the unit where the label shows one.
    auto rounded = [massUnit](double value, int label) {
        const ResultUnit unit = ResultLabelUnit(label, massUnit);
        const bool mass = unit.unit != ResultLabelUnit(label).unit;
        return FormatRounded(mass ? MassInUnit(value, massUnit) : value)
            + (unit.shown ? " " + std::string(unit.unit) : std::string());
    };
    ResultTexts out;
    out.label(12) = md.LimitedBy;
    const std::optional<ModeRule> rule = FindModeRule(modeText);
    const std::string maximumUnit
        = rule ? " " + std::string(InMassUnit(rule->maximumUnit, massUnit)) : std::string();
    if (modeText == kModeMaximumRange)
        out.label(13) = FormatRounded(md.MaxRange) + maximumUnit;
    if (modeText == kModeMaximumPayload)
        out.label(13) = FormatMass(md.MaxPayload, massUnit) + maximumUnit;
    out.label(14) = rounded(md.TrueAirspeed, 14);
    out.label(15) = rounded(md.GroundSpeed, 15);
    out.label(16) = rounded(md.StillAirDistance, 16);
    out.label(17) = rounded(md.AvgFuelFlow, 17);
    out.label(18) = FormatHoursMinutes(md.HoldingTime / 60.0);
    out.label(19) = FormatHoursMinutes(md.AlternateTime);
    out.label(20) = FormatHoursMinutes(md.ContingencyTime);
    out.label(21) = FormatHoursMinutes(md.TripTime);
    out.label(22) = FormatHoursMinutes(md.MinTakeoffTime);
    out.label(23) = rounded(md.HoldingFuel, 23);
    out.label(24) = rounded(md.AlternateFuel, 24);
    out.label(25) = rounded(md.ContingencyFuel, 25);
    out.label(26) = rounded(md.TripFuel, 26);
    out.label(27) = rounded(md.MinTakeoffFuel, 27);
    out.label(28) = rounded(md.ZeroFuelWeight, 28);
    out.label(29) = rounded(md.TakeoffWeight, 29);
    out.label(30) = rounded(md.LandingWeight, 30);
    return out;
}

bool ExecuteCalculation(TMissionData& md, const FieldTexts& texts, std::string_view modeText,
    IMissionServices& services, SearchMethod method, TInputReader* reader)
{
    md.AbortRequested = false;
    if (reader != nullptr)
        reader->Read(texts, md);
    else
        ReadInputs(texts, md);
    md.CalculationValid = true;
    if (md.ConversionError != 0)
        return false;
    // Three separate tests, as a mode text matching none runs no solve mode.
    if (modeText == kModeTripTimeAndFuel)
        SolveTripTimeAndFuel(md, services);
    const bool fast = method == SearchMethod::Fast;
    if (modeText == kModeMaximumRange)
        (fast ? SolveMaximumRangeFast : SolveMaximumRange)(md, services);
    if (modeText == kModeMaximumPayload)
        (fast ? SolveMaximumPayloadFast : SolveMaximumPayload)(md, services);
    return md.CalculationValid;
}

} // namespace mirovax
