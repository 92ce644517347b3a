// Trigonometric and inverse trigonometric routines, the angle conversions and
// the auxiliary routines: which error each bad argument raises, and the exact
// values the routines promise.
#include "MathTestSupport.h"
#include "QrvMath.h"
#include "RowNames.h"

#include <cmath>
#include <vector>

namespace qrv::test
{
namespace
{

[[maybe_unused]] auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new FloatEnvironment);

constexpr Float kAbove2To63 = 9223372036854777856.0L; // the next Float above 2^63
constexpr Float kSubnormal = 1e-4940L;
// atan2 results: the Floats nearest to pi, pi/2 and pi/4.
constexpr Float kPi = FloatFromPattern(0x4000, 0xC90FDAA22168C235);
constexpr Float kPiOver2 = FloatFromPattern(0x3FFF, 0xC90FDAA22168C235);
constexpr Float kPiOver4 = FloatFromPattern(0x3FFE, 0xC90FDAA22168C235);

class TrigErrors : public ::testing::TestWithParam<ErrorCase>
{
};
TEST_P(TrigErrors, RaisesTheNamedError)
{
    CheckErrorCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Trig, TrigErrors,
    ::testing::Values(
        // the checked routines reject magnitudes above 2^63, the bound passes
        ErrorCase{"CheckedSin_1e19", [] { return CheckedSin(1e19L); }, Fault::Domain},
        ErrorCase{"CheckedCos_minus1e19", [] { return CheckedCos(-1e19L); }, Fault::Domain},
        ErrorCase{"CheckedSin_justAbove2To63", [] { return CheckedSin(kAbove2To63); }, Fault::Domain},
        ErrorCase{"CheckedSin_2To63", [] { return CheckedSin(TwoToPower63); }, Fault::None},
        ErrorCase{"CheckedCos_minus2To63", [] { return CheckedCos(-TwoToPower63); }, Fault::None},
        ErrorCase{"Tan_1e19", [] { return Tan(1e19L); }, Fault::Domain},
        ErrorCase{"Tan_2To63", [] { return Tan(TwoToPower63); }, Fault::None},
        ErrorCase{"Cot_1e19", [] { return Cot(1e19L); }, Fault::Domain},
        ErrorCase{"Sec_1e19", [] { return Sec(1e19L); }, Fault::Domain},
        ErrorCase{"Csc_1e19", [] { return Csc(1e19L); }, Fault::Domain},
        ErrorCase{"Versine_1e19", [] { return Versine(1e19L); }, Fault::Domain},
        ErrorCase{"Coversine_1e19", [] { return Coversine(1e19L); }, Fault::Domain},
        ErrorCase{"Haversine_1e19", [] { return Haversine(1e19L); }, Fault::Domain},
        ErrorCase{"Exsecans_1e19", [] { return Exsecans(1e19L); }, Fault::Domain},
        ErrorCase{"Sin_1e4000", [] { return Sin(1e4000L); }, Fault::None},
        // zero and near-zero denominators
        ErrorCase{"Cot_0", [] { return Cot(0); }, Fault::ZeroDivide},
        ErrorCase{"Cot_minus0", [] { return Cot(-0.0L); }, Fault::ZeroDivide},
        ErrorCase{"Cot_subnormal", [] { return Cot(kSubnormal); }, Fault::Overflow},
        ErrorCase{"Csc_0", [] { return Csc(0); }, Fault::Domain},
        ErrorCase{"Csc_subnormal", [] { return Csc(kSubnormal); }, Fault::Overflow},
        ErrorCase{"Sec_nearPiOver2", [] { return Sec(kPiOver2); }, Fault::None},
        // inverse functions
        ErrorCase{"ArcSin_justAbove1", [] { return ArcSin(1.0000000001L); }, Fault::Domain},
        ErrorCase{"ArcSin_justBelowMinus1", [] { return ArcSin(-1.0000000001L); }, Fault::Domain},
        ErrorCase{"ArcCos_2", [] { return ArcCos(2); }, Fault::Domain},
        ErrorCase{"ArcCos_minus1", [] { return ArcCos(-1); }, Fault::None},
        ErrorCase{"ArcTan_huge", [] { return ArcTan(1e4000L); }, Fault::None},
        ErrorCase{"ArcCot_0", [] { return ArcCot(0); }, Fault::Domain},
        ErrorCase{"ArcCot_subnormal", [] { return ArcCot(kSubnormal); }, Fault::Overflow},
        ErrorCase{"ArcSec_half", [] { return ArcSec(0.5L); }, Fault::Invalid},
        ErrorCase{"ArcSec_minusHalf", [] { return ArcSec(-0.5L); }, Fault::Invalid},
        ErrorCase{"ArcSec_0", [] { return ArcSec(0); }, Fault::Invalid},
        ErrorCase{"ArcSec_squareOverflows", [] { return ArcSec(1e2467L); }, Fault::Overflow},
        ErrorCase{"ArcCsc_1", [] { return ArcCsc(1); }, Fault::ZeroDivide},
        ErrorCase{"ArcCsc_minus1", [] { return ArcCsc(-1); }, Fault::ZeroDivide},
        ErrorCase{"ArcCsc_half", [] { return ArcCsc(0.5L); }, Fault::Invalid},
        ErrorCase{"ArcCsc_0", [] { return ArcCsc(0); }, Fault::Invalid},
        // floored remainder by zero
        ErrorCase{"FloatMod_byZero", [] { return FloatMod(1, 0); }, Fault::ZeroDivide},
        ErrorCase{"FloatMod_zeroByZero", [] { return FloatMod(0, 0); }, Fault::Invalid}),
    RowName{});

class TrigValues : public ::testing::TestWithParam<ValueCase>
{
};
TEST_P(TrigValues, ReturnsTheNamedValue)
{
    CheckValueCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Trig, TrigValues,
    ::testing::Values(
        // the unchecked pair gives 0 from 2^63 on
        ValueCase{"Sin_1e19", [] { return Sin(1e19L); }, 0},
        ValueCase{"Cos_1e19", [] { return Cos(1e19L); }, 0},
        ValueCase{"Sin_minus2To63", [] { return Sin(-TwoToPower63); }, 0},
        ValueCase{"Cos_2To63", [] { return Cos(TwoToPower63); }, 0},
        // at 2^63 the checked routines compute the real value
        ValueCase{"CheckedSin_2To63", [] { return CheckedSin(TwoToPower63); }, 0.999930376673442229618L, 2},
        ValueCase{"Tan_2To63", [] { return Tan(TwoToPower63); }, 84.7393129687556658758L, 4},
        ValueCase{"Sin_0", [] { return Sin(0); }, 0},
        ValueCase{"Sin_minus0", [] { return Sin(-0.0L); }, -0.0L},
        ValueCase{"Cos_0", [] { return Cos(0); }, 1}, ValueCase{"Versine_0", [] { return Versine(0); }, 0},
        ValueCase{"Coversine_0", [] { return Coversine(0); }, 1},
        ValueCase{"Haversine_pi", [] { return Haversine(kPi); }, 1},
        ValueCase{"Exsecans_0", [] { return Exsecans(0); }, 0}, ValueCase{"Sec_0", [] { return Sec(0); }, 1},
        ValueCase{"Csc_piOver2", [] { return Csc(kPiOver2); }, 1},
        ValueCase{"Cot_piOver4", [] { return Cot(kPiOver4); }, 1, 2},
        // atan2 gives the exact Floats of pi/2, pi and pi/4
        ValueCase{"ArcSin_1", [] { return ArcSin(1); }, kPiOver2},
        ValueCase{"ArcSin_minus1", [] { return ArcSin(-1); }, -kPiOver2},
        ValueCase{"ArcSin_0", [] { return ArcSin(0); }, 0},
        ValueCase{"ArcCos_minus1", [] { return ArcCos(-1); }, kPi},
        ValueCase{"ArcCos_1", [] { return ArcCos(1); }, 0},
        ValueCase{"ArcCos_0", [] { return ArcCos(0); }, kPiOver2},
        ValueCase{"ArcTan_1", [] { return ArcTan(1); }, kPiOver4},
        ValueCase{"ArcTan_minusHuge", [] { return ArcTan(-1e4000L); }, -kPiOver2},
        ValueCase{"ArcCot_minus1", [] { return ArcCot(-1); }, -kPiOver4},
        ValueCase{"ArcCot_1", [] { return ArcCot(1); }, kPiOver4},
        // ArcSec and ArcCsc are the same for x and -x
        ValueCase{"ArcSec_1", [] { return ArcSec(1); }, 0},
        ValueCase{"ArcSec_2", [] { return ArcSec(2); }, 1.04719755119659774615L, 1},
        ValueCase{"ArcSec_minus2", [] { return ArcSec(-2); }, 1.04719755119659774615L, 1},
        ValueCase{"ArcCsc_2", [] { return ArcCsc(2); }, 0.523598775598298873077L, 2},
        ValueCase{"ArcCsc_minus2", [] { return ArcCsc(-2); }, 0.523598775598298873077L, 2},
        // angle conversions use the stored factors, one multiplication
        ValueCase{"DegreesToRadians_180", [] { return DegreesToRadians(180); }, 180 * RadiansPerDegree},
        ValueCase{"DegreesToRadians_180_isPi", [] { return DegreesToRadians(180); }, kPi, 2},
        ValueCase{"GradsToRadians_200", [] { return GradsToRadians(200); }, 200 * RadiansPerGrad},
        ValueCase{"GradsToRadians_100_isPiOver2", [] { return GradsToRadians(100); }, kPiOver2, 2},
        // the floored remainder: odd numbers give 1 by 2, negative ones too
        ValueCase{"FloatMod_minus3_2", [] { return FloatMod(-3, 2); }, 1},
        ValueCase{"FloatMod_minus1_2", [] { return FloatMod(-1, 2); }, 1},
        ValueCase{"FloatMod_minus5_2", [] { return FloatMod(-5, 2); }, 1},
        ValueCase{"FloatMod_minus4_2", [] { return FloatMod(-4, 2); }, 0},
        ValueCase{"FloatMod_3_2", [] { return FloatMod(3, 2); }, 1},
        ValueCase{"FloatMod_7p5_2", [] { return FloatMod(7.5L, 2); }, 1.5L},
        ValueCase{"FloatMod_minus7p5_2", [] { return FloatMod(-7.5L, 2); }, 0.5L},
        ValueCase{"FloatMod_5_minus3", [] { return FloatMod(5, -3); }, -1},
        ValueCase{"FloatMod_minus1e30_2", [] { return FloatMod(-1e30L, 2); }, 0},
        ValueCase{"FloatMod_oddBelow2To64_2", [] { return FloatMod(-18446744073709551615.0L, 2); }, 1}),
    RowName{});

TEST(SinCos, IsSinAndCosBitForBit)
{
    // Arguments of every size: tiny, about multiples of pi/2 (where the
    // reduction matters most), large, and about 2^63, where Sin and Cos
    // turn to 0; both signs.
    std::vector<Float> xs = {0, -0.0L, 1e-4000L, TwoToPower63, std::nextafter(TwoToPower63, Float(0)), 1e19L};
    for (int k = -64; k <= 64; ++k) {
        const Float m = k * kPiOver2;
        xs.insert(xs.end(), {m, std::nextafter(m, Float(10)), std::nextafter(m, Float(-10))});
    }
    for (Float x = 1e-3L; x < 1e18L; x *= 1.37L)
        xs.insert(xs.end(), {x, -x});
    int differ = 0;
    for (const Float x : xs) {
        Float s = -2, c = -2;
        SinCos(x, s, c);
        differ += s != Sin(x) || c != Cos(x) || std::signbit(s) != std::signbit(Sin(x));
    }
    EXPECT_EQ(differ, 0) << "of " << xs.size();
}

TEST(SignOf, GivesTheSign)
{
    struct Row {
        Float X;
        std::int32_t Sign;
    };
    for (Row row : {Row{3.5L, 1}, Row{-1e-4940L, -1}, Row{0, 0}, Row{-0.0L, 0}, Row{1e4000L, 1}})
        EXPECT_EQ(SignOf(row.X), row.Sign) << "x = " << row.X;
}

TEST(DomainCheck, RaisesOnlyWhenFailed)
{
    EXPECT_EQ(FaultOf([] { return DomainCheck(false), Float(0); }), Fault::None);
    EXPECT_EQ(FaultOf([] { return DomainCheck(true), Float(0); }), Fault::Domain);
}

// After an error the next call behaves as if nothing had happened.
TEST(TrigErrorsLeaveNoState, NextCallIsNormal)
{
    Float before = Cot(0.5L);
    EXPECT_EQ(FaultOf([] { return Cot(0); }), Fault::ZeroDivide);
    EXPECT_EQ(FaultOf([] { return ArcSin(2); }), Fault::Domain);
    EXPECT_EQ(Cot(0.5L), before);
    EXPECT_TRUE(FloatEnvironmentIsDefault());
}

} // namespace
} // namespace qrv::test
