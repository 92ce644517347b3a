// A dashed line cut into its dashes, as a Windows metafile records a wide
// dashed line: where each dash starts and ends along the line, around its
// turns, with the pattern's offset and the round-end inset.
#include "QrvDashes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qrv::test
{
namespace
{

using TLine = std::vector<QPointF>;

TEST(DashPieces, FollowThePatternAlongTheLine)
{
    const TLine straight{{0, 0}, {30, 0}};
    const TLine corner{{0, 0}, {10, 0}, {10, 20}};
    struct Row {
        const char* Name;
        TLine Line;
        TDashPattern Pattern;
        std::vector<TLine> Expected;
    };
    const Row rows[] = {
        {"dashes and gaps",
         straight,
         {{8, 4}, 0, 0},
         {{{0, 0}, {8, 0}}, {{12, 0}, {20, 0}}, {{24, 0}, {30, 0}}}},
        {"offset into the first dash",
         straight,
         {{8, 4}, 6, 0},
         {{{0, 0}, {2, 0}}, {{6, 0}, {14, 0}}, {{18, 0}, {26, 0}}}},
        {"offset into a gap",
         straight,
         {{8, 4}, 10, 0},
         {{{2, 0}, {10, 0}}, {{14, 0}, {22, 0}}, {{26, 0}, {30, 0}}}},
        {"negative offset wraps",
         straight,
         {{8, 4}, -2, 0},
         {{{2, 0}, {10, 0}}, {{14, 0}, {22, 0}}, {{26, 0}, {30, 0}}}},
        {"a dash turns the corner",
         corner,
         {{15, 5}, 0, 0},
         {{{0, 0}, {10, 0}, {10, 5}}, {{10, 10}, {10, 20}}}},
        {"inset at both ends",
         straight,
         {{8, 4}, 0, 2},
         {{{2, 0}, {6, 0}}, {{14, 0}, {18, 0}}, {{26, 0}, {28, 0}}}},
        {"a dot keeps one pixel",
         straight,
         {{3, 6}, 0, 1.5},
         {{{1, 0}, {2, 0}}, {{10, 0}, {11, 0}}, {{19, 0}, {20, 0}}, {{28, 0}, {29, 0}}}},
        {"no pattern: the line stays whole", corner, {{}, 0, 0}, {corner}},
        {"only gaps of zero: whole", straight, {{0, 0}, 0, 0}, {straight}},
        {"a line of no length has no dash", {{5, 5}, {5, 5}}, {{8, 4}, 0, 0}, {}},
    };
    for (const Row& r : rows) {
        const auto pieces = DashPieces(r.Line, r.Pattern);
        ASSERT_EQ(pieces.size(), r.Expected.size()) << r.Name;
        for (size_t i = 0; i < pieces.size(); ++i) {
            ASSERT_EQ(pieces[i].size(), r.Expected[i].size()) << r.Name << " dash " << i;
            for (size_t k = 0; k < pieces[i].size(); ++k) {
                EXPECT_NEAR(pieces[i][k].x(), r.Expected[i][k].x(), 1e-9) << r.Name << " dash " << i;
                EXPECT_NEAR(pieces[i][k].y(), r.Expected[i][k].y(), 1e-9) << r.Name << " dash " << i;
            }
        }
    }
}

TEST(DashPieces, LongCurvesAndBadPatternsStayCheap)
{
    // A long wiggly line: every dash starts one period after the one before.
    TLine wiggle;
    for (int i = 0; i <= 10000; ++i)
        wiggle.push_back(QPointF(i * 0.05, 100 + 30 * std::sin(i / 50.0)));
    const auto pieces = DashPieces(wiggle, {{12, 6}, 0, 1.5});
    ASSERT_GT(pieces.size(), 20u);
    double drawn = 0;
    for (const TLine& piece : pieces)
        for (size_t k = 1; k < piece.size(); ++k)
            drawn += std::hypot(piece[k].x() - piece[k - 1].x(), piece[k].y() - piece[k - 1].y());
    EXPECT_NEAR(drawn / pieces.size(), 9.0, 0.5) << "each dash 12 less the two insets";
    // A pattern too fine to draw apart, or not a number, leaves the line whole.
    EXPECT_EQ(DashPieces(wiggle, {{1e-9, 1e-9}, 0, 0}).size(), 1u);
    EXPECT_EQ(DashPieces(wiggle, {{std::nan(""), 1}, 0, 0}).size(), 1u);
    EXPECT_EQ(DashPieces(wiggle, {{-4, 2}, 0, 0}).size(), 1u);
}

} // namespace
} // namespace qrv::test
