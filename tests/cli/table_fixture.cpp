#include "table_fixture.h"

#include "engine/mission_data.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sqlite3.h>
#include <sstream>
#include <stdexcept>

namespace mirovax::test {

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

class Database {
public:
    explicit Database(const std::string& path)
    {
        std::remove(path.c_str());
        if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK)
            throw std::runtime_error("cannot create " + path);
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
            throw std::runtime_error(text + " in " + sql);
        }
    }
    Statement Prepare(const std::string& sql)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in " + sql);
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

AirplaneRow WorkedAirplane(const std::string& type)
{
    AirplaneRow row;
    row.type = type;
    row.numbers = {
        {"DOW", 14000},
        {"MTOW", 30000},
        {"MLAW", 25000},
        {"MZFW", 21000},
        {"TCAP", 6000},
        {"MaxAlt", 41000},
        {"Mach", 0.78},
        {"aH1", 0.1},
        {"bH1", 500},
        {"aH2", 0.08},
        {"bH2", 400},
        {"MaxHold", 15000},
        {"aC1", 5},
        {"bC1", 100},
        {"aC2", 4},
        {"bC2", 50},
        {"MinCruise", 200},
        {"MaxCruise", 400},
        {"aC3", 0.01},
        {"bC3", 10},
    };
    return row;
}

void WriteAirplaneTable(const std::string& path, const std::vector<AirplaneRow>& rows)
{
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

std::filesystem::path MakeTempDir(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary directory " + pattern);
    return pattern;
}

std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace mirovax::test
