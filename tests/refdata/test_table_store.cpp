#include "refdata/table_store.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace mirovax {
namespace {

using testing::MakeDatabase;
using testing::ScratchDir;

// A small airport table as the import makes it: text code and elevation,
// real coordinates, an index that ignores case.
std::string MakeAirports(const ScratchDir& dir)
{
    std::string path = dir.file("Airports.DB");
    MakeDatabase(path,
        {
            "CREATE TABLE Airports (ICAO TEXT, elevation TEXT, Feld5 REAL, Feld6 REAL, name TEXT)",
            "CREATE INDEX Airports_ICAO ON Airports (ICAO COLLATE NOCASE)",
            "INSERT INTO Airports VALUES ('KSFO', '13', 37.61899948120117, -122.375, 'San Francisco')",
            "INSERT INTO Airports VALUES ('KBFI', '21', 47.529999, -122.302002, 'Boeing Field')",
            "INSERT INTO Airports VALUES ('kbfi', '99', 1, 2, 'second, lower case')",
            "INSERT INTO Airports VALUES ('EDDF', NULL, 50.0333, 8.5706, 'Frankfurt')",
        });
    return path;
}

std::vector<std::string> WalkCodes(TTable& table)
{
    std::vector<std::string> codes;
    for (table.First(); !table.Eof(); table.Next())
        codes.push_back(table.FieldAsString("ICAO"));
    return codes;
}

TEST(TableStore, OpenMakesTheFirstRecordCurrentAndWalksInRecordOrder)
{
    ScratchDir dir;
    TTable table;
    EXPECT_FALSE(table.Active());
    table.Open(MakeAirports(dir));
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(table.Path(), dir.file("Airports.DB"));
    EXPECT_EQ(table.RecordCount(), 4);
    EXPECT_FALSE(table.Eof());
    EXPECT_EQ(table.FieldAsString("ICAO"), "KSFO");

    EXPECT_EQ(WalkCodes(table), (std::vector<std::string>{"KSFO", "KBFI", "kbfi", "EDDF"}));
    // Next on the last record sets the end flag and keeps that record.
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.FieldAsString("ICAO"), "EDDF");
    table.Next();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.FieldAsString("ICAO"), "EDDF");
    table.First();
    EXPECT_FALSE(table.Eof());
    EXPECT_EQ(table.FieldAsString("ICAO"), "KSFO");
}

TEST(TableStore, LocateFindsTheFirstWholeMatchIgnoringCaseAndKeepsTheRecordOnAMiss)
{
    ScratchDir dir;
    TTable table;
    table.Open(MakeAirports(dir));

    struct Case {
        std::string value;
        bool found;
        std::string nameAfter;
    };
    // Each lookup starts where the previous one left the table.
    const std::vector<Case> cases = {
        {"kbfi", true, "Boeing Field"}, // the first of two codes differing in case
        {"EDDF", true, "Frankfurt"},
        {"KBF", false, "Frankfurt"}, // a prefix is no match
        {"KBFI ", false, "Frankfurt"}, // nor a longer text
        {"", false, "Frankfurt"},
        {"KbFi", true, "Boeing Field"},
        {"XXXX", false, "Boeing Field"},
        {"ksfo", true, "San Francisco"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(table.Locate("ICAO", c.value), c.found);
        EXPECT_EQ(table.FieldAsString("name"), c.nameAfter);
    }
    // A located record is a place to walk on from, and clears the end flag.
    table.Locate("ICAO", "EDDF");
    table.Next();
    EXPECT_TRUE(table.Eof());
    EXPECT_TRUE(table.Locate("ICAO", "KBFI"));
    EXPECT_FALSE(table.Eof());
    table.Next();
    EXPECT_EQ(table.FieldAsString("name"), "second, lower case");
    // Field names ignore case too, and any field can be searched.
    EXPECT_TRUE(table.Locate("name", "FRANKFURT"));
    EXPECT_EQ(table.FieldAsString("icao"), "EDDF");
}

TEST(TableStore, LocateWorksWithoutAnIndex)
{
    ScratchDir dir;
    const std::string path = dir.file("plain.DB");
    MakeDatabase(path,
        {"CREATE TABLE t (Type TEXT, MTOW REAL)", "INSERT INTO t VALUES ('B737-800', 79015.8)",
            "INSERT INTO t VALUES ('A320', 78000)", "INSERT INTO t VALUES ('a320', 1)"});
    TTable table;
    table.Open(path);
    EXPECT_TRUE(table.Locate("Type", "A320"));
    EXPECT_EQ(table.FieldAsFloat("MTOW"), 78000);
}

TEST(TableStore, FieldsReadAsTextOrNumber)
{
    ScratchDir dir;
    const std::string path = dir.file("fields.DB");
    MakeDatabase(path,
        {"CREATE TABLE t (Type TEXT, MTOW REAL, Count INTEGER, Mach REAL, Small REAL, Note TEXT)",
            "INSERT INTO t VALUES ('X', 79015.8, 62800, 0.78, 1.5e-7, '12.5')",
            "INSERT INTO t VALUES ('Y', 1e20, NULL, 0.1, 0, '')",
            "INSERT INTO t VALUES ('Z', 1, 2, 3, 4, 'abc')"});
    TTable table;
    table.Open(path);
    EXPECT_EQ(table.FieldAsString("MTOW"), "79015.8");
    EXPECT_EQ(table.FieldAsString("Count"), "62800");
    EXPECT_EQ(table.FieldAsString("Mach"), "0.78");
    EXPECT_EQ(table.FieldAsString("Small"), "1.5E-7");
    EXPECT_EQ(table.FieldAsFloat("Count"), 62800);
    EXPECT_EQ(table.FieldAsFloat("Note"), 12.5); // a text that holds a number
    table.Next();
    EXPECT_EQ(table.FieldAsString("MTOW"), "1E20");
    EXPECT_EQ(table.FieldAsString("Count"), ""); // a missing value
    EXPECT_EQ(table.FieldAsFloat("Count"), 0);
    EXPECT_EQ(table.FieldAsFloat("Note"), 0);
    table.Next();
    try {
        table.FieldAsFloat("Note");
        FAIL() << "a text that is no number must not read as one";
    } catch (const TableError& error) {
        EXPECT_NE(std::string(error.what()).find("\"Note\""), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("fields.DB"), std::string::npos) << error.what();
    }
}

TEST(TableStore, NumbersDoNotFollowTheProcessLocale)
{
    ScratchDir dir;
    const std::string path = dir.file("locale.DB");
    MakeDatabase(path, {"CREATE TABLE t (Mach REAL, Text TEXT)", "INSERT INTO t VALUES (0.78, '0.5')"});
    const std::string before = std::setlocale(LC_ALL, nullptr);
    // Any installed locale with a decimal comma will do; C.UTF-8 keeps ".".
    const bool switched = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8");
    TTable table;
    table.Open(path);
    EXPECT_EQ(table.FieldAsString("Mach"), "0.78");
    EXPECT_EQ(table.FieldAsFloat("Text"), 0.5);
    std::setlocale(LC_ALL, before.c_str());
    if (!switched)
        GTEST_LOG_(INFO) << "no locale with a decimal comma installed; checked under " << before;
}

TEST(TableStore, AnEmptyTableIsAtItsEndAndReadsZeroAndEmptyText)
{
    ScratchDir dir;
    const std::string path = dir.file("empty.DB");
    MakeDatabase(path, {"CREATE TABLE Airplane (Type TEXT, MTOW REAL)"});
    TTable table;
    table.Open(path);
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.FieldAsString("Type"), "");
    EXPECT_EQ(table.FieldAsFloat("MTOW"), 0);
    EXPECT_EQ(table.FieldAsString("MTOW"), "");
    EXPECT_FALSE(table.Locate("Type", ""));
    table.First();
    table.Next();
    EXPECT_TRUE(table.Eof());
    // A field the table lacks is an error even with no record.
    EXPECT_THROW(table.FieldAsString("Engine"), TableError);
}

TEST(TableStore, AMissingFieldNamesTheFileAndTheField)
{
    ScratchDir dir;
    TTable table;
    table.Open(MakeAirports(dir));
    for (const auto& read : std::vector<std::function<void()>>{
             [&] { table.FieldAsString("Feld7"); },
             [&] { table.FieldAsFloat("Feld7"); },
             [&] { table.Locate("Feld7", "x"); },
         }) {
        try {
            read();
            FAIL() << "a missing field must throw";
        } catch (const TableError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("\"Feld7\""), std::string::npos) << message;
            EXPECT_NE(message.find(dir.file("Airports.DB")), std::string::npos) << message;
        }
    }
    EXPECT_EQ(table.FieldAsString("ICAO"), "KSFO"); // the table is still usable
}

TEST(TableStore, AClosedTableThrowsForEveryOperation)
{
    TTable table;
    EXPECT_THROW(table.First(), TableError);
    EXPECT_THROW(table.Next(), TableError);
    EXPECT_THROW(table.Eof(), TableError);
    EXPECT_THROW(table.RecordCount(), TableError);
    EXPECT_THROW(table.Locate("Type", "A320"), TableError);
    try {
        table.FieldAsString("Type");
        FAIL();
    } catch (const TableError& error) {
        EXPECT_NE(std::string(error.what()).find("\"Type\""), std::string::npos) << error.what();
    }
    EXPECT_THROW(table.FieldAsFloat("MTOW"), TableError);
    EXPECT_EQ(table.Path(), "");
}

TEST(TableStore, FilesThatAreNotOneOfOurTablesAreRefusedWithTheirName)
{
    ScratchDir dir;
    std::string database;
    {
        // A valid table whose middle is then overwritten.
        database = dir.file("corrupt.DB");
        std::vector<std::string> statements = {"CREATE TABLE t (Type TEXT, Note TEXT)"};
        for (int i = 0; i < 200; ++i)
            statements.push_back(
                "INSERT INTO t VALUES ('T" + std::to_string(i) + "', '" + std::string(200, 'x') + "')");
        MakeDatabase(database, statements);
        const std::string valid = testing::ReadFile(database);
        ASSERT_GT(valid.size(), 5 * 4096u);
        std::string bytes = valid;
        for (size_t i = 0; i < 4096; ++i)
            bytes[i] = static_cast<char>(i * 7);
        testing::WriteFile(database, bytes);
        // A sound header and layout, but records pages full of noise.
        bytes = valid;
        for (size_t i = size_t{2} * 4096; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i * 13 + 5);
        testing::WriteFile(dir.file("noise.DB"), bytes);
    }
    testing::WriteFile(dir.file("empty.DB"), "");
    testing::WriteFile(dir.file("text.DB"), "ICAO,elevation,Feld5,Feld6\nKSFO,13,37.6,-122.4\n");
    testing::WriteFile(dir.file("short.DB"), "SQLite format 3");
    MakeDatabase(dir.file("two.DB"), {"CREATE TABLE a (x TEXT)", "CREATE TABLE b (y TEXT)"});
    MakeDatabase(dir.file("none.DB"), {"CREATE VIEW v AS SELECT 1 AS x"});
    std::filesystem::create_directory(dir.file("folder.DB"));

    for (const std::string name : {"missing.DB", "empty.DB", "text.DB", "short.DB", "corrupt.DB", "noise.DB",
             "two.DB", "none.DB", "folder.DB"}) {
        SCOPED_TRACE(name);
        TTable table;
        try {
            table.Open(dir.file(name));
            FAIL() << "opened " << name;
        } catch (const TableError& error) {
            EXPECT_NE(std::string(error.what()).find(dir.file(name)), std::string::npos) << error.what();
        }
        EXPECT_FALSE(table.Active());
    }

    // A failed open closes a table that was open before.
    TTable table;
    table.Open(MakeAirports(dir));
    EXPECT_THROW(table.Open(dir.file("text.DB")), TableError);
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(table.Path(), "");
    // Its later errors still name the file it was meant to read.
    try {
        table.FieldAsString("ICAO");
        FAIL();
    } catch (const TableError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(dir.file("text.DB")), std::string::npos) << message;
        EXPECT_NE(message.find("\"ICAO\""), std::string::npos) << message;
    }
}

TEST(TableStore, ReadingLeavesTheFileAndItsDirectoryUntouched)
{
    ScratchDir dir;
    const std::string path = MakeAirports(dir);
    const std::string bytes = testing::ReadFile(path);
    const auto listing = dir.Listing();
    {
        TTable table;
        table.Open(path);
        // While it is open, no journal, WAL or lock file appears beside it.
        table.Locate("ICAO", "EDDF");
        WalkCodes(table);
        EXPECT_EQ(dir.Listing(), listing);
    }
    EXPECT_EQ(dir.Listing(), listing);
    EXPECT_EQ(testing::ReadFile(path), bytes);
}

TEST(TableStore, OpensPathsWithCharactersThatMeanSomethingInAUri)
{
    ScratchDir dir;
    const std::string path = dir.file("a?b#c%20d é.DB");
    MakeDatabase(path, {"CREATE TABLE t (Type TEXT)", "INSERT INTO t VALUES ('A320')"});
    TTable table;
    table.Open(path);
    EXPECT_EQ(table.FieldAsString("Type"), "A320");
}

} // namespace
} // namespace mirovax
