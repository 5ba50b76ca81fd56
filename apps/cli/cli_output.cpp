#include "cli_output.h"

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

// Length of the valid UTF-8 sequence at text[i], or 0.
size_t Utf8SequenceLength(std::string_view text, size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    unsigned char min2 = 0x80, max2 = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            min2 = 0xA0; // no overlong forms
        if (lead == 0xED)
            max2 = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            min2 = 0x90;
        if (lead == 0xF4)
            max2 = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        const unsigned char lo = k == 1 ? min2 : 0x80;
        const unsigned char hi = k == 1 ? max2 : 0xBF;
        if (c < lo || c > hi)
            return 0;
    }
    return length;
}

std::string JsonStringOrNull(const std::string& text)
{
    return text.empty() ? "null" : JsonString(text);
}

} // namespace

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    out.reserve(text.size() + 2);
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            const size_t length = Utf8SequenceLength(text, i);
            if (length == 0) {
                out += "\xEF\xBF\xBD"; // U+FFFD
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20 || u == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += c;
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char buf[32];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string FormatPlain(const SetupRun& run)
{
    if (!run.error.empty())
        return "";
    std::string out;
    AppendRow(out, "File:", run.path);
    AppendRow(out, "Airplane:", run.fields[kSetupAirplaneLine]);
    AppendRow(out, "Solve for:", run.mode);
    if (!run.valid) {
        out += run.message;
        out += '\n';
        return out;
    }
    const ResultTexts& r = run.results;
    // The mode selector shows the "Limited by:" row and the maximum only in
    // the two maximum modes.
    if (run.mode == kModeMaximumRange || run.mode == kModeMaximumPayload) {
        AppendRow(out, "Limited by:", r.label(12));
        AppendRow(out, run.mode == kModeMaximumRange ? "Maximum Range:" : "Maximum Payload:", r.label(13));
    }
    AppendRow(out, "True Airspeed:", r.label(14));
    AppendRow(out, "Ground Speed:", r.label(15));
    AppendRow(out, "Still Air Distance:", r.label(16));
    AppendRow(out, "Avg. Fuel Flow:", r.label(17));
    AppendTimeFuelRow(out, "Holding:", r.label(18), r.label(23));
    AppendTimeFuelRow(out, "Alternate:", r.label(19), r.label(24));
    AppendTimeFuelRow(out, "Contingency:", r.label(20), r.label(25));
    AppendTimeFuelRow(out, "Trip:", r.label(21), r.label(26));
    AppendTimeFuelRow(out, "Min. Takeoff:", r.label(22), r.label(27));
    AppendRow(out, "Zero Fuel Weight:", r.label(28));
    AppendRow(out, "Takeoff Weight:", r.label(29));
    AppendRow(out, "Landing Weight:", r.label(30));
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
