// The jets of compiled formulas: every operator's derivative rule, the parts
// that do not depend on x, the steps and corners that have no derivative,
// and values and errors equal to the checked machine's.
#include "ExprTestSupport.h"
#include "QrvExprJets.h"
#include "QrvExprNativeCode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <tuple>

namespace qrv::test
{
namespace
{

// A formula of the test built-ins and its jet program. The test built-ins
// have no derivative rules except the one given to `square` here.
TExprLocalDerivatives SquareRule(Float u, Float)
{
    return {2 * u, 2};
}
Float TestSquare(Float x)
{
    return x * x;
}

class Jets
{
public:
    explicit Jets(std::string_view text)
    {
        formula_.Builtins().Add(std::make_unique<TExprUnaryFuncSym>("square", &TestSquare));
        formula_.Evaluator().Compile(text);
        program_ = std::make_unique<TExprJetProgram>(
            formula_.Evaluator().Machine(), &formula_.X(), [](TExprDumpKey key) {
                if (key == reinterpret_cast<TExprDumpKey>(&TestSquare))
                    return TExprCallRule{SquareRule, nullptr};
                return TExprCallRule{};
            });
    }
    TExprJet At(double x)
    {
        formula_.X() = x;
        return program_->Run();
    }
    Float Checked(double x)
    {
        formula_.X() = x;
        return formula_.Evaluator().EvaluateChecked();
    }
    TExprJetProgram& Program() { return *program_; }

private:
    Formula formula_;
    std::unique_ptr<TExprJetProgram> program_;
};

constexpr Float kNone = std::numeric_limits<Float>::quiet_NaN(); // no derivative expected

struct JetRow {
    const char* Name;
    const char* Text;
    double X;
    Float Value, D1, D2;
};

class OperatorJets : public ::testing::TestWithParam<JetRow>
{
};

TEST_P(OperatorJets, FollowTheRuleOfEachOperation)
{
    const JetRow& row = GetParam();
    Jets jets(row.Text);
    TExprJet jet = jets.At(row.X);
    EXPECT_EQ(jet.Value, row.Value);
    EXPECT_EQ(jet.Value, jets.Checked(row.X));
    if (std::isnan(row.D1)) {
        EXPECT_FALSE(jet.HasD1);
    } else {
        ASSERT_TRUE(jet.HasD1);
        EXPECT_NEAR(jet.D1, row.D1, 1e-18L * (1 + std::fabs(row.D1)));
    }
    if (std::isnan(row.D2)) {
        EXPECT_FALSE(jet.HasD2);
    } else {
        ASSERT_TRUE(jet.HasD2);
        EXPECT_NEAR(jet.D2, row.D2, 1e-18L * (1 + std::fabs(row.D2)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, OperatorJets,
    ::testing::Values(
        JetRow{"variable", "x", 3, 3, 1, 0}, JetRow{"constant", "2.5", 3, 2.5L, 0, 0},
        JetRow{"negate", "-(x*x)", 3, -9, -6, -2}, JetRow{"add", "x*x + x", 3, 12, 7, 2},
        JetRow{"subtract", "x - x*x", 3, -6, -5, -2}, JetRow{"multiply", "x*x*x", 2, 8, 12, 12},
        JetRow{"divide", "1/x", 2, 0.5L, -0.25L, 0.25L},
        JetRow{"divide_both", "x/(x+1)", 1, 0.5L, 0.25L, -0.25L},
        JetRow{"call_with_rule", "square(x*3)", 1, 9, 18, 18},
        JetRow{"call_without_rule", "count(x)", 1, 1, kNone, kNone},
        JetRow{"call_of_constant", "count(2)*x", 1, 2, 2, 0},
        JetRow{"binary_call_without_rule", "power(x; 2)", 3, 9, kNone, kNone},
        JetRow{"binary_call_of_constants", "x*power(2; 3)", 1, 8, 8, 0},
        JetRow{"compare_between_steps", "(x cmp 1)*x", 3, 3, 1, 0},
        JetRow{"compare_at_step", "x cmp 1", 1, 0, kNone, kNone}, JetRow{"greater", "(x > 1)*x", 3, 3, 1, 0},
        JetRow{"greater_at_step", "x > 1", 1, 0, kNone, kNone},
        JetRow{"greater_equal_at_step", "x >= 1", 1, 1, kNone, kNone},
        JetRow{"less", "(x < 1) + x", 3, 3, 1, 0}, JetRow{"less_equal", "x <= 1", 3, 0, 0, 0},
        JetRow{"equal", "x = 1", 3, 0, 0, 0}, JetRow{"equal_at_step", "x = 1", 1, 1, kNone, kNone},
        JetRow{"not_equal_at_step", "x <> 1", 1, 0, kNone, kNone}, JetRow{"logical_not", "not x", 3, 0, 0, 0},
        JetRow{"logical_not_at_step", "not x", 0, 1, kNone, kNone},
        JetRow{"logical_and", "x and 1", 3, 1, 0, 0},
        JetRow{"logical_or_at_step", "x or 0", 0, 0, kNone, kNone},
        JetRow{"logical_xor", "x xor 1", 2, 0, 0, 0},
        JetRow{"integer_divide_between_steps", "x div 2", 4.2, 2, 0, 0},
        JetRow{"integer_divide_at_step", "x div 1", 2.5, 2, kNone, kNone},
        JetRow{"integer_divide_of_constants", "x * (7 div 2)", 1, 3, 3, 0},
        JetRow{"modulo_at_step", "7 mod x", 2.5, 1, kNone, kNone}, JetRow{"modulo", "x mod 3", 4, 1, 0, 0},
        JetRow{"shift_left", "x shl 1", 3, 6, 0, 0},
        JetRow{"shift_right_at_step", "8 shr x", 1.5, 2, kNone, kNone},
        JetRow{"bitwise_not_at_step", "bnot x", -0.5, -1, kNone, kNone},
        JetRow{"bitwise_and", "x band 6", 3, 2, 0, 0}, JetRow{"bitwise_or", "x bor 4", 3, 7, 0, 0},
        JetRow{"bitwise_xor", "x bxor 1", 3, 2, 0, 0},
        JetRow{"step_times_smooth", "(x div 1) * x", 2.25, 4.5, 2, 0}),
    RowName{});

// Errors of the value are exactly those of the checked machine, and a
// derivative that overflows is no derivative while its value stands.
TEST(JetErrors, AreTheCheckedMachinesAndOverflowDropsOnlyTheDerivative)
{
    for (const char* text : {"1/(x-1)", "(x-1) div (x-1)", "sqrt(x-2)"}) {
        SCOPED_TRACE(text);
        Jets jets(text);
        std::string checked = MessageOf([&] { jets.Checked(1); });
        std::string jet = MessageOf([&] { jets.At(1); });
        EXPECT_FALSE(checked.empty());
        EXPECT_EQ(jet, checked);
    }
    // x^-17 at 1e-290 is 1e4930, within Float's range; its slope is not.
    Jets steep("1/(x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x)");
    TExprJet jet = steep.At(1e-290);
    EXPECT_EQ(jet.Value, steep.Checked(1e-290));
    EXPECT_FALSE(jet.HasD1);
    EXPECT_FALSE(jet.HasD2);
}

// The generated code computes every jet bit for bit as the rules do, and
// where it cannot (an error, a step, a corner, an overflow) the rules' own
// answer comes back: on random formulas of every operator, at points on
// and off their steps, poles and overflows.
std::string RandomFormula(std::mt19937& random, int depth)
{
    static const char* const kLeaves[] = {"x", "x", "x", "2", "0.5", "3", "1e-3", "-1", "1e2000", "pi"};
    static const char* const kBinary[] = {"+", "-",  "*", "/",  "+",   "-",   "*",   "/",
                                          ">", "<=", "=", "<>", "div", "mod", "and", "cmp"};
    auto pick = [&](auto& table) { return table[random() % std::size(table)]; };
    const unsigned kind = depth <= 0 ? 0 : random() % 8;
    if (kind == 0) return pick(kLeaves);
    const std::string a = RandomFormula(random, depth - 1);
    if (kind == 1) return "-(" + a + ")";
    if (kind == 2) return "square(" + a + ")";
    if (kind == 3) return "count(" + a + ")";
    return "(" + a + ") " + pick(kBinary) + " (" + RandomFormula(random, depth - 1) + ")";
}

bool SameBits(Float a, Float b)
{
    return std::memcmp(&a, &b, 10) == 0;
}

TEST(JetCode, GivesTheRulesJetsBitForBit)
{
    std::mt19937 random(20261209);
    const double xs[] = {0,
                         1,
                         -1,
                         0.5,
                         2.5,
                         3,
                         -2.75,
                         1e-300,
                         1e300,
                         7.1e-5,
                         -1234.5678,
                         std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()};
    int withCode = 0, fromCode = 0;
    for (int n = 0; n < 400; ++n) {
        const std::string text = RandomFormula(random, 4);
        SCOPED_TRACE(text);
        Jets jets(text);
        withCode += jets.Program().HasCode();
        for (double x : xs) {
            SCOPED_TRACE(x);
            TExprJet code, rules;
            jets.Program().UseCode(true);
            const std::string codeError = MessageOf([&] { code = jets.At(x); });
            jets.Program().UseCode(false);
            const std::string rulesError = MessageOf([&] { rules = jets.At(x); });
            ASSERT_EQ(codeError, rulesError);
            if (!codeError.empty()) continue;
            EXPECT_TRUE(SameBits(code.Value, rules.Value));
            EXPECT_EQ(code.HasD1, rules.HasD1);
            EXPECT_EQ(code.HasD2, rules.HasD2);
            EXPECT_EQ(code.Varies, rules.Varies);
            if (rules.HasD1) {
                EXPECT_TRUE(SameBits(code.D1, rules.D1)) << double(code.D1) << " " << double(rules.D1);
            }
            if (rules.HasD2) {
                EXPECT_TRUE(SameBits(code.D2, rules.D2)) << double(code.D2) << " " << double(rules.D2);
            }
            fromCode += rules.HasD2;
        }
    }
    // Most formulas have code (count of a varying operand has none), and
    // most points have both derivatives.
    if (TExprNativeCode::Supported()) {
        EXPECT_GT(withCode, 200);
    }
    EXPECT_GT(fromCode, 1000);
}

// Variables other than x are read at each run, a double or a Float, and
// have no derivatives; the code's jets are the rules' and the values the
// checked machine's.
TEST(JetCode, ReadsTheOtherVariablesAtEachRun)
{
    if (!TExprNativeCode::Supported()) GTEST_SKIP() << "no code generation on this platform";
    TCompiledEvaluator evaluator;
    double x = 0, a = 0;
    Float b = 0;
    evaluator.AddVar("x", x);
    evaluator.AddVar("a", a);
    evaluator.AddVar("b", b);
    evaluator.Compile("a*x + b*x*x - a/b");
    TExprJetProgram jets(evaluator.Machine(), &x, {});
    ASSERT_TRUE(jets.HasCode());
    const std::tuple<double, double, Float> cases[] = {
        {1.5, 2.0, 3.0L}, {-0.25, 7.0, 0.1L}, {3.0, -1e10, -2.5L}};
    for (const auto& [ax, aa, ab] : cases) {
        x = ax, a = aa, b = ab;
        const TExprJet code = jets.Run();
        EXPECT_TRUE(SameBits(code.Value, evaluator.EvaluateChecked()));
        EXPECT_EQ(code.D1, a + 2 * b * x);
        EXPECT_EQ(code.D2, 2 * b);
        jets.UseCode(false);
        const TExprJet rules = jets.Run();
        jets.UseCode(true);
        EXPECT_TRUE(SameBits(code.D1, rules.D1) && SameBits(code.D2, rules.D2));
    }
    b = 0; // a/b: the checked machine's error, from the rules
    EXPECT_EQ(MessageOf([&] { jets.Run(); }), MessageOf([&] { evaluator.EvaluateChecked(); }));
}

// The code as written: x's first derivative is one and its second absent,
// so x*x+1 costs one operation more than its value (x + x; the rule's
// 2*1*1 is the constant 2), with the result tested and stored.
TEST(JetCode, ListsTheCodeOfASquare)
{
    if (!TExprNativeCode::Supported()) GTEST_SKIP() << "no code generation on this platform";
    Jets jets("x*x+1");
    ASSERT_TRUE(jets.Program().HasCode());
    EXPECT_EQ(jets.Program().Code()->Listing(),
              "push rbp | mov rbp, rsp | "
              // the value x*x, then x' x + x x' as x + x
              "mov rax, <x> | fld qword [rax] | mov rax, <x> | fmul qword [rax] | "
              "mov rax, <x> | fld qword [rax] | mov rax, <x> | fadd qword [rax] | "
              // + 1 in the register of x*x, which nothing reads after
              "fxch st1 | fadd qword [const 1] | "
              // the result's parts tested
              "fld st0 | fsub st0, st0 | fld st2 | fsub st0, st0 | faddp st1, st0 | "
              "mov rax, <poison> | fadd qword [rax] | fstp qword [rax] | "
              // and stored: the value and f' popped, f'' the constant 2
              "mov rax, <result> | fstp tword [rax] | mov rax, <result'> | fstp tword [rax] | "
              "fld qword [const 2] | mov rax, <result''> | fstp tword [rax] | leave | ret");
}

// Formulas that hold more parts than the eight registers: the code stores
// some to their slots and reads them back, and still gives the rules' bits.
// Operations of constants are computed once, when the code is made.
TEST(JetCode, StoresPartsWhenTheRegistersRunOutAndFoldsConstants)
{
    if (!TExprNativeCode::Supported()) GTEST_SKIP() << "no code generation on this platform";
    struct Row {
        const char* Text;
        const char* InListing;
        const char* NotInListing;
    };
    const Row rows[] = {
        {"(x*x+1)*((x-2)*((x+3)*((x*x-4)*((x+5)/(x*x+6)))))", "fxch", nullptr},
        {"((x*x)/(x+1) - (x-1)/(x*x+2)) * ((x+3)/(x*x-5) + (x*x*x)/(x-7))", "fxch", nullptr},
        {"x * (2*3) + (1 > 2)", "[const 6]", "helper"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Text);
        Jets jets(row.Text);
        ASSERT_TRUE(jets.Program().HasCode());
        const std::string listing = jets.Program().Code()->Listing();
        if (row.InListing) {
            EXPECT_NE(listing.find(row.InListing), std::string::npos) << listing;
        }
        if (row.NotInListing) {
            EXPECT_EQ(listing.find(row.NotInListing), std::string::npos) << listing;
        }
        for (double x : {0.25, -3.5, 10.0, 1e-8}) {
            jets.Program().UseCode(true);
            const TExprJet code = jets.At(x);
            jets.Program().UseCode(false);
            const TExprJet rules = jets.At(x);
            EXPECT_TRUE(SameBits(code.Value, rules.Value) && SameBits(code.D1, rules.D1) &&
                        SameBits(code.D2, rules.D2))
                << x;
        }
    }
}

} // namespace
} // namespace qrv::test
