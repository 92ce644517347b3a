// Cutting lines and polygons to a rectangle: the one segment clipping of the
// chart (its lines are cut to the pixel range before they are drawn) and of
// the metafile recorder, which cuts geometry before it is recorded.
//
// A metafile reader clips too, but several readers size the picture from the
// extent of everything drawn, clipped away or not; a zoomed chart whose curve
// runs thousands of pixels past the axes would then shrink to a corner. And a
// 16-bit format cannot hold such coordinates at all. So geometry is cut to
// (a little more than) the area that can show, and the reader's own clip
// makes the exact edge.
#pragma once

#include <QPoint>

#include <optional>
#include <span>
#include <vector>

namespace qrv
{

// A rectangle with its edges included, in device pixels.
struct TClipBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(QPoint p) const
    {
        return p.x() >= Left && p.x() <= Right && p.y() >= Top && p.y() <= Bottom;
    }
};

// A point of a segment being clipped, in the arithmetic T of its caller:
// double for device pixels, Float for positions far beyond any device.
template <class T> struct TClipPoint {
    T X;
    T Y;
};

// The part of a segment inside a box: the parameters along it (0 at its
// start, 1 at its end) between which it is inside.
template <class T> struct TSegmentPart {
    T T0;
    T T1;
};

// Liang-Barsky: the part of the segment from a to b inside the box, edges
// included; nothing when no part of it is inside. The one clipping of a
// segment that the chart's lines and the metafile recorder share.
template <class T>
std::optional<TSegmentPart<T>> ClipSegment(TClipPoint<T> a, TClipPoint<T> b, const TClipBox& box)
{
    const T dx = b.X - a.X, dy = b.Y - a.Y;
    // Edge by edge (left, right, top, bottom), the segment is on the inner
    // side where p * t <= q.
    const T p[4] = {-dx, dx, -dy, dy};
    const T q[4] = {a.X - T(box.Left), T(box.Right) - a.X, a.Y - T(box.Top), T(box.Bottom) - a.Y};
    TSegmentPart<T> part{T(0), T(1)};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == T(0)) {
            if (q[i] < T(0)) return std::nullopt; // parallel to this edge and outside it
            continue;
        }
        const T t = q[i] / p[i];
        if (p[i] < T(0)) {
            if (t > part.T1) return std::nullopt;
            if (t > part.T0) part.T0 = t;
        } else {
            if (t < part.T0) return std::nullopt;
            if (t < part.T1) part.T1 = t;
        }
    }
    return part;
}

// The parts of a polyline inside the box, each a polyline of two or more
// points; a part ends where the line leaves the box.
std::vector<std::vector<QPoint>> ClipPolyline(std::span<const QPoint> points, const TClipBox& box);

// The polygon cut to the box (the fill area inside it); empty when nothing of
// it is inside.
std::vector<QPoint> ClipPolygon(std::span<const QPoint> points, const TClipBox& box);

} // namespace qrv
