// Parametric, polar and implicit curves through the runs of a document: the
// range checks and messages of the range fields, the angle mode of polar
// curves, implicit lines checked at every vertex with the formula itself,
// errors in part of a rectangle, and the tables of the kinds.
#include "DecimalSeparatorScope.h"
#include "QrvAngleMode.h"
#include "QrvBuiltins.h"
#include "QrvCurveRun.h"
#include "QrvCurveTable.h"
#include "QrvExprEval.h"
#include "QrvTableBatch.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace qrv::test
{
namespace
{

TCurve Parametric(std::string x, std::string y, std::string tmin, std::string tmax, std::string step)
{
    TCurve curve;
    curve.Kind = TCurveKind::Parametric;
    curve.XOfT = std::move(x);
    curve.YOfT = std::move(y);
    curve.TMin = std::move(tmin);
    curve.TMax = std::move(tmax);
    curve.Step = std::move(step);
    return curve;
}

TCurve Polar(std::string r, std::string tmin, std::string tmax, std::string step)
{
    TCurve curve = Parametric({}, {}, std::move(tmin), std::move(tmax), std::move(step));
    curve.Kind = TCurveKind::Polar;
    curve.Formula = std::move(r);
    return curve;
}

TCurve Implicit(std::string formula, std::string xmin, std::string xmax, std::string ymin, std::string ymax)
{
    TCurve curve;
    curve.Kind = TCurveKind::Implicit;
    curve.Formula = std::move(formula);
    curve.XMin = std::move(xmin);
    curve.XMax = std::move(xmax);
    curve.YMin = std::move(ymin);
    curve.YMax = std::move(ymax);
    return curve;
}

struct TPoint {
    double X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

// Keeps the table and the lines as drawn: a break starts a new line.
class TLineRecorder : public TTableTarget
{
public:
    void ClearPoints() override
    {
        Lines.clear();
        TTableTarget::ClearPoints();
    }
    void AddCurvePoint(double t, double x, double y) override
    {
        Draw(x, y);
        TTableTarget::AddCurvePoint(t, x, y);
    }
    void AddDrawnPoint(double x, double y) override { Draw(x, y); }
    void BreakLine() override { broken_ = true; }

    std::vector<std::vector<TPoint>> Lines;

private:
    void Draw(double x, double y)
    {
        if (Lines.empty() || broken_) Lines.emplace_back();
        broken_ = false;
        Lines.back().push_back({x, y});
    }
    bool broken_ = false;
};

// What one curve's run gives.
struct TOutcome {
    TCurveOutcome Outcome;
    TLineRecorder Target;
};

void RunOne(const TCurve& curve, TOutcome& out, TAngleMode mode = TAngleMode::Radians)
{
    TDocument document;
    document.Angle = mode;
    document.Curves = {curve};
    TPlotTarget* targets[] = {&out.Target};
    out.Outcome = RunCurves(document, targets).at(0);
}

// -- Parametric and polar: the range fields' checks, the points ------------------

struct TParameterCase {
    const char* Name;
    TCurve Curve;
    TAngleMode Mode;
    bool Started;
    std::string Error;
    std::size_t Lines;
    const char* FirstLines; // the first lines of the table, joined by "\n"
};
void PrintTo(const TParameterCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ParameterCurves : public testing::TestWithParam<TParameterCase>
{
};

TEST_P(ParameterCurves, RunAsTheRangeFieldsDo)
{
    const TDecimalSeparatorScope point('.');
    const TParameterCase& c = GetParam();
    TOutcome run;
    RunOne(c.Curve, run, c.Mode);
    EXPECT_EQ(run.Outcome.Started, c.Started);
    EXPECT_EQ(run.Outcome.Error, c.Error);
    EXPECT_EQ(run.Target.Table().LineCount(), c.Lines);
    EXPECT_TRUE(std::string(run.Target.Table().Text()).starts_with(c.FirstLines))
        << run.Target.Table().Text();
    std::size_t drawn = 0;
    for (const auto& line : run.Target.Lines)
        drawn += line.size();
    EXPECT_EQ(drawn, c.Lines) << "every point is drawn, in one line";
    EXPECT_LE(run.Target.Lines.size(), 1u);
}

const TParameterCase kParameterCases[] = {
    {"Lissajous", Parametric("sin(2*t)", "cos(3*t)", "0", "3", "1"), TAngleMode::Radians, true, "", 4,
     "0.000   0.000   1.000\n1.000   0.909   -0.990\n2.000   -0.757   0.960\n3.000   -0.279   -0.911"},
    {"DownwardsWithANegativeStep", Parametric("t", "2*t", "1", "0", "-0.5"), TAngleMode::Radians, true, "", 3,
     "1.000   1.000   2.000\n0.500   0.500   1.000\n0.000   0.000   0.000"},
    {"MoreAreRefused", Parametric("t", "t", "0", "10001", "1"), TAngleMode::Radians, false,
     "Too small absolute step value.", 0, ""},
    {"TMinAboveTMax", Parametric("t", "t", "2", "1", "1"), TAngleMode::Radians, false,
     "Initial value is greater than the final one.", 0, ""},
    {"XOfTDoesNotCompile", Parametric("sin(t", "t", "0", "1", "1"), TAngleMode::Radians, false,
     "Parse error: ')' to close function's parameters expected.", 0, ""},
    {"YOfTDoesNotCompile", Parametric("t", "x", "0", "1", "1"), TAngleMode::Radians, false,
     "Parse error: Unknown symbol: 'x'", 0, ""},
    {"FailsPartWay", Parametric("t", "1/(t-2)", "0", "4", "1"), TAngleMode::Radians, true,
     "Floating point division by zero.", 2, "0.000   0.000   -0.500\n1.000   1.000   -1.000"},
    {"BeyondTheDoubleRange", Parametric("exp(t)", "t", "709", "711", "1"), TAngleMode::Radians, true,
     "Floating point overflow.", 1, "709.000   8.2184"},
    {"PolarOneTurnInDegrees", Polar("1", "0", "360", "90"), TAngleMode::Degrees, true, "", 5,
     "0.000   1.000   0.000\n90.000   0.000   1.000\n180.000   -1.000   0.000\n270.000   0.000   -1.000\n"
     "360.000   1.000   0.000"},
    {"PolarInGrads", Polar("2", "0", "100", "50"), TAngleMode::Grads, true, "", 3,
     "0.000   2.000   0.000\n50.000   1.414   1.414\n100.000   0.000   2.000"},
    {"PolarCardioidInRadians", Polar("1+cos(t)", "0", "3.1416", "1.5708"), TAngleMode::Radians, true, "", 3,
     "0.000   2.000   0.000\n1.571   0.000   1.000\n3.142   0.000   0.000"},
};

INSTANTIATE_TEST_SUITE_P(CurveKinds, ParameterCurves, testing::ValuesIn(kParameterCases), RowName{});

TEST(CurveKinds, PolarErrorsAreThoseOfItsFormula)
{
    // ln(0) fails at the first t; the message is the one a function curve
    // of the same formula gives.
    TCurve function;
    function.Formula = "ln(x)";
    function.XMin = function.XMax = "0";
    function.Step = "1";
    TOutcome polar, plain;
    RunOne(Polar("ln(t)", "0", "1", "1"), polar);
    RunOne(function, plain);
    ASSERT_FALSE(plain.Outcome.Error.empty());
    EXPECT_EQ(polar.Outcome.Error, plain.Outcome.Error);
    EXPECT_TRUE(polar.Outcome.Started && polar.Target.Table().Empty());
}

// -- Implicit curves: every vertex on the curve ----------------------------------

// f(x, y) of a formula through the engine, or nothing where it fails.
class TFormula
{
public:
    explicit TFormula(const std::string& text)
    {
        evaluator_.ExternalContexts().Add(BuiltinContext());
        evaluator_.AddVar("x", x_);
        evaluator_.AddVar("y", y_);
        evaluator_.Compile(text);
    }
    std::optional<Float> operator()(double x, double y)
    {
        x_ = x;
        y_ = y;
        try {
            return evaluator_.Evaluate();
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

private:
    double x_ = 0, y_ = 0;
    TCompiledEvaluator evaluator_;
};

// The refinement's bound: f is zero at the vertex, or the neighbouring
// double beside it along x or y has the other sign and no smaller |f|.
bool OnTheCurve(TFormula& f, TPoint p)
{
    const std::optional<Float> v = f(p.X, p.Y);
    if (!v) return false;
    if (*v == 0) return true;
    const double inf = std::numeric_limits<double>::infinity();
    const TPoint beside[] = {{std::nextafter(p.X, inf), p.Y},
                             {std::nextafter(p.X, -inf), p.Y},
                             {p.X, std::nextafter(p.Y, inf)},
                             {p.X, std::nextafter(p.Y, -inf)}};
    for (const TPoint& q : beside) {
        const std::optional<Float> w = f(q.X, q.Y);
        if (w && (*w < 0) != (*v < 0) && std::fabs(*v) <= std::fabs(*w)) return true;
    }
    return false;
}

struct TImplicitCase {
    const char* Name;
    TCurve Curve;
    std::size_t Lines; // 0: any number but at least one
    bool Closed;
    bool (*Inside)(TPoint); // where every vertex lies
};
void PrintTo(const TImplicitCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ImplicitCurves : public testing::TestWithParam<TImplicitCase>
{
};

TEST_P(ImplicitCurves, DrawOnlyPointsOnTheCurve)
{
    const TDecimalSeparatorScope point('.');
    const TImplicitCase& c = GetParam();
    TOutcome run;
    RunOne(c.Curve, run);
    ASSERT_EQ(run.Outcome.Error, "");
    ASSERT_TRUE(run.Outcome.Started);
    if (c.Lines)
        EXPECT_EQ(run.Target.Lines.size(), c.Lines);
    else
        EXPECT_GE(run.Target.Lines.size(), 1u);
    TFormula f(c.Curve.Formula);
    std::size_t off = 0, outside = 0;
    for (const auto& line : run.Target.Lines) {
        ASSERT_GE(line.size(), 2u);
        if (c.Closed) {
            EXPECT_EQ(line.front(), line.back()) << "a closed line ends where it began";
        }
        for (const TPoint& p : line) {
            off += !OnTheCurve(f, p);
            outside += !c.Inside(p);
        }
    }
    EXPECT_EQ(off, 0u) << "vertices off the curve";
    EXPECT_EQ(outside, 0u) << "vertices where they cannot be";
    EXPECT_EQ(run.Target.Table().Text(),
              "The table has no values for an implicit curve: it is drawn, not listed");
}

const TImplicitCase kImplicitCases[] = {
    {"Circle", Implicit("x*x+y*y-4", "-3", "3", "-3", "3"), 1, true,
     [](TPoint p) { return std::fabs(std::hypot(p.X, p.Y) - 2) < 1e-12; }},
    {"Ellipse", Implicit("x*x/9+y*y-1", "-4", "4", "-2", "2"), 1, true,
     [](TPoint p) { return std::fabs(p.X * p.X / 9 + p.Y * p.Y - 1) < 1e-12; }},
    {"ErrorsInPartOfTheRectangle", Implicit("x*x+y*y-4+ln(x)", "-3", "3", "-3", "3"), 0, false,
     [](TPoint p) { return p.X > 0; }},
    {"SinOfXY", Implicit("sin(x*y)-0.5", "-4", "4", "-4", "4"), 0, false,
     [](TPoint p) { return std::fabs(p.X * p.Y) > 0.5; }},
};

INSTANTIATE_TEST_SUITE_P(CurveKinds, ImplicitCurves, testing::ValuesIn(kImplicitCases), RowName{});

TEST(CurveKinds, ImplicitRefusalsAreThoseOfTheRangeFields)
{
    const TDecimalSeparatorScope point('.');
    const struct {
        const char* Name;
        TCurve Curve;
        const char* Error;
    } rows[] = {
        {"empty in x", Implicit("x-y", "1", "1", "0", "1"), "X min must be smaller than X max."},
        {"upside down", Implicit("x-y", "0", "1", "1", "-1"), "Y min must be smaller than Y max."},
        {"not a number", Implicit("x-y", "0", "1", "0", "1x"), "'1x' is not a valid floating point value."},
        {"unknown name", Implicit("x-t", "0", "1", "0", "1"), "Parse error: Unknown symbol: 't'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TOutcome run;
        RunOne(row.Curve, run);
        EXPECT_EQ(run.Outcome.Error, row.Error);
        EXPECT_FALSE(run.Outcome.Started);
        EXPECT_TRUE(run.Target.Lines.empty() && run.Target.Table().Empty());
    }
}

TEST(CurveKinds, AnImplicitFormulaThatFailsEverywhereSaysWhy)
{
    const TDecimalSeparatorScope point('.');
    TOutcome run, nowhere;
    RunOne(Implicit("ln(-1-x*x)+y", "-1", "1", "-1", "1"), run);
    EXPECT_TRUE(run.Outcome.Failed);
    EXPECT_EQ(run.Outcome.Error, "Invalid floating point operation.");
    EXPECT_TRUE(run.Target.Lines.empty());
    // A curve that misses the rectangle is no error: nothing to draw.
    RunOne(Implicit("x*x+y*y+1", "-1", "1", "-1", "1"), nowhere);
    EXPECT_FALSE(nowhere.Outcome.Failed);
    EXPECT_TRUE(nowhere.Target.Lines.empty());
}

TEST(CurveKinds, TheGridFollowsTheChartsPixels)
{
    // Twice the pixels, about twice the vertices on a circle.
    const TDecimalSeparatorScope point('.');
    TDocument document;
    document.Curves = {Implicit("x*x+y*y-4", "-3", "3", "-3", "3")};
    std::size_t vertices[2] = {};
    const TChartPixels sizes[] = {{300, 200}, {600, 400}};
    for (int i = 0; i < 2; ++i) {
        TLineRecorder target;
        TPlotTarget* targets[] = {&target};
        TCurveRunOptions options;
        options.Pixels = sizes[i];
        RunCurves(document, targets, options);
        ASSERT_EQ(target.Lines.size(), 1u);
        vertices[i] = target.Lines[0].size();
    }
    EXPECT_GT(vertices[1], vertices[0] * 3 / 2);
    EXPECT_LT(vertices[1], vertices[0] * 3);
}

// -- Tables of the kinds -----------------------------------------------------------

TEST(CurveKinds, TablesPutOtherKindsInBlocksOfTheirOwn)
{
    const TDecimalSeparatorScope point('.');
    TCurve sine;
    sine.Formula = "2*x";
    sine.XMin = "0";
    sine.XMax = "1";
    sine.Step = "1";
    TDocument document;
    document.Curves = {sine, Parametric("t", "-t", "0", "1", "1"), Implicit("x-y", "0", "1", "0", "1"), sine};
    std::vector<TTableTarget> tables(document.Curves.size());
    std::vector<TPlotTarget*> targets;
    for (TTableTarget& table : tables)
        targets.push_back(&table);
    RunCurves(document, targets);
    std::vector<TCurveColumn> columns;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const TCurve& curve = document.Curves[i];
        columns.push_back(
            {DisplayName(curve, int(i)), CurveGrid(curve), &tables[i].Table(), CurveTableShape(curve)});
    }
    EXPECT_EQ(CurveTableText(columns, "\n"),
              "x   2*x\n0.000   0.000\n1.000   2.000\n"
              "\nx(t)=t, y(t)=-t\nt   x   y\n0.000   0.000   0.000\n1.000   1.000   -1.000\n"
              "\nx-y = 0\nThe table has no values for an implicit curve: it is drawn, not listed\n"
              "\nx   2*x\n0.000   0.000\n1.000   2.000\n");
    EXPECT_EQ(CurveTableCsv(columns, '.'),
              "x,2*x\r\n0.000,0.000\r\n1.000,2.000\r\n"
              "\r\n\"x(t)=t, y(t)=-t\"\r\nt,x,y\r\n0.000,0.000,0.000\r\n1.000,1.000,-1.000\r\n"
              "\r\nx-y = 0\r\n\"The table has no values for an implicit curve: it is drawn, not listed\"\r\n"
              "\r\nx,2*x\r\n0.000,0.000\r\n1.000,2.000\r\n");

    // One curve alone: its run's table, under "t,x,y" in CSV, even without a line.
    TTableText none;
    const struct {
        std::size_t Curve;
        const TTableText* Table;
        const char* Text;
        const char* Csv;
    } alone[] = {
        {1, &tables[1].Table(), "0.000   0.000   0.000\n1.000   1.000   -1.000\n",
         "t,x,y\r\n0.000,0.000,0.000\r\n1.000,1.000,-1.000\r\n"},
        {1, &none, "", "t,x,y\r\n"},
        {2, &tables[2].Table(), "The table has no values for an implicit curve: it is drawn, not listed\n",
         "\"The table has no values for an implicit curve: it is drawn, not listed\"\r\n"},
    };
    for (const auto& row : alone) {
        TCurveColumn one = columns[row.Curve];
        one.Table = row.Table;
        EXPECT_EQ(CurveTableText({&one, 1}, "\n"), row.Text);
        EXPECT_EQ(CurveTableCsv({&one, 1}, '.'), row.Csv);
    }
}

// -- The command line's curves of t -------------------------------------------------

TEST(CurveKinds, TheCommandLineTabulatesCurvesOfT)
{
    const TDecimalSeparatorScope point('.');
    const struct {
        const char* Name;
        std::vector<std::string> Args;
        int Status;
        const char* Out;
        const char* Err;
    } rows[] = {
        {"parametric",
         {"--x-of-t", "t", "--y-of-t", "2*t", "--tmin", "0", "--tmax", "1", "--step", "1"},
         0,
         "0.000   0.000   0.000\n1.000   1.000   2.000\n",
         ""},
        {"polar in degrees",
         {"--r-of-t", "2", "--mode", "degrees", "--tmin", "0", "--tmax", "90", "--step", "90"},
         0,
         "0.000   2.000   0.000\n90.000   0.000   2.000\n",
         ""},
        {"beside a function",
         {"--formula", "x", "--xmin", "0", "--xmax", "0", "--step", "1", "--r-of-t", "1", "--tmax", "0"},
         0,
         "x   x\n0.000   0.000\n\nr(t)=1\nt   x   y\n0.000   1.000   0.000\n",
         ""},
        {"the range's message",
         {"--x-of-t", "t", "--y-of-t", "t", "--tmin", "1", "--tmax", "0"},
         1,
         "",
         "Initial value is greater than the final one.\n"},
        {"an error of y(t), by curve",
         {"--formula", "x", "--x-of-t", "t", "--y-of-t", "sin(t", "--xmax", "0", "--xmin", "0", "--tmax",
          "0"},
         1,
         "0.000   0.000\n",
         "curve 2: Parse error: ')' to close function's parameters expected.\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        std::vector<std::string> args = row.Args;
        args.insert(args.end(), {"--table", "-"});
        std::ostringstream out, errors;
        const int status = RunTableBatch(ParseCommandLine(args), out, errors);
        EXPECT_EQ(status, row.Status);
        EXPECT_EQ(errors.str(), row.Err);
        if (row.Status == 0 || *row.Out) {
            EXPECT_EQ(out.str(), row.Out);
        }
    }

    // Without --tmin, --tmax and --step: one turn in steps of 0.01.
    std::ostringstream out, errors;
    EXPECT_EQ(RunTableBatch(ParseCommandLine({"--r-of-t", "1", "--table", "-"}), out, errors), 0);
    const std::string text = out.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 629);
    EXPECT_TRUE(text.ends_with("6.280   1.000   -0.003\n")) << text.substr(text.size() - 60);
}

} // namespace
} // namespace qrv::test
