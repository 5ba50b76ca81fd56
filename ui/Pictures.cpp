#include "ui/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <array>

// The icon's resource lives in this static library, so it is registered by
// hand before its first use.
static void InitIconResource()
{
    Q_INIT_RESOURCE(icon);
}

namespace mirovax {

namespace {

constexpr int kPictureSize = 16; // px

QPixmap BlankPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawFolder(QPainter& p)
{
    // An open folder with a green arrow coming out of it.
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(1, 5, 11, 8);
    p.setBrush(QColor(250, 225, 130));
    const std::array<QPointF, 4> flap = {QPointF(3, 8), QPointF(15, 8), QPointF(12, 13), QPointF(1, 13)};
    p.drawPolygon(flap.data(), static_cast<int>(flap.size()));
    p.setPen(QPen(QColor(30, 130, 40), 1.5));
    p.drawLine(QPointF(9, 6), QPointF(13, 2));
    p.drawLine(QPointF(13, 2), QPointF(10, 2));
    p.drawLine(QPointF(13, 2), QPointF(13, 5));
}

void DrawDisk(QPainter& p)
{
    // A diskette: dark body, metal shutter, white label.
    p.setPen(QColor(20, 30, 70));
    p.setBrush(QColor(50, 80, 160));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(4, 1, 7, 4);
    p.setBrush(QColor(50, 80, 160));
    p.drawRect(8, 2, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(3, 8, 9, 6);
    p.setPen(QColor(150, 150, 160));
    p.drawLine(4, 10, 10, 10);
    p.drawLine(4, 12, 10, 12);
}

void DrawPrinter(QPainter& p)
{
    // A printer with a sheet coming out at the top.
    p.setPen(QColor(60, 60, 60));
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

void DrawHelp(QPainter& p)
{
    // A blue disc with a white question mark.
    p.setPen(QColor(20, 60, 140));
    p.setBrush(QColor(60, 120, 210));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawPayloadRange(QPainter& p)
{
    // Two axes on white with the envelope: a level top, then the payload
    // falling with the range, and the mission as a green dot inside.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 13, 13);
    const std::array<QPointF, 5> envelope
        = {QPointF(2.5, 13.5), QPointF(2.5, 4), QPointF(8, 4), QPointF(12, 8), QPointF(14.5, 13.5)};
    p.setBrush(QColor(190, 210, 245));
    p.setPen(QPen(QColor(42, 111, 219), 1.5));
    p.drawPolygon(envelope.data(), static_cast<int>(envelope.size()));
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawLine(QPointF(1.5, 0.5), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(15.5, 14.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(27, 138, 58));
    p.drawEllipse(QPointF(6.5, 9.5), 2, 2);
}

void DrawLimits(QPainter& p)
{
    // Three gauges against a common limit mark: green well under it, amber
    // at it, red past it.
    struct Bar {
        int top;
        int right;
        QColor fill;
        QColor edge;
    };
    const std::array<Bar, 3> bars = {Bar{1, 7, QColor(46, 160, 67), QColor(20, 100, 35)},
        Bar{6, 11, QColor(240, 165, 20), QColor(160, 100, 0)},
        Bar{11, 14, QColor(215, 50, 50), QColor(140, 20, 20)}};
    for (const Bar& bar : bars) {
        p.setPen(QColor(150, 150, 150));
        p.setBrush(Qt::white);
        p.drawRect(0, bar.top, 15, 3);
        p.setPen(bar.edge);
        p.setBrush(bar.fill);
        p.drawRect(0, bar.top, bar.right, 3);
    }
    p.setPen(QColor(30, 30, 30));
    p.drawLine(11, 0, 11, 15);
}

void DrawCompare(QPainter& p)
{
    // Four columns side by side on a base line, the lowest one marked green
    // as the best.
    struct Column {
        int left;
        int top;
    };
    const std::array<Column, 4> columns = {Column{1, 5}, Column{5, 9}, Column{9, 3}, Column{13, 7}};
    for (const Column& c : columns) {
        const bool best = c.top == 9;
        p.setPen(best ? QColor(20, 100, 35) : QColor(40, 70, 140));
        p.setBrush(best ? QColor(46, 160, 67) : QColor(90, 130, 210));
        p.drawRect(c.left, c.top, 2, 14 - c.top);
    }
    p.setPen(QColor(30, 30, 30));
    p.drawLine(0, 15, 15, 15);
}

} // namespace

QPixmap DrawPicture(TPicture picture)
{
    QPixmap pixmap = BlankPixmap(kPictureSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, picture == TPicture::Help || picture == TPicture::PayloadRange);
    switch (picture) {
    case TPicture::LoadSetup:
        DrawFolder(p);
        break;
    case TPicture::SaveSetup:
        DrawDisk(p);
        break;
    case TPicture::PrintReport:
        DrawPrinter(p);
        break;
    case TPicture::Help:
        DrawHelp(p);
        break;
    case TPicture::PayloadRange:
        DrawPayloadRange(p);
        break;
    case TPicture::Limits:
        DrawLimits(p);
        break;
    case TPicture::Compare:
        DrawCompare(p);
        break;
    }
    return pixmap;
}

QIcon ProgramIcon()
{
    // The same drawing the desktop shows, rendered at each size so that small
    // sizes are drawn for their size rather than scaled down.
    static const std::array<int, 10> kSizes = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};
    static const bool registered = (InitIconResource(), true);
    (void)registered;
    QSvgRenderer renderer(QStringLiteral(":/mirovax/mirovax.svg"));
    QIcon icon;
    for (int size : kSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace mirovax
