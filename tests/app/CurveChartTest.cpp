// The curves of a document on one chart: a series per curve with the
// curve's look, and the trace over several curves, which follows the curve
// nearest the mouse, names it, and moves the table's highlight only along
// the table's curve.
#include "DecimalSeparatorScope.h"
#include "QrvChart.h"
#include "QrvChartSetup.h"
#include "QrvChartTrace.h"
#include "QrvCurve.h"
#include "QrvCurveSeries.h"
#include "QrvTableView.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

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
