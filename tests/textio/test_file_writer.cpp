#include "textio/file_writer.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using mirovax::testing::ReadFile;
using mirovax::testing::ScratchDir;
using mirovax::testing::WriteFile;

namespace mirovax {
namespace {

namespace fs = std::filesystem;

class FileWriterTest : public ::testing::Test {
protected:
    // The reason a write was refused, or "" when it succeeded.
    static std::string Refusal(const fs::path& target, const std::vector<RunInput>& inputs = {})
    {
        try {
            WriteFileAtomically(target, "new", inputs);
        } catch (const FileWriteError& e) {
            return e.what();
        }
        return "";
    }

    ScratchDir m_scratch{"mirovax-writer"};
    const fs::path m_dir = m_scratch.path();
};

TEST_F(FileWriterTest, CreatesAndReplacesKeepingPermissions)
{
    const mode_t mask = ::umask(022);
    WriteFileAtomically(m_dir / "new.rtf", "first");
    ::umask(mask);
    EXPECT_EQ(ReadFile(m_dir / "new.rtf"), "first");
    EXPECT_EQ(fs::status(m_dir / "new.rtf").permissions(),
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);

    fs::permissions(
        m_dir / "new.rtf", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string big(100000, 'x');
    WriteFileAtomically(m_dir / "new.rtf", big);
    EXPECT_EQ(ReadFile(m_dir / "new.rtf"), big);
    EXPECT_EQ(fs::status(m_dir / "new.rtf").permissions(),
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // The temporary name must fit the file system's limit too; a bare name
    // goes to the current directory.
    const std::string longName = std::string(251, 'r') + ".rtf";
    WriteFileAtomically(m_dir / longName, "long");
    EXPECT_EQ(ReadFile(m_dir / longName), "long");
    EXPECT_EQ(m_scratch.Listing(), (std::vector<std::string>{"new.rtf", longName}));
}

// Every refusal names its reason and leaves the directory as it was.
TEST_F(FileWriterTest, RefusesWhatItMustNotReplace)
{
    WriteFile(m_dir / "kept.MRX", "old");
    fs::permissions(m_dir / "kept.MRX", fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(m_dir / "folder.rtf");
    ASSERT_EQ(::mkfifo((m_dir / "pipe.svg").c_str(), 0644), 0);
    WriteFile(m_dir / "Trip.MRX", "setup");
    WriteFile(m_dir / "Airplane.DB", "table");
    fs::create_symlink(m_dir / "Trip.MRX", m_dir / "link.MRX");
    fs::create_hard_link(m_dir / "Airplane.DB", m_dir / "hard.DB");
    fs::create_symlink("loop", m_dir / "loop");
    const std::vector<RunInput> inputs{
        {m_dir / "Trip.MRX", "the setup file"}, {m_dir / "Airplane.DB", "the airplane table"}};

    struct Case {
        fs::path target;
        std::string reason;
    };
    const Case cases[] = {
        // Root could replace a read-only file by rename: it is refused for
        // every user.
        {m_dir / "kept.MRX", "the file is read-only"},
        {m_dir / "folder.rtf", "it is a directory"},
        {m_dir / "pipe.svg", "it is not a regular file"},
        {m_dir / "no such dir" / "x.rtf", "No such file or directory"},
        {"", "no file name"},
        {m_dir / "Trip.MRX", "it is the setup file this run reads"},
        {m_dir / "." / "Trip.MRX", "it is the setup file this run reads"},
        {m_dir / "link.MRX", "it is the setup file this run reads"},
        {m_dir / "hard.DB", "it is the airplane table this run reads"},
        {m_dir / "loop", "Too many levels of symbolic links"},
    };
    const std::vector<std::string> before = m_scratch.Listing();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.string());
        EXPECT_EQ(Refusal(c.target, inputs), c.reason);
    }
    EXPECT_EQ(m_scratch.Listing(), before);
    EXPECT_EQ(ReadFile(m_dir / "kept.MRX"), "old");
    EXPECT_EQ(ReadFile(m_dir / "Trip.MRX"), "setup");
    EXPECT_EQ(ReadFile(m_dir / "Airplane.DB"), "table");
    // An input that is another file does not stand in the way.
    EXPECT_EQ(Refusal(m_dir / "report.rtf", inputs), "");
}

// A write that fails half-way (here the file size limit, as a full disk
// would, which stops root too) leaves the old file and no temporary file.
TEST_F(FileWriterTest, AFailedWriteLeavesTheOldFile)
{
    WriteFile(m_dir / "report.rtf", "old report");
    struct sigaction ignore { };
    struct sigaction previous { };
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        WriteFileAtomically(m_dir / "report.rtf", std::string(100000, 'n'));
    } catch (const FileWriteError& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(message, "File too large");
    EXPECT_EQ(ReadFile(m_dir / "report.rtf"), "old report");
    EXPECT_EQ(m_scratch.Listing(), std::vector<std::string>{"report.rtf"});
}

// A link is written through: the file it names gets the bytes, also one it
// names by a relative path or that does not exist yet, and the link stays.
TEST_F(FileWriterTest, WritesThroughSymbolicLinks)
{
    fs::create_directory(m_dir / "real");
    WriteFile(m_dir / "real" / "setup.MRX", "old");
    fs::create_symlink("real/setup.MRX", m_dir / "relative.MRX");
    fs::create_symlink(m_dir / "relative.MRX", m_dir / "chain.MRX");
    fs::create_symlink(m_dir / "real" / "later.svg", m_dir / "dangling.svg");

    WriteFileAtomically(m_dir / "chain.MRX", "through two links");
    EXPECT_EQ(ReadFile(m_dir / "real" / "setup.MRX"), "through two links");
    WriteFileAtomically(m_dir / "dangling.svg", "<svg/>");
    EXPECT_EQ(ReadFile(m_dir / "real" / "later.svg"), "<svg/>");
    for (const char* link : {"relative.MRX", "chain.MRX", "dangling.svg"})
        EXPECT_TRUE(fs::is_symlink(m_dir / link)) << link;
    EXPECT_EQ(
        m_scratch.Listing(), (std::vector<std::string>{"chain.MRX", "dangling.svg", "real", "relative.MRX"}));
}

} // namespace
} // namespace mirovax
