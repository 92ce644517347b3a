#include "QrvClipGeometry.h"

#include <cmath>

namespace qrv
{

namespace
{

using TPointD = TClipPoint<double>;

QPoint Round(TPointD p)
{
    return {int(std::lround(p.X)), int(std::lround(p.Y))};
}

} // namespace

std::vector<std::vector<QPoint>> ClipPolyline(std::span<const QPoint> points, const TClipBox& box)
{
    std::vector<std::vector<QPoint>> parts;
    std::vector<QPoint> part;
    const auto close = [&] {
        if (part.size() >= 2) parts.push_back(std::move(part));
        part.clear();
    };
    for (size_t i = 1; i < points.size(); ++i) {
        const QPoint a = points[i - 1], b = points[i];
        if (box.Contains(a) && box.Contains(b)) {
            if (part.empty()) part.push_back(a);
            part.push_back(b);
            continue;
        }
        const TPointD da{double(a.x()), double(a.y())}, db{double(b.x()), double(b.y())};
        const std::optional<TSegmentPart<double>> inside = ClipSegment(da, db, box);
        if (!inside) {
            close();
            continue;
        }
        const double t0 = inside->T0, t1 = inside->T1;
        const QPoint c0 = t0 > 0 ? Round({da.X + t0 * (db.X - da.X), da.Y + t0 * (db.Y - da.Y)}) : a;
        const QPoint c1 = t1 < 1 ? Round({da.X + t1 * (db.X - da.X), da.Y + t1 * (db.Y - da.Y)}) : b;
        if (part.empty() || part.back() != c0) {
            close();
            part.push_back(c0);
        }
        part.push_back(c1);
        if (t1 < 1) close(); // the line leaves the box here
    }
    close();
    return parts;
}

std::vector<QPoint> ClipPolygon(std::span<const QPoint> points, const TClipBox& box)
{
    bool inside = true;
    for (const QPoint& p : points)
        inside = inside && box.Contains(p);
    if (inside) return {points.begin(), points.end()};

    // Sutherland-Hodgman: cut by each edge of the box in turn.
    std::vector<TPointD> poly;
    for (const QPoint& p : points)
        poly.push_back({double(p.x()), double(p.y())});
    const auto cut = [&poly](auto keep, auto cross) {
        std::vector<TPointD> out;
        for (size_t i = 0; i < poly.size(); ++i) {
            const TPointD a = poly[(i + poly.size() - 1) % poly.size()], b = poly[i];
            if (keep(b)) {
                if (!keep(a)) out.push_back(cross(a, b));
                out.push_back(b);
            } else if (keep(a))
                out.push_back(cross(a, b));
        }
        poly = std::move(out);
    };
    const auto atX = [](double x) {
        return [x](TPointD a, TPointD b) { return TPointD{x, a.Y + (b.Y - a.Y) * (x - a.X) / (b.X - a.X)}; };
    };
    const auto atY = [](double y) {
        return [y](TPointD a, TPointD b) { return TPointD{a.X + (b.X - a.X) * (y - a.Y) / (b.Y - a.Y), y}; };
    };
    const double l = box.Left, r = box.Right, t = box.Top, btm = box.Bottom;
    cut([l](TPointD p) { return p.X >= l; }, atX(l));
    cut([r](TPointD p) { return p.X <= r; }, atX(r));
    cut([t](TPointD p) { return p.Y >= t; }, atY(t));
    cut([btm](TPointD p) { return p.Y <= btm; }, atY(btm));

    std::vector<QPoint> out;
    for (const TPointD& p : poly) {
        const QPoint q = Round(p);
        if (out.empty() || out.back() != q) out.push_back(q);
    }
    if (out.size() > 1 && out.front() == out.back()) out.pop_back();
    if (out.size() < 3) out.clear();
    return out;
}

} // namespace qrv
