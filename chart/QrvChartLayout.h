// The layout of a whole chart as a value: the panel and axes rectangles and
// every axis' layout, computed from the chart's settings, axes and series
// for one target rectangle. The same value serves the drawing and, for the
// chart's own window, the mouse.
#pragma once

#include "QrvAxisLayout.h"
#include "QrvChartAxis.h"
#include "QrvChartColor.h"
#include "QrvChartLegend.h"
#include "QrvChartPen.h"
#include "QrvChartRect.h"

#include <array>
#include <vector>

class QPaintDevice;
class QRect;

namespace qrv
{

class TChartSeries;

struct TChartWall {
    TChartPen Pen;
    TChartBrush Brush;
    // UseSeriesColor: the wall has no colour of its own.
    TColor Color = UseSeriesColor;
};

// The chart's own settings that layout and drawing read.
struct TChartFrame {
    TColor Color = clWhite;
    int MarginLeft = 3; // percent of the panel width or height
    int MarginTop = 4;
    int MarginRight = 3;
    int MarginBottom = 4;
    int BorderWidth = 0;
    bool AxisVisible = true;
    bool ClipPoints = true;
    TChartWall BackWall;
    TChartLegend Legend;
    // One unit as long on the bottom as on the left axis (a circle looks
    // round): the range of the axis that needs it is widened about its
    // centre in every layout, whatever the target's size.
    bool EqualScales = false;
    // The finer label step and the labels of the axis ends (TAxisLayout).
    bool FineLabels = false;
};

// Axes in layout and drawing order.
inline constexpr int ChartAxisCount = 5;
enum TChartAxisIndex { BottomAxisIndex, TopAxisIndex, LeftAxisIndex, RightAxisIndex, DepthAxisIndex };

// What a layout is computed from; the chart hands out a view of itself.
struct TChartContent {
    const TChartFrame& Frame;
    std::array<const TChartAxis*, ChartAxisCount> Axes;
    std::vector<TChartSeries*> Series;

    int HorizAxisIndexOf(const TChartSeries& s) const;
    int VertAxisIndexOf(const TChartSeries& s) const;
    std::vector<TChartSeries*> SeriesOfAxis(int index) const;
    // While the frame's AxisVisible, the axis' own Visible and an active
    // series is bound to it.
    bool IsAxisVisible(int index) const;
    // Whether the series' horizontal axis follows the data at both ends, so
    // that every point is drawn (a fixed range draws only those in view).
    bool DrawsEveryPoint(const TChartSeries& s) const;
};

struct TChartLayout {
    TChartRect PanelRect;
    TChartRect AxesRect;
    std::array<TAxisLayout, ChartAxisCount> Axes;
    // Shown with two or more shown series.
    TLegendLayout Legend;
    // While the legend is shown: the line runs of every series (none for a
    // hidden one), in the order of the content's series, which the legend
    // was placed by and which are drawn. Empty otherwise: each series then
    // builds its runs as it draws.
    std::vector<std::vector<TLineRun>> SeriesRuns;

    const TAxisLayout& Bottom() const { return Axes[BottomAxisIndex]; }
    const TAxisLayout& Top() const { return Axes[TopAxisIndex]; }
    const TAxisLayout& Left() const { return Axes[LeftAxisIndex]; }
    const TAxisLayout& Right() const { return Axes[RightAxisIndex]; }
};

// The layout of the content drawn into target; device gives the font
// metrics (nullptr: the screen's).
TChartLayout ComputeChartLayout(const TChartContent& content, const QRect& target,
                                const QPaintDevice* device);

} // namespace qrv
