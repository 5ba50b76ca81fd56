#include "engine/text_format.h"

#include "engine/checked_math.h"

#include <array>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace mirovax {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// strtod in the "C" locale, so the decimal point stays "." whatever the
// process locale says.
double ParseCDouble(const std::string& text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

} // namespace

std::string FormatRoundTrip(double value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string FormatGeneral(double value)
{
    if (value == 0.0 || !std::isfinite(value)) {
        if (std::isnan(value))
            return "NAN";
        if (std::isinf(value))
            return value > 0 ? "INF" : "-INF";
        return "0";
    }
    // Fifteen significant digits, correctly rounded: d.dddddddddddddde±XX.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    // buf holds [-]d.dddddddddddddde[+-]XX: take the sign, the 15 digits
    // without the point, and the exponent.
    const bool negative = buf[0] == '-';
    const char* mantissa = buf + (negative ? 1 : 0);
    const char* e = std::strchr(mantissa, 'e');
    std::string digits(1, mantissa[0]);
    digits.append(mantissa + 2, e);
    const int exponent = std::atoi(e + 1); // value = d.ddd x 10^exponent
    const std::string sign = negative ? "-" : "";
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = sign;
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const size_t intDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += digits;
                out.append(intDigits - digits.size(), '0');
            } else {
                out += digits.substr(0, intDigits);
                out += '.';
                out += digits.substr(intDigits);
            }
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    }
    return out;
}

double RoundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is never changed
    // from round-to-nearest-even in this program.
    return std::nearbyint(value);
}

std::string FormatRounded(double value)
{
    double r = RoundHalfEven(value);
    if (r == 0.0)
        r = 0.0; // no "-0"
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.0f", r);
    return buf;
}

std::string_view MassUnitText(MassUnit unit)
{
    return unit == MassUnit::Pounds ? "lb" : "kg";
}

std::optional<MassUnit> ParseMassUnit(std::string_view text)
{
    if (text == "kg")
        return MassUnit::Kilograms;
    if (text == "lb")
        return MassUnit::Pounds;
    return std::nullopt;
}

std::string_view InMassUnit(std::string_view unitText, MassUnit unit)
{
    if (unit != MassUnit::Pounds)
        return unitText;
    if (unitText == "kg")
        return "lb";
    if (unitText == "kg/h")
        return "lb/h";
    return unitText;
}

double MassInUnit(double kilograms, MassUnit unit)
{
    return unit == MassUnit::Pounds ? kilograms / kKilogramsPerPound : kilograms;
}

double KilogramsOf(double figure, MassUnit unit)
{
    return unit == MassUnit::Pounds ? figure * kKilogramsPerPound : figure;
}

std::string FormatMass(double kilograms, MassUnit unit)
{
    return FormatRounded(MassInUnit(kilograms, unit));
}

std::string ShownMassText(const std::string& kilogramText, MassUnit unit)
{
    if (unit == MassUnit::Kilograms)
        return kilogramText;
    const Conversion c = ConvertStrict(kilogramText);
    return c.ok() ? FormatMass(c.value, unit) : kilogramText;
}

std::string FormatMassExact(double kilograms, MassUnit unit)
{
    return unit == MassUnit::Pounds ? FormatMass(kilograms, unit) : FormatGeneral(kilograms);
}

std::string FormatHoursMinutes(double hours)
{
    const double ms = std::fabs(RoundHalfEven(fp::mul(hours, 3600000.0)));
    const double dayMs = std::fmod(ms, 86400000.0);
    const long long inDay = static_cast<long long>(dayMs);
    const long long hh = inDay / 3600000;
    const long long mm = (inDay % 3600000) / 60000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld", hh, mm);
    return buf;
}

Conversion ConvertStrict(std::string_view text)
{
    Conversion result;
    const size_t n = text.size();
    size_t i = 0;
    const auto failAt = [&](size_t index) {
        result.errorPosition = static_cast<int>(index + 1);
        return result;
    };
    while (i < n && text[i] == ' ')
        ++i;
    const size_t numberStart = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t mantissaDigits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return failAt(i);
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return failAt(i);
    }
    if (i < n)
        return failAt(i);

    const double value = ParseCDouble(std::string(text.substr(numberStart, i - numberStart)));
    if (!std::isfinite(value))
        return failAt(numberStart);
    result.value = value;
    return result;
}

} // namespace mirovax
