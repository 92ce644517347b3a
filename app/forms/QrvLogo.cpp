#include "QrvLogo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace qrv
{

// A small framed plot of a damped wave on graph paper, with the axes, and
// the formula it shows beside it.
QPixmap QurviaLogo()
{
    QPixmap logo(kLogoWidth, kLogoHeight);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF plot(2.5, 2.5, 72, 44);
    p.setPen(QPen(QColor(0x20, 0x40, 0x80), 1));
    p.setBrush(QColor(0xF4, 0xF8, 0xFF));
    p.drawRoundedRect(plot, 4, 4);

    p.setPen(QPen(QColor(0xC8, 0xD4, 0xE8), 0.8));
    for (int i = 1; i < 6; ++i) {
        const qreal x = plot.left() + plot.width() * i / 6;
        p.drawLine(QPointF(x, plot.top() + 2), QPointF(x, plot.bottom() - 2));
    }
    for (int i = 1; i < 4; ++i) {
        const qreal y = plot.top() + plot.height() * i / 4;
        p.drawLine(QPointF(plot.left() + 2, y), QPointF(plot.right() - 2, y));
    }

    const qreal axisY = plot.center().y();
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.drawLine(QPointF(plot.left() + 4, axisY), QPointF(plot.right() - 4, axisY));
    p.drawLine(QPointF(plot.left() + 8, plot.top() + 4), QPointF(plot.left() + 8, plot.bottom() - 4));

    QPainterPath wave;
    const qreal x0 = plot.left() + 8;
    const qreal span = plot.width() - 14;
    for (int i = 0; i <= 80; ++i) {
        const qreal t = i / 80.0;
        const qreal y = axisY - 17 * std::exp(-2.2 * t) * std::cos(t * 4 * M_PI);
        const QPointF point(x0 + t * span, y);
        if (i == 0)
            wave.moveTo(point);
        else
            wave.lineTo(point);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xD0, 0x10, 0x10), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(wave);

    QFont font(QStringLiteral("DejaVu Serif"));
    font.setItalic(true);
    font.setPixelSize(17);
    p.setFont(font);
    p.setPen(QColor(0x20, 0x40, 0x80));
    p.drawText(QRectF(80, 2, 88, 45), Qt::AlignCenter, QStringLiteral("y = f(x)"));
    return logo;
}

} // namespace qrv
