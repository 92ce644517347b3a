#include "QrvImageList.h"

#include <QPainter>
#include <QPainterPath>

#include <initializer_list>

namespace qrv
{

namespace
{

const QColor kInk(40, 40, 40);
const QColor kBlue(30, 80, 180);
const QColor kPaper(255, 255, 255);
const QColor kMetal(170, 170, 170);

QPixmap Blank(int size = kImageSize)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A blue disc with a white letter: help ("?") and about ("i").
void DrawBadge(QPainter& p, const QString& letter)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBlue.darker(130), 1));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font("Sans Serif");
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letter);
}

// Outlined boxes drawn in order, each filled with its own colour.
struct TBox {
    QColor Fill;
    QRect Rect;
};

void DrawBoxes(QPainter& p, std::initializer_list<TBox> boxes)
{
    p.setPen(kInk);
    for (const TBox& box : boxes) {
        p.setBrush(box.Fill);
        p.drawRect(box.Rect);
    }
}

// A printer: body, paper coming out on top; the paper's content is drawn by
// the caller in the rectangle (4, 1, 8, 6).
void DrawPrinter(QPainter& p)
{
    DrawBoxes(p, {{kPaper, QRect(3, 0, 9, 7)}, {kMetal, QRect(0, 7, 15, 6)}, {kInk, QRect(3, 13, 9, 2)}});
    p.setPen(QColor(40, 160, 40));
    p.drawPoint(12, 9);
}

void DrawSave(QPainter& p)
{
    DrawBoxes(p, {{kBlue, QRect(0, 0, 15, 15)}, {kPaper, QRect(3, 0, 9, 6)}, {kMetal, QRect(4, 9, 7, 6)}});
    p.fillRect(5, 10, 2, 4, kInk);
}

void DrawExit(QPainter& p)
{
    // An open door with an arrow leaving it.
    p.setPen(kInk);
    p.setBrush(QColor(150, 100, 50));
    p.drawRect(1, 0, 8, 15);
    p.setBrush(QColor(110, 70, 30));
    QPolygon door{QPoint(1, 0), QPoint(6, 2), QPoint(6, 15), QPoint(1, 15)};
    p.drawPolygon(door);
    p.setPen(QPen(QColor(200, 30, 30), 2));
    p.drawLine(8, 8, 14, 8);
    p.drawLine(11, 5, 14, 8);
    p.drawLine(11, 11, 14, 8);
}

// Axes and a curve: the Plot glyph and the program icon.
void DrawGraph(QPainter& p, int size, const QColor& axis, const QColor& curve)
{
    p.setRenderHint(QPainter::Antialiasing);
    qreal s = size / 16.0;
    p.setPen(QPen(axis, s));
    p.drawLine(QPointF(1.5 * s, 1 * s), QPointF(1.5 * s, 14.5 * s));
    p.drawLine(QPointF(1 * s, 14.5 * s), QPointF(15 * s, 14.5 * s));
    QPainterPath path(QPointF(2 * s, 12 * s));
    path.cubicTo(QPointF(6 * s, -2 * s), QPointF(9 * s, 18 * s), QPointF(15 * s, 3 * s));
    p.setPen(QPen(curve, 1.6 * s));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

} // namespace

QPixmap ImageListPixmap(int index)
{
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    switch (index) {
    case imgHelp:
        DrawBadge(p, "?");
        break;
    case imgAbout:
        DrawBadge(p, "i");
        break;
    case imgPrintReport:
        DrawPrinter(p);
        p.setPen(kInk);
        for (int y = 2; y <= 5; y += 2)
            p.drawLine(5, y, 10, y);
        break;
    case imgPrintGraph:
        DrawPrinter(p);
        p.setPen(QColor(220, 0, 0));
        p.drawLine(4, 5, 6, 2);
        p.drawLine(6, 2, 8, 4);
        p.drawLine(8, 4, 11, 1);
        break;
    case imgExit:
        DrawExit(p);
        break;
    case imgSave:
        DrawSave(p);
        break;
    case imgAnalysis:
        // A curve with its maximum and its root marked.
        DrawGraph(p, kImageSize, kInk, kBlue);
        p.setPen(QPen(QColor(220, 0, 0), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(5.2, 5.6), 2, 2);
        p.drawEllipse(QPointF(8.6, 8.4), 2, 2);
        break;
    default:
        p.end();
        return {};
    }
    return pixmap;
}

QIcon ImageListIcon(int index)
{
    QPixmap pixmap = ImageListPixmap(index);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QIcon PlotGlyph()
{
    QPixmap normal = Blank();
    {
        QPainter p(&normal);
        DrawGraph(p, kImageSize, kInk, QColor(220, 0, 0));
    }
    QPixmap disabled = Blank();
    {
        QPainter p(&disabled);
        DrawGraph(p, kImageSize, QColor(160, 160, 160), QColor(160, 160, 160));
    }
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::white);
        QPainter p(&pixmap);
        DrawGraph(p, size, kInk, QColor(220, 0, 0));
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace qrv
