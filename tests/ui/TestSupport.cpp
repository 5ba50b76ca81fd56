#include "TestSupport.h"

#include "ui/FileVersion.h"

#include <QFile>
#include <QLabel>
#include <QTimer>

#include <sqlite3.h>
#include <stdexcept>

namespace mirovax::test {

TAnswer TScriptedDialogs::question(QWidget*, const QString& text)
{
    questions << text;
    if (answers.empty())
        return TAnswer::No;
    const TAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

FileChoice TScriptedDialogs::openFile(QWidget*, const FileDialogSpec& spec)
{
    fileDialogs << spec.name;
    fileSpecs.push_back(spec);
    if (files.empty())
        return {};
    FileChoice choice = files.front();
    files.pop_front();
    return choice;
}

FileChoice TScriptedDialogs::saveFile(QWidget* parent, const FileDialogSpec& spec)
{
    return openFile(parent, spec);
}

bool TScriptedDialogs::choosePrinter(QWidget*, QPrinter& printer)
{
    ++printDialogs;
    return printerAnswer ? printerAnswer(printer) : false;
}

AirplaneRecord TestJet(const std::string& type)
{
    return {type, "Test twin jet", "Two test turbofans",
        {40000, 70000, 60000, 56000, 18000, 41000, 0.78, 0.037, 175, 0.03, 150, 15000, 5, 100, 4, 50, 200,
            400, 0.01, 10},
        "Test data"};
}

std::vector<AirportRecord> BayAreaAirports()
{
    return {{"KSFO", "13", 37.61899948120117, -122.375}, {"KBFI", "21", 47.529999, -122.302002},
        {"KSEA", "433", 47.449162, -122.311134}};
}

namespace {

void Exec(sqlite3* db, const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "sqlite error";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

struct Database {
    explicit Database(const QString& path)
    {
        QFile::remove(path);
        if (sqlite3_open(path.toStdString().c_str(), &db) != SQLITE_OK)
            throw std::runtime_error("cannot create " + path.toStdString());
    }
    ~Database() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};

} // namespace

void WriteAirplaneTable(const QString& path, const std::vector<AirplaneRecord>& records)
{
    Database d(path);
    Exec(d.db,
        "CREATE TABLE Airplane(Type TEXT, Airframe TEXT, Engine TEXT, DOW REAL, MTOW REAL, MLAW REAL,"
        " MZFW REAL, TCAP REAL, MaxAlt REAL, Mach REAL, aH1 REAL, bH1 REAL, aH2 REAL, bH2 REAL,"
        " MaxHold REAL, aC1 REAL, bC1 REAL, aC2 REAL, bC2 REAL, MinCruise REAL, MaxCruise REAL,"
        " aC3 REAL, bC3 REAL, Reference TEXT)");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(d.db, "INSERT INTO Airplane VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
        -1, &st, nullptr);
    for (const AirplaneRecord& r : records) {
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, r.type.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, r.airframe.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, r.engine.c_str(), -1, SQLITE_TRANSIENT);
        for (size_t i = 0; i < r.numbers.size(); ++i)
            sqlite3_bind_double(st, static_cast<int>(4 + i), r.numbers[i]);
        sqlite3_bind_text(st, 24, r.reference.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(st) != SQLITE_DONE)
            throw std::runtime_error("insert failed");
    }
    sqlite3_finalize(st);
}

void WriteAirportTable(const QString& path, const std::vector<AirportRecord>& records)
{
    Database d(path);
    Exec(d.db, "CREATE TABLE Airports(ICAO TEXT, elevation TEXT, Feld5 REAL, Feld6 REAL, name TEXT)");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(d.db, "INSERT INTO Airports VALUES(?,?,?,?,'')", -1, &st, nullptr);
    for (const AirportRecord& r : records) {
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, r.icao.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, r.elevation.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 3, r.latitude);
        sqlite3_bind_double(st, 4, r.longitude);
        if (sqlite3_step(st) != SQLITE_DONE)
            throw std::runtime_error("insert failed");
    }
    sqlite3_finalize(st);
}

TProgramDir::TProgramDir()
{
    QFile exe(executable());
    if (!exe.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the stand-in executable");
    const std::string record = EncodeVersionRecord(2, 10, 0, 7);
    exe.write("\x7f"
              "ELF stand-in ");
    exe.write(record.data(), static_cast<qint64>(record.size()));
    exe.write(" trailer");
}

void TProgramDir::writeAirplanes(const std::vector<AirplaneRecord>& records)
{
    WriteAirplaneTable(path(QStringLiteral("Airplane.DB")), records);
}

void TProgramDir::writeAirports(const std::vector<AirportRecord>& records)
{
    WriteAirportTable(path(QStringLiteral("Airports.DB")), records);
}

void TProgramDir::copyHelpFile()
{
    QFile::copy(QStringLiteral(MIROVAX_HELP_SOURCE), path(QStringLiteral("MRX_HELP.hlp")));
}

QStringList ResultLabels(QWidget* form)
{
    QStringList texts;
    for (int n = 12; n <= 30; ++n)
        texts << form->findChild<QWidget*>(QStringLiteral("ClientArea"))
                     ->findChild<QLabel*>(QStringLiteral("Label") + QString::fromStdString(std::to_string(n)))
                     ->text();
    return texts;
}

void WhenEventsRun(const std::function<void()>& fn)
{
    QTimer::singleShot(0, fn);
}

} // namespace mirovax::test
