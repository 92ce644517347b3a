// Charts of values near the largest double, drawn headless: the line runs
// through the points where their share of the range puts them, and the
// labels stand apart along the axis instead of piling up at its centre.
#include "ChartTestSupport.h"

#include "DecimalSeparatorScope.h"
#include "QrvNumberText.h"
#include "RowNames.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <set>

namespace qrv
{
namespace
{

using test::CountColor;
using test::CountDark;
using test::IsColor;

const QColor Red(255, 0, 0);

// The pixel of a value by its share of the axis range, halved first so
// that nothing overflows: the mapping's result, computed another way.
int PixelByShare(const TAxisLayout& axis, double value)
{
    const double share = (value / 2 - axis.RangeMin() / 2) / (axis.RangeMax() / 2 - axis.RangeMin() / 2);
    const int n = static_cast<int>(std::lround(share * axis.PixelLength()));
    return axis.Scale.Horizontal ? axis.StartPixel() + n : axis.EndPixel() - n;
}

// y = f(x) for x = from, from + step, ... up to to, reaching the largest
// double: the steps are taken at half size, so k x step cannot overflow.
void FillWide(TLineSeries& s, double from, double to, double step, double (*f)(double))
{
    for (int k = 0;; ++k) {
        const double x = 2 * (from / 2 + k * (step / 2));
        if (!std::isfinite(x) || x > to) break;
        s.AddPoint(x, f(x), "", clRed);
    }
}

struct ExtremeCase {
    const char* name;
    double from, to, step;
    double (*formula)(double);
    int minLabels; // on each axis
};

class ChartExtremeValuesTest : public ::testing::TestWithParam<ExtremeCase>
{
protected:
    test::TDecimalSeparatorScope separators{'.', ','};
    void SetUp() override
    {
        plot = test::MakePlotChart(353, 305);
        FillWide(*plot.series, GetParam().from, GetParam().to, GetParam().step, GetParam().formula);
        image = MakeBitmap(*plot.chart, clWhite, plot.chart->size());
    }
    test::PlotChart plot;
    QImage image;
};

TEST_P(ChartExtremeValuesTest, PointsSitWhereTheirValuesBelong)
{
    const TAxisLayout& bottom = plot.chart->Layout().Bottom();
    const TAxisLayout& left = plot.chart->Layout().Left();
    const TLineSeries& s = *plot.series;
    // A sample of points, each on the line at its own place.
    const int count = s.PointCount();
    for (int i = 0; i < count; i += std::max(1, count / 12)) {
        const int px = PixelByShare(bottom, s.XValueAt(i));
        const int py = PixelByShare(left, s.YValueAt(i));
        EXPECT_EQ(bottom.ValueToPixel(s.XValueAt(i)), px) << "x of point " << i;
        EXPECT_EQ(left.ValueToPixel(s.YValueAt(i)), py) << "y of point " << i;
        // The line passes the point within a pixel (a grid dot may lie on it).
        EXPECT_GT(CountColor(image, QRect(px - 1, py - 1, 3, 3), Red), 0)
            << "point " << i << " at " << px << ", " << py;
    }
}

TEST_P(ChartExtremeValuesTest, LabelsStandApartAtTheirValues)
{
    const int fontHeight = QFontMetrics(ChartFont(), &image).height();
    for (const TAxisLayout* axis : {&plot.chart->Layout().Bottom(), &plot.chart->Layout().Left()}) {
        const std::vector<int> ticks = axis->TickPositions();
        EXPECT_GE(static_cast<int>(ticks.size()), GetParam().minLabels)
            << "horizontal " << axis->Scale.Horizontal;
        const std::set<int> distinct(ticks.begin(), ticks.end());
        EXPECT_EQ(distinct.size(), ticks.size()) << "no two labels on one place";
        for (std::size_t k = 1; k < ticks.size(); ++k)
            EXPECT_GE(std::abs(ticks[k] - ticks[k - 1]), fontHeight) << "labels " << k - 1 << " and " << k;
        for (int t : ticks) {
            EXPECT_GE(t, axis->StartPixel());
            EXPECT_LE(t, axis->EndPixel());
            // Text beside each tick.
            const QRect area = axis->Scale.Horizontal
                                   ? QRect(t - 15, axis->LabelsPos, 31, fontHeight)
                                   : QRect(axis->LabelsPos - 40, t - fontHeight / 2, 40, fontHeight);
            EXPECT_GT(CountDark(image, area), 3) << "label at " << t;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    NearTheLargestDouble, ChartExtremeValuesTest,
    ::testing::Values(ExtremeCase{"ExpUpToItsLimit", 700, 709, 1, [](double x) { return std::exp(x); }, 5},
                      ExtremeCase{"WholeDoubleRange", -DBL_MAX, DBL_MAX, 1e305, [](double x) { return x; },
                                  3},
                      ExtremeCase{"AlternatingLargest", 0, 10, 1,
                                  [](double x) { return DBL_MAX * (1 - 2 * std::fmod(x, 2.0)); }, 3}),
    test::RowName{});

TEST(ChartExtremeValues, ExponentialClimbsAboveTheCentreFromExp705On)
{
    test::PlotChart plot = test::MakePlotChart(353, 305);
    test::Fill(*plot.series, 700, 709, 1, [](double x) { return std::exp(x); });
    const QImage image = MakeBitmap(*plot.chart, clWhite, plot.chart->size());
    const TAxisLayout& left = plot.chart->Layout().Left();
    int previous = left.EndPixel();
    for (int x = 705; x <= 709; ++x) {
        const int y = left.ValueToPixel(std::exp(static_cast<double>(x)));
        EXPECT_LT(y, previous) << "exp(" << x << ") above exp(" << x - 1 << ")";
        previous = y;
    }
    EXPECT_EQ(previous, left.StartPixel()) << "the largest value at the top";
    // Red at the top of the axes rectangle, where the last point is.
    const TChartRect& r = plot.chart->AxesRect();
    EXPECT_GT(CountColor(image, QRect(r.Left, r.Top, r.Width() + 1, 3), Red), 0);
}

TEST(ChartExtremeValues, AlternatingLargestSpansTopToBottom)
{
    test::PlotChart plot = test::MakePlotChart(353, 305);
    test::Fill(*plot.series, 0, 10, 1, [](double x) { return DBL_MAX * (1 - 2 * std::fmod(x, 2.0)); });
    const QImage image = MakeBitmap(*plot.chart, clWhite, plot.chart->size());
    const TChartRect& r = plot.chart->AxesRect();
    const TAxisLayout& bottom = plot.chart->Layout().Bottom();
    for (int x = 0; x <= 10; ++x) {
        const int edge = x % 2 == 0 ? r.Top : r.Bottom;
        EXPECT_TRUE(IsColor(image, bottom.ValueToPixel(x), edge, Red)) << "x = " << x;
    }
}

} // namespace
} // namespace qrv
