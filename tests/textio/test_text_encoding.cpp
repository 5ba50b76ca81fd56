#include "textio/text_encoding.h"

#include <gtest/gtest.h>

using namespace mirovax;

TEST(Windows1252, EveryByteMapsToOneCharacterAndBack)
{
    for (unsigned b = 0; b < 256; ++b) {
        const char32_t c = Windows1252ToUnicode(static_cast<unsigned char>(b));
        EXPECT_EQ(UnicodeToWindows1252(c), static_cast<int>(b)) << b;
    }
    EXPECT_EQ(Windows1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Windows1252ToUnicode(0xB0), U'\u00B0'); // the degree sign of " °C"
    EXPECT_EQ(UnicodeToWindows1252(U'\u2264'), -1); // no code for "≤"
    EXPECT_EQ(UnicodeToWindows1252(U'\U0001F600'), -1);
}

TEST(Windows1252, TextsDecodeToUtf8AndBack)
{
    struct Case {
        std::string byte;
        std::string utf8;
    };
    const Case cases[] = {
        {"\x80", "\u20AC"}, // euro sign
        {"\x9F", "\u0178"}, // Y with diaeresis
        {"\xB0", "\u00B0"}, // degree sign, Latin-1 range
        {"\xE9", "\u00E9"},
        {"\x81", "\xC2\x81"}, // unassigned: kept as the control of that value
        {"\x9D", "\xC2\x9D"},
        {"A", "A"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeWindows1252(c.byte), c.utf8);
        EXPECT_EQ(EncodeWindows1252(c.utf8), c.byte);
    }
}

TEST(Utf8, InvalidBytesBecomeOneReplacementEach)
{
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9z"), U"a\u00E9z");
    // A stray lead byte does not swallow the letter after it.
    EXPECT_EQ(DecodeUtf8("\xC3z"), U"\uFFFDz");
    // Overlong and surrogate forms are refused.
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
    // The ends of the ranges a lead byte allows, and a sequence cut short.
    EXPECT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF\xF4\x90"), U"\U0010FFFF\uFFFD\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xF0\x8F\xBF"), U"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xE2\x82"), U"\uFFFD");
    EXPECT_EQ(EncodeUtf8(U"\u00B0C \U0001F600"),
        "\xC2\xB0"
        "C \xF0\x9F\x98\x80");
    EXPECT_EQ(EncodeUtf8(std::u32string(1, char32_t{0xD800})), "\xEF\xBF\xBD");
}

// Text in HTML or SVG: inert, and well-formed whatever the bytes.
TEST(MarkupText, ReferencesTheSpecialCharactersAndRepairsTheRest)
{
    const std::pair<std::string, std::string> cases[] = {
        {"<script>alert(\"x\")</script>", "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;"},
        {"D-'&'", "D-&#39;&amp;&#39;"},
        {"tab\tline\nreturn\r\x01", "tab\tline\nreturn"},
        {"Caf\xE9 \xC2\xB0"
         "C",
            "Caf\xEF\xBF\xBD \xC2\xB0"
            "C"},
    };
    for (const auto& [text, markup] : cases)
        EXPECT_EQ(MarkupText(text), markup) << text;
}

TEST(AsciiCase, FoldsOnlyTheAsciiLetters)
{
    EXPECT_TRUE(EqualsIgnoringAsciiCase("Maximum Range", "mAXIMUM rANGE"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase("", ""));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("ICAO", "ICAO "));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("ICAO ", "ICAO"));
    // '@' and '[' sit just outside A-Z, '`' and '{' just outside a-z.
    EXPECT_FALSE(EqualsIgnoringAsciiCase("@[", "`{"));
    // The bytes of "É" and "é" differ, and stay different.
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x89", "\xC3\xA9"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase("Z\xC3\xA9", "z\xC3\xA9"));
}
