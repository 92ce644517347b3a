// The chart drawn headless into images: pixel probes that background, back
// wall, axes, labels and the line are where the layout says.
#include "ChartTestSupport.h"

#include "DecimalSeparatorScope.h"
#include "QrvNumberText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>

namespace qrv
{
namespace
{

using test::CountColor;
using test::CountDark;
using test::IsColor;
using test::MakePlotChart;

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);
const QColor Gray(128, 128, 128);
const QColor White(255, 255, 255);

class ChartRenderTest : public ::testing::Test
{
protected:
    test::TDecimalSeparatorScope separators{'.', ','};
    void SetUp() override { plot = MakePlotChart(400, 300); }
    QImage Draw() { return MakeBitmap(*plot.chart, clWhite, plot.chart->size()); }
    TChart& chart() { return *plot.chart; }
    TLineSeries& series() { return *plot.series; }
    int FontHeight() const { return QFontMetrics(ChartFont(), &probe).height(); }
    // The area where a label drawn for the tick at pixel t lies.
    QRect BottomLabelArea(int t) const
    {
        return QRect(t - 10, plot.chart->Layout().Bottom().LabelsPos, 21, FontHeight());
    }
    QRect LeftLabelArea(int t) const
    {
        const int right = plot.chart->Layout().Left().LabelsPos;
        return QRect(right - 40, t - FontHeight() / 2, 40, FontHeight());
    }

    test::PlotChart plot;
    QImage probe{1, 1, QImage::Format_RGB32};
};

TEST_F(ChartRenderTest, MarginsPlaceTheAxesRectangle)
{
    Draw();
    const TChartRect& r = chart().AxesRect();
    EXPECT_EQ(chart().PanelRect(), (TChartRect{0, 0, 400, 300}));
    // 3 % of 400 = 12 on the right; 4 % of 300 = 12 at the top.
    EXPECT_EQ(r.Right, 400 - 12);
    EXPECT_EQ(r.Top, 12);
    EXPECT_EQ(r.Bottom, 300 - 12 - 2 * FontHeight() - 6);
    EXPECT_GT(r.Left, 12 + 6);
}

TEST_F(ChartRenderTest, EmptyChartShowsWallAxesZeroLabelsAndTitles)
{
    const QImage image = Draw();
    const TChartRect& r = chart().AxesRect();
    EXPECT_TRUE(IsColor(image, 0, 0, White));
    EXPECT_TRUE(IsColor(image, 399, 299, White));
    // The back wall's outline on the top and right edges.
    EXPECT_TRUE(IsColor(image, (r.Left + r.Right) / 2, r.Top, Black));
    EXPECT_TRUE(IsColor(image, r.Right, (r.Top + r.Bottom) / 2, Black));
    // The axis lines, two pixels wide, outwards from the edges.
    const int xMid = (r.Left + r.Right) / 2 + 7; // clear of the centre tick
    EXPECT_TRUE(IsColor(image, xMid, r.Bottom, Black));
    EXPECT_TRUE(IsColor(image, xMid, r.Bottom + 1, Black));
    EXPECT_FALSE(IsColor(image, xMid, r.Bottom + 2, Black));
    const int yMid = (r.Top + r.Bottom) / 2 + 7;
    EXPECT_TRUE(IsColor(image, r.Left, yMid, Black));
    EXPECT_TRUE(IsColor(image, r.Left - 1, yMid, Black));
    EXPECT_FALSE(IsColor(image, r.Left - 2, yMid, Black));
    // One "0" label at each axis centre, nowhere else.
    const TAxisLayout& bottom = chart().Layout().Bottom();
    const TAxisLayout& left = chart().Layout().Left();
    ASSERT_EQ(bottom.TickPositions(), std::vector<int>{bottom.CenterPixel()});
    ASSERT_EQ(left.TickPositions(), std::vector<int>{left.CenterPixel()});
    EXPECT_GT(CountDark(image, BottomLabelArea(bottom.CenterPixel())), 5);
    EXPECT_EQ(CountDark(image, BottomLabelArea(r.Left + 20)), 0);
    EXPECT_GT(CountDark(image, LeftLabelArea(left.CenterPixel())), 5);
    EXPECT_EQ(CountDark(image, LeftLabelArea(r.Top + 20)), 0);
    // The titles: "X" centred below the labels, "Y" left of the labels.
    const int h = FontHeight();
    EXPECT_GT(CountDark(image, QRect(bottom.CenterPixel() - 8, bottom.TitlePos, 16, h)), 3);
    EXPECT_GT(CountDark(image, QRect(left.TitlePos - 10, left.CenterPixel() - h / 2, 10, h)), 3);
    // No line without points.
    EXPECT_EQ(CountColor(image, image.rect(), Red), 0);
}

TEST_F(ChartRenderTest, TicksGridAndLabelsFollowTheLabelWalk)
{
    test::Fill(series(), 0, 1000, 10, [](double x) { return x; });
    const QImage image = Draw();
    const TChartRect& r = chart().AxesRect();
    const TAxisLayout& bottom = chart().Layout().Bottom();
    ASSERT_GE(bottom.TickPositions().size(), 3u);
    // Produced from the top of the range downwards: 1,000 at the right edge.
    EXPECT_EQ(bottom.TickPositions().front(), r.Right);
    EXPECT_EQ(bottom.TickPositions().back(), r.Left);
    for (int t : bottom.TickPositions()) {
        EXPECT_TRUE(IsColor(image, t, r.Bottom + 3, Gray)) << "tick at " << t;
        EXPECT_GT(CountDark(image, BottomLabelArea(t)), 3) << "label at " << t;
    }
    // Grid: a dotted gray line across the rectangle at an inner tick.
    const int inner = bottom.TickPositions()[1];
    EXPECT_GT(CountColor(image, QRect(inner, r.Top + 1, 1, r.Height() / 2), Gray), r.Height() / 8);
    // Minor ticks halfway between two ticks, two pixels long.
    const int t0 = bottom.TickPositions()[1], t1 = bottom.TickPositions()[2];
    const int minor = (t0 + t1) / 2;
    EXPECT_TRUE(IsColor(image, minor, r.Bottom + 2, Gray) || IsColor(image, minor + 1, r.Bottom + 2, Gray));
    EXPECT_FALSE(IsColor(image, minor, r.Bottom + 5, Gray));
}

TEST_F(ChartRenderTest, LineRunsThroughTheMappedPoints)
{
    test::Fill(series(), 0, 10, 0.5, [](double x) { return x * x; });
    const QImage image = Draw();
    const TAxisLayout& b = chart().Layout().Bottom();
    const TAxisLayout& l = chart().Layout().Left();
    for (double x : {1.0, 3.5, 7.0}) {
        const int px = b.ValueToPixel(x), py = l.ValueToPixel(x * x);
        EXPECT_TRUE(IsColor(image, px, py, Red)) << "x = " << x;
    }
    // Nothing red outside the axes rectangle.
    const TChartRect& r = chart().AxesRect();
    const QRect inside(r.Left, r.Top, r.Width() + 1, r.Height() + 1);
    EXPECT_EQ(CountColor(image, image.rect(), Red), CountColor(image, inside, Red));
}

TEST_F(ChartRenderTest, ConstantFormulaIsAHorizontalLineAtTheCentreWithOneLabel)
{
    for (double big : {5.0, -5.0, 20000.0, 1e6}) {
        series().ClearPoints();
        test::Fill(series(), -3, 3, 0.1, [big](double) { return big; });
        const QImage image = Draw();
        const TChartRect& r = chart().AxesRect();
        const TAxisLayout& left = chart().Layout().Left();
        const int centre = left.CenterPixel();
        EXPECT_EQ(centre, (r.Top + r.Bottom) / 2);
        EXPECT_GE(CountColor(image, QRect(r.Left + 1, centre, r.Width() - 1, 1), Red), r.Width() - 2) << big;
        EXPECT_EQ(CountColor(image, image.rect(), Red), CountColor(image, QRect(0, centre, 400, 1), Red))
            << big;
        EXPECT_EQ(left.TickPositions(), std::vector<int>{centre}) << big;
        EXPECT_GT(CountDark(image, LeftLabelArea(centre)), 5) << big;
    }
}

TEST_F(ChartRenderTest, EachSegmentHasTheColourOfItsEndPoint)
{
    series().AddPoint(0, 0, "", clRed);
    series().AddPoint(1, 0, "", clBlue);
    series().AddPoint(2, 0, "", clRed);
    series().AddPoint(3, 1, "", clRed);
    const QImage image = Draw();
    const TAxisLayout& b = chart().Layout().Bottom();
    const int y = chart().Layout().Left().ValueToPixel(0);
    EXPECT_TRUE(IsColor(image, b.ValueToPixel(0.5), y, Blue));
    EXPECT_TRUE(IsColor(image, b.ValueToPixel(1.5), y, Red));
}

TEST_F(ChartRenderTest, NullPointLeavesAGap)
{
    series().AddPoint(0, 1, "", clRed);
    series().AddPoint(1, 1, "", clRed);
    series().AddPoint(2, 1, "", clNone);
    series().AddPoint(3, 1, "", clRed);
    series().AddPoint(4, 1, "", clRed);
    series().AddPoint(4.0001, 2, "", clRed); // keeps the range from collapsing
    const QImage image = Draw();
    const TAxisLayout& b = chart().Layout().Bottom();
    const int y = chart().Layout().Left().ValueToPixel(1);
    EXPECT_TRUE(IsColor(image, b.ValueToPixel(0.5), y, Red));
    EXPECT_FALSE(IsColor(image, b.ValueToPixel(1.5), y, Red));
    EXPECT_FALSE(IsColor(image, b.ValueToPixel(2.5), y, Red));
    EXPECT_TRUE(IsColor(image, b.ValueToPixel(3.5), y, Red));
}

TEST_F(ChartRenderTest, LinesTowardsAPointBeyondThePixelLimitRunToTheEdge)
{
    // A fixed 0 ... 10 vertical range: y = 1E7 lies millions of pixels up,
    // so both segments of that point rise almost straight up out of view.
    TChartAxis& left = chart().LeftAxis();
    left.SetAutomatic(false);
    left.SetAutomaticMinimum(false);
    left.SetAutomaticMaximum(false);
    left.SetMinMax(0, 10);
    series().AddPoint(0, 2, "", clRed);
    series().AddPoint(1, 1e7, "", clRed);
    series().AddPoint(2, 2, "", clRed);
    const QImage image = Draw();
    const int y = chart().Layout().Left().ValueToPixel(2);
    const int top = chart().AxesRect().Top;
    const TAxisLayout& b = chart().Layout().Bottom();
    for (int x : {b.ValueToPixel(0), b.ValueToPixel(2)})
        for (int row : {y - 2, (y + top) / 2, top + 2})
            EXPECT_TRUE(IsColor(image, x, row, Red)) << x << ", " << row;
    // No straight join under the far point.
    EXPECT_FALSE(IsColor(image, b.ValueToPixel(1), y, Red));
}

TEST_F(ChartRenderTest, ScreenBufferAndBitmapDrawTheSamePicture)
{
    test::Fill(series(), -2, 2, 0.01, [](double x) { return std::sin(5 * x); });
    EXPECT_FALSE(chart().BufferValid());
    const QImage screen = chart().grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(chart().BufferValid());
    const QImage bitmap = Draw();
    EXPECT_EQ(screen, bitmap);
    series().AddPoint(3, 0);
    EXPECT_FALSE(chart().BufferValid()) << "every change redraws";
    chart().grab();
    EXPECT_TRUE(chart().BufferValid());
    chart().resize(300, 200);
    const QImage resized = chart().grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(resized.size(), QSize(300, 200)) << "a new size redraws";
    EXPECT_EQ(resized, MakeBitmap(chart(), clWhite, chart().size()));
    chart().SetUseBuffer(false);
    EXPECT_EQ(chart().grab().toImage().convertToFormat(QImage::Format_RGB32),
              MakeBitmap(chart(), clWhite, chart().size()));
    EXPECT_FALSE(chart().BufferValid());
}

TEST_F(ChartRenderTest, DrawChartHonoursTheTargetRectangle)
{
    QImage image(500, 400, QImage::Format_RGB32);
    image.fill(Qt::blue);
    {
        QPainter painter(&image);
        chart().DrawChart(painter, QRect(50, 40, 400, 300));
    }
    EXPECT_TRUE(IsColor(image, 49, 39, Blue));
    EXPECT_TRUE(IsColor(image, 50, 40, White));
    EXPECT_TRUE(IsColor(image, 449, 339, White));
    EXPECT_TRUE(IsColor(image, 450, 340, Blue));
}

TEST_F(ChartRenderTest, PrintingLeavesTheBackgroundAlone)
{
    chart().SetPrinting(true);
    const QImage image = MakeBitmap(chart(), clBlue, chart().size());
    chart().SetPrinting(false);
    EXPECT_TRUE(IsColor(image, 0, 0, Blue));
    const TChartRect& r = chart().AxesRect();
    EXPECT_TRUE(IsColor(image, r.Right, (r.Top + r.Bottom) / 2, Black));
}

TEST_F(ChartRenderTest, TinyChartsDrawWithoutFault)
{
    test::Fill(series(), 0, 100, 1, [](double x) { return x; });
    for (QSize size : {QSize(1, 1), QSize(2, 30), QSize(30, 2), QSize(25, 20)}) {
        chart().resize(size);
        const QImage image = MakeBitmap(chart(), clWhite, chart().size());
        EXPECT_EQ(image.size(), size);
    }
}

TEST_F(ChartRenderTest, HugeRangeEndsAndDraws)
{
    series().AddPoint(0, -1.7e308);
    series().AddPoint(1, 1.7e308);
    const QImage image = Draw();
    EXPECT_EQ(image.size(), QSize(400, 300));
    EXPECT_LE(chart().Layout().Left().TickPositions().size(), static_cast<std::size_t>(MaxTickPositions));
}

} // namespace
} // namespace qrv
