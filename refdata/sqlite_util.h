#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

// Small helpers shared by the table reader and the import tool; the rest of
// the program never sees SQLite.
namespace mirovax::sqlite {

// Closes the connection when it goes out of scope.
struct DatabaseCloser {
    void operator()(sqlite3* db) const;
};

// Finalizes the statement when it goes out of scope.
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const;
};

// An identifier in double quotes, inner quotes doubled, for names taken from
// a file (column names may hold blanks or quotes).
std::string QuoteIdentifier(std::string_view name);

// A "file:" URI that opens path read-only and immutable: SQLite then takes no
// lock and never creates a journal, WAL or shared-memory file beside it.
std::string ReadOnlyUri(std::string_view path);

} // namespace mirovax::sqlite
