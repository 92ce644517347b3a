// The walk of a range: from its start towards its end in steps, as the Plot
// run takes x, so every kind of curve that runs over a range of its own (x
// of a function, t of a parametric or polar curve) gets the same points,
// the same limit of 10 001 of them, and a walk that always ends.
#pragma once

#include "QrvErrors.h"
#include "QrvFloat.h"
#include "QrvPlotRun.h"

#include <cmath>
#include <limits>

namespace qrv
{

// The most steps a walk may take; it has at most one point more.
inline constexpr Float kMaxRangeSteps = 10000;

// Sets `at` to range.XMin, then calls visit() and steps on while `at` has
// not passed range.XMax. `at` is a running sum: each step is added in
// extended precision and stored as a double, so rounding errors accumulate
// and decide whether a point near the end is made. A step lost in the
// rounding, or one that creeps so that the walk would take more steps than
// the range check allowed, raises TMathExpr (Msg::StepTooSmall), unless the
// walk already stands at its end. The range is one that CheckPlotRange
// accepted.
template <class Visit> void WalkPlotRange(const TPlotRange& range, double& at, Visit&& visit)
{
    at = range.XMin;
    const bool upwards = range.Step > 0;
    Float points = 0;
    while (upwards ? at <= range.XMax : at >= range.XMax) {
        visit();
        ++points;
        const Float next = Float(at) + Float(range.Step);
        // Beyond the double range the next value has passed the end in any case.
        if (std::fabs(next) > std::numeric_limits<double>::max()) break;
        const double nextAt = static_cast<double>(next);
        const bool passes = upwards ? nextAt > range.XMax : nextAt < range.XMax;
        if (passes) break;
        if (nextAt == at && at == range.XMax) break;
        if (nextAt == at || points > kMaxRangeSteps) throw TMathExpr(Msg::StepTooSmall);
        at = nextAt;
    }
}

} // namespace qrv
