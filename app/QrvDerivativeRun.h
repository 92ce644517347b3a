// The run of a derivative curve: f' or f'' of a function curve of the same
// document, over that curve's range and at its xs, from the exact
// derivatives of its compiled formula.
#pragma once

#include "QrvCurveRun.h"

namespace qrv
{

// Plots the curve's derivative into `target`. The curve it derives is
// options.Curves[curve.Of - 1], or the curve itself when it has a formula
// (the command line's --derivative); one that is missing or not a function
// curve raises Msg::DerivativeOfNoFunction. Errors end the run as RunPlot's do: a
// point where the formula fails raises its error, one where the derivative
// does not exist "not differentiable".
void RunDerivative(const TCurve& curve, TPlotTarget& target, const TCurveRunOptions& options);

} // namespace qrv
