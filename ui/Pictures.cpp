#include "ui/Pictures.h"

#include "ui/Contrast.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <array>
#include <functional>
#include <memory>
#include <utility>

// The icon's resource lives in this static library, so it is registered by
// hand before its first use.
static void InitIconResource()
{
    Q_INIT_RESOURCE(icon);
}

namespace mirovax {

namespace {

constexpr int kPictureSize = 16; // px, the grid the pictures are drawn on

// The colours a picture is drawn with that depend on where it is shown.
struct TSurround {
    QColor ink; // the palette's text colour
    QColor background; // the colour behind the picture
};

// Draws one picture on its own grid. The outlines and the lines that stand
// on the window's background take the ink, so that each picture's shape
// shows on a light background and a dark one alike, while its fills keep
// their colours.
using TDrawing = std::function<void(QPainter& p, const TSurround& surround)>;

// An icon that draws its picture anew for every size and device pixel ratio
// asked of it, so that it is as sharp at twice the scale as at the first.
// The drawing is scaled from its grid to the size asked for.
class TDrawnIconEngine : public QIconEngine {
public:
    TDrawnIconEngine(TDrawing drawing, QSizeF grid, QList<QSize> sizes, bool antialiased)
        : m_drawing(std::move(drawing))
        , m_grid(grid)
        , m_sizes(std::move(sizes))
        , m_antialiased(antialiased)
    { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        const QPixmap drawn = scaledPixmap(rect.size() * ratio, mode, state, ratio);
        painter->drawPixmap(rect, drawn);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // size is in device pixels: QIcon asks for the logical size times scale.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/, qreal scale) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            // Pictures drawn pixel by pixel for their own size are smoothed
            // once there is more than one pixel to a grid unit.
            p.setRenderHint(QPainter::Antialiasing, m_antialiased || size.width() > m_grid.width());
            p.scale(size.width() / m_grid.width(), size.height() / m_grid.height());
            const QPalette palette = QGuiApplication::palette();
            m_drawing(p, TSurround{palette.color(QPalette::WindowText), palette.color(QPalette::Button)});
        }
        if (mode == QIcon::Disabled && QApplication::style() != nullptr) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override
    {
        return size;
    }

    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override { return m_sizes; }

    QIconEngine* clone() const override { return new TDrawnIconEngine(*this); }

    QString key() const override { return QStringLiteral("mirovax-drawn"); }

private:
    TDrawing m_drawing;
    QSizeF m_grid;
    QList<QSize> m_sizes;
    bool m_antialiased;
};

void DrawFolder(QPainter& p, const TSurround& surround)
{
    // An open folder with a green arrow coming out of it.
    const QColor& ink = surround.ink;
    p.setPen(ink);
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(1, 5, 11, 8);
    p.setBrush(QColor(250, 225, 130));
    const std::array<QPointF, 4> flap = {QPointF(3, 8), QPointF(15, 8), QPointF(12, 13), QPointF(1, 13)};
    p.drawPolygon(flap.data(), static_cast<int>(flap.size()));
    p.setPen(QPen(ReadableOn(QColor(30, 130, 40), surround.background, kGraphicContrast), 1.5));
    p.drawLine(QPointF(9, 6), QPointF(13, 2));
    p.drawLine(QPointF(13, 2), QPointF(10, 2));
    p.drawLine(QPointF(13, 2), QPointF(13, 5));
}

void DrawDisk(QPainter& p, const TSurround& surround)
{
    const QColor& ink = surround.ink;
    // A diskette: dark body, metal shutter, white label.
    p.setPen(ink);
    p.setBrush(QColor(50, 80, 160));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(4, 1, 7, 4);
    p.setPen(QColor(20, 30, 70));
    p.setBrush(QColor(50, 80, 160));
    p.drawRect(8, 2, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(3, 8, 9, 6);
    p.setPen(QColor(150, 150, 160));
    p.drawLine(4, 10, 10, 10);
    p.drawLine(4, 12, 10, 12);
}

void DrawPrinter(QPainter& p, const TSurround& surround)
{
    const QColor& ink = surround.ink;
    // A printer with a sheet coming out at the top.
    p.setPen(ink);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 6);
    p.setBrush(QColor(175, 175, 180));
    p.drawRect(1, 6, 13, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 7, 5);
    p.setPen(QColor(40, 170, 60));
    p.drawPoint(12, 8);
    p.setPen(QColor(120, 120, 120));
    p.drawLine(5, 3, 9, 3);
    p.drawLine(5, 12, 9, 12);
}

void DrawHelp(QPainter& p, const TSurround& surround)
{
    const QColor& ink = surround.ink;
    // A blue disc with a white question mark.
    p.setPen(ink);
    p.setBrush(QColor(60, 120, 210));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawPayloadRange(QPainter& p, const TSurround& surround)
{
    const QColor& ink = surround.ink;
    // A framed sheet of white with the envelope: a level top, then the
    // payload falling with the range, and the mission as a green dot inside.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 13, 13);
    const std::array<QPointF, 5> envelope
        = {QPointF(2.5, 13.5), QPointF(2.5, 4), QPointF(8, 4), QPointF(12, 8), QPointF(14.5, 13.5)};
    p.setBrush(QColor(190, 210, 245));
    p.setPen(QPen(QColor(42, 111, 219), 1.5));
    p.drawPolygon(envelope.data(), static_cast<int>(envelope.size()));
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 0.5, 14, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(27, 138, 58));
    p.drawEllipse(QPointF(6.5, 9.5), 2, 2);
}

void DrawLimits(QPainter& p, const TSurround& surround)
{
    const QColor& ink = surround.ink;
    // Three gauges against a common limit mark: green well under it, amber
    // at it, red past it.
    struct Bar {
        int top;
        int right;
        QColor fill;
    };
    const std::array<Bar, 3> bars = {
        Bar{1, 7, QColor(46, 160, 67)}, Bar{6, 11, QColor(240, 165, 20)}, Bar{11, 14, QColor(215, 50, 50)}};
    for (const Bar& bar : bars) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(0, bar.top, 16, 4);
        p.setBrush(bar.fill);
        p.drawRect(0, bar.top, bar.right + 1, 4);
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, bar.top, 15, 3);
    }
    p.setPen(ink);
    p.drawLine(11, 0, 11, 15);
}

void DrawCompare(QPainter& p, const TSurround& surround)
{
    const QColor& ink = surround.ink;
    // Four columns side by side on a base line, the lowest one marked green
    // as the best.
    struct Column {
        int left;
        int top;
    };
    const std::array<Column, 4> columns = {Column{1, 5}, Column{5, 9}, Column{9, 3}, Column{13, 7}};
    for (const Column& c : columns) {
        const bool best = c.top == 9;
        p.setPen(ink);
        p.setBrush(best ? QColor(46, 160, 67) : QColor(90, 130, 210));
        p.drawRect(c.left, c.top, 2, 14 - c.top);
    }
    p.setPen(ink);
    p.drawLine(0, 15, 15, 15);
}

} // namespace

QIcon PictureIcon(TPicture picture)
{
    static const std::array<TDrawing, 7> kDrawings
        = {DrawFolder, DrawDisk, DrawPrinter, DrawHelp, DrawPayloadRange, DrawLimits, DrawCompare};
    const bool antialiased = picture == TPicture::Help || picture == TPicture::PayloadRange;
    return QIcon(new TDrawnIconEngine(kDrawings.at(static_cast<size_t>(picture)),
        QSizeF(kPictureSize, kPictureSize), {QSize(kPictureSize, kPictureSize)}, antialiased));
}

QIcon ProgramIcon()
{
    // The same drawing the desktop shows, in the ten sizes the window names
    // and, like the pictures, drawn anew for any other size asked of it.
    static const bool registered = (InitIconResource(), true);
    (void)registered;
    auto renderer = std::make_shared<QSvgRenderer>(QStringLiteral(":/mirovax/mirovax.svg"));
    QList<QSize> sizes;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 96, 128, 256})
        sizes.append(QSize(size, size));
    return QIcon(new TDrawnIconEngine(
        [renderer](QPainter& p, const TSurround& /*surround*/) {
            renderer->render(&p, QRectF(QPointF(0, 0), renderer->defaultSize()));
        },
        renderer->defaultSize(), sizes, true));
}

} // namespace mirovax
