#pragma once

#include <string>
#include <string_view>

// JSON output shared by the command line's results and the payload-range
// diagram, locale-independent.
namespace mirovax {

// A JSON string literal, quotes included. The text is UTF-8; an invalid
// sequence becomes U+FFFD, so the output is always valid UTF-8.
std::string JsonString(std::string_view text);

// FormatRoundTrip of a double; "null" for a value that is not finite (JSON
// has no infinity or NaN).
std::string JsonNumber(double value);

} // namespace mirovax
