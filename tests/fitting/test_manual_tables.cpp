#include "fitting/manual_tables.h"
#include "refdata/airplane.h"
#include "refdata/table_store.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

using namespace mirovax;
using mirovax::testing::ReadFile;
using mirovax::testing::ScratchDir;
using mirovax::testing::WriteFile;

// Columns in any order and letter case, a note column skipped, empty cells
// where a kind uses none.
TEST(ManualTables, ReadsEachKindOfRow)
{
    const std::vector<ManualTableRow> rows
        = ParseManualTablesCsv("Value,kind,weight,distance,FLIGHT_LEVEL,altitude,note\r\n"
                               "2500.5,trip,60000,400,330,,from page 3\r\n"
                               "2100,Holding,55000,,,1500,\r\n"
                               "900,alternate,56000,120,,,\r\n");
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].kind, ManualRowKind::Trip);
    EXPECT_EQ(rows[0].flightLevel, 330);
    EXPECT_EQ(rows[0].distance, 400);
    EXPECT_EQ(rows[0].weight, 60000);
    EXPECT_EQ(rows[0].value, 2500.5);
    EXPECT_EQ(rows[0].line, 2);
    EXPECT_EQ(rows[1].kind, ManualRowKind::Holding);
    EXPECT_EQ(rows[1].altitude, 1500);
    EXPECT_EQ(rows[2].kind, ManualRowKind::Alternate);
    EXPECT_EQ(rows[2].distance, 120);
}

TEST(ManualTables, RefusesTheFirstBadCellWithItsLineAndColumn)
{
    const std::string header = "kind,flight_level,altitude,distance,weight,value\n";
    const struct {
        std::string text;
        long line;
        int column;
        const char* reason;
    } cases[] = {
        {"", 1, 0, "the file is empty"},
        {"kind,flight_level,altitude,distance,weight\n", 1, 0, "lacks the column \"value\""},
        {"kind,flight_level,altitude,distance,weight,value,Value\n", 1, 7, "\"value\" is named twice"},
        {header, 1, 0, "no rows below its header"},
        {header + "cruise,330,,400,60000,2500\n", 2, 1, "\"cruise\" is not a kind of row"},
        {header + "trip,330,1500,400,60000,2500\n", 2, 3, "a trip row leaves this cell empty"},
        {header + "trip,330,,400,,2500\n", 2, 5, "a trip row needs a number here"},
        {header + "holding,,1500,,55000,2100\nholding,,1500,,55000,\"2,100\"\n", 3, 6, "is not a number"},
        {header + "alternate,,,120,0,900\n", 2, 5, "\"0\" is not above 0"},
        {header + "alternate,,,-5,56000,900\n", 2, 4, "\"-5\" is below 0"},
        {header + "alternate,,,5,56000,inf\n", 2, 6, "is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseManualTablesCsv(c.text);
            ADD_FAILURE() << "not refused";
        } catch (const ImportError& error) {
            EXPECT_EQ(error.line(), c.line);
            EXPECT_EQ(error.column(), c.column);
            EXPECT_NE(error.reason().find(c.reason), std::string::npos) << error.reason();
        }
    }
}

// A fitted type goes into a table file through the import's checks: in place
// of the record of the same type (letter case ignored) or after the last,
// and a failure leaves the file byte for byte as it was.
TEST(ManualTables, AddsOrReplacesATypeInATableFile)
{
    ScratchDir dir;
    const std::string path = dir.file("Airplane.DB");
    mirovax::testing::WriteAirplaneTable(path,
        {mirovax::testing::TestJet("First Jet"), mirovax::testing::TestJet("Fitted Jet"),
            mirovax::testing::HeavyJet()});
    TTable table;
    TMissionData md;
    table.Open(path);
    LoadAirplane(table, "Fitted Jet", md);
    md.Type = "FITTED JET";
    md.aC1 = 7.25;
    md.Reference = "Fitted by the test";
    const TableData record = AirplaneRecordTable(md);

    EXPECT_TRUE(AddOrReplaceAirplaneInFile(path, record, {}));
    md.Type = "New Jet";
    md.aC1 = 8.5;
    EXPECT_FALSE(AddOrReplaceAirplaneInFile(path, AirplaneRecordTable(md), {}));
    table.Open(path);
    EXPECT_EQ(ReadTypesFromCurrent(table),
        (std::vector<std::string>{"First Jet", "FITTED JET", "Heavy Jet", "New Jet"}));
    TMissionData loaded;
    LoadAirplane(table, "fitted jet", loaded);
    EXPECT_EQ(loaded.aC1, 7.25);
    EXPECT_EQ(loaded.Reference, "Fitted by the test");
    LoadAirplane(table, "New Jet", loaded);
    EXPECT_EQ(loaded.aC1, 8.5);

    // A record the import refuses, an airport table, the run's own input and
    // a file that is not a table: each refused, the file unchanged.
    const std::string before = ReadFile(path);
    md.aC2 = std::numeric_limits<double>::infinity();
    EXPECT_THROW(AirplaneRecordTable(md), ImportError);
    const std::string airports = dir.file("Airports.DB");
    mirovax::testing::WriteAirportTable(airports, mirovax::testing::BayAreaAirports());
    const std::string airportBytes = ReadFile(airports);
    EXPECT_THROW(AddOrReplaceAirplaneInFile(airports, record, {}), std::runtime_error);
    EXPECT_EQ(ReadFile(airports), airportBytes);
    EXPECT_THROW(AddOrReplaceAirplaneInFile(path, record, {{path, "the tables"}}), std::runtime_error);
    WriteFile(dir.file("not-a-table.DB"), "kind,flight_level\n");
    EXPECT_THROW(AddOrReplaceAirplaneInFile(dir.file("not-a-table.DB"), record, {}), std::exception);
    EXPECT_EQ(ReadFile(dir.file("not-a-table.DB")), "kind,flight_level\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_THROW(AddOrReplaceAirplaneInFile(path, record, {}), std::exception);
    EXPECT_EQ(ReadFile(path), before);

    // A missing file becomes a table of the one record.
    EXPECT_FALSE(AddOrReplaceAirplaneInFile(dir.file("New.DB"), record, {}));
    table.Open(dir.file("New.DB"));
    EXPECT_EQ(ReadTypesFromCurrent(table), std::vector<std::string>{"FITTED JET"});
}
