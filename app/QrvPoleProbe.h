// Whether a curve is continuous between two neighbouring points of a run,
// decided with the formula itself: the probe evaluates it between them and
// follows the value wherever it escapes the pair.
//
// A smooth curve soon stays within its neighbours as the probe halves the
// interval (an extreme value between them is approached, not exceeded). At a
// pole the value escapes at every halving, growing without bound, until the
// interval cannot be halved any more or the formula raises an error. A jump
// (x div 1) stays within its pair and is not a pole.
#pragma once

#include "QrvFloat.h"

#include <functional>
#include <optional>

namespace qrv
{

class TPoleProbe
{
public:
    // The formula at x; nothing when it raises an error there.
    using TFormula = std::function<std::optional<Float>(double x)>;

    explicit TPoleProbe(TFormula formula) : formula_(std::move(formula)) {}

    // True when the curve has a pole (or is undefined) somewhere strictly
    // between the points (xa, ya) and (xb, yb).
    bool PoleBetween(double xa, Float ya, double xb, Float yb) const;

    // How many times the formula was evaluated so far.
    unsigned Evaluations() const { return evaluations_; }

private:
    std::optional<Float> At(double x) const;

    TFormula formula_;
    mutable unsigned evaluations_ = 0;
};

} // namespace qrv
