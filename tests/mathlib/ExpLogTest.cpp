// Exponential, logarithmic and algebraic routines: which error each bad
// argument raises, Power's branches, and the exact values promised.
#include "MathTestSupport.h"
#include "QrvMath.h"
#include "RowNames.h"

#include <cmath>

namespace qrv::test
{
namespace
{

constexpr Float kE = 2.71828182845904523536L;

class ExpLogErrors : public ::testing::TestWithParam<ErrorCase>
{
};
TEST_P(ExpLogErrors, RaisesTheNamedError)
{
    CheckErrorCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    ExpLog, ExpLogErrors,
    ::testing::Values(
        ErrorCase{"Exp_20000", [] { return Exp(20000); }, Fault::Overflow},
        ErrorCase{"Exp_11357", [] { return Exp(11357); }, Fault::Overflow},
        ErrorCase{"Exp_11356", [] { return Exp(11356); }, Fault::None},
        ErrorCase{"Exp_hugeArgument", [] { return Exp(1e4000L); }, Fault::Overflow},
        // logarithms: the plain one leaves bad arguments to the hardware step
        ErrorCase{"Ln_0", [] { return Ln(0); }, Fault::ZeroDivide},
        ErrorCase{"Ln_minus0", [] { return Ln(-0.0L); }, Fault::ZeroDivide},
        ErrorCase{"Ln_minus1", [] { return Ln(-1); }, Fault::Invalid},
        ErrorCase{"LogBase10_0", [] { return LogBase10(0); }, Fault::Domain},
        ErrorCase{"LogBase10_minus1", [] { return LogBase10(-1); }, Fault::Domain},
        ErrorCase{"LogBase2_minus1", [] { return LogBase2(-1); }, Fault::Domain},
        ErrorCase{"LogBase2_0", [] { return LogBase2(0); }, Fault::Domain},
        ErrorCase{"LogBaseN_base1", [] { return LogBaseN(1, 5); }, Fault::Domain},
        ErrorCase{"LogBaseN_base0", [] { return LogBaseN(0, 5); }, Fault::Domain},
        ErrorCase{"LogBaseN_baseNegative", [] { return LogBaseN(-2, 5); }, Fault::Domain},
        ErrorCase{"LogBaseN_number0", [] { return LogBaseN(2, 0); }, Fault::Domain},
        ErrorCase{"LogBaseN_numberNegative", [] { return LogBaseN(2, -1); }, Fault::Domain},
        // Power: its own two messages, then the errors of Exp and Ln
        ErrorCase{"Power_0_minus1", [] { return Power(0, -1); }, Fault::PowerInfinite},
        ErrorCase{"Power_0_minusHalf", [] { return Power(0, -0.5L); }, Fault::PowerInfinite},
        ErrorCase{"Power_minus8_third", [] { return Power(-8, 1.0L / 3); }, Fault::PowerComplex},
        ErrorCase{"Power_minus2_half", [] { return Power(-2, 0.5L); }, Fault::PowerComplex},
        ErrorCase{"Power_10_5000", [] { return Power(10, 5000); }, Fault::Overflow},
        ErrorCase{"Power_minus10_5001", [] { return Power(-10, 5001); }, Fault::Overflow},
        ErrorCase{"Power_half_minus20000", [] { return Power(0.5L, -20000); }, Fault::Overflow},
        ErrorCase{"Power_productOverflows", [] { return Power(1e4000L, 1e4000L); }, Fault::Overflow},
        ErrorCase{"Power_minus3_1e19", [] { return Power(-3, 1e19L); }, Fault::Overflow},
        // algebraic
        ErrorCase{"Sqrt_minus1", [] { return Sqrt(-1); }, Fault::Invalid},
        ErrorCase{"Sqrt_minusSubnormal", [] { return Sqrt(-1e-4940L); }, Fault::Invalid},
        ErrorCase{"Square_1p1e2466", [] { return Square(1.1e2466L); }, Fault::Overflow},
        ErrorCase{"Square_minus1e2467", [] { return Square(-1e2467L); }, Fault::Overflow},
        ErrorCase{"Square_1e2466", [] { return Square(1e2466L); }, Fault::None}),
    RowName{});

class ExpLogValues : public ::testing::TestWithParam<ValueCase>
{
};
TEST_P(ExpLogValues, ReturnsTheNamedValue)
{
    CheckValueCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    ExpLog, ExpLogValues,
    ::testing::Values(
        ValueCase{"Exp_0", [] { return Exp(0); }, 1}, ValueCase{"Exp_1", [] { return Exp(1); }, kE, 2},
        ValueCase{"Exp_minus1", [] { return Exp(-1); }, 1 / kE, 2},
        ValueCase{"Exp_minus20000", [] { return Exp(-20000); }, 0},
        ValueCase{"Exp_minusHugeArgument", [] { return Exp(-1e4000L); }, 0},
        // far below, the result is subnormal, silently
        ValueCase{"Exp_minus11390", [] { return Exp(-11390) > 0 ? Float(1) : Float(0); }, 1},
        ValueCase{"Ln_1", [] { return Ln(1); }, 0}, ValueCase{"Ln_e", [] { return Ln(kE); }, 1, 2},
        ValueCase{"Ln_2_isLnOf2", [] { return Ln(2); }, LnOf2},
        ValueCase{"LogBase2_1024", [] { return LogBase2(1024); }, 10},
        ValueCase{"LogBase2_subnormal", [] { return LogBase2(0x1p-16400L); }, -16400},
        ValueCase{"LogBase10_100", [] { return LogBase10(100); }, 2, 2},
        ValueCase{"LogBase10_1", [] { return LogBase10(1); }, 0},
        ValueCase{"LogBaseN_2_1024", [] { return LogBaseN(2, 1024); }, 10},
        ValueCase{"LogBaseN_4_6p25", [] { return LogBaseN(4, 6.25L); }, LogBase2(6.25L) / 2},
        ValueCase{"LogBaseN_10_1000", [] { return LogBaseN(10, 1000); }, 3, 3},
        // Power, branch by branch
        ValueCase{"Power_0_0", [] { return Power(0, 0); }, 1},
        ValueCase{"Power_minus5_0", [] { return Power(-5, 0); }, 1},
        ValueCase{"Power_1_huge", [] { return Power(1, 1e4000L); }, 1},
        ValueCase{"Power_1_minus7p3", [] { return Power(1, -7.3L); }, 1},
        ValueCase{"Power_0_3", [] { return Power(0, 3); }, 0},
        ValueCase{"Power_0_tiny", [] { return Power(0, 1e-4000L); }, 0},
        ValueCase{"Power_2_10", [] { return Power(2, 10); }, 1024, 8},
        ValueCase{"Power_2_half", [] { return Power(2, 0.5L); }, 1.41421356237309504880L, 2},
        ValueCase{"Power_2_minus20000", [] { return Power(2, -20000); }, 0},
        ValueCase{"Power_minus2_3", [] { return Power(-2, 3); }, -8, 4},
        ValueCase{"Power_minus2_minus3", [] { return Power(-2, -3); }, -0.125L, 4},
        ValueCase{"Power_minus2_2", [] { return Power(-2, 2); }, 4, 4},
        ValueCase{"Power_minus1_1e30", [] { return Power(-1, 1e30L); }, 1},
        ValueCase{"Power_minus1_minus7", [] { return Power(-1, -7); }, -1},
        ValueCase{"Power_minus1_oddBelow2To64", [] { return Power(-1, 18446744073709551615.0L); }, -1},
        // algebraic
        ValueCase{"Sqrt_minus0", [] { return Sqrt(-0.0L); }, -0.0L},
        ValueCase{"Sqrt_4", [] { return Sqrt(4); }, 2},
        ValueCase{"Square_minus3", [] { return Square(-3); }, 9},
        ValueCase{"Square_tiny_underflowsSilently", [] { return Square(1e-3000L); }, 0},
        ValueCase{"Abs_minus2p5", [] { return Abs(-2.5L); }, 2.5L},
        ValueCase{"Abs_minus0", [] { return Abs(-0.0L); }, 0}),
    RowName{});

// Power(2, 10) goes through the logarithm and the exponential, yet rounds to
// the exact double; so do the other small integral powers a plot shows.
TEST(PowerRounding, SmallIntegralPowersRoundToExactDoubles)
{
    for (int base = 2; base <= 10; ++base)
        for (int exponent = -6; exponent <= 12; ++exponent) {
            double expected = std::pow(double(base), double(exponent));
            EXPECT_EQ(RoundToDouble(Power(base, exponent)), expected) << base << "^" << exponent;
            double sign = exponent % 2 != 0 ? -1 : 1;
            EXPECT_EQ(RoundToDouble(Power(-base, exponent)), sign * expected) << -base << "^" << exponent;
        }
}

} // namespace
} // namespace qrv::test
