#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace mirovax {

// An error of the table store: a file that is not one of our tables, a
// missing field, a closed table. The message names the file and the field.
class TableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One reference table, read-only, over an SQLite file holding a single table.
// The program needs four operations of it: open by path, walk, locate a record
// by one field's value, and read a field of the current record by name.
class TTable {
public:
    TTable();
    ~TTable();
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    // Opens the file read-only (never writes, never leaves a journal); the
    // first record becomes current. Throws TableError.
    void Open(const std::string& path);
    bool Active() const;
    const std::string& Path() const;

    void First();
    void Next();
    // True when Next was called on the last record, and at once for an empty
    // table.
    bool Eof() const;
    // Number of records.
    long RecordCount() const;

    // Makes the first record (in table order) whose field equals value,
    // ignoring letter case, current and returns true; on a miss the current
    // record stays and the result is false.
    bool Locate(const std::string& field, const std::string& value);

    // Fields of the current record. A number read as text comes out in the
    // general number format; with no current record a number reads 0 and a
    // text "". Throws TableError for a closed table or a missing field.
    std::string FieldAsString(const std::string& field) const;
    double FieldAsFloat(const std::string& field) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace mirovax
