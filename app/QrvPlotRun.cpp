#include "QrvPlotRun.h"

#include "QrvAppTexts.h"
#include "QrvBuiltins.h"
#include "QrvErrors.h"
#include "QrvExprEval.h"
#include "QrvFpu.h"
#include "QrvNumberText.h"
#include "QrvPoleProbe.h"

#include <cmath>
#include <limits>

namespace qrv
{

namespace
{

// The most steps a run may take; a run has at most one point more.
constexpr Float kMaxSteps = 10000;

double ReadField(const std::string& text)
{
    return RoundToDouble(StrToFloat(text, Blanks::Ignored));
}

} // namespace

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
    if (steps > kMaxSteps) throw TMathExpr(Msg::StepTooSmall);
}

TPlotRange ReadPlotRange(const TPlotFields& fields)
{
    TPlotRange r;
    r.XMin = ReadField(fields.XMin);
    r.XMax = ReadField(fields.XMax);
    r.Step = ReadField(fields.Step);
    CheckPlotRange(r);
    return r;
}

void RunPlot(const TPlotFields& fields, TPlotTarget& target, const TPlotOptions& options)
{
    target.ClearPoints();
    const TPlotRange range = ReadPlotRange(fields);

    double x = range.XMin;
    TCompiledEvaluator evaluator;
    evaluator.ExternalContexts().Add(BuiltinContext());
    evaluator.AddVar("x", x);
    try {
        evaluator.Compile(fields.Formula);
    } catch (...) {
        target.FormulaRead(false, evaluator.StopToken(), {});
        throw;
    }
    target.FormulaRead(true, evaluator.StopToken(), evaluator.IgnoredText());

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

    const bool upwards = range.Step > 0;
    Float points = 0;
    while (upwards ? x <= range.XMax : x >= range.XMax) {
        double y = RoundToDouble(evaluator.Evaluate());
        if (options.BreakAtPoles && hasPrevious && probe.PoleBetween(previousX, previousY, x, y))
            target.BreakLine();
        target.AddPoint(x, y);
        hasPrevious = true;
        previousX = x;
        previousY = y;
        ++points;
        // The sum is formed in extended precision and then stored as a
        // double, as the floating-point unit does: x is a running sum, so
        // rounding errors accumulate and decide whether a point near X max
        // is produced.
        Float next = Float(x) + Float(range.Step);
        // Beyond the double range the next x has passed X max in any case.
        if (std::fabs(next) > std::numeric_limits<double>::max()) break;
        const double nextX = static_cast<double>(next);
        const bool passes = upwards ? nextX > range.XMax : nextX < range.XMax;
        if (passes) break;
        // Where the step is lost in the rounding, x stands still; where it
        // rounds to fewer units than it is, x creeps and would take more
        // steps than the range check allowed. Either way the run ends: at
        // X max it is complete, short of it the step is too small.
        if (nextX == x && x == range.XMax) break;
        if (nextX == x || points > kMaxSteps) throw TMathExpr(Msg::StepTooSmall);
        x = nextX;
    }
}

} // namespace qrv
