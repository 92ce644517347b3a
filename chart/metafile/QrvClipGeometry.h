// Cutting lines and polygons to a rectangle before they are recorded.
//
// A metafile reader clips too, but several readers size the picture from the
// extent of everything drawn, clipped away or not; a zoomed chart whose curve
// runs thousands of pixels past the axes would then shrink to a corner. And a
// 16-bit format cannot hold such coordinates at all. So geometry is cut to
// (a little more than) the area that can show, and the reader's own clip
// makes the exact edge.
#pragma once

#include <QPoint>

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

// The parts of a polyline inside the box, each a polyline of two or more
// points; a part ends where the line leaves the box.
std::vector<std::vector<QPoint>> ClipPolyline(std::span<const QPoint> points, const TClipBox& box);

// The polygon cut to the box (the fill area inside it); empty when nothing of
// it is inside.
std::vector<QPoint> ClipPolygon(std::span<const QPoint> points, const TClipBox& box);

} // namespace qrv
