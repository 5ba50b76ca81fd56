#include "refdata/sqlite_util.h"

namespace mirovax::sqlite {

void DatabaseCloser::operator()(sqlite3* db) const
{
    sqlite3_close_v2(db);
}

void StatementFinalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

std::string QuoteIdentifier(std::string_view name)
{
    std::string out = "\"";
    for (const char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string ReadOnlyUri(std::string_view path)
{
    static const char kHex[] = "0123456789ABCDEF";
    // An absolute path gets an empty authority ("file:///..."), so that a
    // path starting with "//" is not read as a host name.
    std::string uri = path.substr(0, 1) == "/" ? "file://" : "file:";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        // "?" and "#" would end the path, "%" would start an escape.
        if (byte == '?' || byte == '#' || byte == '%' || byte < 0x20 || byte >= 0x7F) {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xF];
        } else {
            uri += c;
        }
    }
    uri += "?mode=ro&immutable=1";
    return uri;
}

} // namespace mirovax::sqlite
