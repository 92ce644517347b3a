// Axis layout with real font metrics: range from the series, label texts,
// the room reserved beside the axes rectangle, placement and margins.
#include "ChartTestSupport.h"

#include "DecimalSeparatorScope.h"
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

TEST_F(AxisLayoutTest, RangeFollowsActiveSeriesWithPoints)
{
    TLineSeries a, b, empty, inactive;
    a.AddPoint(1, -3);
    a.AddPoint(4, 2);
    b.AddPoint(-2, 10);
    inactive.AddPoint(100, 100);
    inactive.SetActive(false);
    TChartAxis bottom(TAxisKind::Bottom), left(TAxisKind::Left);
    bottom.ComputeRange({&a, &b, &empty, &inactive});
    left.ComputeRange({&a, &b, &empty, &inactive});
    EXPECT_EQ(bottom.RangeMin(), -2);
    EXPECT_EQ(bottom.RangeMax(), 4);
    EXPECT_EQ(bottom.RangeSpan(), 6);
    EXPECT_EQ(left.RangeMin(), -3);
    EXPECT_EQ(left.RangeMax(), 10);

    left.ComputeRange({&empty});
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
    fixed.ComputeRange({&a});
    EXPECT_EQ(fixed.RangeMin(), -1);
    EXPECT_EQ(fixed.RangeMax(), 7);

    // A saved state brings the automatic range back.
    fixed.SetRangeState(TAxisRangeState{});
    EXPECT_EQ(repaints, 5);
    fixed.ComputeRange({&a});
    EXPECT_EQ(fixed.RangeMin(), -3);
    EXPECT_EQ(fixed.RangeMax(), 2);
}

TEST_F(AxisLayoutTest, ThousandOnThreeHundredPixelsStepsByHundred)
{
    TChartAxis axis(TAxisKind::Bottom);
    axis.SetRange(0, 1000);
    axis.PlaceAxis({20, 10, 320, 200});
    ASSERT_EQ(axis.PixelLength(), 300);
    EXPECT_EQ(axis.ComputeIncrement(Metrics(axis.LabelsFont)), 100);
}

TEST_F(AxisLayoutTest, BottomAxisReservesTitleLabelsAndTicks)
{
    TChartAxis axis(TAxisKind::Bottom);
    axis.Title.Caption = "X";
    axis.SetRange(0, 10);
    TChartRect rect{10, 10, 390, 290};
    const int h = Metrics(axis.LabelsFont).height();
    axis.ReserveAxisSpace(rect, Metrics(axis.LabelsFont), Metrics(axis.Title.Font));
    EXPECT_EQ(axis.TitlePos(), 290 - h);
    EXPECT_EQ(axis.LabelsPos(), 290 - 2 * h);
    EXPECT_EQ(rect, (TChartRect{10, 10, 390, 290 - 2 * h - 6}));
}

TEST_F(AxisLayoutTest, LeftAxisReservesWidthOfRoundedLabels)
{
    TChartAxis axis(TAxisKind::Left);
    axis.Title.Caption = "Y";
    axis.Title.Angle = 0;
    axis.SetRange(-1234.5, 20);
    // 280 pixels of height give room for nearest(280 / 13) = 22 labels: step
    // 100, and the widest rounded label is trunc(-12.345) * 100 = -1,200.
    const QFontMetrics fm = Metrics(axis.LabelsFont);
    ASSERT_EQ(fm.height(), 12);
    TChartRect rect{10, 10, 390, 290};
    axis.ReserveAxisSpace(rect, fm, Metrics(axis.Title.Font));
    const int titleWidth = fm.horizontalAdvance("Y");
    const int labelsWidth = fm.horizontalAdvance("-1,200") + fm.horizontalAdvance(" ");
    EXPECT_EQ(axis.TitlePos(), 10 + titleWidth);
    EXPECT_EQ(axis.LabelsPos(), 10 + titleWidth + labelsWidth);
    EXPECT_EQ(rect.Left, 10 + titleWidth + labelsWidth + 6);

    // The reservation depends on this layout only, not on the one before.
    axis.PlaceAxis({60, 10, 390, 30});
    TChartRect again{10, 10, 390, 290};
    axis.ReserveAxisSpace(again, fm, Metrics(axis.Title.Font));
    EXPECT_EQ(again, rect);
}

TEST_F(AxisLayoutTest, PlacementSpansTheRectangle)
{
    TChartAxis bottom(TAxisKind::Bottom), left(TAxisKind::Left);
    const TChartRect r{40, 12, 380, 260};
    bottom.PlaceAxis(r);
    left.PlaceAxis(r);
    EXPECT_EQ(bottom.StartPixel(), 40);
    EXPECT_EQ(bottom.EndPixel(), 380);
    EXPECT_EQ(bottom.CenterPixel(), 210);
    EXPECT_EQ(bottom.AxisLinePos(), 260);
    EXPECT_EQ(left.StartPixel(), 12);
    EXPECT_EQ(left.EndPixel(), 260);
    EXPECT_EQ(left.AxisLinePos(), 40);
    left.StartPosition = 10;
    left.EndPosition = 90;
    left.PlaceAxis(r);
    EXPECT_EQ(left.StartPixel(), 12 + 25); // nearest(248 * 0.1) = 25
    EXPECT_EQ(left.EndPixel(), 12 + 223);  // nearest(248 * 0.9) = 223
}

TEST_F(AxisLayoutTest, MarginsWidenTheRange)
{
    TChartAxis bottom(TAxisKind::Bottom), left(TAxisKind::Left);
    bottom.SetRange(0, 100);
    left.SetRange(0, 100);
    bottom.PlaceAxis({0, 0, 110, 110});
    left.PlaceAxis({0, 0, 110, 110});
    bottom.FitToMargins(5, 5);
    left.FitToMargins(5, 5);
    EXPECT_EQ(bottom.StartPixel(), 5);
    EXPECT_EQ(bottom.EndPixel(), 105);
    EXPECT_DOUBLE_EQ(bottom.RangeMin(), -5);
    EXPECT_DOUBLE_EQ(bottom.RangeMax(), 105);
    EXPECT_EQ(bottom.ValueToPixel(0), 10);
    EXPECT_DOUBLE_EQ(left.RangeMin(), -5);
    EXPECT_DOUBLE_EQ(left.RangeMax(), 105);

    TChartAxis tiny(TAxisKind::Bottom);
    tiny.SetRange(0, 100);
    tiny.PlaceAxis({0, 0, 8, 8});
    tiny.FitToMargins(5, 5); // no room: left as it was
    EXPECT_EQ(tiny.RangeMax(), 100);
    EXPECT_EQ(tiny.PixelLength(), 8);
}

} // namespace
} // namespace qrv
