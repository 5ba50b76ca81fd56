#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Table files made by a test, and the shipped ones beside the test binary.
namespace mirovax::testing {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    // The names of the files the directory holds, sorted.
    std::vector<std::string> Listing() const;

private:
    std::filesystem::path m_path;
};

// Creates an SQLite file at path and runs the statements in it.
void MakeDatabase(const std::string& path, const std::vector<std::string>& statements);

// Writes bytes to a file, replacing it.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// A file in the directory of the running test executable, where the build
// puts "Airplane.DB" and "Airports.DB".
std::string BesideExecutable(const std::string& name);

} // namespace mirovax::testing
