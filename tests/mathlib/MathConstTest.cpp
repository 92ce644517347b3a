// The library's constants: every encoding bit for bit, and each one's
// distance from the mathematical value it stands for.
#include "MathTestSupport.h"
#include "QrvMath.h"

#include <quadmath.h>

namespace qrv::test
{
namespace
{

struct ConstRow {
    const char* Name;
    Float Value;
    std::uint16_t SignExponent;
    std::uint64_t Significand;
    const char* Exact; // the mathematical value, 34 digits
    double MaxUlps;    // how far the stored value may lie from it
};

class MathConstants : public ::testing::TestWithParam<ConstRow>
{
};

TEST_P(MathConstants, HasItsEncodingBitForBit)
{
    const ConstRow& row = GetParam();
    FloatPattern expected{row.SignExponent, row.Significand};
    FloatPattern actual = PatternOf(row.Value);
    EXPECT_EQ(actual.SignExponent, expected.SignExponent);
    EXPECT_EQ(actual.Significand, expected.Significand) << std::hex << actual.Significand;
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
        ConstRow{"TwoToPower63", TwoToPower63, 0x403E, 0x8000000000000000, "9223372036854775808", 0},
        ConstRow{"TanHLimit", TanHLimit, 0x400B, 0xB17217F7D1CF79AB, "5678.261703147071974745965538985382",
                 1},
        ConstRow{"RadiansPerDegree", RadiansPerDegree, 0x3FF9, 0x8EFA351294E9C8AF,
                 "0.01745329251994329576923690768488613", 1.7},
        ConstRow{"DegreesPerRadian", DegreesPerRadian, 0x4004, 0xE52EE0D31E0FBDC2,
                 "57.29577951308232087679815481410517", 1.7},
        ConstRow{"RadiansPerGrad", RadiansPerGrad, 0x3FF9, 0x80ADFC90B938CE37,
                 "0.01570796326794896619231321691639751", 1.7},
        ConstRow{"GradsPerRadian", GradsPerRadian, 0x4004, 0xFEA5DD5C5A4A6110,
                 "63.66197723675813430755350534900574", 1.7},
        // the exponential and logarithms use the nearest Floats
        ConstRow{"Log2OfE", Log2OfE, 0x3FFF, 0xB8AA3B295C17F0BC, "1.442695040888963407359924681001892", 0.5},
        ConstRow{"LnOf2", LnOf2, 0x3FFE, 0xB17217F7D1CF79AC, "0.6931471805599453094172321214581766", 0.5},
        ConstRow{"Log10Of2", Log10Of2, 0x3FFD, 0x9A209A84FBCFF799, "0.3010299956639811952137388947244930",
                 0.5}),
    RowName<ConstRow>);

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
