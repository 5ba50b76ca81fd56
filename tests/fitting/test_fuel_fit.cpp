#include "engine/fuel_models.h"
#include "fitting/fuel_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace mirovax;

namespace {

constexpr double kDow = 42000;

// Lines unlike the shipped ones in every coefficient: two different holding
// lines, cruise lines that cross, a weight term zero at DOW.
TMissionData KnownLines()
{
    TMissionData md;
    md.MinCruise = 250;
    md.MaxCruise = 390;
    md.MaxHold = 20000;
    md.aH1 = 0.031;
    md.bH1 = 410;
    md.aH2 = 0.027;
    md.bH2 = 365;
    md.aC1 = 6.4;
    md.bC1 = 160;
    md.aC2 = 5.1;
    md.bC2 = 250;
    md.aC3 = 0.015;
    md.bC3 = -0.015 * kDow;
    return md;
}

// A manual's tables made with the program's own models from the given lines:
// five levels (three between the lines' ends), distances, weights, holding at
// 1500 ft and MaxHold, alternates. noise(i) is added to the i-th value. A
// row the lines give no fuel for is left out.
std::vector<ManualTableRow> MakeTable(const TMissionData& lines, const std::function<double(int)>& noise)
{
    std::vector<ManualTableRow> rows;
    auto add = [&](ManualTableRow row) {
        row.line = static_cast<long>(rows.size()) + 2;
        try {
            row.value = FittedValue(lines, row) + noise(static_cast<int>(rows.size()));
        } catch (const FuelModelError&) {
            return;
        }
        rows.push_back(row);
    };
    for (const double level : {250.0, 290.0, 330.0, 350.0, 390.0}) {
        for (const double distance : {100.0, 400.0, 1200.0, 2500.0}) {
            for (const double weight : {46000.0, 55000.0, 64000.0})
                add({ManualRowKind::Trip, level, 0, distance, weight, 0, 0});
        }
    }
    for (const double altitude : {1500.0, 20000.0}) {
        for (const double weight : {44000.0, 52000.0, 60000.0})
            add({ManualRowKind::Holding, 0, altitude, 0, weight, 0, 0});
    }
    for (const double distance : {50.0, 150.0, 300.0}) {
        for (const double weight : {45000.0, 58000.0})
            add({ManualRowKind::Alternate, 0, 0, distance, weight, 0, 0});
    }
    return rows;
}

double RelativeSumOfSquares(
    const TMissionData& lines, const std::vector<ManualTableRow>& rows, ManualRowKind kind)
{
    double sum = 0;
    for (const ManualTableRow& row : rows) {
        if (row.kind == kind) {
            const double e = (FittedValue(lines, row) - row.value) / row.value;
            sum += e * e;
        }
    }
    return sum;
}

bool IsTrip(const ManualTableRow& r)
{
    return r.kind == ManualRowKind::Trip;
}

bool IsHolding(const ManualTableRow& r)
{
    return r.kind == ManualRowKind::Holding;
}

} // namespace

// A table made exactly from known lines is fitted back to them. The offsets
// enter every fuel only as bC3 + bC1 and bC3 + bC2: with a dry operating
// weight bC3 = -aC3 x DOW, without one bC3 = 0 and the sums carry the rest.
TEST(FuelFit, AnExactTableGivesBackItsLines)
{
    const TMissionData known = KnownLines();
    const std::vector<ManualTableRow> rows = MakeTable(known, [](int) { return 0.0; });
    for (const bool withDow : {true, false}) {
        SCOPED_TRACE(withDow ? "with DOW" : "without DOW");
        const FuelLineFit fit = FitFuelLines(rows, {withDow, kDow});
        TMissionData expected = known;
        if (!withDow) {
            expected.bC1 += known.bC3;
            expected.bC2 += known.bC3;
            expected.bC3 = 0;
        }
        for (const NumericField& field : FuelLineFields()) {
            const double want = expected.*field.member, got = fit.lines.*field.member;
            EXPECT_NEAR(got, want, 1e-9 * std::fabs(want)) << field.name;
        }
        ASSERT_EQ(fit.residuals.size(), rows.size());
        for (const FitResidual& r : fit.residuals)
            EXPECT_LE(std::fabs(r.relative), 1e-9) << "line " << r.row->line;
        EXPECT_EQ(fit.trip.rows, 60);
        EXPECT_EQ(fit.holding.rows, 6);
        EXPECT_EQ(fit.alternate.rows, 6);
        EXPECT_NO_THROW(CheckFitError(fit, 1e-9));
    }
}

// With noise the fit is the least-squares one: no coefficient can be moved
// either way without raising the sum of squared relative residuals of its
// rows, and the summaries describe the residuals.
TEST(FuelFit, ANoisyTableGivesTheLeastSquaresLines)
{
    const std::vector<ManualTableRow> rows
        = MakeTable(KnownLines(), [](int i) { return 40.0 * std::sin(1.7 * i) + ((i % 5) - 2) * 3.0; });
    const FuelLineFit fit = FitFuelLines(rows, {true, kDow});
    struct Probe {
        double TMissionData::*member;
        ManualRowKind kind;
        double step;
    };
    const Probe probes[] = {{&TMissionData::aH1, ManualRowKind::Holding, 1e-4},
        {&TMissionData::bH1, ManualRowKind::Holding, 1.0}, {&TMissionData::aH2, ManualRowKind::Holding, 1e-4},
        {&TMissionData::bH2, ManualRowKind::Holding, 1.0}, {&TMissionData::aC1, ManualRowKind::Trip, 1e-3},
        {&TMissionData::bC1, ManualRowKind::Trip, 0.5}, {&TMissionData::aC2, ManualRowKind::Trip, 1e-3},
        {&TMissionData::bC2, ManualRowKind::Trip, 0.5}, {&TMissionData::aC3, ManualRowKind::Trip, 1e-5}};
    for (const Probe& probe : probes) {
        // Trip and alternate rows are fitted together.
        auto cost = [&](const TMissionData& lines) {
            double sum = RelativeSumOfSquares(lines, rows, probe.kind);
            if (probe.kind == ManualRowKind::Trip)
                sum += RelativeSumOfSquares(lines, rows, ManualRowKind::Alternate);
            return sum;
        };
        const double best = cost(fit.lines);
        for (const double sign : {-1.0, 1.0}) {
            TMissionData moved = fit.lines;
            moved.*probe.member += sign * probe.step;
            EXPECT_GT(cost(moved), best)
                << "moving coefficient " << &probe - probes << " by " << sign * probe.step;
        }
    }
    double squares = 0, largest = 0;
    for (const FitResidual& r : fit.residuals) {
        EXPECT_EQ(r.error, r.fitted - r.row->value);
        largest = std::max(largest, std::fabs(r.relative));
        if (r.row->kind == ManualRowKind::Trip)
            squares += r.error * r.error;
    }
    EXPECT_NEAR(fit.trip.rms, std::sqrt(squares / 60), 1e-9);
    EXPECT_LE(std::fabs(fit.trip.largest->relative), largest);
    EXPECT_GT(fit.trip.rms, 1.0);
    EXPECT_THROW(CheckFitError(fit, 0.5 * largest), FitRefused);
    EXPECT_NO_THROW(CheckFitError(fit, largest));
}

// Tables the fit must refuse, each with the reason that names the fault.
TEST(FuelFit, RefusesTablesThatDoNotFixSoundLines)
{
    const TMissionData known = KnownLines();
    const std::vector<ManualTableRow> good = MakeTable(known, [](int) { return 0.0; });
    using Edit = std::function<void(std::vector<ManualTableRow>&)>;
    auto dropIf = [](const std::function<bool(const ManualTableRow&)>& drop) {
        return [drop](std::vector<ManualTableRow>& rows) { std::erase_if(rows, drop); };
    };
    const struct {
        const char* name;
        Edit edit;
        const char* reason;
    } cases[] = {
        {"no trip rows", dropIf(IsTrip), "no trip rows"},
        {"one flight level",
            dropIf([&](const ManualTableRow& r) { return IsTrip(r) && r.flightLevel != 330; }),
            "all lie at FL 330"},
        {"too few rows", dropIf([&](const ManualTableRow& r) {
             return r.kind == ManualRowKind::Alternate
                 || (IsTrip(r) && (r.distance > 400 || r.weight > 46000))
                 || (IsTrip(r) && r.flightLevel > 290);
         }),
            "too few trip and alternate rows (4)"},
        {"one weight", dropIf([](const ManualTableRow& r) { return !IsHolding(r) && r.weight != 46000; }),
            "all lie at 46000 kg"},
        {"one distance per level",
            dropIf([](const ManualTableRow& r) { return !IsHolding(r) && r.distance != 400; }),
            "do not fix the cruise lines"},
        {"no holding rows", dropIf(IsHolding), "no holding rows"},
        {"one holding altitude",
            dropIf([&](const ManualTableRow& r) { return IsHolding(r) && r.altitude > 1500; }),
            "they lie at 1500 ft"},
        {"holding not at 1500 ft",
            [](std::vector<ManualTableRow>& rows) {
                for (ManualTableRow& r : rows)
                    r.altitude = r.altitude == 1500 ? 5000 : r.altitude;
            },
            "they lie at 5000 ft, 20000 ft"},
        {"holding at one weight", dropIf([](const ManualTableRow& r) {
             return r.kind == ManualRowKind::Holding && r.altitude == 1500 && r.weight > 44000;
         }),
            "too few holding rows at 1500 ft"},
        {"a value of 0", [](std::vector<ManualTableRow>& rows) { rows[7].value = 0; },
            "line 9 (trip, FL 250, 1200 NAM, "},
        {"a value that is not finite", [](std::vector<ManualTableRow>& rows) { rows[3].weight = NAN; },
            "not a finite number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ManualTableRow> rows = good;
        c.edit(rows);
        try {
            FitFuelLines(rows, {true, kDow});
            ADD_FAILURE() << "not refused";
        } catch (const FitRefused& refusal) {
            EXPECT_NE(std::string(refusal.what()).find(c.reason), std::string::npos) << refusal.what();
        }
    }

    // Lines that fit every tabulated row but fall below 0 at a corner of the
    // tabulated ranges no row lies at: light and short.
    TMissionData steep = known;
    steep.aC3 = 0.2;
    steep.bC3 = -0.2 * 56000;
    const std::vector<ManualTableRow> rows = MakeTable(steep, [](int) { return 0.0; });
    ASSERT_LT(rows.size(), good.size());
    try {
        FitFuelLines(rows, {false, 0});
        ADD_FAILURE() << "not refused";
    } catch (const FitRefused& refusal) {
        EXPECT_NE(std::string(refusal.what())
                      .find("below 0 within the tabulated ranges, at FL 250, 100 NAM, 46000 kg"),
            std::string::npos)
            << refusal.what();
    }
}
