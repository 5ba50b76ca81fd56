#pragma once

#include "textio/file_writer.h"

#include <string>
#include <string_view>
#include <vector>

// Saving the report: the file name completion of the Save Report dialog and
// a write that never leaves a half-written file behind.
namespace mirovax {

// The file types of the Save Report dialog, by their 1-based index.
inline constexpr int kReportFileTypeRichText = 1; // "Rich Text File", *.RTF
inline constexpr int kReportFileTypeText = 2; // "Text File", *.TXT

// The name the report is saved under: a name without extension gets ".rtf"
// for the rich-text type and ".txt" for the text type; a name with an
// extension, or a type index other than those two, is returned unchanged. The
// content is rich text either way.
std::string CompleteReportFileName(std::string_view fileName, int fileTypeIndex);

// Writes content to path through the one file writer (see
// output/file_writer.h for its rules). Throws std::runtime_error "Cannot
// write the report to "path": reason." when it refuses or fails; the target
// is then left as it was.
void SaveReportFile(
    const std::string& path, std::string_view content, const std::vector<RunInput>& inputs = {});

} // namespace mirovax
