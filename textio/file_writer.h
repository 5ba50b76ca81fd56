#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mirovax {

// Why a file was not written. what() is the reason alone ("the file is
// read-only", "it is a directory", the system's message), so that each caller
// can put its own words and the file's name before it.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file the same run reads, with the words that name it in a refusal ("the
// setup file being solved", "the airplane table").
struct RunInput {
    std::filesystem::path path;
    std::string name;
};

// Every file any Mirovax program writes goes through here, under one set of
// rules:
// - the bytes go into a new temporary file beside the target, which is
//   flushed to disk and then renamed over the target, and the directory is
//   synced, so the target is always either the old file or the whole new one;
// - on any failure the old file is left as it was and no temporary file
//   stays behind;
// - an existing file without write permission is refused, also for root,
//   who could otherwise replace it by rename;
// - a target that exists and is not a regular file (a directory, a FIFO, a
//   device) is refused;
// - a symbolic link is written through: the file it names gets the bytes
//   (and is created when the link dangles), and the link stays;
// - a replaced file keeps its permission bits and, where allowed, its owner;
//   a new file gets the permissions the umask gives;
// - a target that is one of the run's inputs (the same file, also through a
//   link or another hard link) is refused before anything is written.
// Throws FileWriteError.
void WriteFileAtomically(
    const std::filesystem::path& target, std::string_view bytes, const std::vector<RunInput>& inputs = {});

// Throws FileWriteError when target is one of inputs; nothing else is
// checked. For callers that must refuse before doing the work that produces
// the bytes.
void RefuseRunInput(const std::filesystem::path& target, const std::vector<RunInput>& inputs);

// Whether the last part of the path, after the last "/", "\" or ":", holds a
// ".". "report." and ".report" count as having one. The save dialogs add their
// type's extension to a name without one; "\" and ":" count as separators so
// that a name typed the way other systems write paths is judged the same way.
bool HasFileExtension(std::string_view path);

} // namespace mirovax
