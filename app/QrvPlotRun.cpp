#include "QrvPlotRun.h"

#include "QrvAppTexts.h"
#include "QrvBuiltins.h"
#include "QrvErrors.h"
#include "QrvExprEval.h"
#include "QrvFpu.h"
#include "QrvNumberText.h"
#include "QrvPoleProbe.h"
#include "QrvRangeWalk.h"

#include <cmath>
#include <limits>

namespace qrv
{

double ReadRangeField(const std::string& text)
{
    return RoundToDouble(StrToFloat(text, Blanks::Ignored));
}

std::string IgnoredTextHint(std::string_view ignored)
{
    std::string text = Text::IgnoredAfterFormula;
    text += ignored;
    return text;
}

TPlotFields StartupFields(char decimalSeparator)
{
    TPlotFields fields;
    fields.Formula = std::string("5") + decimalSeparator + "22 - 5" + decimalSeparator + "44E-4 * (x - 817)";
    fields.XMin = "817";
    fields.XMax = "2000";
    fields.Step = "20";
    return fields;
}

void CheckPlotRange(const TPlotRange& r)
{
    if (r.XMin > r.XMax && r.Step > 0) throw TMathExpr(Msg::InitialGreater);
    if (r.XMin < r.XMax && r.Step < 0) throw TMathExpr(Msg::InitialSmaller);
    if (r.Step == 0) throw TMathExpr(Msg::StepZero);
    // In Float, so the difference of two large doubles of opposite sign
    // cannot overflow; a quotient of exactly 10000 passes.
    Float steps = std::fabs(Float(r.XMin) - Float(r.XMax)) / std::fabs(Float(r.Step));
    if (steps > kMaxRangeSteps) throw TMathExpr(Msg::StepTooSmall);
}

TPlotRange ReadPlotRange(const TPlotFields& fields)
{
    TPlotRange r;
    r.XMin = ReadRangeField(fields.XMin);
    r.XMax = ReadRangeField(fields.XMax);
    r.Step = ReadRangeField(fields.Step);
    CheckPlotRange(r);
    return r;
}

void CompileFormula(TCompiledEvaluator& evaluator, const std::string& formula, TPlotTarget& target)
{
    try {
        evaluator.Compile(formula);
    } catch (...) {
        target.FormulaRead(false, evaluator.StopToken(), {});
        throw;
    }
    target.FormulaRead(true, evaluator.StopToken(), evaluator.IgnoredText());
}

void RunPlot(const TPlotFields& fields, TPlotTarget& target, const TPlotOptions& options)
{
    target.ClearPoints();
    const TPlotRange range = ReadPlotRange(fields);

    double x = range.XMin;
    TCompiledEvaluator evaluator;
    evaluator.ExternalContexts().Add(BuiltinContext());
    evaluator.AddVar("x", x);
    CompileFormula(evaluator, fields.Formula, target);

    // The probe evaluates the formula between points through the run's own
    // x, which it puts back afterwards; its errors only mark a break.
    const TPoleProbe probe([&](double at) -> std::optional<Float> {
        const double saved = x;
        x = at;
        std::optional<Float> value;
        try {
            value = evaluator.Evaluate();
        } catch (const std::exception&) {
        }
        x = saved;
        return value;
    });
    bool hasPrevious = false;
    double previousX = 0, previousY = 0;
    WalkPlotRange(range, x, [&] {
        double y = RoundToDouble(evaluator.Evaluate());
        if (options.BreakAtPoles && hasPrevious && probe.PoleBetween(previousX, previousY, x, y))
            target.BreakLine();
        target.AddPoint(x, y);
        hasPrevious = true;
        previousX = x;
        previousY = y;
    });
}

} // namespace qrv
