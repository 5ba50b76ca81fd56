#include "report/payload_range_output.h"

#include "engine/text_format.h"
#include "textio/json_text.h"
#include "textio/svg_coord.h"
#include "textio/text_encoding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace mirovax {

namespace {

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char ch : text)
        out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return out + "\"";
}

// Picture layout in SVG user units (pixels at 100 %).
constexpr double kWidth = 760, kHeight = 500;
constexpr double kLeft = 90, kRight = 40, kTop = 50, kBottom = 90;
constexpr double kPlotWidth = kWidth - kLeft - kRight, kPlotHeight = kHeight - kTop - kBottom;

} // namespace

std::string PayloadRangeCsv(const std::vector<PayloadRangePoint>& diagram, MassUnit unit)
{
    std::string out = unit == MassUnit::Kilograms ? "payload,range,limitedBy,corner,bindsFromHere\n"
                                                  : "payload_lb,range,limitedBy,corner,bindsFromHere\n";
    for (const PayloadRangePoint& p : diagram) {
        out += FormatRoundTrip(MassInUnit(p.payload, unit)) + "," + FormatRoundTrip(p.range) + ","
            + CsvField(p.limitedBy) + "," + (p.corner ? "1" : "0") + "," + CsvField(p.bindsFromHere) + "\n";
    }
    return out;
}

std::string PayloadRangeJson(const std::vector<PayloadRangePoint>& diagram)
{
    std::string out = "{\"points\": [";
    for (size_t i = 0; i < diagram.size(); ++i) {
        const PayloadRangePoint& p = diagram[i];
        if (i > 0)
            out += ", ";
        out += "{\"payload\": " + JsonNumber(p.payload) + ", \"range\": " + JsonNumber(p.range)
            + ", \"limitedBy\": " + JsonString(p.limitedBy);
        if (p.corner)
            out += ", \"bindsFromHere\": " + JsonString(p.bindsFromHere);
        out += "}";
    }
    return out + "]}\n";
}

std::string PayloadRangeSvg(const std::vector<PayloadRangePoint>& envelope,
    const std::optional<MissionPoint>& missionKg, const std::string& title, MassUnit unit)
{
    // Where the mission lies is decided in kilograms; the picture is drawn
    // in the unit.
    const bool inside = missionKg && InsideEnvelope(envelope, missionKg->payload, missionKg->range);
    std::vector<PayloadRangePoint> diagram = envelope;
    for (PayloadRangePoint& p : diagram)
        p.payload = MassInUnit(p.payload, unit);
    std::optional<MissionPoint> mission = missionKg;
    if (mission)
        mission->payload = MassInUnit(mission->payload, unit);
    const std::string unitText(MassUnitText(unit));
    double maxRange = 0, maxPayload = 0;
    for (const PayloadRangePoint& p : diagram) {
        maxRange = std::max(maxRange, p.range);
        maxPayload = std::max(maxPayload, p.payload);
    }
    if (mission) {
        maxRange = std::max(maxRange, mission->range);
        maxPayload = std::max(maxPayload, mission->payload);
    }
    // Head room above the top corners and right of the ferry range for the
    // labels.
    const std::vector<double> xTicks = AxisTicks(maxRange * 1.04, 8);
    const std::vector<double> yTicks = AxisTicks(maxPayload * 1.15, 6);
    const double xMax = xTicks.back(), yMax = yTicks.back();
    // Values outside the axes (a negative entry) are drawn on the frame.
    auto x = [&](double rangeNm) { return kLeft + std::clamp(rangeNm / xMax, 0.0, 1.0) * kPlotWidth; };
    auto y = [&](double payload) {
        return kTop + kPlotHeight - std::clamp(payload / yMax, 0.0, 1.0) * kPlotHeight;
    };

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + SvgCoord(kWidth) + "\" height=\""
        + SvgCoord(kHeight) + "\" viewBox=\"0 0 " + SvgCoord(kWidth) + " " + SvgCoord(kHeight)
        + "\" font-family=\"DejaVu Sans, Liberation Sans, Arial, sans-serif\" font-size=\"12\">\n";
    out += "<title>" + MarkupText(title.empty() ? "Payload-Range" : title) + "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out += "<text x=\"" + SvgCoord(kWidth / 2)
        + "\" y=\"30\" text-anchor=\"middle\" font-size=\"16\" font-weight=\"bold\">"
        + MarkupText(title.empty() ? "Payload-Range" : title) + "</text>\n";

    if (!diagram.empty()) {
        // The envelope, bounded by the axes and the curve, in an opaque tint
        // under the grid: not every SVG reader honours fill-opacity.
        std::string area = SvgCoord(x(0)) + "," + SvgCoord(y(0));
        for (const PayloadRangePoint& p : diagram)
            area += " " + SvgCoord(x(p.range)) + "," + SvgCoord(y(p.payload));
        area += " " + SvgCoord(x(diagram.back().range)) + "," + SvgCoord(y(0));
        out += "<polygon points=\"" + area + "\" fill=\"#e2ebfa\" stroke=\"none\"/>\n";
    }
    out += "<g stroke=\"#d0d0d0\" stroke-width=\"1\">\n";
    for (double t : xTicks)
        out += "<line x1=\"" + SvgCoord(x(t)) + "\" y1=\"" + SvgCoord(kTop) + "\" x2=\"" + SvgCoord(x(t))
            + "\" y2=\"" + SvgCoord(kTop + kPlotHeight) + "\"/>\n";
    for (double t : yTicks)
        out += "<line x1=\"" + SvgCoord(kLeft) + "\" y1=\"" + SvgCoord(y(t)) + "\" x2=\""
            + SvgCoord(kLeft + kPlotWidth) + "\" y2=\"" + SvgCoord(y(t)) + "\"/>\n";
    out += "</g>\n<g>\n";
    for (double t : xTicks)
        out += "<text x=\"" + SvgCoord(x(t)) + "\" y=\"" + SvgCoord(kTop + kPlotHeight + 18)
            + "\" text-anchor=\"middle\">" + FormatGeneral(t) + "</text>\n";
    for (double t : yTicks)
        out += "<text x=\"" + SvgCoord(kLeft - 8) + "\" y=\"" + SvgCoord(y(t) + 4) + "\" text-anchor=\"end\">"
            + FormatGeneral(t) + "</text>\n";
    out += "<text x=\"" + SvgCoord(kLeft + kPlotWidth / 2) + "\" y=\"" + SvgCoord(kTop + kPlotHeight + 40)
        + "\" text-anchor=\"middle\">Range (NM)</text>\n";
    out += "<text transform=\"translate(22 " + SvgCoord(kTop + kPlotHeight / 2)
        + ") rotate(-90)\" text-anchor=\"middle\">Payload (" + unitText + ")</text>\n";
    out += "</g>\n";
    out += "<rect x=\"" + SvgCoord(kLeft) + "\" y=\"" + SvgCoord(kTop) + "\" width=\"" + SvgCoord(kPlotWidth)
        + "\" height=\"" + SvgCoord(kPlotHeight) + "\" fill=\"none\" stroke=\"black\"/>\n";

    if (!diagram.empty()) {
        std::string curve;
        for (const PayloadRangePoint& p : diagram)
            curve += SvgCoord(x(p.range)) + "," + SvgCoord(y(p.payload)) + " ";
        curve.pop_back();
        out += "<polyline points=\"" + curve + "\" fill=\"none\" stroke=\"#2a6fdb\" stroke-width=\"2\"/>\n";
        out += "<g>\n";
        for (const PayloadRangePoint& p : diagram) {
            if (!p.corner)
                continue;
            const double px = x(p.range), py = y(p.payload);
            // Labels near the right edge run leftwards so that they stay in.
            const bool leftwards = px > kLeft + 0.6 * kPlotWidth;
            const std::string anchor = leftwards ? "end" : "start";
            const double tx = leftwards ? px - 8 : px + 8;
            // Above the corner, but below it inside the envelope for the
            // zero-range corner on the payload axis (the next corner's label
            // would overlap) and for a leftward label off the range axis (the
            // curve rises leftwards through the space above).
            const bool below = p.payload > 0.15 * yMax && (p.range == 0 || leftwards);
            const double ty = below ? py + 18 : py - 24;
            out += "<circle cx=\"" + SvgCoord(px) + "\" cy=\"" + SvgCoord(py)
                + "\" r=\"4\" fill=\"white\" stroke=\"#2a6fdb\" stroke-width=\"2\"/>\n";
            out += "<text x=\"" + SvgCoord(tx) + "\" y=\"" + SvgCoord(ty) + "\" text-anchor=\"" + anchor
                + "\">" + MarkupText(p.bindsFromHere) + "</text>\n";
            out += "<text x=\"" + SvgCoord(tx) + "\" y=\"" + SvgCoord(ty + 13) + "\" text-anchor=\"" + anchor
                + "\" font-size=\"10\" fill=\"#555555\">" + FormatRounded(p.payload) + " " + unitText + ", "
                + FormatRounded(p.range) + " NM</text>\n";
        }
        out += "</g>\n";
    }

    if (mission) {
        const double px = x(mission->range), py = y(mission->payload);
        const std::string colour = inside ? "#1b8a3a" : "#c62828";
        out += "<path d=\"M " + SvgCoord(px) + " " + SvgCoord(py - 6) + " L " + SvgCoord(px + 6) + " "
            + SvgCoord(py) + " L " + SvgCoord(px) + " " + SvgCoord(py + 6) + " L " + SvgCoord(px - 6) + " "
            + SvgCoord(py) + " Z\" fill=\"" + colour + "\"/>\n";
        out += "<text x=\"" + SvgCoord(kLeft) + "\" y=\"" + SvgCoord(kHeight - 18) + "\" fill=\"" + colour
            + "\">Mission " + FormatRounded(mission->payload) + " " + unitText + " over "
            + FormatRounded(mission->range) + " NM: " + (inside ? "inside" : "outside")
            + " the envelope</text>\n";
    }
    out += "</svg>\n";
    return out;
}

} // namespace mirovax
