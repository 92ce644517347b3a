// The run of a parametric curve: x(t) and y(t), each a formula in the
// variable t, over T min, T max and Step, which are read and checked as the
// range fields are (the same messages, at most 10 001 points, a run that
// always ends). Each point goes to the target with its t (AddCurvePoint).
//
//   T min, T max, Step -> t walk -> x(t), y(t) -> target (t, x, y)
#pragma once

#include "QrvCurve.h"
#include "QrvPlotRun.h"

namespace qrv
{

// Every error leaves it as an exception, as RunPlot's do: the range and the
// formulas (x(t) first) before any point, an evaluation error after the
// points made before it.
void RunParametric(const TCurve& curve, TPlotTarget& target);

} // namespace qrv
