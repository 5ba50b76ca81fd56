#include "convert_number_check.h"

#include "engine/text_format.h"
#include "form/calculation_run.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string_view>

namespace mirovax {

std::string CheckConvertNumber(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Conversion c = ConvertStrict(text);
    if (c.errorPosition < 0 || static_cast<size_t>(c.errorPosition) > size + 1)
        return "error position outside the text";

    // ReadInputs takes the first failure, and an empty field counts as 1.
    FieldTexts fields;
    for (std::string& field : fields.texts)
        field = std::string(text);
    TMissionData md;
    ReadInputs(fields, md);
    const int expected = text.empty() ? 1 : c.errorPosition;
    if (md.ConversionError != expected)
        return "ReadInputs reports another position than the conversion";

    if (!c.ok())
        return "";
    if (!std::isfinite(c.value))
        return "a converted value is not finite";

    // The same number read independently: from_chars takes neither leading
    // blanks nor a "+".
    std::string_view number = text;
    while (!number.empty() && number.front() == ' ')
        number.remove_prefix(1);
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    double reference = 0;
    const std::from_chars_result r = std::from_chars(number.data(), number.data() + number.size(), reference);
    if (r.ec == std::errc::result_out_of_range) {
        if (std::fabs(c.value) >= DBL_MIN)
            return "an out-of-range number was accepted";
    } else if (r.ec != std::errc() || r.ptr != number.data() + number.size()) {
        return "a text that is not a number was accepted";
    } else if (reference != c.value) {
        return "the converted value differs from the C-locale reading";
    }

    // Within 15 digits of the largest double the format rounds up beyond
    // it, and such a text rightly fails to convert.
    if (std::fabs(c.value) > 1.79769313486231e308)
        return "";
    const Conversion again = ConvertStrict(FormatGeneral(c.value));
    if (!again.ok())
        return "the general format of a value does not convert again";
    if (std::fabs(again.value - c.value) > std::fabs(c.value) * 1e-14)
        return "the general format of a value converts to another value";
    return "";
}

} // namespace mirovax
