#pragma once

#include "textio/csv.h"
#include "textio/file_writer.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Turning a spreadsheet's CSV into one of the two table files and back. The
// checks live here so that a table file made by the import never holds a
// value the program cannot use.
namespace mirovax {

enum class TableKind { Airplanes, Airports };

// The kind named on the command line: "airplanes" or "airports".
bool ParseTableKind(std::string_view name, TableKind& kind);

// A value the import refuses, at a 1-based line and column of the CSV text
// (column 0 when the fault is not in one field, such as a missing column).
// The message reads "FILE: line L, column C: reason" ("FILE: " only when a
// file is named).
class ImportError : public std::runtime_error {
public:
    ImportError(long line, int column, const std::string& reason, const std::string& file = "");
    long line() const { return m_line; }
    int column() const { return m_column; }
    const std::string& reason() const { return m_reason; }

private:
    long m_line;
    int m_column;
    std::string m_reason;
};

// A checked table: the column names in file order (the kind's fields under
// their own spelling, extra columns as given) and the records in file order.
// A numeric field holds a double, every other field its text.
struct TableData {
    using Value = std::variant<double, std::string>;
    TableKind kind = TableKind::Airplanes;
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;

    bool operator==(const TableData&) const = default;
};

// Splits CSV text into records (refdata/csv.h); a syntax fault becomes an
// ImportError at its line and column, and an empty text one at line 1 that
// says what the first line must name.
std::vector<CsvRecord> ParseImportRecords(std::string_view csvText, const std::string& firstLineNames);

// The SQL table name the import gives the kind: "Airplane" or "Airports".
const char* TableName(TableKind kind);

// Checks CSV text whose header row names the kind's fields (in any order,
// letter case ignored; extra columns are kept as text) and returns the table.
// Every record must have as many fields as the header; numeric fields must
// be finite numbers with "." as decimal separator; "ICAO" four capital
// letters or digits; "elevation" empty or a number; "Feld5" a latitude from
// -90 to 90 and "Feld6" a longitude from -180 to 180; "Type" not empty; all
// text valid UTF-8 without control characters other than tab and line
// breaks. Throws ImportError at the first fault.
TableData ParseTableCsv(TableKind kind, std::string_view csvText);

// The table as CSV text (header row first, CR LF line ends). Numbers are
// written in the shortest form that reads back to the same double, so an
// export imports again without change.
std::string FormatTableCsv(const TableData& table);

// Writes the table into a new SQLite file at outPath: one table named after
// the kind, numeric columns REAL, the others TEXT, and an index on the lookup
// field ("Type" or "ICAO") that ignores letter case. The file is written by
// the one file writer (output/file_writer.h), so a failure leaves any earlier
// outPath as it was. Throws std::runtime_error.
void WriteTableFile(
    const TableData& table, const std::string& outPath, const std::vector<RunInput>& inputs = {});

// Reads a table file back into TableData: the single table, columns in
// order, records in record order; stored numbers become doubles, everything
// else text (a missing value empty text). The kind is Airports when the
// table has an "ICAO" column, Airplanes otherwise. Throws TableError.
TableData ReadTableFile(const std::string& path);

// The bytes of a CSV file; throws std::runtime_error ("cannot read "FILE"").
std::string ReadCsvFile(const std::string& path);

// Reads csvPath, checks it and writes outPath, which must not be csvPath.
// Throws ImportError (with the file name in its message) or
// std::runtime_error.
void ImportTable(TableKind kind, const std::string& csvPath, const std::string& outPath);

} // namespace mirovax
