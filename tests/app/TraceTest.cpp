// The trace readout's arithmetic without a window: the nearest point by
// pixel column, the readout text and where its box goes.
#include "QrvTrace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qrv::test
{
namespace
{

// Ten pixels a unit from pixel 0, or the other way round from pixel 100.
int Ahead(double value)
{
    return int(std::lround(10 * value));
}
int Backwards(double value)
{
    return 100 - int(std::lround(10 * value));
}

TEST(Trace, NearestPointByPixel)
{
    const std::vector<double> five{0, 1, 2, 3, 4};
    // Ten points all within the first pixel or two: the pixel cannot tell
    // them apart, the value under the mouse can.
    const std::vector<double> dense{0, 0.01, 0.02, 0.03, 0.04, 0.05, 0.06, 0.07, 0.08, 0.09};
    struct Row {
        const char* name;
        const std::vector<double>& xs;
        int mouseX;
        double mouseValue;
        int (*pixelOf)(double);
        int expected;
    };
    const std::vector<double> none;
    const std::vector<double> one{7};
    const Row rows[] = {
        {"no points", none, 10, 1.0, Ahead, -1},
        {"one point, far away", one, -500, -50.0, Ahead, 0},
        {"left of the first", five, -30, -3.0, Ahead, 0},
        {"right of the last", five, 80, 8.0, Ahead, 4},
        {"on a point", five, 20, 2.0, Ahead, 2},
        {"nearer the lower", five, 24, 2.4, Ahead, 2},
        {"nearer the upper", five, 26, 2.6, Ahead, 3},
        {"half way takes the lower", five, 25, 2.5, Ahead, 2},
        {"same column, nearest value", dense, 0, 0.03, Ahead, 3},
        {"same column, last value", dense, 1, 0.094, Ahead, 9},
        {"axis running backwards", five, 74, 2.6, Backwards, 3},
        {"backwards, left of all", five, 120, -2.0, Backwards, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(NearestPointByPixel(row.xs, row.mouseX, row.mouseValue, row.pixelOf), row.expected)
            << row.name;
}

// Ten pixels a unit across and down (y grows upwards from row 100).
int Across(double x)
{
    return int(std::lround(10 * x));
}
int Down(double y)
{
    return 100 - int(std::lround(10 * y));
}

TEST(Trace, NearestPointInThePlane)
{
    const std::vector<double> peakX{0, 1, 2, 3, 4}, peakY{0, 0, 9, 0, 0};
    const std::vector<double> none;
    struct Row {
        const char* name;
        const std::vector<double>& xs;
        const std::vector<double>& ys;
        int mouseX, mouseY;
        int expected;
        long long distance2;
    };
    const Row rows[] = {
        {"no points", none, none, 10, 10, -1, 0},
        {"under the peak: a point beside it is nearer", peakX, peakY, 20, 100, 1, 100},
        {"beside the peak's top: the peak", peakX, peakY, 26, 12, 2, 40},
        {"equally near: the first in x order", peakX, peakY, 5, 100, 0, 25},
        {"far right and above: the peak", peakX, peakY, 60, 0, 2, 40 * 40 + 10 * 10},
    };
    for (const Row& row : rows) {
        const TNearestPoint near =
            NearestPointInPlane(row.xs, row.ys, row.mouseX, row.mouseY, row.mouseX / 10.0, Across, Down);
        EXPECT_EQ(near.Index, row.expected) << row.name;
        if (near.Index >= 0) {
            EXPECT_EQ(near.Distance2, row.distance2) << row.name;
        }
    }
}

// The search that stops early finds what looking at every point finds, on
// dense curves, steep ones, and with columns far outside the int range.
TEST(Trace, NearestPointInThePlaneMissesNothing)
{
    std::vector<double> xs, wave, steep;
    for (int i = 0; i <= 2000; ++i) {
        xs.push_back(i * 0.01);
        wave.push_back(5 + 4 * std::sin(i * 0.05));
        steep.push_back(std::tan(i * 0.00078) * 2); // up to tan(1.56): huge
    }
    const auto far = [](double x) {
        return x > 19.5 ? std::numeric_limits<int>::max() : int(std::lround(10 * x));
    };
    for (const auto* ys : {&wave, &steep})
        for (int mouseX = -20; mouseX <= 220; mouseX += 7)
            for (int mouseY = -50; mouseY <= 150; mouseY += 11) {
                long long best = -1;
                int bestIndex = -1;
                for (std::size_t i = 0; i < xs.size(); ++i) {
                    const long long dx = static_cast<long long>(far(xs[i])) - mouseX;
                    const long long dy = std::clamp<long long>(
                        static_cast<long long>(Down((*ys)[i])) - mouseY, -(1LL << 30), 1LL << 30);
                    const long long d2 = std::min(dx * dx, 1LL << 60) + dy * dy; // as held within 2^30 pixels
                    if (best < 0 || d2 < best) {
                        best = d2;
                        bestIndex = int(i);
                    }
                }
                const TNearestPoint near =
                    NearestPointInPlane(xs, *ys, mouseX, mouseY, mouseX / 10.0, far, Down);
                ASSERT_EQ(near.Distance2, best) << mouseX << "," << mouseY;
                ASSERT_EQ(near.Index, bestIndex) << mouseX << "," << mouseY;
            }
}

TEST(Trace, ReadoutUsesTheTableFormat)
{
    struct Row {
        const char* name;
        double x, y;
        char separator;
        const char* expected;
    };
    const Row rows[] = {
        {"plain", 1.5, -2.25, '.', "x = 1.500   y = -2.250"},
        {"decimal comma", 1.5, -2.25, ',', "x = 1,500   y = -2,250"},
        {"halves away from zero", 0.0005, -0.0005, '.', "x = 0.001   y = -0.001"},
        // 2.0005 is stored a little below the half; the table rounds its
        // 18-digit form, which is the half.
        {"the table's rounding, not the binary value's", 2.0005, 0, '.', "x = 2.001   y = 0.000"},
        {"no minus on a rounded zero", -0.0004, 817, '.', "x = 0.000   y = 817.000"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TraceReadout(row.x, row.y, row.separator), row.expected) << row.name;
    // With the curve's name in front, for a chart of several.
    EXPECT_EQ(TraceReadout("sin(x)", 1.5, 0.25, '.'), "sin(x)   x = 1.500   y = 0.250");
    EXPECT_EQ(TraceReadout("", 1.5, 0.25, ','), "x = 1,500   y = 0,250");
}

TEST(Trace, ReadoutBoxLeavesThePointFree)
{
    const TTraceBox wide{0, 0, 200, 100};
    const TTraceBox narrow{0, 0, 100, 100};
    struct Row {
        const char* name;
        TTraceBox axes;
        int pointX, pointY;
        TTraceBox expected;
    };
    const Row rows[] = {
        {"point far from the top left", wide, 150, 80, {4, 4, 60, 20}},
        {"point under the top left", wide, 10, 10, {136, 4, 60, 20}},
        {"point just beside the top left's margin", wide, 68, 10, {4, 4, 60, 20}},
        {"point under both top corners", narrow, 40, 10, {4, 76, 60, 20}},
        {"point under every corner", TTraceBox{0, 0, 100, 40}, 40, 20, {4, 4, 60, 20}},
        {"axes too small for any corner", TTraceBox{0, 0, 50, 30}, 20, 15, {4, 4, 60, 20}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ReadoutBox(row.axes, 60, 20, row.pointX, row.pointY), row.expected) << row.name;
}

TEST(Trace, MarksOfAPointFarOffTheAxesStayNearThem)
{
    const struct {
        int pixel, expected;
    } rows[] = {
        {50, 50},
        {10, 10},
        {200, 200},
        {-6, -6},
        {216, 216},
        {-7, -6},
        {217, 216},
        {std::numeric_limits<int>::max(), 216},
        {std::numeric_limits<int>::min(), -6},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TraceMarkPixel(row.pixel, 10, 200), row.expected) << row.pixel;
}

} // namespace
} // namespace qrv::test
