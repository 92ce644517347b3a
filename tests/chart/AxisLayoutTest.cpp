// Axis layout with real font metrics: range from the series, label texts,
// the room reserved beside the axes rectangle, placement and margins.
#include "ChartTestSupport.h"

#include "DecimalSeparatorScope.h"
#include "QrvAxisLayout.h"
#include "QrvChartAxis.h"
#include "QrvNumberText.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

class AxisLayoutTest : public ::testing::Test
{
protected:
    test::TDecimalSeparatorScope separators{'.', ','};
    QImage device{10, 10, QImage::Format_RGB32};
    QFontMetrics Metrics(const TChartFont& f) const { return QFontMetrics(f.Font, &device); }
};

TEST_F(AxisLayoutTest, FontResolvesToArialMetrics)
{
    const QString family = QFontInfo(ChartFont()).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans" || family == "Arimo")
        << family.toStdString();
    EXPECT_EQ(ChartFont().pointSize(), 8);
}

TEST_F(AxisLayoutTest, LabelTextUsesGroupingAndTheProgramSeparators)
{
    TChartAxis axis(TAxisKind::Bottom);
    const struct {
        double value;
        const char* text;
    } rows[] = {{1000, "1,000"}, {0.5, "0.5"}, {-7, "-7"},       {1234567.8916, "1,234,567.892"},
                {-1e-17, "0"},   {0, "0"},     {0.0005, "0.001"}};
    for (const auto& r : rows)
        EXPECT_EQ(axis.LabelText(r.value).toStdString(), r.text) << r.value;
    SetDecimalSeparator(',');
    // A decimal comma with the grouping comma still asked for: one thousand
    // must not read as one.
    EXPECT_EQ(axis.LabelText(1000).toStdString(), "1.000");
    EXPECT_EQ(axis.LabelText(1800).toStdString(), "1.800");
    SetThousandSeparator('.');
    EXPECT_EQ(axis.LabelText(1000.25).toStdString(), "1.000,25");
}

// The one rule the title's room and both label sizes read: how a text at
// an angle lies to its axis. Angles off the four right angles are neither
// along nor across.
TEST_F(AxisLayoutTest, TextDirectionOfAnAngle)
{
    using enum TTextDirection;
    const struct {
        const char* name;
        TAxisKind kind;
        int angle;
        TTextDirection direction;
    } rows[] = {
        {"BottomLevel", TAxisKind::Bottom, 0, Along},      {"TopUpsideDown", TAxisKind::Top, 180, Along},
        {"BottomUpright", TAxisKind::Bottom, 90, Across},  {"TopUpright", TAxisKind::Top, 270, Across},
        {"LeftUpright", TAxisKind::Left, 90, Along},       {"RightUpright", TAxisKind::Right, 270, Along},
        {"LeftLevel", TAxisKind::Left, 0, Across},         {"RightUpsideDown", TAxisKind::Right, 180, Across},
        {"BottomSlanted", TAxisKind::Bottom, 45, Slanted}, {"LeftSlanted", TAxisKind::Left, 135, Slanted},
    };
    for (const auto& r : rows)
        EXPECT_EQ(TChartAxis(r.kind).TextDirection(r.angle), r.direction) << r.name;
}

TEST_F(AxisLayoutTest, RangeFollowsActiveSeriesWithPoints)
{
    TLineSeries a, b, empty, inactive;
    a.AddPoint(1, -3);
    a.AddPoint(4, 2);
    b.AddPoint(-2, 10);
    inactive.AddPoint(100, 100);
    inactive.SetActive(false);
    const TChartAxis bottomAxis(TAxisKind::Bottom), leftAxis(TAxisKind::Left);
    TAxisLayout bottom, left;
    bottom.ComputeRange(bottomAxis, {&a, &b, &empty, &inactive});
    left.ComputeRange(leftAxis, {&a, &b, &empty, &inactive});
    EXPECT_EQ(bottom.RangeMin(), -2);
    EXPECT_EQ(bottom.RangeMax(), 4);
    EXPECT_EQ(bottom.RangeSpan(), 6);
    EXPECT_EQ(left.RangeMin(), -3);
    EXPECT_EQ(left.RangeMax(), 10);
    EXPECT_EQ(left.Minimum, -3);
    EXPECT_EQ(left.Maximum, 10);
    EXPECT_EQ(leftAxis.Minimum(), 0) << "the axis itself is left alone";

    left.ComputeRange(leftAxis, {&empty});
    EXPECT_EQ(left.RangeMin(), 0);
    EXPECT_EQ(left.RangeMax(), 0);

    int repaints = 0;
    TChartAxis fixed(TAxisKind::Left, [&] { ++repaints; });
    fixed.SetAutomatic(false);
    fixed.SetAutomaticMinimum(false);
    fixed.SetAutomaticMaximum(false);
    fixed.SetMinMax(7, -1);
    fixed.SetMinMax(-1, 7); // unchanged: no repaint
    EXPECT_EQ(repaints, 4);
    TAxisLayout layout;
    layout.ComputeRange(fixed, {&a});
    EXPECT_EQ(layout.RangeMin(), -1);
    EXPECT_EQ(layout.RangeMax(), 7);

    // A saved state brings the automatic range back.
    fixed.SetRangeState(TAxisRangeState{});
    EXPECT_EQ(repaints, 5);
    layout.ComputeRange(fixed, {&a});
    EXPECT_EQ(layout.RangeMin(), -3);
    EXPECT_EQ(layout.RangeMax(), 2);
}

TEST_F(AxisLayoutTest, ThousandOnThreeHundredPixelsStepsByHundred)
{
    const TChartAxis axis(TAxisKind::Bottom);
    TAxisLayout layout;
    layout.SetRange(0, 1000);
    layout.PlaceAxis(axis, {20, 10, 320, 200});
    ASSERT_EQ(layout.PixelLength(), 300);
    EXPECT_EQ(layout.ComputeIncrement(axis, Metrics(axis.LabelsFont)), 100);
}

TEST_F(AxisLayoutTest, BottomAxisReservesTitleLabelsAndTicks)
{
    TChartAxis axis(TAxisKind::Bottom);
    axis.Title.Caption = "X";
    TAxisLayout layout;
    layout.SetRange(0, 10);
    TChartRect rect{10, 10, 390, 290};
    const int h = Metrics(axis.LabelsFont).height();
    layout.ReserveAxisSpace(axis, rect, Metrics(axis.LabelsFont), Metrics(axis.Title.Font));
    EXPECT_EQ(layout.TitlePos, 290 - h);
    EXPECT_EQ(layout.LabelsPos, 290 - 2 * h);
    EXPECT_EQ(rect, (TChartRect{10, 10, 390, 290 - 2 * h - 6}));
}

TEST_F(AxisLayoutTest, LeftAxisReservesWidthOfRoundedLabels)
{
    TChartAxis axis(TAxisKind::Left);
    axis.Title.Caption = "Y";
    axis.Title.Angle = 0;
    TAxisLayout layout;
    layout.SetRange(-1234.5, 20);
    // 280 pixels of height give room for nearest(280 / 13) = 22 labels: step
    // 100, and the widest rounded label is trunc(-12.345) * 100 = -1,200.
    const QFontMetrics fm = Metrics(axis.LabelsFont);
    ASSERT_EQ(fm.height(), 12);
    TChartRect rect{10, 10, 390, 290};
    layout.ReserveAxisSpace(axis, rect, fm, Metrics(axis.Title.Font));
    const int titleWidth = fm.horizontalAdvance("Y");
    const int labelsWidth = fm.horizontalAdvance("-1,200") + fm.horizontalAdvance(" ");
    EXPECT_EQ(layout.TitlePos, 10 + titleWidth);
    EXPECT_EQ(layout.LabelsPos, 10 + titleWidth + labelsWidth);
    EXPECT_EQ(rect.Left, 10 + titleWidth + labelsWidth + 6);

    // The reservation depends on this layout only, not on the one before.
    layout.PlaceAxis(axis, {60, 10, 390, 30});
    TChartRect again{10, 10, 390, 290};
    layout.ReserveAxisSpace(axis, again, fm, Metrics(axis.Title.Font));
    EXPECT_EQ(again, rect);
}

TEST_F(AxisLayoutTest, PlacementSpansTheRectangle)
{
    TChartAxis bottomAxis(TAxisKind::Bottom), leftAxis(TAxisKind::Left);
    TAxisLayout bottom, left;
    const TChartRect r{40, 12, 380, 260};
    bottom.PlaceAxis(bottomAxis, r);
    left.PlaceAxis(leftAxis, r);
    EXPECT_EQ(bottom.StartPixel(), 40);
    EXPECT_EQ(bottom.EndPixel(), 380);
    EXPECT_EQ(bottom.CenterPixel(), 210);
    EXPECT_EQ(bottom.AxisLinePos, 260);
    EXPECT_EQ(left.StartPixel(), 12);
    EXPECT_EQ(left.EndPixel(), 260);
    EXPECT_EQ(left.AxisLinePos, 40);
    leftAxis.StartPosition = 10;
    leftAxis.EndPosition = 90;
    left.PlaceAxis(leftAxis, r);
    EXPECT_EQ(left.StartPixel(), 12 + 25); // nearest(248 * 0.1) = 25
    EXPECT_EQ(left.EndPixel(), 12 + 223);  // nearest(248 * 0.9) = 223
}

TEST_F(AxisLayoutTest, MarginsWidenTheRange)
{
    const TChartAxis bottomAxis(TAxisKind::Bottom), leftAxis(TAxisKind::Left);
    TAxisLayout bottom, left;
    bottom.SetRange(0, 100);
    left.SetRange(0, 100);
    bottom.PlaceAxis(bottomAxis, {0, 0, 110, 110});
    left.PlaceAxis(leftAxis, {0, 0, 110, 110});
    bottom.FitToMargins(5, 5);
    left.FitToMargins(5, 5);
    EXPECT_EQ(bottom.StartPixel(), 5);
    EXPECT_EQ(bottom.EndPixel(), 105);
    EXPECT_DOUBLE_EQ(bottom.RangeMin(), -5);
    EXPECT_DOUBLE_EQ(bottom.RangeMax(), 105);
    EXPECT_EQ(bottom.ValueToPixel(0), 10);
    EXPECT_DOUBLE_EQ(left.RangeMin(), -5);
    EXPECT_DOUBLE_EQ(left.RangeMax(), 105);

    TAxisLayout tiny;
    tiny.SetRange(0, 100);
    tiny.PlaceAxis(bottomAxis, {0, 0, 8, 8});
    tiny.FitToMargins(5, 5); // no room: left as it was
    EXPECT_EQ(tiny.RangeMax(), 100);
    EXPECT_EQ(tiny.PixelLength(), 8);
}

} // namespace
} // namespace qrv
