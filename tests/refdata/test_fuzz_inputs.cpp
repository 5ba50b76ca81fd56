#include "table_import_check.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mirovax {
namespace {

// The seed corpus and every input that once made the fuzz target fail, run
// through the same check under the ordinary (sanitized) test build.
TEST(FuzzInputs, TableImportCorpusAndRegressionsPass)
{
    int inputs = 0;
    for (const char* folder : {"fuzz/corpus/table_import", "fuzz/regressions/table_import"}) {
        const std::filesystem::path dir = std::filesystem::path(MIROVAX_SOURCE_DIR) / folder;
        ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().filename().string().front() == '.')
                continue;
            SCOPED_TRACE(entry.path().string());
            const std::string bytes = testing::ReadFile(entry.path().string());
            EXPECT_EQ(
                CheckTableImport(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "");
            ++inputs;
        }
    }
    EXPECT_GE(inputs, 8);
}

} // namespace
} // namespace mirovax
