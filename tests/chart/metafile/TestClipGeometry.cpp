// Cutting polylines and polygons to a box before they are recorded.
#include "QrvClipGeometry.h"

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

using Points = std::vector<QPoint>;

TEST(ClipGeometry, PolylineParts)
{
    const TClipBox box{0, 0, 100, 100};
    struct Row {
        const char* Name;
        Points Line;
        std::vector<Points> Parts;
    };
    const Row rows[] = {
        {"inside stays whole", {{10, 10}, {50, 50}, {90, 10}}, {{{10, 10}, {50, 50}, {90, 10}}}},
        {"outside vanishes", {{-50, -50}, {-10, 200}}, {}},
        {"crossing is cut at the edges", {{-100, 50}, {200, 50}}, {{{0, 50}, {100, 50}}}},
        {"leaving and coming back gives two parts",
         {{10, 50}, {50, 50}, {50, 5000}, {60, 5000}, {60, 50}, {90, 50}},
         {{{10, 50}, {50, 50}, {50, 100}}, {{60, 100}, {60, 50}, {90, 50}}}},
        {"diagonal cut keeps its slope", {{-50, -50}, {50, 50}}, {{{0, 0}, {50, 50}}}},
        {"edge points belong to the box", {{0, 0}, {100, 0}}, {{{0, 0}, {100, 0}}}},
        {"far outside, 16-bit overflow", {{50, 50}, {50, -1000000}}, {{{50, 50}, {50, 0}}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ClipPolyline(r.Line, box), r.Parts) << r.Name;
}

TEST(ClipGeometry, PolygonArea)
{
    const TClipBox box{0, 0, 100, 100};
    struct Row {
        const char* Name;
        Points Polygon;
        Points Expected;
    };
    const Row rows[] = {
        {"inside stays whole", {{10, 10}, {90, 10}, {50, 90}}, {{10, 10}, {90, 10}, {50, 90}}},
        {"outside vanishes", {{200, 200}, {300, 200}, {250, 300}}, {}},
        {"covering becomes the box",
         {{-10, -10}, {200, -10}, {200, 200}, {-10, 200}},
         {{0, 0}, {100, 0}, {100, 100}, {0, 100}}},
        {"overhanging right side is cut",
         {{50, 10}, {150, 10}, {150, 90}, {50, 90}},
         {{50, 10}, {100, 10}, {100, 90}, {50, 90}}},
    };
    for (const Row& r : rows) {
        const Points got = ClipPolygon(r.Polygon, box);
        // Same corners, wherever the cut output starts.
        EXPECT_EQ(got.size(), r.Expected.size()) << r.Name;
        for (const QPoint& p : r.Expected)
            EXPECT_NE(std::find(got.begin(), got.end(), p), got.end()) << r.Name;
    }
}

} // namespace
} // namespace qrv
