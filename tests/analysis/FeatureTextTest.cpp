// The --analyze lines and the window's numbers.
#include "DecimalSeparatorScope.h"
#include "QrvFeatureText.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace qrv
{
namespace
{

TFeature Point(TFeatureKind kind, Float x, Float y, int curve = 1, int other = 0)
{
    TFeature f;
    f.Kind = kind;
    f.Curve = curve;
    f.OtherCurve = other;
    f.X = x;
    f.Y = y;
    return f;
}

TFeature Integral(Float value, Float error)
{
    TFeature f;
    f.Kind = TFeatureKind::Integral;
    f.Curve = 1;
    f.Value = value;
    f.Error = error;
    return f;
}

TFeature NoIntegral(TNoValue why, Float x, Float width, const char* message)
{
    TFeature f = Integral(0, 0);
    f.NoValue = why;
    f.FaultX = x;
    f.FaultWidth = width;
    f.FaultMessage = message;
    return f;
}

constexpr Float kPi = 3.14159265358979323846264338327950288L;

struct TLineCase {
    const char* Name;
    TFeature Feature;
    const char* Line;
};

class FeatureLines : public ::testing::TestWithParam<TLineCase>
{
};

TEST_P(FeatureLines, AreWrittenForPrograms)
{
    // The program's decimal separator is for people; these lines never use it.
    test::TDecimalSeparatorScope comma(',');
    EXPECT_EQ(FeatureLine(GetParam().Feature), GetParam().Line);
}

const TLineCase kLineCases[] = {
    {"maximum", Point(TFeatureKind::Maximum, kPi / 2, 1),
     "1\tmaximum\t1.57079632679489661926e+00\t1.00000000000000000000e+00\n"},
    {"root", Point(TFeatureKind::Root, kPi, -5.01655761266833202345e-20L),
     "1\troot\t3.14159265358979323851e+00\t-5.01655761266833202345e-20\n"},
    {"integral", Integral(1.5L, 1.2e-19L), "1\tintegral\t1.50000000000000000000e+00\t1.20e-19\n"},
    {"intersection", Point(TFeatureKind::Intersection, kPi / 4, 0.75L, 1, 2),
     "1&2\tintersection\t7.85398163397448309628e-01\t7.50000000000000000000e-01\n"},
    {"minimum_of_curve_12", Point(TFeatureKind::Minimum, -0.0L, 0x1p-16445L, 12),
     "12\tminimum\t-0.00000000000000000000e+00\t3.64519953188247460253e-4951\n"},
    {"integral_pole", NoIntegral(TNoValue::Pole, 1.5707963267948966L, 0.01L, ""),
     "1\tintegral\t-\tpole at about x = 1.571\n"},
    {"integral_failure", NoIntegral(TNoValue::Failure, 1.01, 0, "Invalid floating point operation"),
     "1\tintegral\t-\tthe formula fails at x = 1.01: Invalid floating point operation\n"},
    {"integral_failure_between_samples", NoIntegral(TNoValue::Failure, 0.7L + 1e-19L, 0, "Division by zero"),
     "1\tintegral\t-\tthe formula fails at x = 0.7000000000000000001: Division by zero\n"},
};

INSTANTIATE_TEST_SUITE_P(Lines, FeatureLines, ::testing::ValuesIn(kLineCases), test::RowName{});

// Against C's printf in the C locale, which the tests run in.
TEST(FeatureLines, WriteNumbersAsCsPrintfDoes)
{
    const Float values[] = {0,
                            -0.0L,
                            1,
                            -1,
                            kPi,
                            1e-300L,
                            1e4000L,
                            -1.18973149535723176502e+4932L,
                            0x1p-16445L,
                            0x1p-16382L,
                            9.99999999999999999995e-1L,
                            123456789.123456789L,
                            -2.5e-7L};
    for (Float v : values) {
        char c21[64], c3[64];
        std::snprintf(c21, sizeof c21, "%.20Le", v);
        std::snprintf(c3, sizeof c3, "%.2Le", v);
        EXPECT_EQ(ScientificText(v, 21), c21);
        EXPECT_EQ(ScientificText(v, 3), c3);
    }
}

TEST(FeatureLines, AnUnconvergedIntegralNamesItsEstimate)
{
    TFeature f = NoIntegral(TNoValue::NoConvergence, 0, 0, "");
    f.Error = 0.00123456L;
    EXPECT_EQ(FeatureLine(f), "1\tintegral\t-\tthe integral does not converge (estimated error 0.00123)\n");
    EXPECT_EQ(NoValueText(f, ','), "the integral does not converge (estimated error 0,00123)");
}

struct TNumberCase {
    const char* Name;
    Float Value;
    char Separator;
    const char* Text;
};

class DisplayNumbers : public ::testing::TestWithParam<TNumberCase>
{
};

TEST_P(DisplayNumbers, ShowTheMeaningfulDigits)
{
    EXPECT_EQ(DisplayNumber(GetParam().Value, GetParam().Separator), GetParam().Text);
}

const TNumberCase kNumberCases[] = {
    {"pi", kPi, '.', "3.1415926535897932385"},
    {"pi_comma", kPi, ',', "3,1415926535897932385"},
    {"tiny_negative", -0x1p-70L, ',', "-8,470329472543003391E-22"},
    {"one", 1, ',', "1"},
    {"minus_zero", -0.0L, '.', "0"},
    {"thousandth", 0.001L, '.', "0.001"},
    {"smallest_fixed", 2.5e-5L, '.', "0.000025"},
    {"below_fixed", 1e-6L, '.', "1E-6"},
    {"twenty_integer_digits", 1e19L, '.', "10000000000000000000"},
    {"beyond_fixed", 1e20L, '.', "1E20"},
    {"decimals_dropped", 123456.5L, ',', "123456,5"},
    {"rounds_up_to_the_next_power", 9.999999999999999999999L, '.', "10"},
    {"double_tenth", 0.1, '.', "0.10000000000000000555"},
    {"twenty_one_digits_needed", 0.1L + 0x1p-66L, '.', "0.10000000000000000001"},
};

INSTANTIATE_TEST_SUITE_P(Numbers, DisplayNumbers, ::testing::ValuesIn(kNumberCases), test::RowName{});

TEST(DisplayNumbers, KeepAtMostTheDigitsAskedFor)
{
    EXPECT_EQ(DisplayNumber(kPi, '.', 6), "3.14159");
    EXPECT_EQ(DisplayNumber(2.0004L, '.', 3), "2");
}

// The window's rows and the trace's names, for people.
TEST(FeatureRows, NameCurvesKindsAndShowEveryMeaningfulDigit)
{
    struct Row {
        const char* name;
        TFeature feature;
        TFeatureRow row;
        const char* readout; // with several curves on the chart
    } rows[] = {
        {"maximum",
         Point(TFeatureKind::Maximum, kPi / 2, 1),
         {"f1", "maximum", "1,5707963267948966193", "1"},
         "maximum f1   x = 1,57079632679   y = 1"},
        {"intersection",
         Point(TFeatureKind::Intersection, kPi / 4, 0.5L, 2, 3),
         {"f2, f3", "intersection", "0,78539816339744830963", "0,5"},
         "intersection f2, f3   x = 0,785398163397   y = 0,5"},
        {"integral", Integral(2, 1.2e-19L), {"f1", "integral", "2", "\xC2\xB1 1,2E-19"}, ""},
        {"no integral",
         NoIntegral(TNoValue::Pole, 1.5L, 0.01L, ""),
         {"f1", "integral", "-", "pole at about x = 1,5"},
         ""},
    };
    for (const Row& r : rows) {
        const TFeatureRow row = FeatureRow(r.feature, ',');
        EXPECT_EQ(row.Curve, r.row.Curve) << r.name;
        EXPECT_EQ(row.Kind, r.row.Kind) << r.name;
        EXPECT_EQ(row.X, r.row.X) << r.name;
        EXPECT_EQ(row.Y, r.row.Y) << r.name;
        if (*r.readout) {
            EXPECT_EQ(FeatureReadout(r.feature, true, ','), r.readout) << r.name;
        }
    }
    // One curve on the chart: a single curve's feature goes by its kind alone.
    EXPECT_EQ(FeatureReadout(Point(TFeatureKind::Root, 0, 0), false, '.'), "root   x = 0   y = 0");
    EXPECT_EQ(FeatureRowsText({{"f1", "root", "0", "0"}, {"f1", "integral", "2", "-"}}),
              "f1\troot\t0\t0\nf1\tintegral\t2\t-\n");
}

} // namespace
} // namespace qrv
