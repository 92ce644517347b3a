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
    c.Formula = "x";
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
        {"solid", Curve(clBlue, 1, TLineStyle::Solid), 1, TPenStyle::psSolid},
        {"dashed, wide", Curve(clGreen, 4, TLineStyle::Dash), 4, TPenStyle::psDash},
        {"dotted, widest", Curve(clRed, 8, TLineStyle::Dot), 8, TPenStyle::psDot},
        {"too thin: one pixel", Curve(clBlue, 0, TLineStyle::Solid), 1, TPenStyle::psSolid},
        {"too wide: eight", Curve(clBlue, 99, TLineStyle::Dash), 8, TPenStyle::psDash},
        {"hidden", Curve(clBlue, 2, TLineStyle::Solid, false), 2, TPenStyle::psSolid},
    };
    for (const Row& r : rows) {
        TLineSeries& s = AddCurveSeries(chart, r.Curve, r.Name);
        EXPECT_EQ(chart.IndexOfSeries(s), chart.SeriesCount() - 1) << r.Name << ": added last";
        EXPECT_EQ(s.SeriesColor(), r.Curve.Color) << r.Name;
        EXPECT_EQ(s.LinePen.Width, r.Width) << r.Name;
        EXPECT_EQ(s.LinePen.Style, r.Style) << r.Name;
        EXPECT_EQ(s.Active(), r.Curve.Visible) << r.Name;
        EXPECT_EQ(s.Title(), r.Name);
        EXPECT_FALSE(s.Pointer.Visible) << r.Name << ": set up like the first series";
        s.AddPoint(1, 2);
        EXPECT_EQ(s.PointColor(0), r.Curve.Color) << r.Name << ": points take the curve's colour";
    }
    // The first series is styled in place; the others keep their order
    // when one is removed or moved.
    ApplyCurveStyle(first, Curve(clGreen, 3, TLineStyle::Dot), "f1");
    EXPECT_EQ(first.LinePen.Width, 3);
    EXPECT_EQ(first.Title(), "f1");
    TChartSeries& third = chart.Series(2);
    chart.RemoveSeries(1);
    EXPECT_EQ(chart.IndexOfSeries(third), 1);
    chart.MoveSeries(1, 0);
    EXPECT_EQ(chart.IndexOfSeries(third), 0);
    EXPECT_EQ(chart.IndexOfSeries(first), 1);
    chart.RemoveSeries(99); // nothing
    EXPECT_EQ(chart.SeriesCount(), 6);
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
        trace = new TChartTrace(chart, *rising, table);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        chart.repaint();
    }
    // The pixel of a point of the chart.
    QPoint At(double x, double y)
    {
        return QPoint(chart.Layout().Bottom().ValueToPixel(x), chart.Layout().Left().ValueToPixel(y));
    }

    TChart chart;
    TTableView table;
    TLineSeries* rising = nullptr;
    TLineSeries* falling = nullptr;
    TChartTrace* trace = nullptr; // the chart's child
};

TEST_F(TwoCurveTrace, FollowsTheNearestCurveAndNamesIt)
{
    QSignalSpy changes(trace, &TChartTrace::TraceChanged);
    struct Row {
        const char* Name;
        QPoint Mouse;
        int Series, Point, TableLine;
        const char* Readout;
    };
    const Row rows[] = {
        {"on the falling curve", At(2, 8), 1, 2, -1, "10-x   x = 2.000   y = 8.000"},
        {"near the rising curve", At(7, 7) + QPoint(2, 3), 0, 7, 7, "x   x = 7.000   y = 7.000"},
        {"same column, the other curve", At(7, 3) + QPoint(0, -2), 1, 7, -1, "10-x   x = 7.000   y = 3.000"},
        {"where they cross, the first", At(5, 5), 0, 5, 5, "x   x = 5.000   y = 5.000"},
    };
    for (const Row& r : rows) {
        QTest::mouseMove(&chart, r.Mouse);
        EXPECT_EQ(trace->TracedSeries(), r.Series) << r.Name;
        EXPECT_EQ(trace->ShownPoint(), r.Point) << r.Name;
        EXPECT_EQ(trace->TracesTableSeries(), r.Series == 0) << r.Name;
        EXPECT_EQ(table.HighlightedLine(), r.TableLine) << r.Name;
        EXPECT_EQ(trace->ReadoutText(), r.Readout) << r.Name;
    }
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(changes.last().at(0).toInt(), 0);
    EXPECT_EQ(changes.last().at(1).toInt(), 5);
}

TEST_F(TwoCurveTrace, TheTableKeepsItsMarkWhileAnotherCurveIsTraced)
{
    trace->MarkPoint(4);
    EXPECT_EQ(table.HighlightedLine(), 4);
    EXPECT_EQ(trace->TracedSeries(), 0);
    QTest::mouseMove(&chart, At(8, 2));
    EXPECT_EQ(trace->TracedSeries(), 1);
    EXPECT_EQ(table.HighlightedLine(), 4) << "the falling curve is not the table's";
    QTest::mouseMove(&chart, QPoint(1, 1));
    EXPECT_EQ(trace->ShownPoint(), 4);
    EXPECT_EQ(trace->ReadoutText(), "x   x = 4.000   y = 4.000");

    // The table shows the other curve now: nothing traced or marked.
    trace->SetTableSeries(*falling);
    EXPECT_EQ(table.HighlightedLine(), -1);
    QTest::mouseMove(&chart, At(8, 2));
    EXPECT_EQ(table.HighlightedLine(), 8);
}

TEST_F(TwoCurveTrace, OneShownCurveReadsOutAsAlways)
{
    falling->SetActive(false);
    chart.repaint();
    // The mouse's height plays no part with one curve: the nearest column.
    QTest::mouseMove(&chart, At(3, 9));
    EXPECT_EQ(trace->TracedSeries(), 0);
    EXPECT_EQ(trace->ShownPoint(), 3);
    EXPECT_EQ(trace->ReadoutText(), "x = 3.000   y = 3.000");

    // The table's curve hidden, the other shown: the other is traced alone.
    falling->SetActive(true);
    rising->SetActive(false);
    chart.repaint();
    QTest::mouseMove(&chart, At(6, 9));
    EXPECT_EQ(trace->TracedSeries(), 1);
    EXPECT_EQ(trace->ShownPoint(), 6);
    EXPECT_EQ(table.HighlightedLine(), -1);
    EXPECT_EQ(trace->ReadoutText(), "x = 6.000   y = 4.000");
}

} // namespace
} // namespace qrv::test
