// The chart's layout as a value: computed for any target without a window,
// kept by the window for its mouse, and untouched by pictures of other
// sizes; setters that repaint by themselves.
#include "ChartTestSupport.h"

#include "QrvChartLayout.h"
#include "QrvNumberText.h"

#include <QTest>

#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

// Axes and one line series as a chart holds them, with no window.
struct TLooseChart {
    TChartFrame frame;
    TChartAxis bottom{TAxisKind::Bottom}, top{TAxisKind::Top}, left{TAxisKind::Left}, right{TAxisKind::Right},
        depth{TAxisKind::Depth};
    TLineSeries series;

    TLooseChart()
    {
        bottom.Title.Caption = "X";
        left.Title.Caption = "Y";
        left.Title.Angle = 0;
        series.Pointer.Visible = false; // no pixel margins at the ends
        for (int x = -10; x <= 30; ++x)
            series.AddPoint(x, 0.5 * x);
    }
    TChartContent Content() { return {frame, {&bottom, &top, &left, &right, &depth}, {&series}}; }
};

class ChartLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDecimalSeparator('.');
        SetThousandSeparator(',');
    }
    QImage device{1, 1, QImage::Format_RGB32};
};

TEST_F(ChartLayoutTest, ComputedForATargetWithoutAWindow)
{
    TLooseChart c;
    const TChartLayout layout = ComputeChartLayout(c.Content(), QRect(0, 0, 400, 300), &device);
    EXPECT_EQ(layout.PanelRect, (TChartRect{0, 0, 400, 300}));
    // The margins (3 % and 4 %) on the sides without an axis; the bottom
    // and left axes take room beyond theirs.
    EXPECT_EQ(layout.AxesRect.Top, 12);
    EXPECT_EQ(layout.AxesRect.Right, 388);
    EXPECT_GT(layout.AxesRect.Left, 12);
    EXPECT_LT(layout.AxesRect.Bottom, 288);
    EXPECT_TRUE(layout.Bottom().Shown);
    EXPECT_TRUE(layout.Left().Shown);
    EXPECT_FALSE(layout.Top().Shown) << "no series on it";
    EXPECT_FALSE(layout.Right().Shown);
    EXPECT_EQ(layout.Bottom().RangeMin(), -10);
    EXPECT_EQ(layout.Bottom().RangeMax(), 30);
    EXPECT_EQ(layout.Left().RangeMax(), 15);
    EXPECT_EQ(layout.Bottom().ValueToPixel(-10), layout.AxesRect.Left);
    EXPECT_EQ(layout.Bottom().ValueToPixel(30), layout.AxesRect.Right);
    EXPECT_GE(layout.Bottom().Labels.size(), 3u);
    EXPECT_GT(layout.Bottom().LabelsPos, layout.AxesRect.Bottom);
    EXPECT_LT(layout.Left().LabelsPos, layout.AxesRect.Left);
    EXPECT_TRUE(c.bottom.Automatic()) << "the axes are only read";
    EXPECT_EQ(c.bottom.Minimum(), 0);
}

TEST_F(ChartLayoutTest, SettingsShapeTheLayout)
{
    const struct {
        const char* name;
        std::function<void(TLooseChart&)> change;
        TChartRect axesRect; // with no axes drawn
    } rows[] = {
        {"Margins", [](TLooseChart& c) { c.frame.MarginLeft = c.frame.MarginTop = 10; }, {40, 30, 388, 288}},
        {"Border", [](TLooseChart& c) { c.frame.BorderWidth = 5; }, {17, 17, 383, 283}},
        {"NoMargins",
         [](TLooseChart& c) { c.frame.MarginLeft = c.frame.MarginRight = 0; },
         {0, 12, 400, 288}},
        // Margins that cross leave a rectangle one pixel wide.
        {"Crossing",
         [](TLooseChart& c) { c.frame.MarginLeft = c.frame.MarginRight = 60; },
         {240, 12, 241, 288}},
    };
    for (const auto& row : rows) {
        TLooseChart c;
        c.frame.AxisVisible = false;
        row.change(c);
        const TChartLayout layout = ComputeChartLayout(c.Content(), QRect(0, 0, 400, 300), &device);
        EXPECT_EQ(layout.AxesRect, row.axesRect) << row.name;
        EXPECT_FALSE(layout.Bottom().Shown) << row.name;
    }
}

TEST_F(ChartLayoutTest, AnotherOriginShiftsEverything)
{
    TLooseChart c;
    const TChartLayout at0 = ComputeChartLayout(c.Content(), QRect(0, 0, 400, 300), &device);
    const TChartLayout moved = ComputeChartLayout(c.Content(), QRect(50, 40, 400, 300), &device);
    const TChartRect& a = at0.AxesRect;
    EXPECT_EQ(moved.AxesRect, (TChartRect{a.Left + 50, a.Top + 40, a.Right + 50, a.Bottom + 40}));
    EXPECT_EQ(moved.Bottom().LabelsPos, at0.Bottom().LabelsPos + 40);
    EXPECT_EQ(moved.Left().LabelsPos, at0.Left().LabelsPos + 50);
    EXPECT_EQ(moved.Bottom().ValueToPixel(7), at0.Bottom().ValueToPixel(7) + 50);
    EXPECT_EQ(moved.Left().ValueToPixel(7), at0.Left().ValueToPixel(7) + 40);
}

// One unit as many pixels across as up, in exact pixel positions, for a
// circle of radius 2 about (1, -3) at several sizes; without the option the
// circle is an ellipse at all of them.
TEST_F(ChartLayoutTest, EqualScalesDrawACircleRoundAtEverySize)
{
    const QSize sizes[] = {{400, 300}, {300, 400}, {1000, 700}, {353, 305}, {120, 600}, {2400, 1500}};
    for (const QSize& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        TLooseChart c;
        c.series.ClearPoints();
        test::FillCircle(c.series, 1, -3, 2);
        const auto ratio = [&](const TChartLayout& l) {
            const Float across = l.Bottom().Scale.PixelOf(3).Exact - l.Bottom().Scale.PixelOf(-1).Exact;
            const Float up = l.Left().Scale.PixelOf(-5).Exact - l.Left().Scale.PixelOf(-1).Exact;
            return static_cast<double>(across / up);
        };
        const QRect target(QPoint(0, 0), size);
        EXPECT_GT(std::abs(ratio(ComputeChartLayout(c.Content(), target, &device)) - 1), 0.05);

        c.frame.EqualScales = true;
        const TChartLayout l = ComputeChartLayout(c.Content(), target, &device);
        EXPECT_NEAR(ratio(l), 1.0, 1e-12);
        const TAxisLayout& b = l.Bottom();
        const TAxisLayout& v = l.Left();
        // The drawn pixels: as far across as up, give or take the rounding.
        EXPECT_LE(std::abs(std::abs(b.ValueToPixel(3) - b.ValueToPixel(-1)) -
                           std::abs(v.ValueToPixel(-5) - v.ValueToPixel(-1))),
                  1);
        // One axis keeps the data's range; the other grew about its centre.
        const bool keepsX = b.RangeMin() == -1 && b.RangeMax() == 3;
        EXPECT_NE(keepsX, v.RangeMin() == -5 && v.RangeMax() == -1);
        EXPECT_TRUE(keepsX ? v.RangeMin() < -5 : b.RangeMin() < -1);
        EXPECT_NEAR(b.RangeMin() / 2 + b.RangeMax() / 2, 1, 1e-12);
        EXPECT_NEAR(v.RangeMin() / 2 + v.RangeMax() / 2, -3, 1e-12);
        // The room beside the left axis is taken for the widened range's
        // labels ("-15" where the data's would be "-5").
        const QFontMetrics fm(c.left.LabelsFont.Font, &device);
        for (const TAxisLabel& label : v.Labels)
            EXPECT_LE(fm.horizontalAdvance(c.left.LabelText(label.Value)), v.LabelsPos - v.TitlePos)
                << label.Value;
    }
}

std::vector<double> LabelValues(const TAxisLayout& axis)
{
    std::vector<double> values;
    for (const TAxisLabel& label : axis.Labels)
        values.push_back(RoundHalfEven(label.Value * 1e9) / 1e9);
    return values;
}

TEST_F(ChartLayoutTest, FineLabelsGiveSinItsScaleAndLeaveTheBottomAxisAlone)
{
    TLooseChart c;
    c.series.ClearPoints();
    for (int k = 0; k <= 100; ++k)
        c.series.AddPoint(k * 0.1, std::sin(k * 0.1));
    const TChartLayout off = ComputeChartLayout(c.Content(), QRect(0, 0, 400, 300), &device);
    c.frame.FineLabels = true;
    const TChartLayout on = ComputeChartLayout(c.Content(), QRect(0, 0, 400, 300), &device);
    EXPECT_EQ(LabelValues(off.Left()), (std::vector<double>{0}));
    // 1 and -1 on the ends, which the curve reaches within a pixel.
    EXPECT_EQ(LabelValues(on.Left()), (std::vector<double>{1, 0.5, 0, -0.5, -1}));
    EXPECT_EQ(on.Left().Labels.front().Pixel, on.AxesRect.Top);
    EXPECT_EQ(LabelValues(on.Bottom()), LabelValues(off.Bottom()));
}

TEST_F(ChartLayoutTest, FineLabelsGetRoomForTheirWidestLabel)
{
    // The label of the bottom end, "-10", is wider than those of the
    // rounded ends (-9 and -7), which the room is taken for without the
    // option.
    TLooseChart c;
    c.series.ClearPoints();
    c.series.AddPoint(0, -9.9999);
    c.series.AddPoint(1, -7);
    c.frame.FineLabels = true;
    const TChartLayout l = ComputeChartLayout(c.Content(), QRect(0, 0, 400, 300), &device);
    ASSERT_EQ(LabelValues(l.Left()), (std::vector<double>{-7, -8, -9, -10}));
    const QFontMetrics fm(c.left.LabelsFont.Font, &device);
    EXPECT_GE(l.Left().LabelsPos - l.Left().TitlePos, fm.horizontalAdvance(QStringLiteral("-10")));
}

class ChartWindowLayoutTest : public ChartLayoutTest
{
protected:
    void SetUp() override
    {
        ChartLayoutTest::SetUp();
        plot = test::MakePlotChart(400, 300);
        test::Fill(*plot.series, 0.0, 10.0, 0.1, [](double x) { return x; });
        chart().grab();
    }
    TChart& chart() { return *plot.chart; }
    test::PlotChart plot;
};

TEST_F(ChartWindowLayoutTest, PicturesOfOtherSizesLeaveTheMouseAreasAlone)
{
    const TChartLayout screen = chart().Layout();
    const double x0 = screen.Bottom().PixelToValue(100), x1 = screen.Bottom().PixelToValue(200);
    (void)MakeBitmap(chart(), clWhite, QSize(120, 90));
    (void)MakeMetafile(chart(), MetafileKind::Emf, QSize(160, 100));
    EXPECT_EQ(chart().AxesRect(), screen.AxesRect);
    EXPECT_EQ(chart().Layout().Bottom().LabelsPos, screen.Bottom().LabelsPos);

    // The bottom axis' click area is where the window shows it.
    const int y = screen.AxesRect.Bottom + 2;
    QTest::mousePress(&chart(), Qt::LeftButton, {}, {150, y});
    EXPECT_TRUE(chart().Zoom().ZoomDrag().Active);
    QTest::mouseRelease(&chart(), Qt::LeftButton, {}, {150, y});

    (void)MakeBitmap(chart(), clWhite, QSize(120, 90));
    QTest::mousePress(&chart(), Qt::LeftButton, {}, {100, 80});
    QTest::mouseMove(&chart(), {200, 150});
    QTest::mouseRelease(&chart(), Qt::LeftButton, {}, {200, 150});
    EXPECT_EQ(chart().BottomAxis().Minimum(), x0);
    EXPECT_EQ(chart().BottomAxis().Maximum(), x1);
}

TEST_F(ChartWindowLayoutTest, TheWindowLayoutFollowsChangesBeforeTheyArePainted)
{
    ASSERT_EQ(chart().Layout().Bottom().RangeMax(), 10.0);
    plot.series->AddPoint(20.0, 0.0);
    EXPECT_EQ(chart().Layout().Bottom().RangeMax(), 20.0);
    chart().resize(300, 200);
    EXPECT_EQ(chart().PanelRect(), (TChartRect{0, 0, 300, 200}));
}

TEST_F(ChartWindowLayoutTest, SettersRepaintWhenTheValueChanges)
{
    const struct {
        const char* name;
        std::function<void(TChart&)> set;
        bool repaints;
    } rows[] = {
        {"Color", [](TChart& c) { c.SetColor(clBlue); }, true},
        {"SameColor", [](TChart& c) { c.SetColor(c.Color()); }, false},
        {"MarginLeft", [](TChart& c) { c.SetMarginLeft(10); }, true},
        {"MarginTop", [](TChart& c) { c.SetMarginTop(10); }, true},
        {"MarginRight", [](TChart& c) { c.SetMarginRight(10); }, true},
        {"MarginBottom", [](TChart& c) { c.SetMarginBottom(10); }, true},
        {"SameMargin", [](TChart& c) { c.SetMarginLeft(c.MarginLeft()); }, false},
        {"BorderWidth", [](TChart& c) { c.SetBorderWidth(2); }, true},
        {"AxisVisible", [](TChart& c) { c.SetAxisVisible(false); }, true},
        {"ClipPoints", [](TChart& c) { c.SetClipPoints(false); }, true},
        {"BackWall", [](TChart& c) { c.SetBackWall(c.BackWall()); }, true},
        {"EqualScales", [](TChart& c) { c.SetEqualScales(true); }, true},
        {"SameEqualScales", [](TChart& c) { c.SetEqualScales(c.EqualScales()); }, false},
        {"FineLabels", [](TChart& c) { c.SetFineLabels(true); }, true},
        {"SameFineLabels", [](TChart& c) { c.SetFineLabels(c.FineLabels()); }, false},
        // Zoom and print settings change no picture.
        {"AllowZoom", [](TChart& c) { c.SetAllowZoom(false); }, false},
        {"PrintProportional", [](TChart& c) { c.SetPrintProportional(false); }, false},
    };
    for (const auto& row : rows) {
        plot = test::MakePlotChart(400, 300);
        chart().grab();
        ASSERT_TRUE(chart().BufferValid()) << row.name;
        row.set(chart());
        EXPECT_EQ(!chart().BufferValid(), row.repaints) << row.name;
    }
    chart().SetMarginLeft(10);
    EXPECT_EQ(chart().AxesRect().Left, chart().LayoutFor(chart().rect(), &device).AxesRect.Left);
}

} // namespace
} // namespace qrv
