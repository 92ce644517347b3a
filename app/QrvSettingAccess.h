// The stored settings the command line uses, which draws images but creates
// no settings dialog and never writes the settings file, and the View
// choices given to a chart.
#pragma once

#include <string>

namespace qrv
{

class TChartPicture;

// Reads the stored line colour into Element_Color and the stored View
// choices into Break_At_Poles, Equal_Scales and Fine_Labels, from the
// settings file at `path` (the program's settings file when empty), opened
// once.
void LoadBatchSettings(const std::string& path);

// Gives the chart the View choices it draws with: equal scales from
// Equal_Scales, finer axis labels from Fine_Labels. The chart repaints when
// one changes.
void ApplyChartViewSettings(TChartPicture& chart);

} // namespace qrv
