#include "textio/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirovax {
namespace {

using Records = std::vector<std::vector<std::string>>;

Records Fields(const std::vector<CsvRecord>& records)
{
    Records out;
    for (const CsvRecord& record : records)
        out.push_back(record.fields);
    return out;
}

TEST(Csv, ParsesWhatSpreadsheetsWrite)
{
    struct Case {
        const char* what;
        std::string text;
        Records records;
        std::vector<long> lines;
    };
    const std::vector<Case> cases = {
        {"plain, LF", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"CR LF, no final line end", "a,b\r\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"byte order mark",
            "\xEF\xBB\xBF"
            "a\n",
            {{"a"}}, {1}},
        {"empty fields", ",a,,\n", {{"", "a", "", ""}}, {1}},
        {"quoted comma, quote, line break", "\"x,y\",\"say \"\"hi\"\"\",\"two\nlines\"\nnext\n",
            {{"x,y", "say \"hi\"", "two\nlines"}, {"next"}}, {1, 3}},
        {"blank lines are skipped", "a\n\n\r\nb\n", {{"a"}, {"b"}}, {1, 4}},
        {"empty quoted field", "\"\",x\n", {{"", "x"}}, {1}},
        {"blanks are kept", " a , b \n", {{" a ", " b "}}, {1}},
        {"nothing", "", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<CsvRecord> records = ParseCsv(c.text);
        EXPECT_EQ(Fields(records), c.records);
        std::vector<long> lines;
        lines.reserve(records.size());
        for (const CsvRecord& record : records)
            lines.push_back(record.line);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(Csv, RefusesBrokenQuotingWithItsPosition)
{
    struct Case {
        std::string text;
        long line;
        int column;
    };
    const std::vector<Case> cases = {
        {"a,b\n1,\"2\n3\n", 2, 2}, // never closed
        {"a,b\n1,\"2\"x\n", 2, 2}, // text after the closing quote
        {"a,b\nx\"y,2\n", 2, 1}, // a quote inside an unquoted field
        {"\"a\nb\" , c\n", 2, 1}, // after a line break inside quotes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseCsv(c.text);
            FAIL();
        } catch (const CsvError& error) {
            EXPECT_EQ(error.line(), c.line);
            EXPECT_EQ(error.column(), c.column);
        }
    }
}

TEST(Csv, FormattedRecordsReadBackUnchanged)
{
    const Records records = {
        {"ICAO", "name"},
        {"KSEA", "Seattle–Tacoma International Airport"},
        {"X", "a, \"quoted\" name"},
        {"Y", "two\r\nlines"},
        {"", " padded "},
        {"1e+20", ""},
    };
    std::string text;
    for (const auto& record : records)
        text += FormatCsvRecord(record);
    EXPECT_EQ(Fields(ParseCsv(text)), records);
    EXPECT_EQ(FormatCsvRecord({"a", "b,c", "d\"e"}), "a,\"b,c\",\"d\"\"e\"\r\n");
}

} // namespace
} // namespace mirovax
