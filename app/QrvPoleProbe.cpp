#include "QrvPoleProbe.h"

#include <algorithm>
#include <cmath>

namespace qrv
{

namespace
{

// Far more halvings than a double interval allows (about 2100 from the
// largest to the smallest spacing); the loop ends when the midpoint can no
// longer be told from an end.
constexpr int kMaxHalvings = 2200;

// A value that has grown this much beyond where it first escaped its pair
// (and beyond the smaller of the pair) has left any scale the curve had
// there: the curve runs into a pole.
constexpr Float kPoleGrowth = 1e6L;

// The value must at least double over this many halvings to go on.
constexpr int kGrowthWindow = 8;

// Whether v lies in the closed interval between a and b.
bool Within(Float v, Float a, Float b)
{
    return v >= std::min(a, b) && v <= std::max(a, b);
}

} // namespace

std::optional<Float> TPoleProbe::At(double x) const
{
    ++evaluations_;
    return formula_(x);
}

bool TPoleProbe::PoleBetween(double xa, Float ya, double xb, Float yb) const
{
    auto halve = [](double a, double b, double& mid) {
        mid = a + (b - a) / 2;
        return mid > std::min(a, b) && mid < std::max(a, b);
    };
    double xm = 0;
    if (!halve(xa, xb, xm)) return false;
    std::optional<Float> ym = At(xm);
    if (!ym) return true;
    if (Within(*ym, ya, yb)) return false;

    // The value at the middle escapes its pair. Follow it into the half
    // whose middle escapes further, or close in on the middle when it stands
    // out from both. A smooth extreme value is soon reached and the value
    // stops growing; a pole keeps it growing down to the spacing of doubles.
    // The scale the pole must leave far behind: where the value first
    // escaped, and the smaller of the pair.
    const Float scale = std::max(std::fabs(*ym), std::min(std::fabs(ya), std::fabs(yb)));
    Float magnitude = std::fabs(*ym), checkpoint = magnitude;
    for (int halving = 1; halving <= kMaxHalvings; ++halving) {
        double xl = 0, xr = 0;
        if (!halve(xa, xm, xl) || !halve(xm, xb, xr)) return false;
        const std::optional<Float> yl = At(xl);
        if (!yl) return true;
        const std::optional<Float> yr = At(xr);
        if (!yr) return true;
        const bool leftEscapes = !Within(*yl, ya, *ym);
        const bool rightEscapes = !Within(*yr, *ym, yb);
        if (leftEscapes && (!rightEscapes || std::fabs(*yl) >= std::fabs(*yr))) {
            xb = xm, yb = *ym;
            xm = xl, ym = yl;
        } else if (rightEscapes) {
            xa = xm, ya = *ym;
            xm = xr, ym = yr;
        } else {
            xa = xl, ya = *yl;
            xb = xr, yb = *yr;
        }
        magnitude = std::max(magnitude, std::fabs(*ym));
        if (magnitude >= kPoleGrowth * scale) return true;
        if (halving % kGrowthWindow == 0) {
            // Approaching a pole halves the distance to it at every step, so
            // the value at least doubles over a few; a bounded one does not.
            if (magnitude < 2 * checkpoint) return false;
            checkpoint = magnitude;
        }
    }
    return false;
}

} // namespace qrv
