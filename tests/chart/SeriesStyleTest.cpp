// Several series in one chart, drawn headless: width and style in the
// pixels, wide turns without spikes, hidden series neither drawn nor
// counted, and the legend's rows and corner.
#include "ChartTestSupport.h"

#include "DecimalSeparatorScope.h"

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

using test::CountColor;

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

class SeriesStyleTest : public ::testing::Test
{
protected:
    test::TDecimalSeparatorScope separators{'.', ','};
    void SetUp() override { plot = test::MakePlotChart(400, 300); }
    QImage Draw() { return MakeBitmap(chart(), clWhite, chart().size()); }
    TChart& chart() { return *plot.chart; }
    TLineSeries& first() { return *plot.series; }
    // A further blue series of y = f(x), x = 0, 0.5, ... 10.
    template <class F> TLineSeries& Add(F f, const char* title)
    {
        TLineSeries& s = AddGraphSeries(chart());
        s.SetSeriesColor(clBlue);
        s.SetTitle(title);
        for (int k = 0; k <= 20; ++k)
            s.AddPoint(k * 0.5, f(k * 0.5)); // in the series colour
        return s;
    }
    test::PlotChart plot;
};

TEST_F(SeriesStyleTest, WidthAndStyleShowInThePixels)
{
    struct Row {
        const char* Name;
        int Width;
        TPenStyle Style;
        int Period; // pixels of a dash and its gap: 6 or 3 widths; 0 solid
    };
    const Row rows[] = {{"thin solid", 1, TPenStyle::psSolid, 0},
                        {"wide solid", 5, TPenStyle::psSolid, 0},
                        {"thin dashes", 1, TPenStyle::psDash, 6},
                        {"wide dashes", 4, TPenStyle::psDash, 24},
                        {"wide dots", 6, TPenStyle::psDot, 18}};
    test::Fill(first(), 0, 10, 1, [](double) { return 3.0; }); // a line across the centre
    for (const Row& r : rows) {
        first().SetLinePen({true, clBlack, r.Width, r.Style});
        const QImage image = Draw();
        const TChartRect& axes = chart().AxesRect();
        const int centre = chart().Layout().Left().CenterPixel();
        // Across the line where its first dash begins: the width.
        EXPECT_EQ(CountColor(image, QRect(axes.Left, centre - 10, 1, 21), Red), r.Width) << r.Name;
        int runs = 0;
        for (int x = axes.Left; x <= axes.Right; ++x)
            runs += image.pixel(x, centre) == Red.rgb() && image.pixel(x - 1, centre) != Red.rgb();
        const int length = axes.Right - axes.Left + 1;
        EXPECT_NEAR(runs, r.Period ? (length + r.Period - 1) / r.Period : 1, 1) << r.Name;
    }
}

TEST_F(SeriesStyleTest, WideLinesTurnWithoutSpiking)
{
    // A sharp peak, with room above it.
    for (const auto& [x, y] : {std::pair(0.0, 0.0), {0.05, 10.0}, {0.1, 0.0}, {2.0, 0.0}})
        first().AddPoint(x, y);
    first().SetLinePen({true, clBlack, 8, TPenStyle::psSolid});
    TChartAxis& left = chart().LeftAxis();
    left.SetAutomatic(false);
    left.SetAutomaticMinimum(false);
    left.SetAutomaticMaximum(false);
    left.SetMinMax(0, 20);
    const QImage image = Draw();
    const int tipX = chart().Layout().Bottom().ValueToPixel(0.05),
              tipY = chart().Layout().Left().ValueToPixel(10);
    // A miter join runs 16 pixels above the tip; the bevel stops within 4.
    EXPECT_EQ(CountColor(image, QRect(tipX - 8, tipY - 40, 17, 35), Red), 0);
    EXPECT_GT(CountColor(image, QRect(tipX - 3, tipY, 7, 4), Red), 10) << "the line reaches the tip";
}

TEST_F(SeriesStyleTest, AxesScaleOverTheShownSeriesAlone)
{
    test::Fill(first(), 0, 10, 0.5, [](double x) { return x; });
    TLineSeries& wide = Add([](double x) { return 3 * x - 20; }, "wide");
    TLineSeries& far = AddGraphSeries(chart());
    far.AddPoint(-50, 100);
    far.AddPoint(50, -100);
    far.SetActive(false);
    EXPECT_EQ(chart().Layout().Left().Minimum, -20);
    EXPECT_EQ(chart().Layout().Left().Maximum, 10);
    EXPECT_EQ(chart().Layout().Bottom().Minimum, 0) << "the hidden series does not count";
    far.SetActive(true);
    EXPECT_EQ(chart().Layout().Bottom().Minimum, -50);
    far.SetActive(false);
    wide.SetActive(false);
    EXPECT_EQ(chart().Layout().Left().Minimum, 0);
    EXPECT_EQ(CountColor(Draw(), QRect(0, 0, 400, 300), Blue), 0) << "a hidden series is not drawn";
}

TEST_F(SeriesStyleTest, LegendRowsForShownSeriesInTheEmptiestCorner)
{
    test::Fill(first(), 0, 10, 0.5, [](double x) { return x; });
    first().SetTitle(std::string(200, 'w'));
    EXPECT_FALSE(chart().Layout().Legend.Shown) << "one series: the picture of old";
    TLineSeries& second = Add([](double x) { return x - 2; }, "x-2");
    Add([](double) { return 5.0; }, "hidden").SetActive(false);
    TLineSeries& flat = Add([](double) { return 5.0; }, "flat");
    flat.SetLinePen({true, clBlack, 3, TPenStyle::psDot});

    const TLegendLayout& legend = chart().Layout().Legend;
    ASSERT_TRUE(legend.Shown);
    ASSERT_EQ(legend.Rows.size(), 3u) << "no row for the hidden series";
    EXPECT_TRUE(legend.Rows[0].Text.endsWith(QStringLiteral("\u2026"))) << "a long title is cut";
    EXPECT_LE(legend.Box.Right - legend.Box.Left + 1, chart().AxesRect().Width() / 2);
    EXPECT_EQ(legend.Rows[0].Color, clRed) << "the colour its points are drawn in";
    EXPECT_EQ(legend.Rows[1].Text, "x-2");
    EXPECT_EQ(legend.Rows[2].Series, chart().IndexOfSeries(flat));
    EXPECT_EQ(legend.Rows[2].Pen.Width, 3);
    // The rising lines cross the bottom left and top right corners, the
    // flat one runs through the middle: the top left is free.
    EXPECT_EQ(legend.Corner, TLegendCorner::TopLeft);
    // Drawn over the lines: the dotted sample with its gaps.
    const QImage image = Draw();
    const TLegendRow& dotted = legend.Rows[2];
    const int inked =
        CountColor(image, QRect(dotted.SampleFrom, dotted.SampleTo).adjusted(0, -2, 0, 2), Blue);
    EXPECT_GT(inked, 3 * 6);
    EXPECT_LT(inked, 3 * kLegendSample);
    flat.SetActive(false);
    second.ShowInLegend = false;
    chart().RequestRepaint();
    EXPECT_FALSE(chart().Layout().Legend.Shown) << "one series asks for a row";
}

} // namespace
} // namespace qrv
