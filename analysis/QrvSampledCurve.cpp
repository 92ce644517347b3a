#include "QrvSampledCurve.h"

#include "QrvMessages.h"

#include <algorithm>
#include <cmath>

namespace qrv
{

std::optional<TJet> TCountedFunction::At(Float x, TJetNeed need)
{
    ++counts_.Evaluations;
    std::optional<TJet> jet = function_.At(x, need);
    if (!jet) {
        failure_ = function_.FailureText();
        return jet;
    }
    if (!std::isfinite(jet->Value)) {
        failure_ = FormatMessage(Msg::AnalysisNotFinite);
        return std::nullopt;
    }
    if (!std::isfinite(jet->D1)) jet->HasD1 = false;
    if (!std::isfinite(jet->D2)) jet->HasD2 = false;
    return jet;
}

bool TCountedFunction::PoleBetween(Float xa, Float ya, Float xb, Float yb)
{
    ++counts_.PoleQuestions;
    return function_.PoleBetween(xa, ya, xb, yb);
}

TSampledCurve::TSampledCurve(TAnalysisFunction& function, TAnalysisCounts& counts,
                             const std::vector<double>& runXs)
    : function_(function, counts)
{
    samples_.reserve(runXs.size());
    for (double x : runXs) {
        TSample sample{x, function_.At(x, TJetNeed::Second), {}};
        if (!sample.Jet) sample.Failure = function_.FailureText();
        samples_.push_back(std::move(sample));
    }
    if (samples_.size() > 1 && samples_.front().X > samples_.back().X)
        std::reverse(samples_.begin(), samples_.end());
}

TSample TSampledCurve::At(Float x)
{
    auto it = std::lower_bound(samples_.begin(), samples_.end(), x,
                               [](const TSample& s, Float value) { return s.X < value; });
    if (it != samples_.end() && it->X == x) return *it;
    TSample sample{x, function_.At(x, TJetNeed::Second), {}};
    if (!sample.Jet) sample.Failure = function_.FailureText();
    return sample;
}

} // namespace qrv
