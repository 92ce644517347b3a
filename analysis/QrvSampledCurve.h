// A curve as the analysis uses it: every call counted, a value that is not
// finite taken as a failure (a derivative that is not finite as missing),
// and its jets at the sample xs kept, so that a pair of curves on a shared
// grid evaluates no sample twice.
#pragma once

#include "QrvAnalysisFunction.h"
#include "QrvFeatures.h"

#include <optional>
#include <string>
#include <vector>

namespace qrv
{

// A point of the grid: the jet, or the failure's message.
struct TSample {
    Float X = 0;
    std::optional<TJet> Jet;
    std::string Failure;
};

class TCountedFunction : public TAnalysisFunction
{
public:
    TCountedFunction(TAnalysisFunction& function, TAnalysisCounts& counts)
        : function_(function), counts_(counts)
    {
    }
    std::optional<TJet> At(Float x, TJetNeed need) override;
    std::string FailureText() const override { return failure_; }
    bool PoleBetween(Float xa, Float ya, Float xb, Float yb) override;

private:
    TAnalysisFunction& function_;
    TAnalysisCounts& counts_;
    std::string failure_;
};

class TSampledCurve
{
public:
    // Evaluates the curve at every x of the run.
    TSampledCurve(TAnalysisFunction& function, TAnalysisCounts& counts, const std::vector<double>& runXs);

    TCountedFunction& Function() { return function_; }
    // The samples by ascending x.
    const std::vector<TSample>& Samples() const { return samples_; }
    // The sample at x when x is one, else x evaluated now.
    TSample At(Float x);

private:
    TCountedFunction function_;
    std::vector<TSample> samples_;
};

} // namespace qrv
