// Derivative curves and --analyze through the command line's runs: the
// derivative of a formula or of a document's curve, where it has none, and
// the features written beside the table, also for a run that fails.
#include "DecimalSeparatorScope.h"
#include "MessageOf.h"
#include "QrvAnalyzeBatch.h"
#include "QrvCommandLine.h"
#include "QrvCurveRun.h"
#include "QrvDocumentAnalysis.h"
#include "QrvFpu.h"
#include "QrvTableBatch.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace qrv::test
{
namespace
{

struct TBatchOutput {
    int Status;
    std::string Out;
    std::string Err;
};

TBatchOutput RunBatch(const std::vector<std::string>& args)
{
    InitFloatEnvironment();
    std::ostringstream out, err;
    const int status = RunTableBatch(ParseCommandLine(args), out, err, nullptr);
    return {status, out.str(), err.str()};
}

struct BatchRow {
    const char* Name;
    std::vector<std::string> Args;
    int Status;
    std::string Out;
    std::string Err;
};

class DerivativeAndAnalyze : public ::testing::TestWithParam<BatchRow>
{
};

TEST_P(DerivativeAndAnalyze, WriteWhatTheRunAllows)
{
    const BatchRow& row = GetParam();
    TDecimalSeparatorScope separator('.');
    const TBatchOutput r = RunBatch(row.Args);
    EXPECT_EQ(r.Status, row.Status);
    EXPECT_EQ(r.Out, row.Out);
    EXPECT_EQ(r.Err, row.Err);
}

const std::vector<std::string> kRange = {"--xmin", "0", "--xmax", "2", "--step", "1", "--table", "-"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more = kRange)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

INSTANTIATE_TEST_SUITE_P(
    Batch, DerivativeAndAnalyze,
    ::testing::Values(
        BatchRow{"first_derivative", With({"--formula", "x*x*x", "--derivative", "1"}), 0,
                 "0.000   0.000\n1.000   3.000\n2.000   12.000\n", ""},
        BatchRow{"second_derivative", With({"--formula", "x*x*x", "--derivative", "2"}), 0,
                 "0.000   0.000\n1.000   6.000\n2.000   12.000\n", ""},
        BatchRow{"beside_its_formula", With({"--formula", "x*x", "--formula", "x*x", "--derivative", "1"}), 0,
                 "x   x*x   f2'\n0.000   0.000   0.000\n1.000   1.000   2.000\n2.000   4.000   4.000\n", ""},
        BatchRow{"no_derivative_at_a_corner", With({"--formula", "abs(x-1)", "--derivative", "1"}), 1,
                 "0.000   -1.000\n", "not differentiable.\n"},
        BatchRow{"analyze_after_the_table",
                 With({"--formula", "x*x-1", "--analyze", "-"},
                      {"--xmin", "-2", "--xmax", "2", "--step", "0.5", "--table", "-"}),
                 0,
                 "-2.000   3.000\n-1.500   1.250\n-1.000   0.000\n-0.500   -0.750\n0.000   -1.000\n0.500   "
                 "-0.750\n"
                 "1.000   0.000\n1.500   1.250\n2.000   3.000\n"
                 "1\troot\t-1.00000000000000000000e+00\t0.00000000000000000000e+00\n"
                 "1\tminimum\t0.00000000000000000000e+00\t-1.00000000000000000000e+00\n"
                 "1\troot\t1.00000000000000000000e+00\t0.00000000000000000000e+00\n"
                 "1\tintegral\t1.33333333333333333337e+00\t" +
                     std::string("8.72e-19\n"),
                 ""},
        BatchRow{
            "a_failed_run_reports_what_its_points_allow",
            {"--formula", "(x-0.25)/(x-1)", "--xmin", "0", "--xmax", "2", "--step", "0.5", "--analyze", "-"},
            1,
            "1\troot\t2.50000000000000000000e-01\t-0.00000000000000000000e+00\n"
            "1\tintegral\t-\tthe formula fails at x = 1: Floating point division by zero.\n",
            "Floating point division by zero.\n"}),
    RowName{});

// Always a decimal point, whatever the separator of the fields and table.
TEST(Analyze, WritesADecimalPointWithACommaSeparator)
{
    TDecimalSeparatorScope separator(',');
    const TBatchOutput r =
        RunBatch({"--formula", "x*x-2", "--xmin", "0", "--xmax", "2", "--step", "0,5", "--analyze", "-"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out.rfind("1\troot\t1.41421356237309504", 0), 0u) << r.Out;
    EXPECT_EQ(r.Out.find(','), std::string::npos) << r.Out;
}

// A document's derivative curve is f' of the curve it names, at that
// curve's xs; naming a curve that is no function is refused.
TEST(DerivativeCurve, DerivesTheCurveItNames)
{
    TDecimalSeparatorScope separator('.');
    InitFloatEnvironment();
    TDocument document;
    TCurve sine;
    sine.Formula = "sin(x)";
    sine.XMin = "0";
    sine.XMax = "1";
    sine.Step = "0.25";
    TCurve derivative;
    derivative.Kind = TCurveKind::Derivative;
    derivative.Of = 1;
    derivative.Order = 2;
    TCurve wrong = derivative;
    wrong.Of = 2;
    document.Curves = {sine, derivative, wrong};
    std::vector<TTableTarget> tables(3);
    std::vector<TPlotTarget*> targets = {&tables[0], &tables[1], &tables[2]};
    const auto outcomes = RunCurves(document, targets);
    ASSERT_FALSE(outcomes[1].Failed) << outcomes[1].Error;
    TTableText expected; // -sin(x), as the table writes it
    for (double x : {0.0, 0.25, 0.5, 0.75, 1.0})
        expected.AddLine(x, -std::sin(x));
    EXPECT_EQ(tables[1].Table().Text(), expected.Text());
    EXPECT_TRUE(outcomes[2].Failed);
    EXPECT_EQ(outcomes[2].Error, "Curve 2 is not a function curve: its derivative cannot be drawn.");
}

// "Evaluate at x": f, f' and f'' of a curve of x, or why each has none; x
// may be a formula without x.
TEST(EvaluateAt, GivesTheJetOrWhyThereIsNone)
{
    TDecimalSeparatorScope separator(',');
    InitFloatEnvironment();
    TDocument document;
    document.DecimalSeparator = ',';
    TCurve corner;
    corner.Formula = "abs(x-1)+x*x";
    corner.XMin = "0";
    corner.XMax = "2";
    corner.Step = "0,5";
    TCurve derivative;
    derivative.Kind = TCurveKind::Derivative;
    derivative.Of = 1;
    TCurve fails = corner;
    fails.Formula = "ln(x)";
    TCurve polar;
    polar.Kind = TCurveKind::Polar;
    polar.Formula = "1";
    document.Curves = {corner, derivative, fails, polar};
    struct Row {
        const char* name;
        int curve;
        const char* x;
        const char* text;
    } rows[] = {
        {"smooth", 0, "2", "f1(x) = 5\nf1'(x) = 5\nf1''(x) = 2"},
        {"corner", 0, "1", "f1(x) = 1\nf1'(x) = not differentiable\nf1''(x) = not differentiable"},
        {"x as a formula", 0, "3/2", "f1(x) = 2,75\nf1'(x) = 4\nf1''(x) = 2"},
        {"a comma number", 0, " 1,5 ", "f1(x) = 2,75\nf1'(x) = 4\nf1''(x) = 2"},
        {"derivative curve", 1, "2", "f2(x) = 5\nf2'(x) = 2\nf2''(x) = not available"},
        {"error", 2, "0", ""},
    };
    for (const Row& row : rows) {
        const auto values = EvaluateCurveAt(document, row.curve, EvaluationX(document, row.x));
        ASSERT_TRUE(values) << row.name;
        if (*row.text) {
            EXPECT_EQ(EvaluationText(*values, row.curve + 1, ','), row.text) << row.name;
        }
    }
    // ln(0): every order says the formula's error.
    const auto failed = EvaluateCurveAt(document, 2, 0);
    ASSERT_TRUE(failed);
    EXPECT_FALSE((*failed)[0].Value);
    EXPECT_FALSE((*failed)[0].Why.empty());
    EXPECT_EQ((*failed)[2].Why, (*failed)[0].Why);
    EXPECT_FALSE(EvaluateCurveAt(document, 3, 0)) << "a polar curve is no curve of x";
    EXPECT_FALSE(EvaluateCurveAt(document, 4, 0)) << "no such curve";
    EXPECT_THROW(EvaluationX(document, "x+1"), std::exception);
}

} // namespace
} // namespace qrv::test
