// Hyperbolic and inverse hyperbolic routines: which error each bad argument
// raises, and the exact values the routines promise.
#include "MathTestSupport.h"
#include "QrvMath.h"
#include "RowNames.h"

#include <cmath>

namespace qrv::test
{
namespace
{

constexpr Float kLn3 = 1.09861228866810969140L;
constexpr Float kLn1PlusSqrt2 = 0.881373587019543025233L;

class HyperErrors : public ::testing::TestWithParam<ErrorCase>
{
};
TEST_P(HyperErrors, RaisesTheNamedError)
{
    CheckErrorCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Hyper, HyperErrors,
                         ::testing::Values(
                             // floor split: E overflows above ~11356.52; below, 1/E overflows, and
                             // further below E underflows to 0 and 1/E divides by zero
                             ErrorCase{"CosH_11357", [] { return CosH(11357); }, Fault::Overflow},
                             ErrorCase{"SinH_11357", [] { return SinH(11357); }, Fault::Overflow},
                             ErrorCase{"CosH_11356", [] { return CosH(11356); }, Fault::None},
                             ErrorCase{"CosH_minus11380", [] { return CosH(-11380); }, Fault::Overflow},
                             ErrorCase{"SinH_minus11380", [] { return SinH(-11380); }, Fault::Overflow},
                             ErrorCase{"CosH_minus12000", [] { return CosH(-12000); }, Fault::ZeroDivide},
                             ErrorCase{"SinH_hugeArgument", [] { return SinH(1e4000L); }, Fault::Overflow},
                             // TanH never raises, the bound itself included
                             ErrorCase{"TanH_limit", [] { return TanH(TanHLimit); }, Fault::None},
                             ErrorCase{"TanH_minusLimit", [] { return TanH(-TanHLimit); }, Fault::None},
                             ErrorCase{"TanH_huge", [] { return TanH(1e4000L); }, Fault::None},
                             // e^x rounds to 1 for tiny x: TanH is 0 and both exponentials equal 1
                             ErrorCase{"CotH_0", [] { return CotH(0); }, Fault::ZeroDivide},
                             ErrorCase{"CotH_1em21", [] { return CotH(1e-21L); }, Fault::ZeroDivide},
                             ErrorCase{"CscH_1em21", [] { return CscH(1e-21L); }, Fault::Domain},
                             ErrorCase{"CscH_0", [] { return CscH(0); }, Fault::Domain},
                             // both exponentials are computed, so the large one overflows
                             ErrorCase{"SecH_20000", [] { return SecH(20000); }, Fault::Overflow},
                             ErrorCase{"SecH_minus20000", [] { return SecH(-20000); }, Fault::Overflow},
                             ErrorCase{"CscH_minus20000", [] { return CscH(-20000); }, Fault::Overflow},
                             ErrorCase{"SecH_11356", [] { return SecH(11356); }, Fault::None},
                             // inverse functions
                             ErrorCase{"ArcSinH_squareOverflows", [] { return ArcSinH(-1e2467L); },
                                       Fault::Overflow},
                             ErrorCase{"ArcSinH_minus1e10", [] { return ArcSinH(-1e10L); }, Fault::None},
                             ErrorCase{"ArcCosH_0p999", [] { return ArcCosH(0.999L); }, Fault::Domain},
                             ErrorCase{"ArcCosH_minus5", [] { return ArcCosH(-5); }, Fault::Domain},
                             ErrorCase{"ArcTanH_1", [] { return ArcTanH(1); }, Fault::Domain},
                             ErrorCase{"ArcTanH_minus1", [] { return ArcTanH(-1); }, Fault::Domain},
                             ErrorCase{"ArcCotH_1", [] { return ArcCotH(1); }, Fault::Domain},
                             ErrorCase{"ArcCotH_minus1", [] { return ArcCotH(-1); }, Fault::Domain},
                             ErrorCase{"ArcCotH_half", [] { return ArcCotH(0.5L); }, Fault::Invalid},
                             ErrorCase{"ArcCotH_0", [] { return ArcCotH(0); }, Fault::Invalid},
                             ErrorCase{"ArcSecH_0", [] { return ArcSecH(0); }, Fault::ZeroDivide},
                             ErrorCase{"ArcSecH_minusHalf", [] { return ArcSecH(-0.5L); }, Fault::Invalid},
                             ErrorCase{"ArcSecH_minus1", [] { return ArcSecH(-1); }, Fault::Invalid},
                             ErrorCase{"ArcSecH_1p5", [] { return ArcSecH(1.5L); }, Fault::Domain},
                             ErrorCase{"ArcSecH_minus1p5", [] { return ArcSecH(-1.5L); }, Fault::Domain},
                             ErrorCase{"ArcCscH_0", [] { return ArcCscH(0); }, Fault::Domain},
                             ErrorCase{"ArcCscH_minus1em10", [] { return ArcCscH(-1e-10L); }, Fault::None}),
                         RowName{});

class HyperValues : public ::testing::TestWithParam<ValueCase>
{
};
TEST_P(HyperValues, ReturnsTheNamedValue)
{
    CheckValueCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Hyper, HyperValues,
    ::testing::Values(
        ValueCase{"SinH_0", [] { return SinH(0); }, 0},
        ValueCase{"SinH_1em21", [] { return SinH(1e-21L); }, 0},
        ValueCase{"CosH_0", [] { return CosH(0); }, 1},
        ValueCase{"SinH_1", [] { return SinH(1); }, 1.17520119364380145688L, 3},
        ValueCase{"CosH_minus1", [] { return CosH(-1); }, 1.54308063481524377848L, 3},
        // beyond the limit no exponential is computed; within it the formula
        // gives 1 or -1 all the same
        ValueCase{"TanH_6000", [] { return TanH(6000); }, 1},
        ValueCase{"TanH_minus6000", [] { return TanH(-6000); }, -1},
        ValueCase{"TanH_5000", [] { return TanH(5000); }, 1},
        ValueCase{"TanH_minus5000", [] { return TanH(-5000); }, -1},
        ValueCase{"TanH_limit", [] { return TanH(TanHLimit); }, 1},
        ValueCase{"TanH_0", [] { return TanH(0); }, 0},
        ValueCase{"TanH_half", [] { return TanH(0.5L); }, 0.462117157260009758502L, 4},
        ValueCase{"CotH_1", [] { return CotH(1); }, 1.31303528549933130364L, 4},
        ValueCase{"SecH_0", [] { return SecH(0); }, 1},
        ValueCase{"CscH_1", [] { return CscH(1); }, 0.850918128239321545133L, 4},
        ValueCase{"SecH_20", [] { return SecH(20); }, 4.12230724487711563842e-9L, 40},
        // inverse functions
        ValueCase{"ArcCosH_1", [] { return ArcCosH(1); }, 0},
        ValueCase{"ArcTanH_half_isLnSqrt3", [] { return ArcTanH(0.5L); }, kLn3 / 2, 2},
        ValueCase{"ArcTanH_0", [] { return ArcTanH(0); }, 0},
        ValueCase{"ArcCotH_2_isHalfLn3", [] { return ArcCotH(2); }, kLn3 / 2, 2},
        ValueCase{"ArcCotH_minus2", [] { return ArcCotH(-2); }, -kLn3 / 2, 2},
        ValueCase{"ArcSecH_1", [] { return ArcSecH(1); }, 0},
        ValueCase{"ArcCscH_1", [] { return ArcCscH(1); }, kLn1PlusSqrt2, 2},
        ValueCase{"ArcCscH_minus1", [] { return ArcCscH(-1); }, -kLn1PlusSqrt2, 2},
        ValueCase{"ArcSinH_0", [] { return ArcSinH(0); }, 0},
        ValueCase{"ArcSinH_1", [] { return ArcSinH(1); }, kLn1PlusSqrt2, 2},
        // negative arguments keep their digits (no cancellation in the sum)
        ValueCase{"ArcSinH_minus1e9", [] { return ArcSinH(-1e9L); }, -21.4164130175063564658L, 2},
        ValueCase{"ArcSinH_minus1e10", [] { return ArcSinH(-1e10L); }, -23.7189981105004021496L, 2},
        ValueCase{"ArcCscH_minus1em10", [] { return ArcCscH(-1e-10L); }, -23.7189981105004021496L, 2},
        ValueCase{"ArcCscH_minus1em8", [] { return ArcCscH(-1e-8L); }, -19.1138279245123108066L, 2}),
    RowName{});

// The inverse functions with cancellation-prone negative branches are odd.
TEST(HyperSymmetry, ArcSinHAndArcCscHAreOdd)
{
    for (Float x : {1e-30L, 0.3L, 1.0L, 7.5L, 1e5L, 3e9L, 1e100L, 1e2000L}) {
        EXPECT_EQ(ArcSinH(-x), -ArcSinH(x)) << "x = " << x;
        EXPECT_EQ(ArcCscH(-x), -ArcCscH(x)) << "x = " << x;
    }
}

} // namespace
} // namespace qrv::test
