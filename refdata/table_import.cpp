#include "refdata/table_import.h"

#include "engine/mission_data.h"
#include "engine/text_format.h"
#include "refdata/sqlite_util.h"
#include "refdata/table_store.h"
#include "textio/csv.h"
#include "textio/text_encoding.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

namespace mirovax {

namespace {

using DatabasePtr = std::unique_ptr<sqlite3, sqlite::DatabaseCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, sqlite::StatementFinalizer>;

// How a field of the kind is checked and stored.
enum class FieldCheck { Text, TypeName, Number, Code, Elevation, Latitude, Longitude };

struct FieldSpec {
    std::string name;
    FieldCheck check;
};

const std::vector<FieldSpec>& Fields(TableKind kind)
{
    static const std::vector<FieldSpec> airplanes = [] {
        std::vector<FieldSpec> fields{
            {"Type", FieldCheck::TypeName}, {"Airframe", FieldCheck::Text}, {"Engine", FieldCheck::Text}};
        for (const NumericField& number : kAirplaneNumbers)
            fields.push_back({number.name, FieldCheck::Number});
        fields.push_back({"Reference", FieldCheck::Text});
        return fields;
    }();
    static const std::vector<FieldSpec> airports{{"ICAO", FieldCheck::Code},
        {"elevation", FieldCheck::Elevation}, {"Feld5", FieldCheck::Latitude},
        {"Feld6", FieldCheck::Longitude}};
    return kind == TableKind::Airplanes ? airplanes : airports;
}

const char* LookupField(TableKind kind)
{
    return kind == TableKind::Airplanes ? "Type" : "ICAO";
}

bool IsNumeric(FieldCheck check)
{
    return check == FieldCheck::Number || check == FieldCheck::Latitude || check == FieldCheck::Longitude;
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// The byte offset of the first fault, or npos: invalid UTF-8 or a control
// character other than tab, CR and LF.
size_t FindBadText(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if ((byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7F)
                return i;
            ++i;
            continue;
        }
        size_t length;
        unsigned int codePoint;
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
            codePoint = byte & 0x1Fu;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            codePoint = byte & 0x0Fu;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
            codePoint = byte & 0x07u;
        } else {
            return i;
        }
        if (i + length > text.size())
            return i;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u)
                return i;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF.
        if ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000)
            || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
            return i;
        i += length;
    }
    return std::string::npos;
}

// The value of one checked cell, or the reason it is refused.
std::optional<std::string> CheckCell(FieldCheck check, const std::string& cell, TableData::Value& value)
{
    if (FindBadText(cell) != std::string::npos)
        return "the text is not valid UTF-8 or holds a control character";
    if (IsNumeric(check)) {
        if (cell.empty())
            return std::string("a number is required");
        const Conversion conversion = ConvertStrict(cell);
        if (!conversion.ok())
            return Quoted(cell) + " is not a number (use \".\" as decimal separator)";
        if (check == FieldCheck::Latitude && std::fabs(conversion.value) > 90)
            return "a latitude lies from -90 to 90 degrees";
        if (check == FieldCheck::Longitude && std::fabs(conversion.value) > 180)
            return "a longitude lies from -180 to 180 degrees";
        value = conversion.value;
        return std::nullopt;
    }
    switch (check) {
    case FieldCheck::TypeName:
        if (cell.empty())
            return std::string("the type name must not be empty");
        break;
    case FieldCheck::Code: {
        bool ok = cell.size() == 4;
        for (const char c : cell)
            ok = ok && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
        if (!ok)
            return Quoted(cell) + " is not a code of four capital letters or digits";
        break;
    }
    case FieldCheck::Elevation:
        // Copied into the alternate elevation field unchanged, so it must be
        // a number the trip data accepts, or nothing.
        if (!cell.empty() && !ConvertStrict(cell).ok())
            return Quoted(cell) + " is not an elevation in feet";
        break;
    default:
        break;
    }
    value = cell;
    return std::nullopt;
}

std::string FormatNumber(double value)
{
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

void Execute(sqlite3* db, const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

} // namespace

bool ParseTableKind(std::string_view name, TableKind& kind)
{
    if (name == "airplanes") {
        kind = TableKind::Airplanes;
        return true;
    }
    if (name == "airports") {
        kind = TableKind::Airports;
        return true;
    }
    return false;
}

ImportError::ImportError(long line, int column, const std::string& reason, const std::string& file)
    : std::runtime_error((file.empty() ? "" : file + ": ") + "line " + std::to_string(line)
        + (column > 0 ? ", column " + std::to_string(column) : std::string()) + ": " + reason)
    , m_line(line)
    , m_column(column)
    , m_reason(reason)
{ }

const char* TableName(TableKind kind)
{
    return kind == TableKind::Airplanes ? "Airplane" : "Airports";
}

std::vector<CsvRecord> ParseImportRecords(std::string_view csvText, const std::string& firstLineNames)
{
    std::vector<CsvRecord> records;
    try {
        records = ParseCsv(csvText);
    } catch (const CsvError& error) {
        throw ImportError(error.line(), error.column(), error.reason());
    }
    if (records.empty())
        throw ImportError(1, 0, "the file is empty; its first line must name " + firstLineNames);
    return records;
}

TableData ParseTableCsv(TableKind kind, std::string_view csvText)
{
    const std::vector<CsvRecord> records = ParseImportRecords(csvText, "the fields");

    const std::vector<FieldSpec>& fields = Fields(kind);
    TableData table;
    table.kind = kind;
    const CsvRecord& header = records.front();
    std::vector<FieldCheck> checks;
    for (size_t c = 0; c < header.fields.size(); ++c) {
        const std::string& name = header.fields[c];
        const int column = static_cast<int>(c) + 1;
        if (name.empty())
            throw ImportError(header.line, column, "the header names no field here");
        if (FindBadText(name) != std::string::npos)
            throw ImportError(
                header.line, column, "the field name is not valid UTF-8 or holds a control character");
        for (size_t earlier = 0; earlier < c; ++earlier) {
            if (EqualsIgnoringAsciiCase(table.columns[earlier], name))
                throw ImportError(header.line, column, "the field " + Quoted(name) + " is named twice");
        }
        FieldCheck check = FieldCheck::Text;
        std::string canonical = name;
        for (const FieldSpec& spec : fields) {
            if (EqualsIgnoringAsciiCase(spec.name, name)) {
                check = spec.check;
                canonical = spec.name;
            }
        }
        table.columns.push_back(canonical);
        checks.push_back(check);
    }
    for (const FieldSpec& spec : fields) {
        bool present = false;
        for (const std::string& column : table.columns)
            present = present || column == spec.name;
        if (!present)
            throw ImportError(header.line, 0, "the header lacks the field " + Quoted(spec.name));
    }

    for (size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (record.fields.size() != table.columns.size()) {
            const size_t column = std::min(record.fields.size(), table.columns.size()) + 1;
            throw ImportError(record.line, static_cast<int>(column),
                "the record has " + std::to_string(record.fields.size()) + " fields, the header "
                    + std::to_string(table.columns.size()));
        }
        std::vector<TableData::Value> row(record.fields.size());
        for (size_t c = 0; c < record.fields.size(); ++c) {
            const auto fault = CheckCell(checks[c], record.fields[c], row[c]);
            if (fault)
                throw ImportError(
                    record.line, static_cast<int>(c) + 1, Quoted(table.columns[c]) + ": " + *fault);
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::string FormatTableCsv(const TableData& table)
{
    std::string out = FormatCsvRecord(table.columns);
    std::vector<std::string> cells;
    for (const auto& row : table.rows) {
        cells.clear();
        for (const TableData::Value& value : row) {
            if (const auto* number = std::get_if<double>(&value))
                cells.push_back(FormatNumber(*number));
            else
                cells.push_back(std::get<std::string>(value));
        }
        out += FormatCsvRecord(cells);
    }
    return out;
}

void WriteTableFile(const TableData& table, const std::string& outPath, const std::vector<RunInput>& inputs)
{
    // The table is built in memory and its file image written whole by the
    // one file writer, so a failure anywhere leaves the old file as it was.
    std::string image;
    try {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        DatabasePtr db(raw);
        if (rc != SQLITE_OK)
            throw std::runtime_error(raw ? sqlite3_errmsg(raw) : "out of memory");
        Execute(db.get(), "BEGIN");

        const std::vector<FieldSpec>& fields = Fields(table.kind);
        std::string create = "CREATE TABLE " + sqlite::QuoteIdentifier(TableName(table.kind)) + " (";
        std::string insert = "INSERT INTO " + sqlite::QuoteIdentifier(TableName(table.kind)) + " VALUES (";
        for (size_t c = 0; c < table.columns.size(); ++c) {
            bool numeric = false;
            for (const FieldSpec& spec : fields)
                numeric = numeric || (spec.name == table.columns[c] && IsNumeric(spec.check));
            create += (c ? ", " : "") + sqlite::QuoteIdentifier(table.columns[c])
                + (numeric ? " REAL" : " TEXT");
            insert += c ? ", ?" : "?";
        }
        Execute(db.get(), create + ")");

        sqlite3_stmt* rawStatement = nullptr;
        if (sqlite3_prepare_v2(db.get(), (insert + ")").c_str(), -1, &rawStatement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db.get()));
        StatementPtr statement(rawStatement);
        for (const auto& row : table.rows) {
            sqlite3_reset(statement.get());
            for (size_t c = 0; c < row.size(); ++c) {
                const int index = static_cast<int>(c) + 1;
                if (const auto* number = std::get_if<double>(&row[c])) {
                    sqlite3_bind_double(statement.get(), index, *number);
                } else {
                    const std::string& text = std::get<std::string>(row[c]);
                    sqlite3_bind_text(
                        statement.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
                }
            }
            if (sqlite3_step(statement.get()) != SQLITE_DONE)
                throw std::runtime_error(sqlite3_errmsg(db.get()));
        }
        statement.reset();
        const std::string lookup = LookupField(table.kind);
        Execute(db.get(),
            "CREATE INDEX " + sqlite::QuoteIdentifier(std::string(TableName(table.kind)) + "_" + lookup)
                + " ON " + sqlite::QuoteIdentifier(TableName(table.kind)) + " ("
                + sqlite::QuoteIdentifier(lookup) + " COLLATE NOCASE)");
        Execute(db.get(), "COMMIT");

        sqlite3_int64 size = 0;
        unsigned char* bytes = sqlite3_serialize(db.get(), "main", &size, 0);
        if (bytes == nullptr)
            throw std::runtime_error("out of memory");
        image.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
        sqlite3_free(bytes);
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot write " + Quoted(outPath) + ": " + error.what());
    }
    try {
        WriteFileAtomically(outPath, image, inputs);
    } catch (const FileWriteError& error) {
        throw std::runtime_error("cannot write " + Quoted(outPath) + ": " + error.what());
    }
}

TableData ReadTableFile(const std::string& path)
{
    TTable reader;
    reader.Open(path);

    // The reader knows the columns only by name; ask SQLite for their order.
    TableData table;
    sqlite3* raw = nullptr;
    sqlite3_open_v2(sqlite::ReadOnlyUri(path).c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    DatabasePtr db(raw);
    sqlite3_stmt* rawStatement = nullptr;
    std::string tableName;
    {
        if (sqlite3_prepare_v2(db.get(),
                "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
                "ESCAPE '\\'",
                -1, &rawStatement, nullptr)
            != SQLITE_OK)
            throw TableError("Table \"" + path + "\": " + sqlite3_errmsg(db.get()));
        StatementPtr names(rawStatement);
        if (sqlite3_step(names.get()) == SQLITE_ROW)
            tableName = reinterpret_cast<const char*>(sqlite3_column_text(names.get(), 0));
    }
    if (sqlite3_prepare_v2(db.get(),
            ("SELECT * FROM " + sqlite::QuoteIdentifier(tableName) + " ORDER BY rowid").c_str(), -1,
            &rawStatement, nullptr)
        != SQLITE_OK)
        throw TableError("Table \"" + path + "\": " + sqlite3_errmsg(db.get()));
    StatementPtr rows(rawStatement);
    const int count = sqlite3_column_count(rows.get());
    for (int c = 0; c < count; ++c)
        table.columns.emplace_back(sqlite3_column_name(rows.get(), c));
    table.kind = TableKind::Airplanes;
    for (const std::string& column : table.columns) {
        if (EqualsIgnoringAsciiCase(column, "ICAO"))
            table.kind = TableKind::Airports;
    }
    int step;
    while ((step = sqlite3_step(rows.get())) == SQLITE_ROW) {
        std::vector<TableData::Value> row;
        for (int c = 0; c < count; ++c) {
            const int type = sqlite3_column_type(rows.get(), c);
            if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
                row.emplace_back(sqlite3_column_double(rows.get(), c));
            } else {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(rows.get(), c));
                row.emplace_back(text
                        ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(rows.get(), c)))
                        : std::string());
            }
        }
        table.rows.push_back(std::move(row));
    }
    if (step != SQLITE_DONE)
        throw TableError("Table \"" + path + "\": " + sqlite3_errmsg(db.get()));
    return table;
}

std::string ReadCsvFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + Quoted(path));
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw std::runtime_error("cannot read " + Quoted(path));
    return text.str();
}

void ImportTable(TableKind kind, const std::string& csvPath, const std::string& outPath)
{
    const std::vector<RunInput> inputs{{csvPath, "the CSV file"}};
    try {
        RefuseRunInput(outPath, inputs);
    } catch (const FileWriteError& error) {
        throw std::runtime_error("cannot write " + Quoted(outPath) + ": " + error.what());
    }
    const std::string text = ReadCsvFile(csvPath);
    TableData table;
    try {
        table = ParseTableCsv(kind, text);
    } catch (const ImportError& error) {
        throw ImportError(error.line(), error.column(), error.reason(), csvPath);
    }
    WriteTableFile(table, outPath, inputs);
}

} // namespace mirovax
