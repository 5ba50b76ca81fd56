#include "refdata/table_import.h"

#include "refdata/table_store.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace mirovax {
namespace {

using testing::ScratchDir;

const std::string kAirplaneHeader
    = "Type,Airframe,Engine,DOW,MTOW,MLAW,MZFW,TCAP,MaxAlt,Mach,aH1,bH1,aH2,bH2,"
      "MaxHold,aC1,bC1,aC2,bC2,MinCruise,MaxCruise,aC3,bC3,Reference\n";
const std::string kAirplaneRow
    = "A320,Airbus A320,2 x CFM56,42600,78000,66000,62500,19429,39000,0.79,0.0338,258,"
      "0.0338,258,15000,6.72,218.7,5.41,370.2,250,370,0.066,-3726.3,\"Illustrative, "
      "not for operational use\"\n";

TEST(TableImport, AcceptsFieldsInAnyOrderAndKeepsExtraColumns)
{
    const std::string csv = "name,Feld6,icao,Feld5,elevation,iso_country\n"
                            "\"Seattle–Tacoma, WA\",-122.311134,KSEA,47.449162,433,US\n"
                            "Nowhere,0,ZZ99,0,,\n";
    const TableData table = ParseTableCsv(TableKind::Airports, csv);
    EXPECT_EQ(table.columns,
        (std::vector<std::string>{"name", "Feld6", "ICAO", "Feld5", "elevation", "iso_country"}));
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0][0], TableData::Value(std::string("Seattle–Tacoma, WA")));
    EXPECT_EQ(table.rows[0][1], TableData::Value(-122.311134));
    EXPECT_EQ(table.rows[0][4], TableData::Value(std::string("433"))); // elevation stays text
    EXPECT_EQ(table.rows[1][4], TableData::Value(std::string("")));

    const TableData airplanes = ParseTableCsv(TableKind::Airplanes, kAirplaneHeader + kAirplaneRow);
    EXPECT_EQ(airplanes.rows.size(), 1u);
    // A header alone is an empty table.
    EXPECT_TRUE(ParseTableCsv(TableKind::Airplanes, kAirplaneHeader).rows.empty());
}

TEST(TableImport, RefusesTheFirstBadValueWithItsLineAndColumn)
{
    const std::string airports = "ICAO,elevation,Feld5,Feld6\nKSFO,13,37.6,-122.4\n";
    struct Case {
        const char* what;
        TableKind kind;
        std::string csv;
        long line;
        int column;
    };
    const std::vector<Case> cases = {
        {"an empty file", TableKind::Airports, "", 1, 0},
        {"a missing field", TableKind::Airports, "ICAO,elevation,Feld5\nKSFO,13,37.6\n", 1, 0},
        {"a field named twice", TableKind::Airports, "ICAO,elevation,Feld5,Feld6,icao\n", 1, 5},
        {"an unnamed column", TableKind::Airports, "ICAO,,elevation,Feld5,Feld6\n", 1, 2},
        {"a short record", TableKind::Airports, airports + "KBFI,21,47.5\n", 3, 4},
        {"a long record", TableKind::Airports, airports + "KBFI,21,47.5,-122.3,x\n", 3, 5},
        {"a code in lower case", TableKind::Airports, airports + "kbfi,21,47.5,-122.3\n", 3, 1},
        {"a three-letter code", TableKind::Airports, airports + "BFI,21,47.5,-122.3\n", 3, 1},
        {"a code with a blank", TableKind::Airports, airports + "KBF ,21,47.5,-122.3\n", 3, 1},
        {"a decimal comma", TableKind::Airports, airports + "KBFI,21,\"47,5\",-122.3\n", 3, 3},
        {"a latitude beyond the pole", TableKind::Airports, airports + "KBFI,21,90.5,-122.3\n", 3, 3},
        {"a longitude beyond 180", TableKind::Airports, airports + "KBFI,21,47.5,-180.01\n", 3, 4},
        {"an empty coordinate", TableKind::Airports, airports + "KBFI,21,47.5,\n", 3, 4},
        {"an elevation that is no number", TableKind::Airports, airports + "KBFI,21 ft,47.5,-122.3\n", 3, 2},
        {"a control character", TableKind::Airports,
            "ICAO,elevation,Feld5,Feld6,name\nKBFI,21,47.5,-122.3,a\x01\n", 2, 5},
        {"invalid UTF-8", TableKind::Airports, "ICAO,elevation,Feld5,Feld6,name\nKBFI,21,47.5,-122.3,\xC3(\n",
            2, 5},
        {"a broken quote", TableKind::Airports, airports + "KBFI,\"21,47.5,-122.3\n", 3, 2},
        {"a weight that is no number", TableKind::Airplanes,
            kAirplaneHeader + kAirplaneRow
                + "B738,x,y,41400,79015.8,66360.6,heavy,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,r\n",
            3, 7},
        {"an infinite weight", TableKind::Airplanes,
            kAirplaneHeader + "B738,x,y,1e999,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,r\n", 2, 4},
        {"nan", TableKind::Airplanes,
            kAirplaneHeader + "B738,x,y,nan,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,r\n", 2, 4},
        {"an empty type", TableKind::Airplanes,
            kAirplaneHeader + ",x,y,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,r\n", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ParseTableCsv(c.kind, c.csv);
            FAIL() << "accepted";
        } catch (const ImportError& error) {
            EXPECT_EQ(error.line(), c.line) << error.what();
            EXPECT_EQ(error.column(), c.column) << error.what();
        }
    }
}

TEST(TableImport, WritesATableTheReaderFindsThingsIn)
{
    ScratchDir dir;
    const std::string csvPath = dir.file("fleet.csv");
    testing::WriteFile(csvPath,
        kAirplaneHeader + kAirplaneRow
            + "b737-800,Boeing 737-800,x,41400,79015.8,66360.6,62731.8,20865,41000,0.79,1,2,"
              "3,4,15000,5,6,7,8,250,370,9,10,r\n");
    ImportTable(TableKind::Airplanes, csvPath, dir.file("Airplane.DB"));
    EXPECT_EQ(dir.Listing(), (std::vector<std::string>{"Airplane.DB", "fleet.csv"}));

    TTable table;
    table.Open(dir.file("Airplane.DB"));
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_TRUE(table.Locate("Type", "B737-800"));
    EXPECT_EQ(table.FieldAsString("MTOW"), "79015.8");
    EXPECT_EQ(table.FieldAsFloat("bC3"), 10);
    EXPECT_EQ(table.FieldAsString("Type"), "b737-800"); // as written

    // The lookup of a type searches the index the import made, not the table.
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(dir.file("Airplane.DB").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* plan = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                  "EXPLAIN QUERY PLAN SELECT rowid FROM \"Airplane\" WHERE \"Type\" = 'x' COLLATE "
                  "NOCASE ORDER BY rowid LIMIT 1",
                  -1, &plan, nullptr),
        SQLITE_OK);
    std::string details;
    while (sqlite3_step(plan) == SQLITE_ROW)
        details += reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)) + std::string("\n");
    sqlite3_finalize(plan);
    sqlite3_close(db);
    EXPECT_NE(details.find("INDEX Airplane_Type"), std::string::npos) << details;
}

TEST(TableImport, AFailedImportLeavesTheOldTableAsItWas)
{
    ScratchDir dir;
    const std::string out = dir.file("Airports.DB");
    testing::WriteFile(dir.file("good.csv"), "ICAO,elevation,Feld5,Feld6\nKSFO,13,37.6,-122.4\n");
    ImportTable(TableKind::Airports, dir.file("good.csv"), out);
    const std::string before = testing::ReadFile(out);

    testing::WriteFile(
        dir.file("bad.csv"), "ICAO,elevation,Feld5,Feld6\nKSEA,433,47.4,-122.3\nKBFI,21,north,0\n");
    try {
        ImportTable(TableKind::Airports, dir.file("bad.csv"), out);
        FAIL();
    } catch (const ImportError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(dir.file("bad.csv") + ": line 3, column 3"), std::string::npos) << message;
        EXPECT_NE(message.find("\"Feld5\""), std::string::npos) << message;
    }
    EXPECT_EQ(testing::ReadFile(out), before);
    EXPECT_THROW(ImportTable(TableKind::Airports, dir.file("missing.csv"), out), std::runtime_error);
    EXPECT_EQ(testing::ReadFile(out), before);
    // No half-written file stays behind.
    EXPECT_EQ(dir.Listing(), (std::vector<std::string>{"Airports.DB", "bad.csv", "good.csv"}));

    // A file that cannot be written at all.
    EXPECT_THROW(ImportTable(TableKind::Airports, dir.file("good.csv"), dir.file("no/such/dir/Airports.DB")),
        std::runtime_error);
}

TEST(TableImport, ExportThenImportGivesTheSameTable)
{
    ScratchDir dir;
    const std::string csv = "ICAO,elevation,Feld5,Feld6,name\r\n"
                            "KSFO,13,37.61899948120117,-122.375,\"San Francisco, \"\"SFO\"\"\"\r\n"
                            "KBFI,,47.529999,-122.302002,\"two\nlines\"\r\n"
                            "EDDF,364,50.0333,8.5706,Frankfurt am Main – Flughafen\r\n"
                            "ZZZZ,-1e3,0.1,1e-7, padded \r\n";
    const TableData parsed = ParseTableCsv(TableKind::Airports, csv);
    WriteTableFile(parsed, dir.file("Airports.DB"));
    const TableData read = ReadTableFile(dir.file("Airports.DB"));
    EXPECT_EQ(read, parsed);
    const std::string exported = FormatTableCsv(read);
    EXPECT_EQ(ParseTableCsv(TableKind::Airports, exported), parsed);
    EXPECT_EQ(FormatTableCsv(ParseTableCsv(TableKind::Airports, exported)), exported);
}

TEST(TableImport, TheShippedTablesExportWhatTheirCsvHolds)
{
    const TableData airports = ReadTableFile(testing::BesideExecutable("Airports.DB"));
    EXPECT_EQ(airports.kind, TableKind::Airports);
    EXPECT_EQ(ParseTableCsv(TableKind::Airports, FormatTableCsv(airports)), airports);
    const TableData airplanes = ReadTableFile(testing::BesideExecutable("Airplane.DB"));
    EXPECT_EQ(airplanes.kind, TableKind::Airplanes);
    EXPECT_EQ(ParseTableCsv(TableKind::Airplanes, FormatTableCsv(airplanes)), airplanes);
}

} // namespace
} // namespace mirovax
