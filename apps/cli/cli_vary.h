#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The values a sweep gives one field: a list of texts, or a decimal range
// worked out in whole multiples of its smallest digit, so that 0:0.3:0.1
// reaches 0.3 and no value drifts by a rounding of its own.
namespace mirovax::cli {

// The largest number of points a sweep solves; more are refused before the
// first is solved.
inline constexpr std::uint64_t kMaxSweepPoints = 1'000'000;

struct Variation {
    std::string field; // as the user named it: a --set name or "airplane"
    int line = 0; // 0-based setup line index (15: the airplane type)
    std::vector<std::string> list; // the texts of a list; empty for a range
    // A range FROM:TO:STEP in units of 10^-scale.
    std::int64_t from = 0;
    std::int64_t step = 0;
    int scale = 0;
    std::uint64_t count = 0; // how many values

    // The i-th value's text: a list item as given, or the range value in
    // plain decimals without trailing zeros ("250", "0.75", "-5").
    std::string Text(std::uint64_t i) const;
};

// Parses "FIELD=FROM:TO:STEP" or "FIELD=V1,V2,...". FIELD is a --set name
// or "airplane"; the airplane, the regulations and the airport codes take
// lists only, so that a ":" in one of their texts stays a text. Throws
// std::invalid_argument with the reason.
Variation ParseVariation(std::string_view argument);

// The product of the counts, stopping above kMaxSweepPoints (the value
// then is only known to exceed it).
std::uint64_t PointCount(const std::vector<Variation>& variations);

} // namespace mirovax::cli
