// The curves of a document on one chart: a series per curve with the
// curve's look, and the trace over several curves, which follows the curve
// nearest the mouse, names it, and moves the table's highlight only along
// the table's curve.
#include "DecimalSeparatorScope.h"
#include "QrvChart.h"
#include "QrvChartSetup.h"
#include "QrvChartTrace.h"
#include "QrvCurve.h"
#include "QrvCurveRun.h"
#include "QrvCurveSeries.h"
#include "QrvPlotChart.h"
#include "QrvTableView.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace qrv::test
{
namespace
{

TCurve Curve(TColor color, int width, TLineStyle style, bool visible = true)
{
    TCurve c;
    c.Color = color;
    c.Width = width;
    c.Style = style;
    c.Visible = visible;
    return c;
}

TEST(CurveSeries, TakesTheCurvesLook)
{
    TChartPicture chart;
    TLineSeries& first = SetUpGraphChart(chart);
    struct Row {
        const char* Name;
        TCurve Curve;
        int Width;
        TPenStyle Style;
    };
    const Row rows[] = {
        {"dashed, wide", Curve(clGreen, 4, TLineStyle::Dash), 4, TPenStyle::psDash},
        {"too wide, dotted, hidden", Curve(clBlue, 99, TLineStyle::Dot, false), 8, TPenStyle::psDot},
    };
    for (const Row& r : rows) {
        TLineSeries& s = AddCurveSeries(chart, r.Curve, r.Name);
        EXPECT_EQ(s.LinePen.Width, r.Width) << r.Name;
        EXPECT_EQ(s.LinePen.Style, r.Style) << r.Name;
        EXPECT_EQ(s.Active(), r.Curve.Visible) << r.Name;
        EXPECT_EQ(s.Title(), r.Name);
        s.AddPoint(1, 2);
        EXPECT_EQ(s.PointColor(0), r.Curve.Color) << r.Name << ": points take the curve's colour";
    }
    ApplyCurveStyle(first, Curve(clGreen, 3, TLineStyle::Dot), "f1");
    EXPECT_EQ(first.LinePen.Width, 3);
    // Removing and moving keep the others in order.
    TChartSeries& third = chart.Series(2);
    chart.RemoveSeries(1);
    chart.MoveSeries(1, 0);
    EXPECT_EQ(chart.IndexOfSeries(third), 0);
    EXPECT_EQ(chart.IndexOfSeries(first), 1);
}

TEST(CurveSeries, CurvesOfOtherKindsAreDrawnAsTheirRunsMakeThem)
{
    // Over [-2, 2]^2, sin(x*y) = 0.5 where x*y is pi/6, 5 pi/6 or -7 pi/6:
    // six branches of hyperbolas. Each line's first point starts a piece of
    // the series, so no line joins two branches.
    const TDecimalSeparatorScope point('.');
    TCurve implicit;
    implicit.Kind = TCurveKind::Implicit;
    implicit.Formula = "sin(x*y)-0.5";
    implicit.XMin = implicit.YMin = "-2";
    implicit.XMax = implicit.YMax = "2";
    TCurve function;
    function.Formula = "x";
    function.XMin = "0";
    function.XMax = "1";
    function.Step = "1";
    TDocument document;
    document.Curves = {implicit, function, implicit};
    TChartPicture chart;
    TLineSeries* series[] = {&SetUpGraphChart(chart), nullptr, nullptr};
    ApplyCurveStyle(*series[0], document.Curves[0], "i");
    series[1] = &AddCurveSeries(chart, document.Curves[1], "f");
    // A series that held a function before takes the order of its new curve.
    ApplyCurveStyle(*series[1], document.Curves[2], "i");
    ApplyCurveStyle(*series[1], document.Curves[1], "f");
    series[2] = &AddCurveSeries(chart, document.Curves[2], "i");
    std::vector<TSeriesTableTarget> targets;
    for (TLineSeries* s : series)
        targets.emplace_back(s);
    std::vector<TPlotTarget*> plotTargets;
    for (TSeriesTableTarget& target : targets)
        plotTargets.push_back(&target);
    TCurveRunOptions options;
    options.Pixels = {200, 200};
    RunCurves(document, plotTargets, options);

    EXPECT_TRUE(series[1]->InXOrder());
    for (const int k : {0, 2}) {
        SCOPED_TRACE(k);
        const TLineSeries& s = *series[k];
        EXPECT_FALSE(s.InXOrder());
        int pieces = 1;
        double worst = 0;
        for (int i = 1; i < s.PointCount(); ++i) {
            if (s.LineBrokenBefore(i)) {
                ++pieces;
                continue;
            }
            // Within a piece the points are neighbours on one branch.
            worst = std::max(
                worst, std::hypot(s.XValueAt(i) - s.XValueAt(i - 1), s.YValueAt(i) - s.YValueAt(i - 1)));
        }
        EXPECT_EQ(pieces, 6);
        EXPECT_LT(worst, 0.1);
        EXPECT_NEAR(std::sin(s.XValueAt(0) * s.YValueAt(0)), 0.5, 1e-12)
            << "the first point lies on the curve";
        EXPECT_EQ(targets[std::size_t(k)].Table().LineCount(), 1u) << "the table has its note";
    }
}

class TwoCurveTrace : public ::testing::Test
{
protected:
    TDecimalSeparatorScope separators{'.'};
    void SetUp() override
    {
        chart.resize(400, 300);
        rising = &SetUpGraphChart(chart);
        rising->SetTitle("x");
        falling = &AddCurveSeries(chart, Curve(clBlue, 1, TLineStyle::Solid), "10-x");
        QString lines;
        for (int x = 0; x <= 10; ++x) {
            rising->AddPoint(x, x);
            falling->AddPoint(x, 10 - x);
            lines += QString::number(x) + "\n";
        }
        table.setPlainText(lines);
        trace = new TChartTrace(chart, *rising, table); // the chart's child
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        chart.repaint();
    }
    QPoint At(double x, double y)
    {
        return QPoint(chart.Layout().Bottom().ValueToPixel(x), chart.Layout().Left().ValueToPixel(y));
    }

    TChart chart;
    TTableView table;
    TLineSeries* rising = nullptr;
    TLineSeries* falling = nullptr;
    TChartTrace* trace = nullptr;
};

TEST_F(TwoCurveTrace, FollowsTheNearestCurveAndNamesIt)
{
    QSignalSpy changes(trace, &TChartTrace::TraceChanged);
    trace->MarkPoint(4);
    struct Row {
        const char* Name;
        QPoint Mouse;
        int Series, Point, TableLine;
        const char* Readout;
    };
    const Row rows[] = {
        {"on the falling curve: the table keeps its mark", At(2, 8), 1, 2, 4, "10-x   x = 2.000   y = 8.000"},
        {"near the rising curve", At(7, 7) + QPoint(2, 3), 0, 7, 7, "x   x = 7.000   y = 7.000"},
        {"same column, the other curve", At(7, 3) + QPoint(0, -2), 1, 7, 4, "10-x   x = 7.000   y = 3.000"},
        {"where they cross, the first", At(5, 5), 0, 5, 5, "x   x = 5.000   y = 5.000"},
        {"off the axes: the mark", QPoint(1, 1), 0, 4, 4, "x   x = 4.000   y = 4.000"},
    };
    for (const Row& r : rows) {
        QTest::mouseMove(&chart, r.Mouse);
        EXPECT_EQ(trace->TracedSeries(), r.Series) << r.Name;
        EXPECT_EQ(trace->ShownPoint(), r.Point) << r.Name;
        EXPECT_EQ(table.HighlightedLine(), r.TableLine) << r.Name;
        EXPECT_EQ(trace->ReadoutText(), r.Readout) << r.Name;
    }
    EXPECT_EQ(changes.count(), 6);
    // The table shows the other curve now: its line follows that one.
    trace->SetTableSeries(*falling);
    QTest::mouseMove(&chart, At(8, 2));
    EXPECT_EQ(table.HighlightedLine(), 8);
}

} // namespace
} // namespace qrv::test
