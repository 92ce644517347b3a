// The virtual machine: the value rules of every operation, the integer,
// bitwise and shift rules, and every floating-point error.
#include "ExprTestSupport.h"

#include <limits>

namespace qrv::test
{
namespace
{

struct OpRow {
    const char* name;
    const char* text;
    Float expected;
};

class VirtMachValue : public ::testing::TestWithParam<OpRow>
{
};

TEST_P(VirtMachValue, Evaluates)
{
    SeparatorScope dot('.');
    Formula f;
    Float value = f.Eval(GetParam().text);
    EXPECT_EQ(value, GetParam().expected) << GetParam().text;
    EXPECT_FALSE(std::signbit(value) && value == 0) << "truth values and results are +0";
}

constexpr Float kTwo63 = 9223372036854775808.0L;

INSTANTIATE_TEST_SUITE_P(
    Integer, VirtMachValue,
    ::testing::Values(OpRow{"Div", "7 div 2", 3}, OpRow{"DivTruncatesTowardZero", "-7 div 2", -3},
                      OpRow{"ModSignOfLeft", "-7 mod 2", -1}, OpRow{"ModNegativeRight", "7 mod -2", 1},
                      OpRow{"RoundsHalfToEvenUp", "7.5 div 1", 8},
                      OpRow{"RoundsHalfToEvenDown", "6.5 div 1", 6}, OpRow{"ModOfRounded", "2.5 mod 10", 2},
                      OpRow{"DivByRoundedRight", "9 div 2.6", 3},
                      OpRow{"SmallestDivMinusOne", "(0 - 9223372036854775808) div -1", kTwo63},
                      OpRow{"SmallestModMinusOne", "(0 - 9223372036854775808) mod -1", 0},
                      OpRow{"LargestInteger", "9223372036854775807 div 1", kTwo63 - 1}),
    RowName{});

INSTANTIATE_TEST_SUITE_P(
    Shift, VirtMachValue,
    ::testing::Values(OpRow{"Left", "1 shl 3", 8}, OpRow{"LeftBy63", "1 shl 63", -kTwo63},
                      OpRow{"LeftBy64IsZero", "1 shl 64", 0}, OpRow{"LeftBy127IsZero", "1 shl 127", 0},
                      OpRow{"CountTakesLowByte", "1 shl 256", 1}, OpRow{"Count257", "1 shl 257", 2},
                      OpRow{"NegativeCountLowFiveBits", "1 shl -1", 2147483648.0L},
                      OpRow{"Count128IsNegative", "1 shl 128", 1}, OpRow{"CountMinus32", "1 shl -32", 1},
                      OpRow{"CountRounded", "1 shl 2.5", 4}, OpRow{"RightIsLogical", "-1 shr 60", 15},
                      OpRow{"RightOfNegative", "-8 shr 1", kTwo63 - 4},
                      OpRow{"RightBy64IsZero", "-1 shr 64", 0},
                      OpRow{"RightNegativeCount", "-1 shr -1", 8589934591.0L}),
    RowName{});

INSTANTIATE_TEST_SUITE_P(Bitwise, VirtMachValue,
                         ::testing::Values(OpRow{"And", "5 band 3", 1}, OpRow{"Or", "5 bor 3", 7},
                                           OpRow{"Xor", "5 bxor 3", 6}, OpRow{"NotZero", "bnot 0", -1},
                                           OpRow{"NotRounds", "bnot 1.5", -3},
                                           OpRow{"AndNegative", "-1 band 255", 255}),
                         RowName{});

INSTANTIATE_TEST_SUITE_P(Logical, VirtMachValue,
                         ::testing::Values(OpRow{"AndTrue", "2 and 3", 1}, OpRow{"AndFalse", "2 and 0", 0},
                                           OpRow{"OrTrue", "0 or -1", 1}, OpRow{"OrFalse", "0 or 0", 0},
                                           OpRow{"XorBothTrue", "2 xor 3", 0},
                                           OpRow{"XorOneTrue", "0 xor 3", 1}, OpRow{"NotZero", "not 0", 1},
                                           OpRow{"NotFive", "not 5", 0}, OpRow{"NotTiny", "not 1e-4000", 0},
                                           OpRow{"NotNegativeZero", "not -0", 1}),
                         RowName{});

INSTANTIATE_TEST_SUITE_P(Compare, VirtMachValue,
                         ::testing::Values(OpRow{"CmpLess", "3 cmp 5", -1}, OpRow{"CmpEqual", "5 cmp 5", 0},
                                           OpRow{"CmpGreater", "6 cmp 5", 1}, OpRow{"Greater", "2 > 1", 1},
                                           OpRow{"GreaterEqual", "1 >= 1", 1}, OpRow{"Less", "2 < 1", 0},
                                           OpRow{"LessEqual", "2 <= 1", 0}, OpRow{"Equal", "1 = 1", 1},
                                           OpRow{"NotEqual", "1 <> 1", 0},
                                           OpRow{"ZeroEqualsNegativeZero", "0 = -0", 1}),
                         RowName{});

INSTANTIATE_TEST_SUITE_P(Arithmetic, VirtMachValue,
                         ::testing::Values(OpRow{"Extended", "1 + 1e-19 > 1", 1},
                                           OpRow{"UnderflowIsSilent", "1e-4000 * 1e-4000", 0},
                                           OpRow{"LargestFloat", "1e4932 * 1", 1e4932L},
                                           OpRow{"Subtract", "0.5 - 0.25", 0.25L},
                                           OpRow{"Divide", "1 / 4", 0.25L}),
                         RowName{});

struct FaultRow {
    const char* name;
    const char* text;
    const char* message;
    double x = 0;
};

class VirtMachFault : public ::testing::TestWithParam<FaultRow>
{
};

TEST_P(VirtMachFault, Raises)
{
    SeparatorScope dot('.');
    Formula f;
    // Constant symbols may hold what no formula text can: an infinity, a NaN.
    f.Builtins().Add(std::make_unique<TExprConstSym>("huge", std::numeric_limits<Float>::infinity()));
    f.Builtins().Add(std::make_unique<TExprConstSym>("nan", std::numeric_limits<Float>::quiet_NaN()));
    f.Evaluator().Compile(GetParam().text);
    f.X() = GetParam().x;
    EXPECT_EQ(MessageOf<Exception>([&] { f.Evaluator().Evaluate(); }), GetParam().message) << GetParam().text;
}

constexpr const char* kInvalid = "Invalid floating point operation";
constexpr const char* kZero = "Floating point division by zero";
constexpr const char* kOverflow = "Floating point overflow";
constexpr const char* kIntZero = "Division by zero";

INSTANTIATE_TEST_SUITE_P(
    Errors, VirtMachFault,
    ::testing::Values(
        FaultRow{"DivideByZero", "1/0", kZero}, FaultRow{"DivideNegativeByZero", "-1/x", kZero},
        FaultRow{"ZeroByZero", "0/0", kInvalid}, FaultRow{"ZeroByVariableZero", "x/x", kInvalid},
        FaultRow{"AddOverflow", "1e4932 + 1e4932", kOverflow},
        FaultRow{"SubtractOverflow", "-1e4932 - 1e4932", kOverflow},
        FaultRow{"MultiplyOverflow", "1e3000 * 1e3000", kOverflow},
        FaultRow{"DivideOverflow", "1e4000 / 1e-4000", kOverflow},
        FaultRow{"IntegerDivByZero", "1 div 0", kIntZero},
        FaultRow{"IntegerDivByRoundedZero", "1 div 0.4", kIntZero},
        FaultRow{"ModByZero", "1 mod 0", kIntZero}, FaultRow{"DivOperandOutOfRange", "1e30 div 1", kInvalid},
        FaultRow{"DivRightOutOfRange", "1 div 1e30", kInvalid},
        FaultRow{"DivOperandJustOutOfRange", "9223372036854775808 div 1", kInvalid},
        FaultRow{"ModOperandOutOfRange", "-1e19 mod 3", kInvalid},
        FaultRow{"ShiftOperandOutOfRange", "1e19 shl 1", kInvalid},
        FaultRow{"ShiftCountOutOfRange", "1 shl 1e19", kInvalid},
        FaultRow{"BitwiseAndOutOfRange", "1 band 1e300", kInvalid},
        FaultRow{"BitwiseOrOutOfRange", "1e300 bor 1", kInvalid},
        FaultRow{"BitwiseXorOutOfRange", "1e300 bxor 1", kInvalid},
        FaultRow{"BitwiseNotOutOfRange", "bnot 1e19", kInvalid},
        FaultRow{"ErrorInsideFunctionArgument", "sin(1/0)", kZero},
        FaultRow{"FunctionDomainErrorPassesThrough", "sqrt(-1)", "Domain check failure in QrvMath"},
        FaultRow{"FunctionOverflowResult", "power(10; 5000)", kOverflow},
        FaultRow{"FunctionNaNResult", "power(-8; 1/3)", kInvalid},
        FaultRow{"InfiniteVariable", "x", kOverflow, std::numeric_limits<double>::infinity()},
        FaultRow{"NaNVariable", "x + 1", kInvalid, std::numeric_limits<double>::quiet_NaN()}),
    RowName{});

// A fault that later operations hide (an infinity divided away, compared,
// rounded for an integer operation) or follow with another error is still
// the error raised.
INSTANTIATE_TEST_SUITE_P(
    FirstErrorWins, VirtMachFault,
    ::testing::Values(FaultRow{"OverflowBeforeDomainError", "1e3000 * 1e3000 + sqrt(-1)", kOverflow},
                      FaultRow{"DomainErrorBeforeOverflow", "sqrt(-1) + 1e3000 * 1e3000",
                               "Domain check failure in QrvMath"},
                      FaultRow{"OverflowDividedAway", "1 / (1e3000 * 1e3000)", kOverflow},
                      FaultRow{"OverflowComparedAway", "(1e3000 * 1e3000 > 0) * 2", kOverflow},
                      FaultRow{"OverflowTimesZero", "(1e3000 * 1e3000) * x + 1", kOverflow},
                      FaultRow{"OverflowBeforeIntegerDivide", "(1e3000 * 1e3000) div 3", kOverflow},
                      FaultRow{"OverflowBeforeModulo", "5 mod (1e3000 * 1e3000)", kOverflow},
                      FaultRow{"OverflowBeforeBitwise", "(1e3000 * 1e3000) bor 1", kOverflow},
                      FaultRow{"OverflowBeforeShift", "1 shl (1e3000 * 1e3000)", kOverflow},
                      FaultRow{"ZeroDivideBeforeInvalid", "1 / x + 0 / x", kZero},
                      FaultRow{"InvalidBeforeZeroDivide", "0 / x + 1 / x", kInvalid},
                      FaultRow{"ZeroDivideBeforeDomainError", "1 / x + sqrt(-1)", kZero},
                      FaultRow{"OverflowBeforeInfiniteVariable", "1e3000 * 1e3000 + x", kOverflow,
                               std::numeric_limits<double>::infinity()},
                      FaultRow{"OverflowBeforeNaNVariable", "-1e3000 * 1e3000 - x", kOverflow,
                               std::numeric_limits<double>::quiet_NaN()},
                      FaultRow{"NaNVariableBeforeOverflow", "x + 1e3000 * 1e3000", kInvalid,
                               std::numeric_limits<double>::quiet_NaN()},
                      FaultRow{"OverflowInsideFunctionArgument", "count(1e3000 * 1e3000 - 1e4000)",
                               kOverflow}),
    RowName{});

// A non-finite constant is refused by the first operation whose result can
// carry it on, with one operand as with two, so that it never becomes the
// formula's value; a truth value or an integer rule stops it anyway.
INSTANTIATE_TEST_SUITE_P(NonFiniteConstant, VirtMachFault,
                         ::testing::Values(FaultRow{"NegatedInfinity", "-huge", kOverflow},
                                           FaultRow{"NegatedNaN", "-nan", kInvalid},
                                           FaultRow{"NegatedTwice", "--huge", kOverflow},
                                           FaultRow{"SubtractedFromZero", "0 - huge", kOverflow},
                                           FaultRow{"BitwiseNot", "bnot huge", kInvalid},
                                           FaultRow{"NegatedThenCompared", "(-huge < 0) + 1", kOverflow}),
                         RowName{});

TEST(VirtMach, AFaultBeforeACallStopsTheCall)
{
    gCountCalls = 0;
    Formula f;
    f.Evaluator().Compile("count(1) + 1e3000 * 1e3000 + count(2) + count(3)");
    EXPECT_EQ(MessageOf<Exception>([&] { f.Evaluator().Evaluate(); }), kOverflow);
    EXPECT_EQ(gCountCalls, 1);
}

TEST(VirtMach, AnEvaluationAfterAFaultIsUnaffected)
{
    Formula f;
    f.Evaluator().Compile("1 / x + x * x");
    f.X() = 0;
    EXPECT_THROW(f.Evaluator().Evaluate(), EZeroDivide);
    f.X() = 2;
    EXPECT_EQ(f.Evaluator().Evaluate(), 4.5L);
    f.X() = 0;
    EXPECT_THROW(f.Evaluator().Evaluate(), EZeroDivide);
}

// Raises the overflow flag of the floating-point unit and returns a finite
// value, as a library routine may do internally.
Float OverflowInside()
{
    volatile Float huge = 1e4000L;
    Float product = huge * huge;
    return product > 0 ? 1 : 0;
}

TEST(VirtMach, FlagsLeftByOthersRaiseNothing)
{
    Formula f;
    EXPECT_EQ(OverflowInside(), 1); // the flag is set before the evaluation
    EXPECT_EQ(f.Eval("x * 2 + 1", 3), 7);

    TExprVirtMach machine;
    auto* two = machine.AddConst(std::make_unique<TExprConstVmOp>(2));
    auto* one = machine.Add(std::make_unique<TExprCallFloatVmOp>(&OverflowInside));
    auto* sum = machine.Add(std::make_unique<TExprAddVmOp>(one->OutputLocation(), two->OutputLocation()));
    auto* again = machine.Add(std::make_unique<TExprCallFloatVmOp>(&OverflowInside));
    machine.Add(std::make_unique<TExprMultiplyVmOp>(sum->OutputLocation(), again->OutputLocation()));
    EXPECT_EQ(machine.Execute(), 3);
    EXPECT_EQ(machine.Execute(), 3);
}

TEST(VirtMach, AnInfiniteConstantIsCheckedLikeAnyOperand)
{
    TExprVirtMach machine;
    auto* inf = machine.AddConst(std::make_unique<TExprConstVmOp>(std::numeric_limits<Float>::infinity()));
    auto* one = machine.AddConst(std::make_unique<TExprConstVmOp>(1));
    auto* greater =
        machine.Add(std::make_unique<TExprGreaterVmOp>(inf->OutputLocation(), one->OutputLocation()));
    EXPECT_EQ(machine.Execute(), 1); // comparisons do not check
    machine.Add(std::make_unique<TExprAddVmOp>(inf->OutputLocation(), greater->OutputLocation()));
    EXPECT_THROW(machine.Execute(), EOverflow);
}

TEST(VirtMach, EmptyCodeListReturnsTheConstant)
{
    TExprVirtMach machine;
    machine.AddConst(std::make_unique<TExprConstVmOp>(2.5L));
    EXPECT_EQ(machine.Execute(), 2.5L);
    EXPECT_EQ(Dump(machine), "const 2.5");
}

TEST(VirtMach, NoOperationsIsAListIndexError)
{
    TExprVirtMach machine;
    EXPECT_EQ(MessageOf<EListError>([&] { machine.Execute(); }), "List index out of bounds (0)");
    machine.AddConst(std::make_unique<TExprConstVmOp>(1));
    machine.Clear();
    EXPECT_THROW(machine.Execute(), EListError);
}

TEST(VirtMach, ReadsVariablesAtEveryExecution)
{
    double x = 1;
    float f = 2;
    Float g = 3;
    TExprVirtMach machine;
    auto* lx = machine.Add(std::make_unique<TExprVar64VmOp>(&x));
    auto* lf = machine.Add(std::make_unique<TExprVar32VmOp>(&f));
    auto* lg = machine.Add(std::make_unique<TExprVar80VmOp>(&g));
    auto* sum = machine.Add(std::make_unique<TExprAddVmOp>(lx->OutputLocation(), lf->OutputLocation()));
    machine.Add(std::make_unique<TExprMultiplyVmOp>(sum->OutputLocation(), lg->OutputLocation()));
    EXPECT_EQ(machine.Execute(), 9);
    x = 10;
    f = 0.5f;
    g = -1;
    EXPECT_EQ(machine.Execute(), -10.5L);
    EXPECT_EQ(Dump(machine), "load var1 | load32 var2 | load80 var3 | add | mul");
}

TEST(VirtMach, OperationsAfterAFaultAreNotRun)
{
    gCountCalls = 0;
    Formula f;
    f.Evaluator().Compile("count(1) + 1/x + count(2)");
    f.X() = 0;
    EXPECT_THROW(f.Evaluator().Evaluate(), EZeroDivide);
    EXPECT_EQ(gCountCalls, 1);
    f.X() = 1; // the next Evaluate runs everything again
    EXPECT_EQ(f.Evaluator().Evaluate(), 4);
    EXPECT_EQ(gCountCalls, 3);
}

TEST(VirtMach, LogicalOperatorsComputeBothOperands)
{
    gCountCalls = 0;
    Formula f;
    EXPECT_EQ(f.Eval("0 and count(1) or 1 or count(2)"), 1);
    EXPECT_EQ(gCountCalls, 2);
}

// ---- call widths -----------------------------------------------------------

float Half32(float v)
{
    return v / 2;
}
double Sum64(double a, double b)
{
    return a + b;
}
Float Fma80(Float a, Float b, Float c)
{
    return a * b + c;
}
Float Seven()
{
    return 7;
}
double Huge64()
{
    return std::numeric_limits<double>::infinity();
}

TEST(VirtMach, CallFamiliesNarrowAndWiden)
{
    TExprVirtMach machine;
    auto* a = machine.AddConst(std::make_unique<TExprConstVmOp>(1.0L + 1e-12L));
    auto* b = machine.AddConst(std::make_unique<TExprConstVmOp>(0.1L));
    auto* half = machine.Add(std::make_unique<TExprCallUnary32VmOp>(&Half32, a->OutputLocation()));
    EXPECT_EQ(machine.Execute(), 0.5L); // 1 + 1e-12 narrows to 1.0f
    auto* sum = machine.Add(
        std::make_unique<TExprCallBinary64VmOp>(&Sum64, half->OutputLocation(), b->OutputLocation()));
    EXPECT_EQ(machine.Execute(), Float(0.5 + 0.1)); // double arithmetic
    auto* seven = machine.Add(std::make_unique<TExprCallFloatVmOp>(&Seven));
    machine.Add(std::make_unique<TExprCallTernary80VmOp>(&Fma80, sum->OutputLocation(),
                                                         seven->OutputLocation(), b->OutputLocation()));
    EXPECT_EQ(machine.Execute(), Float(0.5 + 0.1) * 7 + 0.1L);
    EXPECT_EQ(Dump(machine), "const 1.000000000001 | const 0.1 | call32 func1 | call64 func2 | call func3 | "
                             "call80 func4");
}

TEST(VirtMach, CallArgumentsBeyondTheNarrowRangeOverflow)
{
    TExprVirtMach machine;
    auto* big = machine.AddConst(std::make_unique<TExprConstVmOp>(1e39L));
    machine.Add(std::make_unique<TExprCallUnary32VmOp>(&Half32, big->OutputLocation()));
    EXPECT_THROW(machine.Execute(), EOverflow);

    TExprVirtMach wide;
    auto* bigger = wide.AddConst(std::make_unique<TExprConstVmOp>(1e309L));
    wide.Add(
        std::make_unique<TExprCallBinary64VmOp>(&Sum64, bigger->OutputLocation(), bigger->OutputLocation()));
    EXPECT_THROW(wide.Execute(), EOverflow);

    TExprVirtMach infinite;
    infinite.Add(std::make_unique<TExprCallFloat64VmOp>(&Huge64));
    EXPECT_THROW(infinite.Execute(), EOverflow);
}

} // namespace
} // namespace qrv::test
