// The window on an installed tree: started from the link in bin, as the
// program resolves it, it must find the tables, the help file and its own
// version record in the program directory, load an airplane and solve.
//
// MIROVAX_INSTALLED_BIN names the bin directory of the installed tree.
#include "refdata/table_store.h"
#include "ui/Dialogs.h"
#include "ui/MainUnit.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <memory>

using namespace mirovax;

namespace {

// Records every box instead of showing it: on an installed tree none may
// appear.
class TRecordingDialogs : public IDialogs {
public:
    void informationSound() override { }
    void warning(QWidget*, const QString& text) override { messages << QStringLiteral("warning: ") + text; }
    TAnswer question(QWidget*, const QString& text) override
    {
        messages << QStringLiteral("question: ") + text;
        return TAnswer::No;
    }
    void error(QWidget*, const QString& text) override { messages << QStringLiteral("error: ") + text; }
    FileChoice openFile(QWidget*, const FileDialogSpec& spec) override
    {
        messages << QStringLiteral("open dialog: ") + spec.name;
        return {};
    }
    FileChoice saveFile(QWidget*, const FileDialogSpec& spec) override
    {
        messages << QStringLiteral("save dialog: ") + spec.name;
        return {};
    }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    int chooseItem(QWidget*, const QString& text, const QStringList&) override
    {
        messages << QStringLiteral("choice: ") + text;
        return -1;
    }

    QStringList messages;
};

} // namespace

class TestInstalledWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithItsTablesAndAnAirplane();
    void solvesTheBuiltInEntries();

private:
    template <class T> T* child(const char* name) const
    {
        T* found = m_form->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr)
            qFatal("no control named %s", name);
        return found;
    }

    QString m_programDir; // the installed program directory, with a trailing '/'
    std::unique_ptr<TRecordingDialogs> m_dialogs;
    std::unique_ptr<TMainForm> m_form;
};

void TestInstalledWindow::init()
{
    const QString bin = qEnvironmentVariable("MIROVAX_INSTALLED_BIN");
    QVERIFY2(!bin.isEmpty(), "MIROVAX_INSTALLED_BIN is not set");
    const QFileInfo link(QDir(bin).filePath(QStringLiteral("mirovax")));
    QVERIFY2(link.isSymLink(), qPrintable(link.filePath() + QStringLiteral(" is not a link")));
    // The path the running program gets for itself: the link resolved.
    const QString executable = link.canonicalFilePath();
    QVERIFY2(!executable.isEmpty(), qPrintable(link.filePath() + QStringLiteral(" points nowhere")));
    QVERIFY2(executable.endsWith(QStringLiteral("/lib/mirovax/mirovax")), qPrintable(executable));
    m_programDir = QFileInfo(executable).absolutePath() + QLatin1Char('/');

    m_dialogs = std::make_unique<TRecordingDialogs>();
    m_form = std::make_unique<TMainForm>(*m_dialogs, executable);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestInstalledWindow::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
}

void TestInstalledWindow::startsWithItsTablesAndAnAirplane()
{
    QCOMPARE(m_dialogs->messages, QStringList());
    QCOMPARE(m_form->ProgramDir(), m_programDir);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Mirovax - Version: " MIROVAX_VERSION));
    QVERIFY(QFileInfo(m_form->HelpFile()).isFile());

    // The airplane shown is the first of the installed table, with its
    // constants in the mission record.
    TTable airplanes;
    airplanes.Open((m_programDir + QString::fromLatin1(kAirplaneTableName)).toStdString());
    airplanes.First();
    const std::string type = airplanes.FieldAsString("Type");
    auto* selector = child<QComboBox>("AirplaneSelector");
    QVERIFY(selector->isEnabled());
    QVERIFY(selector->count() >= 1);
    QCOMPARE(selector->currentText(), QString::fromStdString(type));
    const TMissionData& md = m_form->MissionData();
    QCOMPARE(md.MTOW, airplanes.FieldAsFloat("MTOW"));
    QCOMPARE(md.DOW, airplanes.FieldAsFloat("DOW"));
    QCOMPARE(md.Airframe, airplanes.FieldAsString("Airframe"));

    // The airport table is open: its buttons are enabled.
    QVERIFY(child<QPushButton>("CalculateDistanceButton")->isEnabled());
    QVERIFY(child<QPushButton>("AlternateDataButton")->isEnabled());
}

void TestInstalledWindow::solvesTheBuiltInEntries()
{
    child<QPushButton>("CalculateDistanceButton")->click();
    child<QPushButton>("ExecuteButton")->click();
    QCOMPARE(m_dialogs->messages, QStringList());
    QVERIFY(child<QPushButton>("ViewReportButton")->isEnabled());
    QVERIFY(m_form->MissionData().TripDistance > 0);
    QVERIFY(m_form->MissionData().TripFuel > 0);
}

QTEST_MAIN(TestInstalledWindow)
#include "test_installed_window.moc"
