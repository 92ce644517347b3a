#include "QrvPreviewDrag.h"

#include <cstdlib>

namespace qrv
{

namespace
{

bool Near(int a, int b)
{
    return std::abs(a - b) <= DragNearness;
}

bool Inside(QPoint p, const TChartRect& r)
{
    return p.x() >= r.Left && p.x() < r.Right && p.y() >= r.Top && p.y() < r.Bottom;
}

bool LeftMay(int x, const TChartRect& r, const TChartRect& paper)
{
    return paper.Left <= x && x < r.Right;
}

bool TopMay(int y, const TChartRect& r, const TChartRect& paper)
{
    return paper.Top <= y && y < r.Bottom;
}

bool RightMay(int x, const TChartRect& r, const TChartRect& paper)
{
    return r.Left < x && x <= paper.Right;
}

bool BottomMay(int y, const TChartRect& r, const TChartRect& paper)
{
    return r.Top < y && y <= paper.Bottom;
}

} // namespace

TDragZone DragZoneAt(QPoint mouse, const TChartRect& rect, bool resizable, bool movable)
{
    if (!resizable) return TDragZone::None;
    const bool left = Near(mouse.x(), rect.Left);
    const bool right = Near(mouse.x(), rect.Right);
    const bool top = Near(mouse.y(), rect.Top);
    const bool bottom = Near(mouse.y(), rect.Bottom);
    if (left && top) return TDragZone::TopLeft;
    if (left && bottom) return TDragZone::BottomLeft;
    if (right && top) return TDragZone::TopRight;
    if (right && bottom) return TDragZone::BottomRight;
    if (left) return TDragZone::Left;
    if (right) return TDragZone::Right;
    if (top) return TDragZone::Top;
    if (bottom) return TDragZone::Bottom;
    return movable && Inside(mouse, rect) ? TDragZone::Move : TDragZone::None;
}

Qt::CursorShape CursorForZone(TDragZone zone)
{
    switch (zone) {
    case TDragZone::Left:
    case TDragZone::Right:
        return Qt::SplitHCursor;
    case TDragZone::Top:
    case TDragZone::Bottom:
        return Qt::SplitVCursor;
    case TDragZone::Move:
        return Qt::OpenHandCursor;
    case TDragZone::TopLeft:
    case TDragZone::BottomRight:
        return Qt::SizeFDiagCursor;
    case TDragZone::TopRight:
    case TDragZone::BottomLeft:
        return Qt::SizeBDiagCursor;
    case TDragZone::None:
        break;
    }
    return Qt::ArrowCursor;
}

TChartRect DragRect(TDragZone zone, const TChartRect& rect, const TChartRect& paper, QPoint mouse,
                    const TDragStart& start)
{
    const int x = mouse.x(), y = mouse.y();
    TChartRect r = rect;
    switch (zone) {
    case TDragZone::Left:
        if (LeftMay(x, rect, paper)) r.Left = x;
        break;
    case TDragZone::Top:
        if (TopMay(y, rect, paper)) r.Top = y;
        break;
    case TDragZone::Right:
        if (RightMay(x, rect, paper)) r.Right = x;
        break;
    case TDragZone::Bottom:
        if (BottomMay(y, rect, paper)) r.Bottom = y;
        break;
    case TDragZone::TopLeft:
        if (LeftMay(x, rect, paper) && TopMay(y, rect, paper)) r.Left = x, r.Top = y;
        break;
    case TDragZone::TopRight:
        if (RightMay(x, rect, paper) && TopMay(y, rect, paper)) r.Right = x, r.Top = y;
        break;
    case TDragZone::BottomLeft:
        if (LeftMay(x, rect, paper) && BottomMay(y, rect, paper)) r.Left = x, r.Bottom = y;
        break;
    case TDragZone::BottomRight:
        if (RightMay(x, rect, paper) && BottomMay(y, rect, paper)) r.Right = x, r.Bottom = y;
        break;
    case TDragZone::Move: {
        const int dx = x - start.Mouse.x(), dy = y - start.Mouse.y();
        const TChartRect moved{start.Rect.Left + dx, start.Rect.Top + dy, start.Rect.Right + dx,
                               start.Rect.Bottom + dy};
        // The right and bottom edges may lie on the paper's edge, as an
        // edge drag may put them there; otherwise a rectangle with no right
        // or bottom margin could never be moved again.
        if (moved.Left >= paper.Left && moved.Top >= paper.Top && moved.Right <= paper.Right &&
            moved.Bottom <= paper.Bottom)
            r = moved;
        break;
    }
    case TDragZone::None:
        break;
    }
    return r;
}

} // namespace qrv
