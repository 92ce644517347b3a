// The machine's fast mode against its checked mode: every program, folded
// and unfolded, gives the checked mode's value bit for bit or its error
// message; folding and the direct call path change nothing observable.
#include "ExprTestSupport.h"
#include "ListingRow.h"
#include "QrvExprFastRun.h"
#include "QrvExprNativeCode.h"

#include <cstring>
#include <iterator>
#include <limits>
#include <optional>

namespace qrv::test
{
namespace
{

struct Outcome {
    std::optional<Float> value;
    std::string message;
};

template <class F> Outcome Capture(F&& evaluate)
{
    Outcome outcome;
    try {
        outcome.value = evaluate();
    } catch (const Exception& error) {
        outcome.message = error.Message();
    }
    return outcome;
}

std::string Show(const Outcome& o)
{
    if (!o.value) return "error '" + o.message + "'";
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", *o.value);
    return text;
}

bool Same(const Outcome& a, const Outcome& b)
{
    if (a.message != b.message || a.value.has_value() != b.value.has_value()) return false;
    return !a.value || std::memcmp(&*a.value, &*b.value, 10) == 0;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kXs[] = {0, 1, -1, -2.5, 0.5, 3, 1e300, -1e-300, 1e19, 5e-324, kInf, kNaN};

struct Program {
    const char* name;
    const char* text;
    bool generates = true; // x87 code can be generated for it
};

class FastAgainstChecked : public ::testing::TestWithParam<Program>
{
};

TEST_P(FastAgainstChecked, SameValuesAndErrors)
{
    SeparatorScope dot('.');
    // The instruction loop and the generated code, each folded and unfolded.
    struct Mode {
        const char* name;
        bool folding;
        TExprNativeUse native;
    };
    const Mode modes[] = {{"folded", true, TExprNativeUse::Never},
                          {"unfolded", false, TExprNativeUse::Never},
                          {"native folded", true, TExprNativeUse::AtOnce},
                          {"native unfolded", false, TExprNativeUse::AtOnce}};
    Formula checked;
    checked.Evaluator().Compile(GetParam().text);
    Formula fast[std::size(modes)];
    for (std::size_t m = 0; m < std::size(modes); ++m) {
        fast[m].Evaluator().SetFolding(modes[m].folding);
        fast[m].Evaluator().SetNativeUse(modes[m].native);
        fast[m].Evaluator().Compile(GetParam().text);
    }
    // Twice over, so that a fault left behind by one evaluation shows in
    // the next.
    for (int round = 0; round < 2; ++round)
        for (double x : kXs) {
            checked.X() = x;
            const Outcome want = Capture([&] { return checked.Evaluator().EvaluateChecked(); });
            for (std::size_t m = 0; m < std::size(modes); ++m) {
                fast[m].X() = x;
                const Outcome got = Capture([&] { return fast[m].Evaluator().Evaluate(); });
                EXPECT_TRUE(Same(got, want))
                    << "x = " << x << ": " << modes[m].name << " " << Show(got) << ", checked " << Show(want);
            }
        }
    // Generated with the optimised program, at the first evaluation.
    for (std::size_t m = 0; m < std::size(modes); ++m)
        if (modes[m].native == TExprNativeUse::AtOnce && TExprNativeCode::Supported()) {
            EXPECT_EQ(fast[m].Evaluator().RunsNativeCode(), GetParam().generates) << modes[m].name;
        }
}

// Every operation, every error, faults hidden by later operations, faults
// before and after calls, constant subtrees that fold and that fault.
INSTANTIATE_TEST_SUITE_P(
    Programs, FastAgainstChecked,
    ::testing::Values(
        Program{"Variable", "x"}, Program{"Constant", "2.5", false}, Program{"Negate", "-x"},
        Program{"NegateConstant", "-(2*3)"}, Program{"LogicalNot", "not x + not 0"},
        Program{"BitwiseNot", "bnot x + bnot 2"}, Program{"Arithmetic", "(x + 1) * (x - 2) / (x + 3)"},
        Program{"Startup", "5.22 - 5.44E-4 * (x - 817)"}, Program{"Horner", "((x*x - 3)*x + 2)*x - 7"},
        Program{"Comparisons", "(x cmp 1) + (x > 1) + (x >= 1) + (x < 1) + (x <= 1) + (x = 1) + (x <> 1)"},
        Program{"ComparisonsOfConstants", "(2 cmp 1) + (2 > 1) * 4 + (1 = 1) * 8"},
        Program{"Integer", "x div 3 + x mod 7 + 7 div 2 + -7 mod 2"},
        Program{"Shifts", "1 shl x + -8 shr x + 1 shl 64 + 1 shl -1"},
        Program{"Bitwise", "(x band 255) + (x bor 3) + (x bxor 5) + (5 band 3)"},
        Program{"Logical", "(x and 1) + (x or 0) * 2 + (x xor 1) * 4 + (0 and 1) * 8"},
        Program{"UnaryCall", "sin(x) + sin(2)"}, Program{"BinaryCall", "power(x; 2) + power(2; 10)"},
        Program{"NestedCalls", "sin(sin(x)) * sqrt(x * x)"},
        Program{"CallOfConstantSubtree", "sqrt(2 * pi) * x"}, Program{"DivideByZero", "1 / x"},
        Program{"ConstantDivideByZero", "x + 1/0"}, Program{"ZeroByZero", "0 / (x - x)"},
        Program{"Overflow", "x * x * x * 1e4000"}, Program{"ConstantOverflow", "1e3000 * 1e3000 + x"},
        Program{"IntegerZero", "1 div (x - x)"}, Program{"IntegerRange", "x div 1 + 1e30 mod 3"},
        Program{"DomainError", "sqrt(x - 2)"}, Program{"ConstantDomainError", "x + sqrt(-1)"},
        Program{"FunctionOverflow", "power(10; x * 5000)"},
        Program{"OverflowDividedAway", "1 / (x * 1e4000 * 1e4000)"},
        Program{"OverflowComparedAway", "(x * 1e4000 * 1e4000 > 0) + 1"},
        Program{"OverflowBeforeCall", "x * 1e4000 * 1e4000 + sqrt(-1)"},
        Program{"CallBeforeOverflow", "sqrt(x - 2) + x * 1e4000 * 1e4000"},
        Program{"OverflowUsedAfterCall", "(x * 1e4000 * 1e4000) + sin(x) + 1"},
        Program{"OverflowIntoLogical", "((x * 1e4000 * 1e4000) and 1) + sin(1)"},
        Program{"OverflowIntoInteger", "(x * 1e4000 * 1e4000) div 3"},
        Program{"ZeroDivideBeforeInvalid", "1 / x + 0 / x"},
        Program{"InvalidBeforeZeroDivide", "0 / x + 1 / x"},
        Program{"RepeatedSubtrees", "(x + 1) * (x + 1) - (x + 1) / (x + 2)"},
        Program{"ManyCalls", "sin(x) * sin(x + 1) + power(sin(x); 2) - sqrt(sin(x) * sin(x))"},
        // Each operand form of the generated arithmetic: a variable or a
        // constant exact in double taken into the instruction, a wider
        // constant loaded, a register, a value stored across a call; on
        // either side of the non-commutative operators.
        Program{"MemoryOperands", "(x - 3) / (5 - x) + (x / 4) - (4 / (x + 9)) + 3 * x - x * 5"},
        Program{"WideConstants", "(0.1 - x) / (x - 0.1) + x / 0.3 - 0.3 / (x + 7) + 0.7 * x * 0.1"},
        Program{"RegisterOperands", "(x + 1) - (x * 2) + (x + 1) / (x * 2 + 9) - (x - 1) * (x + 2)"},
        Program{"StoredAcrossCalls", "(x + 1) - sin(x) + (x + 2) / (sin(x) + 3) + (0.1 * x) * sin(x)"},
        Program{"VariableTwice", "x - x + x / x + x * x"},
        Program{"LeftConstants",
                "(1 < x) + (0.1 >= x) * 2 + (3 cmp x) * 4 + (0.5 and x) + (0 or x) + not 0.5"},
        Program{"IntegerAcrossCalls", "(x div 2) * sin(x) + (x mod 3) + bnot (x + 1) + sin(x shl 1)"},
        Program{"DividedAwayAfterCall", "sin(x) + 1 / (x * 1e4000 * 1e4000)"},
        Program{"ComparedAwayBeforeCall", "(x * 1e4000 * 1e4000 > 0) + sin(x)"},
        Program{
            "Forty",
            "(x*x + 3*x - 2) / (x*x + 1) - (2*x - 1) * (x + 4) / 9 + (x - 1) * (x - 2) * (x + 3) / 17 "
            "- (5 - x) / (x*x + 2) + 0.25*x*x*x - (x + 7) * 0.125 + (3*x + 1) * (x - 0.5) / 11 - x / 13"}),
    RowName{});

// A pure function (one that reads no state, unlike the angle-mode built-ins)
// with constant arguments is called once, when the program is built.
Float PureSqrt(Float x)
{
    ++gCountCalls;
    return TestSqrt(x);
}

class FoldingTest : public ::testing::Test
{
protected:
    FoldingTest()
    {
        auto pure = std::make_unique<TExprUnaryFuncSym>("puresqrt", &PureSqrt);
        pure->SetPure(true);
        f.Builtins().Add(std::move(pure));
        gCountCalls = 0;
    }
    Formula f;
};

TEST_F(FoldingTest, PureCallsOfConstantsFoldOnce)
{
    f.Evaluator().Compile("sin(-x*x/2) / puresqrt(2*pi)");
    for (int i = 0; i < 3; ++i)
        f.Evaluator().Evaluate();
    EXPECT_EQ(gCountCalls, 1); // made while building the optimised program
    // The listing is the program as built, without folding.
    EXPECT_EQ(f.Evaluator().Dump(),
              "const 2 | const 2 | const 3.14159265358979324 | load x | neg | load x | mul | "
              "div | call sin | mul | call puresqrt | div");
}

TEST_F(FoldingTest, ImpureCallsAreMadeAtEveryEvaluation)
{
    f.Evaluator().Compile("count(2) + count(3)");
    f.Evaluator().Evaluate();
    f.Evaluator().Evaluate();
    EXPECT_EQ(gCountCalls, 4);
}

TEST_F(FoldingTest, FaultingSubtreesFaultInPlace)
{
    f.Evaluator().Compile("count(1) + 1/0 + count(2)");
    EXPECT_EQ(MessageOf<EZeroDivide>([&] { f.Evaluator().Evaluate(); }), "Floating point division by zero");
    EXPECT_EQ(gCountCalls, 1);
    // Building tries the call once; it raises, so it stays and raises again
    // at evaluation time, before count is called.
    gCountCalls = 0;
    f.Evaluator().Compile("puresqrt(-1) + count(1)");
    EXPECT_EQ(MessageOf<EQrvMathError>([&] { f.Evaluator().Evaluate(); }), "Domain check failure in QrvMath");
    EXPECT_EQ(gCountCalls, 2);
}

class FastListing : public ::testing::TestWithParam<ListingRow>
{
};

// The optimised program: values pass in registers ("acc"), x is read in
// place, constants fold and are shared, stored values are tested before
// calls ("check") and at the end.
TEST_P(FastListing, Builds)
{
    SeparatorScope dot('.');
    Formula f;
    f.Evaluator().Compile(GetParam().text);
    EXPECT_EQ(f.Evaluator().FastListing(), GetParam().listing);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, FastListing,
    ::testing::Values(
        ListingRow{"Startup", "5.22 - 5.44E-4 * (x - 817)",
                   "start var1 | sub var1 817 | mul 0.000544 acc | sub 5.22 acc | end acc"},
        ListingRow{"Folded", "2 * 3 + x", "start var1 | add 6 var1 | end acc"},
        ListingRow{"AllFolded", "2 * (3 + 4)", "end 14"},
        ListingRow{"Shared", "x * 2 + x / 2",
                   "start var1 | mul var1 2 >@2 | div var1 2 | add @2 acc | end acc"},
        ListingRow{
            "CheckedBeforeCall", "x * x > 1 + sin(x)",
            "start var1 | mul var1 var1 >@3 | check 1 | call var1 | add 1 acc >@6 | gt @3 acc | check 1 | "
            "end acc"}),
    RowName{});

} // namespace
} // namespace qrv::test

namespace qrv::test
{
namespace
{

// Overflows inside, as a routine may while computing a finite result; the
// sticky flag it leaves is no fault of the formula.
Float OverflowsInside(Float x)
{
    volatile Float big = 1e4000L;
    big = big * big;
    return x;
}

class NativeCode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!TExprNativeCode::Supported()) GTEST_SKIP() << "no code generation on this platform";
    }
    NativeCode()
    {
        f.Builtins().Add(std::make_unique<TExprUnaryFuncSym>("inside", &OverflowsInside));
        f.Evaluator().SetNativeUse(TExprNativeUse::AtOnce);
        gCountCalls = 0;
    }
    Formula f;
};

TEST_F(NativeCode, GeneratedAfterWarmUpOnly)
{
    Formula lazy, never;
    never.Evaluator().SetNativeUse(TExprNativeUse::Never);
    lazy.Evaluator().Compile("x * 2");
    never.Evaluator().Compile("x * 2");
    for (int i = 0; i < TExprFastProgram::kNativeAfter - 1; ++i)
        lazy.Evaluator().Evaluate();
    EXPECT_FALSE(lazy.Evaluator().RunsNativeCode());
    lazy.X() = 3;
    EXPECT_EQ(lazy.Evaluator().Evaluate(), 6); // the first run of the code
    EXPECT_TRUE(lazy.Evaluator().RunsNativeCode());
    for (int i = 0; i < 2 * TExprFastProgram::kNativeAfter; ++i)
        never.Evaluator().Evaluate();
    EXPECT_FALSE(never.Evaluator().RunsNativeCode());
}

// A call before a fault is made once; the checked re-run takes its result
// from its slot. A call after the fault is not made at all.
TEST_F(NativeCode, CallsAroundAFaultAreMadeOnce)
{
    f.Evaluator().Compile("count(1) + 1/x + count(2)");
    f.X() = 2;
    EXPECT_EQ(f.Evaluator().Evaluate(), 3.5L);
    ASSERT_TRUE(f.Evaluator().RunsNativeCode());
    EXPECT_EQ(gCountCalls, 2);
    gCountCalls = 0;
    f.X() = 0;
    EXPECT_EQ(MessageOf<EZeroDivide>([&] { f.Evaluator().Evaluate(); }), "Floating point division by zero");
    EXPECT_EQ(gCountCalls, 1);
}

// The code reads no status flags: flags left set by earlier code or by a
// routine change nothing.
TEST_F(NativeCode, StaleFlagsChangeNothing)
{
    f.Evaluator().Compile("x * 2 + inside(x) * 3 + 1/x");
    f.X() = 2;
    EXPECT_EQ(f.Evaluator().Evaluate(), 10.5L);
    ASSERT_TRUE(f.Evaluator().RunsNativeCode());
    volatile Float zero = 0;
    volatile Float quotient = 1 / zero; // sets the division-by-zero flag
    (void)quotient;
    ASSERT_TRUE(FloatFaultFlagsSet());
    EXPECT_EQ(f.Evaluator().Evaluate(), 10.5L);
    f.X() = 0;
    EXPECT_EQ(MessageOf<EZeroDivide>([&] { f.Evaluator().Evaluate(); }), "Floating point division by zero");
}

struct DeepRow {
    const char* name;
    const char* text;
    bool generates;
};

class NativeDepth : public ::testing::TestWithParam<DeepRow>
{
};

// Values wait in registers while their right-hand sides are computed; past
// eight of them the instruction loop runs instead, with the same results.
// Values held across a call are stored and do not count.
TEST_P(NativeDepth, FallsBackBeyondTheRegisterStack)
{
    SeparatorScope dot('.');
    Formula native, checked;
    native.Evaluator().SetNativeUse(TExprNativeUse::AtOnce);
    native.Evaluator().Compile(GetParam().text);
    checked.Evaluator().Compile(GetParam().text);
    for (double x : {0.5, -3.0, 7.25}) {
        native.X() = checked.X() = x;
        const Float got = native.Evaluator().Evaluate(), want = checked.Evaluator().EvaluateChecked();
        EXPECT_EQ(std::memcmp(&got, &want, 10), 0) << "x = " << x;
    }
    if (TExprNativeCode::Supported()) {
        EXPECT_EQ(native.Evaluator().RunsNativeCode(), GetParam().generates);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, NativeDepth,
    ::testing::Values(
        DeepRow{"Seven", "(x+1)*((x+2)*((x+3)*((x+4)*((x+5)*((x+6)*(x+7))))))", true},
        DeepRow{"Nine", "(x+1)*((x+2)*((x+3)*((x+4)*((x+5)*((x+6)*((x+7)*((x+8)*(x+9))))))))", false},
        DeepRow{"NineAcrossCalls", "(x+1)*((x+2)*((x+3)*((x+4)*((x+5)*((x+6)*((x+7)*((x+8)*sin(x+9))))))))",
                false},
        DeepRow{"SpilledAtCalls", "(x+1)*((x+2)*((x+3)*((x+4)*((x+5)*((x+6)*sin((x+7)*sin(x)))))))", true},
        DeepRow{"ComparisonsDeep", "(x>1)+((x<2)+((x>=3)+((x<=4)+((x=5)+((x<>6)+(x cmp 7))))))", true}),
    RowName{});

Float Exp80(Float v)
{
    return std::exp(v);
}
Float Difference80(Float a, Float b)
{
    return a - b;
}

// The 80-bit call operations are Float calls like the plain family's and
// take the same direct call path: in the instruction loop and in generated
// code, folded (a pure call of a constant) or not, with the checked mode's
// values and errors (exp(20000) overflows, an infinite x is refused).
TEST(FastCalls, EightyBitCallsTakeTheDirectPath)
{
    struct Mode {
        const char* name;
        bool folding;
        TExprNativeUse native;
        const char* listing;
    };
    const Mode modes[] = {
        {"folded", true, TExprNativeUse::Never,
         "start var1 | call var1 | call acc 20.0855369231876677 | end acc"},
        {"unfolded", false, TExprNativeUse::Never, "start var1 | call 3 | call var1 | call acc @1 | end acc"},
        {"native", true, TExprNativeUse::AtOnce,
         "start var1 | call var1 | call acc 20.0855369231876677 | end acc"}};
    for (const Mode& mode : modes) {
        double x = 0;
        TExprVirtMach machine;
        machine.SetFolding(mode.folding);
        machine.SetNativeUse(mode.native);
        auto* three = machine.AddConst(std::make_unique<TExprConstVmOp>(3));
        auto expOfThree = std::make_unique<TExprCallUnary80VmOp>(&Exp80, three->OutputLocation());
        expOfThree->SetPure(true);
        auto* folded = machine.Add(std::move(expOfThree));
        auto* load = machine.Add(std::make_unique<TExprVar64VmOp>(&x));
        auto* power = machine.Add(std::make_unique<TExprCallUnary80VmOp>(&Exp80, load->OutputLocation()));
        machine.Add(std::make_unique<TExprCallBinary80VmOp>(&Difference80, power->OutputLocation(),
                                                            folded->OutputLocation()));
        for (double value : {0.0, 2.0, -1.5, 20000.0, kInf, 1.0}) {
            x = value;
            const Outcome got = Capture([&] { return machine.Execute(); });
            const Outcome want = Capture([&] { return machine.ExecuteChecked(); });
            EXPECT_TRUE(Same(got, want))
                << mode.name << " x = " << x << ": " << Show(got) << ", checked " << Show(want);
        }
        EXPECT_EQ(machine.FastListing(), mode.listing) << mode.name;
        if (mode.native == TExprNativeUse::AtOnce && TExprNativeCode::Supported()) {
            EXPECT_TRUE(machine.RunsNativeCode()) << mode.name;
        }
    }
}

// A program whose operands are not a tree (one value read twice) is not
// generated; the instruction loop runs it.
TEST(NativeShape, SharedOperandsRunInTheLoop)
{
    double x = 3;
    TExprVirtMach machine;
    machine.SetNativeUse(TExprNativeUse::AtOnce);
    auto* load = machine.Add(std::make_unique<TExprVar64VmOp>(&x));
    machine.Add(std::make_unique<TExprMultiplyVmOp>(load->OutputLocation(), load->OutputLocation()));
    machine.Prepare();
    EXPECT_FALSE(machine.RunsNativeCode());
    EXPECT_EQ(machine.Execute(), 9);
}

} // namespace
} // namespace qrv::test
