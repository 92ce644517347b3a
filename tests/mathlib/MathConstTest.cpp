// The library's constants: each one's value read from a decimal, and its
// distance from the mathematical value it stands for.
#include "MathTestSupport.h"
#include "QrvMath.h"
#include "RowNames.h"

#include <quadmath.h>

namespace qrv::test
{
namespace
{

struct ConstRow {
    const char* Name;
    Float Value;
    Float Decimal;     // a decimal of 21 digits or more whose nearest Float it is
    const char* Exact; // the mathematical value, 34 digits
    double MaxUlps;    // how far the stored value may lie from it
};

class MathConstants : public ::testing::TestWithParam<ConstRow>
{
};

// The compiler reads the decimal: a route to the value independent of the
// encoding the library builds the constant from.
TEST_P(MathConstants, IsTheFloatOfItsDecimal)
{
    const ConstRow& row = GetParam();
    EXPECT_EQ(row.Value, row.Decimal)
        << std::hex << PatternOf(row.Value).Significand << " against " << PatternOf(row.Decimal).Significand;
}

TEST_P(MathConstants, LiesWhereItShouldFromTheExactValue)
{
    const ConstRow& row = GetParam();
    __float128 exact = strtoflt128(row.Exact, nullptr);
    Float magnitude = std::fabs(row.Value);
    __float128 ulp = scalbnq(1, std::ilogb(magnitude) - 63);
    double ulps = static_cast<double>(fabsq(static_cast<__float128>(row.Value) - exact) / ulp);
    EXPECT_LE(ulps, row.MaxUlps);
}

INSTANTIATE_TEST_SUITE_P(
    Library, MathConstants,
    ::testing::Values(
        ConstRow{"TwoToPower63", TwoToPower63, 9223372036854775808.0L, "9223372036854775808", 0},
        ConstRow{"TanHLimit", TanHLimit, 5678.26170314707197440L, "5678.261703147071974745965538985382", 1},
        ConstRow{"RadiansPerDegree", RadiansPerDegree, 0.0174532925199432957708L,
                 "0.01745329251994329576923690768488613", 1.7},
        ConstRow{"DegreesPerRadian", DegreesPerRadian, 57.2957795130823208732L,
                 "57.29577951308232087679815481410517", 1.7},
        ConstRow{"RadiansPerGrad", RadiansPerGrad, 0.0157079632679489661936L,
                 "0.01570796326794896619231321691639751", 1.7},
        ConstRow{"GradsPerRadian", GradsPerRadian, 63.6619772367581343020L,
                 "63.66197723675813430755350534900574", 1.7},
        // the exponential and logarithms use the nearest Floats
        ConstRow{"Log2OfE", Log2OfE, 1.44269504088896340735992468100189214L,
                 "1.442695040888963407359924681001892", 0.5},
        ConstRow{"LnOf2", LnOf2, 0.693147180559945309417232121458176568L,
                 "0.6931471805599453094172321214581766", 0.5},
        ConstRow{"Log10Of2", Log10Of2, 0.301029995663981195213738894724493027L,
                 "0.3010299956639811952137388947244930", 0.5}),
    RowName{});

TEST(FloatFromPattern, RebuildsSignExponentAndSignificand)
{
    struct Row {
        std::uint16_t SignExponent;
        std::uint64_t Significand;
        Float Value;
    };
    for (Row row : {Row{0x3FFF, 0x8000000000000000, 1.0L}, Row{0xBFFF, 0xC000000000000000, -1.5L},
                    Row{0x0001, 0x8000000000000000, std::numeric_limits<Float>::min()},
                    Row{0x7FFE, 0xFFFFFFFFFFFFFFFF, std::numeric_limits<Float>::max()},
                    Row{0x3FFE, 0xFFFFFFFFFFFFFFFF, 1.0L - std::numeric_limits<Float>::epsilon() / 2}}) {
        Float value = FloatFromPattern(row.SignExponent, row.Significand);
        EXPECT_EQ(value, row.Value) << std::hex << row.SignExponent << " " << row.Significand;
        EXPECT_EQ(PatternOf(value), (FloatPattern{row.SignExponent, row.Significand}));
    }
}

} // namespace
} // namespace qrv::test
