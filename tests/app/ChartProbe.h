// What the window tests read from the chart and its series. A unit of its
// own: the chart's colour header and the settings' colour header (pulled in
// by the dialog interface) cannot be included in one file.
#pragma once

#include <QSize>

#include <cstdint>

namespace qrv
{
class TF_Main_GRF;
}

namespace qrv::test
{

int PointCount(const TF_Main_GRF& window);
double XValueAt(const TF_Main_GRF& window, int index);
std::uint32_t PointColor(const TF_Main_GRF& window, int index);
QSize ChartSize(const TF_Main_GRF& window);
bool ChartBufferValid(const TF_Main_GRF& window);
void RepaintChart(TF_Main_GRF& window);
// How many points have no line from the point before them.
int LineBreakCount(const TF_Main_GRF& window);
// The range of the left axis as of the last drawing.
double LeftAxisMinimum(const TF_Main_GRF& window);
double LeftAxisMaximum(const TF_Main_GRF& window);

} // namespace qrv::test
