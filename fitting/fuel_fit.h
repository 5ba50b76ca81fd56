#pragma once

#include "engine/mission_data.h"

#include <stdexcept>
#include <string>
#include <vector>

// Fitting an airplane type's straight fuel lines to the tables of its flight
// planning manual. The fitted lines are judged with the program's own fuel
// models (engine/fuel_models.h), so every residual is what a mission would
// see. No Qt, no files.
namespace mirovax {

enum class ManualRowKind { Trip, Holding, Alternate };

// The kind's name in a tables file: "trip", "holding", "alternate".
const char* ManualRowKindName(ManualRowKind kind);

// One tabulated value. Trip: fuel (kg) for a still-air distance (NAM), a
// flight level and a landing weight without contingency (kg). Holding: fuel
// flow (kg/h) for an altitude (ft) and a zero fuel weight (kg). Alternate:
// fuel (kg) for a distance (NM) and a weight (kg). Fields a kind does not use
// are 0.
struct ManualTableRow {
    ManualRowKind kind = ManualRowKind::Trip;
    double flightLevel = 0;
    double altitude = 0;
    double distance = 0;
    double weight = 0;
    double value = 0;
    long line = 0; // where the row stands in its file, for messages
};

struct FuelFitOptions {
    // The dry operating weight, when known; it fixes how the weight term's
    // offset is split (see FitFuelLines).
    bool hasDow = false;
    double dow = 0;
};

struct FitResidual {
    const ManualTableRow* row = nullptr; // into the rows handed to FitFuelLines
    double fitted = 0; // the program's figure with the fitted lines
    double error = 0; // fitted - table, kg (kg/h for holding)
    double relative = 0; // error / table
};

// Root mean square and largest residual of one kind of row.
struct FitSummary {
    int rows = 0;
    double rms = 0, rmsRelative = 0;
    const FitResidual* largest = nullptr; // largest relative residual
};

struct FuelLineFit {
    // The FuelLineFields() set; nothing else.
    TMissionData lines;
    std::vector<FitResidual> residuals; // one per row, in the rows' order
    FitSummary trip, holding, alternate;
};

// The fit could not be made or is not good enough; what() says why.
class FitRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Fits by least squares of the relative residuals, (fitted - table) / table,
// so that a short trip weighs as much as a long one:
// - MinCruise and MaxCruise: the lowest and highest flight level of the trip
//   rows; MaxHold: the holding altitude above 1500 ft;
// - aH1, bH1 and aH2, bH2: a straight line in weight through the holding
//   rows at 1500 ft and at MaxHold;
// - aC1, aC2, aC3 and the offsets: the trip rows (the distance fuel
//   interpolated between the MinCruise and MaxCruise lines as the program
//   does, so the levels between count too) and the alternate rows (the
//   MinCruise line) together, sharing the weight term aC3 x weight + bC3.
// bC3 enters every fuel only through the sums bC3 + bC1 and bC3 + bC2, so the
// table fixes those sums, not bC3 itself. The convention: with a dry
// operating weight, bC3 = -aC3 x DOW, so that the weight term is 0 at DOW
// and grows above it, as in the shipped table; without one, bC3 = 0.
// Refuses (FitRefused) too few rows to fix the lines, a single flight level,
// holding rows that are not at 1500 ft and one higher altitude, a table that
// does not fix a line (every row at one weight or one distance), a value
// that is not above 0, and a fitted fuel or flow below 0 anywhere over the
// tabulated ranges. The result refers to rows.
FuelLineFit FitFuelLines(const std::vector<ManualTableRow>& rows, const FuelFitOptions& options);

// The largest relative residual a fit may have unless the user sets another:
// 10 %.
constexpr double kDefaultMaxFitError = 0.10;

// The residual of the largest relative size; nullptr without rows.
const FitResidual* LargestResidual(const FuelLineFit& fit);

// Refuses (FitRefused) a fit whose largest relative residual,
// |fitted - table| / table, is above maxError, naming the row.
void CheckFitError(const FuelLineFit& fit, double maxError);

// The program's figure for a row with the given lines: trip fuel, holding
// flow (the holding fuel of 60 minutes) or alternate fuel. Throws
// FuelModelError where the lines give less than 0 kg.
double FittedValue(const TMissionData& lines, const ManualTableRow& row);

} // namespace mirovax
