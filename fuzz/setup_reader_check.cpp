#include "setup_reader_check.h"

#include "setup/setup_file.h"

#include <stdexcept>

namespace mirovax {

namespace {

std::string CheckParse(std::string_view bytes)
{
    const std::vector<std::string> lines = SplitSetupLines(bytes);
    if (lines.size() > static_cast<size_t>(kSetupLineCount))
        return "more than 17 lines";
    for (const std::string& line : lines) {
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            return "a line holds a line break or a NUL";
    }
    SetupTexts texts;
    try {
        texts = ParseSetup(bytes);
    } catch (const SetupMissingLineError& e) {
        if (lines.size() == static_cast<size_t>(kSetupLineCount))
            return "17 lines reported as too few";
        if (e.missingIndex() != static_cast<int>(lines.size()) || e.linesPresent() != lines)
            return "the missing-line error does not match the lines present";
        return "";
    } catch (const std::exception& e) {
        return std::string("unexpected error from ParseSetup: ") + e.what();
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] != lines[i])
            return "ParseSetup and SplitSetupLines disagree";
    }
    std::string saved;
    try {
        saved = FormatSetup(texts);
    } catch (const std::exception& e) {
        return std::string("texts read from a file cannot be saved: ") + e.what();
    }
    if (ParseSetup(saved) != texts)
        return "save and load change the texts";
    if (FormatSetup(ParseSetup(saved)) != saved)
        return "a saved file does not save again byte for byte";
    return "";
}

std::string CheckCodePage(std::string_view bytes)
{
    if (EncodeWindows1252(DecodeWindows1252(bytes)) != bytes)
        return "Windows-1252 does not map the bytes back";
    std::string encoded;
    try {
        encoded = EncodeWindows1252(bytes);
    } catch (const std::invalid_argument&) {
        return "";
    }
    if (DecodeWindows1252(encoded) != bytes)
        return "an encoded text does not decode to itself";
    return "";
}

} // namespace

std::string CheckSetupReader(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string fault = CheckParse(bytes);
    if (fault.empty())
        fault = CheckCodePage(bytes);
    return fault;
}

} // namespace mirovax
