// Formulas through the expression engine with the built-in context: names in
// any letter case, argument order of the two-argument functions, the angle
// modes of the trigonometric functions, and errors reaching the caller.
#include "QrvBuiltins.h"
#include "QrvFpu.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace qrv::test
{
namespace
{

// One formula compiled as the plot run does it: a fresh evaluator with the
// built-in context attached and x bound.
class Formula
{
public:
    explicit Formula(const std::string& text)
    {
        InitFloatEnvironment();
        evaluator_.ExternalContexts().Add(BuiltinContext());
        evaluator_.AddVar("x", x_);
        evaluator_.Compile(text);
    }
    Float At(double x)
    {
        x_ = x;
        return evaluator_.Evaluate();
    }
    std::string FastListing() { return evaluator_.FastListing(); }

private:
    double x_ = 0;
    TCompiledEvaluator evaluator_;
};

double Plotted(const std::string& text, double x = 0)
{
    return RoundToDouble(Formula(text).At(x));
}

// --- names and argument order ----------------------------------------------------

struct PlottedRow {
    const char* Name;
    const char* Text;
    double Expected;
};

class PlottedFormulas : public ::testing::TestWithParam<PlottedRow>
{
};

TEST_P(PlottedFormulas, GiveTheExactDouble)
{
    EXPECT_EQ(Plotted(GetParam().Text), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, PlottedFormulas,
    ::testing::Values(PlottedRow{"pi_lower", "pi", 3.141592653589793},
                      PlottedRow{"pi_upper", "PI", 3.141592653589793},
                      PlottedRow{"pi_mixed", "Pi", 3.141592653589793},
                      PlottedRow{"logbase10_upper", "LOGBASE10(100)", 2},
                      PlottedRow{"logbase10_lower", "logbase10(100)", 2},
                      PlottedRow{"power_baseFirst", "power(2;10)", 1024},
                      PlottedRow{"power_negativeBaseOdd", "power(-2;3)", -8},
                      PlottedRow{"logbasen_baseFirst", "logbasen(2;1024)", 10},
                      PlottedRow{"twotopower63", "twotopower63", 9223372036854775808.0},
                      PlottedRow{"farad", "farad", 96480.56}, PlottedRow{"gas", "gas", 8.31441},
                      PlottedRow{"evolt_isTheElectronVolt", "evolt", 1.602e-19},
                      PlottedRow{"arcsinTimesDeg", "arcsin(1)*deg", 90},
                      PlottedRow{"cbrtPi_anyCase", "CBRTPI*cbrtpi*cbrtPi", 3.141592653589793},
                      PlottedRow{"nconst_isE", "ln(NCONST)", 1}),
    test::RowName{});

// --- angle modes -------------------------------------------------------------------

// A function whose argument is an angle: the same value at the same angle in
// each unit.
struct AngleArgumentRow {
    const char* Name;
    double Radians, Degrees, Grads;
    double Expected;
};

class AngleArgument : public ::testing::TestWithParam<AngleArgumentRow>
{
};

TEST_P(AngleArgument, FollowsTheMode)
{
    const AngleArgumentRow& row = GetParam();
    Formula formula(std::string(row.Name) + "(x)");
    struct {
        TAngleMode Mode;
        double Argument;
    } const modes[] = {{TAngleMode::Radians, row.Radians},
                       {TAngleMode::Degrees, row.Degrees},
                       {TAngleMode::Grads, row.Grads}};
    for (auto [mode, argument] : modes) {
        TScopedAngleMode scoped(mode);
        EXPECT_NEAR(RoundToDouble(formula.At(argument)), row.Expected,
                    1e-15 * std::fmax(1, std::fabs(row.Expected)))
            << row.Name << "(" << argument << ") in mode " << static_cast<int>(mode);
    }
}

constexpr double kPi = 3.14159265358979323846;

INSTANTIATE_TEST_SUITE_P(Builtins, AngleArgument,
                         ::testing::Values(AngleArgumentRow{"sin", kPi / 2, 90, 100, 1},
                                           AngleArgumentRow{"cos", kPi, 180, 200, -1},
                                           AngleArgumentRow{"tan", kPi / 4, 45, 50, 1},
                                           AngleArgumentRow{"cot", kPi / 4, 45, 50, 1},
                                           AngleArgumentRow{"sec", kPi / 3, 60, 200.0 / 3, 2},
                                           AngleArgumentRow{"csc", kPi / 6, 30, 100.0 / 3, 2},
                                           AngleArgumentRow{"versine", kPi, 180, 200, 2},
                                           AngleArgumentRow{"coversine", -kPi / 2, -90, -100, 2},
                                           AngleArgumentRow{"haversine", kPi, 180, 200, 1},
                                           AngleArgumentRow{"exsecans", kPi / 3, 60, 200.0 / 3, 1}),
                         test::RowName{});

// A function whose result is an angle: the same argument, the result in the
// mode's unit.
struct AngleResultRow {
    const char* Name;
    double Argument;
    double Radians, Degrees, Grads;
};

class AngleResult : public ::testing::TestWithParam<AngleResultRow>
{
};

TEST_P(AngleResult, FollowsTheMode)
{
    const AngleResultRow& row = GetParam();
    Formula formula(std::string(row.Name) + "(x)");
    struct {
        TAngleMode Mode;
        double Expected;
    } const modes[] = {{TAngleMode::Radians, row.Radians},
                       {TAngleMode::Degrees, row.Degrees},
                       {TAngleMode::Grads, row.Grads}};
    for (auto [mode, expected] : modes) {
        TScopedAngleMode scoped(mode);
        EXPECT_NEAR(RoundToDouble(formula.At(row.Argument)), expected, 1e-15 * std::fabs(expected))
            << row.Name << "(" << row.Argument << ") in mode " << static_cast<int>(mode);
    }
}

INSTANTIATE_TEST_SUITE_P(Builtins, AngleResult,
                         ::testing::Values(AngleResultRow{"arcsin", 1, kPi / 2, 90, 100},
                                           AngleResultRow{"arccos", -1, kPi, 180, 200},
                                           AngleResultRow{"arctan", 1, kPi / 4, 45, 50},
                                           AngleResultRow{"arccot", -1, -kPi / 4, -45, -50},
                                           AngleResultRow{"arcsec", -2, kPi / 3, 60, 200.0 / 3},
                                           AngleResultRow{"arccsc", 2, kPi / 6, 30, 100.0 / 3}),
                         test::RowName{});

// Hyperbolic, exponential, logarithmic and algebraic functions give the very
// same value in every mode.
TEST(AngleFree, SameValueInEveryMode)
{
    const char* texts[] = {"sinh(x)",      "cosh(x)",    "tanh(x)",      "coth(x)",      "sech(x)",
                           "csch(x)",      "arcsinh(x)", "arccosh(x+1)", "arctanh(x/2)", "arccoth(x+1)",
                           "arcsech(x/2)", "arccsch(x)", "exp(x)",       "ln(x)",        "sqrt(x)",
                           "square(x)",    "abs(-x)",    "logbase10(x)", "logbase2(x)",  "power(x;2.5)",
                           "logbasen(3;x)"};
    for (const char* text : texts) {
        Formula formula(text);
        for (double x : {0.7, 1.3}) {
            Float radians = formula.At(x);
            TScopedAngleMode degrees(TAngleMode::Degrees);
            EXPECT_EQ(formula.At(x), radians) << text << " in Degrees";
            TScopedAngleMode grads(TAngleMode::Grads);
            EXPECT_EQ(formula.At(x), radians) << text << " in Grads";
        }
    }
}

// The mode is read at every call: one compiled formula follows a change.
TEST(AngleModeQuery, IsReadAtEveryEvaluation)
{
    Formula formula("sin(x) + arcsin(1)");
    Float radians = formula.At(90);
    {
        TScopedAngleMode degrees(TAngleMode::Degrees);
        EXPECT_EQ(RoundToDouble(formula.At(90)), 91);
    }
    EXPECT_EQ(formula.At(90), radians);
    EXPECT_EQ(CurrentAngleMode(), TAngleMode::Radians);
}

// --- errors reach the caller -------------------------------------------------------

TEST(BuiltinErrors, PropagateWithTheirMessages)
{
    struct Row {
        const char* Text;
        double X;
        Msg Message;
    };
    for (Row row : {Row{"arcsin(x)", 2, Msg::DomainCheck}, Row{"ln(x)", 0, Msg::ZeroDivide},
                    Row{"sqrt(x)", -1, Msg::InvalidOp}, Row{"exp(x)", 20000, Msg::Overflow},
                    Row{"power(0;x)", -1, Msg::PowerInfinite}, Row{"power(x;1/3)", -8, Msg::PowerComplex},
                    Row{"tan(x)", 1e19, Msg::DomainCheck}, Row{"cot(x)", 0, Msg::ZeroDivide}}) {
        Formula formula(row.Text);
        try {
            formula.At(row.X);
            ADD_FAILURE() << row.Text << " at " << row.X << " raised nothing";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), MessageText(row.Message)) << row.Text << " at " << row.X;
        }
    }
}

TEST(BuiltinErrors, WrongNamesAndArgumentCountsFailToCompile)
{
    for (const char* text : {"sine(x)", "power(2)", "sin(1;2)", "logbasen(2)"})
        EXPECT_THROW(Formula{text}, EQrvExprEvalError) << text;
}

// --- folding -----------------------------------------------------------------

// A call with constant arguments is made once when building only when its
// value cannot change afterwards: the angle-mode functions are called at
// every evaluation, so a mode chosen after compiling still counts.
TEST(BuiltinFolding, AngleModeFunctionsAreNeverFolded)
{
    for (const char* text : {"sin(90)", "arcsin(1)", "cos(100) + 1", "haversine(180) * 2"}) {
        Formula formula(text);
        const Float radians = formula.At(0);
        TScopedAngleMode degrees(TAngleMode::Degrees);
        EXPECT_NE(formula.At(0), radians) << text;
        EXPECT_EQ(formula.At(0), Formula(text).At(0)) << text;
    }
}

TEST(BuiltinFolding, OtherFunctionsOfConstantsFold)
{
    Formula formula("exp(-x*x/2) / sqrt(2*pi) + power(2; 10) - logbasen(2; 1024)");
    // Only exp remains a call; sqrt(2*pi), power and logbasen are constants.
    EXPECT_EQ(formula.FastListing(), "start var1 | neg var1 | mul acc var1 | div acc 2 | call acc | "
                                     "div acc 2.5066282746310005 | add acc 1024 | sub acc 10 | end acc");
    EXPECT_EQ(formula.At(0), 1 / Sqrt(2 * BuiltinConstants()[0].Value) + 1024 - 10);
}

} // namespace
} // namespace qrv::test
