#include "form/window_captions.h"

#include "form/input_rules.h"

#include <array>
#include <stdexcept>

namespace mirovax {

namespace {

constexpr std::array<std::string_view, 51> kStaticTextCaptions = {
    "From:", // 1
    "To:", // 2
    "Distance:", // 3
    "NM", // 4
    "Payload:", // 5
    "Flight Level:", // 6
    "OAT:", // 7
    "Wind:", // 8
    "kg", // 9
    "\u00B0C", // 10
    "kts", // 11
    "Alternate:", // 12
    "Elevation:", // 13
    "Distance:", // 14
    "Holding Time:", // 15
    "ft", // 16
    "NM", // 17
    "min", // 18
    "Hold. Altitude:", // 19
    "ft", // 20
    "Cont Fuel:", // 21
    "%", // 22
    "Regulations:", // 23
    "MATOW:", // 24
    "kg", // 25
    "kg", // 26
    "MALW:", // 27
    "Solve for:", // 28
    "Airframe:", // 29
    "Engine:", // 30
    "Dry Operating Weight:", // 31
    "Maximum Takeoff Weight:", // 32
    "Maximum Landing Weight:", // 33
    "Maximum Zero Fuel Weight:", // 34
    "Tank Capacity:", // 35
    "Maximum Altitude:", // 36
    "Cruise Mach:", // 37
    "Reference:", // 38
    "Limited by:", // 39
    "True Airspeed:", // 40
    "Ground Speed:", // 41
    "Still Air Distance:", // 42
    "Avg. Fuel Flow:", // 43
    "Holding:", // 44
    "Alternate:", // 45
    "Contingency:", // 46
    "Trip:", // 47
    "Min. Takeoff:", // 48
    "Zero Fuel Weight:", // 49
    "Takeoff Weight:", // 50
    "Landing Weight:", // 51
};

std::string WithoutColon(std::string_view caption)
{
    if (!caption.empty() && caption.back() == ':')
        caption.remove_suffix(1);
    return std::string(caption);
}

// A value label's row: the caption it stands beside, and for the rows with
// a time and a fuel column which of the two it is.
struct ValueRow {
    int label;
    int caption; // "StaticText" + n
    std::string_view column;
    ResultUnit unit;
};

constexpr ValueRow kValueRows[] = {
    {1, 29, "", {}},
    {2, 30, "", {}},
    {3, 31, "", {}},
    {4, 32, "", {}},
    {5, 33, "", {}},
    {6, 34, "", {}},
    {7, 35, "", {}},
    {8, 36, "", {}},
    {9, 37, "", {}},
    {10, 38, "", {}},
    {12, 39, "", {"", false}},
    {14, 40, "", {"kts", true}},
    {15, 41, "", {"kts", true}},
    {16, 42, "", {"NAM", true}},
    {17, 43, "", {"kg/h", true}},
    {18, 44, "time", {"hh:mm", false}},
    {19, 45, "time", {"hh:mm", false}},
    {20, 46, "time", {"hh:mm", false}},
    {21, 47, "time", {"hh:mm", false}},
    {22, 48, "time", {"hh:mm", false}},
    {23, 44, "fuel", {"kg", false}},
    {24, 45, "fuel", {"kg", false}},
    {25, 46, "fuel", {"kg", false}},
    {26, 47, "fuel", {"kg", false}},
    {27, 48, "fuel", {"kg", false}},
    {28, 49, "", {"kg", true}},
    {29, 50, "", {"kg", true}},
    {30, 51, "", {"kg", true}},
};

const ValueRow& FindValueRow(int n)
{
    for (const ValueRow& row : kValueRows) {
        if (row.label == n)
            return row;
    }
    throw std::out_of_range("no value label Label" + std::to_string(n));
}

} // namespace

std::string_view StaticTextCaption(int n, MassUnit unit)
{
    if (n < 1 || n > static_cast<int>(kStaticTextCaptions.size()))
        throw std::out_of_range("no StaticText" + std::to_string(n));
    return InMassUnit(kStaticTextCaptions[static_cast<size_t>(n - 1)], unit);
}

std::string FieldCaption(Field field)
{
    const std::string caption = WithoutColon(StaticTextCaption(Spec(field).captionText));
    return field == Field::AlternateDistance
        ? WithoutColon(StaticTextCaption(Spec(Field::Alternate).captionText)) + " " + caption
        : caption;
}

ResultUnit ResultLabelUnit(int n, MassUnit unit)
{
    if (n < 12)
        throw std::out_of_range("no result label Label" + std::to_string(n));
    ResultUnit out = FindValueRow(n).unit;
    out.unit = InMassUnit(out.unit, unit);
    return out;
}

std::string ValueLabelName(int n, std::string_view modeText, MassUnit unit)
{
    if (n == 13) {
        const std::optional<ModeRule> rule = FindModeRule(modeText);
        if (!rule || !rule->label11)
            return "Maximum";
        return WithoutColon(*rule->label11) + ", " + std::string(InMassUnit(rule->maximumUnit, unit));
    }
    const ValueRow& row = FindValueRow(n);
    std::string name = WithoutColon(StaticTextCaption(row.caption));
    if (!row.column.empty())
        name += " " + std::string(row.column);
    if (!row.unit.unit.empty())
        name += ", " + std::string(InMassUnit(row.unit.unit, unit));
    return name;
}

} // namespace mirovax
