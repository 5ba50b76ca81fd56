#include "fitting/fuel_fit.h"

#include "engine/checked_math.h"
#include "engine/fuel_models.h"
#include "engine/text_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <set>

namespace mirovax {

namespace {

constexpr double kLowHoldingAltitude = 1500.0; // ft, where the first holding line lies

// A least-squares problem: rows of the design matrix and their right sides.
struct LinearSystem {
    std::vector<std::vector<double>> a;
    std::vector<double> b;
};

// Solves min |A x - b| by Householder reflections on the columns scaled to
// unit length, which keeps weights of 1e5 kg beside distances of 1e3 NAM
// well conditioned. Returns false where a column is (nearly) a combination
// of the others, so the rows do not fix the unknowns.
bool SolveLeastSquares(LinearSystem system, std::vector<double>& x)
{
    std::vector<std::vector<double>>& a = system.a;
    std::vector<double>& b = system.b;
    const size_t m = a.size();
    const size_t n = m == 0 ? 0 : a[0].size();
    if (m < n || n == 0)
        return false;
    std::vector<double> scale(n, 0.0);
    for (size_t j = 0; j < n; ++j) {
        double sum = 0;
        for (size_t i = 0; i < m; ++i)
            sum += a[i][j] * a[i][j];
        scale[j] = std::sqrt(sum);
        if (!(scale[j] > 0) || !std::isfinite(scale[j]))
            return false;
        for (size_t i = 0; i < m; ++i)
            a[i][j] /= scale[j];
    }
    for (size_t k = 0; k < n; ++k) {
        double norm = 0;
        for (size_t i = k; i < m; ++i)
            norm += a[i][k] * a[i][k];
        norm = std::sqrt(norm);
        // The columns have unit length: a remainder this small means column
        // k adds nothing the earlier ones do not already give.
        if (norm < 1e-10)
            return false;
        const double alpha = a[k][k] > 0 ? -norm : norm;
        std::vector<double> v(m, 0.0);
        for (size_t i = k; i < m; ++i)
            v[i] = a[i][k];
        v[k] -= alpha;
        double vv = 0;
        for (size_t i = k; i < m; ++i)
            vv += v[i] * v[i];
        for (size_t j = k; j < n; ++j) {
            double dot = 0;
            for (size_t i = k; i < m; ++i)
                dot += v[i] * a[i][j];
            const double f = 2 * dot / vv;
            for (size_t i = k; i < m; ++i)
                a[i][j] -= f * v[i];
        }
        double dot = 0;
        for (size_t i = k; i < m; ++i)
            dot += v[i] * b[i];
        const double f = 2 * dot / vv;
        for (size_t i = k; i < m; ++i)
            b[i] -= f * v[i];
    }
    x.assign(n, 0.0);
    for (size_t k = n; k-- > 0;) {
        double sum = b[k];
        for (size_t j = k + 1; j < n; ++j)
            sum -= a[k][j] * x[j];
        x[k] = sum / a[k][k];
    }
    for (size_t j = 0; j < n; ++j) {
        x[j] /= scale[j];
        if (!std::isfinite(x[j]))
            return false;
    }
    return true;
}

// Divides each row by its right side, so that the fit minimises the sum of
// squared relative residuals: a short trip counts as much as a long one, as
// the relative threshold judges them. Every value is above 0.
void WeightByValue(LinearSystem& system)
{
    for (size_t i = 0; i < system.b.size(); ++i) {
        for (double& a : system.a[i])
            a /= system.b[i];
        system.b[i] = 1.0;
    }
}

std::string Number(double value)
{
    return FormatGeneral(value);
}

std::string Percent(double fraction)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %%", 100 * fraction);
    return text;
}

// Where a row lies: "FL 250, 500 NAM, 60000 kg".
std::string DescribePoint(const ManualTableRow& row)
{
    std::string text;
    switch (row.kind) {
    case ManualRowKind::Trip:
        text = "FL " + Number(row.flightLevel) + ", " + Number(row.distance) + " NAM";
        break;
    case ManualRowKind::Holding:
        text = Number(row.altitude) + " ft";
        break;
    case ManualRowKind::Alternate:
        text = Number(row.distance) + " NM";
        break;
    }
    return text + ", " + Number(row.weight) + " kg";
}

// "line 17 (trip, FL 250, 500 NAM, 60000 kg)".
std::string DescribeRow(const ManualTableRow& row)
{
    return "line " + std::to_string(row.line) + " (" + ManualRowKindName(row.kind) + ", " + DescribePoint(row)
        + ")";
}

struct Range {
    double low = std::numeric_limits<double>::infinity(), high = -std::numeric_limits<double>::infinity();
    void Take(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

void CheckRowValues(const std::vector<ManualTableRow>& rows)
{
    for (const ManualTableRow& row : rows) {
        for (const double v : {row.flightLevel, row.altitude, row.distance, row.weight, row.value}) {
            if (!std::isfinite(v))
                throw FitRefused(DescribeRow(row) + ": a figure is not a finite number");
        }
        if (!(row.value > 0))
            throw FitRefused(DescribeRow(row) + ": the value must be above 0");
        if (row.weight < 0 || row.distance < 0)
            throw FitRefused(DescribeRow(row) + ": weights and distances cannot be below 0");
    }
}

// The holding lines: one straight line in weight at each of the two
// altitudes.
void FitHolding(const std::vector<ManualTableRow>& rows, TMissionData& lines)
{
    std::map<double, std::vector<const ManualTableRow*>> byAltitude;
    for (const ManualTableRow& row : rows) {
        if (row.kind == ManualRowKind::Holding)
            byAltitude[row.altitude].push_back(&row);
    }
    if (byAltitude.empty())
        throw FitRefused("the table has no holding rows; the holding lines need rows at 1500 ft and at one "
                         "higher altitude");
    std::string found;
    for (const auto& [altitude, group] : byAltitude)
        found += (found.empty() ? "" : ", ") + Number(altitude) + " ft";
    if (byAltitude.size() != 2 || byAltitude.begin()->first != kLowHoldingAltitude)
        throw FitRefused(
            "the holding rows must lie at 1500 ft and at one higher altitude; they lie at " + found);
    bool first = true;
    for (const auto& [altitude, group] : byAltitude) {
        std::set<double> weights;
        LinearSystem system;
        for (const ManualTableRow* row : group) {
            weights.insert(row->weight);
            system.a.push_back({row->weight, 1.0});
            system.b.push_back(row->value);
        }
        WeightByValue(system);
        if (weights.size() < 2)
            throw FitRefused("too few holding rows at " + Number(altitude)
                + " ft: a line needs rows at two or " + "more weights, the table has "
                + std::to_string(group.size()) + " at " + std::to_string(weights.size()) + " weight");
        std::vector<double> x;
        if (!SolveLeastSquares(system, x))
            throw FitRefused("the holding rows at " + Number(altitude) + " ft do not fix a line");
        (first ? lines.aH1 : lines.aH2) = x[0];
        (first ? lines.bH1 : lines.bH2) = x[1];
        if (!first)
            lines.MaxHold = altitude;
        first = false;
    }
}

// The cruise lines and the weight term from the trip and alternate rows.
// Unknowns: aC3, aC1, aC2, bC3 + bC1, bC3 + bC2.
void FitCruise(const std::vector<ManualTableRow>& rows, const FuelFitOptions& options, TMissionData& lines)
{
    std::set<double> levels, weights;
    int count = 0;
    for (const ManualTableRow& row : rows) {
        if (row.kind == ManualRowKind::Trip)
            levels.insert(row.flightLevel);
        if (row.kind != ManualRowKind::Holding) {
            weights.insert(row.weight);
            ++count;
        }
    }
    if (levels.empty())
        throw FitRefused(
            "the table has no trip rows; the cruise lines need rows at two or more flight levels");
    if (levels.size() < 2)
        throw FitRefused("the trip rows all lie at FL " + Number(*levels.begin())
            + "; the cruise lines need rows at two or more flight levels");
    if (count < 5)
        throw FitRefused("too few trip and alternate rows (" + std::to_string(count)
            + "): the two cruise lines and the weight term need at least 5");
    if (weights.size() < 2)
        throw FitRefused("the trip and alternate rows all lie at " + Number(*weights.begin())
            + " kg; the weight term needs rows at two or more weights");
    lines.MinCruise = *levels.begin();
    lines.MaxCruise = *levels.rbegin();

    LinearSystem system;
    for (const ManualTableRow& row : rows) {
        if (row.kind == ManualRowKind::Holding)
            continue;
        if (row.kind == ManualRowKind::Alternate) {
            system.a.push_back({row.weight, row.distance, 0.0, 1.0, 0.0});
        } else {
            // The program's own interpolation between the two lines.
            const double r = CruiseLineRatio(lines, row.flightLevel);
            system.a.push_back({row.weight, (1 - r) * row.distance, r * row.distance, 1 - r, r});
        }
        system.b.push_back(row.value);
    }
    WeightByValue(system);
    std::vector<double> x;
    if (!SolveLeastSquares(system, x))
        throw FitRefused("the trip and alternate rows do not fix the cruise lines and the weight term: the "
                         "lowest and highest flight levels each need rows at two or more distances, and the "
                         "rows two or more weights at one level and distance");
    lines.aC3 = x[0];
    lines.aC1 = x[1];
    lines.aC2 = x[2];
    lines.bC3 = options.hasDow ? -(x[0] * options.dow) : 0.0;
    lines.bC1 = x[3] - lines.bC3;
    lines.bC2 = x[4] - lines.bC3;
}

// The lines give no fuel below 0 kg anywhere over the tabulated ranges. Each
// model is linear in weight and distance and, between the two lines, in the
// interpolation ratio, so its smallest value over a box lies at a corner.
void CheckNotBelowZero(const std::vector<ManualTableRow>& rows, const TMissionData& lines)
{
    std::map<ManualRowKind, Range> distance, weight;
    std::map<double, Range> holdingWeight;
    std::set<double> levels;
    for (const ManualTableRow& row : rows) {
        distance[row.kind].Take(row.distance);
        weight[row.kind].Take(row.weight);
        if (row.kind == ManualRowKind::Holding)
            holdingWeight[row.altitude].Take(row.weight);
        if (row.kind == ManualRowKind::Trip)
            levels.insert(row.flightLevel);
    }
    std::vector<ManualTableRow> corners;
    for (const auto& [altitude, w] : holdingWeight) {
        for (const double wt : {w.low, w.high})
            corners.push_back({ManualRowKind::Holding, 0, altitude, 0, wt, 1, 0});
    }
    for (const ManualRowKind kind : {ManualRowKind::Trip, ManualRowKind::Alternate}) {
        if (!distance.contains(kind))
            continue;
        const std::set<double> cornerLevels
            = kind == ManualRowKind::Trip ? levels : std::set<double>{lines.MinCruise};
        for (const double level : cornerLevels) {
            for (const double d : {distance[kind].low, distance[kind].high}) {
                for (const double wt : {weight[kind].low, weight[kind].high})
                    corners.push_back({kind, level, 0, d, wt, 1, 0});
            }
        }
    }
    for (const ManualTableRow& corner : corners) {
        try {
            FittedValue(lines, corner);
        } catch (const FuelModelError&) {
            throw FitRefused(std::string("the fitted ") + ManualRowKindName(corner.kind)
                + (corner.kind == ManualRowKind::Holding ? " flow" : " fuel")
                + " is below 0 within the tabulated ranges, at " + DescribePoint(corner));
        }
    }
}

FitSummary Summarise(const std::vector<FitResidual>& residuals, ManualRowKind kind)
{
    FitSummary summary;
    double squares = 0, relativeSquares = 0;
    for (const FitResidual& residual : residuals) {
        if (residual.row->kind != kind)
            continue;
        ++summary.rows;
        squares += residual.error * residual.error;
        relativeSquares += residual.relative * residual.relative;
        if (!summary.largest || std::fabs(residual.relative) > std::fabs(summary.largest->relative))
            summary.largest = &residual;
    }
    if (summary.rows > 0) {
        summary.rms = std::sqrt(squares / summary.rows);
        summary.rmsRelative = std::sqrt(relativeSquares / summary.rows);
    }
    return summary;
}

} // namespace

const char* ManualRowKindName(ManualRowKind kind)
{
    switch (kind) {
    case ManualRowKind::Holding:
        return "holding";
    case ManualRowKind::Alternate:
        return "alternate";
    case ManualRowKind::Trip:
        break;
    }
    return "trip";
}

double FittedValue(const TMissionData& lines, const ManualTableRow& row)
{
    TMissionData md = lines;
    switch (row.kind) {
    case ManualRowKind::Holding:
        CalcHoldingFuel(md, row.weight, row.altitude, 60.0);
        return md.HoldingFuel;
    case ManualRowKind::Alternate:
        CalcAlternateFuel(md, row.weight, row.distance);
        return md.AlternateFuel;
    case ManualRowKind::Trip:
        break;
    }
    CalcTripFuel(md, row.distance, row.flightLevel, row.weight);
    return md.TripFuel;
}

FuelLineFit FitFuelLines(const std::vector<ManualTableRow>& rows, const FuelFitOptions& options)
{
    CheckRowValues(rows);
    if (options.hasDow && !(std::isfinite(options.dow) && options.dow >= 0))
        throw FitRefused("the dry operating weight must be a number not below 0");
    FuelLineFit fit;
    try {
        FitCruise(rows, options, fit.lines);
        FitHolding(rows, fit.lines);
        CheckNotBelowZero(rows, fit.lines);
        for (const ManualTableRow& row : rows) {
            const double fitted = FittedValue(fit.lines, row);
            const double error = fp::sub(fitted, row.value);
            fit.residuals.push_back({&row, fitted, error, fp::div(error, row.value)});
        }
    } catch (const ArithmeticError& error) {
        throw FitRefused(std::string("the fitted lines cannot be computed (") + error.what()
            + "); check the magnitudes in the table");
    } catch (const FuelModelError&) {
        // A tabulated row lies inside the ranges checked above.
        throw FitRefused("the fitted fuel is below 0 for a tabulated row");
    }
    fit.trip = Summarise(fit.residuals, ManualRowKind::Trip);
    fit.holding = Summarise(fit.residuals, ManualRowKind::Holding);
    fit.alternate = Summarise(fit.residuals, ManualRowKind::Alternate);
    return fit;
}

const FitResidual* LargestResidual(const FuelLineFit& fit)
{
    const FitResidual* largest = nullptr;
    for (const FitResidual& residual : fit.residuals) {
        if (!largest || std::fabs(residual.relative) > std::fabs(largest->relative))
            largest = &residual;
    }
    return largest;
}

void CheckFitError(const FuelLineFit& fit, double maxError)
{
    const FitResidual* worst = LargestResidual(fit);
    if (worst && std::fabs(worst->relative) > maxError)
        throw FitRefused("the residual at " + DescribeRow(*worst->row) + " is " + Percent(worst->relative)
            + ", beyond the " + Number(100 * maxError) + " % accepted (--max-error)");
}

} // namespace mirovax
