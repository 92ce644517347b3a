#include "QrvImplicitRun.h"

#include "QrvBuiltins.h"
#include "QrvErrors.h"
#include "QrvExprEval.h"
#include "QrvImplicitCurve.h"
#include "QrvMessages.h"

#include <exception>

namespace qrv
{

namespace
{

TImplicitRect ReadRectangle(const TCurve& curve)
{
    // In the order the fields stand: X min, X max, Y min, Y max.
    const double xMin = ReadRangeField(curve.XMin);
    const double xMax = ReadRangeField(curve.XMax);
    const double yMin = ReadRangeField(curve.YMin);
    const double yMax = ReadRangeField(curve.YMax);
    if (!(xMin < xMax)) throw TMathExpr(Msg::ImplicitXRange);
    if (!(yMin < yMax)) throw TMathExpr(Msg::ImplicitYRange);
    return {xMin, xMax, yMin, yMax};
}

} // namespace

void RunImplicit(const TCurve& curve, TPlotTarget& target, TChartPixels pixels)
{
    target.ClearPoints();
    const TImplicitRect rect = ReadRectangle(curve);

    double x = 0, y = 0;
    TCompiledEvaluator evaluator;
    evaluator.ExternalContexts().Add(BuiltinContext());
    evaluator.AddVar("x", x);
    evaluator.AddVar("y", y);
    CompileFormula(evaluator, curve.Formula, target);
    target.AddTableNote(MessageText(Msg::ImplicitNoTableValues));

    // The tracer tries doubles only (DoubleCoordinates), so x and y hold
    // each point exactly.
    bool anyValue = false;
    std::exception_ptr firstError;
    const TImplicitFunction f = [&](Float atX, Float atY) -> std::optional<Float> {
        x = static_cast<double>(atX);
        y = static_cast<double>(atY);
        try {
            const Float value = evaluator.Evaluate();
            anyValue = true;
            return value;
        } catch (const std::exception&) {
            if (!firstError) firstError = std::current_exception();
            return std::nullopt;
        }
    };
    TImplicitOptions options;
    options.DoubleCoordinates = true;
    const TImplicitCurve traced = TraceImplicitCurve(f, rect, pixels.Width, pixels.Height, options);
    if (!anyValue && firstError) std::rethrow_exception(firstError);

    bool first = true;
    for (const TPolyline& line : traced.Polylines) {
        if (!first) target.BreakLine();
        first = false;
        for (const TPlanePoint& p : line)
            target.AddDrawnPoint(static_cast<double>(p.X), static_cast<double>(p.Y));
    }
}

} // namespace qrv
