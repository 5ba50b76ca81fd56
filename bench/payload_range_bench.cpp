// The payload-range diagram of the shipped long-range type with the window's
// default entries, as the diagram window and the command line compute it.
#include "engine/payload_range.h"
#include "refdata/airplane.h"
#include "refdata/table_store.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

mirovax::TMissionData DefaultMission(const std::string& type)
{
    mirovax::TTable table;
    table.Open((std::filesystem::read_symlink("/proc/self/exe").parent_path() / "Airplane.DB").string());
    mirovax::TMissionData md;
    mirovax::LoadAirplane(table, type, md);
    md.TripDistance = 594; // NM
    md.Payload = 12000; // kg
    md.FlightLevel = 310;
    md.OAT = -46; // deg C
    md.Wind = 0; // kts
    md.MATOW = md.MTOW;
    md.MALW = md.MLAW;
    md.AlternateElevation = 433; // ft
    md.AlternateDistance = 5; // NM
    md.HoldingTime = 45; // min
    md.HoldingAltitude = 1500; // ft
    md.ContingencyPercent = 0;
    return md;
}

// Target: 200 points under 1 ms.
void PayloadRange200(benchmark::State& state, const char* type)
{
    const mirovax::TMissionData md = DefaultMission(type);
    state.SetLabel(type);
    try {
        for (auto _ : state)
            benchmark::DoNotOptimize(mirovax::ComputePayloadRange(md, 200));
    } catch (const mirovax::DiagramError& e) {
        // Data whose fuel lines fall below 0 kg somewhere in the envelope.
        state.SkipWithError(e.what());
    }
}
BENCHMARK_CAPTURE(PayloadRange200, A330_200, "A330-200")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PayloadRange200, A330_300, "A330-300")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PayloadRange200, A320_214, "A320-214")->Unit(benchmark::kMillisecond);

} // namespace
