#pragma once

#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/MainUnit.h"

#include "form/fields.h"
#include "test_support.h"

#include <QApplication>
#include <QStringList>
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
    // The list is kept; the answer is itemAnswer (the first item unless set).
    int chooseItem(QWidget*, const QString&, const QStringList& items) override
    {
        itemLists.push_back(items);
        return itemAnswer;
    }

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
    std::vector<QStringList> itemLists;
    int itemAnswer = 0;
    std::function<bool(QPrinter&)> printerAnswer;
};

// The tables and airplanes every test program shares.
using mirovax::testing::AirplaneRow;
using mirovax::testing::AirportRow;
using mirovax::testing::BayAreaAirports;
using mirovax::testing::HeavyJet;
using mirovax::testing::TestJet;

// A directory standing in for the program's own: a file "mirovax" carrying
// a version record, and whatever tables the test writes beside it.
class TProgramDir {
public:
    TProgramDir();
    QString path(const QString& name) const { return QString::fromStdString(m_dir.file(name.toStdString())); }
    QString executable() const { return path(QStringLiteral("mirovax")); }
    void writeAirplanes(const std::vector<AirplaneRow>& records);
    void writeAirports(const std::vector<AirportRow>& records);
    void copyHelpFile();

private:
    mirovax::testing::ScratchDir m_dir{"mirovax-window"};
};

// A main window of its own for each test: a program directory with the
// tables the tests fly, and dialogs that answer without showing. A test's
// init() starts it (QVERIFY(start())), its cleanup() stops it.
struct TWindowUnderTest {
    bool start(const std::vector<AirplaneRow>& airplanes = {TestJet(), HeavyJet()});
    void stop();

    std::unique_ptr<TProgramDir> dir;
    std::unique_ptr<TScriptedDialogs> dialogs;
    std::unique_ptr<TMainForm> form;
};

// Picks the item of a selector as the user does, so that its reaction runs.
void PickItem(QWidget* form, const char* selectorName, const QString& text);

// Helpers over the real widgets, found by their names.
template <class T> T* Child(QWidget* form, const char* name)
{
    return form->findChild<T*>(QString::fromLatin1(name));
}

// The edit of an entry field, found by the field table's control name.
TEdit* Edit(QWidget* form, Field field);

// Label12 to Label30, in order.
QStringList ResultLabels(QWidget* form);

// The texts of the window's fifteen fields.
FieldTexts EntryTexts(QWidget* form);

// Runs fn once the next nested event loop or event yield is reached.
void WhenEventsRun(const std::function<void()>& fn);

} // namespace mirovax::test

// Field as a column of a data-driven test.
Q_DECLARE_METATYPE(mirovax::Field)
