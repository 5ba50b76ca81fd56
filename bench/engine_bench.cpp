// Cost of the engine's inner loop. Target: one Maximum Range pass (one trip
// fuel evaluation plus the limit tests, without the event yield) well under
// 10 ns. Target: a sweep of 10,000 Maximum Range missions with the fast
// search under 50 ms.
#include "engine/fast_search.h"
#include "engine/fuel_models.h"
#include "engine/solve.h"
#include "worked_data.h"

#include <benchmark/benchmark.h>

#include <vector>

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

// 10,000 missions of the worked airplane with a tank and a takeoff limit of
// a long-range type: 100 payloads from 0 to 7000 kg by 25 flight levels from
// 200 to 440 by 4 winds, ranges from about 1,000 to 9,000 NAM, each limit
// binding in part of them.
std::vector<TMissionData> SweepMissions()
{
    std::vector<TMissionData> missions;
    TMissionData md = BenchMission();
    md.TCAP = 40000;
    md.MATOW = 60000;
    md.MZFW = 40000;
    md.MALW = 60000;
    for (int payload = 0; payload < 100; ++payload) {
        for (int level = 0; level < 25; ++level) {
            for (int wind = 0; wind < 4; ++wind) {
                md.Payload = payload * 70.0;
                md.FlightLevel = 200 + level * 10.0;
                md.Wind = -60 + wind * 40.0;
                missions.push_back(md);
            }
        }
    }
    return missions;
}

void MaximumRangeSweep(benchmark::State& state, void (*solve)(TMissionData&, IMissionServices&))
{
    const std::vector<TMissionData> missions = SweepMissions();
    NoYield services;
    double passes = 0;
    for (TMissionData run : missions) {
        SolveMaximumRange(run, services);
        passes += run.StillAirDistance - 1;
    }
    for (auto _ : state) {
        for (const TMissionData& md : missions) {
            TMissionData run = md;
            solve(run, services);
            benchmark::DoNotOptimize(run.MaxRange);
        }
    }
    state.counters["missions"] = static_cast<double>(missions.size());
    state.counters["passes"] = passes;
}
BENCHMARK_CAPTURE(MaximumRangeSweep, Fast10000, SolveMaximumRangeFast)->Unit(benchmark::kMillisecond);
// For comparison: the same sweep one pass per nautical air mile.
BENCHMARK_CAPTURE(MaximumRangeSweep, PerPass10000, SolveMaximumRange)->Unit(benchmark::kMillisecond);

} // namespace
