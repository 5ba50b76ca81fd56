#include "textio/csv.h"

namespace mirovax {

CsvError::CsvError(long line, int column, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what)
    , m_line(line)
    , m_column(column)
    , m_reason(what)
{ }

std::vector<CsvRecord> ParseCsv(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    std::vector<CsvRecord> records;
    const size_t n = text.size();
    size_t i = 0;
    long line = 1;
    while (i < n) {
        // A blank line is no record (spreadsheets leave one at the end).
        if (text[i] == '\n' || text[i] == '\r') {
            if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')
                ++i;
            ++i;
            ++line;
            continue;
        }
        CsvRecord record;
        record.line = line;
        bool endOfRecord = false;
        while (!endOfRecord) {
            std::string field;
            const int column = static_cast<int>(record.fields.size()) + 1;
            if (i < n && text[i] == '"') {
                const long quoteLine = line;
                ++i;
                bool closed = false;
                while (i < n) {
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    // A line ends at LF, or at a CR not followed by LF.
                    if (c == '\n' || (c == '\r' && !(i + 1 < n && text[i + 1] == '\n')))
                        ++line;
                    field += c;
                    ++i;
                }
                if (!closed)
                    throw CsvError(quoteLine, column, "the quote that opens this field is never closed");
                if (i < n && text[i] != ',' && text[i] != '\n' && text[i] != '\r')
                    throw CsvError(line, column, "text after the closing quote of a field");
            } else {
                while (i < n && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
                    if (text[i] == '"')
                        throw CsvError(line, column, "a quote inside a field that does not start with one");
                    field += text[i];
                    ++i;
                }
            }
            record.fields.push_back(std::move(field));
            if (i < n && text[i] == ',') {
                ++i;
            } else {
                endOfRecord = true;
                if (i < n && text[i] == '\r')
                    ++i;
                if (i < n && text[i] == '\n')
                    ++i;
                ++line;
            }
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::string FormatCsvRecord(const std::vector<std::string>& fields)
{
    std::string out;
    for (size_t f = 0; f < fields.size(); ++f) {
        if (f > 0)
            out += ',';
        const std::string& value = fields[f];
        // A leading or trailing blank is quoted too, so that no spreadsheet
        // trims it away.
        const bool quote = value.find_first_of(",\"\r\n") != std::string::npos
            || (!value.empty() && (value.front() == ' ' || value.back() == ' '));
        if (!quote) {
            out += value;
            continue;
        }
        out += '"';
        for (const char c : value) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
}

} // namespace mirovax
