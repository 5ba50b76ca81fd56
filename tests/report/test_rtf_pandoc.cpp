// Reads a saved report with pandoc, a reader that shares no code with ours,
// and compares what it sees with the rows of the report.
#include "report/report_file.h"
#include "report/rtf_writer.h"
#include "report_sample.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

namespace mirovax {
namespace {

namespace fs = std::filesystem;
using mirovax::testing::ScratchDir;

std::string RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return output;
}

// Pandoc turns a tab into a word space and joins runs of blanks; paragraphs
// are separated by blank lines and empty paragraphs vanish.
std::vector<std::string> PandocParagraphs(const std::string& plain)
{
    std::vector<std::string> paragraphs;
    std::string current;
    size_t start = 0;
    while (start < plain.size()) {
        size_t end = plain.find('\n', start);
        if (end == std::string::npos)
            end = plain.size();
        const std::string line = plain.substr(start, end - start);
        if (line.empty()) {
            if (!current.empty())
                paragraphs.push_back(current);
            current.clear();
        } else {
            current += current.empty() ? line : " " + line;
        }
        start = end + 1;
    }
    if (!current.empty())
        paragraphs.push_back(current);
    return paragraphs;
}

std::string AsPandocSeesIt(const std::string& row)
{
    std::string out;
    for (const char c : row) {
        const char blank = c == '\t' ? ' ' : c;
        if (blank == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += blank;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

class PandocReads : public ::testing::Test {
protected:
    // Saved under a ".txt" name as a user picking "Text File" would: the
    // content is rich text all the same.
    std::string Save(const ReportModel& model)
    {
        std::string path = CompleteReportFileName((m_dir / "report").string(), kReportFileTypeText);
        SaveReportFile(path, WriteRtf(model));
        return path;
    }
    std::string Pandoc(const std::string& path, const char* to)
    {
        return RunCommand(
            std::string("'") + MIROVAX_PANDOC + "' -f rtf -t " + to + " --wrap=none '" + path + "'");
    }

    ScratchDir m_scratch{"mirovax-pandoc"};
    const fs::path m_dir = m_scratch.path();
};

TEST_F(PandocReads, SameTextWithFieldsTakenLiterally)
{
    ReportSnapshot snapshot = testing::SampleSnapshot("Maximum Payload");
    snapshot.fields[Field::From] = "{\\b x}";
    snapshot.fields[Field::To] = "C:\\";
    snapshot.fields[Field::Alternate] = "\\par";
    snapshot.regulationText = "Z\u00FCrich \u00E9t\u00E9 \u20AC \u03A9";
    const ReportModel model = BuildReport(snapshot);
    const std::string path = Save(model);
    ASSERT_TRUE(path.ends_with("report.txt"));

    std::vector<std::string> expected;
    for (const ReportRow& row : model.rows) {
        if (!AsPandocSeesIt(row.text).empty())
            expected.push_back(AsPandocSeesIt(row.text));
    }
    const std::vector<std::string> seen = PandocParagraphs(Pandoc(path, "plain"));
    EXPECT_EQ(seen, expected);
    // Spot checks that the tab stood between the columns and the escapes
    // came out as the characters typed.
    EXPECT_NE(std::find(seen.begin(), seen.end(), "From: {\\b x} To: C:\\"), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "OAT: -46 \u00B0C Wind: 0 kts"), seen.end());
}

TEST_F(PandocReads, HeadingsBoldAndUnderlinedFieldsRegular)
{
    ReportSnapshot snapshot = testing::SampleSnapshot();
    snapshot.fields[Field::From] = "{\\b x}";
    const std::string html = Pandoc(Save(BuildReport(snapshot)), "html");
    EXPECT_NE(html.find("<p><strong><u>Mission Report</u></strong></p>"), std::string::npos) << html;
    for (const char* heading : {"Airplane Data", "Trip Data", "Results"})
        EXPECT_NE(html.find(std::string("<p><strong>") + heading + "</strong></p>"), std::string::npos)
            << heading;
    EXPECT_NE(html.find("<p>From: {\\b x} To: KBFI</p>"), std::string::npos) << html;
    EXPECT_EQ(html.find("<strong>x"), std::string::npos);
    // Exactly four bold paragraphs: the headings.
    size_t strong = 0;
    for (size_t at = html.find("<strong>"); at != std::string::npos; at = html.find("<strong>", at + 1))
        ++strong;
    EXPECT_EQ(strong, 4u);
}

} // namespace
} // namespace mirovax
