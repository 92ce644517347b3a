// The run of a polar curve: r(t), a formula in the variable t, over T min,
// T max and Step (read and checked as the range fields are), drawn at
// (r cos t, r sin t). The angle t is read in the angle mode in force, as
// the trigonometric built-ins read theirs: from 0 to 360 in degrees is one
// turn. Each point goes to the target with its t (AddCurvePoint).
#pragma once

#include "QrvCurve.h"
#include "QrvPlotRun.h"

namespace qrv
{

// Every error leaves it as an exception, as RunPlot's do.
void RunPolar(const TCurve& curve, TPlotTarget& target);

} // namespace qrv
