#include "report/report_file.h"

#include <stdexcept>

namespace mirovax {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason)
{
    throw std::runtime_error("Cannot write the report to \"" + path + "\": " + reason + ".");
}

} // namespace

std::string CompleteReportFileName(std::string_view fileName, int fileTypeIndex)
{
    std::string result(fileName);
    if (HasFileExtension(fileName))
        return result;
    if (fileTypeIndex == kReportFileTypeRichText)
        result += ".rtf";
    else if (fileTypeIndex == kReportFileTypeText)
        result += ".txt";
    return result;
}

void SaveReportFile(const std::string& path, std::string_view content, const std::vector<RunInput>& inputs)
{
    try {
        WriteFileAtomically(path, content, inputs);
    } catch (const FileWriteError& e) {
        Fail(path, e.what());
    }
}

} // namespace mirovax
