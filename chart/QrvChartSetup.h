// The chart as the main window shows it: white, two-dimensional, titles
// "X" and "Y", one red line series without pointers, x kept ascending.
#pragma once

#include "QrvChartPicture.h"

namespace qrv
{

// Applies those settings to the chart and gives it its line series,
// returned for the plot run to fill.
TLineSeries& SetUpGraphChart(TChartPicture& chart);
// A further line series set up like that first one (red, no pointers, x
// ascending), added after the chart's other series; for the curves of a
// document beyond the first.
TLineSeries& AddGraphSeries(TChartPicture& chart);

} // namespace qrv
