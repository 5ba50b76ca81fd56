// A setup file named on the command line (what a double-click in the file
// manager does) is opened as Load Setup opens it when the window is first
// shown. The program's arguments are those of this test process, so main()
// starts the application with a setup file as its first argument.
#include "TestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>

#include <string>
#include <vector>

using namespace mirovax;
using namespace mirovax::test;

namespace {

QString g_setupPath;

} // namespace

class TestSetupCommandLine : public QObject {
    Q_OBJECT

private slots:
    void firstShowingLoadsTheFile();
    void aTypeTheTableLacksIsNotComputed();
};

void TestSetupCommandLine::firstShowingLoadsTheFile()
{
    TProgramDir dir;
    AirplaneRow heavy = TestJet("Heavy Jet");
    heavy.numbers["DOW"] = 41000; // kg: the zero fuel weight tells the airplanes apart
    heavy.numbers["MTOW"] = 300000; // kg
    dir.writeAirplanes({TestJet(), heavy});
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    QCOMPARE(form.StartParamCount(), 2);
    QVERIFY(!form.SetupChanged());
    QCOMPARE(Child<QLineEdit>(&form, "Edit1")->text(), QStringLiteral("KSFO"));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(dialogs.messageCount(), 0);
    QCOMPARE(Child<QLineEdit>(&form, "Edit1")->text(), QStringLiteral("EDDF"));
    // The file's airplane is loaded, and the file's allowable weights come
    // back after that load.
    QCOMPARE(Child<QComboBox>(&form, "AirplaneSelector")->currentText(), QStringLiteral("Heavy Jet"));
    QCOMPARE(form.MissionData().MTOW, 300000.0);
    QCOMPARE(Child<QLineEdit>(&form, "Edit14")->text(), QStringLiteral("65000"));
    QCOMPARE(Child<QLineEdit>(&form, "Edit15")->text(), QStringLiteral("55000"));
    QVERIFY(Child<QGroupBox>(&form, "RouteBox")->isEnabled());
    QCOMPARE(Child<QComboBox>(&form, "RegulationSelector")->currentText(), QStringLiteral("JAA"));
    QCOMPARE(
        Child<QStatusBar>(&form, "StatusBar1")->currentMessage(), QStringLiteral("File: ") + g_setupPath);
    QVERIFY(!Child<QPushButton>(&form, "ViewReportButton")->isEnabled());
    QCOMPARE(ResultLabels(&form).join(QString()), QString());
    QVERIFY(!form.SetupChanged());
    QCOMPARE(form.SetupOpenDialogFileName(), g_setupPath);

    // A run computes the file's airplane; the report's last row names the
    // file.
    QTest::mouseClick(Child<QPushButton>(&form, "ExecuteButton"), Qt::LeftButton);
    QVERIFY(Child<QPushButton>(&form, "ViewReportButton")->isEnabled());
    QCOMPARE(ResultLabels(&form).at(16), QStringLiteral("50000 kg")); // Label28: 41000 + 9000
    QTest::mouseClick(Child<QPushButton>(&form, "ViewReportButton"), Qt::LeftButton);
    const QStringList lines = Child<QTextEdit>(&form, "RichEdit")->toPlainText().split(QChar(u'\n'));
    QVERIFY(lines.contains(QStringLiteral("From:\tEDDF\tTo:\tLFPG")));
    QCOMPARE(lines.last(), QStringLiteral("File: ") + g_setupPath);
    QTest::mouseClick(Child<QPushButton>(&form, "ReportDoneButton"), Qt::LeftButton);

    // Showing the window again loads nothing more.
    Child<QLineEdit>(&form, "Edit1")->setText(QStringLiteral("LFPG"));
    form.hide();
    form.show();
    QCOMPARE(Child<QLineEdit>(&form, "Edit1")->text(), QStringLiteral("LFPG"));
}

// The same file where the table lacks its type: the fields as in the file,
// no panel, and Execute refused, not run with the first record's airplane.
void TestSetupCommandLine::aTypeTheTableLacksIsNotComputed()
{
    TProgramDir dir;
    dir.writeAirplanes({TestJet()});
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(Child<QComboBox>(&form, "AirplaneSelector")->currentText(), QStringLiteral("Heavy Jet"));
    QCOMPARE(Child<QLineEdit>(&form, "Edit14")->text(), QStringLiteral("65000"));
    QCOMPARE(Child<QLabel>(&form, "Label1")->text(), QString());
    const QString message
        = QStringLiteral("Airplane type \"Heavy Jet\" is not in the airplane table: pick one from the list");
    QCOMPARE(Child<QStatusBar>(&form, "StatusBar1")->currentMessage(),
        QStringLiteral("File: ") + g_setupPath + QStringLiteral("  ") + message);
    QVERIFY(!form.SetupChanged());
    QTest::mouseClick(Child<QPushButton>(&form, "ExecuteButton"), Qt::LeftButton);
    QCOMPARE(dialogs.warnings, QStringList{message});
    QCOMPARE(ResultLabels(&form).join(QString()), QString());
}

int main(int argc, char** argv)
{
    QTemporaryDir files;
    g_setupPath = files.filePath(QStringLiteral("from command line.mrx"));
    {
        QFile f(g_setupPath);
        if (!f.open(QIODevice::WriteOnly))
            return 2;
        f.write("EDDF\r\nLFPG\r\n243\r\n9000\r\n290\r\n-40\r\n-15\r\nEGLL\r\n83\r\n21\r\n30\r\n2000\r\n5\r\n"
                "65000\r\n55000\r\nHeavy Jet\r\nJAA\r\n");
    }
    // The program sees the setup file first and a further argument it
    // ignores; the test runner sees its own arguments.
    std::string setupArg = g_setupPath.toStdString();
    std::string ignored = "ignored.mrx";
    std::vector<char*> programArgs = {argv[0], setupArg.data(), ignored.data()};
    int programArgc = static_cast<int>(programArgs.size());
    QApplication app(programArgc, programArgs.data());
    TestSetupCommandLine test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_setup_command_line.moc"
