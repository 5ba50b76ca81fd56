// Key filters and the checks made on leaving a field, driven through the
// real widgets: keys typed, the focus moved by Tab, by the mouse and to other
// windows.
#include "TestSupport.h"

#include "ui/Controls.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace mirovax;
using namespace mirovax::test;

class TestInputHandling : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keyFilters_data();
    void keyFilters();
    void controlCharactersDoNothingInFilteredFields();
    void textNotTypedIsNotFiltered();

    void flightLevelExit_data();
    void flightLevelExit();
    void allowableWeightExit_data();
    void allowableWeightExit();
    void holdingAltitudeExit_data();
    void holdingAltitudeExit();
    void textThatIsNotANumberKeepsItsText();
    void puttingTheFocusBackRunsNoOtherCheck();
    void anotherWindowTakingTheFocusRunsNoCheck();
    void realMessageBoxShowsOnceAndFocusReturns();
    void clickThatLeavesARejectedValueDoesNotPressTheButton();

    void regulationsTypedLetterByLetter();
    void lowerCaseModeNameChangesNothing();

private:
    // Types text into a field that has the focus, then leaves it with Tab.
    void typeAndTab(Field n, const QString& text);

    std::unique_ptr<TProgramDir> m_dir;
    std::unique_ptr<TScriptedDialogs> m_dialogs;
    std::unique_ptr<TMainForm> m_form;
};

void TestInputHandling::init()
{
    m_dir = std::make_unique<TProgramDir>();
    m_dir->writeAirplanes({TestJet()}); // MaxAlt 41000 ft, MTOW 70000 kg, MLAW 60000 kg
    m_dialogs = std::make_unique<TScriptedDialogs>();
    m_form = std::make_unique<TMainForm>(*m_dialogs, m_dir->executable());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestInputHandling::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_dir.reset();
}

void TestInputHandling::typeAndTab(Field n, const QString& text)
{
    Edit(m_form.get(), n)->setFocus();
    QCOMPARE(QApplication::focusWidget(), Edit(m_form.get(), n));
    Edit(m_form.get(), n)->selectAll();
    if (text.isEmpty())
        QTest::keyClick(Edit(m_form.get(), n), Qt::Key_Backspace);
    else
        QTest::keyClicks(Edit(m_form.get(), n), text);
    QTest::keyClick(Edit(m_form.get(), n), Qt::Key_Tab);
}

void TestInputHandling::keyFilters_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    for (const FieldSpec& spec : Fields()) {
        if (spec.keys == KeyFilter::Digits)
            QTest::addRow("%s digits only", spec.control.data())
                << spec.field << QStringLiteral("1a-2.3 4") << QStringLiteral("1234");
    }
    QTest::newRow("Edit6 minus anywhere") << Field::Oat << QStringLiteral("-4-a.6") << QStringLiteral("-4-6");
    QTest::newRow("Edit7 minus") << Field::Wind << QStringLiteral("--1x5") << QStringLiteral("--15");
    QTest::newRow("Edit1 unfiltered") << Field::From << QStringLiteral("k-1.") << QStringLiteral("K-1.");
    QTest::newRow("Edit8 unfiltered") << Field::Alternate << QStringLiteral("e d") << QStringLiteral("E D");
}

void TestInputHandling::keyFilters()
{
    QFETCH(Field, field);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    TEdit* e = Edit(m_form.get(), field);
    e->setCharLimit(32); // the filter, not the length, is under test
    e->setFocus();
    e->clear();
    QTest::keyClicks(e, typed);
    QCOMPARE(e->text(), expected);
    // Backspace and Delete still edit the field.
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), expected.chopped(1));
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_Delete);
    QCOMPARE(e->text(), expected.chopped(1).mid(1));
}

void TestInputHandling::controlCharactersDoNothingInFilteredFields()
{
    QApplication::clipboard()->setText(QStringLiteral("987"));
    TEdit* payload = Edit(m_form.get(), Field::Payload);
    payload->setFocus();
    payload->setText(QStringLiteral("12"));
    payload->selectAll();
    QTest::keyClick(payload, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(payload, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(payload, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(payload, Qt::Key_Return);
    QCOMPARE(payload->text(), QStringLiteral("12"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("987"));

    // The airport codes take the same keys.
    TEdit* origin = Edit(m_form.get(), Field::From);
    origin->setFocus();
    origin->selectAll();
    QTest::keyClick(origin, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(origin->text(), QStringLiteral("987"));

    // Tab still leaves a filtered field.
    payload->setFocus();
    QTest::keyClick(payload, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != payload);
}

void TestInputHandling::textNotTypedIsNotFiltered()
{
    // Pasting through the field's own command and program-set text pass.
    QApplication::clipboard()->setText(QStringLiteral("1.5e3"));
    Edit(m_form.get(), Field::Distance)->selectAll();
    Edit(m_form.get(), Field::Distance)->paste();
    QCOMPARE(Edit(m_form.get(), Field::Distance)->text(), QStringLiteral("1.5e3"));
    Edit(m_form.get(), Field::Wind)->setText(QStringLiteral("HW 10"));
    QCOMPARE(Edit(m_form.get(), Field::Wind)->text(), QStringLiteral("HW 10"));
}

void TestInputHandling::flightLevelExit_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("levelAfter");
    QTest::addColumn<QString>("oat");
    QTest::addColumn<QString>("message");
    const QString none;
    QTest::newRow("0") << "0"
                       << "0"
                       << "15" << none;
    QTest::newRow("100") << "100"
                         << "100"
                         << "-5" << none;
    QTest::newRow("310") << "310"
                         << "310"
                         << "-46" << none;
    QTest::newRow("360 from the formula") << "360"
                                          << "360"
                                          << "-56" << none;
    QTest::newRow("361 above the tropopause") << "361"
                                              << "361"
                                              << "-56" << none;
    QTest::newRow("410 at the ceiling") << "410"
                                        << "410"
                                        << "-56" << none;
    QTest::newRow("420 over the ceiling") << "420"
                                          << "410"
                                          << "-56"
                                          << "Maximum Operating Altitude of 41000 ft exceeded!";
    QTest::newRow("empty") << ""
                           << ""
                           << "99" << none;
}

void TestInputHandling::flightLevelExit()
{
    QFETCH(QString, level);
    QFETCH(QString, levelAfter);
    QFETCH(QString, oat);
    QFETCH(QString, message);
    Edit(m_form.get(), Field::Oat)->setText(QStringLiteral("99"));
    typeAndTab(Field::FlightLevel, level);
    QCOMPARE(Edit(m_form.get(), Field::FlightLevel)->text(), levelAfter);
    QCOMPARE(Edit(m_form.get(), Field::Oat)->text(), oat);
    if (message.isEmpty()) {
        QCOMPARE(m_dialogs->messageCount(), 0);
        QCOMPARE(QApplication::focusWidget(), Edit(m_form.get(), Field::Oat));
    } else {
        QCOMPARE(m_dialogs->warnings, QStringList{message});
        QCOMPARE(m_dialogs->sounds, 1);
        QCOMPARE(QApplication::focusWidget(), Edit(m_form.get(), Field::FlightLevel));
    }
}

void TestInputHandling::allowableWeightExit_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");
    const QString none;
    QTest::newRow("MATOW at the limit") << Field::Matow << "70000"
                                        << "70000" << none;
    QTest::newRow("MATOW 1 kg over") << Field::Matow << "70001"
                                     << "70000"
                                     << "Maximum Structural Takeoff Weight of 70000 kg exceeded!";
    QTest::newRow("MATOW empty") << Field::Matow << ""
                                 << "" << none;
    QTest::newRow("MALW at the limit") << Field::Malw << "60000"
                                       << "60000" << none;
    QTest::newRow("MALW 1 kg over") << Field::Malw << "60001"
                                    << "60000"
                                    << "Maximum Structural Landing Weight of 60000 kg exceeded!";
}

void TestInputHandling::allowableWeightExit()
{
    QFETCH(Field, field);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, message);
    typeAndTab(field, typed);
    QCOMPARE(Edit(m_form.get(), field)->text(), after);
    QCOMPARE(m_dialogs->warnings, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(QApplication::focusWidget() == Edit(m_form.get(), field), !message.isEmpty());
}

void TestInputHandling::holdingAltitudeExit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("rejected");
    QTest::newRow("1500 accepted") << "1500" << false;
    QTest::newRow("1499") << "1499" << true;
    QTest::newRow("0") << "0" << true;
    QTest::newRow("empty") << "" << false;
}

void TestInputHandling::holdingAltitudeExit()
{
    QFETCH(QString, typed);
    QFETCH(bool, rejected);
    typeAndTab(Field::HoldingAltitude, typed);
    QCOMPARE(Edit(m_form.get(), Field::HoldingAltitude)->text(), rejected ? QStringLiteral("1500") : typed);
    QCOMPARE(m_dialogs->warnings,
        rejected ? QStringList{QStringLiteral("Holding Altitude must be greater than 1500 ft")}
                 : QStringList());
    QCOMPARE(QApplication::focusWidget() == Edit(m_form.get(), Field::HoldingAltitude), rejected);
}

void TestInputHandling::textThatIsNotANumberKeepsItsText()
{
    for (Field n : {Field::FlightLevel, Field::HoldingAltitude, Field::Matow, Field::Malw}) {
        m_dialogs->errors.clear();
        Edit(m_form.get(), Field::Oat)->setText(QStringLiteral("7"));
        Edit(m_form.get(), n)->setFocus();
        Edit(m_form.get(), n)->setText(QStringLiteral("4x0")); // as if pasted
        QTest::keyClick(Edit(m_form.get(), n), Qt::Key_Tab);
        QCOMPARE(Edit(m_form.get(), n)->text(), QStringLiteral("4x0"));
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY2(
            m_dialogs->errors.front().contains(QStringLiteral("4x0")), qPrintable(m_dialogs->errors.front()));
        QVERIFY(m_dialogs->warnings.isEmpty());
        QCOMPARE(Edit(m_form.get(), Field::Oat)->text(), QStringLiteral("7"));
    }
}

void TestInputHandling::puttingTheFocusBackRunsNoOtherCheck()
{
    // Tab leads from MATOW to MALW, both over their limits: only MATOW's
    // check runs, and the focus goes back to it.
    Edit(m_form.get(), Field::Malw)->setText(QStringLiteral("99999"));
    typeAndTab(Field::Matow, QStringLiteral("99999"));
    QCOMPARE(m_dialogs->warnings.size(), 1);
    QCOMPARE(QApplication::focusWidget(), Edit(m_form.get(), Field::Matow));
    QCOMPARE(Edit(m_form.get(), Field::Malw)->text(), QStringLiteral("99999"));
    // Leaving MATOW again (now valid) checks nothing; leaving MALW does.
    QTest::keyClick(Edit(m_form.get(), Field::Matow), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Edit(m_form.get(), Field::Malw));
    QCOMPARE(m_dialogs->warnings.size(), 1);
    QTest::keyClick(Edit(m_form.get(), Field::Malw), Qt::Key_Tab);
    QCOMPARE(m_dialogs->warnings.size(), 2);
    QCOMPARE(Edit(m_form.get(), Field::Malw)->text(), QStringLiteral("60000"));
}

void TestInputHandling::anotherWindowTakingTheFocusRunsNoCheck()
{
    Edit(m_form.get(), Field::FlightLevel)->setFocus();
    Edit(m_form.get(), Field::FlightLevel)->setText(QStringLiteral("420"));
    QWidget other;
    auto* field = new QLineEdit(&other);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));
    QCOMPARE(m_dialogs->messageCount(), 0);
    other.close();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Edit(m_form.get(), Field::FlightLevel)));
    QCOMPARE(m_dialogs->messageCount(), 0);
    QTest::keyClick(Edit(m_form.get(), Field::FlightLevel), Qt::Key_Tab);
    QCOMPARE(m_dialogs->warnings.size(), 1);
}

void TestInputHandling::realMessageBoxShowsOnceAndFocusReturns()
{
    m_form.reset(); // one window, as the program has
    TQtDialogs dialogs;
    TMainForm form(dialogs, m_dir->executable());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* matow = Child<QLineEdit>(&form, "Edit14");
    auto* malw = Child<QLineEdit>(&form, "Edit15");
    malw->setText(QStringLiteral("99999"));
    matow->setFocus();
    matow->setText(QStringLiteral("70001"));

    QStringList boxes;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes << box->text();
            box->accept();
        }
    });
    answer.start(10);
    QTest::keyClick(matow, Qt::Key_Tab);
    QTest::qWait(100); // time for a second box, were there one
    answer.stop();
    QTRY_COMPARE(form.focusWidget(), static_cast<QWidget*>(matow));
    QCOMPARE(boxes, QStringList{QStringLiteral("Maximum Structural Takeoff Weight of 70000 kg exceeded!")});
    QCOMPARE(matow->text(), QStringLiteral("70000"));
    QCOMPARE(malw->text(), QStringLiteral("99999"));

    // Clicking Execute while leaving a rejected level: the box is answered,
    // the level corrected, and the click does not run the calculation.
    auto* level = Child<QLineEdit>(&form, "Edit5");
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    level->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(level));
    level->setText(QStringLiteral("420"));
    boxes.clear();
    answer.start(10);
    QTest::mouseClick(Child<QPushButton>(&form, "ExecuteButton"), Qt::LeftButton);
    QTest::qWait(100);
    answer.stop();
    QCOMPARE(boxes, QStringList{QStringLiteral("Maximum Operating Altitude of 41000 ft exceeded!")});
    QCOMPARE(level->text(), QStringLiteral("410"));
    QCOMPARE(ResultLabels(&form).join(QString()), QString());
}

void TestInputHandling::clickThatLeavesARejectedValueDoesNotPressTheButton()
{
    auto* execute = Child<QPushButton>(m_form.get(), "ExecuteButton");
    QVERIFY(execute->isEnabled());
    Edit(m_form.get(), Field::FlightLevel)->setFocus();
    Edit(m_form.get(), Field::FlightLevel)->setText(QStringLiteral("420"));
    QTest::mouseClick(execute, Qt::LeftButton);
    QCOMPARE(m_dialogs->warnings.size(), 1);
    QCOMPARE(QApplication::focusWidget(), Edit(m_form.get(), Field::FlightLevel));
    QVERIFY(!execute->isDown());
    QCOMPARE(ResultLabels(m_form.get()).join(QString()), QString());
    // The next click is the user's own.
    QTest::mouseClick(execute, Qt::LeftButton);
    QVERIFY(!ResultLabels(m_form.get()).join(QString()).isEmpty());
}

void TestInputHandling::regulationsTypedLetterByLetter()
{
    QLineEdit* regulations = Child<QComboBox>(m_form.get(), "RegulationSelector")->lineEdit();
    regulations->setFocus();
    regulations->selectAll();
    QTest::keyClick(regulations, Qt::Key_Backspace);
    const QString word = QStringLiteral("ICAO");
    for (qsizetype i = 0; i < word.size(); ++i) {
        m_form->SetSetupChanged(false);
        QTest::keyClicks(regulations, word.mid(i, 1));
        QVERIFY(m_form->SetupChanged());
        const bool complete = i == word.size() - 1;
        QCOMPARE(Edit(m_form.get(), Field::HoldingTime)->text(),
            complete ? QStringLiteral("30") : QStringLiteral("45"));
        QCOMPARE(Edit(m_form.get(), Field::Contingency)->text(),
            complete ? QStringLiteral("5") : QStringLiteral("0"));
    }
}

void TestInputHandling::lowerCaseModeNameChangesNothing()
{
    QLineEdit* mode = Child<QComboBox>(m_form.get(), "ModeSelector")->lineEdit();
    mode->setFocus();
    mode->selectAll();
    QTest::keyClicks(mode, QStringLiteral("maximum range"));
    QVERIFY(Edit(m_form.get(), Field::Distance)->isEnabled());
    QVERIFY(Edit(m_form.get(), Field::Payload)->isEnabled());
    QVERIFY(!Child<QLabel>(m_form.get(), "Label11")->isVisibleTo(m_form.get()));
    QVERIFY(!m_form->SetupChanged());
}

MIROVAX_WINDOW_TEST_MAIN(TestInputHandling)
#include "test_input_handling.moc"
