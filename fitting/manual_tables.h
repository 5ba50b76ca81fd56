#pragma once

#include "engine/mission_data.h"
#include "fitting/fuel_fit.h"
#include "refdata/table_import.h"
#include "textio/file_writer.h"

#include <string>
#include <string_view>
#include <vector>

// The tables of a flight planning manual as CSV, and a fitted type's row in
// the airplane table.
namespace mirovax {

// The columns of a tables file, in the order a new file lists them.
extern const char* const kManualTableColumns[6];

// Reads CSV text whose header names the six columns "kind", "flight_level",
// "altitude", "distance", "weight" and "value" (any order, letter case
// ignored; further columns, such as a note, are skipped). Each record is a
// "trip" row (flight level, distance, weight, value), a "holding" row
// (altitude, weight, value) or an "alternate" row (distance, weight, value);
// the cells a kind does not use must be empty, the others finite numbers with
// "." as decimal separator, none below 0, weight and value above 0. Throws
// ImportError at the first fault.
std::vector<ManualTableRow> ParseManualTablesCsv(std::string_view csvText);

// The airplane table with one record: the texts Type, Airframe, Engine and
// Reference and every numeric field from md (the fitted lines and the
// airplane's weights, ceiling and Mach), checked by the import's own checks.
// Throws ImportError.
TableData AirplaneRecordTable(const TMissionData& md);

// Adds the record of `record` (a one-record airplane table) to the table, or
// replaces the record of the same Type (letter case ignored) in place; the
// table's other columns of that record become empty. Returns whether a record
// was replaced.
bool AddOrReplaceAirplane(TableData& table, const TableData& record);

// Adds or replaces the record in the airplane table file at path through the
// import's checks and the one file writer: the file is replaced only when
// all of it succeeds, and a missing file becomes a table of the one record.
// Throws ImportError, TableError or std::runtime_error.
bool AddOrReplaceAirplaneInFile(
    const std::string& path, const TableData& record, const std::vector<RunInput>& inputs);

} // namespace mirovax
