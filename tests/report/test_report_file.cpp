#include "report/report_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "mirovax-report-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        m_dir = templ;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_dir, ignored);
    }

    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static void Write(const fs::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    // Names in the directory: a failed or finished save leaves no temporary
    // file behind.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
};

TEST_F(SaveReportFileTest, CreatesAndReplacesWithExactContent)
{
    const fs::path target = m_dir / "report.txt";
    const std::string first = "{\\rtf1 first\r\n}\r\n";
    SaveReportFile(target.string(), first);
    EXPECT_EQ(Read(target), first);

    const std::string second(100000, 'x');
    SaveReportFile(target.string(), second);
    EXPECT_EQ(Read(target), second);
    EXPECT_EQ(Entries(), std::vector<std::string>{"report.txt"});
}

// The temporary file must fit the file system's name limit too.
TEST_F(SaveReportFileTest, NameFillingTheLimitIsSaved)
{
    const std::string name = std::string(251, 'r') + ".rtf";
    SaveReportFile((m_dir / name).string(), "long");
    EXPECT_EQ(Read(m_dir / name), "long");
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
}

TEST_F(SaveReportFileTest, ReplacementKeepsTheFilesPermissions)
{
    const fs::path target = m_dir / "report.rtf";
    Write(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    SaveReportFile(target.string(), "new");
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(fs::status(target).permissions(),
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SaveReportFileTest, NewFileGetsTheUsualPermissions)
{
    const mode_t mask = umask(022);
    SaveReportFile((m_dir / "new.rtf").string(), "x");
    umask(mask);
    struct stat info { };
    ASSERT_EQ(stat((m_dir / "new.rtf").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(SaveReportFileTest, WritesThroughASymbolicLink)
{
    const fs::path real = m_dir / "real.rtf";
    const fs::path link = m_dir / "link.rtf";
    Write(real, "old");
    fs::create_symlink(real, link);
    SaveReportFile(link.string(), "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "new");
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
    EXPECT_EQ(Entries(), std::vector<std::string>{"folder.rtf"});
}

// A write that fails half-way (here the file size limit, as a full disk
// would) leaves the old report untouched and no temporary file.
TEST_F(SaveReportFileTest, FailedWriteLeavesTheOldFile)
{
    const fs::path target = m_dir / "report.rtf";
    Write(target, "old report");

    struct sigaction ignore { };
    struct sigaction previous { };
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    std::string message;
    try {
        SaveReportFile(target.string(), std::string(100000, 'n'));
    } catch (const std::runtime_error& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_NE(message.find(target.string()), std::string::npos) << message;
    EXPECT_EQ(Read(target), "old report");
    EXPECT_EQ(Entries(), std::vector<std::string>{"report.rtf"});
}

// Replacing by rename would get past a read-only file's protection; the save
// refuses as writing into the file would. The superuser writes anything, so
// then the check runs as an ordinary user in a child process.
TEST_F(SaveReportFileTest, ReadOnlyFileIsNotReplaced)
{
    const fs::path target = m_dir / "report.rtf";
    Write(target, "kept");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(m_dir, fs::perms::all);

    auto attempt = [&]() -> int {
        try {
            SaveReportFile(target.string(), "replaced");
        } catch (const std::runtime_error&) {
            return 0;
        }
        return 1;
    };
    if (geteuid() != 0) {
        EXPECT_EQ(attempt(), 0);
    } else {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(2);
            _exit(attempt());
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: replaced, 2: could not drop privileges";
    }
    EXPECT_EQ(Read(target), "kept");
    EXPECT_EQ(Entries(), std::vector<std::string>{"report.rtf"});
}

} // namespace
} // namespace mirovax
