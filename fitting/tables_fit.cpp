#include "fitting/tables_fit.h"

#include "engine/text_format.h"
#include "fitting/fuel_fit.h"
#include "fitting/fuel_fit_plot.h"
#include "fitting/manual_tables.h"
#include "refdata/table_store.h"
#include "textio/file_writer.h"

#include <CLI/CLI.hpp>

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

namespace mirovax {

namespace {

constexpr const char* kProgram = "mirovax-tables";

// The airplane's own figures, which a table row needs beside the lines:
// figures[i] is AirplaneFigureFields()[i], given as "--dow" ... "--mach".
struct AirplaneOptions {
    std::string type, airframe, engine, reference;
    std::array<std::optional<double>, kAirplaneFigureCount> figures;
};

// What each figure's option takes and says, in AirplaneFigureFields() order.
constexpr std::array<std::pair<const char*, const char*>, kAirplaneFigureCount> kFigureHelp = {{
    {"KG", "dry operating weight, kg; also fixes bC3 = -aC3 x DOW"},
    {"KG", "maximum takeoff weight, kg"},
    {"KG", "maximum landing weight, kg"},
    {"KG", "maximum zero fuel weight, kg"},
    {"KG", "tank capacity, kg"},
    {"FT", "ceiling, ft"},
    {"MACH", "cruise Mach number"},
}};

// "--dow" for "DOW", "--maxalt" for "MaxAlt".
std::string FigureOption(const NumericField& field)
{
    std::string option = "--";
    for (const char* c = field.name; *c != '\0'; ++c)
        option += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return option;
}

std::string Fixed(double value, int decimals)
{
    // No "-0.0" for a residual that rounds to nothing.
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Pad(const std::string& text, size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string SummaryLine(const char* name, const char* unit, const FitSummary& summary)
{
    if (summary.rows == 0)
        return "";
    std::string line = std::string(name) + ": " + std::to_string(summary.rows) + " rows, RMS "
        + Fixed(summary.rms, 1) + " " + unit + " (" + Fixed(100 * summary.rmsRelative, 2) + " %), largest "
        + Fixed(summary.largest->error, 1) + " " + unit + " (" + Fixed(100 * summary.largest->relative, 2)
        + " %) at line " + std::to_string(summary.largest->row->line);
    return line + "\n";
}

// The fitted lines, the residual of every row and the summaries.
std::string Report(const std::string& tablesPath, const FuelLineFit& fit, bool hasDow)
{
    std::string out = "Fuel lines fitted to " + tablesPath + "\n\n";
    for (const NumericField& field : FuelLineFields()) {
        const std::string name = field.name;
        out += name + std::string(11 - name.size(), ' ') + FormatRoundTrip(fit.lines.*field.member) + "\n";
    }
    out += hasDow ? "(bC3 = -aC3 x DOW: the weight term is 0 at the dry operating weight.)\n"
                  : "(bC3 = 0: without --dow the table fixes only bC3 + bC1 and bC3 + bC2.)\n";
    out += "\nResiduals (fitted - table; holding in kg/h)\n";
    out += " line  kind       FL/ft  distance    weight      table     fitted    error  error %\n";
    for (const FitResidual& r : fit.residuals) {
        const ManualTableRow& row = *r.row;
        const double where = row.kind == ManualRowKind::Holding ? row.altitude : row.flightLevel;
        out += Pad(std::to_string(row.line), 5) + "  " + ManualRowKindName(row.kind)
            + std::string(9 - std::string(ManualRowKindName(row.kind)).size(), ' ')
            + Pad(row.kind == ManualRowKind::Alternate ? "" : FormatGeneral(where), 7)
            + Pad(row.kind == ManualRowKind::Holding ? "" : FormatGeneral(row.distance), 10)
            + Pad(FormatGeneral(row.weight), 10) + Pad(Fixed(row.value, 1), 11) + Pad(Fixed(r.fitted, 1), 11)
            + Pad(Fixed(r.error, 1), 9) + Pad(Fixed(100 * r.relative, 2), 9) + "\n";
    }
    out += "\n" + SummaryLine("trip fuel", "kg", fit.trip) + SummaryLine("holding flow", "kg/h", fit.holding)
        + SummaryLine("alternate fuel", "kg", fit.alternate);
    return out;
}

TMissionData AirplaneRecord(const AirplaneOptions& a, const FuelLineFit& fit, const std::string& tablesPath)
{
    TMissionData md = fit.lines;
    md.Type = a.type;
    md.Airframe = a.airframe;
    md.Engine = a.engine;
    md.Reference = a.reference.empty()
        ? "Fitted by mirovax-tables fit from " + std::filesystem::path(tablesPath).filename().string()
        : a.reference;
    for (size_t i = 0; i < kAirplaneFigureCount; ++i)
        md.*AirplaneFigureFields()[i].member = a.figures[i].value_or(0);
    return md;
}

// Why the options cannot make a table row, or "".
std::string CheckAirplane(const AirplaneOptions& a)
{
    std::string missing;
    if (a.type.empty())
        missing += " --type";
    for (size_t i = 0; i < kAirplaneFigureCount; ++i) {
        if (!a.figures[i])
            missing += " " + FigureOption(AirplaneFigureFields()[i]);
    }
    if (!missing.empty())
        return "a table row needs" + missing;
    for (size_t i = 0; i < kAirplaneFigureCount; ++i) {
        if (!(*a.figures[i] > 0))
            return FigureOption(AirplaneFigureFields()[i]) + " must be above 0";
    }
    const TMissionData md = AirplaneRecord(a, FuelLineFit{}, "");
    if (!(md.DOW < md.MZFW && md.MZFW <= md.MTOW && md.MLAW <= md.MTOW && md.DOW < md.MLAW))
        return "the weights must read DOW < MZFW <= MTOW and DOW < MLAW <= MTOW";
    if (!(md.Mach < 1))
        return "--mach must be below 1";
    return "";
}

// A number as the tables write them ("." as decimal separator, finite), or
// the reason it is not; with aboveZero, also above 0.
CLI::Validator NumberCheck(bool aboveZero)
{
    return CLI::Validator(
        [aboveZero](std::string& text) -> std::string {
            const Conversion conversion = ConvertStrict(text);
            if (!conversion.ok())
                return "\"" + text + "\" is not a number (use \".\" as decimal separator)";
            if (aboveZero && !(conversion.value > 0))
                return "\"" + text + "\" is not above 0";
            return "";
        },
        "");
}

int Fail(const std::string& message)
{
    std::cerr << kProgram << ": " << message << '\n';
    return 1;
}

} // namespace

} // namespace mirovax

int RunFitCommand(int argc, char** argv)
{
    using namespace mirovax;
    CLI::App app{"Fits the fuel lines of an airplane type to the tables of its flight planning manual.",
        std::string(kProgram) + " fit"};
    std::string tablesPath, outPath, intoPath, plotPath;
    double maxErrorPercent = 100 * kDefaultMaxFitError;
    AirplaneOptions a;
    app.add_option(
           "TABLES.csv", tablesPath, "the manual's tables: kind,flight_level,altitude,distance,weight,value")
        ->type_name("")
        ->required();
    app.add_option("--type", a.type, "the type's name, the table's lookup field")->type_name("NAME");
    app.add_option("--airframe", a.airframe, "the airframe")->type_name("TEXT");
    app.add_option("--engine", a.engine, "the engines")->type_name("TEXT");
    app.add_option("--reference", a.reference, "the row's reference text")->type_name("TEXT");
    for (size_t i = 0; i < kAirplaneFigureCount; ++i) {
        app.add_option(FigureOption(AirplaneFigureFields()[i]), a.figures[i], kFigureHelp[i].second)
            ->type_name(kFigureHelp[i].first)
            ->check(NumberCheck(false));
    }
    auto* out = app.add_option("--out", outPath, "write the type's row as airplane-table CSV")
                    ->type_name("ROW.csv");
    auto* into = app.add_option("--into", intoPath, "add or replace the type's row in an airplane table file")
                     ->type_name("Airplane.DB");
    out->excludes(into);
    into->excludes(out);
    app.add_option("--plot", plotPath, "draw the fit against the table as SVG")->type_name("FIT.svg");
    app.add_option("--max-error", maxErrorPercent, "largest residual accepted, % of the table's value (10)")
        ->type_name("PCT")
        ->check(NumberCheck(true));
    try {
        app.parse(argc - 1, argv + 1);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << kProgram << " fit: " << error.what() << '\n';
        return 2;
    }
    const bool writesRow = !outPath.empty() || !intoPath.empty();
    if (writesRow) {
        const std::string fault = CheckAirplane(a);
        if (!fault.empty()) {
            std::cerr << kProgram << " fit: " << fault << '\n';
            return 2;
        }
    }
    const std::vector<RunInput> inputs{{tablesPath, "the tables being fitted"}};
    try {
        for (const std::string* target : {&outPath, &intoPath, &plotPath}) {
            if (!target->empty())
                RefuseRunInput(*target, inputs);
        }
    } catch (const FileWriteError& error) {
        return Fail(std::string("cannot write: ") + error.what());
    }

    std::vector<ManualTableRow> rows;
    try {
        rows = ParseManualTablesCsv(ReadCsvFile(tablesPath));
    } catch (const ImportError& error) {
        return Fail(ImportError(error.line(), error.column(), error.reason(), tablesPath).what());
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    FuelFitOptions options;
    options.hasDow = a.figures[0].has_value(); // "DOW"
    options.dow = a.figures[0].value_or(0);
    FuelLineFit fit;
    try {
        fit = FitFuelLines(rows, options);
    } catch (const FitRefused& refusal) {
        return Fail("fit refused: " + std::string(refusal.what()));
    }
    std::cout << Report(tablesPath, fit, options.hasDow) << std::flush;

    // The plot shows also a fit refused for its error, where it misses.
    if (!plotPath.empty()) {
        const std::string title
            = a.type.empty() ? std::filesystem::path(tablesPath).filename().string() : a.type;
        try {
            WriteFileAtomically(plotPath, FuelFitSvg(rows, fit, title), inputs);
        } catch (const FileWriteError& error) {
            return Fail("cannot write \"" + plotPath + "\": " + error.what());
        }
    }
    try {
        CheckFitError(fit, maxErrorPercent / 100);
    } catch (const FitRefused& refusal) {
        return Fail("fit refused: " + std::string(refusal.what()));
    }
    if (!writesRow)
        return 0;
    try {
        const TableData record = AirplaneRecordTable(AirplaneRecord(a, fit, tablesPath));
        if (!outPath.empty()) {
            WriteFileAtomically(outPath, FormatTableCsv(record), inputs);
        } else {
            const bool replaced = AddOrReplaceAirplaneInFile(intoPath, record, inputs);
            std::cout << (replaced ? "Replaced " : "Added ") << a.type << " in " << intoPath << "\n";
        }
    } catch (const FileWriteError& error) {
        return Fail("cannot write \"" + (outPath.empty() ? intoPath : outPath) + "\": " + error.what());
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    return 0;
}
