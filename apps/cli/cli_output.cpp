#include "cli_output.h"

#include "engine/emissions.h"
#include "engine/text_format.h"
#include "form/input_rules.h"
#include "report/report_model.h"
#include "textio/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace mirovax::cli {

namespace {

constexpr size_t kCaptionWidth = 20;

void AppendRow(std::string& out, std::string_view caption, std::string_view value)
{
    out += caption;
    out.append(caption.size() < kCaptionWidth ? kCaptionWidth - caption.size() : 1, ' ');
    out += value;
    out += '\n';
}

// A row of the middle block: a fuel item with its time and its fuel.
void AppendTimeFuelRow(
    std::string& out, std::string_view caption, const std::string& time, const std::string& fuel)
{
    AppendRow(out, caption, time + "  " + fuel);
}

std::string JsonStringOrNull(const std::string& text)
{
    return text.empty() ? "null" : JsonString(text);
}

std::string JsonNumberOrNull(const std::optional<double>& value)
{
    return value ? JsonNumber(*value) : "null";
}

// A mass in the run's unit, whole units, with the unit.
std::string Mass(double kg, MassUnit unit)
{
    return FormatMass(kg, unit) + " " + std::string(MassUnitText(unit));
}

// A text right-aligned in a column of the given width.
std::string Right(const std::string& text, size_t width)
{
    return std::string(text.size() < width ? width - text.size() : 1, ' ') + text;
}

std::string JsonLimits(const SetupRun& run)
{
    if (!run.limits)
        return ",\"limits\":null,\"stoppedBy\":null,\"exceededBy\":null,\"extraPayload\":null,"
               "\"extraFuel\":null";
    const MissionLimits& limits = *run.limits;
    std::string out = ",\"limits\":[";
    for (size_t i = 0; i < limits.limits.size(); ++i) {
        const LimitMargin& m = limits.limits[i];
        out += i == 0 ? "{" : ",{";
        out += "\"name\":" + JsonString(m.name) + ",\"value\":" + JsonNumber(m.value)
            + ",\"limit\":" + JsonNumber(m.limit) + ",\"margin\":" + JsonNumber(m.margin)
            + (m.binding ? ",\"binding\":true}" : ",\"binding\":false}");
    }
    out += "]";
    out += ",\"stoppedBy\":" + (limits.stopped ? JsonString(limits.stoppedBy) : std::string("null"));
    out += ",\"exceededBy\":"
        + JsonNumberOrNull(limits.stopped ? std::optional(limits.exceededBy) : std::nullopt);
    out += ",\"extraPayload\":" + JsonNumberOrNull(limits.extraPayload);
    out += ",\"extraFuel\":" + JsonNumberOrNull(limits.extraFuel);
    return out;
}

} // namespace

std::string FormatPlain(const SetupRun& run)
{
    if (!run.error.empty())
        return "";
    std::string out;
    AppendRow(out, "File:", run.path);
    AppendRow(out, "Airplane:", run.fields()[kSetupAirplaneLine]);
    AppendRow(out, StaticTextCaption(28), run.mode);
    if (!run.valid) {
        out += run.message;
        out += '\n';
        return out;
    }
    const ResultTexts& r = run.results;
    // The mode selector shows the "Limited by:" row and the maximum only in
    // the two maximum modes.
    const std::optional<ModeRule> rule = FindModeRule(run.mode);
    if (rule && rule->maximumRowsShown) {
        AppendRow(out, StaticTextCaption(39), r.label(12));
        AppendRow(out, rule->label11.value_or(""), r.label(13));
    }
    AppendRow(out, StaticTextCaption(40), r.label(14));
    AppendRow(out, StaticTextCaption(41), r.label(15));
    AppendRow(out, StaticTextCaption(42), r.label(16));
    AppendRow(out, StaticTextCaption(43), r.label(17));
    AppendTimeFuelRow(out, StaticTextCaption(44), r.label(18), r.label(23));
    AppendTimeFuelRow(out, StaticTextCaption(45), r.label(19), r.label(24));
    AppendTimeFuelRow(out, StaticTextCaption(46), r.label(20), r.label(25));
    AppendTimeFuelRow(out, StaticTextCaption(47), r.label(21), r.label(26));
    AppendTimeFuelRow(out, StaticTextCaption(48), r.label(22), r.label(27));
    AppendRow(out, StaticTextCaption(49), r.label(28));
    AppendRow(out, StaticTextCaption(50), r.label(29));
    AppendRow(out, StaticTextCaption(51), r.label(30));
    return out;
}

std::string FormatMargins(const SetupRun& run)
{
    if (!run.limits)
        return "";
    const MissionLimits& limits = *run.limits;
    const MassUnit unit = run.session.Units();
    const auto Shown = [unit](double kg) { return Mass(kg, unit); };
    constexpr size_t kNameWidth = 26;
    constexpr size_t kNumberWidth = 12;
    std::string out = "Limits" + std::string(kNameWidth - 6, ' ') + Right("Value", kNumberWidth)
        + Right("Limit", kNumberWidth) + Right("Margin", kNumberWidth) + '\n';
    for (const LimitMargin& m : limits.limits) {
        out += m.name + std::string(m.name.size() < kNameWidth ? kNameWidth - m.name.size() : 1, ' ');
        out += Right(Shown(m.value), kNumberWidth) + Right(Shown(m.limit), kNumberWidth)
            + Right(Shown(m.margin), kNumberWidth);
        out += m.binding ? "  binding\n" : "\n";
    }
    if (limits.stopped) {
        AppendRow(out, "Stopped by:", limits.stoppedBy + ", exceeded by " + Shown(limits.exceededBy));
    } else if (!limits.binding.empty()) {
        // The search's last distance is the first beyond the limit: its
        // negative margin is the search's outcome, not a fault of the plan.
        AppendRow(out, "Binding limit:",
            limits.binding
                + (limits.firstDistanceBeyondLimit ? " (figures of the first distance beyond it)" : ""));
    }
    if (run.valid && run.mode == kModeTripTimeAndFuel) {
        AppendRow(out, "Extra payload:", limits.extraPayload ? Shown(*limits.extraPayload) : "unknown");
        AppendRow(out, "Extra fuel:", limits.extraFuel ? Shown(*limits.extraFuel) : "unknown");
    }
    return out;
}

std::string FormatJson(const SetupRun& run, const PointTexts& point)
{
    std::string out;
    out.reserve(2048);
    out += '{';
    if (!point.empty()) {
        out += "\"point\":{";
        for (size_t i = 0; i < point.size(); ++i)
            out += (i == 0 ? "" : ",") + JsonString(point[i].first) + ':' + JsonString(point[i].second);
        out += "},";
    }
    out += "\"file\":" + JsonString(run.path);
    out += ",\"mode\":" + JsonString(run.mode);
    out += ",\"status\":" + std::to_string(run.status);
    out += run.valid ? ",\"valid\":true" : ",\"valid\":false";
    out += ",\"message\":" + JsonStringOrNull(run.message);
    out += ",\"error\":" + JsonStringOrNull(run.error);

    out += ",\"fields\":";
    if (run.fieldsLoaded) {
        out += '{';
        for (size_t i = 0; i < kSetupFieldNames.size(); ++i) {
            if (i > 0)
                out += ',';
            out += JsonString(kSetupFieldNames[i]) + ':' + JsonString(run.fields()[i]);
        }
        out += '}';
    } else {
        out += "null";
    }

    // The labels are in the unit shown, the values always in kilograms.
    out += ",\"units\":{\"labels\":" + JsonString(MassUnitText(run.session.Units())) + ",\"values\":\"kg\"}";
    out += ",\"labels\":{";
    for (int n = 12; n <= 30; ++n) {
        if (n > 12)
            out += ',';
        out += "\"Label" + std::to_string(n) + "\":" + JsonString(run.results.label(n));
    }
    out += '}';

    out += ",\"values\":{";
    for (const NumericField& f : kResultFields) {
        out += JsonString(f.name) + ':' + JsonNumber(run.md().*f.member);
        out += ',';
    }
    out += "\"LimitedBy\":" + JsonString(run.md().LimitedBy);
    out += '}';
    const std::optional<double> co2 = TripCo2Kg(run.md().TripFuel, run.valid);
    out += ",\"co2TripKg\":" + (co2 ? JsonNumber(*co2) : std::string("null"));
    out += JsonLimits(run) + "}\n";
    return out;
}

} // namespace mirovax::cli
