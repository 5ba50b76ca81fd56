// One `mirovax-cli solve` call over 10,000 setup files, in-process through
// the same entry point as main(). Target: under 2 s per call.
// One `mirovax-cli sweep` of 10,000 Maximum Range points to CSV, opening the
// tables and reading the file included. Target: at most 5 us a point.
#include "apps/cli/cli_app.h"
#include "refdata/table_import.h"
#include "setup/setup_file.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kFileCount = 10000;

// Swallows the output, so that the terminal is not what gets measured.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// A table with the worked airplane and 10,000 setup files that differ in
// payload and trip distance, made once per process.
struct BatchFixture {
    fs::path dir;
    std::vector<std::string> files;

    BatchFixture()
    {
        std::string pattern = (fs::temp_directory_path() / "mirovax-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        dir = pattern;
        const std::string csv = "Type,Airframe,Engine,DOW,MTOW,MLAW,MZFW,TCAP,MaxAlt,Mach,aH1,bH1,aH2,bH2,"
                                "MaxHold,aC1,bC1,aC2,bC2,"
                                "MinCruise,MaxCruise,aC3,bC3,Reference\n"
                                "WORKED-1,Worked example,Example "
                                "engine,14000,30000,25000,21000,6000,41000,0.78,0.1,500,0.08,400,"
                                "15000,5,100,4,50,200,400,0.01,10,Benchmark data\n";
        mirovax::WriteTableFile(
            mirovax::ParseTableCsv(mirovax::TableKind::Airplanes, csv), (dir / "Airplane.DB").string());
        files.reserve(kFileCount);
        for (int i = 0; i < kFileCount; ++i) {
            // Trips up to 599 NM keep the takeoff fuel within the tank.
            const mirovax::SetupTexts texts = {"KSFO", "KBFI", std::to_string(300 + i % 300),
                std::to_string(3000 + i % 2000), "310", "-46", "20", "KSEA", "433", "100", "45", "1500", "5",
                "30000", "25000", "WORKED-1", "ICAO"};
            const fs::path file = dir / ("Setup" + std::to_string(i) + ".MRX");
            mirovax::SaveSetup(file, texts);
            files.push_back(file.string());
        }
    }
    ~BatchFixture()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

BatchFixture& Fixture()
{
    static BatchFixture fixture;
    return fixture;
}

// Runs the command line with args once an iteration, its output swallowed;
// items is what one call processes (files or points).
void RunEachIteration(benchmark::State& state, const std::vector<std::string>& args, int items)
{
    NullBuffer sink;
    std::ostream out(&sink);
    std::ostream err(&sink);
    mirovax::cli::CliEnvironment environment;
    for (auto _ : state) {
        const int status = mirovax::cli::RunCli(args, out, err, environment);
        if (status != 0)
            state.SkipWithError("a run did not solve");
    }
    state.SetItemsProcessed(state.iterations() * items);
    // Seconds an item, the whole call counted.
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(state.iterations()) * items,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SolveBatch(benchmark::State& state, const char* mode, bool json)
{
    BatchFixture& fixture = Fixture();
    std::vector<std::string> args = {"solve", "--tables", fixture.dir.string(), "--mode", mode};
    if (json)
        args.push_back("--json");
    args.insert(args.end(), fixture.files.begin(), fixture.files.end());
    RunEachIteration(state, args, kFileCount);
}

void BM_SolveTenThousandTripJson(benchmark::State& state)
{
    SolveBatch(state, "Trip Time and Fuel", true);
}
void BM_SolveTenThousandTripPlain(benchmark::State& state)
{
    SolveBatch(state, "Trip Time and Fuel", false);
}
// About 700 passes of the range search per file.
void BM_SolveTenThousandRangeJson(benchmark::State& state)
{
    SolveBatch(state, "Maximum Range", true);
}

// 100 payloads by 100 winds; the airplane is loaded once for all.
void BM_SweepTenThousandRangeCsv(benchmark::State& state)
{
    BatchFixture& fixture = Fixture();
    const std::vector<std::string> args = {"sweep", fixture.files.front(), "--tables", fixture.dir.string(),
        "--mode", "Maximum Range", "--vary", "payload=0:6930:70", "--vary", "wind=-50:49:1", "--csv"};
    RunEachIteration(state, args, 100 * 100);
}

} // namespace

BENCHMARK(BM_SolveTenThousandTripJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveTenThousandTripPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveTenThousandRangeJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepTenThousandRangeCsv)->Unit(benchmark::kMillisecond);
