#include "QrvDerivativeRun.h"

#include "QrvErrors.h"
#include "QrvFormulaAnalysis.h"
#include "QrvFpu.h"
#include "QrvSampleGrid.h"

#include <memory>
#include <string>

namespace qrv
{

void RunDerivative(const TCurve& curve, TPlotTarget& target, const TCurveRunOptions& options)
{
    target.ClearPoints();
    // A derivative with a formula of its own (the command line's
    // --derivative) derives that formula over its own range.
    const TCurve* derived = &curve;
    if (curve.Formula.empty()) {
        const bool found = curve.Of >= 1 && static_cast<std::size_t>(curve.Of) <= options.Curves.size();
        if (!found || options.Curves[static_cast<std::size_t>(curve.Of - 1)].Kind != TCurveKind::Function)
            throw Exception(Msg::DerivativeOfNoFunction, {std::to_string(curve.Of)});
        derived = &options.Curves[static_cast<std::size_t>(curve.Of - 1)];
    }
    const TCurve& of = *derived;
    const TPlotRange range = ReadPlotRange(FunctionFields(of));
    const std::vector<double> xs = SampleXs(range.XMin, range.XMax, range.Step);

    std::unique_ptr<TFormulaAnalysis> formula;
    try {
        formula = std::make_unique<TFormulaAnalysis>(of.Formula);
    } catch (...) {
        target.FormulaRead(false, {}, {});
        throw;
    }
    target.FormulaRead(true, formula->Evaluator().StopToken(), formula->Evaluator().IgnoredText());

    bool hasPrevious = false;
    double previousX = 0;
    Float previousValue = 0;
    for (double x : xs) {
        const TExprJet jet = formula->JetAt(x);
        const double y = RoundToDouble(DerivativeOf(jet, curve.Order == 2 ? 2 : 1));
        // A pole of f is one of its derivatives.
        if (options.Plot.BreakAtPoles && hasPrevious &&
            formula->PoleBetween(previousX, previousValue, x, jet.Value))
            target.BreakLine();
        target.AddPoint(x, y);
        hasPrevious = true;
        previousX = x;
        previousValue = jet.Value;
    }
}

} // namespace qrv
