// Pens and brushes of chart elements, and their translation to Qt.
#pragma once

#include "QrvChartColor.h"

#include <QBrush>
#include <QPen>

namespace qrv
{

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum class TBrushStyle { bsSolid, bsClear };

struct TChartPen {
    bool Visible = true;
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

struct TChartBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// The Qt pen for a chart pen drawn in the given colour. While printing, a
// pen that is not solid and one pixel wide is drawn with the thinnest line
// of the device; its dots and gaps keep the length they have on screen:
// deviceScale is how many device pixels one pixel of the chart's layout
// covers (a printer has many, and dots one device pixel long would run
// together into a solid line). Lines end flat so a wide axis line covers
// exactly its span.
QPen MakeQPen(const TChartPen& pen, TColor color, bool printing, double deviceScale = 1.0);
// The pen of a series' line: that of MakeQPen, except that a line wider than
// one pixel bevels the joins of its segments, so that a wide line does not
// spike where a curve turns sharply (a miter join runs far beyond the
// point); a bevel costs far less to draw than a round join over thousands of
// points and looks the same where a dense curve turns by little.
QPen MakeLinePen(const TChartPen& pen, TColor color, bool printing, double deviceScale = 1.0);
inline QPen MakeQPen(const TChartPen& pen, bool printing)
{
    return MakeQPen(pen, pen.Color, printing);
}

} // namespace qrv
