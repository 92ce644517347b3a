// The axis arithmetic without a window: rounding, mapping, the label step
// search and the label walk, from the worked examples of the axis rules.
#include "QrvAxisMath.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace qrv
{
namespace
{

TEST(AxisMathTest, RoundHalfEven)
{
    const struct {
        double in, out;
    } rows[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-7.6, -8}};
    for (const auto& r : rows)
        EXPECT_EQ(RoundHalfEven(r.in), r.out) << r.in;
    EXPECT_EQ(NearestInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(NearestInt(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(NearestInt(std::nan("")), 0);
}

struct MapCase {
    std::string name;
    TAxisScale scale;
    double value;
    int pixel;
};

class ValueToPixelTest : public ::testing::TestWithParam<MapCase>
{
};

TEST_P(ValueToPixelTest, Maps)
{
    EXPECT_EQ(GetParam().scale.ValueToPixel(GetParam().value), GetParam().pixel);
}

const TAxisScale Bottom{0, 1000, 1000, 50, 350, true, false};
const TAxisScale Left{-10, 10, 20, 20, 220, false, false};

INSTANTIATE_TEST_SUITE_P(
    Scales, ValueToPixelTest,
    ::testing::Values(MapCase{"BottomStart", Bottom, 0, 50}, MapCase{"BottomEnd", Bottom, 1000, 350},
                      MapCase{"BottomMiddle", Bottom, 500, 200}, MapCase{"BottomBeyond", Bottom, 2000, 650},
                      MapCase{"BottomTieToEven", {0, 2, 2, 0, 1, true, false}, 1, 0},
                      MapCase{"LeftMaxAtTop", Left, 10, 20}, MapCase{"LeftMinAtBottom", Left, -10, 220},
                      MapCase{"LeftZero", Left, 0, 120},
                      MapCase{"InvertedLeft", {-10, 10, 20, 20, 220, false, true}, 10, 220},
                      MapCase{"ZeroSpanIsCentre", {5, 5, 0, 20, 221, false, false}, 5, 120},
                      MapCase{"ZeroSpanAnyValue", {5, 5, 0, 20, 221, false, false}, -1e9, 120},
                      // Far beyond the range: beyond every pixel on its side,
                      // never back at the centre.
                      MapCase{"HugeDistanceIsBeyondTheEnd", Bottom, 1e300, INT_MAX},
                      MapCase{"HugeNegativeDistanceIsBeyondTheStart", Bottom, -1e300, 50 - INT_MAX},
                      MapCase{"NaNIsCentre", Bottom, std::nan(""), 200},
                      MapCase{"ClampedToIntRange",
                              {0, 1, 1, 2147483000, 2147483600, true, false},
                              1.5,
                              std::numeric_limits<int>::max()}),
    test::RowName{});

TEST(AxisMathTest, PixelToValueInvertsTheMapping)
{
    EXPECT_DOUBLE_EQ(Bottom.PixelToValue(50), 0);
    EXPECT_DOUBLE_EQ(Bottom.PixelToValue(350), 1000);
    EXPECT_DOUBLE_EQ(Bottom.PixelToValue(200), 500);
    EXPECT_DOUBLE_EQ(Left.PixelToValue(20), 10);
    EXPECT_DOUBLE_EQ(Left.PixelToValue(220), -10);
    EXPECT_EQ(TAxisScale({0, 10, 10, 5, 5, true, false}).PixelToValue(5), 0) << "no length";
}

// Ranges whose distances times a pixel length overflow a double: the
// exponential near its limit (exp(700) ... exp(709)), the whole double range
// and the alternating +-largest double. Expected pixels come from the
// fraction of the span, which never overflows.
const double Exp700 = std::exp(700.0);
const double Exp709 = std::exp(709.0);
const TAxisScale ExpLeft{Exp700, Exp709, Exp709 - Exp700, 10, 290, false, false};
const TAxisScale WholeBottom{-DBL_MAX, DBL_MAX, INFINITY, 0, 300, true, false};
const TAxisScale WholeLeft{-DBL_MAX, DBL_MAX, INFINITY, 20, 220, false, false};

int FromFraction(const TAxisScale& s, double value)
{
    const double span = s.RangeMax / 2 - s.RangeMin / 2;
    const double fraction = (value / 2 - s.RangeMin / 2) / span;
    const long n = std::lround(fraction * s.PixelLength());
    return s.Horizontal ? s.StartPixel + static_cast<int>(n) : s.EndPixel - static_cast<int>(n);
}

class HugeValueToPixelTest : public ::testing::TestWithParam<MapCase>
{
};

TEST_P(HugeValueToPixelTest, MapsToItsPlace)
{
    const MapCase& c = GetParam();
    EXPECT_EQ(c.scale.ValueToPixel(c.value), c.pixel);
    EXPECT_EQ(c.pixel, FromFraction(c.scale, c.value)) << "the row agrees with the fraction";
}

INSTANTIATE_TEST_SUITE_P(NearTheDoubleLimit, HugeValueToPixelTest,
                         ::testing::Values(MapCase{"ExpTop", ExpLeft, Exp709, 10},
                                           MapCase{"ExpBottom", ExpLeft, Exp700, 290},
                                           // (e^708 - e^700) / (e^709 - e^700) * 280 = 102.98...
                                           MapCase{"Exp708", ExpLeft, std::exp(708.0), 187},
                                           MapCase{"Exp707", ExpLeft, std::exp(707.0), 252},
                                           MapCase{"WholeLeftEnd", WholeBottom, -DBL_MAX, 0},
                                           MapCase{"WholeRightEnd", WholeBottom, DBL_MAX, 300},
                                           MapCase{"WholeZero", WholeBottom, 0.0, 150},
                                           // (1 + 1.797...) / 3.595... * 300 = 233.4
                                           MapCase{"WholeOneE308", WholeBottom, 1e308, 233},
                                           MapCase{"AlternatingTop", WholeLeft, DBL_MAX, 20},
                                           MapCase{"AlternatingBottom", WholeLeft, -DBL_MAX, 220},
                                           MapCase{"AlternatingZero", WholeLeft, 0.0, 120}),
                         test::RowName{});

TEST(AxisMathTest, ExponentialNearTheLimitRisesPointByPoint)
{
    int previous = ExpLeft.EndPixel + 1;
    for (int k = 700; k <= 709; ++k) {
        const int p = ExpLeft.ValueToPixel(std::exp(static_cast<double>(k)));
        EXPECT_LE(p, previous) << "exp(" << k << ") lies no lower than the point before";
        previous = p;
    }
    // From 705 on the points climb by pixels, not sit at the centre.
    EXPECT_LT(ExpLeft.ValueToPixel(std::exp(706.0)), ExpLeft.ValueToPixel(std::exp(705.0)));
    EXPECT_NE(ExpLeft.ValueToPixel(std::exp(705.0)), ExpLeft.CenterPixel());
}

TEST(AxisMathTest, PixelToValueAcrossTheWholeDoubleRange)
{
    EXPECT_EQ(WholeBottom.PixelToValue(0), -DBL_MAX);
    EXPECT_EQ(WholeBottom.PixelToValue(300), DBL_MAX);
    EXPECT_EQ(WholeBottom.PixelToValue(150), 0.0);
    EXPECT_EQ(WholeLeft.PixelToValue(20), DBL_MAX);
    EXPECT_EQ(WholeLeft.PixelToValue(220), -DBL_MAX);
    // Beyond the ends the values would leave the doubles: held at the limit.
    EXPECT_EQ(WholeBottom.PixelToValue(301), DBL_MAX);
    EXPECT_EQ(WholeBottom.PixelToValue(-1000), -DBL_MAX);
    EXPECT_NEAR(ExpLeft.PixelToValue(10) / Exp709, 1.0, 1e-15);
    // The way of the mouse as a value: finite however wide the range.
    EXPECT_EQ(WholeBottom.ValueDistance(300, 0), 2 * (DBL_MAX / 2));
    EXPECT_EQ(WholeBottom.ValueDistance(0, 300), -2 * (DBL_MAX / 2));
    EXPECT_NEAR(WholeLeft.ValueDistance(20, 120) / DBL_MAX, 1.0, 1e-15) << "upwards: the top value";
    EXPECT_NEAR(Bottom.ValueDistance(100, 50), Bottom.PixelToValue(100) - Bottom.PixelToValue(50), 1e-12);
}

// The exact position beside the pixel it is drawn at. The pixel rounds the
// distance from the end the axis grows from, so a tie on a vertical axis
// rounds towards that end, not to the even position.
TEST(AxisMathTest, PixelOfGivesTheExactPositionAndItsPixel)
{
    const struct {
        const char* name;
        TAxisScale scale;
        double value;
        Float exact;
        int rounded;
    } rows[] = {
        {"BottomBetweenPixels", Bottom, 1.5, 50.45L, 50},
        {"LeftUpwards", Left, 5, 70, 70},
        {"InvertedBottomFromItsEnd", {0, 1000, 1000, 50, 350, true, true}, 250, 275, 275},
        {"TieFromTheStartToEven", {0, 2, 2, 0, 1, true, false}, 1, 0.5L, 0},
        {"TieOnAVerticalAxisRoundsTheDistance", {0, 2, 2, 0, 3, false, false}, 1, 1.5L, 1},
        {"ZeroSpanAtTheCentre", {5, 5, 0, 20, 221, false, false}, 7, 120, 120},
        {"NaNAtTheCentre", Bottom, std::nan(""), 200, 200},
        {"WholeRangeOneE308", WholeBottom, 1e308, 233.44026969402006L, 233},
        {"FarBeyondKeepsItsDistance", Bottom, 1e300, 3e299L, INT_MAX},
    };
    for (const auto& r : rows) {
        const TAxisPixel p = r.scale.PixelOf(r.value);
        EXPECT_NEAR(static_cast<double>(p.Exact / r.exact), 1.0, 1e-15) << r.name;
        EXPECT_EQ(p.Rounded, r.rounded) << r.name;
        EXPECT_EQ(r.scale.ValueToPixel(r.value), r.rounded) << r.name;
    }
}

// Every pixel of an axis stands for a value that maps back onto it,
// whichever way the axis runs and however wide its range.
TEST(AxisMathTest, EveryPixelMapsBackOntoItself)
{
    const TAxisScale scales[] = {Bottom,
                                 Left,
                                 {0, 1000, 1000, 50, 350, true, true},
                                 {-10, 10, 20, 20, 220, false, true},
                                 {-0.001, 0.002, 0.003, 7, 1930, true, false},
                                 ExpLeft,
                                 WholeBottom,
                                 WholeLeft};
    for (std::size_t k = 0; k < std::size(scales); ++k) {
        const TAxisScale& s = scales[k];
        for (int p = s.StartPixel; p <= s.EndPixel; ++p)
            ASSERT_EQ(s.ValueToPixel(s.PixelToValue(p)), p) << "scale " << k;
    }
}

// The quick mapping of a whole series gives exactly the pixels of the one
// by one mapping: values spread over each axis and beyond it, values put as
// near a half pixel as the doubles allow (where the rounding decides), huge,
// tiny and non-finite values, and a multiplier.
TEST(AxisMathTest, ValuesToPixelsAgreesWithValueToPixel)
{
    const struct {
        const char* name;
        TAxisScale scale;
    } scales[] = {
        {"Bottom", Bottom},
        {"Left", Left},
        {"InvertedBottom", {0, 1000, 1000, 50, 350, true, true}},
        {"TinySpan", {1, 1 + 1e-13, 1e-13, 7, 1930, true, false}},
        {"NegativeRange", {-7.3, -2.1, 5.2, 3, 470, false, false}},
        {"ZeroSpan", {5, 5, 0, 20, 221, false, false}},
        {"ExpLeft", ExpLeft},
        {"WholeBottom", WholeBottom},
        {"NearTheIntLimit", {0, 1, 1, 2147483000, 2147483600, true, false}},
    };
    for (const auto& row : scales) {
        const TAxisScale& s = row.scale;
        std::vector<double> values{0.0,      -0.0,    1e300,    -1e300,    DBL_MAX,
                                   -DBL_MAX, DBL_MIN, INFINITY, -INFINITY, std::nan("")};
        for (int p = s.StartPixel - 40; p <= s.EndPixel + 40; ++p) {
            const double v = s.PixelToValue(p);
            values.push_back(v);
            // Half a pixel on either side, and the doubles right beside it.
            for (double half : {s.PixelToValue(p) / 2 + s.PixelToValue(p + 1) / 2,
                                s.RangeMin + (p + 0.5 - s.StartPixel) * (s.RangeSpan / s.PixelLength())}) {
                double near = half;
                for (int k = 0; k < 4; ++k)
                    near = std::nextafter(near, -INFINITY);
                for (int k = 0; k < 9; ++k, near = std::nextafter(near, INFINITY))
                    values.push_back(near);
            }
        }
        for (double multiplier : {1.0, 0.5, -3.0}) {
            std::vector<int> pixels(values.size());
            s.ValuesToPixels(values, multiplier, pixels);
            for (std::size_t i = 0; i < values.size(); ++i)
                ASSERT_EQ(pixels[i], s.ValueToPixel(values[i] * multiplier))
                    << row.name << ": value " << values[i] << " times " << multiplier;
        }
    }
}

TEST(AxisMathTest, WholeDoubleRangeGetsLabelsApartAndInPlace)
{
    for (const TAxisScale& scale : {WholeBottom, WholeLeft, ExpLeft}) {
        // Labels about 30 pixels along the axis, as "1.5E308" takes.
        const double step = ComputeIncrement({scale.Span(), scale.PixelLength(), 30, 10, 0});
        ASSERT_TRUE(std::isfinite(step)) << scale.RangeMax;
        const auto labels = LabelWalk(scale, step);
        ASSERT_GE(labels.size(), 2u) << scale.RangeMax;
        ASSERT_LE(labels.size(), 11u) << scale.RangeMax;
        for (std::size_t k = 0; k < labels.size(); ++k) {
            const TAxisLabel& l = labels[k];
            EXPECT_TRUE(std::isfinite(l.Value));
            EXPECT_GE(l.Value, scale.RangeMin);
            EXPECT_LE(l.Value, scale.RangeMax);
            EXPECT_EQ(l.Pixel, FromFraction(scale, l.Value)) << l.Value;
            if (k > 0) {
                EXPECT_LT(l.Value, labels[k - 1].Value);
                EXPECT_GE(std::abs(l.Pixel - labels[k - 1].Pixel), 30) << "labels stand apart";
            }
        }
    }
}

TEST(AxisMathTest, RangeTooWideForAnyFiniteStepKeepsTheLargest)
{
    // "-1.79769313486232E308" takes about 110 pixels: three fit 300, and
    // the step after 1E308 is no longer a double.
    for (const Float span : {Float(INFINITY), WholeBottom.Span(), Float(1.7e308)}) {
        const double step = ComputeIncrement({span, 300, 110, 10, 0});
        EXPECT_NEAR(step / 1e308, 1.0, 1e-12) << static_cast<double>(span);
    }
    const auto labels = LabelWalk(WholeBottom, ComputeIncrement({WholeBottom.Span(), 300, 110, 10, 0}));
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_NEAR(labels[0].Value / 1e308, 1.0, 1e-12);
    EXPECT_EQ(labels[1].Value, 0.0);
    EXPECT_EQ(labels[1].Pixel, 150);
    EXPECT_NEAR(labels[2].Value / 1e308, -1.0, 1e-12);
}

TEST(AxisMathTest, NextNiceStepSequences)
{
    std::vector<double> fromOne{1};
    for (int k = 0; k < 6; ++k)
        fromOne.push_back(NextNiceStep(fromOne.back()));
    EXPECT_EQ(fromOne, (std::vector<double>{1, 2, 5, 10, 20, 50, 100}));

    double step = 1e-12;
    const double expected[] = {2e-12, 5e-12, 1e-11, 2e-11, 5e-11, 1e-10};
    for (double e : expected) {
        step = NextNiceStep(step);
        EXPECT_NEAR(step, e, e * 1e-9);
    }
    EXPECT_EQ(NextNiceStep(3), 5);
    EXPECT_EQ(NextNiceStep(7), 10);
    EXPECT_EQ(NextNiceStep(0.3), 0.5);
    EXPECT_TRUE(std::isinf(NextNiceStep(INFINITY)));
    EXPECT_EQ(NextNiceStep(0), 0);
}

struct StepCase {
    std::string name;
    TStepQuery query;
    double step;
};

class ComputeIncrementTest : public ::testing::TestWithParam<StepCase>
{
};

TEST_P(ComputeIncrementTest, FindsTheStep)
{
    const double got = ComputeIncrement(GetParam().query);
    EXPECT_NEAR(got, GetParam().step, GetParam().step * 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Ranges, ComputeIncrementTest,
                         ::testing::Values(
                             // n = nearest(300 / (25 + nearest(2.5))) = 11: counts 1000, 500, ... 10
                             StepCase{"Thousand300Pixels", {1000, 300, 25, 10, 0}, 100},
                             StepCase{"BelowOne", {0.5, 300, 12, 10, 0}, 0.05},
                             StepCase{"NegativeRange", {5.2, 200, 12, 10, 0}, 1},
                             // an empty series, or one whose values are all equal
                             StepCase{"ZeroRange", {0, 300, 12, 10, 0}, 1e-12},
                             StepCase{"VeryShortAxis", {1000, 5, 12, 10, 0}, 1e-12},
                             StepCase{"NoLabelSizeMeansOneLabel", {1000, 300, 0, 10, 0}, 1000},
                             StepCase{"NoSeparation", {1000, 300, 25, 0, 0}, 1},
                             StepCase{"IncrementIsALowerBound", {10, 300, 12, 10, 3}, 3},
                             StepCase{"IncrementGrows", {1000, 300, 25, 10, 3}, 100 * 1.0},
                             StepCase{"HugeQuotientGrows", {1e30, 300, 25, 10, 0}, 1e29}),
                         test::RowName{});

TEST(AxisMathTest, SpanBeyondDoubleRangeEnds)
{
    // The span of -1E308 ... 1E308 is infinite: the search must still end.
    const double step = ComputeIncrement({INFINITY, 300, 25, 10, 0});
    EXPECT_GE(step, 1e-12);
    const double nanStep = ComputeIncrement({std::nan(""), 300, 25, 10, 0});
    EXPECT_GE(nanStep, 1e-12);
}

TEST(AxisMathTest, IncrementGrowthFromThreeFollowsTheSequence)
{
    // 3 -> 5 -> 10 -> 20 -> 50 -> 100: 1000 / 100 = 10 labels fit 11.
    EXPECT_EQ(ComputeIncrement({1000, 300, 25, 10, 3}), 100);
}

struct WalkCase {
    std::string name;
    TAxisScale scale;
    double step;
    std::vector<double> values;
};

class LabelWalkTest : public ::testing::TestWithParam<WalkCase>
{
};

TEST_P(LabelWalkTest, ProducesLabelsFromTheTop)
{
    const WalkCase& c = GetParam();
    const auto labels = LabelWalk(c.scale, c.step);
    ASSERT_EQ(labels.size(), c.values.size());
    for (std::size_t k = 0; k < labels.size(); ++k) {
        EXPECT_NEAR(labels[k].Value, c.values[k], 1e-9) << "label " << k;
        EXPECT_EQ(labels[k].Pixel, c.scale.ValueToPixel(labels[k].Value)) << "label " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Walks, LabelWalkTest,
    ::testing::Values(
        WalkCase{"Thousand",
                 {0, 1000, 1000, 0, 300, true, false},
                 100,
                 {1000, 900, 800, 700, 600, 500, 400, 300, 200, 100, 0}},
        WalkCase{"BelowOne", {0, 0.5, 0.5, 0, 300, true, false}, 0.1, {0.5, 0.4, 0.3, 0.2, 0.1, 0}},
        WalkCase{"NegativeRange", {-7.3, -2.1, 5.2, 0, 300, false, false}, 1, {-3, -4, -5, -6, -7}},
        WalkCase{"NegativeMinimumLabelled", {-3, 3, 6, 0, 300, true, false}, 1, {3, 2, 1, 0, -1, -2, -3}},
        WalkCase{"UnroundedStart", {0.25, 3.7, 3.45, 0, 300, true, false}, 1, {3, 2, 1}},
        WalkCase{"EmptySeriesOneLabelAtCentre", {0, 0, 0, 10, 110, true, false}, 1e-12, {0}},
        WalkCase{"AllFiveOneLabel", {5, 5, 0, 10, 110, false, false}, 1e-12, {5}},
        WalkCase{"AllMinusFiveOneLabel", {-5, -5, 0, 10, 110, false, false}, 1e-12, {-5}},
        WalkCase{"AllTwentyThousandOneLabel", {20000, 20000, 0, 10, 110, false, false}, 1e-12, {20000}},
        WalkCase{"ShortAxisNoLabels", {0, 1000, 1000, 0, 5, true, false}, 1e-12, {}},
        WalkCase{"TooManyStepsNoLabels", {0, 1, 1, 0, 300, true, false}, 1e-5, {}}),
    test::RowName{});

TEST(AxisMathTest, LabelsOffTheAxisEndsNeedLabelsOnAxis)
{
    const TAxisScale s{0, 1000, 1000, 0, 300, true, false};
    const auto inner = LabelWalk(s, 100, {true, false});
    ASSERT_EQ(inner.size(), 9u);
    EXPECT_EQ(inner.front().Value, 900);
    EXPECT_EQ(inner.back().Value, 100);
    const auto unrounded = LabelWalk({0.25, 3.7, 3.45, 0, 300, true, false}, 1, {false, true});
    ASSERT_EQ(unrounded.size(), 4u);
    EXPECT_DOUBLE_EQ(unrounded.front().Value, 3.7);
}

TEST(AxisMathTest, WalkRecordsAtMostTheTickLimit)
{
    const auto labels = LabelWalk({0, 9999, 9999, 0, 30000, true, false}, 1);
    EXPECT_EQ(labels.size(), static_cast<std::size_t>(MaxTickPositions));
}

TEST(AxisMathTest, WalkEndsWhenTheStepNoLongerChangesTheValue)
{
    // 1E6 - 1E-12 == 1E6 in doubles.
    const auto labels = LabelWalk({1e6, 1e6 + 1e-9, 1e-9, 0, 300, true, false}, 1e-12);
    EXPECT_LE(labels.size(), 2u);
}

TEST(AxisMathTest, MaxLabelCount)
{
    EXPECT_EQ(MaxLabelCount(300, 25, 10), 11);
    EXPECT_EQ(MaxLabelCount(300, 25, 0), 12);
    EXPECT_EQ(MaxLabelCount(300, 0, 10), 1);
    EXPECT_EQ(MaxLabelCount(5, 12, 10), 0);
}

// The finer labels on a table of ranges: the step with the option off and
// on. Only a span of 1 or more whose step 1 leaves fewer than three labels
// changes; spans below 1 already search from 1E-12.
TEST(AxisMathTest, FineLabelsStartFromTheLargestStepWithThreeLabels)
{
    const struct {
        const char* name;
        double lo, hi;
        int pixels;
        double labelSize, increment, off, on;
    } rows[] = {
        // sin(x) at x = 0, 0.1 ... 10, on a vertical axis of 200 pixels.
        {"SinOverZeroToTen", -0.9999232575641008, 0.9995736030415051, 200, 14, 0, 1, 0.5},
        {"SpanOneThousandth", 0, 0.001, 300, 25, 0, 1e-4, 1e-4},
        {"SpanBelowOne", 0, 0.37, 300, 25, 0, 0.05, 0.05},
        {"SpanOne", 0, 1, 300, 25, 0, 1, 0.5},
        {"SpanSeven", 0, 7, 300, 25, 0, 1, 1},
        {"SpanTen", 0, 10, 300, 25, 0, 1, 1},
        {"Span1234", 0, 1234, 300, 25, 0, 200, 200},
        {"SpanMillion", 0, 1e6, 300, 25, 0, 1e5, 1e5},
        {"NegativeRangeSeven", -7.3, -2.1, 200, 14, 0, 1, 1},
        {"NegativeAboveMinusOne", -1.3, -0.1, 200, 14, 0, 1, 0.2},
        {"ShortAxisGrowsBack", 0, 1.9, 60, 25, 0, 1, 1}, // room for two labels
        {"IncrementStaysTheBound", -0.99, 0.99, 200, 14, 0.3, 0.3, 0.3},
    };
    for (const auto& r : rows) {
        TStepQuery q{r.hi - r.lo, r.pixels, r.labelSize, 10, r.increment};
        q.RangeMin = r.lo;
        q.RangeMax = r.hi;
        EXPECT_NEAR(ComputeIncrement(q), r.off, r.off * 1e-9) << r.name << " off";
        q.FineLabels = true;
        EXPECT_NEAR(ComputeIncrement(q), r.on, r.on * 1e-9) << r.name << " on";
    }
    EXPECT_EQ(FineStartStep(-DBL_MAX, DBL_MAX), 0.0) << "a span beyond the doubles";
    EXPECT_EQ(FineStartStep(1e6, 1e6 + 1.5), 0.5);
}

// An end that falls on the step (within half a pixel of it) is labelled
// only with LabelEnds and LabelsOnAxis; sin(x) is in the layout's tests.
TEST(AxisMathTest, WalkLabelsTheEndsThatFallOnAStep)
{
    const TAxisScale nearEnds{0.0004, 9.9996, 9.9992, 0, 400, true, false};
    const TAxisScale farEnds{-0.98, 0.98, 1.96, 20, 220, false, false}; // two pixels short
    const struct {
        const char* name;
        TAxisScale scale;
        double step;
        TWalkOptions options;
        std::vector<double> values;
    } rows[] = {
        {"NearEnds", nearEnds, 2, {true, true, true}, {10, 8, 6, 4, 2, 0}},
        {"NeedsLabelsOnAxis", nearEnds, 2, {true, false, true}, {8, 6, 4, 2}},
        {"FarEnds", farEnds, 0.5, {true, true, true}, {0.5, 0, -0.5}},
    };
    for (const auto& r : rows) {
        const auto labels = LabelWalk(r.scale, r.step, r.options);
        std::vector<double> values;
        for (const TAxisLabel& l : labels)
            values.push_back(l.Value);
        EXPECT_EQ(values, r.values) << r.name;
    }
}

// Beyond what the circle in the layout's tests covers: a single-value
// range takes the other's units, two do nothing, and a range beyond the
// doubles stays within them.
TEST(AxisMathTest, EqualizeScalesAtTheEdges)
{
    TAxisScale h{0, 10, 10, 0, 400}, v{5, 5, 0, 0, 200, false};
    EXPECT_TRUE(EqualizeScales(h, v));
    EXPECT_EQ(std::pair(v.RangeMin, v.RangeMax), std::pair(2.5, 7.5));
    TAxisScale single{3, 3, 0, 0, 400}, other{5, 5, 0, 0, 200, false};
    EXPECT_FALSE(EqualizeScales(single, other));
    TAxisScale whole{-DBL_MAX, DBL_MAX, INFINITY, 0, 100}, unit{0, 1, 1, 0, 200, false};
    EXPECT_TRUE(EqualizeScales(whole, unit));
    EXPECT_EQ(std::pair(unit.RangeMin, unit.RangeMax), std::pair(-DBL_MAX, DBL_MAX));
}

TEST(AxisMathTest, MinorTicksBetweenAndBeyond)
{
    // Bottom-axis ticks come right to left.
    const auto minors = MinorTickPositions({300, 200, 100}, 3, 0, 400);
    EXPECT_EQ(minors, (std::vector<int>{225, 250, 275, 125, 150, 175, 375, 350, 325, 25, 50, 75}));
    const auto clipped = MinorTickPositions({300, 200}, 3, 150, 330);
    EXPECT_EQ(clipped, (std::vector<int>{225, 250, 275, 325, 175}));
    EXPECT_TRUE(MinorTickPositions({120}, 3, 0, 400).empty()) << "a single tick has no spacing";
}

} // namespace
} // namespace qrv
