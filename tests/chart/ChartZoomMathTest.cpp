// The zoom arithmetic without a window: fixed ranges, drag classification,
// animation steps, wheel notches, and the zoom state on bare axes.
#include "QrvChartZoom.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

namespace qrv
{
namespace
{

struct RangeCase {
    const char* name;
    double a, b;
    double min, max;
};

class FixedAxisRangeTest : public ::testing::TestWithParam<RangeCase>
{
};

TEST_P(FixedAxisRangeTest, OrdersAndWidens)
{
    const RangeCase c = GetParam();
    const std::optional<TAxisRange> r = FixedAxisRange(c.a, c.b);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->Minimum, c.min);
    EXPECT_EQ(r->Maximum, c.max);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FixedAxisRangeTest,
    ::testing::Values(RangeCase{"Ordered", 1.0, 2.0, 1.0, 2.0}, RangeCase{"Reversed", 2.0, -1.0, -1.0, 2.0},
                      RangeCase{"SinglePoint", 3.0, 3.0, 3.0, 3.0 + 1e-10},
                      RangeCase{"JustBelowMinimum", 0.0, 0.9e-10, 0.0, 1e-10},
                      RangeCase{"ExactlyMinimum", 0.0, 1e-10, 0.0, 1e-10},
                      // 1E10 + 1E-10 is 1E10 again: one double up instead.
                      RangeCase{"FarFromZero", 1e10, 1e10, 1e10, std::nextafter(1e10, 2e10)},
                      RangeCase{"LargestDouble", DBL_MAX, DBL_MAX, std::nextafter(DBL_MAX, 0.0), DBL_MAX}),
    test::RowName{});

TEST(FixedAxisRange, RefusesNonFiniteEnds)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(FixedAxisRange(0.0, inf));
    EXPECT_FALSE(FixedAxisRange(-inf, 0.0));
    EXPECT_FALSE(FixedAxisRange(std::nan(""), 1.0));
}

TEST(ClassifyZoomDrag, ThresholdAndDirection)
{
    struct Row {
        const char* name;
        int x1, y1;
        TZoomDragResult expected;
    };
    // All drags start at (100, 100).
    const Row rows[] = {
        {"right-down", 117, 117, TZoomDragResult::ZoomIn},
        {"exactly-16-across", 116, 150, TZoomDragResult::None},
        {"exactly-16-down", 150, 116, TZoomDragResult::None},
        {"left-up", 83, 83, TZoomDragResult::Undo},
        {"right-up", 150, 50, TZoomDragResult::Undo},
        {"left-down", 50, 150, TZoomDragResult::Undo},
        {"extreme", INT_MIN, INT_MAX, TZoomDragResult::Undo},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ClassifyZoomDrag(100, 100, r.x1, r.y1), r.expected) << r.name;
}

TEST(AnimatedZoomStep, MovesAThirdOfTheRemainingWay)
{
    const TAxisRange r = AnimatedZoomStep({0.0, 9.0}, {3.0, 6.0});
    EXPECT_DOUBLE_EQ(r.Minimum, 1.0);
    EXPECT_DOUBLE_EQ(r.Maximum, 8.0);
}

TEST(WheelAccumulator, CountsWholeNotches)
{
    TWheelAccumulator w;
    EXPECT_EQ(w.AddDelta(-120), 1) << "towards the user";
    EXPECT_EQ(w.AddDelta(240), -2) << "two notches away";
    EXPECT_EQ(w.AddDelta(40), 0) << "part of a notch";
    EXPECT_EQ(w.AddDelta(40), 0);
    EXPECT_EQ(w.AddDelta(40), -1) << "parts add up";
    EXPECT_EQ(w.AddDelta(INT_MAX), -1000000 / 120) << "clamped, no overflow";
}

// Bare axes 0 ... 100 over pixels 0 ... 100; vertical values grow upwards.
class ZoomOnAxesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        layout.AxesRect = TChartRect{0, 0, 100, 100};
        for (std::size_t i = 0; i < axes.size(); ++i) {
            axes[i]->SetMinMax(0.0, 100.0);
            layout.Axes[i].PlaceAxis(*axes[i], layout.AxesRect);
            SetShownRange(i, 0.0, 100.0);
        }
        zoom.RepaintNow = [this] { ++frames; };
    }
    // The range the axis at index i shows on screen.
    void SetShownRange(std::size_t i, double lo, double hi)
    {
        layout.Axes[i].SetRange(lo, hi);
        layout.Axes[i].Minimum = lo;
        layout.Axes[i].Maximum = hi;
    }
    TChartAxis bottom{TAxisKind::Bottom}, top{TAxisKind::Top}, left{TAxisKind::Left}, right{TAxisKind::Right};
    std::array<TChartAxis*, 4> axes{&bottom, &top, &left, &right};
    TChartZoom zoom{axes};
    TChartLayout layout;
    int frames = 0;
};

TEST_F(ZoomOnAxesTest, AnimatedZoomEndsOnTheExactRange)
{
    TZoomSettings s;
    s.AnimatedZoom = true;
    zoom.ZoomToRect(QRect(QPoint(20, 10), QPoint(60, 70)), layout, s);
    EXPECT_EQ(frames, s.AnimatedZoomSteps - 1);
    EXPECT_EQ(bottom.Minimum(), 20.0);
    EXPECT_EQ(bottom.Maximum(), 60.0);
    EXPECT_EQ(left.Minimum(), 30.0);
    EXPECT_EQ(left.Maximum(), 90.0);
}

TEST_F(ZoomOnAxesTest, ScrollVetoAndUnusableDistances)
{
    const TZoomSettings s;
    zoom.OnAllowScroll = [](TChartAxis& axis, double&, double&) { return axis.IsHorizontal(); };
    zoom.Press(ScrollButton, 50, 50, true, s);
    zoom.Move(40, 30, layout, s);
    EXPECT_EQ(bottom.Minimum(), 10.0);
    EXPECT_TRUE(left.Automatic()) << "vetoed";
    zoom.Release(ScrollButton, 40, 30, layout, s);

    // Across the whole double range the way of the mouse is a finite value,
    // but it would carry one end beyond the doubles: the axis stays.
    bottom.SetMinMax(-DBL_MAX, DBL_MAX);
    SetShownRange(0, -DBL_MAX, DBL_MAX);
    zoom.OnAllowScroll = nullptr;
    zoom.Press(ScrollButton, 50, 50, true, s);
    zoom.Move(10, 50, layout, s);
    EXPECT_EQ(bottom.Minimum(), -DBL_MAX);
    EXPECT_EQ(bottom.Maximum(), DBL_MAX);
    zoom.Release(ScrollButton, 10, 50, layout, s);
    EXPECT_FALSE(zoom.SetAxisRange(bottom, 0.0, std::numeric_limits<double>::infinity()));
}

TEST_F(ZoomOnAxesTest, HugeRangesScrollZoomAndWheelWithoutOverflow)
{
    const TZoomSettings s;
    // 0 ... 1E308: a pixel times the span overflows a double.
    for (const std::size_t i : {0u, 2u}) {
        axes[i]->SetMinMax(0.0, 1e308);
        SetShownRange(i, 0.0, 1e308);
    }
    zoom.Press(ScrollButton, 50, 50, true, s);
    zoom.Move(10, 50, layout, s);
    zoom.Release(ScrollButton, 10, 50, layout, s);
    EXPECT_DOUBLE_EQ(bottom.Minimum(), 4e307) << "the data follow the mouse";
    EXPECT_DOUBLE_EQ(bottom.Maximum(), 1.4e308);

    // A zoom into the whole double range lands on the values under the mouse.
    for (std::size_t i = 0; i < axes.size(); ++i)
        layout.Axes[i].SetRange(-DBL_MAX, DBL_MAX);
    zoom.ZoomToRect(QRect(QPoint(25, 25), QPoint(75, 75)), layout, s);
    EXPECT_DOUBLE_EQ(bottom.Minimum(), -DBL_MAX / 2);
    EXPECT_DOUBLE_EQ(bottom.Maximum(), DBL_MAX / 2);
    EXPECT_DOUBLE_EQ(left.Minimum(), -DBL_MAX / 2);
    EXPECT_DOUBLE_EQ(left.Maximum(), DBL_MAX / 2);

    // 3 % of a range wider than the doubles is a finite offset: one notch
    // towards the user moves the range up by it.
    EXPECT_DOUBLE_EQ(WheelScrollOffset(-DBL_MAX, DBL_MAX), 0.06 * DBL_MAX);
    left.SetMinMax(-DBL_MAX, 0.9 * DBL_MAX);
    zoom.Wheel(-WheelNotchDelta, layout, s);
    EXPECT_DOUBLE_EQ(left.Minimum(), -DBL_MAX + 0.057 * DBL_MAX);
    EXPECT_DOUBLE_EQ(left.Maximum(), 0.9 * DBL_MAX + 0.057 * DBL_MAX);
}

TEST(AnimatedZoomStep, StaysFiniteAcrossTheWholeDoubleRange)
{
    const TAxisRange r = AnimatedZoomStep({-DBL_MAX, DBL_MAX}, {DBL_MAX / 2, DBL_MAX});
    EXPECT_DOUBLE_EQ(r.Minimum, -DBL_MAX / 2) << "a third of a way 1.5 x DBL_MAX long";
    EXPECT_EQ(r.Maximum, DBL_MAX);
    const TAxisRange back = AnimatedZoomStep({DBL_MAX / 2, DBL_MAX}, {-DBL_MAX, -DBL_MAX / 2});
    EXPECT_DOUBLE_EQ(back.Minimum, DBL_MAX / 2 - DBL_MAX / 2);
    EXPECT_DOUBLE_EQ(back.Maximum, DBL_MAX - DBL_MAX / 2);
}

} // namespace
} // namespace qrv
