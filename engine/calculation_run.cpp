#include "engine/calculation_run.h"

#include "engine/text_format.h"

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

void ReadInputs(const InputTexts& texts, TMissionData& md)
{
    md.ConversionError = 0;
    for (const InputBinding& binding : kInputOrder) {
        const Conversion c = ConvertStrict(texts.edit(binding.edit));
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

ResultTexts ShowResults(const TMissionData& md, std::string_view modeText)
{
    ResultTexts out;
    out.label(12) = md.LimitedBy;
    if (modeText == kModeMaximumRange)
        out.label(13) = FormatRounded(md.MaxRange) + " NM";
    if (modeText == kModeMaximumPayload)
        out.label(13) = FormatRounded(md.MaxPayload) + " kg";
    out.label(14) = FormatRounded(md.TrueAirspeed) + " kts";
    out.label(15) = FormatRounded(md.GroundSpeed) + " kts";
    out.label(16) = FormatRounded(md.StillAirDistance) + " NAM";
    out.label(17) = FormatRounded(md.AvgFuelFlow) + " kg/h";
    out.label(18) = FormatHoursMinutes(md.HoldingTime / 60.0);
    out.label(19) = FormatHoursMinutes(md.AlternateTime);
    out.label(20) = FormatHoursMinutes(md.ContingencyTime);
    out.label(21) = FormatHoursMinutes(md.TripTime);
    out.label(22) = FormatHoursMinutes(md.MinTakeoffTime);
    out.label(23) = FormatRounded(md.HoldingFuel);
    out.label(24) = FormatRounded(md.AlternateFuel);
    out.label(25) = FormatRounded(md.ContingencyFuel);
    out.label(26) = FormatRounded(md.TripFuel);
    out.label(27) = FormatRounded(md.MinTakeoffFuel);
    out.label(28) = FormatRounded(md.ZeroFuelWeight) + " kg";
    out.label(29) = FormatRounded(md.TakeoffWeight) + " kg";
    out.label(30) = FormatRounded(md.LandingWeight) + " kg";
    return out;
}

bool ExecuteCalculation(TMissionData& md, const InputTexts& texts, std::string_view modeText,
    IMissionServices& services, SearchMethod method)
{
    md.AbortRequested = false;
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
