// The integer conversion of the number formats against the printf-based one
// it replaced: the same text for every value.
#include "QrvNumberText.h"
#include "QrvNumberTextSamples.h"
#include "QrvPrintfNumberText.h"
#include "RowNames.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace qrv;
namespace ref = qrv::printf_reference;

namespace
{

// The sanitizer build runs about ten times slower: a fifth of the samples
// keeps the test to seconds there too.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSampleShare = 5;
#else
constexpr int kSampleShare = 1;
#endif

struct EdgeCase {
    const char* name;
    double value;
};

void PrintTo(const EdgeCase& c, std::ostream* os)
{
    *os << c.name;
}

const EdgeCase kEdgeCases[] = {
    {"smallest_subnormal", 4.9406564584124654e-324},
    {"largest_subnormal", 2.2250738585072009e-308},
    {"smallest_normal", DBL_MIN},
    {"largest", DBL_MAX},
    {"negative_largest", -DBL_MAX},
    {"below_1e18", 999999999999999872.0},
    {"exactly_1e18", 1e18},
    {"above_1e18", 1000000000000000128.0},
    {"two_pow_53", 9007199254740992.0},
    {"two_pow_64", 18446744073709551616.0},
    {"two_pow_127", 0x1p127},
    {"two_pow_128", 0x1p128},
    {"half_thousandth", 0.0005},
    {"below_half_thousandth", 0.00049999999999999995},
    {"above_half_thousandth", 0.00050000000000000012},
    {"tenth", 0.1},
    {"tie_at_18_digits_even", 100000000000000.0625},
    {"tie_at_18_digits_odd", 100000000000000.1875},
    {"tie_at_18_digits_small", 1.0000000000000000555e-3},
    {"fifteen_digit_carry", 999999999999999.5},
    {"fifteen_nines_below_hundred_thousandth", 9.999999999999995e-6},
    {"exponent_minus_5", 0.00001},
    {"exponent_minus_6", 0.000001},
    {"exponent_14", 99999999999999.98},
    {"exponent_15", 999999999999999.9},
    {"carry_to_new_digit", 999.9995},
    {"negative_carry", -9.9995},
    {"decimal_exponent_estimate_10", 1023.9999999999999},
    {"decimal_exponent_estimate_1e23", 9.999999999999999e22},
    {"one_minus_ulp", 0.99999999999999989},
    {"minus_tiny", -1e-300},
    {"large_negative_fixed", -123456789012345678.0},
};

class NumberTextEdgeTest : public ::testing::TestWithParam<EdgeCase>
{
};

TEST_P(NumberTextEdgeTest, SameTextAsPrintf)
{
    for (double v : {GetParam().value, -GetParam().value}) {
        EXPECT_EQ(FormatFixed3(v, '.'), ref::FormatFixed3(v, '.')) << v;
        EXPECT_EQ(FormatFixed3(v, ','), ref::FormatFixed3(v, ',')) << v;
        EXPECT_EQ(FormatAxisValue(v, '.', ','), ref::FormatAxisValue(v, '.', ',')) << v;
        EXPECT_EQ(FormatAxisValue(v, ',', ' '), ref::FormatAxisValue(v, ',', ' ')) << v;
        EXPECT_EQ(FormatGeneral15(v, '.'), ref::FormatGeneral15(v, '.')) << v;
        char text[40];
        EXPECT_EQ(std::string(text, WriteFixed3(text, v, '.')), ref::FormatFixed3(v, '.')) << v;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, NumberTextEdgeTest, ::testing::ValuesIn(kEdgeCases), test::RowName{});

// Every table value from -500 to 500 that lies within a unit in the last
// place of a half thousandth: there the 18-digit form decides. (Both fixed
// patterns share this rounding; the axis pattern's own text is compared on
// the random samples.)
TEST(NumberTextDifferentialTest, HalvesOfTheThirdDecimal)
{
    int differences = 0;
    for (int k = -500000 / kSampleShare; k <= 500000 / kSampleShare && differences < 10; ++k) {
        const double half = (k + 0.5) / 1000;
        for (double v : {std::nextafter(half, -1e300), half, std::nextafter(half, 1e300)}) {
            if (FormatFixed3(v, '.') != ref::FormatFixed3(v, '.')) {
                ++differences;
                ADD_FAILURE() << "value " << v << ": " << FormatFixed3(v, '.') << " instead of "
                              << ref::FormatFixed3(v, '.');
            }
        }
    }
}

TEST(NumberTextDifferentialTest, RandomSamples)
{
    std::mt19937_64 random(20261208);
    int differences = 0;
    for (int i = 0; i < 500000 / kSampleShare && differences < 10; ++i) {
        const std::uint64_t r = random(), s = random();
        const double v = number_samples::Sample(r, s);
        const std::string fixed = FormatFixed3(v, '.'), general = FormatGeneral15(v, '.');
        const std::string axis = FormatAxisValue(v, '.', ',');
        if (fixed != ref::FormatFixed3(v, '.') || general != ref::FormatGeneral15(v, '.') ||
            axis != ref::FormatAxisValue(v, '.', ',')) {
            ++differences;
            ADD_FAILURE() << "value " << v << " (sample kind " << s % 6 << "): " << fixed << " / " << axis
                          << " / " << general;
        }
    }
}

} // namespace
