// mirovax-tables: builds the airplane and airport table files from CSV and
// writes them back as CSV, so that a fleet's data can be kept in a
// spreadsheet, and fits a type's fuel lines to its manual's tables.
#include "fitting/tables_fit.h"
#include "refdata/table_import.h"
#include "refdata/table_store.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

namespace {

int Usage()
{
    std::cerr << "usage: mirovax-tables import airplanes|airports FILE.csv OUT.DB\n"
                 "       mirovax-tables export FILE.DB [OUT.csv]\n"
                 "       mirovax-tables fit TABLES.csv [--type NAME --dow KG ...] [--out ROW.csv | --into "
                 "FILE.DB]\n"
                 "                          [--plot FIT.svg] [--max-error PCT]   (fit --help says more)\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "fit")
        return RunFitCommand(argc, argv);
    try {
        if (command == "import" && argc == 5) {
            mirovax::TableKind kind;
            if (!mirovax::ParseTableKind(argv[2], kind))
                return Usage();
            mirovax::ImportTable(kind, argv[3], argv[4]);
            return 0;
        }
        if (command == "export" && (argc == 3 || argc == 4)) {
            const std::string csv = mirovax::FormatTableCsv(mirovax::ReadTableFile(argv[2]));
            if (argc == 3) {
                std::cout << csv << std::flush;
                return std::cout ? 0 : 1;
            }
            try {
                mirovax::WriteFileAtomically(argv[3], csv, {{argv[2], "the table"}});
            } catch (const mirovax::FileWriteError& error) {
                std::cerr << "mirovax-tables: cannot write \"" << argv[3] << "\": " << error.what() << '\n';
                return 1;
            }
            return 0;
        }
    } catch (const std::exception& error) {
        std::cerr << "mirovax-tables: " << error.what() << '\n';
        return 1;
    }
    return Usage();
}
