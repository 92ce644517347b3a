// Drawings the metafile tests record: a small chart-like picture (white
// panel, frame, dotted grid, axis line, labels, a clipped curve) and a helper
// that records any drawing into file bytes.
#pragma once

#include "QrvMetafile.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <functional>

namespace qrv::test
{

inline QByteArray Record(MetafileKind kind, QSize size, const std::function<void(QPainter&)>& draw,
                         int dpi = 96)
{
    TMetafilePaintDevice device(kind, size, dpi);
    {
        QPainter painter(&device);
        draw(painter);
    }
    return device.Finish();
}

// The axes rectangle of the sample chart on a 352 x 304 picture.
inline const QRect SampleAxes(40, 20, 290, 240);

inline void DrawSample(QPainter& p)
{
    p.fillRect(QRect(0, 0, 352, 304), Qt::white);
    p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    for (int x = SampleAxes.left() + 50; x < SampleAxes.right(); x += 50)
        p.drawLine(x, SampleAxes.top(), x, SampleAxes.bottom());
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(SampleAxes);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(SampleAxes.bottomLeft() + QPoint(0, 6), SampleAxes.bottomRight() + QPoint(0, 6));
    p.setPen(Qt::black);
    p.setFont(QFont("Arial", 8));
    p.drawText(QRect(0, 280, 352, 20), Qt::AlignHCenter | Qt::AlignTop, "X");
    p.drawText(QRect(0, 130, 34, 20), Qt::AlignRight | Qt::AlignVCenter, "1,000");
    // The curve runs past the axes rectangle; the clip cuts it off.
    p.save();
    p.setClipRect(SampleAxes);
    p.setPen(QPen(Qt::red, 1));
    QPolygonF curve;
    for (int i = 0; i <= 400; ++i)
        curve << QPointF(20 + i, 140 - 150 * std::sin(i / 40.0));
    p.drawPolyline(curve);
    p.restore();
}

} // namespace qrv::test
