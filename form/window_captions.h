#pragma once

#include "engine/text_format.h"
#include "form/fields.h"

#include <string>
#include <string_view>

// The main window's fixed captions, and the names its fields and value
// labels go by: the window shows them, messages name fields by them, and
// screen readers read them.
namespace mirovax {

// The fixed caption of "StaticText" + n (1 to 51) as the main window shows
// it: "Solve for:" for 28, "°C" for 10. Throws std::out_of_range for any
// other n. In pounds the mass units read "lb".
std::string_view StaticTextCaption(int n, MassUnit unit = MassUnit::Kilograms);

// The name of a field: the caption beside it without its colon ("Flight
// Level"); the alternate's distance is "Alternate Distance", as both
// distance fields are captioned "Distance:".
std::string FieldCaption(Field field);

// The unit of value label "Label" + n (12 to 30, 13 excepted: its unit is the
// mode's) and whether the label's text carries it: the fuel column shows bare
// numbers, the time column "hh:mm".
struct ResultUnit {
    std::string_view unit; // empty for the limit named in Label12
    bool shown;
};
ResultUnit ResultLabelUnit(int n, MassUnit unit = MassUnit::Kilograms);

// What value label "Label" + n (1 to 30, 11 excepted) holds, named by its row
// and unit: "Trip fuel, kg", "True Airspeed, kts", "Dry Operating Weight".
// Label13 is named by the mode's maximum ("Maximum Range, NM"), and by
// "Maximum" alone for a mode text that names none. Throws std::out_of_range
// for any other n. The masses are named in the unit.
std::string ValueLabelName(int n, std::string_view modeText, MassUnit unit = MassUnit::Kilograms);

} // namespace mirovax
