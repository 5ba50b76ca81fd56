#include "refdata/table_store.h"

#include "engine/text_format.h"
#include "refdata/sqlite_util.h"
#include "textio/text_encoding.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <system_error>
#include <variant>
#include <vector>

namespace mirovax {

namespace {

using DatabasePtr = std::unique_ptr<sqlite3, sqlite::DatabaseCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, sqlite::StatementFinalizer>;

// One field of the current record as SQLite holds it.
using FieldValue = std::variant<std::monostate, double, std::string>;

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

struct TTable::Impl {
    std::string path; // of the last Open, also when it failed
    bool active = false;
    DatabasePtr db;
    std::string table; // quoted table name
    std::vector<std::string> columns; // in table order
    std::vector<std::int64_t> rowids; // the record order
    StatementPtr readRecord; // one record by rowid
    std::map<size_t, StatementPtr> locators; // by column index

    // The current record: its position in rowids and its values. position
    // equals rowids.size() only for an empty table.
    size_t position = 0;
    bool eof = true;
    std::vector<FieldValue> values;

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw TableError("Table " + Quoted(path) + ": " + what);
    }

    [[noreturn]] void FailSqlite(const std::string& doing) const
    {
        const char* message = db ? sqlite3_errmsg(db.get()) : "out of memory";
        Fail("it is not a readable table file (" + doing + ": " + message + ")");
    }

    StatementPtr Prepare(const std::string& sql) const
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db.get(), sql.c_str(), static_cast<int>(sql.size()) + 1, &statement, nullptr)
            != SQLITE_OK)
            FailSqlite("reading its layout");
        return StatementPtr(statement);
    }

    size_t ColumnIndex(const std::string& field) const
    {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (EqualsIgnoringAsciiCase(columns[c], field))
                return c;
        }
        Fail("field " + Quoted(field) + " not found");
    }

    // Reads the values of the row the statement stands on, skipping the
    // first `skip` result columns.
    void StoreValues(sqlite3_stmt* statement, int skip)
    {
        values.assign(columns.size(), std::monostate{});
        for (size_t c = 0; c < columns.size(); ++c) {
            const int i = static_cast<int>(c) + skip;
            switch (sqlite3_column_type(statement, i)) {
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                values[c] = sqlite3_column_double(statement, i);
                break;
            case SQLITE_TEXT: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                values[c] = std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, i)));
                break;
            }
            case SQLITE_BLOB:
                values[c] = std::string(static_cast<const char*>(sqlite3_column_blob(statement, i)),
                    static_cast<size_t>(sqlite3_column_bytes(statement, i)));
                break;
            default:
                break;
            }
        }
    }

    void LoadRecord()
    {
        if (position >= rowids.size()) {
            values.assign(columns.size(), std::monostate{});
            return;
        }
        sqlite3_stmt* statement = readRecord.get();
        sqlite3_reset(statement);
        sqlite3_bind_int64(statement, 1, rowids[position]);
        const int rc = sqlite3_step(statement);
        if (rc != SQLITE_ROW)
            FailSqlite("reading a record");
        StoreValues(statement, 0);
        sqlite3_reset(statement);
    }

    void Open(const std::string& file)
    {
        path = file;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec))
            Fail("the file does not exist or is not a regular file");

        sqlite3* raw = nullptr;
        const std::string uri = sqlite::ReadOnlyUri(file);
        const int rc = sqlite3_open_v2(uri.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
        db.reset(raw);
        if (rc != SQLITE_OK)
            FailSqlite("opening it");
        // A file that is not a database shows only when its first page is
        // read, which the schema query does.
        sqlite3_extended_result_codes(db.get(), 1);

        std::vector<std::string> tables;
        {
            StatementPtr list
                = Prepare("SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE "
                          "'sqlite\\_%' ESCAPE '\\' ORDER BY name");
            int step;
            while ((step = sqlite3_step(list.get())) == SQLITE_ROW)
                tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0)));
            if (step != SQLITE_DONE)
                FailSqlite("reading its layout");
        }
        if (tables.size() != 1)
            Fail("the file holds " + std::to_string(tables.size()) + " tables instead of exactly one");
        table = sqlite::QuoteIdentifier(tables.front());

        {
            StatementPtr info = Prepare("SELECT name FROM pragma_table_info(?1)");
            sqlite3_bind_text(info.get(), 1, tables.front().c_str(), -1, SQLITE_TRANSIENT);
            int step;
            while ((step = sqlite3_step(info.get())) == SQLITE_ROW)
                columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)));
            if (step != SQLITE_DONE)
                FailSqlite("reading its layout");
        }
        {
            StatementPtr order = Prepare("SELECT rowid FROM " + table + " ORDER BY rowid");
            int step;
            while ((step = sqlite3_step(order.get())) == SQLITE_ROW)
                rowids.push_back(sqlite3_column_int64(order.get(), 0));
            if (step != SQLITE_DONE)
                FailSqlite("reading its records");
        }
        std::string all;
        for (const std::string& column : columns)
            all += (all.empty() ? "" : ", ") + sqlite::QuoteIdentifier(column);
        readRecord = Prepare("SELECT " + all + " FROM " + table + " WHERE rowid = ?1");
        position = 0;
        eof = rowids.empty();
        LoadRecord();
    }

    sqlite3_stmt* Locator(size_t column)
    {
        auto found = locators.find(column);
        if (found != locators.end())
            return found->second.get();
        // The NOCASE comparison lets SQLite use an index made with
        // COLLATE NOCASE; the first match in record order is the lowest rowid.
        std::string all;
        for (const std::string& name : columns)
            all += ", " + sqlite::QuoteIdentifier(name);
        StatementPtr statement = Prepare("SELECT rowid" + all + " FROM " + table + " WHERE "
            + sqlite::QuoteIdentifier(columns[column]) + " = ?1 COLLATE NOCASE ORDER BY rowid LIMIT 1");
        sqlite3_stmt* raw = statement.get();
        locators.emplace(column, std::move(statement));
        return raw;
    }
};

TTable::TTable() = default;

TTable::~TTable() = default;

void TTable::Open(const std::string& path)
{
    // A failed open leaves the table closed, never half open; it remembers
    // the path so that later errors can name the file.
    m_impl = std::make_unique<Impl>();
    m_impl->path = path;
    try {
        m_impl->Open(path);
    } catch (...) {
        m_impl = std::make_unique<Impl>();
        m_impl->path = path;
        throw;
    }
    m_impl->active = true;
}

bool TTable::Active() const
{
    return m_impl && m_impl->active;
}

const std::string& TTable::Path() const
{
    static const std::string kNone;
    return Active() ? m_impl->path : kNone;
}

namespace {

[[noreturn]] void FailClosed(const std::string& path, const std::string& doing)
{
    if (!path.empty())
        throw TableError("Table " + Quoted(path) + " is not open: cannot " + doing);
    throw TableError("No table is open: cannot " + doing);
}

} // namespace

void TTable::First()
{
    if (!Active())
        FailClosed(m_impl ? m_impl->path : std::string(), "go to the first record");
    m_impl->position = 0;
    m_impl->eof = m_impl->rowids.empty();
    m_impl->LoadRecord();
}

void TTable::Next()
{
    if (!Active())
        FailClosed(m_impl ? m_impl->path : std::string(), "go to the next record");
    Impl& t = *m_impl;
    // On the last record the end flag turns true and the record stays.
    if (t.position + 1 >= t.rowids.size()) {
        t.eof = true;
        return;
    }
    ++t.position;
    t.LoadRecord();
}

bool TTable::Eof() const
{
    if (!Active())
        FailClosed(m_impl ? m_impl->path : std::string(), "test for the end of the table");
    return m_impl->eof;
}

long TTable::RecordCount() const
{
    if (!Active())
        FailClosed(m_impl ? m_impl->path : std::string(), "count the records");
    return static_cast<long>(m_impl->rowids.size());
}

bool TTable::Locate(const std::string& field, const std::string& value)
{
    if (!Active())
        FailClosed(
            m_impl ? m_impl->path : std::string(), "look up " + Quoted(value) + " in field " + Quoted(field));
    Impl& t = *m_impl;
    const size_t column = t.ColumnIndex(field);
    sqlite3_stmt* statement = t.Locator(column);
    sqlite3_reset(statement);
    sqlite3_bind_text(statement, 1, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) {
        sqlite3_reset(statement);
        return false;
    }
    if (rc != SQLITE_ROW)
        t.FailSqlite("looking up a record");
    const std::int64_t rowid = sqlite3_column_int64(statement, 0);
    const auto at = std::lower_bound(t.rowids.begin(), t.rowids.end(), rowid);
    if (at == t.rowids.end() || *at != rowid)
        t.Fail("the file changed while it was open");
    t.StoreValues(statement, 1);
    sqlite3_reset(statement);
    t.position = static_cast<size_t>(at - t.rowids.begin());
    t.eof = false;
    return true;
}

std::string TTable::FieldAsString(const std::string& field) const
{
    if (!Active())
        FailClosed(m_impl ? m_impl->path : std::string(), "read field " + Quoted(field));
    const FieldValue& value = m_impl->values[m_impl->ColumnIndex(field)];
    if (const auto* number = std::get_if<double>(&value))
        return FormatGeneral(*number);
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return "";
}

double TTable::FieldAsFloat(const std::string& field) const
{
    if (!Active())
        FailClosed(m_impl ? m_impl->path : std::string(), "read field " + Quoted(field));
    const FieldValue& value = m_impl->values[m_impl->ColumnIndex(field)];
    if (const auto* number = std::get_if<double>(&value))
        return *number;
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (text->empty())
            return 0;
        const Conversion conversion = ConvertStrict(*text);
        if (!conversion.ok())
            m_impl->Fail("field " + Quoted(field) + " holds " + Quoted(*text) + ", which is not a number");
        return conversion.value;
    }
    return 0;
}

} // namespace mirovax
