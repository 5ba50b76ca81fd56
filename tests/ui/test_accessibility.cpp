// Screen readers: every control of every window is named by its caption and
// described by its hint, and every value label is named by its row and unit.
#include "TestSupport.h"

#include "ui/AboutUnit.h"
#include "ui/CompareForm.h"
#include "ui/DispatchSheetDialog.h"
#include "ui/HelpViewer.h"
#include "ui/LimitsForm.h"
#include "ui/diagram/payload_range_form.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <map>

using namespace mirovax;
using namespace mirovax::test;

namespace {

QString AccessibleText(QWidget* widget, QAccessible::Text which)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(which) : QString();
}

// What a user reaches: whatever takes the keyboard focus, buttons (the tool
// bar's do not take it) and whatever shows a hint (the limits' gauges). The
// parts Qt builds into a combo box, a list or a table (the popup, the
// viewport, the headers) are read as part of it; the program's own controls
// in a table carry an object name.
bool IsControl(const QWidget* widget, const QWidget* root)
{
    if (widget->objectName().startsWith(QStringLiteral("qt_")))
        return false;
    for (const QWidget* up = widget->parentWidget(); up != nullptr && up != root; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox*>(up) != nullptr
            || (qobject_cast<const QAbstractScrollArea*>(up) != nullptr && widget->objectName().isEmpty()))
            return false;
    }
    return (widget->focusPolicy() & Qt::TabFocus) != 0
        || qobject_cast<const QAbstractButton*>(widget) != nullptr || !widget->toolTip().isEmpty();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_window.start()); }
    void cleanup() { m_window.stop(); }
    void everyControlIsNamedAndDescribed_data();
    void everyControlIsNamedAndDescribed();
    void namesComeFromTheCaptions();

private:
    TMainForm* form() const { return m_window.form.get(); }
    void trigger(const char* action) { Child<QAction>(form(), action)->trigger(); }

    TWindowUnderTest m_window;
};

void TestAccessibility::everyControlIsNamedAndDescribed_data()
{
    QTest::addColumn<QString>("window");
    for (const char* window :
        {"main", "limits", "compare", "payload-range", "dispatch sheet", "help", "about"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void TestAccessibility::everyControlIsNamedAndDescribed()
{
    QFETCH(QString, window);
    // A run first, so that the windows that show its results have them.
    Child<QPushButton>(form(), "ExecuteButton")->click();
    const std::map<QString, std::function<QWidget*()>> open = {
        {"main", [this] { return form(); }},
        {"limits", [this] { return trigger("Limits1"), form()->LimitsForm(); }},
        {"compare", [this] { return trigger("Compare1"), form()->CompareForm(); }},
        {"payload-range", [this] { return trigger("PayloadRange1"), form()->PayloadRangeForm(); }},
        {"dispatch sheet", [this] { return trigger("DispatchSheet1"), form()->DispatchSheetDialog(); }},
        {"help", [this] { return form()->Help2Click(), form()->HelpViewer(); }},
        {"about", [this] { return form()->AboutForm(); }},
    };
    QWidget* root = open.at(window)();
    QVERIFY(root != nullptr);

    // A name that is a control's object name tells the user nothing.
    const QRegularExpression objectNameLike(QStringLiteral("^[A-Za-z]+\\d+$"));
    const QRegularExpression valueLabel(QStringLiteral("^Label\\d+$"));
    int walked = 0;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        // The value labels of the main window; Label11 is a caption.
        const bool value = window == "main" && valueLabel.match(widget->objectName()).hasMatch()
            && widget->objectName() != QStringLiteral("Label11");
        if (!value && !IsControl(widget, root))
            continue;
        ++walked;
        const QString what = widget->objectName() + " (" + widget->metaObject()->className() + ")";
        const QString name = AccessibleText(widget, QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(what + " has no name"));
        QVERIFY2(!objectNameLike.match(name).hasMatch() && name != widget->objectName(),
            qPrintable(what + " is named " + name));
        // A combo box reads out its text as its name here; its own is the
        // caption beside it.
        if (qobject_cast<QComboBox*>(widget) != nullptr)
            QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(what + " has no caption"));
        if (!value)
            QVERIFY2(!AccessibleText(widget, QAccessible::Description).trimmed().isEmpty(),
                qPrintable(what + " has no description"));
    }
    QVERIFY2(walked >= (window == "main" ? 60 : 1), qPrintable(QString::number(walked)));
}

void TestAccessibility::namesComeFromTheCaptions()
{
    struct Spot {
        const char* control;
        const char* name;
        const char* description;
    };
    const Spot spots[] = {
        {"Label26", "Trip fuel, kg", ""},
        {"Label21", "Trip time, hh:mm", ""},
        {"Label14", "True Airspeed, kts", ""},
        {"Label30", "Landing Weight, kg", ""},
        {"Label3", "Dry Operating Weight", ""},
        {"Edit4", "Payload", "Payload"},
        {"Edit10", "Alternate Distance", "Alternate Distance"},
        {"Edit14", "MATOW", "Maximum Allowable Takeoff Weight"},
        {"Edit1", "From", "Origination ICAO Code"},
        {"ExecuteButton", "Execute", "Execute Setup"},
        {"ViewReportButton", "View Report", "View Report"},
        {"ToolButton2", "Load Setup", "Load Setup"},
    };
    for (const Spot& s : spots) {
        QWidget* widget = Child<QWidget>(form(), s.control);
        QVERIFY2(widget != nullptr, s.control);
        QCOMPARE(AccessibleText(widget, QAccessible::Name), QString::fromUtf8(s.name));
        if (*s.description != '\0')
            QCOMPARE(AccessibleText(widget, QAccessible::Description), QString::fromUtf8(s.description));
    }
    QCOMPARE(Child<QComboBox>(form(), "RegulationSelector")->accessibleName(), QStringLiteral("Regulations"));
    QCOMPARE(Child<QComboBox>(form(), "ModeSelector")->accessibleName(), QStringLiteral("Solve for"));

    // The maximum's label is named by the mode that shows it.
    QWidget* label13 = Child<QWidget>(form(), "Label13");
    for (const char* mode : {"Maximum Range", "Maximum Payload"}) {
        PickItem(form(), "ModeSelector", QString::fromLatin1(mode));
        QCOMPARE(AccessibleText(label13, QAccessible::Name),
            QString::fromLatin1(mode) + (QByteArray(mode) == "Maximum Range" ? ", NM" : ", kg"));
    }
}

MIROVAX_WINDOW_TEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
