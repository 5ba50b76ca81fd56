#pragma once

#include "engine/fast_search.h"
#include "engine/mission_data.h"
#include "engine/solve.h"
#include "engine/text_format.h"
#include "form/fields.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The calculation run as functions over field texts, shared by the window
// and the command line.
namespace mirovax {

// Texts of Label12 to Label30: index n - 12 holds label "Label" + n.
struct ResultTexts {
    std::array<std::string, 19> labels;
    std::string& label(int n) { return labels.at(static_cast<size_t>(n - 12)); }
    const std::string& label(int n) const { return labels.at(static_cast<size_t>(n - 12)); }
};

// The field that keeps a run from reading its inputs: the first that does
// not convert (an empty one included) in the order the run converts them,
// else the alternate (required, never converted) when it is empty; nothing
// when the run can read every input. The origin and destination are not
// read.
std::optional<Field> FirstUnusableField(const FieldTexts& texts);

// Converts the twelve numeric fields into the record's inputs and sets
// ConversionError: the position of the first failing character of the first
// failing field, or 1 when a field from the distance on (the alternate
// included) is empty.
void ReadInputs(const FieldTexts& texts, TMissionData& md);

// ReadInputs for runs that follow one another, as a sweep's points do: a
// field's text is converted again only when it differs from the text this
// reader last converted for that field. The record gets exactly what
// ReadInputs would give it.
class TInputReader {
public:
    void Read(const FieldTexts& texts, TMissionData& md);

private:
    struct Converted {
        std::string text;
        Conversion conversion;
        bool done = false;
    };
    std::array<Converted, 12> m_last; // in the order the run converts them
};

// The result labels for the record: rounded values with their units and
// "hh:mm" times, the masses and the fuel flow in the mass unit. Label13 is
// written only in the two maximum modes, compared exactly with the mode text.
ResultTexts ShowResults(
    const TMissionData& md, std::string_view modeText, MassUnit massUnit = MassUnit::Kilograms);

// One run after the caller has blanked the results: clears AbortRequested,
// reads the inputs, sets CalculationValid and, when every input was read,
// runs the solve mode the mode text names (exact, case-sensitive). Returns
// whether results are to be shown. Throws ArithmeticError, FuelModelError or
// SearchError when a solve mode faults. The maximum modes search as method
// says.
bool ExecuteCalculation(TMissionData& md, const FieldTexts& texts, std::string_view modeText,
    IMissionServices& services, SearchMethod method = SearchMethod::PerPass, TInputReader* reader = nullptr);

} // namespace mirovax
