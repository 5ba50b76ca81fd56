#include "fitting/fuel_fit_plot.h"

#include "engine/fuel_models.h"
#include "engine/text_format.h"
#include "textio/svg_coord.h"
#include "textio/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <utility>

namespace mirovax {

namespace {

constexpr double kWidth = 760, kPanelHeight = 330, kHeader = 56;
constexpr double kLeft = 80, kRight = 150, kTop = 34, kBottom = 56;
constexpr double kPlotWidth = kWidth - kLeft - kRight, kPlotHeight = kPanelHeight - kTop - kBottom;
constexpr const char* kPalette[]
    = {"#1f5fbf", "#c62828", "#2e7d32", "#6a3d9a", "#e65100", "#00838f", "#795548", "#ad1457"};

// One line of the picture: the tabulated values as dots, the fitted figures
// over the same stretch as a line.
struct Series {
    std::vector<std::pair<double, double>> table;
    std::vector<std::pair<double, double>> fitted;
    int colour = 0;
};

struct Panel {
    std::string title, xLabel, yLabel;
    std::vector<Series> series;
    std::vector<std::pair<int, std::string>> legend; // colour, text
    bool keyDotsAndLines = true; // the legend says what a dot and a line are
};

// Round tick values spanning [low, high], at most about maxTicks of them;
// just the two ends where the values are too far apart or too close for
// round steps. There are always two or more, rising.
std::vector<double> Ticks(double low, double high, int maxTicks)
{
    if (!(high > low))
        high = low + std::max(1.0, std::fabs(low) * 1e-6);
    const double raw = (high / maxTicks) - (low / maxTicks);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        step = m * magnitude;
        if (step >= raw)
            break;
    }
    std::vector<double> ticks;
    const double first = std::floor(low / step) * step;
    for (double t = first; std::isfinite(t) && ticks.size() < 40; t += step) {
        if (!ticks.empty() && !(t > ticks.back()))
            break;
        ticks.push_back(t);
        if (t >= high)
            break;
    }
    if (ticks.size() < 2 || !(ticks.back() >= high) || !(ticks.front() <= low))
        return {low, high};
    return ticks;
}

// Where a value lies from the first to the last tick, 0 to 1; halved before
// subtracting so that no difference of two finite values overflows.
double Fraction(double v, const std::vector<double>& ticks)
{
    return (v / 2 - ticks.front() / 2) / (ticks.back() / 2 - ticks.front() / 2);
}

std::string DrawPanel(const Panel& panel, double top)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double xLow = kInf, xHigh = -kInf, yLow = kInf, yHigh = -kInf;
    for (const Series& s : panel.series) {
        for (const auto* points : {&s.table, &s.fitted}) {
            for (const auto& [px, py] : *points) {
                xLow = std::min(xLow, px);
                xHigh = std::max(xHigh, px);
                yLow = std::min(yLow, py);
                yHigh = std::max(yHigh, py);
            }
        }
    }
    // Fuel axes start at 0 where the values come near it, so that a line's
    // slope reads true.
    if (yLow > 0 && yLow < 0.5 * yHigh)
        yLow = 0;
    if (xLow > 0 && xLow < 0.5 * xHigh)
        xLow = 0;
    const std::vector<double> xTicks = Ticks(xLow, xHigh, 8), yTicks = Ticks(yLow, yHigh, 6);
    const double plotTop = top + kTop;
    auto x = [&](double v) { return kLeft + Fraction(v, xTicks) * kPlotWidth; };
    auto y = [&](double v) { return plotTop + kPlotHeight - Fraction(v, yTicks) * kPlotHeight; };

    std::string out = "<text x=\"" + SvgCoord(kLeft) + "\" y=\"" + SvgCoord(top + 22)
        + "\" font-size=\"14\" font-weight=\"bold\">" + MarkupText(panel.title) + "</text>\n";
    out += "<g stroke=\"#d0d0d0\" stroke-width=\"1\">\n";
    for (const double t : xTicks)
        out += "<line x1=\"" + SvgCoord(x(t)) + "\" y1=\"" + SvgCoord(plotTop) + "\" x2=\"" + SvgCoord(x(t))
            + "\" y2=\"" + SvgCoord(plotTop + kPlotHeight) + "\"/>\n";
    for (const double t : yTicks)
        out += "<line x1=\"" + SvgCoord(kLeft) + "\" y1=\"" + SvgCoord(y(t)) + "\" x2=\""
            + SvgCoord(kLeft + kPlotWidth) + "\" y2=\"" + SvgCoord(y(t)) + "\"/>\n";
    out += "</g>\n<g>\n";
    for (const double t : xTicks)
        out += "<text x=\"" + SvgCoord(x(t)) + "\" y=\"" + SvgCoord(plotTop + kPlotHeight + 16)
            + "\" text-anchor=\"middle\">" + FormatGeneral(t) + "</text>\n";
    for (const double t : yTicks)
        out += "<text x=\"" + SvgCoord(kLeft - 6) + "\" y=\"" + SvgCoord(y(t) + 4) + "\" text-anchor=\"end\">"
            + FormatGeneral(t) + "</text>\n";
    out += "<text x=\"" + SvgCoord(kLeft + kPlotWidth / 2) + "\" y=\"" + SvgCoord(plotTop + kPlotHeight + 36)
        + "\" text-anchor=\"middle\">" + MarkupText(panel.xLabel) + "</text>\n";
    out += "<text transform=\"translate(18 " + SvgCoord(plotTop + kPlotHeight / 2)
        + ") rotate(-90)\" text-anchor=\"middle\">" + MarkupText(panel.yLabel) + "</text>\n</g>\n";
    out += "<rect x=\"" + SvgCoord(kLeft) + "\" y=\"" + SvgCoord(plotTop) + "\" width=\""
        + SvgCoord(kPlotWidth) + "\" height=\"" + SvgCoord(kPlotHeight)
        + "\" fill=\"none\" stroke=\"black\"/>\n";

    for (const Series& s : panel.series) {
        const char* colour = kPalette[s.colour % std::size(kPalette)];
        if (s.fitted.size() >= 2) {
            std::string points;
            for (const auto& [px, py] : s.fitted)
                points += SvgCoord(x(px)) + "," + SvgCoord(y(py)) + " ";
            points.pop_back();
            out += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + colour
                + "\" stroke-width=\"1.5\"/>\n";
        }
        for (const auto& [px, py] : s.table)
            out += "<circle cx=\"" + SvgCoord(x(px)) + "\" cy=\"" + SvgCoord(y(py))
                + "\" r=\"2.6\" fill=\"white\"" + " stroke=\"" + colour + "\" stroke-width=\"1.4\"/>\n";
    }
    // The legend right of the plot: the colours, then what dot and line are.
    double ly = plotTop + 8;
    for (const auto& [colour, text] : panel.legend) {
        out += "<line x1=\"" + SvgCoord(kLeft + kPlotWidth + 14) + "\" y1=\"" + SvgCoord(ly) + "\" x2=\""
            + SvgCoord(kLeft + kPlotWidth + 34) + "\" y2=\"" + SvgCoord(ly) + "\" stroke=\""
            + kPalette[colour % static_cast<int>(std::size(kPalette))] + "\" stroke-width=\"2\"/>\n";
        out += "<text x=\"" + SvgCoord(kLeft + kPlotWidth + 40) + "\" y=\"" + SvgCoord(ly + 4) + "\">"
            + MarkupText(text) + "</text>\n";
        ly += 18;
    }
    if (!panel.keyDotsAndLines)
        return out;
    ly += 6;
    out += "<circle cx=\"" + SvgCoord(kLeft + kPlotWidth + 24) + "\" cy=\"" + SvgCoord(ly)
        + "\" r=\"2.6\" fill=\"white\" stroke=\"#555555\" stroke-width=\"1.4\"/>\n";
    out += "<text x=\"" + SvgCoord(kLeft + kPlotWidth + 40) + "\" y=\"" + SvgCoord(ly + 4)
        + "\">table</text>\n";
    ly += 18;
    out += "<line x1=\"" + SvgCoord(kLeft + kPlotWidth + 14) + "\" y1=\"" + SvgCoord(ly) + "\" x2=\""
        + SvgCoord(kLeft + kPlotWidth + 34) + "\" y2=\"" + SvgCoord(ly)
        + "\" stroke=\"#555555\" stroke-width=\"1.5\"/>\n";
    out += "<text x=\"" + SvgCoord(kLeft + kPlotWidth + 40) + "\" y=\"" + SvgCoord(ly + 4)
        + "\">fit</text>\n";
    return out;
}

// Groups the rows of a kind by a key (the flight level and weight of a trip
// row, say), each group a series whose fitted line spans its rows' x values.
template <typename Key, typename XOf, typename ColourOf>
std::vector<Series> GroupSeries(const std::vector<ManualTableRow>& rows, const TMissionData& lines,
    ManualRowKind kind, Key key, XOf xOf, ColourOf colourOf)
{
    using KeyType = decltype(key(rows.front()));
    std::map<KeyType, std::vector<const ManualTableRow*>> groups;
    for (const ManualTableRow& row : rows) {
        if (row.kind == kind)
            groups[key(row)].push_back(&row);
    }
    std::vector<Series> series;
    for (auto& [k, group] : groups) {
        std::sort(group.begin(), group.end(),
            [&](const ManualTableRow* a, const ManualTableRow* b) { return xOf(*a) < xOf(*b); });
        Series s;
        s.colour = colourOf(k);
        for (const ManualTableRow* row : group)
            s.table.emplace_back(xOf(*row), row->value);
        try {
            for (const ManualTableRow* row : {group.front(), group.back()})
                s.fitted.emplace_back(xOf(*row), FittedValue(lines, *row));
        } catch (const FuelModelError&) {
            s.fitted.clear();
        }
        series.push_back(std::move(s));
    }
    return series;
}

} // namespace

std::string FuelFitSvg(
    const std::vector<ManualTableRow>& rows, const FuelLineFit& fit, const std::string& title)
{
    std::map<double, int> levelColour, altitudeColour, weightColour;
    for (const ManualTableRow& row : rows) {
        if (row.kind == ManualRowKind::Trip)
            levelColour.emplace(row.flightLevel, 0);
        if (row.kind == ManualRowKind::Holding)
            altitudeColour.emplace(row.altitude, 0);
        if (row.kind == ManualRowKind::Alternate)
            weightColour.emplace(row.weight, 0);
    }
    std::vector<Panel> panels;
    auto number = [](std::map<double, int>& colours, Panel& panel, const std::string& prefix,
                      const std::string& suffix) {
        int n = 0;
        for (auto& [value, colour] : colours) {
            colour = n++;
            panel.legend.emplace_back(colour, prefix + FormatGeneral(value) + suffix);
        }
    };
    const TMissionData& lines = fit.lines;
    if (!levelColour.empty()) {
        Panel panel{"Trip fuel", "Still-air distance (NAM), one line per flight level and landing weight",
            "Trip fuel (kg)", {}, {}, true};
        number(levelColour, panel, "FL ", "");
        panel.series = GroupSeries(
            rows, lines, ManualRowKind::Trip,
            [](const ManualTableRow& r) { return std::make_pair(r.flightLevel, r.weight); },
            [](const ManualTableRow& r) { return r.distance; },
            [&](const std::pair<double, double>& k) { return levelColour[k.first]; });
        panels.push_back(std::move(panel));
        // The misfit that the fuel panel is too coarse to show.
        Panel misfit{
            "Trip fuel residuals", "Still-air distance (NAM)", "(fit - table) / table (%)", {}, {}, false};
        misfit.legend = panels.back().legend;
        std::map<double, Series> byLevel;
        for (const FitResidual& r : fit.residuals) {
            if (r.row->kind != ManualRowKind::Trip)
                continue;
            Series& series = byLevel[r.row->flightLevel];
            series.colour = levelColour[r.row->flightLevel];
            series.table.emplace_back(r.row->distance, 100 * r.relative);
        }
        for (auto& [level, series] : byLevel)
            misfit.series.push_back(std::move(series));
        panels.push_back(std::move(misfit));
    }
    if (!altitudeColour.empty()) {
        Panel panel{"Holding fuel flow", "Weight (kg)", "Fuel flow (kg/h)", {}, {}, true};
        number(altitudeColour, panel, "", " ft");
        panel.series = GroupSeries(
            rows, lines, ManualRowKind::Holding, [](const ManualTableRow& r) { return r.altitude; },
            [](const ManualTableRow& r) { return r.weight; }, [&](double k) { return altitudeColour[k]; });
        panels.push_back(std::move(panel));
    }
    if (!weightColour.empty()) {
        Panel panel{
            "Alternate fuel", "Distance (NM), one line per weight", "Alternate fuel (kg)", {}, {}, true};
        number(weightColour, panel, "", " kg");
        panel.series = GroupSeries(
            rows, lines, ManualRowKind::Alternate, [](const ManualTableRow& r) { return r.weight; },
            [](const ManualTableRow& r) { return r.distance; }, [&](double k) { return weightColour[k]; });
        panels.push_back(std::move(panel));
    }

    const double height = kHeader + kPanelHeight * static_cast<double>(panels.size());
    const std::string heading = title.empty() ? "Fuel lines" : "Fuel lines of " + title;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + SvgCoord(kWidth) + "\" height=\""
        + SvgCoord(height) + "\" viewBox=\"0 0 " + SvgCoord(kWidth) + " " + SvgCoord(height)
        + "\" font-family=\"DejaVu Sans, Liberation Sans, Arial, sans-serif\" font-size=\"12\">\n";
    out += "<title>" + MarkupText(heading) + "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out += "<text x=\"" + SvgCoord(kWidth / 2) + "\" y=\"26\" text-anchor=\"middle\" font-size=\"16\" "
        + "font-weight=\"bold\">" + MarkupText(heading) + "</text>\n";
    if (const FitResidual* worst = LargestResidual(fit)) {
        char text[160];
        std::snprintf(text, sizeof text, "Largest residual %.2f %% (%s, line %ld)", 100 * worst->relative,
            ManualRowKindName(worst->row->kind), worst->row->line);
        out += "<text x=\"" + SvgCoord(kWidth / 2) + "\" y=\"46\" text-anchor=\"middle\" fill=\"#444444\">"
            + MarkupText(text) + "</text>\n";
    }
    for (size_t p = 0; p < panels.size(); ++p)
        out += DrawPanel(panels[p], kHeader + kPanelHeight * static_cast<double>(p));
    out += "</svg>\n";
    return out;
}

} // namespace mirovax
