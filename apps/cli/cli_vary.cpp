#include "cli_vary.h"

#include "apps/cli/cli_options.h"
#include "setup/setup_file.h"

#include <algorithm>
#include <stdexcept>

namespace mirovax::cli {

namespace {

constexpr int kAirplaneLine = kSetupAirplaneLine;

// A plain decimal number: "250", "-5", "0.25", ".5". The digits and their
// scale (digits after the point) of the magnitude, and the sign.
struct Decimal {
    bool negative = false;
    std::string digits;
    int scale = 0;
};

Decimal ReadDecimal(std::string_view text, std::string_view what)
{
    Decimal d;
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        d.negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    bool point = false;
    for (char c : rest) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            d.digits += c;
            d.scale += point ? 1 : 0;
        } else {
            d.digits.clear();
            break;
        }
    }
    if (d.digits.empty())
        throw std::invalid_argument(
            std::string(what) + " \"" + std::string(text) + "\" is not a number (like 250, -5 or 0.25)");
    return d;
}

// The decimal in units of 10^-scale, scale at least the decimal's own. At
// most fifteen significant digits: every value of the range, and its
// distance from FROM, stays exact in a 64-bit integer.
std::int64_t Scaled(const Decimal& d, int scale, std::string_view text)
{
    std::string digits = d.digits + std::string(static_cast<size_t>(scale - d.scale), '0');
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > 15)
        throw std::invalid_argument("\"" + std::string(text) + "\" has more than 15 significant digits");
    const std::int64_t value = digits.empty() ? 0 : std::stoll(digits);
    return d.negative ? -value : value;
}

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

void ReadRange(std::string_view values, Variation& v)
{
    const std::vector<std::string> parts = Split(values, ':');
    if (parts.size() != 3)
        throw std::invalid_argument("expected FROM:TO:STEP, got \"" + std::string(values) + "\"");
    const Decimal from = ReadDecimal(parts[0], "FROM");
    const Decimal to = ReadDecimal(parts[1], "TO");
    const Decimal step = ReadDecimal(parts[2], "STEP");
    v.scale = std::max({from.scale, to.scale, step.scale});
    v.from = Scaled(from, v.scale, parts[0]);
    const std::int64_t last = Scaled(to, v.scale, parts[1]);
    v.step = Scaled(step, v.scale, parts[2]);
    if (v.step <= 0)
        throw std::invalid_argument("STEP must be above 0, got \"" + parts[2] + "\"");
    if (v.from > last)
        throw std::invalid_argument("FROM \"" + parts[0] + "\" lies above TO \"" + parts[1] + "\"");
    // Both ends hold at most 15 digits, so the difference cannot overflow.
    v.count = static_cast<std::uint64_t>((last - v.from) / v.step) + 1;
}

} // namespace

std::string Variation::Text(std::uint64_t i) const
{
    if (!list.empty())
        return list.at(i);
    const std::int64_t value = from + static_cast<std::int64_t>(i) * step;
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (scale > 0) {
        if (digits.size() <= static_cast<size_t>(scale))
            digits.insert(0, static_cast<size_t>(scale) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<size_t>(scale), 1, '.');
        digits.erase(digits.find_last_not_of('0') + 1);
        if (digits.back() == '.')
            digits.pop_back();
    }
    return (value < 0 ? "-" : "") + digits;
}

Variation ParseVariation(std::string_view argument)
{
    const size_t eq = argument.find('=');
    if (eq == std::string_view::npos)
        throw std::invalid_argument(
            "expected FIELD=FROM:TO:STEP or FIELD=V1,V2,..., got \"" + std::string(argument) + "\"");
    Variation v;
    v.field = std::string(argument.substr(0, eq));
    v.line = v.field == "airplane" ? kAirplaneLine : SettableFieldIndex(v.field);
    if (v.line < 0)
        throw std::invalid_argument("unknown field \"" + v.field + "\"");
    const std::string_view values = argument.substr(eq + 1);
    // The fields that take any character hold codes and names, not numbers;
    // so do the two selectors.
    const bool numeric
        = v.line < kAirplaneLine && Fields()[static_cast<size_t>(v.line)].keys != KeyFilter::Any;
    if (numeric && values.find(':') != std::string_view::npos) {
        ReadRange(values, v);
        return v;
    }
    v.list = Split(values, ',');
    for (const std::string& text : v.list) {
        if (text.empty())
            throw std::invalid_argument(v.field + ": an empty value in \"" + std::string(values) + "\"");
    }
    v.count = v.list.size();
    return v;
}

std::uint64_t PointCount(const std::vector<Variation>& variations)
{
    std::uint64_t points = 1;
    for (const Variation& v : variations) {
        // Each count is at most 10^15 and points at most kMaxSweepPoints
        // here, so the product fits.
        if (v.count > kMaxSweepPoints)
            return v.count;
        points *= v.count;
        if (points > kMaxSweepPoints)
            return points;
    }
    return points;
}

} // namespace mirovax::cli
