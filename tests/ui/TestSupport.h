#pragma once

#include "ui/Dialogs.h"
#include "ui/MainUnit.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A window test's main(). The window opens the setup file named by the
// program's first argument; the test runner's own arguments (a test function
// to run, an output option) must not reach it, so the application sees the
// program name alone. Choose the platform with QT_QPA_PLATFORM.
#define MIROVAX_WINDOW_TEST_MAIN(TestObject)                                                                 \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        int programArgc = 1;                                                                                 \
        QApplication app(programArgc, argv);                                                                 \
        TestObject test;                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

namespace mirovax::test {

// Answers every box and dialog without showing it, and records what was asked.
class TScriptedDialogs : public IDialogs {
public:
    void informationSound() override { ++sounds; }
    void warning(QWidget*, const QString& text) override { warnings << text; }
    // The answers in order; No once they have run out.
    TAnswer question(QWidget*, const QString& text) override;
    void error(QWidget*, const QString& text) override { errors << text; }
    FileChoice openFile(QWidget*, const FileDialogSpec& spec) override;
    FileChoice saveFile(QWidget*, const FileDialogSpec& spec) override;
    // The print dialog: printerAnswer sets the printer up and confirms (true)
    // or cancels; without one the dialog is cancelled.
    bool choosePrinter(QWidget*, QPrinter& printer) override;
    void keepFileName(const FileDialogSpec&, const QString& path) override { keptFileNames << path; }

    int messageCount() const { return static_cast<int>(warnings.size() + errors.size() + questions.size()); }

    int sounds = 0;
    QStringList warnings;
    QStringList errors;
    QStringList questions;
    QStringList fileDialogs;
    QStringList keptFileNames;
    std::deque<TAnswer> answers;
    std::deque<FileChoice> files;
    // Every file dialog as it was asked for, in order.
    std::vector<FileDialogSpec> fileSpecs;
    int printDialogs = 0;
    std::function<bool(QPrinter&)> printerAnswer;
};

// One airplane record; the numbers in the table's field order.
struct AirplaneRecord {
    std::string type;
    std::string airframe;
    std::string engine;
    std::vector<double> numbers; // DOW ... bC3, 20 values
    std::string reference;
};

struct AirportRecord {
    std::string icao;
    std::string elevation;
    double latitude;
    double longitude;
};

// The airplane the window tests fly: the built-in entries of the window give
// valid results with it in every mode.
AirplaneRecord TestJet(const std::string& type = "Test Jet");

void WriteAirplaneTable(const QString& path, const std::vector<AirplaneRecord>& records);
void WriteAirportTable(const QString& path, const std::vector<AirportRecord>& records);

// The three airports of the window's built-in entries.
std::vector<AirportRecord> BayAreaAirports();

// A directory standing in for the program's own: a file "mirovax" carrying
// a version record, and whatever tables the test writes beside it.
class TProgramDir {
public:
    TProgramDir();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString executable() const { return path(QStringLiteral("mirovax")); }
    void writeAirplanes(const std::vector<AirplaneRecord>& records);
    void writeAirports(const std::vector<AirportRecord>& records);
    void copyHelpFile();

private:
    QTemporaryDir m_dir;
};

// Helpers over the real widgets, found by their names.
template <class T> T* Child(QWidget* form, const char* name)
{
    return form->findChild<T*>(QString::fromLatin1(name));
}

// Label12 to Label30, in order.
QStringList ResultLabels(QWidget* form);

// Runs fn once the next nested event loop or event yield is reached.
void WhenEventsRun(const std::function<void()>& fn);

} // namespace mirovax::test
