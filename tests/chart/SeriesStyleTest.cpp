// Several series in one chart, drawn headless: line width and style in the
// pixels, wide turns without spikes, hidden series neither drawn nor
// counted for the axes, and the legend in every picture.
#include "ChartTestSupport.h"

#include "DecimalSeparatorScope.h"
#include "metafile/MetafileReader.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

using test::CountColor;
using test::IsColor;
using test::MakePlotChart;

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);

class SeriesStyleTest : public ::testing::Test
{
protected:
    test::TDecimalSeparatorScope separators{'.', ','};
    void SetUp() override { plot = MakePlotChart(400, 300); }
    QImage Draw() { return MakeBitmap(chart(), clWhite, chart().size()); }
    TChart& chart() { return *plot.chart; }
    TLineSeries& first() { return *plot.series; }
    // A second series, blue, filled with f over the same range as the first.
    template <class F> TLineSeries& AddBlue(F f, const char* title = "second")
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

// Red pixels along a row between two columns, in runs.
struct TRowRuns {
    int Runs = 0;
    int Inked = 0;
};
TRowRuns RedRuns(const QImage& image, int y, int from, int to)
{
    TRowRuns r;
    bool previous = false;
    for (int x = from; x <= to; ++x) {
        const bool red = IsColor(image, x, y, Red);
        r.Runs += red && !previous;
        r.Inked += red;
        previous = red;
    }
    return r;
}

TEST_F(SeriesStyleTest, WidthAndStyleShowInThePixels)
{
    struct Row {
        const char* Name;
        int Width;
        TPenStyle Style;
        double Period; // pixels of a dash and its gap (0: solid)
        double Drawn;  // part of the period drawn
    };
    const Row rows[] = {
        {"thin solid", 1, TPenStyle::psSolid, 0, 1},     {"wide solid", 5, TPenStyle::psSolid, 0, 1},
        {"thin dashes", 1, TPenStyle::psDash, 6, 4},     {"wide dashes", 4, TPenStyle::psDash, 24, 16},
        {"thin dots", 1, TPenStyle::psDot, 3, 1},        {"wide dots", 6, TPenStyle::psDot, 18, 6},
        {"widest dashes", 8, TPenStyle::psDash, 48, 32},
    };
    // A horizontal line at the vertical centre, across the whole axes.
    test::Fill(first(), 0, 10, 1, [](double) { return 3.0; });
    for (const Row& r : rows) {
        first().SetLinePen({true, clBlack, r.Width, r.Style});
        const QImage image = Draw();
        const TChartRect& axes = chart().AxesRect();
        const int centre = chart().Layout().Left().CenterPixel();
        // Across the line where the first dash begins, at the axes' edge
        // (over the axis line): the width.
        EXPECT_EQ(CountColor(image, QRect(axes.Left, centre - 10, 1, 21), Red), r.Width) << r.Name;
        const int length = axes.Right - axes.Left - 1;
        const TRowRuns runs = RedRuns(image, centre, axes.Left + 1, axes.Right - 1);
        if (r.Period == 0) {
            EXPECT_EQ(runs.Runs, 1) << r.Name;
            EXPECT_EQ(runs.Inked, length) << r.Name;
        } else {
            EXPECT_NEAR(runs.Runs, length / r.Period, 1.5) << r.Name;
            EXPECT_NEAR(double(runs.Inked) / length, r.Drawn / r.Period, 0.05) << r.Name;
        }
    }
}

TEST_F(SeriesStyleTest, WideLinesTurnWithoutSpiking)
{
    // A sharp peak: up steeply and straight back down, then along the bottom.
    first().AddPoint(0, 0);
    first().AddPoint(0.05, 10);
    first().AddPoint(0.1, 0);
    first().AddPoint(2, 0);
    first().SetLinePen({true, clBlack, 8, TPenStyle::psSolid});
    // Room above the peak.
    TChartAxis& left = chart().LeftAxis();
    left.SetAutomatic(false);
    left.SetAutomaticMinimum(false);
    left.SetAutomaticMaximum(false);
    left.SetMinMax(0, 20);
    const QImage image = Draw();
    const TChartLayout& layout = chart().Layout();
    const int tipX = layout.Bottom().ValueToPixel(0.05), tipY = layout.Left().ValueToPixel(10);
    // A miter join would run many pixels above the tip; a bevelled one
    // stops within half the width of it.
    int highest = tipY;
    for (int y = 0; y < tipY; ++y)
        if (CountColor(image, QRect(tipX - 8, y, 17, 1), Red) > 0) {
            highest = y;
            break;
        }
    EXPECT_GE(highest, std::max(tipY - 5, chart().AxesRect().Top)) << "tip at " << tipY;
    EXPECT_GT(CountColor(image, QRect(tipX - 3, tipY, 7, 4), Red), 10) << "the line reaches the tip";
}

TEST_F(SeriesStyleTest, AxesScaleOverEveryShownSeriesOnly)
{
    test::Fill(first(), 0, 10, 0.5, [](double x) { return x; });      // 0 ... 10
    TLineSeries& wide = AddBlue([](double x) { return 3 * x - 20; }); // -20 ... 10
    TLineSeries& far = AddGraphSeries(chart());
    far.AddPoint(-50, 100);
    far.AddPoint(50, -100);
    far.SetActive(false);
    const TChartLayout& both = chart().Layout();
    EXPECT_EQ(both.Left().Minimum, -20);
    EXPECT_EQ(both.Left().Maximum, 10);
    EXPECT_EQ(both.Bottom().Minimum, 0) << "the hidden series does not count";
    EXPECT_EQ(both.Bottom().Maximum, 10);
    const QImage image = Draw();
    EXPECT_GT(CountColor(image, image.rect(), Blue), 100);

    far.SetActive(true);
    EXPECT_EQ(chart().Layout().Bottom().Minimum, -50) << "shown again, it counts";
    EXPECT_EQ(chart().Layout().Left().Maximum, 100);
    far.SetActive(false);
    wide.SetActive(false);
    EXPECT_EQ(chart().Layout().Left().Minimum, 0);
    EXPECT_EQ(CountColor(Draw(), QRect(0, 0, 400, 300), Blue), 0) << "a hidden series is not drawn";
    first().SetActive(false);
    EXPECT_FALSE(chart().Layout().Left().Shown) << "no shown series: no axes";
}

TEST_F(SeriesStyleTest, LegendShowsFromTwoShownSeries)
{
    test::Fill(first(), 0, 10, 0.5, [](double x) { return x; });
    first().SetTitle("x");
    EXPECT_FALSE(chart().Layout().Legend.Shown) << "one series: the picture of old";
    EXPECT_TRUE(chart().Layout().SeriesRuns.empty());

    TLineSeries& second = AddBlue([](double x) { return x - 2; }, "x-2");
    TLineSeries& hidden = AddBlue([](double x) { return 5 + x / 10; }, "hidden");
    hidden.SetActive(false);
    TLineSeries& third = AddBlue([](double) { return 5.0; }, "flat");
    third.SetLinePen({true, clBlack, 3, TPenStyle::psDot});
    third.SetSeriesColor(clGreen);

    const TLegendLayout& legend = chart().Layout().Legend;
    ASSERT_TRUE(legend.Shown);
    ASSERT_EQ(legend.Rows.size(), 3u);
    EXPECT_EQ(legend.Rows[0].Text, "x");
    EXPECT_EQ(legend.Rows[0].Color, clRed) << "the colour its points are drawn in";
    EXPECT_EQ(legend.Rows[1].Text, "x-2");
    EXPECT_EQ(legend.Rows[2].Series, chart().IndexOfSeries(third)) << "the hidden one has no row";
    EXPECT_EQ(legend.Rows[2].Pen.Width, 3);
    EXPECT_EQ(legend.Rows[2].Pen.Style, TPenStyle::psDot);
    const TChartRect& axes = chart().AxesRect();
    EXPECT_GT(legend.Box.Left, axes.Left);
    EXPECT_LT(legend.Box.Right, axes.Right);
    EXPECT_GT(legend.Box.Top, axes.Top);
    EXPECT_LT(legend.Box.Bottom, axes.Bottom);
    // The two rising lines cross the bottom left and top right corners, the
    // flat one runs through the middle: the top left is free.
    EXPECT_EQ(legend.Corner, TLegendCorner::TopLeft);

    // Drawn: the frame, a white inside over the lines, the samples.
    const QImage image = Draw();
    const TChartRect& box = legend.Box;
    EXPECT_TRUE(IsColor(image, (box.Left + box.Right) / 2, box.Top, Black));
    EXPECT_TRUE(IsColor(image, box.Left, (box.Top + box.Bottom) / 2, Black));
    const TLegendRow& dotted = legend.Rows[2];
    const int inked =
        CountColor(image, QRect(dotted.SampleFrom, dotted.SampleTo).adjusted(0, -2, 0, 2), QColor(0, 128, 0));
    EXPECT_GT(inked, 3 * 6) << "wide green dots";
    EXPECT_LT(inked, 3 * kLegendSample) << "with gaps";

    // Two series shown again: still a legend; one: none.
    third.SetActive(false);
    EXPECT_EQ(chart().Layout().Legend.Rows.size(), 2u);
    second.SetActive(false);
    EXPECT_FALSE(chart().Layout().Legend.Shown);
    second.SetActive(true);
    second.ShowInLegend = false;
    chart().RequestRepaint();
    EXPECT_FALSE(chart().Layout().Legend.Shown) << "only shown series that ask for a row count";
}

TEST_F(SeriesStyleTest, LongTitlesAreCutAndManyRowsEndInAnEllipsis)
{
    const QString ellipsis = QStringLiteral("\u2026");
    test::Fill(first(), 0, 10, 0.5, [](double x) { return x; });
    first().SetTitle(std::string(200, 'w'));
    AddBlue([](double x) { return -x; }, "short");
    const TLegendLayout& legend = chart().Layout().Legend;
    ASSERT_TRUE(legend.Shown);
    EXPECT_TRUE(legend.Rows[0].Text.endsWith(ellipsis));
    EXPECT_LE(legend.Box.Right - legend.Box.Left + 1, chart().AxesRect().Width() / 2);
    EXPECT_EQ(legend.Rows[1].Text, "short");

    for (int k = 0; k < 40; ++k)
        AddBlue([k](double x) { return x * k / 10; }, "more");
    const TLegendLayout& full = chart().Layout().Legend;
    ASSERT_TRUE(full.Shown);
    EXPECT_LT(full.Rows.size(), 42u);
    EXPECT_EQ(full.Rows.back().Text, ellipsis);
    EXPECT_EQ(full.Rows.back().Series, -1);
    EXPECT_LE(full.Box.Bottom, chart().AxesRect().Bottom - kLegendMargin);
    EXPECT_GE(full.Box.Top, chart().AxesRect().Top + kLegendMargin);

    // Too small a chart for two rows: no legend rather than a cut one.
    chart().resize(120, 60);
    EXPECT_FALSE(chart().Layout().Legend.Shown);
}

TEST_F(SeriesStyleTest, EveryPictureHoldsTheSameLegend)
{
    test::Fill(first(), 0, 10, 0.5, [](double x) { return x; });
    first().SetTitle("rising");
    AddBlue([](double x) { return 10 - x; }, "falling");
    // The screen through its buffer and a bitmap of the same size agree.
    QImage screen(chart().size(), QImage::Format_RGB32);
    {
        QPainter painter(&screen);
        chart().DrawChart(painter, chart().rect());
    }
    EXPECT_EQ(screen, Draw());
    // The metafiles write the titles as text.
    for (MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        const QByteArray bytes = MakeMetafile(chart(), kind, chart().size());
        const test::TMetafile f = kind == MetafileKind::Wmf ? test::ReadWmf(bytes) : test::ReadEmf(bytes);
        ASSERT_EQ(f.Error, "");
        QStringList texts;
        for (const test::TRecord* r :
             f.OfType(kind == MetafileKind::Wmf ? test::wmf::ExtTextOut : test::emf::ExtTextOutW))
            texts << test::TextRun(f, *r).Text;
        EXPECT_TRUE(texts.contains("rising")) << texts.join(" ").toStdString();
        EXPECT_TRUE(texts.contains("falling")) << texts.join(" ").toStdString();
    }
}

} // namespace
} // namespace qrv
