#include "form/calculation_run.h"

#include "form/input_rules.h"
#include "engine/text_format.h"
#include "form/window_captions.h"

namespace mirovax {

namespace {

struct InputBinding {
    int edit;
    double TMissionData::*member;
};

// The order in which the fields are converted; the first failure decides
// ConversionError, and names the field that refuses the run.
constexpr std::array<InputBinding, 12> kInputOrder = {{
    {3, &TMissionData::TripDistance},
    {4, &TMissionData::Payload},
    {5, &TMissionData::FlightLevel},
    {6, &TMissionData::OAT},
    {7, &TMissionData::Wind},
    {14, &TMissionData::MATOW},
    {15, &TMissionData::MALW},
    {9, &TMissionData::AlternateElevation},
    {10, &TMissionData::AlternateDistance},
    {11, &TMissionData::HoldingTime},
    {12, &TMissionData::HoldingAltitude},
    {13, &TMissionData::ContingencyPercent},
}};

} // namespace

std::optional<int> FirstUnusableField(const InputTexts& texts)
{
    for (const InputBinding& binding : kInputOrder) {
        if (!ConvertStrict(texts.edit(binding.edit)).ok())
            return binding.edit;
    }
    if (texts.edit(8).empty())
        return 8;
    return std::nullopt;
}

namespace {

// The inputs from the conversion of each field, in the order of kInputOrder.
template <class Convert> void StoreInputs(const InputTexts& texts, TMissionData& md, Convert convert)
{
    md.ConversionError = 0;
    for (size_t i = 0; i < kInputOrder.size(); ++i) {
        const InputBinding& binding = kInputOrder[i];
        const Conversion c = convert(i, texts.edit(binding.edit));
        md.*binding.member = c.value;
        if (!c.ok() && md.ConversionError == 0)
            md.ConversionError = c.errorPosition;
    }
    for (int n = 3; n <= 15; ++n) {
        if (texts.edit(n).empty()) {
            md.ConversionError = 1;
            break;
        }
    }
}

} // namespace

void ReadInputs(const InputTexts& texts, TMissionData& md)
{
    StoreInputs(texts, md, [](size_t, const std::string& text) { return ConvertStrict(text); });
}

void TInputReader::Read(const InputTexts& texts, TMissionData& md)
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

ResultTexts ShowResults(const TMissionData& md, std::string_view modeText)
{
    // Rounded, with the unit where the label shows one.
    auto rounded = [](double value, int label) {
        const ResultUnit unit = ResultLabelUnit(label);
        return FormatRounded(value) + (unit.shown ? " " + std::string(unit.unit) : std::string());
    };
    ResultTexts out;
    out.label(12) = md.LimitedBy;
    const std::optional<ModeRule> rule = FindModeRule(modeText);
    const std::string maximumUnit = rule ? " " + std::string(rule->maximumUnit) : std::string();
    if (modeText == kModeMaximumRange)
        out.label(13) = FormatRounded(md.MaxRange) + maximumUnit;
    if (modeText == kModeMaximumPayload)
        out.label(13) = FormatRounded(md.MaxPayload) + maximumUnit;
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

bool ExecuteCalculation(TMissionData& md, const InputTexts& texts, std::string_view modeText,
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
