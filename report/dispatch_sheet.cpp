#include "report/dispatch_sheet.h"

#include "engine/emissions.h"
#include "engine/solve.h"
#include "engine/text_format.h"
#include "form/input_rules.h"
#include "report/report_model.h"
#include "textio/text_encoding.h"

#include <cstdio>

namespace mirovax {

namespace {

// A caption of the main window without its colon: "Holding:" reads
// "Holding" in a table's first column.
std::string WithoutColon(std::string_view caption)
{
    if (caption.ends_with(':'))
        caption.remove_suffix(1);
    return std::string(caption);
}

std::string Caption(int staticText)
{
    return WithoutColon(StaticTextCaption(staticText));
}

// "2026-12-08 09:46 UTC"
std::string UtcTime(std::time_t time)
{
    std::tm utc{};
    if (gmtime_r(&time, &utc) == nullptr)
        return "";
    char text[80]; // room for any int the format may print
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d UTC", utc.tm_year + 1900, utc.tm_mon + 1,
        utc.tm_mday, utc.tm_hour, utc.tm_min);
    return text;
}

// Every text from the user or a file goes through MarkupText.

// A field to be filled in by hand, or the text when there is one.
std::string OrBlank(const std::string& text)
{
    // Underlined no-break spaces: a line to write on that every HTML reader
    // draws, the window's print preview included.
    if (!text.empty())
        return MarkupText(text);
    std::string blank = "<span class=\"blank\">";
    for (int i = 0; i < 28; ++i)
        blank += "&#160;";
    return blank + "</span>";
}

constexpr const char* kStyle = R"(<style>
@page { size: A4; margin: 14mm 14mm 12mm 14mm; }
* { box-sizing: border-box; }
html { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; font-size: 9pt; color: #000; }
body { margin: 0; }
h1 { font-size: 16pt; margin: 0; }
h2 { font-size: 10.5pt; margin: 4.5mm 0 1.5mm; border-bottom: 0.6pt solid #000; padding-bottom: 0.5mm; }
.top { display: flex; justify-content: space-between; align-items: baseline; }
.program { color: #444; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 0.5pt solid #777; padding: 1mm 2mm; text-align: left; vertical-align: top; }
th { background: #eee; font-weight: bold; }
.facts th { width: 19%; }
.facts td { width: 31%; }
td.num, th.num { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
tr.binding td { font-weight: bold; }
tr.exceeded td.margin { color: #a00000; }
tr.fill td { height: 7mm; }
table.stop { margin-top: 3mm; }
table.stop td { border: 1.2pt solid #a00000; padding: 2mm; font-weight: bold; }
.note { margin: 1.5mm 0 0; }
.blank { text-decoration: underline; }
ul { margin: 0; padding-left: 5mm; }
table.signs td, table.what td { border: none; padding: 0; }
table.signs td.line { border-bottom: 0.6pt solid #000; }
table.what td { font-size: 8pt; color: #333; }
table.what td.when { text-align: right; }
section { break-inside: avoid; }
</style>
)";

class SheetWriter {
public:
    explicit SheetWriter(const DispatchSheetInput& input)
        : m_in(input)
        , m_md(input.md)
    { }

    std::string Html()
    {
        m_out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
        m_out += "<title>Dispatch Sheet" + (m_in.flight.empty() ? "" : " " + MarkupText(m_in.flight))
            + "</title>\n";
        m_out += kStyle;
        m_out += "</head>\n<body>\n";
        Header();
        Flight();
        if (!m_in.valid)
            m_out += "<table class=\"stop\" width=\"100%\"><tr><td>Not a plan to fly: the run did not end "
                     "with valid results.</td></tr>"
                     "</table>\n";
        Fuel();
        Weights();
        Extras();
        Warnings();
        SignOff();
        m_out += "</body>\n</html>\n";
        return m_out;
    }

private:
    const std::string& Edit(Field field) const { return m_in.fields[field]; }
    // A mass in the sheet's unit, whole units.
    std::string Mass(double kg) const { return FormatMass(kg, m_md.Units); }
    std::string Unit() const { return std::string(MassUnitText(m_md.Units)); }

    void Header()
    {
        m_out += "<div class=\"top\"><h1>Dispatch Sheet</h1><span class=\"program\">"
            + MarkupText(m_in.programTitle) + "</span></div>\n";
    }

    void Row(const std::string& a, const std::string& aValue, const std::string& b, const std::string& bValue)
    {
        m_out += "<tr><th>" + a + "</th><td>" + aValue + "</td><th>" + b + "</th><td>" + bValue
            + "</td></tr>\n";
    }

    void Flight()
    {
        m_out += "<section>\n<h2>Flight</h2>\n<table class=\"facts\" width=\"100%\">\n";
        Row("Flight", OrBlank(m_in.flight), "Registration", OrBlank(m_in.registration));
        Row("Run (UTC)", MarkupText(UtcTime(m_in.runTime)), "Airplane", MarkupText(m_md.Type));
        Row(Caption(29), MarkupText(m_md.Airframe), Caption(30), MarkupText(m_md.Engine));
        Row("Route", MarkupText(Edit(Field::From)) + " &rarr; " + MarkupText(Edit(Field::To)), Caption(12),
            MarkupText(Edit(Field::Alternate)));
        if (!m_in.planFile.empty()) {
            std::string idents;
            for (const std::string& ident : m_in.planWaypoints)
                idents += (idents.empty() ? "" : " ") + MarkupText(ident);
            Row("Flight plan",
                MarkupText(m_in.planFile) + " (" + std::to_string(m_in.planWaypoints.size()) + " waypoints)",
                "Waypoints", idents);
        }
        // A maximum mode ignores the entry it searches for: the maximum found
        // stands in its place, blank when the run found none.
        const std::optional<ModeRule> rule = FindModeRule(m_in.modeText);
        const std::string found = m_in.valid && rule && rule->maximumRowsShown
            ? (m_in.modeText == kModeMaximumRange ? FormatRounded(m_md.MaxRange) : Mass(m_md.MaxPayload))
                + " " + std::string(InMassUnit(rule->maximumUnit, m_md.Units))
            : std::string();
        const bool distanceEntered = !rule || rule->tripDistanceEnabled;
        const bool payloadEntered = !rule || rule->payloadEnabled;
        const std::string foundCaption = rule && rule->label11 ? WithoutColon(*rule->label11) : std::string();
        Row(distanceEntered ? Caption(3) : foundCaption,
            distanceEntered ? MarkupText(Edit(Field::Distance)) + " NM" : found, "Alternate distance",
            MarkupText(Edit(Field::AlternateDistance)) + " NM");
        Row(Caption(23), MarkupText(m_in.regulationText), Caption(28), MarkupText(m_in.modeText));
        Row(payloadEntered ? Caption(5) : foundCaption,
            payloadEntered ? MarkupText(ShownMassText(Edit(Field::Payload), m_md.Units)) + " " + Unit()
                           : found,
            Caption(6), MarkupText(Edit(Field::FlightLevel)));
        Row(Caption(7), MarkupText(Edit(Field::Oat)) + " &deg;C", Caption(8),
            MarkupText(Edit(Field::Wind)) + " kts");
        for (const auto& [caption, source] : WeatherSourceRows(m_in.windSource, m_in.oatSource))
            Row(WithoutColon(caption), MarkupText(source), "", "");
        if (m_in.valid && rule && rule->maximumRowsShown)
            Row(Caption(39), MarkupText(m_md.LimitedBy), "", "");
        m_out += "</table>\n</section>\n";
    }

    void FuelRow(int caption, const std::string& extra, double hours, double fuel)
    {
        m_out += "<tr><td>" + Caption(caption) + extra + "</td>";
        if (m_in.valid)
            m_out += "<td class=\"num\">" + FormatHoursMinutes(hours) + "</td><td class=\"num\">" + Mass(fuel)
                + "</td></tr>\n";
        else
            m_out += "<td></td><td></td></tr>\n";
    }

    void Fuel()
    {
        m_out += "<section>\n<h2>Fuel</h2>\n<table width=\"100%\">\n<tr><th>Item</th><th class=\"num\">Time "
                 "(hh:mm)</th>"
                 "<th class=\"num\">Fuel ("
            + Unit() + ")</th></tr>\n";
        FuelRow(44, "", m_md.HoldingTime / 60.0, m_md.HoldingFuel);
        FuelRow(45, "", m_md.AlternateTime, m_md.AlternateFuel);
        FuelRow(46, " (" + MarkupText(Edit(Field::Contingency)) + " %)", m_md.ContingencyTime,
            m_md.ContingencyFuel);
        FuelRow(47, "", m_md.TripTime, m_md.TripFuel);
        FuelRow(48, "", m_md.MinTakeoffTime, m_md.MinTakeoffFuel);
        m_out += "<tr class=\"fill\"><td>Extra fuel</td><td></td><td></td></tr>\n";
        m_out += "<tr class=\"fill\"><td>Total fuel at takeoff</td><td></td><td></td></tr>\n";
        m_out += "</table>\n";
        if (const std::optional<double> co2 = TripCo2Kg(m_md.TripFuel, m_in.valid))
            m_out += "<p class=\"note\">CO&#8322; of the trip: " + Mass(*co2) + " " + Unit() + " ("
                + FormatGeneral(kCo2KgPerKgJetFuel) + " " + Unit() + " per " + Unit() + " of fuel).</p>\n";
        m_out += "</section>\n";
    }

    void Weights()
    {
        const MissionLimits& limits = m_in.limits;
        m_out += "<section>\n<h2>Weights and limits</h2>\n<table width=\"100%\">\n<tr><th>Limit</th><th "
                 "class=\"num\">"
                 "Value ("
            + Unit() + ")</th><th class=\"num\">Limit (" + Unit() + ")</th><th class=\"num\">Margin ("
            + Unit() + ")</th></tr>\n";
        for (const LimitMargin& m : limits.limits) {
            std::string classes = m.binding ? "binding" : "";
            if (m.margin < 0)
                classes += classes.empty() ? "exceeded" : " exceeded";
            m_out += classes.empty() ? "<tr>" : "<tr class=\"" + classes + "\">";
            m_out += "<td>" + MarkupText(m.name) + (m.binding ? " (binding)" : "") + "</td><td class=\"num\">"
                + Mass(m.value) + "</td><td class=\"num\">" + Mass(m.limit) + "</td><td class=\"num margin\">"
                + Mass(m.margin) + "</td></tr>\n";
        }
        m_out += "</table>\n";
        if (limits.stopped) {
            m_out += "<p class=\"note\">Stopped by the " + MarkupText(limits.stoppedBy) + ", exceeded by "
                + Mass(limits.exceededBy) + " " + Unit() + ".</p>\n";
        } else if (!limits.binding.empty()) {
            m_out += "<p class=\"note\">Binding limit: <b>" + MarkupText(limits.binding) + "</b>.";
            if (limits.firstDistanceBeyondLimit)
                m_out += " The fuel and weights are those of the first distance beyond it, so its margin is "
                         "below 0 by the search's design.";
            m_out += "</p>\n";
        }
        m_out += "</section>\n";
    }

    void Extras()
    {
        if (m_in.modeText != kModeTripTimeAndFuel || !m_in.valid)
            return;
        const auto figure = [this](const std::optional<double>& kg) {
            return kg ? Mass(*kg) + " " + Unit() : std::string("unknown");
        };
        m_out += "<section>\n<h2>Possible extras</h2>\n<table class=\"facts\" width=\"100%\">\n";
        Row("Extra payload", figure(m_in.limits.extraPayload), "Extra fuel", figure(m_in.limits.extraFuel));
        m_out += "</table>\n</section>\n";
    }

    void Warnings()
    {
        m_out += "<section>\n<h2>Warnings</h2>\n";
        if (m_in.warnings.empty()) {
            m_out += "<p class=\"note\">None.</p>\n";
        } else {
            m_out += "<ul>\n";
            for (const std::string& warning : m_in.warnings)
                m_out += "<li>" + MarkupText(warning) + "</li>\n";
            m_out += "</ul>\n";
        }
        m_out += "</section>\n";
    }

    void SignOff()
    {
        // Widths as attributes and the lines as cell borders, so that the
        // window's preview and its PDF lay the page out as a browser does.
        m_out += "<section>\n<h2>Sign-off</h2>\n<table class=\"signs\" width=\"100%\">\n"
                 "<tr><td class=\"line\" width=\"47%\"><br><br></td><td width=\"6%\"></td>"
                 "<td class=\"line\" width=\"47%\"><br><br></td></tr>\n<tr>";
        for (const char* role : {"Dispatcher", "Captain"}) {
            if (role[0] == 'C')
                m_out += "<td></td>";
            m_out += "<td><table class=\"what\" width=\"100%\"><tr><td>";
            m_out += role;
            m_out
                += ": name and signature</td><td class=\"when\" align=\"right\">Date and time (UTC)</td></tr>"
                   "</table></td>";
        }
        m_out += "</tr>\n</table>\n</section>\n";
    }

    const DispatchSheetInput& m_in;
    const TMissionData& m_md;
    std::string m_out;
};

} // namespace

std::string DispatchSheetHtml(const DispatchSheetInput& input)
{
    return SheetWriter(input).Html();
}

} // namespace mirovax
