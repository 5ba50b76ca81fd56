#pragma once

#include "setup/setup_file.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Small reference tables made by the tests themselves, in the layout every
// reader of "Airplane.DB" and "Airports.DB" agrees on.
namespace mirovax::test {

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

struct AirportRow {
    std::string icao;
    std::string elevation; // text, as the table holds it
    double latitude = 0; // "Feld5", degrees
    double longitude = 0; // "Feld6", degrees
};

// Write the tables in record order; throw std::runtime_error on failure.
void WriteAirplaneTable(const std::string& path, const std::vector<AirplaneRow>& rows);
void WriteAirportTable(const std::string& path, const std::vector<AirportRow>& rows);

// The worked mission as a setup file holds it, for the given airplane type.
// MATOW and MALW hold the worked airplane's structural maxima.
SetupTexts WorkedSetup(const std::string& type = "WORKED-1");

// A new empty directory under the system's temporary directory.
std::filesystem::path MakeTempDir(const std::string& prefix);

// A file's bytes.
std::string ReadFileBytes(const std::filesystem::path& path);

} // namespace mirovax::test
