// The program's answer to what the analysis asks of a curve: a compiled
// formula's value and exact derivatives at any x (TExprJetProgram over the
// built-in context, x a Float so refinement reaches neighbouring Floats),
// and the Plot run's pole probe between two samples.
#pragma once

#include "QrvAnalysisFunction.h"
#include "QrvExprEval.h"
#include "QrvExprJets.h"

#include <memory>
#include <string>
#include <string_view>

namespace qrv
{

class TFormulaAnalysis final : public TAnalysisFunction
{
public:
    // Compiles the formula; raises what Compile raises. Evaluations follow
    // the angle mode in force when they are made.
    explicit TFormulaAnalysis(std::string_view formula);

    std::optional<TJet> At(Float x, TJetNeed need) override;
    std::string FailureText() const override { return failure_; }
    bool PoleBetween(Float xa, Float ya, Float xb, Float yb) override;

    const TCompiledEvaluator& Evaluator() const { return evaluator_; }

    // The jet at x, raising the formula's error where there is one.
    TExprJet JetAt(Float x);

private:
    Float x_ = 0;
    TCompiledEvaluator evaluator_;
    std::unique_ptr<TExprJetProgram> jets_;
    std::string failure_;
};

// The value of the order-th derivative (0, 1 or 2) of a jet; raises
// Msg::NotDifferentiable where it does not exist.
Float DerivativeOf(const TExprJet& jet, int order);

} // namespace qrv
