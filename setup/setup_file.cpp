#include "setup/setup_file.h"

#include "textio/file_descriptor.h"
#include "textio/file_writer.h"
#include "textio/text_encoding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirovax {

namespace {

// Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) about a
// literal put before a temporary string.
std::string Quoted(const std::filesystem::path& path)
{
    std::string out = "\"";
    out += path.native();
    out += '"';
    return out;
}

std::string SystemMessage(int error)
{
    return std::strerror(error);
}

} // namespace

SetupMissingLineError::SetupMissingLineError(
    const std::string& message, std::vector<std::string> linesPresent)
    : SetupFileError(message)
    , m_linesPresent(std::move(linesPresent))
{ }

std::string SetupLineControl(int index)
{
    if (index >= 0 && index < static_cast<int>(kFieldCount))
        return std::string(Fields()[static_cast<size_t>(index)].control);
    if (index == kSetupAirplaneLine)
        return std::string(kAirplaneSelector.control);
    if (index == kSetupRegulationsLine)
        return std::string(kRegulationSelector.control);
    throw std::out_of_range("setup line index " + std::to_string(index) + " out of range");
}

FieldTexts FieldsOf(const SetupTexts& texts)
{
    FieldTexts fields;
    for (const FieldSpec& spec : Fields())
        fields[spec.field] = texts[SetupIndex(spec.field)];
    return fields;
}

void SetFields(SetupTexts& setup, const FieldTexts& texts)
{
    for (const FieldSpec& spec : Fields())
        setup[SetupIndex(spec.field)] = texts[spec.field];
}

std::vector<std::string> SplitSetupLines(std::string_view bytes)
{
    const size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size() && lines.size() < static_cast<size_t>(kSetupLineCount)) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(DecodeWindows1252(bytes.substr(start)));
            break;
        }
        lines.push_back(DecodeWindows1252(bytes.substr(start, end - start)));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

SetupTexts ParseSetup(std::string_view bytes)
{
    std::vector<std::string> lines = SplitSetupLines(bytes);
    if (lines.size() < static_cast<size_t>(kSetupLineCount)) {
        const size_t missing = lines.size();
        const std::string message = "Line index " + std::to_string(missing)
            + " out of range: the setup file has " + std::to_string(missing)
            + (missing == 1 ? " line" : " lines") + " where 17 are needed, line "
            + std::to_string(missing + 1) + " (" + SetupLineControl(static_cast<int>(missing))
            + ") is missing";
        throw SetupMissingLineError(message, std::move(lines));
    }
    SetupTexts texts;
    for (int i = 0; i < kSetupLineCount; ++i)
        texts[static_cast<size_t>(i)] = std::move(lines[static_cast<size_t>(i)]);
    return texts;
}

std::string FormatSetup(const SetupTexts& texts)
{
    std::string out;
    for (int i = 0; i < kSetupLineCount; ++i) {
        const std::string& text = texts[static_cast<size_t>(i)];
        const std::string where = "Line " + std::to_string(i + 1) + " (" + SetupLineControl(i) + ")";
        const size_t bad = text.find_first_of(std::string_view("\r\n\0", 3));
        if (bad != std::string::npos) {
            throw SetupFileError(where + " cannot be saved: its text holds a "
                + (text[bad] == '\0' ? "NUL character" : "line break")
                + ", which a setup file cannot keep within a line");
        }
        try {
            out += EncodeWindows1252(text);
        } catch (const std::invalid_argument& e) {
            throw SetupFileError(where + " cannot be saved: " + e.what());
        }
        out += "\r\n";
    }
    return out;
}

std::string ReadSetupBytes(const std::filesystem::path& path)
{
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        throw SetupFileError("Cannot open setup file " + Quoted(path) + ": " + SystemMessage(errno));
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0)
        throw SetupFileError("Cannot read setup file " + Quoted(path) + ": " + SystemMessage(errno));
    if (S_ISDIR(st.st_mode))
        throw SetupFileError("Cannot read setup file " + Quoted(path) + ": it is a directory");
    if (!S_ISREG(st.st_mode))
        throw SetupFileError("Cannot read setup file " + Quoted(path) + ": it is not a regular file");
    const std::string tooLarge = "Cannot read setup file " + Quoted(path) + ": it is larger than "
        + std::to_string(kMaxSetupFileBytes / 1024) + " KiB and cannot be a setup file";
    if (static_cast<unsigned long long>(st.st_size) > kMaxSetupFileBytes)
        throw SetupFileError(tooLarge);

    // Read one byte more than allowed, in case the file grew since fstat.
    std::string bytes(kMaxSetupFileBytes + 1, '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw SetupFileError("Cannot read setup file " + Quoted(path) + ": " + SystemMessage(errno));
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    if (got > kMaxSetupFileBytes)
        throw SetupFileError(tooLarge);
    bytes.resize(got);
    return bytes;
}

SetupTexts LoadSetup(const std::filesystem::path& path)
{
    const std::string bytes = ReadSetupBytes(path);
    try {
        return ParseSetup(bytes);
    } catch (const SetupMissingLineError& e) {
        throw SetupMissingLineError(path.string() + ": " + e.what(), e.linesPresent());
    }
}

void SaveSetup(
    const std::filesystem::path& path, const SetupTexts& texts, const std::vector<RunInput>& inputs)
{
    std::string bytes;
    try {
        bytes = FormatSetup(texts);
    } catch (const SetupFileError& e) {
        throw SetupFileError(path.string() + ": " + e.what());
    }
    try {
        WriteFileAtomically(path, bytes, inputs);
    } catch (const FileWriteError& e) {
        throw SetupFileError("Cannot write " + Quoted(path) + ": " + e.what());
    }
}

std::string CompleteSetupFileName(std::string_view fileName, int fileTypeIndex)
{
    std::string result(fileName);
    if (fileTypeIndex == kSetupFileTypeMirovax && !HasFileExtension(fileName))
        result += ".mrx";
    return result;
}

} // namespace mirovax
