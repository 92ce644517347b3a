// The chart as the main window shows it: white, two-dimensional, titles
// "X" and "Y", one red line series without pointers, x kept ascending.
#pragma once

#include "QrvChartPicture.h"

namespace qrv
{

// Applies those settings to the chart and gives it its line series,
// returned for the plot run to fill.
TLineSeries& SetUpGraphChart(TChartPicture& chart);

} // namespace qrv
