#include "report/rtf_writer.h"
#include "report_sample.h"
#include "rtf_test_reader.h"

#include <gtest/gtest.h>

namespace mirovax {
namespace {

using testing::ReadDocument;
using testing::ReadRtf;
using testing::SampleSnapshot;

ReportModel OneRow(std::string text)
{
    ReportModel model;
    model.rows.push_back(ReportRow{std::move(text)});
    return model;
}

// Everything outside the header must be 7-bit printable ASCII and line
// breaks, whatever the texts held.
void ExpectPlainAscii(const std::string& rtf)
{
    for (const char c : rtf) {
        const auto b = static_cast<unsigned char>(c);
        ASSERT_TRUE((b >= 0x20 && b < 0x7F) || b == '\r' || b == '\n') << "byte " << static_cast<int>(b);
    }
}

TEST(WriteRtf, ReportReadsBackRowByRowWithItsFormatting)
{
    for (const char* mode : {"Trip Time and Fuel", "Maximum Payload", "Maximum Range", "other"}) {
        SCOPED_TRACE(mode);
        const ReportModel model = BuildReport(SampleSnapshot(mode));
        const std::string rtf = WriteRtf(model);
        ExpectPlainAscii(rtf);
        const ReadDocument doc = ReadRtf(rtf);
        ASSERT_EQ(doc.paragraphs.size(), model.rows.size());
        EXPECT_EQ(doc.trailingText, "");
        for (size_t i = 0; i < model.rows.size(); ++i) {
            const ReportRow& row = model.rows[i];
            const auto& p = doc.paragraphs[i];
            SCOPED_TRACE(row.text);
            EXPECT_EQ(p.text, row.text);
            EXPECT_EQ(p.halfPoints, row.sizePt * 2);
            EXPECT_EQ(p.bold, row.bold);
            EXPECT_EQ(p.underline, row.underline);
            EXPECT_EQ(p.tabStopsTwips, (std::vector<int>{2000, 4000, 6000, 8000}));
            EXPECT_EQ(p.fontName, "Arial");
        }
    }
}

TEST(WriteRtf, HeaderAndParagraphMarkup)
{
    ReportModel model;
    model.rows.push_back(ReportRow{"Mission Report", 14, true, true});
    model.rows.push_back(ReportRow{"Results", 10, true, false});
    model.rows.push_back(ReportRow{});
    const std::string rtf = WriteRtf(model);
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n"
                                "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"));
    EXPECT_NE(
        rtf.find("\\pard\\tx2000\\tx4000\\tx6000\\tx8000\\plain\\f0\\fs28\\b\\ul Mission Report\\par\r\n"),
        std::string::npos);
    EXPECT_NE(rtf.find("\\plain\\f0\\fs20\\b Results\\par\r\n"), std::string::npos);
    EXPECT_TRUE(rtf.ends_with("\\plain\\f0\\fs16\\par\r\n}\r\n"));
}

// What a user can type or paste into a field, how it is written and what a
// reader shows for it.
TEST(WriteRtf, EscapesEveryTextCharacter)
{
    struct Case {
        const char* text;
        const char* markup; // must appear in the document
        const char* shown; // what a reader shows
    };
    const Case cases[] = {
        {"{\\b x}", "\\{\\\\b x\\}", "{\\b x}"},
        {"C:\\mrx\\", "C:\\\\mrx\\\\", "C:\\mrx\\"},
        {"\\par}{\\rtf1", "\\\\par\\}\\{\\\\rtf1", "\\par}{\\rtf1"},
        {"a\\", "a\\\\\\par", "a\\"},
        {"-46 \u00B0C", "-46 \\u176\\'b0C", "-46 \u00B0C"},
        {"Z\u00FCrich \u00E9t\u00E9", "Z\\u252\\'fcrich \\u233\\'e9t\\u233\\'e9",
            "Z\u00FCrich \u00E9t\u00E9"},
        {"\u20AC \u2019", "\\u8364\\'80 \\u8217\\'92", "\u20AC \u2019"},
        {"\u03A9\u4E2D", "\\u937?\\u20013?", "\u03A9\u4E2D"},
        {"\uFF21", "\\u-223?", "\uFF21"},
        {"\U0001F600", "\\u-10179?\\u-8704?", "\U0001F600"},
        {"x\xff", "x\\u-3?", "x\uFFFD"},
        {"a\x01"
         "b\rc\nd\x7f",
            "a b c d ", "a b c d "},
        {"1\t2", "1\\tab 2", "1\t2"},
        {"\t x", "\\tab  x", "\t x"},
        {"  lead", "\\fs16   lead", "  lead"},
        {"\u00B02", "\\u176\\'b02", "\u00B02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string rtf = WriteRtf(OneRow(c.text));
        ExpectPlainAscii(rtf);
        EXPECT_NE(rtf.find(c.markup), std::string::npos) << rtf;
        const ReadDocument doc = ReadRtf(rtf);
        ASSERT_EQ(doc.paragraphs.size(), 1u);
        EXPECT_EQ(doc.paragraphs[0].text, c.shown);
        EXPECT_FALSE(doc.paragraphs[0].bold);
    }
}

// Texts that look like markup never add paragraphs or change the style of
// the rows after them.
TEST(WriteRtf, HostileTextsKeepTheStructure)
{
    ReportModel model;
    model.rows.push_back(ReportRow{"}}}\\par\\b\\fs99 {{"});
    model.rows.push_back(ReportRow{"\\'e9\\u233?\\uc0 x"});
    model.rows.push_back(ReportRow{"after"});
    const ReadDocument doc = ReadRtf(WriteRtf(model));
    ASSERT_EQ(doc.paragraphs.size(), 3u);
    EXPECT_EQ(doc.paragraphs[0].text, "}}}\\par\\b\\fs99 {{");
    EXPECT_EQ(doc.paragraphs[1].text, "\\'e9\\u233?\\uc0 x");
    EXPECT_EQ(doc.paragraphs[2].text, "after");
    for (const auto& p : doc.paragraphs) {
        EXPECT_FALSE(p.bold);
        EXPECT_EQ(p.halfPoints, 16);
    }
}

TEST(WriteRtf, SizesAreHalfPointsWithinWhatReadersTake)
{
    ReportModel model;
    for (int size : {8, 10, 14, 0, 5000})
        model.rows.push_back(ReportRow{"x", size});
    const ReadDocument doc = ReadRtf(WriteRtf(model));
    ASSERT_EQ(doc.paragraphs.size(), 5u);
    EXPECT_EQ(doc.paragraphs[0].halfPoints, 16);
    EXPECT_EQ(doc.paragraphs[1].halfPoints, 20);
    EXPECT_EQ(doc.paragraphs[2].halfPoints, 28);
    EXPECT_EQ(doc.paragraphs[3].halfPoints, 2);
    EXPECT_EQ(doc.paragraphs[4].halfPoints, 3276);
}

} // namespace
} // namespace mirovax
