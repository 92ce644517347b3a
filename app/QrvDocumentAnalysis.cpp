#include "QrvDocumentAnalysis.h"

#include "QrvAngleMode.h"
#include "QrvAppTexts.h"
#include "QrvBuiltins.h"
#include "QrvCurveRun.h"
#include "QrvErrors.h"
#include "QrvExprEval.h"
#include "QrvFeatureText.h"
#include "QrvFormulaAnalysis.h"
#include "QrvNumberText.h"
#include "QrvPlotRun.h"
#include "QrvSampleGrid.h"
#include "QrvSeparatorText.h"

#include <memory>
#include <optional>
#include <vector>

namespace qrv
{

namespace
{

// The order-th derivative of a formula as a curve of its own: its value is
// f' (or f''), its first derivative f'' where that is known; poles are the
// formula's.
class TDerivedAnalysis final : public TAnalysisFunction
{
public:
    TDerivedAnalysis(std::string_view formula, int order) : formula_(formula), order_(order) {}

    std::optional<TJet> At(Float x, TJetNeed) override
    {
        // The failure of this call alone: the formula's, or the derivative's.
        failure_.clear();
        std::optional<TJet> jet = formula_.At(x, TJetNeed::Second);
        if (!jet) return std::nullopt;
        const bool has = order_ == 1 ? jet->HasD1 : jet->HasD2;
        if (!has) {
            failure_ = MessageText(Msg::NotDifferentiable);
            return std::nullopt;
        }
        if (order_ == 1) return TJet{jet->D1, jet->D2, 0, jet->HasD2, false};
        return TJet{jet->D2, 0, 0, false, false};
    }
    std::string FailureText() const override { return failure_.empty() ? formula_.FailureText() : failure_; }
    bool PoleBetween(Float xa, Float, Float xb, Float) override
    {
        std::optional<TJet> a = formula_.At(xa, TJetNeed::Value), b = formula_.At(xb, TJetNeed::Value);
        return !a || !b || formula_.PoleBetween(xa, a->Value, xb, b->Value);
    }

private:
    TFormulaAnalysis formula_;
    int order_;
    std::string failure_;
};

// The analysis function of a curve of x, the order of derivative its value
// is (0 for a function), and its range.
struct TAnalysed {
    std::unique_ptr<TAnalysisFunction> Function;
    int Order = 0;
    TPlotRange Range;
};

// The curve a derivative curve derives: the one it names, or itself when it
// carries a formula of its own; nullptr when that is no function.
const TCurve* DerivedCurve(const std::vector<TCurve>& curves, const TCurve& curve)
{
    if (!curve.Formula.empty()) return &curve;
    if (curve.Of < 1 || static_cast<std::size_t>(curve.Of) > curves.size()) return nullptr;
    const TCurve* of = &curves[static_cast<std::size_t>(curve.Of - 1)];
    return of->Kind == TCurveKind::Function ? of : nullptr;
}

// Raises what compiling the formula or reading the range raises.
std::optional<TAnalysed> Analysed(const std::vector<TCurve>& curves, const TCurve& curve)
{
    if (curve.Kind == TCurveKind::Function)
        return TAnalysed{std::make_unique<TFormulaAnalysis>(curve.Formula), 0,
                         ReadPlotRange(FunctionFields(curve))};
    if (curve.Kind != TCurveKind::Derivative) return std::nullopt;
    const TCurve* of = DerivedCurve(curves, curve);
    if (!of) return std::nullopt;
    const int order = curve.Order == 2 ? 2 : 1;
    return TAnalysed{std::make_unique<TDerivedAnalysis>(of->Formula, order), order,
                     ReadPlotRange(FunctionFields(*of))};
}

} // namespace

std::vector<TFeature> AnalyzeDocument(const TDocument& document)
{
    std::optional<TDocument> converted;
    const std::vector<TCurve>& curves = CurvesInCurrentSeparator(document, converted);
    const TScopedAngleMode mode(document.Angle);

    std::vector<TAnalysed> analysed;
    std::vector<TCurveInput> inputs;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        if (!curves[i].Visible) continue;
        try {
            std::optional<TAnalysed> one = Analysed(curves, curves[i]);
            if (!one) continue;
            // A range whose xs the run refuses (too small a step) has none
            // to analyse.
            SampleXs(one->Range.XMin, one->Range.XMax, one->Range.Step);
            analysed.push_back(std::move(*one));
        } catch (const std::exception&) {
            continue;
        }
        const TPlotRange& r = analysed.back().Range;
        inputs.push_back({static_cast<int>(i + 1), analysed.back().Function.get(), r.XMin, r.XMax, r.Step});
    }
    return AnalyzeCurves(inputs);
}

std::optional<std::array<TPointValue, 3>> EvaluateCurveAt(const TDocument& document, int index, Float x)
{
    std::optional<TDocument> converted;
    const std::vector<TCurve>& curves = CurvesInCurrentSeparator(document, converted);
    if (index < 0 || static_cast<std::size_t>(index) >= curves.size()) return std::nullopt;
    const TScopedAngleMode mode(document.Angle);
    std::optional<TAnalysed> analysed;
    try {
        analysed = Analysed(curves, curves[static_cast<std::size_t>(index)]);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!analysed) return std::nullopt;

    std::array<TPointValue, 3> values;
    const std::optional<TJet> jet = analysed->Function->At(x, TJetNeed::Second);
    if (!jet) {
        for (TPointValue& value : values)
            value.Why = analysed->Function->FailureText();
        return values;
    }
    const bool has[3] = {true, jet->HasD1, jet->HasD2};
    const Float numbers[3] = {jet->Value, jet->D1, jet->D2};
    for (int order = 0; order < 3; ++order) {
        TPointValue& value = values[static_cast<std::size_t>(order)];
        // The jets carry f'' of the formula, no further.
        if (analysed->Order + order > 2)
            value.Why = Text::NotAvailable;
        else if (!has[order])
            value.Why = MessageText(Msg::NotDifferentiable);
        else
            value.Value = numbers[order];
    }
    return values;
}

Float EvaluationX(const TDocument& document, std::string_view text)
{
    if (const std::optional<Float> number = TextToFloat(text, Blanks::Ignored)) return *number;
    const TScopedAngleMode mode(document.Angle);
    TCompiledEvaluator evaluator;
    evaluator.ExternalContexts().Add(BuiltinContext());
    evaluator.Compile(text);
    return evaluator.Evaluate();
}

std::string EvaluationText(const std::array<TPointValue, 3>& values, int number, char decimalSeparator)
{
    static constexpr const char* kPrimes[] = {"", "'", "''"};
    std::string text;
    for (std::size_t order = 0; order < values.size(); ++order) {
        const TPointValue& value = values[order];
        if (order > 0) text += '\n';
        text += "f" + std::to_string(number) + kPrimes[order] + "(x) = ";
        text += value.Value ? DisplayNumber(*value.Value, decimalSeparator) : value.Why;
    }
    return text;
}

} // namespace qrv
