#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A small strict RTF reader for checking what the writer produced: it follows
// groups, skips the font table, honours \ucN fallbacks, decodes \'xx as
// Windows-1252 and \uN (surrogate pairs included), and records each
// paragraph's text with the formatting in force at its \par. Anything it does
// not understand (an unbalanced brace, a stray byte, an unknown control word
// in the body) throws, so a test learns about markup that a field's text has
// broken.
namespace mirovax::testing {

struct ReadParagraph {
    std::string text; // UTF-8, '\t' for \tab
    int halfPoints = 24;
    bool bold = false;
    bool underline = false;
    std::vector<int> tabStopsTwips;
    std::string fontName;
};

struct ReadDocument {
    std::vector<ReadParagraph> paragraphs;
    std::string trailingText; // text after the last \par (should be empty)
};

class RtfReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

ReadDocument ReadRtf(std::string_view rtf);

} // namespace mirovax::testing
