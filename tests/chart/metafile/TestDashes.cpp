// A dashed line cut into its dashes, as a Windows metafile records a wide
// dashed line: where each dash starts and ends along the line, around its
// turns, with the pattern's offset and the round-end inset.
#include "QrvDashes.h"

#include <QLineF>

#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

using TLine = std::vector<QPointF>;

TEST(DashPieces, FollowThePatternAlongTheLine)
{
    const TLine straight{{0, 0}, {30, 0}};
    const TLine corner{{0, 0}, {10, 0}, {10, 20}};
    const TLine dashes{{0, 0}, {8, 0}}; // first dash of 8 on 4 off
    struct Row {
        const char* Name;
        TLine Line;
        TDashPattern Pattern;
        std::vector<TLine> Expected;
    };
    const Row rows[] = {
        {"dashes and gaps", straight, {{8, 4}, 0, 0}, {dashes, {{12, 0}, {20, 0}}, {{24, 0}, {30, 0}}}},
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
        {"a negative length: whole", corner, {{-4, 2}, 0, 0}, {corner}},
        {"too fine to draw apart: whole", corner, {{1e-9, 1e-9}, 0, 0}, {corner}},
        {"a line of no length has no dash", {{5, 5}, {5, 5}}, {{8, 4}, 0, 0}, {}},
    };
    for (const Row& r : rows) {
        const auto pieces = DashPieces(r.Line, r.Pattern);
        ASSERT_EQ(pieces.size(), r.Expected.size()) << r.Name;
        for (size_t i = 0; i < pieces.size(); ++i) {
            ASSERT_EQ(pieces[i].size(), r.Expected[i].size()) << r.Name << " dash " << i;
            for (size_t k = 0; k < pieces[i].size(); ++k)
                EXPECT_LT(QLineF(pieces[i][k], r.Expected[i][k]).length(), 1e-9) << r.Name << " dash " << i;
        }
    }
}

} // namespace
} // namespace qrv::test
