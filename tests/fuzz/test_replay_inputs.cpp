#include "convert_number_check.h"
#include "forecast_grib_check.h"
#include "fuel_fit_check.h"
#include "plan_reader_check.h"
#include "setup_reader_check.h"
#include "table_import_check.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mirovax {
namespace {

using Check = std::string (*)(const std::uint8_t*, std::size_t);

// Runs a fuzz target's check over its seed corpus and every input that once
// made it fail, under the ordinary (sanitized) test build.
int ReplayInputs(const std::string& target, Check check)
{
    int inputs = 0;
    for (const std::string folder : {"fuzz/corpus/", "fuzz/regressions/"}) {
        const std::filesystem::path dir = std::filesystem::path(MIROVAX_SOURCE_DIR) / (folder + target);
        EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
        if (!std::filesystem::is_directory(dir))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().filename().string().front() == '.')
                continue;
            SCOPED_TRACE(entry.path().string());
            const std::string bytes = testing::ReadFile(entry.path());
            EXPECT_EQ(check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "");
            ++inputs;
        }
    }
    return inputs;
}

TEST(FuzzInputs, SetupReaderCorpusAndRegressionsPass)
{
    EXPECT_GE(ReplayInputs("setup_reader", CheckSetupReader), 8);
}

TEST(FuzzInputs, ConvertNumberCorpusAndRegressionsPass)
{
    EXPECT_GE(ReplayInputs("convert_number", CheckConvertNumber), 20);
}

TEST(FuzzInputs, TableImportCorpusAndRegressionsPass)
{
    EXPECT_GE(ReplayInputs("table_import", CheckTableImport), 8);
}

TEST(FuzzInputs, FuelFitCorpusAndRegressionsPass)
{
    EXPECT_GE(ReplayInputs("fuel_fit", CheckFuelFit), 7);
}

TEST(FuzzInputs, ForecastGribCorpusAndRegressionsPass)
{
    EXPECT_GE(ReplayInputs("forecast_grib", CheckForecastGrib), 10);
}

TEST(FuzzInputs, PlanReaderCorporaAndRegressionsPass)
{
    const struct {
        const char* target;
        Check check;
        int seeds;
    } targets[] = {
        {"plan_lnm",
            [](const std::uint8_t* d, std::size_t n) {
                return CheckPlanReader(PlanFormat::LittleNavmap, d, n);
            },
            2},
        {"plan_pln",
            [](const std::uint8_t* d, std::size_t n) {
                return CheckPlanReader(PlanFormat::FlightSimulator, d, n);
            },
            3},
        {"plan_fms",
            [](const std::uint8_t* d, std::size_t n) { return CheckPlanReader(PlanFormat::XPlane, d, n); },
            3},
        {"plan_fpl",
            [](const std::uint8_t* d, std::size_t n) { return CheckPlanReader(PlanFormat::Garmin, d, n); },
            1},
        {"plan_ofp",
            [](const std::uint8_t* d, std::size_t n) { return CheckPlanReader(PlanFormat::SimBrief, d, n); },
            2},
    };
    for (const auto& t : targets)
        EXPECT_GE(ReplayInputs(t.target, t.check), t.seeds) << t.target;
}

} // namespace
} // namespace mirovax
