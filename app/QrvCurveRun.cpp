#include "QrvCurveRun.h"

#include "QrvAngleMode.h"
#include "QrvDerivativeRun.h"
#include "QrvErrorText.h"
#include "QrvErrors.h"
#include "QrvImplicitRun.h"
#include "QrvNumberText.h"
#include "QrvParametricRun.h"
#include "QrvPolarRun.h"
#include "QrvSeparatorText.h"

#include <algorithm>
#include <array>

namespace qrv
{

namespace
{

// ---- the runs of the kinds ----------------------------------------------------

void RunFunction(const TCurve& curve, TPlotTarget& target, const TCurveRunOptions& options)
{
    const TPlotFields fields = FunctionFields(curve);
    if (!options.Progress) {
        RunPlot(fields, target, options.Plot);
        return;
    }
    TSteadyClock steady;
    RunPlotWatched(fields, target, options.Progress, options.Clock ? *options.Clock : steady, options.Times,
                   options.Plot);
}

void RunParametricKind(const TCurve& curve, TPlotTarget& target, const TCurveRunOptions&)
{
    RunParametric(curve, target);
}

void RunPolarKind(const TCurve& curve, TPlotTarget& target, const TCurveRunOptions&)
{
    RunPolar(curve, target);
}

void RunImplicitKind(const TCurve& curve, TPlotTarget& target, const TCurveRunOptions& options)
{
    RunImplicit(curve, target, options.Pixels);
}

std::optional<TPlotRange> FunctionGrid(const TCurve& curve)
{
    try {
        return ReadPlotRange(FunctionFields(curve));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A derivative of its own formula lies on its own range; one of another
// curve on that curve's, which the curve alone does not know.
std::optional<TPlotRange> DerivativeGrid(const TCurve& curve)
{
    if (curve.Formula.empty()) return std::nullopt;
    return FunctionGrid(curve);
}

std::optional<TPlotRange> NoGrid(const TCurve&)
{
    return std::nullopt;
}

// What a kind's row does with a curve.
struct TKindRun {
    TCurveKind Kind;
    // The run; nullptr for a kind this program cannot plot yet, which is
    // refused naming the kind as `Noun` says it.
    void (*Run)(const TCurve&, TPlotTarget&, const TCurveRunOptions&);
    std::optional<TPlotRange> (*Grid)(const TCurve&);
    const char* Noun;
    TTableShape Shape; // the lines its run writes into a table
    bool XOrder;       // a function of x: its points are drawn in x order
};

// One row per kind, indexed by TCurveKind: a kind that can be plotted is a
// run and a grid in its row.
constexpr std::array<TKindRun, 5> kKindRuns{{
    {TCurveKind::Function, RunFunction, FunctionGrid, "Function", TTableShape::XY, true},
    {TCurveKind::Derivative, RunDerivative, DerivativeGrid, "Derivative", TTableShape::XY, true},
    {TCurveKind::Parametric, RunParametricKind, NoGrid, "Parametric", TTableShape::TXY, false},
    {TCurveKind::Polar, RunPolarKind, NoGrid, "Polar", TTableShape::TXY, false},
    {TCurveKind::Implicit, RunImplicitKind, NoGrid, "Implicit", TTableShape::Note, false},
}};

static_assert(std::all_of(kKindRuns.begin(), kKindRuns.end(),
                          [](const TKindRun& row) { return &row == &kKindRuns[std::size_t(row.Kind)]; }),
              "kKindRuns is indexed by TCurveKind");

const TKindRun& KindRun(TCurveKind kind)
{
    return kKindRuns.at(std::size_t(kind));
}

// Passes everything on to the target and notes whether the formula was
// read: only then has the run started making points.
class TStartWatch : public TPlotTarget
{
public:
    explicit TStartWatch(TPlotTarget& target) : target_(target) {}
    void ClearPoints() override { target_.ClearPoints(); }
    void AddPoint(double x, double y) override { target_.AddPoint(x, y); }
    void AddCurvePoint(double t, double x, double y) override { target_.AddCurvePoint(t, x, y); }
    void AddDrawnPoint(double x, double y) override { target_.AddDrawnPoint(x, y); }
    void AddTableNote(std::string_view note) override { target_.AddTableNote(note); }
    void BreakLine() override { target_.BreakLine(); }
    void FormulaRead(bool compiled, TTextSpan stopToken, std::string_view ignored) override
    {
        Started = compiled;
        target_.FormulaRead(compiled, stopToken, ignored);
    }
    bool Started = false;

private:
    TPlotTarget& target_;
};

} // namespace

TPlotFields FunctionFields(const TCurve& curve)
{
    return {curve.Formula, curve.XMin, curve.XMax, curve.Step};
}

void RunCurve(const TCurve& curve, TPlotTarget& target, const TCurveRunOptions& options)
{
    const TKindRun& kind = KindRun(curve.Kind);
    if (!kind.Run) {
        // As every run does, the target is emptied before anything fails.
        target.ClearPoints();
        throw Exception(Msg::CurveKindNotPlotted, {kind.Noun});
    }
    kind.Run(curve, target, options);
}

std::optional<TPlotRange> CurveGrid(const TCurve& curve)
{
    return KindRun(curve.Kind).Grid(curve);
}

TTableShape CurveTableShape(const TCurve& curve)
{
    return KindRun(curve.Kind).Shape;
}

bool CurvePointsInXOrder(const TCurve& curve)
{
    return KindRun(curve.Kind).XOrder;
}

const std::vector<TCurve>& CurvesInCurrentSeparator(const TDocument& document,
                                                    std::optional<TDocument>& converted)
{
    if (document.DecimalSeparator == DecimalSeparator()) return document.Curves;
    converted = document;
    ConvertDocumentSeparator(*converted, DecimalSeparator());
    return converted->Curves;
}

std::vector<TCurveOutcome> RunCurves(const TDocument& document, std::span<TPlotTarget* const> targets,
                                     const TCurveRunOptions& options,
                                     const std::function<void(std::size_t, const TCurveOutcome&)>& curveDone)
{
    std::optional<TDocument> converted;
    const std::vector<TCurve>& curves = CurvesInCurrentSeparator(document, converted);

    const TScopedAngleMode mode(document.Angle);
    TCurveRunOptions runOptions = options;
    runOptions.Curves = curves;
    std::vector<TCurveOutcome> outcomes(curves.size());
    for (std::size_t i = 0; i < curves.size() && i < targets.size(); ++i) {
        if (!targets[i]) continue;
        TCurveOutcome& outcome = outcomes[i];
        outcome.Ran = true;
        TStartWatch watch(*targets[i]);
        bool stopped = false;
        try {
            RunCurve(curves[i], watch, runOptions);
        } catch (const EAbort&) {
            outcome.Failed = true;
            stopped = true;
        } catch (const std::exception& e) {
            outcome.Failed = true;
            outcome.Error = ExceptionDisplayText(e);
        }
        outcome.Started = watch.Started;
        if (curveDone) curveDone(i, outcome);
        if (stopped) break;
    }
    return outcomes;
}

} // namespace qrv
