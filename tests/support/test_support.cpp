#include "test_support.h"

#include "engine/mission_data.h"
#include "form/calculation_run.h"

#include <sqlite3.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace mirovax::testing {

ScratchDir::ScratchDir(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch directory " + pattern);
    m_path = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::vector<std::string> ScratchDir::Listing() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string BesideExecutable(const std::string& name)
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

class Database {
public:
    explicit Database(const std::string& path)
    {
        if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
            throw std::runtime_error("cannot create " + path);
        }
    }
    ~Database() { sqlite3_close(m_db); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void Exec(const std::string& sql)
    {
        char* message = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : "unknown error";
            sqlite3_free(message);
            throw std::runtime_error(sql + ": " + text);
        }
    }
    Statement Prepare(const std::string& sql)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(m_db));
        return Statement(statement, &sqlite3_finalize);
    }
    void Step(sqlite3_stmt* statement)
    {
        if (sqlite3_step(statement) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }

private:
    sqlite3* m_db = nullptr;
};

void BindText(sqlite3_stmt* statement, int index, const std::string& text)
{
    sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

} // namespace

void MakeDatabase(const std::string& path, const std::vector<std::string>& statements)
{
    Database db(path);
    for (const std::string& sql : statements)
        db.Exec(sql);
}

namespace {

// A record with the numbers in the table's field order, DOW to bC3.
AirplaneRow Airplane(const std::string& type, const std::array<double, 20>& numbers)
{
    AirplaneRow row;
    row.type = type;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        row.numbers[kAirplaneNumbers[i].name] = numbers[i];
    return row;
}

} // namespace

AirplaneRow WorkedAirplane(const std::string& type)
{
    return Airplane(type,
        {14000, 30000, 25000, 21000, 6000, 41000, 0.78, 0.1, 500, 0.08, 400, 15000, 5, 100, 4, 50, 200, 400,
            0.01, 10});
}

AirplaneRow TestJet(const std::string& type)
{
    AirplaneRow row = Airplane(type,
        {40000, 70000, 60000, 56000, 18000, 41000, 0.78, 0.037, 175, 0.03, 150, 15000, 5, 100, 4, 50, 200,
            400, 0.01, 10});
    row.airframe = "Test twin jet";
    row.engine = "Two test turbofans";
    row.reference = "Test data";
    return row;
}

AirplaneRow HeavyJet()
{
    AirplaneRow row = Airplane("Heavy Jet",
        {150000, 300000, 220000, 210000, 140000, 43000, 0.84, 0.03, 900, 0.025, 800, 15000, 12, 300, 10, 200,
            250, 410, 0.02, 50});
    row.airframe = "Heavy test jet";
    row.engine = "Two test turbofans";
    row.reference = "Test data";
    return row;
}

std::vector<AirportRow> BayAreaAirports()
{
    return {{"KSFO", "13", 37.61899948120117, -122.375}, {"KBFI", "21", 47.529999, -122.302002},
        {"KSEA", "433", 47.449162, -122.311134}};
}

void WriteAirplaneTable(const std::string& path, const std::vector<AirplaneRow>& rows)
{
    std::remove(path.c_str());
    Database db(path);
    std::string columns = "\"Type\" TEXT, \"Airframe\" TEXT, \"Engine\" TEXT";
    std::string names = "\"Type\", \"Airframe\", \"Engine\"";
    std::string marks = "?, ?, ?";
    for (const NumericField& f : kAirplaneNumbers) {
        columns += ", \"" + std::string(f.name) + "\" REAL";
        names += ", \"" + std::string(f.name) + "\"";
        marks += ", ?";
    }
    columns += ", \"Reference\" TEXT";
    names += ", \"Reference\"";
    marks += ", ?";
    db.Exec("CREATE TABLE \"Airplane\" (" + columns + ")");
    Statement statement = db.Prepare("INSERT INTO \"Airplane\" (" + names + ") VALUES (" + marks + ")");
    sqlite3_stmt* insert = statement.get();
    for (const AirplaneRow& row : rows) {
        BindText(insert, 1, row.type);
        BindText(insert, 2, row.airframe);
        BindText(insert, 3, row.engine);
        int index = 4;
        for (const NumericField& f : kAirplaneNumbers) {
            const auto it = row.numbers.find(f.name);
            sqlite3_bind_double(insert, index++, it == row.numbers.end() ? 0.0 : it->second);
        }
        BindText(insert, index, row.reference);
        db.Step(insert);
    }
}

void WriteAirportTable(const std::string& path, const std::vector<AirportRow>& rows)
{
    std::remove(path.c_str());
    Database db(path);
    db.Exec("CREATE TABLE \"Airports\" (\"ICAO\" TEXT, \"elevation\" TEXT, \"Feld5\" REAL, \"Feld6\" REAL, "
            "\"name\" TEXT)");
    Statement statement = db.Prepare("INSERT INTO \"Airports\" VALUES (?, ?, ?, ?, ?)");
    sqlite3_stmt* insert = statement.get();
    for (const AirportRow& row : rows) {
        BindText(insert, 1, row.icao);
        BindText(insert, 2, row.elevation);
        sqlite3_bind_double(insert, 3, row.latitude);
        sqlite3_bind_double(insert, 4, row.longitude);
        BindText(insert, 5, row.icao + " airport");
        db.Step(insert);
    }
}

SetupTexts WorkedSetup(const std::string& type)
{
    return {"KSFO", "KBFI", "594", "5000", "310", "-46", "20", "KSEA", "433", "100", "45", "1500", "5",
        "30000", "25000", type, "ICAO"};
}

TMissionData WorkedRecord(const AirplaneRow& airplane)
{
    TMissionData md;
    for (const NumericField& f : kAirplaneNumbers)
        md.*f.member = airplane.numbers.at(f.name);
    md.Type = airplane.type;
    md.Airframe = airplane.airframe;
    md.Engine = airplane.engine;
    md.Reference = airplane.reference;
    ReadInputs(FieldsOf(WorkedSetup(airplane.type)), md);
    md.CalculationValid = true;
    return md;
}

bool NamesKilograms(std::string_view text)
{
    const auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
    for (size_t at = text.find("kg"); at != std::string_view::npos; at = text.find("kg", at + 1)) {
        const bool before = at > 0 && letter(text[at - 1]);
        const bool after = at + 2 < text.size() && letter(text[at + 2]);
        if (!before && !after)
            return true;
    }
    return false;
}

} // namespace mirovax::testing
