// Dragging the printable rectangle on a preview sheet, free of any window:
// which part of the rectangle the mouse is over, the cursor each part shows,
// and how one mouse move changes the rectangle.
#pragma once

#include "QrvChartRect.h"

#include <QPoint>
#include <Qt>

namespace qrv
{

enum class TDragZone {
    None = 0,
    Left = 1,
    Top = 2,
    Right = 3,
    Bottom = 4,
    Move = 5,
    TopLeft = 6,
    TopRight = 7,
    BottomLeft = 8,
    BottomRight = 9
};

// Pixels the mouse may be off an edge's line and still grab it.
inline constexpr int DragNearness = 4;

// The zone under `mouse` for the printable rectangle `rect` (right and
// bottom exclusive). Edges and corners win over the inside; nothing is
// grabbed when the margins are not resizable, and the inside only when the
// rectangle is movable.
TDragZone DragZoneAt(QPoint mouse, const TChartRect& rect, bool resizable, bool movable);

Qt::CursorShape CursorForZone(TDragZone zone);

// Where a drag began: the mouse and the rectangle at the button press.
struct TDragStart {
    QPoint Mouse;
    TChartRect Rect;
};

// The rectangle after the mouse has moved to `mouse` while dragging `zone`.
// Edges follow the mouse while they stay on the paper and do not cross the
// opposite edge; a corner moves only when both its edges may. A move shifts
// the rectangle by the mouse's offset from the start, only while the whole
// rectangle stays on the paper. Any other case leaves `rect` as it is.
TChartRect DragRect(TDragZone zone, const TChartRect& rect, const TChartRect& paper, QPoint mouse,
                    const TDragStart& start);

} // namespace qrv
