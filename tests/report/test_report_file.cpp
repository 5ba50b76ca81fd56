#include "report/report_file.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using mirovax::testing::ReadFile;
using mirovax::testing::ScratchDir;

namespace mirovax {
namespace {

namespace fs = std::filesystem;

TEST(CompleteReportFileName, AddsTheTypesExtensionOnlyWithoutOne)
{
    struct Case {
        const char* name;
        int type;
        const char* expected;
    };
    const Case cases[] = {
        {"report", 1, "report.rtf"},
        {"report", 2, "report.txt"},
        {"report.doc", 1, "report.doc"},
        {"report.doc", 2, "report.doc"},
        {"REPORT.RTF", 2, "REPORT.RTF"},
        {"/home/pilot/trips.2026/report", 2, "/home/pilot/trips.2026/report.txt"},
        {"C:\\trips.2026\\report", 1, "C:\\trips.2026\\report.rtf"},
        {"A:report", 1, "A:report.rtf"},
        {"report.", 1, "report."},
        {"/home/pilot/.report", 2, "/home/pilot/.report"},
        {"report", 3, "report"},
        {"report", 0, "report"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CompleteReportFileName(c.name, c.type), c.expected) << "type " << c.type;
    }
}

class SaveReportFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        // A test may leave the directory read-only.
        std::error_code ignored;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ignored);
    }

    ScratchDir m_scratch{"mirovax-report"};
    const fs::path m_dir = m_scratch.path();
};

TEST_F(SaveReportFileTest, CreatesAndReplacesWithExactContent)
{
    const fs::path target = m_dir / "report.txt";
    const std::string first = "{\\rtf1 first\r\n}\r\n";
    SaveReportFile(target.string(), first);
    EXPECT_EQ(ReadFile(target), first);

    const std::string second(100000, 'x');
    SaveReportFile(target.string(), second);
    EXPECT_EQ(ReadFile(target), second);
    EXPECT_EQ(m_scratch.Listing(), std::vector<std::string>{"report.txt"});
}

TEST_F(SaveReportFileTest, UnwritablePlacesThrowNamingTheFile)
{
    const fs::path inMissingDir = m_dir / "no such dir" / "report.rtf";
    try {
        SaveReportFile(inMissingDir.string(), "x");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(inMissingDir.string()), std::string::npos) << e.what();
    }
    fs::create_directory(m_dir / "folder.rtf");
    EXPECT_THROW(SaveReportFile((m_dir / "folder.rtf").string(), "x"), std::runtime_error);
    EXPECT_TRUE(fs::is_directory(m_dir / "folder.rtf"));
    EXPECT_THROW(SaveReportFile("", "x"), std::runtime_error);
    EXPECT_EQ(m_scratch.Listing(), std::vector<std::string>{"folder.rtf"});
}

} // namespace
} // namespace mirovax
