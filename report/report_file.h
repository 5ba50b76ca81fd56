#pragma once

#include <string>
#include <string_view>

// Saving the report: the file name completion of the Save Report dialog and
// a write that never leaves a half-written file behind.
namespace mirovax {

// The file types of the Save Report dialog, by their 1-based index.
inline constexpr int kReportFileTypeRichText = 1; // "Rich Text File", *.RTF
inline constexpr int kReportFileTypeText = 2; // "Text File", *.TXT

// Whether the last part of the path, after the last "/", "\" or ":", holds a
// ".". "report." and ".report" count as having one.
bool HasFileExtension(std::string_view path);

// The name the report is saved under: a name without extension gets ".rtf"
// for the rich-text type and ".txt" for the text type; a name with an
// extension, or a type index other than those two, is returned unchanged. The
// content is rich text either way.
std::string CompleteReportFileName(std::string_view fileName, int fileTypeIndex);

// Writes content to path, creating the file or replacing an existing one.
// The text goes to a new temporary file in the same directory, which replaces
// the target only once it is completely written and flushed; an existing file
// keeps its permissions. A symbolic link is followed and the file it names
// replaced. Throws std::runtime_error naming the file when the directory
// cannot be written, the target is a read-only file or a directory, or any
// write fails; the target is then left as it was and no temporary file stays
// behind.
void SaveReportFile(const std::string& path, std::string_view content);

} // namespace mirovax
