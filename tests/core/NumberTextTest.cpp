#include "DecimalSeparatorScope.h"
#include "QrvErrors.h"
#include "QrvNumberText.h"
#include "RowNames.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace qrv;

namespace
{

struct FormatCase {
    const char* name;
    double value;
    const char* fixed3;    // "0.000", decimal point "."
    const char* axisValue; // "#,##0.###", separators "." and ","
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.name;
}

const FormatCase kFormatCases[] = {
    {"zero", 0.0, "0.000", "0"},
    {"negative_zero", -0.0, "0.000", "0"},
    {"start_up_x", 817, "817.000", "817"},
    {"start_up_y", 5.22, "5.220", "5.22"},
    {"rounds_down", 5.20912, "5.209", "5.209"},
    {"half_up", 0.0625, "0.063", "0.063"},
    {"negative_half_away", -2.0625, "-2.063", "-2.063"},
    {"tiny_negative_is_zero", -0.0004, "0.000", "0"},
    {"label_residue_is_zero", -1e-17, "0.000", "0"},
    {"half_of_last_decimal", 0.0005, "0.001", "0.001"},
    {"below_half", 0.00049, "0.000", "0"},
    {"carry_into_new_digit", 999.9996, "1000.000", "1,000"},
    {"running_sum_of_tenths", 0.9999999999999999, "1.000", "1"},
    {"thousands", 1234567.891, "1234567.891", "1,234,567.891"},
    {"negative_thousands", -1000, "-1000.000", "-1,000"},
    {"trailing_zeros_dropped", 2.5, "2.500", "2.5"},
    {"small_fraction", 0.1, "0.100", "0.1"},
    {"just_below_1e18", 999999999999999872.0, "999999999999999872.000", "999,999,999,999,999,872"},
    {"general_1e18", 1e18, "1E18", "1E18"},
    {"general_1e20", 1e20, "1E20", "1E20"},
    {"general_15_digits", 1.234567890123456789e20, "1.23456789012346E20", "1.23456789012346E20"},
    {"general_negative", -3.5e25, "-3.5E25", "-3.5E25"},
    {"max_double", 1.7976931348623157e308, "1.79769313486232E308", "1.79769313486232E308"},
    // 19 significant digits ending in 5: the 18-digit form takes the even
    // neighbour before the three decimals are rounded half away from zero.
    {"tie_at_18_digits_goes_even", 100000000000000.0625, "100000000000000.062", "100,000,000,000,000.062"},
    {"tie_at_18_digits_odd_goes_up", -100000000000000.1875, "-100000000000000.188",
     "-100,000,000,000,000.188"},
    {"subnormal_is_zero", -4.9406564584124654e-324, "0.000", "0"},
};

class FormatTest : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(FormatTest, Fixed3AndAxisPatterns)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatFixed3(c.value, '.'), c.fixed3);
    EXPECT_EQ(FormatAxisValue(c.value, '.', ','), c.axisValue);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatTest, ::testing::ValuesIn(kFormatCases), test::RowName{});

TEST(FormatTest, CommaSeparatorAndBlankGrouping)
{
    EXPECT_EQ(FormatFixed3(817, ','), "817,000");
    EXPECT_EQ(FormatFixed3(5.22, ','), "5,220");
    EXPECT_EQ(FormatAxisValue(-1234.5, ',', ' '), "-1 234,5");
    EXPECT_EQ(FormatAxisValue(1.5e20, ',', ' '), "1,5E20");
}

TEST(FormatTest, NonFiniteValuesHaveAText)
{
    const double inf = HUGE_VAL, nan = std::nan("");
    EXPECT_EQ(FormatFixed3(inf, '.'), "INF");
    EXPECT_EQ(FormatFixed3(-inf, '.'), "-INF");
    EXPECT_EQ(FormatFixed3(nan, '.'), "NAN");
    EXPECT_EQ(FormatAxisValue(-inf, '.', ','), "-INF");
    EXPECT_EQ(FormatAxisValue(nan, '.', ','), "NAN");
    EXPECT_EQ(FormatGeneral15(inf, '.'), "INF");
    EXPECT_EQ(FormatGeneral15(-nan, '.'), "NAN");
}

TEST(FormatTest, GeneralFormatSmallAndFixedRanges)
{
    EXPECT_EQ(FormatGeneral15(0.0, '.'), "0");
    EXPECT_EQ(FormatGeneral15(1.5, '.'), "1.5");
    EXPECT_EQ(FormatGeneral15(0.000123, '.'), "0.000123");
    EXPECT_EQ(FormatGeneral15(1e-7, '.'), "1E-7");
    EXPECT_EQ(FormatGeneral15(123456789012345.0, '.'), "123456789012345");
    EXPECT_EQ(FormatGeneral15(1e15, '.'), "1E15");
    EXPECT_EQ(FormatGeneral15(0.1 + 0.2, '.'), "0.3");
    EXPECT_EQ(FormatGeneral15(9.999999999999999e22, '.'), "1E23");
    EXPECT_EQ(FormatGeneral15(999999999999999.5, '.'), "1E15");
    EXPECT_EQ(FormatGeneral15(-4.9406564584124654e-324, ','), "-4,94065645841247E-324");
    EXPECT_EQ(FormatGeneral15(0.00001, '.'), "0.00001");
    EXPECT_EQ(FormatGeneral15(0.000001, '.'), "1E-6");
}

struct ParseCase {
    const char* name;
    const char* text;
    char separator;
    Blanks blanks;
    bool ok;
    long double value;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.name;
}

const ParseCase kParseCases[] = {
    {"integer", "817", '.', Blanks::Rejected, true, 817.0L},
    {"fraction", "5.44E-4", '.', Blanks::Rejected, true, 5.44E-4L},
    {"signs", "-2.5", '.', Blanks::Rejected, true, -2.5L},
    {"plus_sign", "+3", '.', Blanks::Rejected, true, 3.0L},
    {"exponent_plus", "3E+2", '.', Blanks::Rejected, true, 300.0L},
    {"exponent_without_digits", "3e", '.', Blanks::Rejected, true, 3.0L},
    {"exponent_sign_without_digits", "3e+", '.', Blanks::Rejected, true, 3.0L},
    {"trailing_separator", "2.", '.', Blanks::Rejected, true, 2.0L},
    {"leading_separator", ".5", '.', Blanks::Rejected, true, 0.5L},
    {"comma_locale", "2,55", ',', Blanks::Rejected, true, 2.55L},
    {"point_in_comma_locale", "2.55", ',', Blanks::Rejected, false, 0},
    {"comma_in_point_locale", "2,55", '.', Blanks::Rejected, false, 0},
    {"blanks_ignored", "  0,5\t", ',', Blanks::Ignored, true, 0.5L},
    {"blanks_rejected", " 1", '.', Blanks::Rejected, false, 0},
    {"inner_blank", "1 000", '.', Blanks::Ignored, false, 0},
    {"letters", "abc", '.', Blanks::Ignored, false, 0},
    {"empty", "", '.', Blanks::Ignored, false, 0},
    {"only_blanks", "   ", '.', Blanks::Ignored, false, 0},
    {"sign_only", "-", '.', Blanks::Rejected, false, 0},
    {"separator_only", ".", '.', Blanks::Rejected, false, 0},
    {"two_separators", "1.5.2", '.', Blanks::Rejected, false, 0},
    {"hex_is_not_decimal", "0x10", '.', Blanks::Rejected, false, 0},
    {"infinity_word", "inf", '.', Blanks::Rejected, false, 0},
    {"nan_word", "nan", '.', Blanks::Rejected, false, 0},
    {"beyond_float_range", "1e5000", '.', Blanks::Rejected, false, 0},
    {"beyond_double_within_float", "1E400", '.', Blanks::Rejected, true, 1E400L},
    {"underflow_to_zero", "1e-5000", '.', Blanks::Rejected, true, 0.0L},
    {"largest_float", "1.18973149535723176502e4932", '.', Blanks::Rejected, true,
     1.18973149535723176502e4932L},
};

class ParseTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseTest, TextToFloat)
{
    const ParseCase& c = GetParam();
    auto v = TextToFloat(c.text, c.blanks, c.separator);
    ASSERT_EQ(v.has_value(), c.ok);
    if (c.ok) {
        EXPECT_EQ(*v, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseTest, ::testing::ValuesIn(kParseCases), test::RowName{});

TEST(ParseTest, CorrectlyRoundedTo80Bits)
{
    // 0.1 is not representable; the nearest 80-bit value differs from the
    // nearest double widened, and the conversion must give the former.
    auto v = TextToFloat("0.1", Blanks::Rejected, '.');
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 0.1L);
    EXPECT_NE(*v, static_cast<long double>(0.1));
    // A halfway case at 64 bits: 2^64 + 2^0 lies exactly between two
    // 80-bit neighbours and rounds to even.
    auto h = TextToFloat("18446744073709551617", Blanks::Rejected, '.');
    ASSERT_TRUE(h);
    EXPECT_EQ(*h, 18446744073709551616.0L);
}

TEST(ParseTest, StrToFloatRaisesConversionErrorWithText)
{
    try {
        StrToFloat("abc", Blanks::Ignored);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
}

TEST(SeparatorTest, ProgramWideValueIsSettable)
{
    test::TDecimalSeparatorScope scope(',');
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(FormatFixed3(0.5), "0,500");
    EXPECT_EQ(StrToFloat("0,5"), 0.5L);
}

// The tests' separator scope puts both separators back however the scope
// ends, an exception included.
TEST(SeparatorTest, ScopePutsTheSeparatorsBackAfterAnException)
{
    test::TDecimalSeparatorScope outer('.', ' ');
    try {
        test::TDecimalSeparatorScope inner(',', '.');
        EXPECT_EQ(FormatAxisValue(1800.5), "1.800,5");
        throw EConvertError("x");
    } catch (const EConvertError&) {
    }
    EXPECT_EQ(DecimalSeparator(), '.');
    EXPECT_EQ(ThousandSeparator(), ' ');
    {
        test::TDecimalSeparatorScope decimalOnly(',');
        EXPECT_EQ(DecimalSeparator(), ',');
    }
    EXPECT_EQ(FormatAxisValue(1800.5), "1 800.5");
}

// The thousands separator never equals the decimal separator, whichever of
// the two was set last.
TEST(SeparatorTest, ThousandsSeparatorNeverClashesWithTheDecimalSeparator)
{
    test::TDecimalSeparatorScope scope(DecimalSeparator(), ThousandSeparator());
    const struct {
        const char* name;
        char thousandAsked, decimal;
        char thousand;
        const char* thousandText;
    } rows[] = {
        {"comma_locale_dot_grouping", '.', ',', '.', "1.000"},
        {"comma_decimal_comma_grouping", ',', ',', '.', "1.000"},
        {"point_decimal_point_grouping", '.', '.', ',', "1,000"},
        {"point_decimal_comma_grouping", ',', '.', ',', "1,000"},
        {"comma_decimal_blank_grouping", ' ', ',', ' ', "1 000"},
        {"other_decimal_same_grouping", '/', '/', ',', "1,000"},
    };
    for (const auto& r : rows) {
        SetThousandSeparator(r.thousandAsked);
        SetDecimalSeparator(r.decimal);
        EXPECT_EQ(ThousandSeparator(), r.thousand) << r.name << ": decimal set last";
        EXPECT_EQ(FormatAxisValue(1000), r.thousandText) << r.name;
        SetDecimalSeparator(r.decimal);
        SetThousandSeparator(r.thousandAsked);
        EXPECT_EQ(ThousandSeparator(), r.thousand) << r.name << ": thousands set last";
    }
    // One thousand eight hundred and a half reads as such with a decimal comma.
    SetThousandSeparator(',');
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatAxisValue(1800.5), "1.800,5");
}

} // namespace
