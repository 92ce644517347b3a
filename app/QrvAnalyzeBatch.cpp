#include "QrvAnalyzeBatch.h"

#include "QrvAngleMode.h"
#include "QrvCurveRun.h"
#include "QrvErrors.h"
#include "QrvFeatureText.h"
#include "QrvFeatures.h"
#include "QrvFileWriter.h"
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

// The analysis function of a curve and its range, when both can be read.
struct TAnalysed {
    std::unique_ptr<TAnalysisFunction> Function;
    TPlotRange Range;
};

std::optional<TAnalysed> Checked(std::optional<TAnalysed> analysed)
{
    // A range whose xs the run refuses (too small a step) has none to analyse.
    if (analysed) SampleXs(analysed->Range.XMin, analysed->Range.XMax, analysed->Range.Step);
    return analysed;
}

std::optional<TAnalysed> Analysed(const std::vector<TCurve>& curves, const TCurve& curve)
{
    try {
        if (curve.Kind == TCurveKind::Function)
            return Checked(TAnalysed{std::make_unique<TFormulaAnalysis>(curve.Formula),
                                     ReadPlotRange(FunctionFields(curve))});
        if (curve.Kind != TCurveKind::Derivative) return std::nullopt;
        const TCurve* of = &curve;
        if (curve.Formula.empty()) {
            if (curve.Of < 1 || static_cast<std::size_t>(curve.Of) > curves.size()) return std::nullopt;
            of = &curves[static_cast<std::size_t>(curve.Of - 1)];
            if (of->Kind != TCurveKind::Function) return std::nullopt;
        }
        return Checked(TAnalysed{std::make_unique<TDerivedAnalysis>(of->Formula, curve.Order == 2 ? 2 : 1),
                                 ReadPlotRange(FunctionFields(*of))});
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

std::string AnalysisText(const TDocument& document)
{
    std::optional<TDocument> converted;
    const std::vector<TCurve>& curves = CurvesInCurrentSeparator(document, converted);
    const TScopedAngleMode mode(document.Angle);

    std::vector<TAnalysed> analysed;
    std::vector<TCurveInput> inputs;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        if (!curves[i].Visible) continue;
        std::optional<TAnalysed> one = Analysed(curves, curves[i]);
        if (!one) continue;
        analysed.push_back(std::move(*one));
        const TPlotRange& r = analysed.back().Range;
        inputs.push_back({static_cast<int>(i + 1), analysed.back().Function.get(), r.XMin, r.XMax, r.Step});
    }
    std::string text;
    for (const TFeature& feature : AnalyzeCurves(inputs))
        text += FeatureLine(feature);
    return text;
}

void WriteAnalysis(const std::string& destination, const TDocument& document, std::ostream& out)
{
    const std::string text = AnalysisText(document);
    if (destination != "-") {
        WriteWholeFile(destination, text);
        return;
    }
    out << text;
    out.flush();
    if (!out) throw Exception(Msg::CannotWriteOutput);
}

} // namespace qrv
