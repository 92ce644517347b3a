// Point storage of a series (ordering, ties, colours, labels, refusal,
// repaint requests) and the line series' pixel runs.
#include "QrvSeries.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qrv
{
namespace
{

class CountingHost : public TChartSeriesHost
{
public:
    void RequestRepaint() override { ++repaints; }
    int repaints = 0;
};

struct Point {
    double x, y;
    std::string label;
    TColor color;
    bool operator==(const Point&) const = default;
};

std::vector<Point> Points(const TChartSeries& s)
{
    std::vector<Point> out;
    for (int i = 0; i < s.PointCount(); ++i)
        out.push_back({s.XValueAt(i), s.YValueAt(i), s.PointLabel(i), s.PointColor(i)});
    return out;
}

TEST(SeriesTest, PointsSortedByXCarryTheirYColourAndLabel)
{
    TLineSeries s;
    s.SetSeriesColor(clRed);
    EXPECT_EQ(s.AddPoint(3, 30, "c", clBlue), 0);
    EXPECT_EQ(s.AddPoint(1, 10, "a", clGreen), 0);
    EXPECT_EQ(s.AddPoint(2, 20, "", clBlack), 1);
    EXPECT_EQ(Points(s),
              (std::vector<Point>{{1, 10, "a", clGreen}, {2, 20, "", clBlack}, {3, 30, "c", clBlue}}));
}

TEST(SeriesTest, EqualXKeepsArrivalOrder)
{
    TLineSeries s;
    s.AddPoint(5, 1);
    s.AddPoint(5, 2);
    s.AddPoint(1, 0);
    EXPECT_EQ(s.AddPoint(5, 3), 3);
    std::vector<double> ys;
    for (int i = 0; i < s.PointCount(); ++i)
        ys.push_back(s.YValueAt(i));
    EXPECT_EQ(ys, (std::vector<double>{0, 1, 2, 3}));
}

TEST(SeriesTest, FallingRunEndsSortedByRisingX)
{
    TLineSeries s;
    for (int k = 0; k <= 10; ++k)
        s.AddPoint(5.0 - k, k);
    ASSERT_EQ(s.PointCount(), 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(s.XValueAt(i), -5.0 + i);
        EXPECT_EQ(s.YValueAt(i), 10 - i);
    }
    EXPECT_EQ(s.LowestX(), -5);
    EXPECT_EQ(s.HighestX(), 5);
    EXPECT_EQ(s.LowestY(), 0);
    EXPECT_EQ(s.HighestY(), 10);
}

TEST(SeriesTest, ClearEmptiesEverythingAndZeroesStatistics)
{
    TLineSeries s;
    s.AddPoint(-2, 7, "p");
    s.AddPoint(4, -1);
    EXPECT_EQ(s.HighestY(), 7);
    s.ClearPoints();
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_EQ(s.YValues.ValueCount(), 0);
    EXPECT_EQ(s.LowestX(), 0);
    EXPECT_EQ(s.HighestX(), 0);
    EXPECT_EQ(s.LowestY(), 0);
    EXPECT_EQ(s.HighestY(), 0);
    EXPECT_EQ(s.PointLabel(0), "");
}

TEST(SeriesTest, PointColourRules)
{
    TLineSeries s;
    s.SetSeriesColor(clBlue);
    s.AddPoint(0, 0, "", UseSeriesColor);
    s.AddPoint(1, 0, "", clRed);
    EXPECT_EQ(s.PointColor(0), clBlue);
    EXPECT_EQ(s.PointColor(1), clRed);
    EXPECT_EQ(s.PointColor(2), clBlue) << "beyond the list: series colour";
    s.SetSeriesColor(clGreen);
    EXPECT_EQ(s.PointColor(0), clGreen);
    EXPECT_EQ(s.PointColor(1), clRed);
    s.ColorEachPoint = true;
    EXPECT_NE(s.PointColor(0), UseSeriesColor);
    EXPECT_EQ(s.PointColor(1), clRed);
}

TEST(SeriesTest, RefusedPointLeavesListsUnchanged)
{
    TLineSeries s;
    CountingHost host;
    s.SetParentChart(&host);
    s.AddPoint(1, 1);
    const int before = host.repaints;
    double seenX = 0, seenY = 0;
    s.OnBeforeAdd = [&](TChartSeries& series) {
        seenX = series.XValues.TempValue;
        seenY = series.YValues.TempValue;
        return seenX < 10;
    };
    int afterCalls = 0;
    s.OnAfterAdd = [&](TChartSeries&, int) { ++afterCalls; };
    EXPECT_EQ(s.AddPoint(20, 7, "no", clBlack), -1);
    EXPECT_EQ(seenX, 20);
    EXPECT_EQ(seenY, 7);
    EXPECT_EQ(s.PointCount(), 1);
    EXPECT_EQ(s.YValues.ValueCount(), 1);
    EXPECT_EQ(s.PointLabel(1), "");
    EXPECT_EQ(afterCalls, 0);
    EXPECT_EQ(host.repaints, before);
    EXPECT_EQ(s.AddPoint(2, 2), 1);
    EXPECT_EQ(afterCalls, 1);
}

TEST(SeriesTest, ChangesRequestRepaintOnlyWhileActive)
{
    TLineSeries s;
    CountingHost host;
    s.SetParentChart(&host);
    s.AddPoint(1, 1);
    EXPECT_EQ(host.repaints, 1);
    s.ClearPoints();
    EXPECT_EQ(host.repaints, 2);
    s.SetActive(false);
    const int afterDeactivate = host.repaints;
    s.AddPoint(1, 1);
    s.ClearPoints();
    EXPECT_EQ(host.repaints, afterDeactivate);
    int clears = 0;
    s.OnClearValues = [&](TChartSeries&) { ++clears; };
    s.ClearPoints();
    EXPECT_EQ(clears, 1);
}

// --- the line as pixel runs ---------------------------------------------

// 0 ... 10 on both axes over a 100 x 100 rectangle at (10, 10): one value
// unit is ten pixels, y grows upwards.
struct Frame {
    TAxisScale h{0, 10, 10, 10, 110, true, false};
    TAxisScale v{0, 10, 10, 10, 110, false, false};
    TChartRect rect{10, 10, 110, 110};
};

std::vector<TLineRun> Runs(const TLineSeries& s, bool automatic = true)
{
    Frame f;
    return s.BuildLineRuns(f.h, f.v, f.rect, automatic);
}

TEST(LineRunsTest, EmptyAndSinglePointDrawNothing)
{
    TLineSeries s;
    EXPECT_TRUE(Runs(s).empty());
    s.AddPoint(5, 5, "", clRed);
    EXPECT_TRUE(Runs(s).empty());
}

TEST(LineRunsTest, SameColourPointsMakeOnePolyline)
{
    TLineSeries s;
    for (int k = 0; k <= 10; ++k)
        s.AddPoint(k, k, "", clRed);
    const auto runs = Runs(s);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Color, clRed);
    ASSERT_EQ(runs[0].Points.size(), 11u);
    EXPECT_EQ(runs[0].Points.front(), QPoint(10, 110));
    EXPECT_EQ(runs[0].Points.back(), QPoint(110, 10));
}

TEST(LineRunsTest, SegmentTakesTheColourOfThePointItEndsAt)
{
    TLineSeries s;
    s.AddPoint(0, 0, "", clRed);
    s.AddPoint(1, 0, "", clBlue);
    s.AddPoint(2, 0, "", clBlue);
    s.AddPoint(3, 0, "", clGreen);
    const auto runs = Runs(s);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Color, clBlue);
    EXPECT_EQ(runs[0].Points, (std::vector<QPoint>{{10, 110}, {20, 110}, {30, 110}}));
    EXPECT_EQ(runs[1].Color, clGreen);
    EXPECT_EQ(runs[1].Points, (std::vector<QPoint>{{30, 110}, {40, 110}}));
}

TEST(LineRunsTest, NullPointBreaksTheLine)
{
    TLineSeries s;
    s.AddPoint(0, 0, "", clRed);
    s.AddPoint(1, 1, "", clRed);
    s.AddPoint(2, 2, "", clNone);
    s.AddPoint(3, 3, "", clRed);
    s.AddPoint(4, 4, "", clRed);
    const auto runs = Runs(s);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Points, (std::vector<QPoint>{{10, 110}, {20, 100}}));
    EXPECT_EQ(runs[1].Points, (std::vector<QPoint>{{40, 80}, {50, 70}}));
}

// A segment towards a point beyond the pixel limit is cut at the limit, so
// its visible part is still drawn. Pixels: x = 10 + 10 * x, y = 110 - 10 * y.
struct FarPointCase {
    const char* name;
    std::vector<std::pair<double, double>> points;
    int breakBefore; // 0: no break at a pole
    std::vector<std::vector<QPoint>> runs;
};

TEST(LineRunsTest, SegmentsToFarPointsAreCutAtThePixelLimit)
{
    const FarPointCase cases[] = {
        {"up to the limit, across and back down",
         {{0, 0}, {1, 1e6}, {2, -1e6}, {3, 3}},
         0,
         {{{10, 110}, {10, -32766}}, {{25, -32766}, {25, 32766}}, {{40, 32766}, {40, 80}}}},
        {"far to the right", {{0, 0}, {1, 1}, {1e9, 1}}, 0, {{{10, 110}, {20, 100}, {32766, 100}}}},
        {"steep but on screen at its start", {{5, 5}, {1e6, -1e6}}, 0, {{{60, 60}, {32766, 32766}}}},
        {"both ends far, the square missed", {{1e6, 1e6}, {1e6 + 1, -1e6}}, 0, {}},
        {"a pole before the far point keeps only the way back",
         {{0, 0}, {1, 1e6}, {2, 2}},
         1,
         {{{30, -32766}, {30, 90}}}},
        {"a pole after the far point keeps only the way there",
         {{0, 0}, {1, 1e6}, {2, 2}},
         2,
         {{{10, 110}, {10, -32766}}}},
    };
    for (const FarPointCase& c : cases) {
        SCOPED_TRACE(c.name);
        TLineSeries s;
        for (const auto& [x, y] : c.points)
            s.AddPoint(x, y, "", clRed);
        if (c.breakBefore > 0) s.BreakLineBefore(c.breakBefore);
        std::vector<std::vector<QPoint>> runs;
        for (const TLineRun& run : Runs(s))
            runs.push_back(run.Points);
        EXPECT_EQ(runs, c.runs);
    }
}

TEST(LineRunsTest, PixelLimitIsInclusive)
{
    // y = 3276.6 lands exactly on -32766 + 110 ... choose values whose pixel
    // is exactly the limit and one beyond.
    TLineSeries s;
    s.AddPoint(0, 0, "", clRed);
    s.AddPoint(1, (110.0 + 32766.0) / 10.0, "", clRed); // pixel -32766: kept
    s.AddPoint(2, (110.0 + 32767.0) / 10.0, "", clRed); // pixel -32767: skipped
    const auto runs = Runs(s);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Points, (std::vector<QPoint>{{10, 110}, {20, -32766}}));
}

TEST(LineRunsTest, EqualPixelsDrawNoSegment)
{
    TLineSeries s;
    s.AddPoint(0, 0, "", clRed);
    s.AddPoint(0.01, 0.01, "", clRed); // rounds onto the same pixel
    EXPECT_TRUE(Runs(s).empty());
}

TEST(LineRunsTest, FixedRangeEntersFromTheLeftEdge)
{
    // The axis shows 0 ... 10 but the data start at -10: the first drawn
    // point is x = 0 (index 1), and the line enters at the left edge at the
    // height interpolated between points 0 and 1.
    TLineSeries s;
    s.AddPoint(-10, 0, "", clRed);
    s.AddPoint(2, 6, "", clRed);
    s.AddPoint(4, 6, "", clRed);
    s.AddPoint(20, 6, "", clRed);
    s.AddPoint(30, 6, "", clRed); // beyond the first point past the right edge
    const auto runs = Runs(s, false);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Points, (std::vector<QPoint>{{10, 60}, {30, 50}, {50, 50}, {210, 50}}));
}

TEST(LineRunsTest, FixedRangeEntryFromNullPointIsNotDrawn)
{
    TLineSeries s;
    s.AddPoint(-10, 0, "", clNone);
    s.AddPoint(2, 6, "", clRed);
    s.AddPoint(4, 6, "", clRed);
    const auto runs = Runs(s, false);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Points, (std::vector<QPoint>{{30, 50}, {50, 50}}));
}

TEST(LineRunsTest, FixedRangeWithFarFirstPointRisesFromItsNeighbour)
{
    // The first point in view lies far above: the line comes down from the
    // pixel limit to the next point, never from the corner of the chart.
    TLineSeries s;
    s.AddPoint(-10, 0, "", clRed);
    s.AddPoint(2, 1e6, "", clRed);
    s.AddPoint(4, 6, "", clRed);
    const auto runs = Runs(s, false);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Points, (std::vector<QPoint>{{50, -32766}, {50, 50}}));
}

TEST(LineRunsTest, ConstantSeriesIsAHorizontalLineAtTheCentre)
{
    TLineSeries s;
    for (int k = 0; k <= 10; ++k)
        s.AddPoint(k, 7, "", clRed);
    Frame f;
    f.v = {7, 7, 0, 10, 110, false, false};
    const auto runs = s.BuildLineRuns(f.h, f.v, f.rect, true);
    ASSERT_EQ(runs.size(), 1u);
    for (const QPoint& p : runs[0].Points)
        EXPECT_EQ(p.y(), 60);
}

// A curve that is no function of x keeps its points in drawing order: a
// zoomed chart still draws the whole line, and breaks part its pieces
// without leaving points out of the vertical range as a pole would.
TEST(LineRunsTest, PointsInDrawingOrderAreDrawnAsTheyCame)
{
    const std::pair<double, double> square[] = {{1, 1}, {3, 1}, {3, 3}, {1, 3}, {1, 1}};
    for (const bool automatic : {true, false}) {
        SCOPED_TRACE(automatic ? "automatic axis" : "fixed axis");
        TLineSeries s;
        s.XValues.Order = TChartListOrder::loNone;
        EXPECT_FALSE(s.InXOrder());
        for (const auto& [x, y] : square)
            s.AddPoint(x, y, "", clRed);
        const auto runs = Runs(s, automatic);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].Points, (std::vector<QPoint>{{20, 100}, {40, 100}, {40, 80}, {20, 80}, {20, 100}}));
    }
    TLineSeries pieces;
    pieces.XValues.Order = TChartListOrder::loNone;
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {0.5, 6.0}, {0.6, 5.0}})
        pieces.AddPoint(x, y, "", clRed);
    pieces.BreakLineBefore(2);
    EXPECT_EQ(pieces.LowestY(), 0);
    EXPECT_EQ(pieces.HighestY(), 6) << "every point counts, the one beside the break too";
    EXPECT_EQ(Runs(pieces).size(), 2u);
}

} // namespace
} // namespace qrv
