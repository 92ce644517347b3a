#include "QrvPolarRun.h"

#include "QrvBuiltinTables.h"
#include "QrvBuiltins.h"
#include "QrvExprEval.h"
#include "QrvFpu.h"
#include "QrvMath.h"
#include "QrvRangeWalk.h"

namespace qrv
{

void RunPolar(const TCurve& curve, TPlotTarget& target)
{
    target.ClearPoints();
    const TPlotRange range = ReadPlotRange({std::string(), curve.TMin, curve.TMax, curve.Step});

    double t = range.XMin;
    TCompiledEvaluator rOfT;
    rOfT.ExternalContexts().Add(BuiltinContext());
    rOfT.AddVar("t", t);
    CompileFormula(rOfT, curve.Formula, target);

    WalkPlotRange(range, t, [&] {
        // r stays in Float: the point is where the formulas r(t)*cos(t)
        // and r(t)*sin(t) would put it, with cos and sin in the angle mode.
        const Float r = rOfT.Evaluate();
        Float sine = 0, cosine = 0;
        SinCos(AngleToRadians(t), sine, cosine);
        const double x = RoundToDouble(r * cosine);
        const double y = RoundToDouble(r * sine);
        target.AddCurvePoint(t, x, y);
    });
}

} // namespace qrv
