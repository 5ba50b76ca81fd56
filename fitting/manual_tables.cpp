#include "fitting/manual_tables.h"

#include "engine/text_format.h"
#include "refdata/table_store.h"
#include "textio/csv.h"
#include "textio/text_encoding.h"

#include <array>
#include <filesystem>
#include <optional>

namespace mirovax {

const char* const kManualTableColumns[6]
    = {"kind", "flight_level", "altitude", "distance", "weight", "value"};

namespace {

enum Column { kKind, kFlightLevel, kAltitude, kDistance, kWeight, kValue };

// Which numeric columns each kind fills, in Column order from kFlightLevel.
struct KindSpec {
    const char* name;
    ManualRowKind kind;
    std::array<bool, 5> uses;
};

constexpr KindSpec kKinds[] = {
    {"trip", ManualRowKind::Trip, {true, false, true, true, true}},
    {"holding", ManualRowKind::Holding, {false, true, false, true, true}},
    {"alternate", ManualRowKind::Alternate, {false, false, true, true, true}},
};

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

} // namespace

std::vector<ManualTableRow> ParseManualTablesCsv(std::string_view csvText)
{
    const std::vector<CsvRecord> records
        = ParseImportRecords(csvText, "the columns kind, flight_level, altitude, distance, weight and value");
    const CsvRecord& header = records.front();
    std::array<std::optional<size_t>, 6> at;
    for (size_t c = 0; c < header.fields.size(); ++c) {
        for (size_t k = 0; k < at.size(); ++k) {
            if (!EqualsIgnoringAsciiCase(header.fields[c], kManualTableColumns[k]))
                continue;
            if (at[k])
                throw ImportError(header.line, static_cast<int>(c) + 1,
                    "the column " + Quoted(kManualTableColumns[k]) + " is named twice");
            at[k] = c;
        }
    }
    for (size_t k = 0; k < at.size(); ++k) {
        if (!at[k])
            throw ImportError(
                header.line, 0, "the header lacks the column " + Quoted(kManualTableColumns[k]));
    }

    std::vector<ManualTableRow> rows;
    for (size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        auto cell = [&](int k) -> const std::string& {
            static const std::string empty;
            const size_t c = *at[static_cast<size_t>(k)];
            return c < record.fields.size() ? record.fields[c] : empty;
        };
        auto column = [&](int k) { return static_cast<int>(*at[static_cast<size_t>(k)]) + 1; };
        const KindSpec* spec = nullptr;
        for (const KindSpec& candidate : kKinds) {
            if (EqualsIgnoringAsciiCase(cell(kKind), candidate.name))
                spec = &candidate;
        }
        if (!spec)
            throw ImportError(record.line, column(kKind),
                Quoted(cell(kKind)) + " is not a kind of row: use trip, holding or alternate");
        ManualTableRow row;
        row.kind = spec->kind;
        row.line = record.line;
        double* targets[] = {&row.flightLevel, &row.altitude, &row.distance, &row.weight, &row.value};
        for (int k = kFlightLevel; k <= kValue; ++k) {
            const std::string& text = cell(k);
            const char* name = kManualTableColumns[k];
            if (!spec->uses[static_cast<size_t>(k - 1)]) {
                if (!text.empty())
                    throw ImportError(record.line, column(k),
                        Quoted(name) + ": a " + spec->name + " row leaves this cell empty");
                continue;
            }
            if (text.empty())
                throw ImportError(
                    record.line, column(k), Quoted(name) + ": a " + spec->name + " row needs a number here");
            const Conversion conversion = ConvertStrict(text);
            if (!conversion.ok())
                throw ImportError(record.line, column(k),
                    Quoted(name) + ": " + Quoted(text) + " is not a number (use \".\" as decimal separator)");
            const bool positive = k == kWeight || k == kValue;
            if (positive ? !(conversion.value > 0) : conversion.value < 0)
                throw ImportError(record.line, column(k),
                    Quoted(name) + ": " + Quoted(text) + (positive ? " is not above 0" : " is below 0"));
            *targets[k - 1] = conversion.value;
        }
        rows.push_back(row);
    }
    if (rows.empty())
        throw ImportError(header.line, 0, "the file holds no rows below its header");
    return rows;
}

TableData AirplaneRecordTable(const TMissionData& md)
{
    std::vector<std::string> names{"Type", "Airframe", "Engine"};
    std::vector<std::string> values{md.Type, md.Airframe, md.Engine};
    for (const NumericField& field : kAirplaneNumbers) {
        names.emplace_back(field.name);
        values.push_back(FormatRoundTrip(md.*field.member));
    }
    names.emplace_back("Reference");
    values.push_back(md.Reference);
    return ParseTableCsv(TableKind::Airplanes, FormatCsvRecord(names) + FormatCsvRecord(values));
}

bool AddOrReplaceAirplane(TableData& table, const TableData& record)
{
    const std::vector<TableData::Value>& source = record.rows.at(0);
    std::vector<TableData::Value> row;
    std::optional<size_t> typeColumn;
    std::string type;
    for (size_t c = 0; c < table.columns.size(); ++c) {
        TableData::Value value = std::string();
        for (size_t s = 0; s < record.columns.size(); ++s) {
            if (EqualsIgnoringAsciiCase(record.columns[s], table.columns[c]))
                value = source[s];
        }
        if (EqualsIgnoringAsciiCase(table.columns[c], "Type")) {
            typeColumn = c;
            type = std::get<std::string>(value);
        }
        row.push_back(std::move(value));
    }
    if (typeColumn) {
        for (std::vector<TableData::Value>& existing : table.rows) {
            const auto* name = std::get_if<std::string>(&existing[*typeColumn]);
            if (name && EqualsIgnoringAsciiCase(*name, type)) {
                existing = std::move(row);
                return true;
            }
        }
    }
    table.rows.push_back(std::move(row));
    return false;
}

bool AddOrReplaceAirplaneInFile(
    const std::string& path, const TableData& record, const std::vector<RunInput>& inputs)
{
    try {
        RefuseRunInput(path, inputs);
    } catch (const FileWriteError& error) {
        throw std::runtime_error("cannot write " + Quoted(path) + ": " + error.what());
    }
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        WriteTableFile(record, path, inputs);
        return false;
    }
    TableData table = ReadTableFile(path);
    if (table.kind != TableKind::Airplanes)
        throw std::runtime_error(Quoted(path) + " is not an airplane table");
    const bool replaced = AddOrReplaceAirplane(table, record);
    // Every record again through the import's checks, as if imported anew.
    try {
        table = ParseTableCsv(TableKind::Airplanes, FormatTableCsv(table));
    } catch (const ImportError& error) {
        throw ImportError(error.line(), error.column(), error.reason(), path);
    }
    WriteTableFile(table, path, inputs);
    return replaced;
}

} // namespace mirovax
