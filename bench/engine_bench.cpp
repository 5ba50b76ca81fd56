// Cost of the engine's inner loop. Target: one Maximum Range pass (one trip
// fuel evaluation plus the limit tests, without the event yield) well under
// 10 ns.
#include "engine/fuel_models.h"
#include "engine/solve.h"

#include <benchmark/benchmark.h>

using namespace mirovax;

namespace {

TMissionData BenchMission()
{
    TMissionData md;
    md.aH1 = 0.1;
    md.bH1 = 500;
    md.aH2 = 0.08;
    md.bH2 = 400;
    md.MaxHold = 15000;
    md.aC1 = 5;
    md.bC1 = 100;
    md.aC2 = 4;
    md.bC2 = 50;
    md.MinCruise = 200;
    md.MaxCruise = 400;
    md.aC3 = 0.01;
    md.bC3 = 10;
    md.DOW = 14000;
    md.MZFW = 21000;
    md.Mach = 0.78;
    md.Payload = 5000;
    md.FlightLevel = 310;
    md.OAT = -46;
    md.MATOW = 1e9;
    md.MALW = 25000;
    md.AlternateElevation = 433;
    md.AlternateDistance = 100;
    md.HoldingTime = 45;
    md.HoldingAltitude = 1500;
    return md;
}

class NoYield : public IMissionServices {
public:
    void ReportLimit(const std::string&) override { }
    void YieldEvents() override { }
};

void BM_CalcTripFuel(benchmark::State& state)
{
    TMissionData md = BenchMission();
    double distance = 1;
    for (auto _ : state) {
        CalcTripFuel(md, distance, md.FlightLevel, 21000);
        benchmark::DoNotOptimize(md.TripFuel);
        distance += 1;
    }
}
BENCHMARK(BM_CalcTripFuel);

// A search of 10,000 passes: the tank is sized so that the 10,000th distance
// exceeds it.
void BM_MaximumRangeSearch10000(benchmark::State& state)
{
    TMissionData md = BenchMission();
    md.TCAP = 47400; // about 4.45 kg per NAM at FL310 plus the reserve
    NoYield services;
    TMissionData probe = md;
    SolveMaximumRange(probe, services);
    const double passes = probe.StillAirDistance - 1;
    for (auto _ : state) {
        TMissionData run = md;
        SolveMaximumRange(run, services);
        benchmark::DoNotOptimize(run.MaxRange);
    }
    state.counters["passes"] = passes;
    state.counters["ns_per_pass"] = benchmark::Counter(passes * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MaximumRangeSearch10000);

} // namespace
