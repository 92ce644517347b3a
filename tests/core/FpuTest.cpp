#include "QrvFpu.h"
#include "RowNames.h"

#include <cfloat>
#include <gtest/gtest.h>
#include <limits>

using namespace qrv;

namespace
{

TEST(CheckedTest, FiniteResultsPassUnchanged)
{
    InitFloatEnvironment();
    EXPECT_TRUE(FloatEnvironmentIsDefault());
    EXPECT_EQ(Checked(1.5L), 1.5L);
    EXPECT_EQ(Checked(LDBL_MIN / 4), LDBL_MIN / 4); // subnormal: underflow is silent
    EXPECT_EQ(CheckedDivide(1, 4), 0.25L);
}

TEST(CheckedTest, FaultsRaiseTheirErrors)
{
    volatile Float big = LDBL_MAX;
    EXPECT_THROW(Checked(big * 2), EOverflow);
    EXPECT_THROW(Checked(std::numeric_limits<Float>::quiet_NaN()), EInvalidOp);
    EXPECT_THROW(CheckedDivide(1, 0), EZeroDivide);
    EXPECT_THROW(CheckedDivide(-1, -0.0L), EZeroDivide);
    EXPECT_THROW(CheckedDivide(0, 0), EInvalidOp);
    EXPECT_THROW(CheckedDivide(big, 0.5L), EOverflow);
    EXPECT_EQ(CheckedDivide(LDBL_MIN, 1e10L) * 1e10L > 0, true);
}

TEST(RoundTest, ToDoubleOverflowsBeyondDoubleRange)
{
    EXPECT_EQ(RoundToDouble(0.1L), 0.1);
    EXPECT_THROW(RoundToDouble(1e400L), EOverflow);
    EXPECT_THROW(RoundToDouble(-1e400L), EOverflow);
    EXPECT_EQ(RoundToDouble(1e-400L), 0.0);
}

TEST(RoundTest, ToDoubleRoundsDownToTheLargestDoubleUpToHalfAUnit)
{
    const Float largest = DBL_MAX;
    EXPECT_EQ(RoundToDouble(largest + 0x1p969L), DBL_MAX);
    EXPECT_EQ(RoundToDouble(-(largest + 0x1p969L)), -DBL_MAX);
    EXPECT_THROW(RoundToDouble(largest + 0x1p970L), EOverflow);
    EXPECT_THROW(RoundToDouble(std::numeric_limits<Float>::quiet_NaN()), EInvalidOp);
}

struct IntCase {
    const char* name;
    long double value;
    bool ok;
    long long expected;
};

void PrintTo(const IntCase& c, std::ostream* os)
{
    *os << c.name;
}

const IntCase kIntCases[] = {
    {"tie_to_even_up", 2.5L, true, 2},
    {"tie_to_even_down", 3.5L, true, 4},
    {"negative_tie", -2.5L, true, -2},
    {"seven_and_half", 7.5L, true, 8},
    {"six_and_half", 6.5L, true, 6},
    {"largest", 9223372036854775807.0L, true, 9223372036854775807LL},
    {"smallest", -9223372036854775808.0L, true, std::numeric_limits<long long>::min()},
    {"two_to_63", 9223372036854775808.0L, false, 0},
    {"just_below_two_to_63_rounds_out", 9223372036854775807.5L, false, 0},
    {"below_smallest", -9223372036854775809.0L, false, 0},
    {"1e30", 1e30L, false, 0},
};

class RoundToInt64Test : public ::testing::TestWithParam<IntCase>
{
};

TEST_P(RoundToInt64Test, RangeCheckedNearest)
{
    const IntCase& c = GetParam();
    if (c.ok)
        EXPECT_EQ(RoundToInt64(c.value), c.expected);
    else
        EXPECT_THROW(RoundToInt64(c.value), EInvalidOp);
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundToInt64Test, ::testing::ValuesIn(kIntCases), test::RowName{});

} // namespace
