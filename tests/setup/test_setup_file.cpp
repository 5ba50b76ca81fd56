#include "setup/setup_file.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using mirovax::testing::ReadFile;
using mirovax::testing::ScratchDir;
using mirovax::testing::WriteFile;

using namespace mirovax;
namespace fs = std::filesystem;

namespace {

SetupTexts SampleTexts()
{
    return {"KSFO", "KBFI", "594", "5000", "310", "-46", "20", "KSEA", "433", "100", "45", "1500", "5",
        "30000", "25000", "WORKED-1", "ICAO"};
}

// The sample's lines joined by a line break, with or without a final one.
std::string Joined(const SetupTexts& texts, const std::string& lineBreak, bool finalBreak)
{
    std::string out;
    for (size_t i = 0; i < texts.size(); ++i) {
        out += texts[i];
        if (i + 1 < texts.size() || finalBreak)
            out += lineBreak;
    }
    return out;
}

// A fresh directory per test, removed afterwards.
class SetupFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        // A test may leave the directory read-only.
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
    }
    // Files in the directory other than the ones named.
    std::vector<std::string> Leftovers(std::initializer_list<std::string> expected) const
    {
        std::vector<std::string> extra;
        for (const std::string& name : m_scratch.Listing()) {
            if (std::find(expected.begin(), expected.end(), name) == expected.end())
                extra.push_back(name);
        }
        return extra;
    }
    ScratchDir m_scratch{"mirovax-setup"};
    const fs::path m_dir = m_scratch.path();
};

} // namespace

TEST(SetupParse, EveryLineEndingGivesTheSameTexts)
{
    const SetupTexts sample = SampleTexts();
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string mixed;
    const char* breaks[] = {"\r\n", "\n", "\r"};
    for (size_t i = 0; i < sample.size(); ++i)
        mixed += sample[i] + breaks[i % 3];
    const Case cases[] = {
        {"CR LF with final break", Joined(sample, "\r\n", true)},
        {"CR LF without final break", Joined(sample, "\r\n", false)},
        {"LF", Joined(sample, "\n", true)},
        {"LF without final break", Joined(sample, "\n", false)},
        {"CR", Joined(sample, "\r", true)},
        {"CR without final break", Joined(sample, "\r", false)},
        {"mixed", mixed},
        {"more than 17 lines", Joined(sample, "\r\n", true) + "extra 18\r\nextra 19\r\n"},
        {"NUL after line 17", Joined(sample, "\r\n", true) + std::string("\0garbage\r\n", 10)},
        {"NUL right after the last text", Joined(sample, "\n", false) + std::string("\0\n\n", 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseSetup(c.bytes), sample) << c.name;
}

TEST(SetupParse, EmptyLinesAreLinesButAFinalBreakStartsNone)
{
    // CR followed by CR LF is two breaks: the second line is empty.
    EXPECT_EQ(SplitSetupLines("a\r\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSetupLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitSetupLines("\n"), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitSetupLines("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(SplitSetupLines("").empty());

    // Seventeen empty texts are a complete file.
    SetupTexts empty;
    EXPECT_EQ(ParseSetup(std::string(17, '\n')), empty);
    // Sixteen breaks are sixteen lines: the last break starts no seventeenth.
    EXPECT_THROW(ParseSetup(std::string(16, '\n')), SetupMissingLineError);
}

TEST(SetupParse, TooFewLinesNamesTheMissingLineAndKeepsThePresentOnes)
{
    const SetupTexts sample = SampleTexts();
    struct Case {
        std::string bytes;
        int missing;
        const char* control;
    };
    std::string five;
    for (int i = 0; i < 5; ++i)
        five += sample[static_cast<size_t>(i)] + "\r\n";
    const Case cases[] = {
        {"", 0, "Edit1"},
        {five, 5, "Edit6"},
        {five + "-4" + std::string("\0\r\n20\r\n", 7), 6, "Edit7"}, // the NUL ends line 6
        {Joined(sample, "\r\n", true).substr(0, Joined(sample, "\r\n", true).rfind("ICAO")), 16,
            "RegulationSelector"},
    };
    for (const Case& c : cases) {
        try {
            ParseSetup(c.bytes);
            ADD_FAILURE() << "no error for line " << c.missing;
        } catch (const SetupMissingLineError& e) {
            EXPECT_EQ(e.missingIndex(), c.missing);
            ASSERT_EQ(e.linesPresent().size(), static_cast<size_t>(c.missing));
            for (int i = 0; i < c.missing && i < 5; ++i)
                EXPECT_EQ(e.linesPresent()[static_cast<size_t>(i)], sample[static_cast<size_t>(i)]);
            const std::string message = e.what();
            EXPECT_NE(
                message.find("Line index " + std::to_string(c.missing) + " out of range"), std::string::npos)
                << message;
            EXPECT_NE(message.find("line " + std::to_string(c.missing + 1) + " (" + c.control + ")"),
                std::string::npos)
                << message;
        }
    }
}

TEST(SetupEncoding, EveryByteOfTheCodePageSurvivesLoadAndSave)
{
    // All 256 bytes except the three that end a line or the text.
    std::string line;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            line += static_cast<char>(b);
    }
    const std::string decoded = DecodeWindows1252(line);
    EXPECT_EQ(EncodeWindows1252(decoded), line);

    SetupTexts texts = SampleTexts();
    texts[0] = decoded;
    const std::string bytes = FormatSetup(texts);
    EXPECT_EQ(bytes.substr(0, line.size() + 2), line + "\r\n");
    EXPECT_EQ(ParseSetup(bytes), texts);
}

TEST(SetupEncoding, TextsTheFileCannotHoldAreErrorsNamingTheLine)
{
    struct Case {
        int line;
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {1, "\u4E2D", "U+4E2D"},
        {2, "\xC2\x80", "U+0080"}, // a C1 control the code page gives to the euro sign
        {16, "A320\xFF", "not valid UTF-8 at byte 5"},
        {16, "\xE0\x80\xAF", "not valid UTF-8"}, // overlong
        {17, "\xED\xA0\x80", "not valid UTF-8"}, // surrogate
        {8, "KS\nEA", "line break"},
        {9, "4\r33", "line break"},
        {5, std::string("31\0", 3), "NUL"},
    };
    for (const Case& c : cases) {
        SetupTexts texts = SampleTexts();
        texts[static_cast<size_t>(c.line - 1)] = c.text;
        try {
            FormatSetup(texts);
            ADD_FAILURE() << "no error for line " << c.line;
        } catch (const SetupFileError& e) {
            const std::string message = e.what();
            EXPECT_NE(
                message.find("Line " + std::to_string(c.line) + " (" + SetupLineControl(c.line - 1) + ")"),
                std::string::npos)
                << message;
            EXPECT_NE(message.find(c.expected), std::string::npos) << message;
            EXPECT_EQ(message.find('?'), std::string::npos) << message;
        }
    }
}

TEST(SetupLineControl, NamesTheControls)
{
    EXPECT_EQ(SetupLineControl(0), "Edit1");
    EXPECT_EQ(SetupLineControl(14), "Edit15");
    EXPECT_EQ(SetupLineControl(kSetupAirplaneLine), "AirplaneSelector");
    EXPECT_EQ(SetupLineControl(kSetupRegulationsLine), "RegulationSelector");
    EXPECT_THROW(SetupLineControl(17), std::out_of_range);
    EXPECT_THROW(SetupLineControl(-1), std::out_of_range);
}

TEST(CompleteSetupFileName, AddsTheExtensionOnlyToANameWithoutOne)
{
    EXPECT_EQ(CompleteSetupFileName("plan", kSetupFileTypeMirovax), "plan.mrx");
    EXPECT_EQ(CompleteSetupFileName("trips.2026/plan", kSetupFileTypeMirovax), "trips.2026/plan.mrx");
    EXPECT_EQ(
        CompleteSetupFileName("C:\\trips.2026\\plan", kSetupFileTypeMirovax), "C:\\trips.2026\\plan.mrx");
    EXPECT_EQ(CompleteSetupFileName("plan.MRX", kSetupFileTypeMirovax), "plan.MRX");
    EXPECT_EQ(CompleteSetupFileName("plan.", kSetupFileTypeMirovax), "plan.");
    EXPECT_EQ(CompleteSetupFileName("plan", 2), "plan");
}

TEST_F(SetupFileTest, SaveThenLoadRoundTripsByteForByte)
{
    SetupTexts texts = SampleTexts();
    texts[0] = "K\u00C9SF"; // E acute
    texts[15] = "Caf\u00E9 \u20AC"; // Windows-1252 letters in the type
    texts[16] = "";
    const fs::path file = m_dir / "Trip.MRX";
    SaveSetup(file, texts);

    const std::string bytes = ReadFile(file);
    EXPECT_EQ(bytes.substr(0, 7), "K\xC9SF\r\nK");
    EXPECT_NE(bytes.find("Caf\xE9 \x80\r\n\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
    EXPECT_EQ(LoadSetup(file), texts);
    EXPECT_TRUE(Leftovers({"Trip.MRX"}).empty());

    // A file written elsewhere comes back unchanged through load and save.
    std::string foreign = Joined(SampleTexts(), "\r\n", true);
    foreign.replace(0, 4, "\x8A\x9A\x81\xFF");
    WriteFile(m_dir / "Foreign.MRX", foreign);
    SaveSetup(m_dir / "Copy.MRX", LoadSetup(m_dir / "Foreign.MRX"));
    EXPECT_EQ(ReadFile(m_dir / "Copy.MRX"), foreign);
}

TEST_F(SetupFileTest, LoadErrorsNameTheFile)
{
    const fs::path missing = m_dir / "Missing.MRX";
    const fs::path big = m_dir / "Big.MRX";
    WriteFile(big, std::string(kMaxSetupFileBytes + 1, 'x'));
    const fs::path fifo = m_dir / "Pipe.MRX";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path shortFile = m_dir / "Short.MRX";
    WriteFile(shortFile, "KSFO\r\nKBFI\r\n");

    struct Case {
        fs::path path;
        const char* expected;
    };
    const Case cases[] = {
        {missing, "No such file or directory"},
        {m_dir, "is a directory"},
        {big, "larger than 1024 KiB"},
        {fifo, "not a regular file"},
        {shortFile, "Line index 2 out of range"},
    };
    for (const Case& c : cases) {
        try {
            LoadSetup(c.path);
            ADD_FAILURE() << "no error for " << c.path;
        } catch (const SetupFileError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.path.string()), std::string::npos) << message;
            EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        }
    }

    // Exactly the limit is still read (and then fails only for its lines).
    WriteFile(big, std::string(kMaxSetupFileBytes, 'x'));
    EXPECT_EQ(ReadSetupBytes(big).size(), kMaxSetupFileBytes);
}

// The file writer's own rules are tested with it; here, that a save refused
// or failed says so with the file's name and keeps the old file.
TEST_F(SetupFileTest, AFailedSaveLeavesTheOldFileIntact)
{
    const fs::path file = m_dir / "Keep.MRX";
    const std::string old = Joined(SampleTexts(), "\r\n", true);
    WriteFile(file, old);

    // A text that cannot be encoded writes nothing at all.
    SetupTexts bad = SampleTexts();
    bad[3] = "\u4E2D";
    EXPECT_THROW(SaveSetup(file, bad), SetupFileError);
    EXPECT_EQ(ReadFile(file), old);

    // A read-only file is refused, not replaced behind the user's back.
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    try {
        SaveSetup(file, SampleTexts());
        ADD_FAILURE() << "read-only file replaced";
    } catch (const SetupFileError& e) {
        EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadFile(file), old);

    // A directory in the way, and a directory that does not exist.
    fs::create_directory(m_dir / "Dir.MRX");
    EXPECT_THROW(SaveSetup(m_dir / "Dir.MRX", SampleTexts()), SetupFileError);
    EXPECT_THROW(SaveSetup(m_dir / "no" / "such" / "x.MRX", SampleTexts()), SetupFileError);
    EXPECT_TRUE(Leftovers({"Keep.MRX", "Dir.MRX"}).empty());
}
