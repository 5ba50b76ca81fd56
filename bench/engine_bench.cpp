// Cost of the engine's inner loop. Target: one Maximum Range pass (one trip
// fuel evaluation plus the limit tests, without the event yield) well under
// 10 ns.
#include "engine/fuel_models.h"
#include "engine/solve.h"
#include "worked_data.h"

#include <benchmark/benchmark.h>

using namespace mirovax;

namespace {

// The worked example without wind and with a takeoff limit that never binds,
// so that only the tank ends the search.
TMissionData BenchMission()
{
    TMissionData md = test::WorkedMission();
    md.Wind = 0;
    md.MATOW = 1e9;
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
