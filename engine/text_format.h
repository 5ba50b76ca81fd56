#pragma once

#include <optional>
#include <string>
#include <string_view>

// Number and text conversions shared by the engine, the window, the report
// and the command line. All of them use "." as the decimal separator,
// whatever the process locale.
namespace mirovax {

// General number format: at most 15 significant digits, no trailing zeros,
// no decimal point for whole numbers; fixed notation for magnitudes from
// 0.00001 up to 15 digits before the point, otherwise "1.5E-7" style.
std::string FormatGeneral(double value);

// The shortest decimal text that reads back to the same double ("12000",
// "0.1", "1e+21"); "inf", "-inf" or "nan" for a value that is not finite.
std::string FormatRoundTrip(double value);

// Rounds to the nearest whole number, ties to the even neighbour.
double RoundHalfEven(double value);

// RoundHalfEven written as a plain decimal integer ("-2", "79016").
std::string FormatRounded(double value);

// A time in hours as the "hh:mm" time of day: milliseconds rounded ties to
// even, sign dropped, whole days dropped, minutes truncated.
std::string FormatHoursMinutes(double hours);

// Outcome of the strict number conversion: errorPosition is 0 on success,
// otherwise the 1-based position of the first character that does not fit.
struct Conversion {
    double value = 0;
    int errorPosition = 0;
    bool ok() const { return errorPosition == 0; }
};

// Accepts leading blanks, an optional sign, digits with an optional
// fractional part after ".", and an optional exponent ("E"/"e", optional
// sign, digits). Anything else fails, a trailing blank, "nan", "inf",
// hexadecimal and "," included. A number too large for a double fails at
// its first character.
Conversion ConvertStrict(std::string_view text);

// The unit masses are shown and typed in. The record, the files and the
// airplane table hold kilograms whatever the unit.
enum class MassUnit { Kilograms, Pounds };

// The international avoirdupois pound, exactly.
inline constexpr double kKilogramsPerPound = 0.45359237;

// "kg" or "lb".
std::string_view MassUnitText(MassUnit unit);

// "kg" -> MassUnit::Kilograms, "lb" -> MassUnit::Pounds (exact, lower case);
// nothing for any other text.
std::optional<MassUnit> ParseMassUnit(std::string_view text);

// A unit text as it reads in the mass unit: "kg" becomes "lb" and "kg/h"
// "lb/h" in pounds; any other text, and every text in kilograms, is left as
// it is.
std::string_view InMassUnit(std::string_view unitText, MassUnit unit);

// A mass in kilograms as a figure in the unit: divided by the pound's
// kilograms once in pounds, the same double in kilograms. Also for fuel
// flows (per hour).
double MassInUnit(double kilograms, MassUnit unit);

// A figure typed in the unit as kilograms: multiplied by the pound's
// kilograms once in pounds, the same double in kilograms.
double KilogramsOf(double figure, MassUnit unit);

// FormatRounded of the mass in the unit: whole units, ties to even.
std::string FormatMass(double kilograms, MassUnit unit);

// A mass entry's text (kilograms) as shown in the unit: the text itself in
// kilograms or when it is not a number, else FormatMass of its value.
std::string ShownMassText(const std::string& kilogramText, MassUnit unit);

// A limit or a table's mass as messages and the airplane data show it:
// FormatGeneral of the kilograms, FormatMass in pounds.
std::string FormatMassExact(double kilograms, MassUnit unit);

} // namespace mirovax
