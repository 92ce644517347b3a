#include "QrvIntegral.h"

#include "QrvKronrodRule.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace qrv
{

namespace
{

constexpr Float kEps = std::numeric_limits<Float>::epsilon(); // 2^-63
constexpr std::size_t kMaxIntervals = 1000;
// The estimate that a value which did not converge may still carry.
const Float kLooseShare = std::ldexp(Float(1), -20);

struct TInterval {
    Float A = 0;
    Float B = 0;
    Float Kronrod = 0;
    Float Error = 0;
    Float Abs = 0; // the integral of |f|
};

// A sum that keeps the rounding error of each addition (Neumaier).
class TCompensatedSum
{
public:
    void Add(Float v)
    {
        const Float t = sum_ + v;
        if (std::fabs(sum_) >= std::fabs(v))
            carry_ += (sum_ - t) + v;
        else
            carry_ += (v - t) + sum_;
        sum_ = t;
    }
    Float Value() const { return sum_ + carry_; }

private:
    Float sum_ = 0;
    Float carry_ = 0;
};

class TIntegrator
{
public:
    explicit TIntegrator(TAnalysisFunction& function) : function_(function) {}

    // The rule on [a, b]; nothing when the formula fails at a node.
    std::optional<TInterval> Rule(Float a, Float b);

    Float FaultX = 0;
    std::string FaultMessage;

private:
    TAnalysisFunction& function_;
};

std::optional<TInterval> TIntegrator::Rule(Float a, Float b)
{
    const Float center = a + (b - a) / 2, half = (b - a) / 2;
    Float values[2 * kKronrodHalf - 1];
    for (int i = 0; i < kKronrodHalf; ++i) {
        const int count = i == kKronrodHalf - 1 ? 1 : 2;
        for (int side = 0; side < count; ++side) {
            const Float x = side == 0 ? center - half * kKronrodNodes[i] : center + half * kKronrodNodes[i];
            const std::optional<TJet> jet = function_.At(x, TJetNeed::Value);
            if (!jet) {
                FaultX = x;
                FaultMessage = function_.FailureText();
                return std::nullopt;
            }
            values[2 * i + side] = jet->Value;
        }
    }
    Float kronrod = 0, gauss = 0, absolute = 0;
    for (int i = 0; i < kKronrodHalf; ++i) {
        const Float pair = i == kKronrodHalf - 1 ? values[2 * i] : values[2 * i] + values[2 * i + 1];
        const Float pairAbs = i == kKronrodHalf - 1 ? std::fabs(values[2 * i])
                                                    : std::fabs(values[2 * i]) + std::fabs(values[2 * i + 1]);
        kronrod += kKronrodWeights[i] * pair;
        absolute += kKronrodWeights[i] * pairAbs;
        if (i % 2 == 1) gauss += kGaussWeights[i / 2] * pair;
    }
    const Float mean = kronrod / 2;
    Float spread = 0; // the integral of |f - mean|
    for (int i = 0; i < kKronrodHalf; ++i) {
        Float d = std::fabs(values[2 * i] - mean);
        if (i != kKronrodHalf - 1) d += std::fabs(values[2 * i + 1] - mean);
        spread += kKronrodWeights[i] * d;
    }
    kronrod *= half;
    gauss *= half;
    absolute *= std::fabs(half);
    spread *= std::fabs(half);

    // |K - G| measures the error of the Gauss rule; the Kronrod value is far
    // better. Scaled as is usual for these rules, and never below the
    // rounding of the sum itself.
    Float error = std::fabs(kronrod - gauss);
    if (spread != 0 && error != 0)
        error = spread * std::min(Float(1), std::pow(200 * error / spread, Float(1.5)));
    error = std::max(error, 2 * kEps * absolute);
    return TInterval{a, b, kronrod, error, absolute};
}

} // namespace

TIntegral Integrate(TAnalysisFunction& function, Float a, Float b, int pieces)
{
    TIntegral result;
    if (a == b) return result;
    const Float sign = a < b ? 1 : -1;
    const Float lo = std::min(a, b), hi = std::max(a, b);
    TIntegrator integrator(function);
    auto fail = [&] {
        result.NoValue = TNoValue::Failure;
        result.FaultX = integrator.FaultX;
        result.FaultMessage = integrator.FaultMessage;
        return result;
    };

    std::vector<TInterval> intervals;
    pieces = std::max(pieces, 1);
    Float start = lo;
    for (int i = 1; i <= pieces; ++i) {
        const Float end = i == pieces ? hi : lo + (hi - lo) * i / pieces;
        if (end <= start) continue;
        const std::optional<TInterval> piece = integrator.Rule(start, end);
        if (!piece) return fail();
        intervals.push_back(*piece);
        start = end;
    }

    bool converged = false, unsplittable = false;
    for (;;) {
        Float error = 0, absolute = 0;
        for (const TInterval& in : intervals) {
            error += in.Error;
            absolute += in.Abs;
        }
        // Done at the rounding level of the integral of |f|.
        if (error <= 8 * kEps * absolute) {
            converged = true;
            break;
        }
        if (intervals.size() >= kMaxIntervals) break;
        auto worst =
            std::max_element(intervals.begin(), intervals.end(),
                             [](const TInterval& x, const TInterval& y) { return x.Error < y.Error; });
        const Float mid = worst->A + (worst->B - worst->A) / 2;
        // An interval too narrow to halve that still carries the largest
        // error: the integrand varies at the resolution of Float (a pole
        // the rule walked into); no number would be honest.
        if (!(mid > worst->A && mid < worst->B)) {
            unsplittable = true;
            break;
        }
        const std::optional<TInterval> left = integrator.Rule(worst->A, mid);
        if (!left) return fail();
        const std::optional<TInterval> right = integrator.Rule(mid, worst->B);
        if (!right) return fail();
        *worst = *left;
        intervals.push_back(*right);
    }

    TCompensatedSum value, error;
    for (const TInterval& in : intervals) {
        value.Add(in.Kronrod);
        error.Add(in.Error);
    }
    result.Value = sign * value.Value();
    result.Error = error.Value();
    if (unsplittable || !std::isfinite(result.Value) ||
        (!converged && result.Error > kLooseShare * std::fabs(result.Value)))
        result.NoValue = TNoValue::NoConvergence;
    return result;
}

} // namespace qrv
