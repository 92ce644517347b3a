// Where the legend goes, without a window: how much of the lines a box
// covers, and the emptiest corner of the axes rectangle (its boxes clear of
// the edges), ties settled top right, top left, bottom right, bottom left.
#include "QrvChartLegend.h"

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

using TLines = std::vector<std::vector<TLineRun>>;

// One series of one run through the points.
TLines Line(std::vector<QPoint> points)
{
    return {{TLineRun{clRed, std::move(points)}}};
}

TLines Join(TLines a, const TLines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(LegendCorner, LineCoverCountsThePixelsInsideTheBox)
{
    const TChartRect box{100, 50, 199, 99}; // edges included
    struct Row {
        const char* Name;
        TLines Lines;
        double Cover;
    };
    const Row rows[] = {
        {"across: the part inside", Line({{0, 75}, {300, 75}}), 100},
        {"steep: counted along its longer direction", Line({{120, 0}, {130, 200}}), 50},
        {"touching an edge: one pixel", Line({{150, 0}, {150, 50}}), 1},
        {"segment by segment", Line({{110, 60}, {120, 60}, {120, 70}}), 22},
        {"every series counts", Join(Line({{110, 60}, {150, 60}}), Line({{0, 75}, {300, 75}})), 141},
    };
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(LineCover(box, r.Lines), r.Cover) << r.Name;
}

TEST(LegendCorner, TheEmptiestCornerWinsAndTiesGoInOrder)
{
    // Axes 0 ... 400 x 0 ... 300, a box of 100 x 60: the top corners span
    // rows 6 ... 65, the bottom ones 234 ... 293, the left ones columns
    // 6 ... 105, the right ones 294 ... 393.
    const TChartRect axes{0, 0, 400, 300};
    const TLines top = Line({{0, 30}, {400, 30}});
    const TLines bottom = Line({{0, 260}, {400, 260}});
    const TLines right = Line({{350, 0}, {350, 300}});
    struct Row {
        const char* Name;
        TLines Lines;
        TLegendCorner Expected;
    };
    const Row rows[] = {
        {"no lines: top right", {}, TLegendCorner::TopRight},
        {"a line along the top", top, TLegendCorner::BottomRight},
        {"top and right taken", Join(top, right), TLegendCorner::BottomLeft},
        {"all but the bottom left", Join(Join(top, right), Line({{250, 260}, {400, 260}})),
         TLegendCorner::BottomLeft},
        {"the rising diagonal leaves top left", Line({{0, 300}, {400, 0}}), TLegendCorner::TopLeft},
        {"a short crossing beats a long run",
         Join(Join(Line({{300, 0}, {300, 70}}), Line({{0, 30}, {200, 30}})), bottom),
         TLegendCorner::TopRight},
        {"equal cover everywhere: top right", Join(top, bottom), TLegendCorner::TopRight},
        {"bottom corners alike: bottom right",
         Join(Join(top, bottom), Join(Line({{50, 0}, {50, 100}}), Line({{350, 0}, {350, 100}}))),
         TLegendCorner::BottomRight},
    };
    for (const Row& r : rows)
        EXPECT_EQ(EmptiestCorner(axes, 100, 60, r.Lines), r.Expected) << r.Name;
}

} // namespace
} // namespace qrv
