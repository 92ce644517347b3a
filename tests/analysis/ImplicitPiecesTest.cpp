// The two pieces under the implicit-curve tracer: the refinement of one
// crossing along an edge, and the joining of the cells' paths into lines.
#include "QrvImplicitEdge.h"
#include "QrvPolylineJoin.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace qrv
{
namespace
{

// -- One crossing along an edge -----------------------------------------------

struct TEdgeCase {
    const char* Name;
    std::function<std::optional<Float>(Float)> F;
    Float T0, T1;
    TEdgeFault Fault;
    int MaxEvaluations;
    bool Doubles = false;
};

class EdgeCrossings : public ::testing::TestWithParam<TEdgeCase>
{
};

TEST_P(EdgeCrossings, CloseAtNeighbouringNumbersOrSayWhyNot)
{
    const TEdgeCase& c = GetParam();
    const Float v0 = *c.F(c.T0), v1 = *c.F(c.T1);
    ASSERT_NE(v0 < 0, v1 < 0);
    int evaluations = 0;
    const auto counted = [&](Float t) {
        ++evaluations;
        return c.F(t);
    };
    const TEdgeEnd a{c.T0, v0}, b{c.T1, v1};
    const TEdgeVertex found =
        v0 < 0 ? RefineEdgeCrossing(counted, a, b, c.Doubles) : RefineEdgeCrossing(counted, b, a, c.Doubles);
    EXPECT_EQ(found.Fault, c.Fault);
    EXPECT_LE(evaluations, c.MaxEvaluations);
    if (c.Fault != TEdgeFault::None) return;
    ASSERT_EQ(*c.F(found.T), found.Value);
    if (found.Value == 0) return;
    // The neighbour on one side has the other sign and no smaller |f|.
    const Float inf = std::numeric_limits<Float>::infinity();
    bool bracketed = false;
    for (Float towards : {-inf, inf}) {
        const Float next = c.Doubles ? Float(std::nextafter(double(found.T), double(towards)))
                                     : std::nextafter(found.T, towards);
        const Float w = *c.F(next);
        bracketed = bracketed || ((w < 0) != (found.Value < 0) && std::fabs(found.Value) <= std::fabs(w));
    }
    EXPECT_TRUE(bracketed) << found.T;
    if (c.Doubles) {
        EXPECT_EQ(found.T, Float(double(found.T)));
    }
}

std::optional<Float> Some(Float v)
{
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    ImplicitCurve, EdgeCrossings,
    ::testing::Values(
        TEdgeCase{"smooth", [](Float t) { return Some(std::cos(t)); }, 1.5L, 1.6L, TEdgeFault::None, 10},
        TEdgeCase{"steep", [](Float t) { return Some(std::atan(1e12L * (t - 0.3L))); }, 0.29L, 0.31L,
                  TEdgeFault::None, 40},
        TEdgeCase{"vertical_tangent", [](Float t) { return Some(std::cbrt(t - 0.3L)); }, 0.29L, 0.31L,
                  TEdgeFault::None, 40},
        TEdgeCase{"root_near_zero", [](Float t) { return Some(t - 1e-30L); }, -0.01L, 0.01L, TEdgeFault::None,
                  200},
        TEdgeCase{"zero_at_an_end", [](Float t) { return Some(t * t - 1); }, 0.5L, 1, TEdgeFault::None, 0},
        TEdgeCase{"pole", [](Float t) { return Some(std::tan(t)); }, 1.5L, 1.6L, TEdgeFault::Jump, 200},
        TEdgeCase{"step", [](Float t) { return Some(std::floor(t) - 0.5L); }, 0.9L, 1.1L, TEdgeFault::Jump,
                  200},
        TEdgeCase{"failure_inside",
                  [](Float t) { return t > 0.45L && t < 0.55L ? std::nullopt : Some(t - 0.5L); }, 0, 1,
                  TEdgeFault::Failure, 200},
        TEdgeCase{"doubles", [](Float t) { return Some(Float(double(t)) * Float(double(t)) - 2); }, 1, 2,
                  TEdgeFault::None, 16, true}),
    test::RowName{});

// -- Joining the paths --------------------------------------------------------

struct TJoinCase {
    const char* Name;
    std::vector<std::vector<std::int32_t>> Paths;
    // The lines as vertex numbers.
    std::vector<std::vector<std::int32_t>> Lines;
};

class JoinedPaths : public ::testing::TestWithParam<TJoinCase>
{
};

TEST_P(JoinedPaths, FollowSharedEnds)
{
    const TJoinCase& c = GetParam();
    // Vertex v is the point (v, v * v); vertex 9 repeats vertex 0's point.
    std::vector<TPlanePoint> vertices;
    for (int v = 0; v < 10; ++v)
        vertices.push_back({Float(v % 9), Float((v % 9) * (v % 9))});
    TPathList paths;
    for (const std::vector<std::int32_t>& p : c.Paths) {
        paths.Vertices.insert(paths.Vertices.end(), p.begin(), p.end());
        paths.Close();
    }
    std::vector<TPolyline> expected;
    for (const std::vector<std::int32_t>& line : c.Lines) {
        expected.emplace_back();
        for (std::int32_t v : line)
            expected.back().push_back(vertices[static_cast<std::size_t>(v)]);
    }
    EXPECT_EQ(JoinPaths(vertices, paths), expected);
}

INSTANTIATE_TEST_SUITE_P(
    ImplicitCurve, JoinedPaths,
    ::testing::Values(
        TJoinCase{"chain_in_any_order_and_direction", {{2, 3}, {1, 2}, {4, 3}}, {{1, 2, 3, 4}}},
        TJoinCase{"loop_is_closed", {{0, 1}, {2, 1}, {2, 3, 0}}, {{0, 1, 2, 3, 0}}},
        TJoinCase{"two_lines", {{0, 1}, {5, 6}, {1, 2}, {7, 6}}, {{0, 1, 2}, {5, 6, 7}}},
        TJoinCase{"third_end_at_a_vertex_stays_an_end", {{0, 1}, {1, 2}, {1, 3}}, {{0, 1, 2}, {1, 3}}},
        TJoinCase{"repeated_point_is_dropped", {{0, 1, 1}, {1, 9}}, {{0, 1, 0}}},
        TJoinCase{"path_of_one_point_is_no_line", {{4, 4}}, {}}),
    test::RowName{});

} // namespace
} // namespace qrv
