// The run of an implicit curve: the zero set of a formula in x and y over
// the rectangle X min .. X max, Y min .. Y max, traced as QrvImplicitCurve.h
// says on a grid as fine as the pixels of the chart it is drawn on. Its
// vertices go to the target as drawn points (AddDrawnPoint), one line after
// another with a break between them (BreakLine); the table gets a note
// instead of values, since the points lie on no grid. Where the formula
// raises an error the cells are left out, not drawn.
//
//   rectangle -> f(x, y) through the engine -> tracer -> lines -> target
#pragma once

#include "QrvCurve.h"
#include "QrvPlotRun.h"

namespace qrv
{

// The size of the chart an implicit curve is drawn on, in pixels: the
// rectangle's grid is made for it.
struct TChartPixels {
    int Width = 1000;
    int Height = 700;
};

// Reads and checks the rectangle (each field as a range field is read; X
// min below X max and Y min below Y max, else TMathExpr) and the formula,
// then traces and draws. Where the formula fails at every point tried,
// its first error ends the run as an exception: nothing of the curve could
// be drawn. Other errors leave it as exceptions, as RunPlot's do.
void RunImplicit(const TCurve& curve, TPlotTarget& target, TChartPixels pixels = {});

} // namespace qrv
