#include "table_import_check.h"

#include "refdata/table_import.h"

#include <string_view>

namespace mirovax {

std::string CheckTableImport(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return "";
    const TableKind kind = (data[0] & 1) ? TableKind::Airports : TableKind::Airplanes;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    TableData table;
    try {
        table = ParseTableCsv(kind, text);
    } catch (const ImportError& error) {
        if (error.line() < 1 || error.column() < 0)
            return std::string("an error without a position: ") + error.what();
        return "";
    }
    const std::string exported = FormatTableCsv(table);
    try {
        if (!(ParseTableCsv(kind, exported) == table))
            return "the exported table imports differently:\n" + exported;
    } catch (const ImportError& error) {
        return std::string("the exported table is refused: ") + error.what() + "\n" + exported;
    }
    return "";
}

} // namespace mirovax
