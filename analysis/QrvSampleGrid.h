// The x values at which a Plot run evaluates its formula: X min, X min +
// Step, ... while x has not passed X max, each a double formed the way the
// run forms it.
#pragma once

#include <vector>

namespace qrv
{

// The sample xs of a checked range in run order. Raises TMathExpr
// (StepTooSmall) where the run does: when the step is lost in the rounding
// of x short of X max, or the run would take more than 10 000 steps.
std::vector<double> SampleXs(double xMin, double xMax, double step);

} // namespace qrv
