// The chart of a Plot, for the main window and for the images of the
// command line.
#pragma once

class QWidget;

namespace qrv
{

class TChart;
class TLineSeries;

// The chart's size in the main window at start, and so the default size of
// the command line's images.
inline constexpr int kStartChartWidth = 353;
inline constexpr int kStartChartHeight = 305;

// A new chart set up as the main window shows it, with its only series.
TChart* CreatePlotChart(QWidget* parent, TLineSeries*& series);

} // namespace qrv
