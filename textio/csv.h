#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Comma-separated values as spreadsheets write them (RFC 4180): fields are
// separated by commas, records end with LF or CR LF, and a field that holds
// a comma, a quote or a line break is enclosed in quotes with inner quotes
// doubled. A UTF-8 byte order mark at the start is skipped.
namespace mirovax {

// A syntax fault of the text, at a 1-based line and field.
class CsvError : public std::runtime_error {
public:
    CsvError(long line, int column, const std::string& what);
    long line() const { return m_line; }
    int column() const { return m_column; }
    // The fault without its position.
    const std::string& reason() const { return m_reason; }

private:
    long m_line;
    int m_column;
    std::string m_reason;
};

struct CsvRecord {
    long line = 0; // the line on which the record starts, 1-based
    std::vector<std::string> fields;
};

// Splits the text into records. Blank lines are skipped. Throws CsvError for
// a quote that is never closed or text between a closing quote and the next
// separator.
std::vector<CsvRecord> ParseCsv(std::string_view text);

// One record as a line ending in CR LF, quoting only the fields that need it.
std::string FormatCsvRecord(const std::vector<std::string>& fields);

} // namespace mirovax
