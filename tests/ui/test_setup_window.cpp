// Setup files through the window: Load Setup, Save Setup, the bytes on disk
// and the offer to save changes on closing.
#include "TestSupport.h"

#include "engine/text_format.h"
#include "flightplan/flight_plan.h"
#include "ui/CompareForm.h"
#include "ui/Controls.h"
#include "ui/LimitsForm.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace mirovax;
using namespace mirovax::test;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Seventeen lines of a setup that differs from the start-up texts in every
// line, joined with the given line end.
QByteArray OtherSetup(const QByteArray& lineEnd)
{
    const QList<QByteArray> lines = {"EDDF", "LFPG", "243", "9000", "290", "-40", "-15", "EGLL", "83", "21",
        "30", "2000", "5", "65000", "55000", "Heavy Jet", "JAA"};
    return lines.join(lineEnd) + lineEnd;
}

} // namespace

class TestSetupWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void savedRightAfterStartUp();
    void extensionCompletion_data();
    void extensionCompletion();
    void saveThenLoadRoundTrips();
    void loadKeepsTheFileAllowableWeights_data();
    void loadKeepsTheFileAllowableWeights();
    void menuToolBarAndShortcutsReachTheCommands();
    void lineEndsAndExtraLines_data();
    void lineEndsAndExtraLines();
    void unlistedRegulationsKeepTheFileValues();
    void unlistedAirplaneComputesNothing();
    void tooFewLines_data();
    void tooFewLines();
    void unreadableFiles_data();
    void unreadableFiles();
    void failedSaveKeepsTheOldFileAndTheFlag_data();
    void failedSaveKeepsTheOldFileAndTheFlag();
    void cancelledSaveWritesNothing();

    void closeWithoutChanges();
    void offerToSaveChanges_data();
    void offerToSaveChanges();
    void escapeCancelsTheRealQuestion();
    void closeWhenTheWriteFails();
    void flightPlansOpenAndDrop();

private:
    QComboBox* combo(const char* name) const { return Child<QComboBox>(m_form.get(), name); }
    QString file(const QString& name) const { return m_files.filePath(name); }
    // The seventeen texts the window would save.
    QStringList windowTexts() const;
    void saveAs(const QString& path, int filterIndex = 1);
    void loadFrom(const QString& path);

    std::unique_ptr<TProgramDir> m_dir;
    QTemporaryDir m_files;
    std::unique_ptr<TScriptedDialogs> m_dialogs;
    std::unique_ptr<TMainForm> m_form;
};

void TestSetupWindow::init()
{
    m_dir = std::make_unique<TProgramDir>();
    m_dir->writeAirplanes({TestJet(), HeavyJet()});
    m_dialogs = std::make_unique<TScriptedDialogs>();
    m_form = std::make_unique<TMainForm>(*m_dialogs, m_dir->executable());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestSetupWindow::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_dir.reset();
    for (const QString& name :
        QDir(m_files.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile::setPermissions(file(name), QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(file(name));
    }
}

QStringList TestSetupWindow::windowTexts() const
{
    QStringList texts;
    for (const FieldSpec& spec : Fields())
        texts << Edit(m_form.get(), spec.field)->text();
    texts << combo("AirplaneSelector")->currentText() << combo("RegulationSelector")->currentText();
    return texts;
}

void TestSetupWindow::saveAs(const QString& path, int filterIndex)
{
    m_dialogs->files.push_back({path, filterIndex});
    m_form->SaveSetup1Click();
}

void TestSetupWindow::loadFrom(const QString& path)
{
    m_dialogs->files.push_back({path, 1});
    m_form->LoadSetup1Click();
}

void TestSetupWindow::savedRightAfterStartUp()
{
    QVERIFY(!m_form->SetupChanged());
    saveAs(file(QStringLiteral("start")));
    QCOMPARE(m_dialogs->fileDialogs, QStringList{QStringLiteral("SetupSaveDialog")});
    QCOMPARE(m_dialogs->messageCount(), 0);
    QCOMPARE(ReadAll(file(QStringLiteral("start.mrx"))),
        QByteArray(
            "KSFO\r\nKBFI\r\n594\r\n12000\r\n310\r\n-46\r\n0\r\nKSEA\r\n433\r\n5\r\n45\r\n1500\r\n0\r\n"
            "70000\r\n60000\r\nTest Jet\r\nFAR Domestic\r\n"));
    QVERIFY(!m_form->SetupChanged());
}

void TestSetupWindow::extensionCompletion_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "plan" << 1 << "plan.mrx";
    QTest::newRow("own extension") << "plan.MRX" << 1 << "plan.MRX";
    QTest::newRow("other extension") << "plan.txt" << 1 << "plan.txt";
    QTest::newRow("trailing dot") << "plan." << 1 << "plan.";
    QTest::newRow("other file type") << "plan" << 2 << "plan";
}

void TestSetupWindow::extensionCompletion()
{
    QFETCH(QString, typed);
    QFETCH(int, filterIndex);
    QFETCH(QString, written);
    saveAs(file(typed), filterIndex);
    QCOMPARE(QDir(m_files.path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(m_dialogs->keptFileNames, QStringList{file(written)});
    // A dot in a directory name is no extension of the file.
    QVERIFY(QDir(m_files.path()).mkpath(QStringLiteral("v1.2")));
    saveAs(file(QStringLiteral("v1.2/") + typed), filterIndex);
    QVERIFY(QFile::exists(file(QStringLiteral("v1.2/") + written)));
    QVERIFY(QDir(file(QStringLiteral("v1.2"))).removeRecursively());
}

void TestSetupWindow::saveThenLoadRoundTrips()
{
    const QString path = file(QStringLiteral("trip.mrx"));
    // Accented letters and the degree sign travel as single Windows-1252
    // bytes; the airplane is picked as the user does.
    Edit(m_form.get(), Field::From)->setText(QStringLiteral("EDDF"));
    Edit(m_form.get(), Field::Alternate)->setText(QStringLiteral("Zürich 5°"));
    Edit(m_form.get(), Field::Oat)->setText(QStringLiteral("-12"));
    QComboBox* airplanes = combo("AirplaneSelector");
    airplanes->setCurrentIndex(airplanes->findText(QStringLiteral("Heavy Jet")));
    emit airplanes->textActivated(QStringLiteral("Heavy Jet"));
    combo("RegulationSelector")->setEditText(QStringLiteral("ICAO"));
    QCOMPARE(Edit(m_form.get(), Field::Matow)->text(), QStringLiteral("300000"));
    Edit(m_form.get(), Field::Matow)->setText(QStringLiteral("250000"));
    QVERIFY(m_form->SetupChanged());
    const QStringList saved = windowTexts();
    saveAs(path);
    QVERIFY(!m_form->SetupChanged());
    QVERIFY(ReadAll(path).contains("\nZ\xdcRICH 5\xb0\r\n"));

    // Change everything, run a calculation, pick another mode, then load.
    for (const FieldSpec& spec : Fields()) {
        if (spec.field != Field::Matow && spec.field != Field::Malw)
            Edit(m_form.get(), spec.field)->setText(QStringLiteral("1"));
    }
    airplanes->setCurrentIndex(airplanes->findText(QStringLiteral("Test Jet")));
    emit airplanes->textActivated(QStringLiteral("Test Jet"));
    combo("RegulationSelector")->setEditText(QStringLiteral("JAA"));
    QComboBox* mode = combo("ModeSelector");
    mode->setCurrentIndex(2);
    emit mode->textActivated(mode->itemText(2));
    m_form->findChild<QGroupBox*>(QStringLiteral("RouteBox"))->setEnabled(false);

    // Answering No to the offer to save the changes loads the file.
    m_dialogs->answers.push_back(TAnswer::No);
    loadFrom(path);
    QCOMPARE(m_dialogs->questions, QStringList{QStringLiteral("Setup has been changed. Save changes?")});
    QCOMPARE(m_dialogs->messageCount(), 1);
    QCOMPARE(m_form->SetupOpenDialogFileName(), path);
    // The file's airplane is loaded, and its MATOW of 250000 kg comes back
    // after that load preset the structural 300000 kg.
    QCOMPARE(windowTexts(), saved);
    QCOMPARE(m_form->MissionData().MTOW, 300000.0);
    QVERIFY(!m_form->SetupChanged());
    QCOMPARE(
        Child<QStatusBar>(m_form.get(), "StatusBar1")->currentMessage(), QStringLiteral("File: ") + path);
    QVERIFY(m_form->findChild<QGroupBox*>(QStringLiteral("RouteBox"))->isEnabled());
    QVERIFY(!Child<QPushButton>(m_form.get(), "ViewReportButton")->isEnabled());
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    QCOMPARE(mode->currentText(), QStringLiteral("Maximum Range"));

    // Saved again, the file is the same byte for byte.
    const QByteArray first = ReadAll(path);
    saveAs(path);
    QCOMPARE(ReadAll(path), first);
}

void TestSetupWindow::loadKeepsTheFileAllowableWeights_data()
{
    QTest::addColumn<QByteArray>("matow");
    QTest::addColumn<QByteArray>("malw");
    QTest::addColumn<QString>("edit14");
    QTest::addColumn<QString>("edit15");
    QTest::addColumn<QString>("note"); // after the path in the status bar
    // Test Jet: MTOW 70000 kg, MLAW 60000 kg.
    QTest::newRow("within the limits") << QByteArray("60000") << QByteArray("55000") << "60000"
                                       << "55000"
                                       << "";
    QTest::newRow("equal to the limits") << QByteArray("70000") << QByteArray("60000") << "70000"
                                         << "60000"
                                         << "";
    QTest::newRow("1 kg above") << QByteArray("70001") << QByteArray("55000") << "70000"
                                << "55000"
                                << "  Line 14 (MATOW) of the setup file, 70001 kg, exceeds the Maximum "
                                   "Structural Takeoff Weight of 70000 kg, which stays.";
    QTest::newRow("not a number") << QByteArray("60000") << QByteArray("5S000") << "60000"
                                  << "60000"
                                  << "  Line 15 (MALW) of the setup file, \"5S000\", is not a number: the "
                                     "Maximum Structural Landing Weight of 60000 kg stays.";
}

// Loading the file's airplane presets the structural weights; the file's own
// come back where they fit, and the setup counts as unchanged when every
// field holds the file's text.
void TestSetupWindow::loadKeepsTheFileAllowableWeights()
{
    QFETCH(QByteArray, matow);
    QFETCH(QByteArray, malw);
    QFETCH(QString, edit14);
    QFETCH(QString, edit15);
    QFETCH(QString, note);
    QByteArray bytes = OtherSetup("\r\n");
    bytes.replace("65000\r\n55000\r\nHeavy Jet", matow + "\r\n" + malw + "\r\nTest Jet");
    const QString path = file(QStringLiteral("weights.mrx"));
    WriteAll(path, bytes);
    // Heavy Jet first, so that the load changes the airplane.
    QComboBox* airplanes = combo("AirplaneSelector");
    emit airplanes->textActivated(QStringLiteral("Heavy Jet"));
    m_form->SetSetupChanged(false);
    loadFrom(path);
    QCOMPARE(m_form->MissionData().MTOW, 70000.0);
    QCOMPARE(Edit(m_form.get(), Field::Matow)->text(), edit14);
    QCOMPARE(Edit(m_form.get(), Field::Malw)->text(), edit15);
    QCOMPARE(Child<QStatusBar>(m_form.get(), "StatusBar1")->currentMessage(),
        QStringLiteral("File: ") + path + note);
    QCOMPARE(m_form->SetupChanged(), !note.isEmpty());
    QCOMPARE(m_dialogs->messageCount(), 0);
}

void TestSetupWindow::menuToolBarAndShortcutsReachTheCommands()
{
    const QString path = file(QStringLiteral("cmd.mrx"));
    m_dialogs->files.push_back({path, 1});
    Child<QAction>(m_form.get(), "SaveSetup1")->trigger();
    QVERIFY(QFile::exists(path));
    m_dialogs->files.push_back({path, 1});
    Child<QToolButton>(m_form.get(), "ToolButton3")->click();
    m_dialogs->files.push_back({path, 1});
    Child<QAction>(m_form.get(), "LoadSetup1")->trigger();
    m_dialogs->files.push_back({path, 1});
    Child<QToolButton>(m_form.get(), "ToolButton2")->click();
    QTest::keyClick(m_form.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(m_form.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(m_dialogs->fileDialogs,
        QStringList({QStringLiteral("SetupSaveDialog"), QStringLiteral("SetupSaveDialog"),
            QStringLiteral("SetupOpenDialog"), QStringLiteral("SetupOpenDialog"),
            QStringLiteral("SetupSaveDialog"), QStringLiteral("SetupOpenDialog")}));
    QCOMPARE(m_dialogs->messageCount(), 0);
}

void TestSetupWindow::lineEndsAndExtraLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << OtherSetup("\r\n");
    QTest::newRow("LF") << OtherSetup("\n");
    QTest::newRow("CR") << OtherSetup("\r");
    QTest::newRow("no break at the end") << OtherSetup("\r\n").chopped(2);
    QTest::newRow("more than 17 lines") << OtherSetup("\n") + "line 18\nline 19\n";
    QTest::newRow("NUL ends the text") << OtherSetup("\r\n") + QByteArray("\0garbage\r\n", 10);
}

void TestSetupWindow::lineEndsAndExtraLines()
{
    QFETCH(QByteArray, bytes);
    const QString path = file(QStringLiteral("ends.mrx"));
    WriteAll(path, bytes);
    Edit(m_form.get(), Field::FlightLevel)->setText(QStringLiteral("330"));
    m_form->LoadSetupFile(path);
    QCOMPARE(m_dialogs->messageCount(), 0);
    QStringList expected;
    for (const QByteArray& line : OtherSetup("\n").split('\n').mid(0, 17))
        expected << QString::fromLatin1(line);
    QCOMPARE(windowTexts(), expected);
    // The file's airplane is shown, not loaded; no preset overwrote the file.
    QCOMPARE(m_form->MissionData().MTOW, 70000.0);
    QVERIFY(!m_form->SetupChanged());
}

void TestSetupWindow::unlistedRegulationsKeepTheFileValues()
{
    QByteArray bytes = OtherSetup("\r\n");
    bytes.replace("JAA\r\n", "Military\r\n");
    const QString path = file(QStringLiteral("mil.mrx"));
    WriteAll(path, bytes);
    loadFrom(path);
    QCOMPARE(combo("RegulationSelector")->currentText(), QStringLiteral("Military"));
    QCOMPARE(Edit(m_form.get(), Field::HoldingTime)->text(), QStringLiteral("30"));
    QCOMPARE(Edit(m_form.get(), Field::Contingency)->text(), QStringLiteral("5"));
}

// A file naming a type the table lacks: every field as in the file, the
// Airplane Data panel blank, and nothing computed with the airplane loaded
// before, until a listed type is chosen.
void TestSetupWindow::unlistedAirplaneComputesNothing()
{
    QByteArray bytes = OtherSetup("\r\n");
    bytes.replace("Heavy Jet", "B777-9X");
    const QString path = file(QStringLiteral("unlisted.mrx"));
    WriteAll(path, bytes);
    m_form->Limits1Click();
    m_form->PayloadRange1Click();
    m_form->Compare1Click();
    m_form->ExecuteButtonClick();
    QVERIFY(m_form->LastRun());

    loadFrom(path);
    const QString message
        = QStringLiteral("Airplane type \"B777-9X\" is not in the airplane table: pick one from the list");
    QStringList expected;
    for (const QByteArray& line : OtherSetup("\n").replace("Heavy Jet", "B777-9X").split('\n').mid(0, 17))
        expected << QString::fromLatin1(line);
    QCOMPARE(windowTexts(), expected);
    QVERIFY(!m_form->SetupChanged());
    QStatusBar* status = Child<QStatusBar>(m_form.get(), "StatusBar1");
    QCOMPARE(status->currentMessage(), QStringLiteral("File: ") + path + QStringLiteral("  ") + message);
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(
            Child<QLabel>(m_form.get(), qPrintable(QStringLiteral("Label%1").arg(n)))->text(), QString());
    QCOMPARE(m_dialogs->messageCount(), 0);

    // Every computation refuses with the message and changes nothing.
    m_form->ExecuteButtonClick();
    QCOMPARE(m_dialogs->warnings, QStringList{message});
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    QVERIFY(!m_form->LastRun());
    m_form->DispatchSheet1Click();
    QCOMPARE(m_dialogs->warnings.size(), 2);
    QCOMPARE(m_form->LimitsForm()->Message(), message);
    QCOMPARE(m_form->PayloadRangeForm()->Message(), message);
    QCOMPARE(m_form->CompareForm()->Message(), message);
    // The previous airplane's limits cap no field.
    Edit(m_form.get(), Field::FlightLevel)->setText(QStringLiteral("500"));
    m_form->LeaveField(Field::FlightLevel);
    Edit(m_form.get(), Field::Matow)->setText(QStringLiteral("400000"));
    m_form->LeaveField(Field::Matow);
    QCOMPARE(Edit(m_form.get(), Field::FlightLevel)->text(), QStringLiteral("500"));
    QCOMPARE(Edit(m_form.get(), Field::Matow)->text(), QStringLiteral("400000"));
    QCOMPARE(m_dialogs->warnings.size(), 2);
    QStringList capped = expected;
    capped[4] = QStringLiteral("500");
    capped[5] = Edit(m_form.get(), Field::Oat)->text();
    capped[13] = QStringLiteral("400000");
    QCOMPARE(windowTexts(), capped);

    // Save Setup keeps the file's type.
    const QString saved = file(QStringLiteral("saved.mrx"));
    saveAs(saved);
    QVERIFY(ReadAll(saved).contains("\r\nB777-9X\r\nJAA\r\n"));

    // A listed type ends it: its panel, its structural weights, the file's
    // status without the message, and a run of its own.
    PickItem(m_form.get(), "AirplaneSelector", QStringLiteral("Heavy Jet"));
    QCOMPARE(Child<QLabel>(m_form.get(), "Label4")->text(), QStringLiteral("300000 kg"));
    QCOMPARE(status->currentMessage(), QStringLiteral("File: ") + path);
    Edit(m_form.get(), Field::FlightLevel)->setText(QStringLiteral("290"));
    m_form->ExecuteButtonClick();
    QCOMPARE(m_dialogs->warnings.size(), 2);
    QVERIFY(m_form->LastRun());
    QCOMPARE(m_form->LastRun()->md.Type, std::string("Heavy Jet"));
    QVERIFY(m_form->LimitsForm()->Message() != message);
    QVERIFY(m_form->CompareForm()->Message() != message);
}

void TestSetupWindow::tooFewLines_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("empty file") << 0;
    QTest::newRow("5 lines") << 5;
    QTest::newRow("16 lines") << 16;
}

void TestSetupWindow::tooFewLines()
{
    QFETCH(int, lines);
    const QList<QByteArray> all = OtherSetup("\n").split('\n');
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += all[i] + "\r\n";
    const QString path = file(QStringLiteral("short.mrx"));
    WriteAll(path, bytes);
    const QStringList before = windowTexts();
    m_form->SetSetupChanged(false);
    loadFrom(path);

    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY2(m_dialogs->errors.front().contains(QStringLiteral("Line index %1 out of range").arg(lines)),
        qPrintable(m_dialogs->errors.front()));
    QStringList expected = before;
    for (int i = 0; i < lines && i < 15; ++i)
        expected[i] = QString::fromLatin1(all[i]);
    QCOMPARE(windowTexts(), expected);
    QCOMPARE(m_form->SetupChanged(), lines > 0);
    QCOMPARE(m_form->MissionData().MTOW, 70000.0);
    QVERIFY(Child<QStatusBar>(m_form.get(), "StatusBar1")->currentMessage().isEmpty());
}

void TestSetupWindow::unreadableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << "none.mrx" << QByteArray() << "Cannot open";
    QTest::newRow("directory") << "dir.mrx" << QByteArray() << "directory";
    QTest::newRow("huge") << "huge.mrx" << QByteArray(qsizetype{2} * 1024 * 1024, 'A') << "larger than";
    // An executable's header: the NUL ends the text after one line.
    static const char kBinary[] = "\x7f"
                                  "ELF\x02\x01\x01\0\0\0\n\n\n";
    QTest::newRow("binary") << "bin.mrx" << QByteArray(kBinary, sizeof kBinary - 1)
                            << "Line index 1 out of range";
}

void TestSetupWindow::unreadableFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    const QString path = file(name);
    if (name == QStringLiteral("dir.mrx"))
        QVERIFY(QDir(m_files.path()).mkdir(name));
    else if (!bytes.isEmpty())
        WriteAll(path, bytes);
    const QStringList before = windowTexts();
    m_form->findChild<QGroupBox*>(QStringLiteral("RouteBox"))->setEnabled(false);
    loadFrom(path);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY2(m_dialogs->errors.front().contains(says), qPrintable(m_dialogs->errors.front()));
    if (QTest::currentDataTag() != QByteArray("binary"))
        QCOMPARE(windowTexts(), before);
    else // the one line present went into Edit1
        QCOMPARE(windowTexts().mid(1), before.mid(1));
    QVERIFY(!m_form->findChild<QGroupBox*>(QStringLiteral("RouteBox"))->isEnabled());
    QVERIFY(Child<QStatusBar>(m_form.get(), "StatusBar1")->currentMessage().isEmpty());
    QDir(path).removeRecursively();
}

void TestSetupWindow::failedSaveKeepsTheOldFileAndTheFlag_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("edit1");
    QTest::addColumn<QString>("says");
    QTest::newRow("no such directory") << "nodir/x.mrx"
                                       << "EDDF"
                                       << "Cannot write";
    QTest::newRow("read-only file") << "old.mrx"
                                    << "EDDF"
                                    << "read-only";
    QTest::newRow("character outside the code page")
        << "old.mrx" << QString::fromUtf8("\u0141\u00d3D") << "U+0141";
}

void TestSetupWindow::failedSaveKeepsTheOldFileAndTheFlag()
{
    QFETCH(QString, name);
    QFETCH(QString, edit1);
    QFETCH(QString, says);
    const QString path = file(name);
    const QByteArray old = OtherSetup("\r\n");
    if (!name.contains(QLatin1Char('/'))) {
        WriteAll(path, old);
        if (QTest::currentDataTag() == QByteArray("read-only file"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    }
    Edit(m_form.get(), Field::From)->setText(edit1);
    QVERIFY(m_form->SetupChanged());
    saveAs(path);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY2(m_dialogs->errors.front().contains(says), qPrintable(m_dialogs->errors.front()));
    QVERIFY(m_form->SetupChanged());
    if (!name.contains(QLatin1Char('/')))
        QCOMPARE(ReadAll(path), old);
    QCOMPARE(QDir(m_files.path()).entryList(QDir::Files | QDir::Hidden).size(), name.contains('/') ? 0 : 1);
}

void TestSetupWindow::cancelledSaveWritesNothing()
{
    Edit(m_form.get(), Field::From)->setText(QStringLiteral("EDDF"));
    m_form->SaveSetup1Click(); // no file scripted: the dialog is cancelled
    QVERIFY(m_form->SetupChanged());
    QVERIFY(QDir(m_files.path()).isEmpty());
    m_form->LoadSetup1Click(); // No to saving, then the open dialog is cancelled
    QCOMPARE(Edit(m_form.get(), Field::From)->text(), QStringLiteral("EDDF"));
    QVERIFY(m_form->SetupOpenDialogFileName().isEmpty());
    QCOMPARE(m_dialogs->messageCount(), 1);
}

void TestSetupWindow::closeWithoutChanges()
{
    QVERIFY(m_form->close());
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(m_dialogs->sounds, 0);
}

void TestSetupWindow::offerToSaveChanges_data()
{
    QTest::addColumn<bool>("loading"); // Load Setup, otherwise closing
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs"); // empty: the save dialog is cancelled
    QTest::addColumn<bool>("goesOn");
    for (const bool loading : {false, true}) {
        const char* query = loading ? "load: " : "close: ";
        QTest::addRow("%sNo", query) << loading << int(TAnswer::No) << QString() << true;
        QTest::addRow("%sCancel", query) << loading << int(TAnswer::Cancel) << QString() << false;
        QTest::addRow("%sYes, save dialog cancelled", query)
            << loading << int(TAnswer::Yes) << QString() << false;
        QTest::addRow("%sYes and saved", query) << loading << int(TAnswer::Yes) << "saved" << true;
    }
}

// Closing the window and Load Setup offer to save changed entries first: No
// goes on without saving, Cancel stays, Yes saves and goes on only once
// saved.
void TestSetupWindow::offerToSaveChanges()
{
    QFETCH(bool, loading);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, goesOn);
    const QString other = file(QStringLiteral("other.MRX"));
    WriteAll(other, OtherSetup("\r\n"));
    Edit(m_form.get(), Field::Distance)->setText(QStringLiteral("600"));
    m_dialogs->answers.push_back(TAnswer(answer));
    if (TAnswer(answer) == TAnswer::Yes) // an empty choice cancels the save dialog
        m_dialogs->files.push_back({saveAs.isEmpty() ? QString() : file(saveAs), 1});
    if (loading) {
        m_dialogs->files.push_back({other, 1});
        m_form->LoadSetup1Click();
        QCOMPARE(Edit(m_form.get(), Field::From)->text(),
            goesOn ? QStringLiteral("EDDF") : QStringLiteral("KSFO"));
    } else {
        QCOMPARE(m_form->close(), goesOn);
        QCOMPARE(m_form->isVisible(), !goesOn);
    }
    QCOMPARE(m_dialogs->questions, QStringList{QStringLiteral("Setup has been changed. Save changes?")});
    QCOMPARE(m_dialogs->sounds, 1);
    QStringList dialogs;
    if (TAnswer(answer) == TAnswer::Yes)
        dialogs << QStringLiteral("SetupSaveDialog");
    if (loading && goesOn)
        dialogs << QStringLiteral("SetupOpenDialog");
    QCOMPARE(m_dialogs->fileDialogs, dialogs);
    if (!saveAs.isEmpty())
        QVERIFY(ReadAll(file(saveAs + QStringLiteral(".mrx"))).startsWith("KSFO\r\nKBFI\r\n600\r\n"));
    QCOMPARE(m_form->SetupChanged(), !(!saveAs.isEmpty() || (loading && goesOn)));
}

// The real question box: Esc answers Cancel, on closing and on Load Setup.
void TestSetupWindow::escapeCancelsTheRealQuestion()
{
    TQtDialogs dialogs;
    TMainForm form(dialogs, m_dir->executable());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.findChild<TEdit*>(QStringLiteral("Edit3"))->setText(QStringLiteral("600"));
    for (const bool loading : {false, true}) {
        // Esc on the question box; any dialog after it is recorded and shut.
        QStringList seen;
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [&seen] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen << box->text();
                QTest::keyClick(box, Qt::Key_Escape);
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                seen << dialog->objectName();
                dialog->reject();
            }
        });
        answerer.start(20);
        if (loading)
            form.LoadSetup1Click();
        else
            QVERIFY(!form.close());
        answerer.stop();
        QCOMPARE(seen, QStringList{QStringLiteral("Setup has been changed. Save changes?")});
        QVERIFY(form.isVisible());
        QVERIFY(form.SetupChanged());
        QCOMPARE(form.findChild<TEdit*>(QStringLiteral("Edit3"))->text(), QStringLiteral("600"));
    }
}

void TestSetupWindow::closeWhenTheWriteFails()
{
    Edit(m_form.get(), Field::Distance)->setText(QStringLiteral("600"));
    m_dialogs->answers.push_back(TAnswer::Yes);
    m_dialogs->files.push_back({file(QStringLiteral("nodir/x.mrx")), 1});
    QVERIFY(!m_form->close());
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_form->SetupChanged());
    // Asked again, the user can save elsewhere and leave.
    m_dialogs->answers.push_back(TAnswer::Yes);
    m_dialogs->files.push_back({file(QStringLiteral("x.mrx")), 1});
    QVERIFY(m_form->close());
    QVERIFY(QFile::exists(file(QStringLiteral("x.mrx"))));
}

MIROVAX_WINDOW_TEST_MAIN(TestSetupWindow)
// A flight plan fills the route as typing would (an edit to offer to
// save), the status bar names it; a file that is no plan changes nothing and
// its error names it; a dropped setup file opens as Load Setup opens it, the
// offer to save first, and a dropped plan as Open Flight Plan.
void TestSetupWindow::flightPlansOpenAndDrop()
{
    const QString plan = file(QStringLiteral("route.fms"));
    {
        QFile out(plan);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("I\n1100 Version\nCYCLE 2301\nADEP KSFO\nADES KBFI\nNUMENR 3\n"
                  "1 KSFO ADEP 13.000000 37.618999 -122.375000\n"
                  "3 OAK DRCT 35000.000000 37.725 -122.223\n"
                  "1 KBFI ADES 21.000000 47.529999 -122.302002\n");
    }
    const QString broken = file(QStringLiteral("broken.fms"));
    {
        QFile out(broken);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("no plan at all\n");
    }
    const QString setup = file(QStringLiteral("saved.MRX"));
    saveAs(setup);
    const QStringList saved = windowTexts();

    m_dialogs->files.push_back({broken, 1});
    m_form->OpenFlightPlan1Click();
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY2(m_dialogs->errors.front().contains(broken), qPrintable(m_dialogs->errors.front()));
    QCOMPARE(windowTexts(), saved);
    QVERIFY(!m_form->SetupChanged());

    m_dialogs->files.push_back({plan, 1});
    m_form->OpenFlightPlan1Click();
    QCOMPARE(m_dialogs->errors.size(), 1);
    QCOMPARE(Edit(m_form.get(), Field::From)->text(), QStringLiteral("KSFO"));
    QCOMPARE(Edit(m_form.get(), Field::To)->text(), QStringLiteral("KBFI"));
    const std::string route = FormatRounded(RouteDistanceNm(ReadFlightPlan(plan.toStdString()).waypoints));
    QCOMPARE(Edit(m_form.get(), Field::Distance)->text(), QString::fromStdString(route));
    QVERIFY(m_form->SetupChanged());
    const QString status = Child<QStatusBar>(m_form.get(), "StatusBar1")->currentMessage();
    QVERIFY2(status.contains(plan) && status.contains(QStringLiteral("3 waypoints")), qPrintable(status));

    QVERIFY(m_form->acceptDrops());
    const auto drop = [this](const QString& path) { m_form->OpenDroppedFile(path); };
    m_dialogs->answers.push_back(TAnswer::No);
    drop(setup);
    QCOMPARE(m_dialogs->questions.size(), 1);
    QCOMPARE(windowTexts(), saved);
    QVERIFY(!m_form->SetupChanged());
    drop(plan);
    QCOMPARE(Edit(m_form.get(), Field::Distance)->text(), QString::fromStdString(route));
    QVERIFY(m_form->SetupChanged());
}

#include "test_setup_window.moc"
