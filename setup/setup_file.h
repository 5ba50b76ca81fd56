#pragma once

#include "form/fields.h"
#include "textio/file_writer.h"
#include "textio/text_encoding.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Setup files (".MRX"): the texts of the fifteen edit fields, the airplane
// type and the regulations, one per line, in Windows-1252 on disk. The
// functions here are pure or touch only the one file they are given; the
// window and the command line map the texts to and from their controls.
namespace mirovax {

inline constexpr int kSetupLineCount = 17;

// Index of a line within SetupTexts (0-based): the fields' texts at their
// lines, then the airplane type and the regulations.
inline constexpr int kSetupAirplaneLine = kAirplaneSelector.setupLine - 1;
inline constexpr int kSetupRegulationsLine = kRegulationSelector.setupLine - 1;
// A field's line, from the field table.
inline std::size_t SetupIndex(Field field)
{
    return static_cast<std::size_t>(Spec(field).setupLine - 1);
}

// Setup files are seventeen short lines; anything larger is not one of ours
// and is refused before it is read into memory.
inline constexpr std::size_t kMaxSetupFileBytes = std::size_t{1024} * 1024;

// The seventeen texts in UTF-8, in file order.
using SetupTexts = std::array<std::string, kSetupLineCount>;

// The control a line belongs to: a field's ("Edit5"), "AirplaneSelector",
// "RegulationSelector". index is 0-based; throws std::out_of_range otherwise.
std::string SetupLineControl(int index);

// Any failure to read, parse, encode or write a setup file. The message is
// complete and meant for the user: it names the file (when there is one),
// the line and what is wrong.
class SetupFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A setup text with fewer than seventeen lines. The lines that are present
// come along, so that a caller can put them into their fields before it
// reports the error; missingIndex() is the 0-based index of the first
// missing line, which equals the number of lines present.
class SetupMissingLineError : public SetupFileError {
public:
    SetupMissingLineError(const std::string& message, std::vector<std::string> linesPresent);
    int missingIndex() const { return static_cast<int>(m_linesPresent.size()); }
    const std::vector<std::string>& linesPresent() const { return m_linesPresent; }

private:
    std::vector<std::string> m_linesPresent;
};

// The fields' texts of a setup.
FieldTexts FieldsOf(const SetupTexts& texts);
// A setup's field lines set from texts; the selectors' lines are kept.
void SetFields(SetupTexts& setup, const FieldTexts& texts);

// Splits a file's bytes into at most seventeen decoded lines. A line ends at
// CR LF, CR or LF; a break at the very end starts no further line; a NUL ends
// the text; lines after the seventeenth are not looked at.
std::vector<std::string> SplitSetupLines(std::string_view bytes);

// The seventeen texts of a file's bytes. Throws SetupMissingLineError when
// lines are missing.
SetupTexts ParseSetup(std::string_view bytes);

// The bytes of a setup file: each text in Windows-1252 followed by CR LF.
// Throws SetupFileError naming the line and its control for a text the file
// cannot hold: a character outside the code page, a NUL, CR or LF (which
// would shift every later line when the file is read back).
std::string FormatSetup(const SetupTexts& texts);

// Reads a whole file of at most kMaxSetupFileBytes. Throws SetupFileError
// naming the path for a missing file, a directory or other non-regular file,
// a file that cannot be read, and one that is too large.
std::string ReadSetupBytes(const std::filesystem::path& path);

// ReadSetupBytes and ParseSetup; errors name the path. A file with too few
// lines throws SetupMissingLineError, which carries the lines present.
SetupTexts LoadSetup(const std::filesystem::path& path);

// FormatSetup, then the bytes written by the one file writer (see
// output/file_writer.h for its rules): nothing is written when a text cannot
// be encoded or the path is one of inputs. Throws SetupFileError.
void SaveSetup(
    const std::filesystem::path& path, const SetupTexts& texts, const std::vector<RunInput>& inputs = {});

// The file type of the Save Setup dialog, by its 1-based index.
inline constexpr int kSetupFileTypeMirovax = 1; // "Mirovax", *.MRX

// The name a setup is saved under: a name without extension gets ".mrx" for
// the setup type; a name with an extension, or another type index, is
// returned unchanged.
std::string CompleteSetupFileName(std::string_view fileName, int fileTypeIndex);

} // namespace mirovax
