#include "convert_number_check.h"
#include "setup_reader_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

using Check = std::function<std::string(const std::uint8_t*, std::size_t)>;

// Runs a fuzz target's check over its seed corpus and every input that once
// made it fail, under the ordinary (sanitized) test build.
int ReplayInputs(const std::string& target, const Check& check)
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
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), {});
            EXPECT_EQ(check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "")
                << entry.path();
            ++inputs;
        }
    }
    return inputs;
}

} // namespace

TEST(FuzzInputs, SetupReaderCorpusAndRegressionsPass)
{
    EXPECT_GE(ReplayInputs("setup_reader", mirovax::CheckSetupReader), 8);
}

TEST(FuzzInputs, ConvertNumberCorpusAndRegressionsPass)
{
    EXPECT_GE(ReplayInputs("convert_number", mirovax::CheckConvertNumber), 20);
}
