// Lookups in the shipped airport table, as the distance buttons make them.
#include "refdata/airports.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string ShippedTable(const char* name)
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// Codes spread over the table, so that the lookups do not all hit one page.
const std::vector<std::string> kHits
    = {"KSFO", "KBFI", "KSEA", "EDDF", "YSSY", "RJTT", "SBGR", "FAOR", "ZBAA", "LFPG"};
const std::vector<std::string> kMisses = {"QQQQ", "KSF", "KSFOX", "", "ZZZZ", "AAAA", "EDD1", "kbfj"};

void LocateHits(benchmark::State& state)
{
    mirovax::TTable table;
    table.Open(ShippedTable("Airports.DB"));
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Locate("ICAO", kHits[i]));
        i = (i + 1) % kHits.size();
    }
}
BENCHMARK(LocateHits);

void LocateLowerCaseHits(benchmark::State& state)
{
    mirovax::TTable table;
    table.Open(ShippedTable("Airports.DB"));
    for (auto _ : state)
        benchmark::DoNotOptimize(table.Locate("ICAO", "ksea"));
}
BENCHMARK(LocateLowerCaseHits);

void LocateMisses(benchmark::State& state)
{
    mirovax::TTable table;
    table.Open(ShippedTable("Airports.DB"));
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Locate("ICAO", kMisses[i]));
        i = (i + 1) % kMisses.size();
    }
}
BENCHMARK(LocateMisses);

// The whole Calculate button: two lookups, two positions, one distance.
void CalculateButton(benchmark::State& state)
{
    mirovax::TTable table;
    table.Open(ShippedTable("Airports.DB"));
    for (auto _ : state)
        benchmark::DoNotOptimize(mirovax::CalculateDistance(table, "KSFO", "KBFI"));
}
BENCHMARK(CalculateButton);

} // namespace
