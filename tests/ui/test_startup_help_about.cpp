// Start-up with and without the tables, the version caption, help, the
// About box and the general error handler.
#include "TestSupport.h"

#include "ui/AboutUnit.h"
#include "ui/Controls.h"
#include "ui/FileVersion.h"
#include "ui/HelpViewer.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <functional>

using namespace mirovax;
using namespace mirovax::test;

class TestStartupHelpAbout : public QObject {
    Q_OBJECT

private slots:
    void fileVersion();
    void startWithoutTables();
    void startWithBothTables();
    void startWithAirportsOnly();
    void unreadableTableIsReportedAndStartUpGoesOn();
    void startUpKeepsTheDecimalPoint();
    void tablesAreFoundBesideTheExecutableNotInTheCurrentDirectory();
    void helpOpensAtTheContents();
    void backAndForwardFollowTheVisitedTopics();
    void missingHelpFileIsReportedByTheViewer();
    void aboutBoxShowsTheCaption();
    void exitClosesTheWindow();
    void dialogFilters();
};

namespace {

bool Enabled(QWidget* form, const char* name)
{
    return Child<QWidget>(form, name)->isEnabled();
}

// The control's own state, whatever its box's.
bool OwnEnabled(QWidget* form, const char* name)
{
    QWidget* control = Child<QWidget>(form, name);
    return control->isEnabledTo(control->parentWidget());
}

} // namespace

void TestStartupHelpAbout::fileVersion()
{
    TProgramDir dir;
    QCOMPARE(GetFileVersionString(dir.executable().toStdString()), std::string("2.10.0.7"));
    QCOMPARE(GetFileVersionString(dir.path(QStringLiteral("no such file")).toStdString()), std::string("-1"));
    // A directory is no file.
    QCOMPARE(GetFileVersionString(dir.path(QString()).toStdString()), std::string("-1"));
    QFile plain(dir.path(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("no record here");
    plain.close();
    QCOMPARE(GetFileVersionString(plain.fileName().toStdString()), std::string(""));
    // A marker cut short at the end of the file is no record.
    QFile cut(dir.path(QStringLiteral("cut.bin")));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    const std::string record = EncodeVersionRecord(1, 2, 3, 4);
    cut.write(record.data(), static_cast<qint64>(record.size() - 3));
    cut.close();
    QCOMPARE(GetFileVersionString(cut.fileName().toStdString()), std::string(""));
    // The program's own executable carries the project version.
    QCOMPARE(GetFileVersionString(MIROVAX_EXECUTABLE), std::string("1.0.1.0"));
}

void TestStartupHelpAbout::startWithoutTables()
{
    TProgramDir dir;
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    QCOMPARE(form.windowTitle(), QStringLiteral("Mirovax - Version: 2.10.0.7"));
    QCOMPARE(form.ProgramDir(), QFileInfo(dir.executable()).absolutePath() + QLatin1Char('/'));
    QCOMPARE(form.HelpFile(), form.ProgramDir() + QStringLiteral("MRX_HELP.hlp"));
    QCOMPARE(Child<QComboBox>(&form, "AirplaneSelector")->count(), 0);
    QCOMPARE(Child<QComboBox>(&form, "AirplaneSelector")->currentText(), QString());
    for (const char* name : {"RouteBox", "DataBox", "ControlBox", "ViewAirplaneDataButton",
             "CalculateDistanceButton", "AlternateDataButton"})
        QVERIFY2(!Enabled(&form, name), name);
    QVERIFY(Enabled(&form, "AirplaneSelector"));
    QCOMPARE(Child<QLineEdit>(&form, "Edit14")->text(), QStringLiteral("Edit14"));
    QCOMPARE(Child<QLineEdit>(&form, "Edit15")->text(), QStringLiteral("Edit15"));
    QCOMPARE(Child<QLabel>(&form, "Label1")->text(), QStringLiteral("Label1"));
    QCOMPARE(ResultLabels(&form).join(QString()), QString());
    QVERIFY(!form.SetupChanged());
    QCOMPARE(dialogs.messageCount(), 0);

    // Typing into the empty selector has no table to look in: the table
    // store's error is reported and nothing is loaded.
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(Child<QComboBox>(&form, "AirplaneSelector")->lineEdit(), Qt::Key_A);
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY(!Enabled(&form, "RouteBox"));
}

void TestStartupHelpAbout::startWithBothTables()
{
    TProgramDir dir;
    // Table order differs from the list's order, which ignores case.
    dir.writeAirplanes({TestJet("zulu"), TestJet("Bravo"), TestJet("alpha"), TestJet("Bravo")});
    dir.writeAirports(BayAreaAirports());
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    auto* selector = Child<QComboBox>(&form, "AirplaneSelector");
    QStringList items;
    for (int i = 0; i < selector->count(); ++i)
        items << selector->itemText(i);
    QCOMPARE(items, (QStringList{"alpha", "Bravo", "Bravo", "zulu"}));
    QCOMPARE(selector->currentText(), QStringLiteral("zulu"));
    QCOMPARE(form.MissionData().MTOW, 70000.0);
    for (const char* name : {"RouteBox", "DataBox", "ControlBox", "ViewAirplaneDataButton",
             "CalculateDistanceButton", "AlternateDataButton"})
        QVERIFY2(Enabled(&form, name), name);
    QCOMPARE(Child<QLineEdit>(&form, "Edit14")->text(), QStringLiteral("70000"));
    QCOMPARE(Child<QLineEdit>(&form, "Edit15")->text(), QStringLiteral("60000"));
    QCOMPARE(Child<QLabel>(&form, "Label7")->text(), QStringLiteral("18000 kg"));
    QCOMPARE(Child<QLabel>(&form, "Label10")->text(), QStringLiteral("Test data"));
    QCOMPARE(ResultLabels(&form).join(QString()), QString());
    QVERIFY2(!form.SetupChanged(), "loading at start-up is no change of the setup");
    QCOMPARE(dialogs.messageCount(), 0);
}

void TestStartupHelpAbout::startWithAirportsOnly()
{
    TProgramDir dir;
    dir.writeAirports(BayAreaAirports());
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    // The buttons are enabled, but their boxes wait for an airplane.
    QVERIFY(OwnEnabled(&form, "CalculateDistanceButton"));
    QVERIFY(OwnEnabled(&form, "AlternateDataButton"));
    QVERIFY(!Enabled(&form, "CalculateDistanceButton"));
    QVERIFY(!Enabled(&form, "RouteBox"));
    QVERIFY(!Enabled(&form, "ViewAirplaneDataButton"));
}

void TestStartupHelpAbout::unreadableTableIsReportedAndStartUpGoesOn()
{
    TProgramDir dir;
    QFile junk(dir.path(QStringLiteral("Airplane.DB")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a table");
    junk.close();
    dir.writeAirports(BayAreaAirports());
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY2(
        dialogs.errors.first().contains(QStringLiteral("Airplane.DB")), qPrintable(dialogs.errors.first()));
    // The rest of start-up is skipped: the labels keep their own names.
    QCOMPARE(ResultLabels(&form).first(), QStringLiteral("Label12"));
    QVERIFY(OwnEnabled(&form, "CalculateDistanceButton"));
    QCOMPARE(Child<QComboBox>(&form, "AirplaneSelector")->count(), 0);
    // The window and the About box exist and work.
    QVERIFY(form.AboutForm());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}

void TestStartupHelpAbout::startUpKeepsTheDecimalPoint()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TProgramDir dir;
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
}

void TestStartupHelpAbout::tablesAreFoundBesideTheExecutableNotInTheCurrentDirectory()
{
    TProgramDir programDir;
    programDir.writeAirplanes({TestJet("Beside the program")});
    TProgramDir elsewhere;
    elsewhere.writeAirplanes({TestJet("In the current directory")});
    const QString previous = QDir::currentPath();
    QDir::setCurrent(elsewhere.path(QString()));
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, programDir.executable());
    QDir::setCurrent(previous);
    QCOMPARE(
        Child<QComboBox>(&form, "AirplaneSelector")->currentText(), QStringLiteral("Beside the program"));
}

void TestStartupHelpAbout::helpOpensAtTheContents()
{
    TProgramDir dir;
    dir.copyHelpFile();
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    THelpViewer* viewer = form.HelpViewer();
    QVERIFY(!viewer->isVisible());

    // Menu, F1 and the tool button all open the help file at its contents.
    form.findChild<QAction*>(QStringLiteral("Help2"))->trigger();
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->loadedFile(), form.HelpFile());
    QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Your first calculation")));
    viewer->close();

    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F1);
    QTRY_VERIFY(viewer->isVisible());
    viewer->close();

    QTest::mouseClick(Child<QToolButton>(&form, "ToolButton7"), Qt::LeftButton);
    QVERIFY(viewer->isVisible());

    // Every help-context number of the window has its topic.
    for (int context = 105; context <= 111; ++context) {
        viewer->showContext(form.HelpFile(), context);
        QVERIFY(viewer->browser()->document()->toHtml().contains(
            QStringLiteral("name=\"") + QString::fromStdString(std::to_string(context)) + QLatin1Char('"')));
    }
    QCOMPARE(form.property("helpContext").toInt(), 105);
    QCOMPARE(Child<QWidget>(&form, "ResultsBox")->property("helpContext").toInt(), 110);
    QCOMPARE(Child<QWidget>(&form, "RichEdit")->property("helpContext").toInt(), 111);
    QCOMPARE(dialogs.messageCount(), 0);
}

void TestStartupHelpAbout::backAndForwardFollowTheVisitedTopics()
{
    TProgramDir dir;
    dir.copyHelpFile();
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    form.Help2Click();
    THelpViewer* viewer = form.HelpViewer();
    auto* back = Child<QPushButton>(viewer, "HelpBackButton");
    auto* forward = Child<QPushButton>(viewer, "HelpForwardButton");
    QScrollBar* scroll = viewer->browser()->verticalScrollBar();
    const int atContents = scroll->value();
    auto follow = [viewer](const char* link) {
        emit viewer->browser()->anchorClicked(QUrl(QString::fromLatin1(link)));
    };

    // Each step: what is done, then the topic shown and which way one can go.
    struct Step {
        std::function<void()> act;
        const char* topic;
        bool back;
        bool forward;
    };
    const Step steps[] = {
        {[] {}, "contents", false, false},
        {[&] { follow("#107"); }, "107", true, false},
        {[&] { back->click(); }, "contents", false, true},
        {[&] { forward->click(); }, "107", true, false},
        {[&] { follow("#messages"); }, "messages", true, false},
        {[&] { back->click(); }, "107", true, true},
        {[&] { back->click(); }, "contents", false, true},
        // A new link drops the topics ahead.
        {[&] { follow("#108"); }, "108", true, false},
        {[&] { back->click(); }, "contents", false, true},
        {[&] { forward->click(); }, "108", true, false},
        // Help opened at a topic is a visit too.
        {[&] { viewer->showContext(form.HelpFile(), 110); }, "110", true, false},
        {[&] { back->click(); }, "108", true, true},
    };
    int n = 0;
    for (const Step& step : steps) {
        step.act();
        const QByteArray where = "step " + QByteArray::number(n++);
        QVERIFY2(viewer->currentTopic() == QString::fromLatin1(step.topic), where);
        QVERIFY2(back->isEnabled() == step.back, where);
        QVERIFY2(forward->isEnabled() == step.forward, where);
    }
    // The topics are shown, not only recorded.
    QVERIFY(scroll->value() != atContents);
    back->click();
    back->click();
    QCOMPARE(viewer->currentTopic(), QStringLiteral("contents"));
    QCOMPARE(scroll->value(), atContents);
    QCOMPARE(dialogs.messageCount(), 0);
}

void TestStartupHelpAbout::missingHelpFileIsReportedByTheViewer()
{
    TProgramDir dir;
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    form.Help2Click();
    QVERIFY(form.HelpViewer()->isVisible());
    QVERIFY(form.HelpViewer()->browser()->toPlainText().contains(QStringLiteral("MRX_HELP.hlp")));
    QCOMPARE(dialogs.messageCount(), 0);
}

void TestStartupHelpAbout::aboutBoxShowsTheCaption()
{
    TProgramDir dir;
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TAboutForm* about = form.AboutForm();
    QVERIFY(!about->isVisible());
    QCOMPARE(about->size(), QSize(495, 102));
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));

    form.setWindowTitle(QStringLiteral("Mirovax - Version: 9.9.9.9"));
    QString shown;
    bool wasModal = false;
    QTimer::singleShot(0, about, [&] {
        shown = about->findChild<QLabel*>(QStringLiteral("Label1"))->text();
        wasModal = about->isModal() && about->isVisible();
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    form.findChild<QAction*>(QStringLiteral("About1"))->trigger();
    QCOMPARE(shown, QStringLiteral("Mirovax - Version: 9.9.9.9"));
    QVERIFY(wasModal);
    QVERIFY(!about->isVisible());

    // Esc closes it as well, and the next showing copies the caption anew.
    form.setWindowTitle(QStringLiteral("Second"));
    QTimer::singleShot(0, about, [&] {
        shown = about->findChild<QLabel*>(QStringLiteral("Label1"))->text();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    form.About1Click();
    QCOMPARE(shown, QStringLiteral("Second"));
    QVERIFY(!about->isVisible());
}

void TestStartupHelpAbout::exitClosesTheWindow()
{
    TProgramDir dir;
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, dir.executable());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    QVERIFY(!form.isVisible());
}

void TestStartupHelpAbout::dialogFilters()
{
    QCOMPARE(kSetupOpenDialog.filter, QStringLiteral("Mirovax|*.MRX"));
    QCOMPARE(kSetupSaveDialog.filter, QStringLiteral("Mirovax|*.MRX"));
    // The 1-based type index the save dialog returns follows this order.
    QCOMPARE(QtNameFilters(kReportSaveDialog.filter),
        (QStringList{QStringLiteral("Rich Text File (*.RTF)"), QStringLiteral("Text File (*.TXT)")}));
    QCOMPARE(QtNameFilters(kSetupOpenDialog.filter), QStringList{QStringLiteral("Mirovax (*.MRX)")});
}

MIROVAX_WINDOW_TEST_MAIN(TestStartupHelpAbout)
#include "test_startup_help_about.moc"
