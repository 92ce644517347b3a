// The refinement of one crossing of an implicit curve along a cell edge: the
// edge is a stretch of one coordinate t with f < 0 at one end and f >= 0 at
// the other, and the crossing is closed in on until the bracket's ends are
// neighbouring numbers (or f is exactly zero), so the vertex drawn there is
// a true zero to the last bit the coordinates can carry.
#pragma once

#include "QrvFeatureSearch.h"
#include "QrvFloat.h"

#include <cmath>
#include <optional>

namespace qrv
{

// A sign change whose values are far apart at neighbouring numbers is a
// jump (the pole of 1/x, a step of floor), not a zero: a continuous f moves
// across the last bracket by its slope times one unit of the last place.
// The share of the edge's own values that such a last step may still carry.
inline const Float kEdgeJumpShare = std::ldexp(Float(1), -16);

// Why no vertex was found; None when it was.
enum class TEdgeFault { None, Jump, Failure };

// One end of an edge: the coordinate along the edge and f there (finite or
// infinite, not NaN).
struct TEdgeEnd {
    Float T = 0;
    Float Value = 0;
};

struct TEdgeVertex {
    TEdgeFault Fault = TEdgeFault::None;
    // The vertex: the end of the last bracket with the smaller |f| (or the
    // point where f is exactly zero), and f there.
    Float T = 0;
    Float Value = 0;
};

namespace detail
{

inline Float OnGrid(Float t, bool doubles)
{
    return doubles ? static_cast<Float>(static_cast<double>(t)) : t;
}

inline bool Neighbours(Float a, Float b, bool doubles)
{
    if (a == b) return true;
    if (doubles)
        return std::nextafter(static_cast<double>(a), static_cast<double>(b)) == static_cast<double>(b);
    return std::nextafter(a, b) == b;
}

// The number next to `from` towards `to` (on the grid of doubles with
// `doubles`).
inline Float Next(Float from, Float to, bool doubles)
{
    if (doubles)
        return static_cast<Float>(std::nextafter(static_cast<double>(from), static_cast<double>(to)));
    return std::nextafter(from, to);
}

// A point strictly between a and b (not neighbours) that halves the bracket
// in the sense of Between: near the middle, or the middle of the exponents
// of a bracket that spans many.
inline Float Halving(Float a, Float b, bool doubles)
{
    const Float lo = std::min(a, b), hi = std::max(a, b);
    Float c = OnGrid(Between(lo, hi), doubles);
    if (!(c > lo && c < hi)) c = Next(lo, hi, doubles);
    return c;
}

} // namespace detail

// Refines the crossing between `negative` (f < 0) and `positive` (f >= 0),
// in either order along t. `f(t)` gives nothing where the formula fails.
// The secant of the bracket's ends finds the zero in a few steps; where it
// closes in from one side it steps past the zero, and a halving is forced
// whenever three steps have not halved the bracket or |f| grew, so a jump or
// a flat stretch closes about as fast as a bisection would. With `doubles` the points
// tried are doubles and the bracket ends at neighbouring doubles (for a
// function that reads its coordinates as doubles). An exact zero at the
// positive end is the vertex at once. A failure at any point tried gives
// Failure; a last bracket that is a jump gives Jump.
template <class F> TEdgeVertex RefineEdgeCrossing(F&& f, TEdgeEnd negative, TEdgeEnd positive, bool doubles)
{
    if (positive.Value == 0) return {TEdgeFault::None, positive.T, 0};
    const Float scaleA = std::fabs(negative.Value), scaleB = std::fabs(positive.Value);
    Float scale = std::isfinite(scaleA) ? scaleA : 0;
    if (std::isfinite(scaleB)) scale = std::max(scale, scaleB);

    TEdgeEnd a = negative, b = positive;
    // Which end the last point replaced (-1: a, +1: b) and how many times in
    // a row; the width when the bracket last halved, and the steps since.
    int moved = 0, streak = 0;
    Float width = std::fabs(b.T - a.T), widthAtMark = width;
    int stepsSinceHalved = 0;
    bool growing = false;
    constexpr int kMaxSteps = 400;
    for (int step = 0; step < kMaxSteps && !detail::Neighbours(a.T, b.T, doubles); ++step) {
        const Float lo = std::min(a.T, b.T), hi = std::max(a.T, b.T);
        Float c = std::numeric_limits<Float>::quiet_NaN();
        if (stepsSinceHalved < 3 && !growing && std::isfinite(a.Value) && std::isfinite(b.Value)) {
            c = b.T - b.Value * ((b.T - a.T) / (b.Value - a.Value));
            // Closing in from one side: step twice as far from the end that
            // keeps moving, past the zero, so the far end comes in too.
            if (streak >= 2) c += c - (moved > 0 ? b.T : a.T);
            c = detail::OnGrid(c, doubles);
            if (c == lo) c = detail::Next(lo, hi, doubles);
            if (c == hi) c = detail::Next(hi, lo, doubles);
        }
        if (!(c > lo && c < hi)) c = detail::Halving(lo, hi, doubles);
        const std::optional<Float> value = f(c);
        if (!value || std::isnan(*value)) return {TEdgeFault::Failure, c, 0};
        if (*value == 0) return {TEdgeFault::None, c, 0};
        const int side = *value < 0 ? -1 : 1;
        // |f| growing towards the sign change is a pole's, not a zero's:
        // the secant would creep, so the next step halves.
        growing = std::fabs(*value) > std::fabs((side < 0 ? a : b).Value);
        (side < 0 ? a : b) = TEdgeEnd{c, *value};
        streak = side == moved ? streak + 1 : 1;
        moved = side;
        width = std::fabs(b.T - a.T);
        if (width <= widthAtMark / 2) {
            widthAtMark = width;
            stepsSinceHalved = 0;
        } else {
            ++stepsSinceHalved;
        }
    }
    const TEdgeEnd& best = std::fabs(a.Value) <= std::fabs(b.Value) ? a : b;
    if (std::fabs(b.Value - a.Value) > kEdgeJumpShare * scale) return {TEdgeFault::Jump, best.T, best.Value};
    return {TEdgeFault::None, best.T, best.Value};
}

} // namespace qrv
