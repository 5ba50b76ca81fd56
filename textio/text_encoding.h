#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Character encodings and ASCII case folding shared by every layer. Texts
// are UTF-8 in memory; setup files are Windows-1252 on disk, and the
// report's rich text names Windows-1252 characters.
namespace mirovax {

// One character read from the front of a UTF-8 text.
struct Utf8Character {
    char32_t value = 0; // U+FFFD when the bytes are not valid UTF-8
    std::size_t length = 0; // bytes taken: the sequence or its maximal invalid part
    bool valid = false;
};

// Reads the character at the front of a text that is not empty. Overlong
// forms, surrogates and values above U+10FFFF are not valid; an invalid
// sequence takes the bytes up to the first that cannot continue it.
Utf8Character DecodeUtf8Character(std::string_view text);

// Decodes UTF-8 into code points. A byte sequence that is not valid UTF-8
// counts as one U+FFFD replacement character per maximal invalid
// subsequence, so that a stray byte can never swallow the characters after it.
std::u32string DecodeUtf8(std::string_view text);

// Encodes code points as UTF-8; surrogates and values above U+10FFFF become
// U+FFFD.
std::string EncodeUtf8(std::u32string_view codePoints);

// A text as XML or HTML character data or attribute value: valid UTF-8 (an
// invalid sequence becomes U+FFFD as in DecodeUtf8), the control characters
// XML does not allow dropped (tab and line feed stay), and &, <, >, " and '
// written as references.
std::string MarkupText(std::string_view text);

// The character of a Windows-1252 byte. The five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the
// same value, so that every byte reads and writes back unchanged.
char32_t Windows1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int UnicodeToWindows1252(char32_t c);

// Windows-1252 to UTF-8. Every byte maps to one character; the five bytes
// the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// control characters of the same value, so any file survives a load and a
// save byte for byte.
std::string DecodeWindows1252(std::string_view bytes);

// UTF-8 to Windows-1252, the inverse of DecodeWindows1252. Throws
// std::invalid_argument for text that is not valid UTF-8 or holds a
// character the code page cannot hold, naming the character; nothing is
// ever replaced by "?".
std::string EncodeWindows1252(std::string_view utf8);

// Whether two texts are equal once the ASCII letters A-Z and a-z are folded
// to one case; every other byte, including those of non-ASCII characters,
// must match as it is. SQLite's NOCASE collation folds the same letters, so
// a lookup through such an index and a comparison here agree.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace mirovax
