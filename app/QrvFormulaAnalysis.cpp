#include "QrvFormulaAnalysis.h"

#include "QrvBuiltinDerivatives.h"
#include "QrvBuiltins.h"
#include "QrvErrorText.h"
#include "QrvPoleProbe.h"

namespace qrv
{

TFormulaAnalysis::TFormulaAnalysis(std::string_view formula)
{
    evaluator_.ExternalContexts().Add(BuiltinContext());
    evaluator_.AddVar("x", x_);
    evaluator_.Compile(formula);
    jets_ = std::make_unique<TExprJetProgram>(evaluator_.Machine(), &x_, BuiltinDerivativeRules());
}

TExprJet TFormulaAnalysis::JetAt(Float x)
{
    x_ = x;
    return jets_->Run();
}

std::optional<TJet> TFormulaAnalysis::At(Float x, TJetNeed need)
{
    x_ = x;
    try {
        if (need == TJetNeed::Value) return TJet{evaluator_.Evaluate(), 0, 0, false, false};
        const TExprJet jet = jets_->Run();
        return TJet{jet.Value, jet.D1, jet.D2, jet.HasD1, jet.HasD2};
    } catch (const std::exception& e) {
        failure_ = ExceptionDisplayText(e);
        return std::nullopt;
    }
}

bool TFormulaAnalysis::PoleBetween(Float xa, Float ya, Float xb, Float yb)
{
    const TPoleProbe probe([this](double at) -> std::optional<Float> {
        x_ = at;
        try {
            return evaluator_.Evaluate();
        } catch (const std::exception&) {
            return std::nullopt;
        }
    });
    return probe.PoleBetween(static_cast<double>(xa), ya, static_cast<double>(xb), yb);
}

Float DerivativeOf(const TExprJet& jet, int order)
{
    if (order == 0) return jet.Value;
    if (order == 1 ? !jet.HasD1 : !jet.HasD2) throw Exception(Msg::NotDifferentiable);
    return order == 1 ? jet.D1 : jet.D2;
}

} // namespace qrv
