#include "QrvSampleGrid.h"

#include "QrvErrors.h"
#include "QrvFloat.h"

#include <cmath>
#include <limits>

namespace qrv
{

namespace
{

// The most steps a run may take, as in the Plot run.
constexpr Float kMaxSteps = 10000;

} // namespace

std::vector<double> SampleXs(double xMin, double xMax, double step)
{
    // The arithmetic of the Plot run's loop, step for step: the next x is
    // the sum formed in extended precision and stored as a double, so the
    // rounding errors of the running sum decide the last point as they do
    // there.
    std::vector<double> xs;
    const bool upwards = step > 0;
    double x = xMin;
    Float points = 0;
    while (upwards ? x <= xMax : x >= xMax) {
        xs.push_back(x);
        ++points;
        const Float next = Float(x) + Float(step);
        if (std::fabs(next) > std::numeric_limits<double>::max()) break;
        const double nextX = static_cast<double>(next);
        const bool passes = upwards ? nextX > xMax : nextX < xMax;
        if (passes) break;
        if (nextX == x && x == xMax) break;
        if (nextX == x || points > kMaxSteps) throw TMathExpr(Msg::StepTooSmall);
        x = nextX;
    }
    return xs;
}

} // namespace qrv
