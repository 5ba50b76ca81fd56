#include "cli_output.h"

#include "engine/input_rules.h"
#include "output/formats/json_text.h"
#include "report/report_model.h"

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

} // namespace

std::string FormatPlain(const SetupRun& run)
{
    if (!run.error.empty())
        return "";
    std::string out;
    AppendRow(out, "File:", run.path);
    AppendRow(out, "Airplane:", run.fields[kSetupAirplaneLine]);
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

std::string FormatJson(const SetupRun& run)
{
    std::string out;
    out.reserve(2048);
    out += "{\"file\":" + JsonString(run.path);
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
            out += JsonString(kSetupFieldNames[i]) + ':' + JsonString(run.fields[i]);
        }
        out += '}';
    } else {
        out += "null";
    }

    out += ",\"labels\":{";
    for (int n = 12; n <= 30; ++n) {
        if (n > 12)
            out += ',';
        out += "\"Label" + std::to_string(n) + "\":" + JsonString(run.results.label(n));
    }
    out += '}';

    out += ",\"values\":{";
    for (const NumericField& f : kResultFields) {
        out += JsonString(f.name) + ':' + JsonNumber(run.md.*f.member);
        out += ',';
    }
    out += "\"LimitedBy\":" + JsonString(run.md.LimitedBy);
    out += "}}\n";
    return out;
}

} // namespace mirovax::cli
