#include "QrvParametricRun.h"

#include "QrvBuiltins.h"
#include "QrvExprEval.h"
#include "QrvFpu.h"
#include "QrvRangeWalk.h"

namespace qrv
{

void RunParametric(const TCurve& curve, TPlotTarget& target)
{
    target.ClearPoints();
    const TPlotRange range = ReadPlotRange({std::string(), curve.TMin, curve.TMax, curve.Step});

    double t = range.XMin;
    TCompiledEvaluator xOfT, yOfT;
    for (TCompiledEvaluator* evaluator : {&xOfT, &yOfT}) {
        evaluator->ExternalContexts().Add(BuiltinContext());
        evaluator->AddVar("t", t);
    }
    CompileFormula(xOfT, curve.XOfT, target);
    CompileFormula(yOfT, curve.YOfT, target);

    WalkPlotRange(range, t, [&] {
        const double x = RoundToDouble(xOfT.Evaluate());
        const double y = RoundToDouble(yOfT.Evaluate());
        target.AddCurvePoint(t, x, y);
    });
}

} // namespace qrv
