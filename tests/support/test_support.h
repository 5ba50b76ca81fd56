#pragma once

#include "engine/mission_data.h"
#include "setup/setup_file.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// What the tests share: scratch directories, file bytes, and small reference
// tables in the layout every reader of "Airplane.DB" and "Airports.DB" agrees on.
namespace mirovax::testing {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "mirovax-test");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    // The names of the entries the directory holds, sorted.
    std::vector<std::string> Listing() const;

private:
    std::filesystem::path m_path;
};

// Writes bytes to a file, replacing it; reads a file's bytes (empty when it
// cannot be read).
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// A file in the directory of the running test executable, where the build
// puts "Airplane.DB" and "Airports.DB".
std::string BesideExecutable(const std::string& name);

// Creates an SQLite file at path and runs the statements in it.
void MakeDatabase(const std::string& path, const std::vector<std::string>& statements);

// One airplane record: "Type", the three texts and the 20 numbers by name.
struct AirplaneRow {
    std::string type;
    std::map<std::string, double> numbers;
    std::string airframe = "Test airframe";
    std::string engine = "Test engine";
    std::string reference = "Made by the tests";
};

// The worked example's airplane under the given type name, with MTOW 30000
// and MLAW 25000 so that loading it presets the worked MATOW and MALW.
AirplaneRow WorkedAirplane(const std::string& type);

// The airplane the window tests fly: the built-in entries of the window give
// valid results with it in every mode.
AirplaneRow TestJet(const std::string& type = "Test Jet");

// A much larger airplane beside it: "Heavy Jet", DOW 150000, MTOW 300000.
AirplaneRow HeavyJet();

struct AirportRow {
    std::string icao;
    std::string elevation; // text, as the table holds it
    double latitude = 0; // "Feld5", degrees
    double longitude = 0; // "Feld6", degrees
};

// The three airports of the window's built-in entries.
std::vector<AirportRow> BayAreaAirports();

// Write the tables in record order, replacing the file; throw
// std::runtime_error on failure.
void WriteAirplaneTable(const std::string& path, const std::vector<AirplaneRow>& rows);
void WriteAirportTable(const std::string& path, const std::vector<AirportRow>& rows);

// The worked mission as a setup file holds it, for the given airplane type.
// MATOW and MALW hold the worked airplane's structural maxima.
SetupTexts WorkedSetup(const std::string& type = "WORKED-1");

// The record a run of the worked mission starts from: the constants of
// airplane and the twelve numeric entries of WorkedSetup.
TMissionData WorkedRecord(const AirplaneRow& airplane = WorkedAirplane("WORKED-1"));

// Whether the text names kilograms: "kg" standing as a word of its own
// ("12 kg", "(kg)", "kg/h"), not inside another ("background").
bool NamesKilograms(std::string_view text);

} // namespace mirovax::testing
