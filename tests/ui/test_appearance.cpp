// The windows as they look: every text readable under a light, a dark and a
// high-contrast palette, the tool-bar pictures visible on each background,
// and the pictures and the program's icon drawn anew at twice the scale.
#include "TestSupport.h"

#include "ui/AboutUnit.h"
#include "ui/CompareForm.h"
#include "ui/Contrast.h"
#include "ui/LimitsForm.h"
#include "ui/diagram/payload_range_form.h"

#include <QAbstractButton>
#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

using namespace mirovax;
using namespace mirovax::test;

Q_DECLARE_METATYPE(QPalette)

namespace {

// The dark palette desktops commonly give Fusion.
QPalette DarkPalette()
{
    QPalette p(QColor(53, 53, 53), QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(35, 35, 35));
    p.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    p.setColor(QPalette::ToolTipText, Qt::white);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
    return p;
}

// White on black with yellow selections, as high-contrast desktop themes have it.
QPalette HighContrastPalette()
{
    QPalette p(Qt::black, Qt::black);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
             QPalette::BrightText, QPalette::ToolTipText, QPalette::Light})
        p.setColor(role, Qt::white);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase,
             QPalette::Button, QPalette::ToolTipBase, QPalette::HighlightedText})
        p.setColor(role, Qt::black);
    p.setColor(QPalette::Highlight, Qt::yellow);
    p.setColor(QPalette::Mid, QColor(160, 160, 160));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0, 200, 0));
    return p;
}

// The colour a widget's own background shows where it draws none itself:
// the nearest ancestor that fills its background, or the window.
QColor BackgroundBehind(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(QPalette::Active, w->backgroundRole());
    }
    return widget->palette().color(QPalette::Active, QPalette::Window);
}

struct TText {
    QString text;
    QColor foreground;
    QColor background;
};

// The texts a widget shows, with the colours it draws them in: the roles
// the style paints that kind of control with, from the widget's own palette
// (which carries any colour the program set on it).
std::vector<TText> TextsOf(const QWidget* widget)
{
    const QPalette& p = widget->palette();
    auto role = [&p](QPalette::ColorRole r) { return p.color(QPalette::Active, r); };
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return {{label->text(), role(label->foregroundRole()), BackgroundBehind(label)}};
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return {{edit->text(), role(QPalette::Text), role(QPalette::Base)}};
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        if (combo->isEditable()) // its line edit is a widget of its own
            return {};
        return {{combo->currentText(), role(QPalette::ButtonText), role(QPalette::Button)}};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget))
        return {{button->text(), role(QPalette::ButtonText), role(QPalette::Button)}};
    if (const auto* tool = qobject_cast<const QToolButton*>(widget)) {
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return {};
        return {{tool->text(), role(QPalette::ButtonText), BackgroundBehind(tool)}};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) // check boxes, radio buttons
        return {{button->text(), role(button->foregroundRole()), BackgroundBehind(button)}};
    if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
        // The program's own boxes paint their caption on their window colour;
        // others as the style says.
        if (box->inherits("mirovax::TGroupBox"))
            return {{box->title(), role(QPalette::WindowText), role(QPalette::Window)}};
        QStyleOptionGroupBox option;
        option.initFrom(box);
        const QColor title = QColor::fromRgba(
            static_cast<QRgb>(box->style()->styleHint(QStyle::SH_GroupBox_TextLabelColor, &option, box)));
        return {{box->title(), title, BackgroundBehind(box)}};
    }
    if (const auto* view = qobject_cast<const QTextEdit*>(widget)) {
        // Each run of the document in its own colours, or the view's.
        std::vector<TText> texts;
        for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                texts.push_back({it.fragment().text(),
                    format.foreground().style() == Qt::NoBrush ? role(QPalette::Text)
                                                               : format.foreground().color(),
                    format.background().style() == Qt::NoBrush ? role(QPalette::Base)
                                                               : format.background().color()});
            }
        }
        return texts;
    }
    if (const auto* view = qobject_cast<const QGraphicsView*>(widget)) {
        // A chart's texts on each colour of the chart's own background (a
        // gradient's every stop), or on what shows behind the view.
        QList<QColor> paper{BackgroundBehind(view)};
        for (QGraphicsItem* item : view->scene()->items()) {
            const auto* chart = qobject_cast<const QChart*>(item->toGraphicsObject());
            if (!chart || !chart->isBackgroundVisible())
                continue;
            const QBrush brush = chart->backgroundBrush();
            paper = {brush.color()};
            if (brush.gradient()) {
                paper.clear();
                for (const QGradientStop& stop : brush.gradient()->stops())
                    paper.append(stop.second);
            }
        }
        std::vector<TText> texts;
        for (QGraphicsItem* item : view->scene()->items()) {
            if (!item->isVisible())
                continue;
            for (const QColor& background : paper) {
                if (const auto* simple = dynamic_cast<const QGraphicsSimpleTextItem*>(item))
                    texts.push_back({simple->text(), simple->brush().color(), background});
                else if (const auto* rich = dynamic_cast<const QGraphicsTextItem*>(item))
                    texts.push_back({rich->toPlainText(), rich->defaultTextColor(), background});
            }
        }
        return texts;
    }
    return {};
}

// Every text of a window that reads under 4.5:1, named by its control.
// Disabled controls are left out: their greyed text says they cannot be used.
QStringList UnreadableTexts(const QWidget* window)
{
    QStringList found;
    QList<const QWidget*> widgets{window};
    for (const QWidget* w : window->findChildren<const QWidget*>()) {
        if (w->window() == window) // the windows it owns are walked on their own
            widgets.append(w);
    }
    for (const QWidget* w : widgets) {
        if (!w->isVisible() || !w->isEnabled())
            continue;
        for (const TText& t : TextsOf(w)) {
            const double ratio = ContrastRatio(t.foreground, t.background);
            if (!t.text.trimmed().isEmpty() && ratio < kReadableContrast)
                found << QStringLiteral("%1/%2 \"%3\": %4 on %5, %6:1")
                             .arg(window->metaObject()->className(), w->objectName(), t.text.left(40),
                                 t.foreground.name(), t.background.name(), QString::number(ratio, 'f', 2));
        }
    }
    return found;
}

// The share of a picture's outline (its opaque pixels next to a clear one or
// to its edge) that stands out from the background by at least 3:1, the
// contrast graphics need: the picture's shape shows whatever its fills.
double OutlineStandingOut(const QImage& picture, const QColor& background)
{
    auto clear = [&picture](int x, int y) {
        return !picture.rect().contains(x, y) || picture.pixelColor(x, y).alpha() < 56;
    };
    int outline = 0;
    int standing = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.alpha() < 200
                || !(clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1)))
                continue;
            ++outline;
            if (ContrastRatio(c, background) >= 3.0)
                ++standing;
        }
    }
    return outline == 0 ? 0.0 : static_cast<double>(standing) / outline;
}

// With MIROVAX_SCREENSHOT_DIR set (scripts/screenshot-appearance.sh), the
// windows as the test sees them go there for the README.
void KeepScreenshot(QWidget* window, const QString& name)
{
    const QString dir = qEnvironmentVariable("MIROVAX_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        window->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

const char* const kToolButtons[] = {"ToolButton2", "ToolButton3", "ToolButton5", "ToolButton7", "ToolButton8",
    "ToolButton10", "ToolButton11"};

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void contrastRatio();
    void everyTextReads_data();
    void everyTextReads();
    void picturesSharpAtTwiceTheScale();

private:
    TWindowUnderTest m_window;
    QPalette m_standard;
};

void TestAppearance::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    m_standard = QApplication::style()->standardPalette();
    QApplication::setPalette(m_standard);
}

void TestAppearance::cleanup()
{
    m_window.stop();
    QApplication::setPalette(m_standard);
}

void TestAppearance::contrastRatio()
{
    // The guidelines' own figures: the extremes, and #777777 on white just
    // under the bar.
    QCOMPARE(ContrastRatio(Qt::black, Qt::white), 21.0);
    QCOMPARE(ContrastRatio(Qt::white, Qt::black), 21.0);
    QCOMPARE(ContrastRatio(QColor(90, 90, 90), QColor(90, 90, 90)), 1.0);
    QCOMPARE(
        QString::number(ContrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 'f', 2), QStringLiteral("4.48"));
    // A colour that reads is kept; one that does not is moved just far
    // enough, lighter on dark and darker on light, keeping its hue.
    const QColor red(205, 40, 40);
    QCOMPARE(ReadableOn(red, Qt::white), red);
    for (const QColor& background : {QColor(53, 53, 53), QColor(Qt::black), QColor(200, 200, 200)}) {
        const QColor readable = ReadableOn(red, background);
        QVERIFY(ContrastRatio(readable, background) >= kReadableContrast);
        QVERIFY(readable.red() > readable.green());
        QCOMPARE(readable.green(), readable.blue());
    }
    QVERIFY(ReadableOn(red, QColor(53, 53, 53)).lightness() > red.lightness());
    QVERIFY(ReadableOn(red, QColor(200, 200, 200)).lightness() < red.lightness());
}

void TestAppearance::everyTextReads_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << DarkPalette();
    QTest::newRow("high contrast") << HighContrastPalette();
}

void TestAppearance::everyTextReads()
{
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    QVERIFY(m_window.start());
    TMainForm* form = m_window.form.get();

    // Every window with its texts filled: results, the report, the three
    // windows of the tool bar, a limit stop in red, and the About box.
    Child<QPushButton>(form, "ExecuteButton")->click();
    for (const char* tool : {"ToolButton8", "ToolButton10", "ToolButton11"})
        QTest::mouseClick(Child<QToolButton>(form, tool), Qt::LeftButton);
    Child<QPushButton>(form, "ExecuteButton")->click();
    QVERIFY(!form->LimitsForm()->Limits().limits.empty());
    QStringList unreadable = UnreadableTexts(form) + UnreadableTexts(form->PayloadRangeForm())
        + UnreadableTexts(form->CompareForm());
    const QString shot
        = QStringLiteral("screenshot-") + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
    KeepScreenshot(form, shot);
    KeepScreenshot(form->PayloadRangeForm(), shot + QStringLiteral("-payload-range"));
    Child<QPushButton>(form, "ViewReportButton")->click();
    unreadable += UnreadableTexts(form);

    Child<QLineEdit>(form, "Edit4")->setText(QStringLiteral("20000"));
    Child<QPushButton>(form, "ExecuteButton")->click();
    QVERIFY(Child<QLabel>(form->LimitsForm(), "StopLabel")->isVisible());
    unreadable += UnreadableTexts(form->LimitsForm());
    KeepScreenshot(form->LimitsForm(), shot + QStringLiteral("-limits"));
    form->AboutForm()->show();
    unreadable += UnreadableTexts(form->AboutForm());
    form->AboutForm()->hide();
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QLatin1Char('\n'))));

    // The tool-bar pictures' shapes stand out from the tool bar.
    const QColor background = BackgroundBehind(Child<QWidget>(form, "ToolBar1"));
    for (const char* name : kToolButtons) {
        const QImage picture = Child<QToolButton>(form, name)->icon().pixmap(QSize(16, 16)).toImage();
        const double share = OutlineStandingOut(picture, background);
        QVERIFY2(share >= 0.8, qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(name)).arg(share)));
    }
}

void TestAppearance::picturesSharpAtTwiceTheScale()
{
    QVERIFY(m_window.start());
    QList<QIcon> icons{m_window.form->windowIcon()};
    for (const char* name : kToolButtons)
        icons.append(Child<QToolButton>(m_window.form.get(), name)->icon());
    for (const QIcon& icon : icons) {
        const QPixmap single = icon.pixmap(QSize(16, 16), 1.0);
        const QPixmap twice = icon.pixmap(QSize(16, 16), 2.0);
        QCOMPARE(single.size(), QSize(16, 16));
        QCOMPARE(twice.size(), QSize(32, 32));
        QCOMPARE(twice.devicePixelRatio(), 2.0);
        // Drawn anew, not the single-scale picture blown up: a blown-up copy
        // is made of 2 x 2 blocks of one colour.
        const QImage image = twice.toImage();
        int mixedBlocks = 0;
        for (int y = 0; y < 32; y += 2) {
            for (int x = 0; x < 32; x += 2) {
                const QRgb c = image.pixel(x, y);
                if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c
                    || image.pixel(x + 1, y + 1) != c)
                    ++mixedBlocks;
            }
        }
        QVERIFY2(mixedBlocks >= 8, qPrintable(QString::number(mixedBlocks)));
        // Painted straight onto a surface of twice the pixels (as item views
        // paint icons), the same drawing.
        QImage painted(32, 32, QImage::Format_ARGB32_Premultiplied);
        painted.fill(Qt::transparent);
        painted.setDevicePixelRatio(2.0);
        {
            QPainter p(&painted);
            icon.paint(&p, QRect(0, 0, 16, 16));
        }
        QCOMPARE(
            painted.convertToFormat(QImage::Format_ARGB32), image.convertToFormat(QImage::Format_ARGB32));
    }

    // On the screen, at the scale the test runs at (ctest runs it at 1 and,
    // with QT_SCALE_FACTOR=2, at 2): the About box's picture and a tool
    // button come out in device pixels.
    const qreal ratio = m_window.form->devicePixelRatioF();
    const QPixmap about = Child<QLabel>(m_window.form->AboutForm(), "ProgramIcon")->pixmap();
    QCOMPARE(about.devicePixelRatio(), ratio);
    QCOMPARE(about.size(), QSize(48, 48) * ratio);
    const QPixmap button = Child<QToolButton>(m_window.form.get(), "ToolButton2")->grab();
    QCOMPARE(button.size(), QSize(23, 22) * ratio);
}

MIROVAX_WINDOW_TEST_MAIN(TestAppearance)
#include "test_appearance.moc"
