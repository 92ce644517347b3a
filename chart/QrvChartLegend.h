// The legend of a chart of several curves: its settings, and its layout as
// a value (the box, its corner and its rows), computed from the shown
// series and the line pixels they draw, then drawn with the chart. A chart
// that shows one series has no legend, so its picture is what it always was.
//
// The box stands inside the axes rectangle, in the emptiest of its four
// corners: the one whose box covers the fewest pixels of the shown lines
// (ties go to top right, top left, bottom right, bottom left, in that order).
#pragma once

#include "QrvChartFont.h"
#include "QrvChartPen.h"
#include "QrvChartRect.h"
#include "QrvSeries.h"

#include <QString>

#include <array>
#include <vector>

class QFontMetrics;

namespace qrv
{

struct TChartLegend {
    // Shown while at least ShownFrom series are shown (active and
    // ShowInLegend); never with one alone.
    bool Visible = true;
    int ShownFrom = 2;
    TChartFont Font;
    TChartPen Frame{true, clBlack, 1, TPenStyle::psSolid};
    TColor Color = clWhite; // the box, drawn on prints too
};

// Distances of the legend's layout, in layout pixels.
inline constexpr int kLegendMargin = 6;  // from the axes rectangle's edges
inline constexpr int kLegendPadding = 4; // inside the frame
inline constexpr int kLegendSample = 24; // length of a row's line sample
inline constexpr int kLegendGap = 6;     // between the sample and the title

// In the order that settles a tie.
enum class TLegendCorner { TopRight, TopLeft, BottomRight, BottomLeft };

// A row of the legend as the chart hands it over: which series, its title,
// the colour and pen of its line.
struct TLegendEntry {
    int Series = -1; // index in the chart's series list
    QString Title;
    TColor Color = clBlack;
    TChartPen Pen;
};

struct TLegendRow {
    int Series = -1; // -1: the row that says more rows did not fit
    QString Text;    // the title, cut with an ellipsis where it is long
    TColor Color = clBlack;
    TChartPen Pen;
    QPoint SampleFrom; // the line sample, drawn with the series' pen
    QPoint SampleTo;
    QRect TextRect; // the text, left-aligned and centred vertically in it
};

struct TLegendLayout {
    bool Shown = false;
    TLegendCorner Corner = TLegendCorner::TopRight;
    // The frame's pixels run from Left to Right and Top to Bottom, edges
    // included, as the back wall's do around the axes rectangle.
    TChartRect Box;
    std::vector<TLegendRow> Rows;
};

// The box of the given width and height (its frame's outer extent, edges
// included: Right - Left = width - 1) in a corner of the axes rectangle.
TChartRect LegendBoxAt(TLegendCorner corner, const TChartRect& axes, int width, int height);

// How much of the lines a box covers: for each segment that meets it
// (edges included), the pixels of the part inside, counted along the
// segment's longer direction as a line is drawn, plus its first one.
double LineCover(const TChartRect& box, const std::vector<std::vector<TLineRun>>& lines);

// The corner whose box of that size covers the least of the lines.
TLegendCorner EmptiestCorner(const TChartRect& axes, int width, int height,
                             const std::vector<std::vector<TLineRun>>& lines);

// The legend for the entries in the axes rectangle: one row per entry, the
// titles measured and cut with metrics (so at most about 40 % of the axes'
// width or 32 average characters), as many rows as the height holds (the
// last then says that more follow). Not shown for fewer entries than the
// settings ask for, or when not even one row fits.
TLegendLayout ComputeLegendLayout(const TChartLegend& legend, const std::vector<TLegendEntry>& entries,
                                  const TChartRect& axes, const std::vector<std::vector<TLineRun>>& lines,
                                  const QFontMetrics& metrics);

} // namespace qrv
