// A document's curve on the chart: one line series per curve, with the
// curve's colour, line width (1 to 8 pixels) and style, shown or hidden, and
// its name in the legend. The window and the command line's pictures both
// build their charts through these, so a curve looks alike in each.
//
// The chart's first series comes from SetUpGraphChart (chart/QrvChartSetup.h)
// and belongs to the first curve: style it with ApplyCurveStyle. Every
// further curve gets a series of its own from AddCurveSeries, in the
// document's order (the legend's order; later curves are drawn on top);
// TChartPicture::RemoveSeries and MoveSeries follow removals and moves.
//
// A point added with UseSeriesColor is drawn in the curve's colour; a
// point added with a colour of its own (as the Plot run's target adds
// Element_Color) keeps that one, and the legend shows the colour of the
// series' first point.
#pragma once

#include <string>

namespace qrv
{

class TChartPicture;
class TLineSeries;
struct TCurve;

// Gives the series the curve's look: colour, width (held within 1 ... 8),
// style, shown or hidden (a hidden series is neither drawn nor counted for
// the axes), the order of its points (x order for a function of x, drawing
// order for the other kinds: CurvePointsInXOrder), and the title the legend shows, usually DisplayName(curve,
// index) of document/QrvCurve.h. Repaints the chart.
void ApplyCurveStyle(TLineSeries& series, const TCurve& curve, std::string title);

// A new series for the curve after the chart's others, set up as the first
// one is and styled by ApplyCurveStyle; returned for the curve's run to fill.
TLineSeries& AddCurveSeries(TChartPicture& chart, const TCurve& curve, std::string title);

} // namespace qrv
