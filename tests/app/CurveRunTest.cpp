// The runs of a document's curves: each curve by the run of its kind, an
// error kept with its curve while the others go on, a stop ending them all,
// the document's angle mode and decimal separator.
#include "DecimalSeparatorScope.h"
#include "MessageOf.h"
#include "QrvAngleMode.h"
#include "QrvCurveRun.h"

#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

TCurve Function(std::string formula, std::string xmin = "0", std::string xmax = "4", std::string step = "1")
{
    TCurve curve;
    curve.Formula = std::move(formula);
    curve.XMin = std::move(xmin);
    curve.XMax = std::move(xmax);
    curve.Step = std::move(step);
    return curve;
}

TCurve OfKind(TCurveKind kind)
{
    TCurve curve = Function("x");
    curve.Kind = kind;
    return curve;
}

// The targets of a run, one per curve.
struct TRun {
    explicit TRun(const TDocument& document) : Tables(document.Curves.size())
    {
        for (TTableTarget& table : Tables)
            Targets.push_back(&table);
    }
    std::vector<TTableTarget> Tables;
    std::vector<TPlotTarget*> Targets;
};

TEST(CurveRun, AnErrorStaysWithItsCurve)
{
    const TDecimalSeparatorScope point('.');
    TDocument document;
    document.Curves = {Function("x"),
                       Function("1/(x-2)"),
                       Function("sin(x"),
                       Function("x", "abc"),
                       OfKind(TCurveKind::Derivative),
                       Function("2*x")};
    // A derivative of itself: no function curve to derive.
    document.Curves[4].Formula.clear();
    document.Curves[4].Of = 5;
    struct Row {
        const char* name;
        bool started;
        std::size_t lines;
        std::string error;
    };
    const Row rows[] = {
        {"complete", true, 5, ""},
        {"fails part-way", true, 2, "Floating point division by zero."},
        {"does not compile", false, 0, "Parse error: ')' to close function's parameters expected."},
        {"range not a number", false, 0, "'abc' is not a valid floating point value."},
        {"derives no function", false, 0, "Curve 5 is not a function curve: its derivative cannot be drawn."},
        {"after the errors", true, 5, ""},
    };
    TRun run(document);
    std::vector<std::size_t> heard;
    const auto outcomes = RunCurves(document, run.Targets, {},
                                    [&](std::size_t index, const TCurveOutcome&) { heard.push_back(index); });
    ASSERT_EQ(outcomes.size(), std::size(rows));
    EXPECT_EQ(heard, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5})) << "each curve is told of as it ends";
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_TRUE(outcomes[i].Ran);
        EXPECT_EQ(outcomes[i].Started, rows[i].started);
        EXPECT_EQ(outcomes[i].Failed, !rows[i].error.empty());
        EXPECT_EQ(outcomes[i].Error, rows[i].error);
        EXPECT_EQ(run.Tables[i].Table().LineCount(), rows[i].lines);
    }
    EXPECT_EQ(run.Tables[5].Table().Text(),
              "0.000   0.000\n1.000   2.000\n2.000   4.000\n3.000   6.000\n4.000   8.000");
}

// Asks to stop at the first point it is shown.
class TStopAtOnce : public TProgressView
{
public:
    void Begin(std::size_t) override {}
    bool Update(std::size_t) override { return false; }
    void End() noexcept override {}
};

class TStandingClock : public TRunClock
{
public:
    double Seconds() override { return 0; }
};

TEST(CurveRun, AStopEndsTheWholeRun)
{
    TDocument document;
    document.Curves = {Function("x"), Function("x"), Function("x")};
    TRun run(document);
    TStopAtOnce view;
    TStandingClock clock;
    const TCurveRunOptions options{
        .Plot = {}, .Progress = &view, .Clock = &clock, .Times = {0, 0}, .Pixels = {}};
    const auto outcomes = RunCurves(document, run.Targets, options);
    EXPECT_TRUE(outcomes[0].Failed && outcomes[0].Started);
    EXPECT_EQ(outcomes[0].Error, "") << "a stop is silent";
    EXPECT_EQ(run.Tables[0].Table().LineCount(), 1u) << "the point shown stays";
    EXPECT_FALSE(outcomes[1].Ran || outcomes[2].Ran);
}

TEST(CurveRun, TheDocumentsAngleModeAndSeparator)
{
    const TDecimalSeparatorScope point('.');
    const TScopedAngleMode radians(TAngleMode::Radians);
    TDocument document;
    document.Angle = TAngleMode::Degrees;
    // Written under a decimal comma, where "0,5" is a number.
    document.DecimalSeparator = ',';
    document.Curves = {Function("sin(x)", "90", "90", "1"), Function("x*0,5+power(2;1)", "0", "1", "0,5")};
    TRun run(document);
    const auto outcomes = RunCurves(document, run.Targets);
    EXPECT_FALSE(outcomes[0].Failed || outcomes[1].Failed) << outcomes[1].Error;
    EXPECT_EQ(run.Tables[0].Table().Text(), "90.000   1.000");
    EXPECT_EQ(run.Tables[1].Table().Text(), "0.000   2.000\n0.500   2.250\n1.000   2.500");
    EXPECT_EQ(CurrentAngleMode(), TAngleMode::Radians) << "the mode in force before is back";
    EXPECT_EQ(document.Curves[1].Formula, "x*0,5+power(2;1)") << "the document itself is not changed";
}

// Records whether the run emptied the target first, as every run does.
class TClearWatch : public TTableTarget
{
public:
    void ClearPoints() override
    {
        Cleared = true;
        TTableTarget::ClearPoints();
    }
    bool Cleared = false;
};

// Every kind has its run now; a derivative that names no function curve is
// refused by the curve's number, its target emptied first.
TEST(CurveRun, ADerivativeOfNoFunctionCurveIsRefused)
{
    TCurve derivative = OfKind(TCurveKind::Derivative);
    derivative.Formula.clear();
    TClearWatch target;
    target.AddPoint(1, 1);
    EXPECT_EQ(MessageOf([&] { RunCurve(derivative, target); }),
              "Curve 1 is not a function curve: its derivative cannot be drawn");
    EXPECT_TRUE(target.Cleared && target.Table().Empty());
    EXPECT_FALSE(CurveGrid(derivative)) << "its points lie on the grid of the curve it derives";
}

TEST(CurveRun, TheGridOfAFunctionCurveIsItsRangeAsRead)
{
    const TDecimalSeparatorScope point('.');
    const auto grid = CurveGrid(Function("x", " 1", "3.0", "0.5"));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->XMin, 1);
    EXPECT_EQ(grid->XMax, 3);
    EXPECT_EQ(grid->Step, 0.5);
    EXPECT_FALSE(CurveGrid(Function("x", "1", "0", "1"))) << "a range the checks refuse";
    EXPECT_FALSE(CurveGrid(Function("x", "1", "x", "1")));
}

} // namespace
} // namespace qrv::test
