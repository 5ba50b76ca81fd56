#include "report/report_model.h"

#include "form/input_rules.h"
#include "report/report_text.h"

#include <initializer_list>
#include <stdexcept>

namespace mirovax {

namespace {

// Builds the rows in order; every text taken from the snapshot goes through
// ReportSafeText, the report's own words and units do not need to.
class RowWriter {
public:
    explicit RowWriter(const ReportSnapshot& snapshot)
        : m_snapshot(snapshot)
    { }

    // A regular 8 pt row from items joined by tabs.
    void Regular(std::initializer_list<std::string> items)
    {
        ReportRow row;
        bool first = true;
        for (const std::string& item : items) {
            if (!first)
                row.text += '\t';
            row.text += item;
            first = false;
        }
        m_model.rows.push_back(std::move(row));
    }
    void Empty() { m_model.rows.push_back(ReportRow{}); }
    void Heading(std::string_view text, int sizePt, bool underline)
    {
        ReportRow row;
        row.text = std::string(text);
        row.sizePt = sizePt;
        row.bold = true;
        row.underline = underline;
        m_model.rows.push_back(std::move(row));
    }

    std::string StaticText(int n) const { return ReportSafeText(m_snapshot.staticText(n)); }
    std::string Edit(Field field) const { return ReportSafeText(m_snapshot.fields[field]); }
    // The caption beside a field, and its text with the unit caption beside
    // it (the window's, which names the mass unit chosen).
    std::string Caption(Field field) const { return StaticText(Spec(field).captionText); }
    std::string Value(Field field) const
    {
        const int unit = Spec(field).unitText;
        return Edit(field) + (unit == 0 ? std::string() : " " + StaticText(unit));
    }
    std::string Label(int n) const { return ReportSafeText(m_snapshot.label(n)); }

    ReportModel Take() { return std::move(m_model); }

private:
    const ReportSnapshot& m_snapshot;
    ReportModel m_model;
};

} // namespace

void FillFixedCaptions(ReportSnapshot& snapshot, MassUnit unit)
{
    for (int n = 1; n <= static_cast<int>(snapshot.staticTexts.size()); ++n)
        snapshot.staticText(n) = std::string(StaticTextCaption(n, unit));
}

std::vector<std::pair<std::string, std::string>> WeatherSourceRows(
    const std::string& windSource, const std::string& oatSource)
{
    if (!windSource.empty() && windSource == oatSource)
        return {{"Wind and OAT:", windSource}};
    std::vector<std::pair<std::string, std::string>> rows;
    if (!windSource.empty())
        rows.emplace_back("Wind:", windSource);
    if (!oatSource.empty())
        rows.emplace_back("OAT:", oatSource);
    return rows;
}

std::string MainWindowCaption(std::string_view fileVersion)
{
    return "Mirovax - Version: " + std::string(fileVersion);
}

void SetModeText(ReportSnapshot& snapshot, std::string_view modeText)
{
    snapshot.modeText = std::string(modeText);
    const std::optional<ModeRule> rule = FindModeRule(modeText);
    if (rule && rule->label11)
        snapshot.label(11) = std::string(*rule->label11);
}

void SetAirplaneLabels(ReportSnapshot& snapshot, const std::array<std::string, 10>& labels)
{
    for (int n = 1; n <= 10; ++n)
        snapshot.label(n) = labels[static_cast<size_t>(n - 1)];
}

void SetResultLabels(ReportSnapshot& snapshot, const ResultTexts& results)
{
    for (int n = 12; n <= 30; ++n)
        snapshot.label(n) = results.label(n);
}

ReportModel BuildReport(const ReportSnapshot& snapshot)
{
    RowWriter w(snapshot);
    // The rows follow the fields and result rows the mode shows in the
    // window; a text that is no mode shows none of them.
    const std::optional<ModeRule> rule = FindModeRule(snapshot.modeText);
    const bool tripDistanceRows = rule && rule->tripDistanceEnabled;
    const bool payloadRow = rule && rule->payloadEnabled;
    const bool maximumRows = rule && rule->maximumRowsShown;

    w.Regular({ReportSafeText(snapshot.title)});
    w.Heading("Mission Report", 14, true);
    w.Empty();
    w.Regular({w.StaticText(28), ReportSafeText(snapshot.modeText)});
    w.Empty();

    w.Heading("Airplane Data", 10, false);
    w.Regular({w.StaticText(29), w.Label(1), w.StaticText(30), w.Label(2)});
    w.Regular({w.StaticText(31), w.Label(3), w.StaticText(32), w.Label(4)});
    w.Regular({w.StaticText(33), w.Label(5), w.StaticText(34), w.Label(6)});
    w.Regular({w.StaticText(35), w.Label(7), w.StaticText(36), w.Label(8)});
    w.Regular({w.StaticText(37), w.Label(9), w.StaticText(38), w.Label(10)});
    w.Empty();

    w.Heading("Trip Data", 10, false);
    // The quantity a maximum mode solves for cannot be entered, so its field
    // stays out of the report: the route and trip distance in Maximum Range,
    // the payload in Maximum Payload.
    using enum Field;
    if (tripDistanceRows) {
        w.Regular({w.Caption(From), w.Value(From), w.Caption(To), w.Value(To)});
        w.Regular({w.Caption(Distance), w.Value(Distance)});
        if (!snapshot.planFileName.empty())
            w.Regular({"Flight plan:", ReportSafeText(snapshot.planFileName),
                std::to_string(snapshot.planWaypoints) + " waypoints"});
    }
    if (payloadRow)
        w.Regular({w.Caption(Payload), w.Value(Payload)});
    w.Regular({w.StaticText(23), ReportSafeText(snapshot.regulationText), w.Caption(FlightLevel),
        w.Value(FlightLevel)});
    w.Regular({w.Caption(Oat), w.Value(Oat), w.Caption(Wind), w.Value(Wind)});
    for (const auto& [caption, source] : WeatherSourceRows(snapshot.windSource, snapshot.oatSource))
        w.Regular({caption, ReportSafeText(source)});
    w.Regular({w.Caption(Matow), w.Value(Matow), w.Caption(Malw), w.Value(Malw)});
    w.Regular({w.Caption(Alternate), w.Value(Alternate), w.Caption(AlternateElevation),
        w.Value(AlternateElevation)});
    w.Regular({w.Caption(AlternateDistance), w.Value(AlternateDistance), w.Caption(HoldingTime),
        w.Value(HoldingTime)});
    w.Regular(
        {w.Caption(HoldingAltitude), w.Value(HoldingAltitude), w.Caption(Contingency), w.Value(Contingency)});
    w.Empty();

    w.Heading("Results", 10, false);
    if (maximumRows)
        w.Regular({w.StaticText(39), w.Label(12), w.Label(11), w.Label(13)});
    w.Regular({w.StaticText(40), w.Label(14), w.StaticText(41), w.Label(15)});
    w.Regular({w.StaticText(42), w.Label(16), w.StaticText(43), w.Label(17)});
    w.Regular({w.StaticText(49), w.Label(28), w.StaticText(50), w.Label(29)});
    w.Regular({w.StaticText(51), w.Label(30)});
    w.Regular({w.StaticText(44), w.Label(18), w.Label(23)});
    w.Regular({w.StaticText(45), w.Label(19), w.Label(24)});
    w.Regular({w.StaticText(46), w.Label(20), w.Label(25)});
    w.Regular({w.StaticText(47), w.Label(21), w.Label(26)});
    w.Regular({w.StaticText(48), w.Label(22), w.Label(27)});
    w.Empty();
    w.Regular({"File: " + ReportSafeText(snapshot.setupFileName)});
    return w.Take();
}

} // namespace mirovax
