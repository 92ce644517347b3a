// The tracer of implicit curves against curves with known shapes: each
// vertex checked by evaluating f beside it, the lines' ends, closedness,
// and how close the drawn line comes to points of the true curve.
#include "QrvImplicitCurve.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qrv
{
namespace
{

constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr Float kPi = 3.14159265358979323846264338327950288L;
const Float kNaN = std::numeric_limits<Float>::quiet_NaN();

using TNativeFunction = Float (*)(Float x, Float y);

TImplicitFunction Wrap(TNativeFunction f)
{
    return [f](Float x, Float y) -> std::optional<Float> {
        const Float v = f(x, y);
        if (std::isnan(v)) return std::nullopt;
        return v;
    };
}

struct TPixels {
    Float X = 0, Y = 0; // units per pixel
};

TPixels PixelsOf(const TImplicitRect& r)
{
    return {(r.XMax - r.XMin) / kWidth, (r.YMax - r.YMin) / kHeight};
}

bool Fails(const TImplicitFunction& f, Float x, Float y)
{
    return !f(x, y).has_value();
}

// A vertex on a cell edge: f is zero there, or beside it along x or y the
// neighbouring Float has the other sign and no smaller |f|: the bracket
// closed as far as it can.
bool ClosedBracket(const TImplicitFunction& f, const TPlanePoint& p)
{
    const std::optional<Float> v = f(p.X, p.Y);
    if (!v) return false;
    if (*v == 0) return true;
    const Float inf = std::numeric_limits<Float>::infinity();
    const TPlanePoint beside[] = {{std::nextafter(p.X, inf), p.Y},
                                  {std::nextafter(p.X, -inf), p.Y},
                                  {p.X, std::nextafter(p.Y, inf)},
                                  {p.X, std::nextafter(p.Y, -inf)}};
    for (const TPlanePoint& q : beside) {
        const std::optional<Float> w = f(q.X, q.Y);
        if (w && (*w < 0) != (*v < 0) && std::fabs(*v) <= std::fabs(*w)) return true;
    }
    return false;
}

// f changes sign (or is zero) within half a pixel of p.
bool ZeroWithinHalfPixel(const TImplicitFunction& f, const TPlanePoint& p, TPixels px)
{
    bool negative = false, positive = false;
    for (int a = -1; a <= 1; ++a)
        for (int b = -1; b <= 1; ++b) {
            const std::optional<Float> v = f(p.X + a * px.X / 2, p.Y + b * px.Y / 2);
            if (v && *v <= 0) negative = true;
            if (v && *v >= 0) positive = true;
        }
    return negative && positive;
}

bool OnBorder(const TPlanePoint& p, const TImplicitRect& r)
{
    return p.X == r.XMin || p.X == r.XMax || p.Y == r.YMin || p.Y == r.YMax;
}

// The distance in pixels from (x, y) to the nearest drawn segment.
Float PixelDistance(const TImplicitCurve& curve, Float x, Float y, TPixels px)
{
    Float best = std::numeric_limits<Float>::infinity();
    for (const TPolyline& line : curve.Polylines)
        for (std::size_t k = 0; k + 1 < line.size(); ++k) {
            const Float ax = line[k].X / px.X, ay = line[k].Y / px.Y;
            const Float dx = line[k + 1].X / px.X - ax, dy = line[k + 1].Y / px.Y - ay;
            const Float qx = x / px.X - ax, qy = y / px.Y - ay;
            const Float length2 = dx * dx + dy * dy;
            const Float t = length2 > 0 ? std::clamp((qx * dx + qy * dy) / length2, Float(0), Float(1)) : 0;
            best = std::min(best, std::hypot(qx - t * dx, qy - t * dy));
        }
    return best;
}

std::size_t VertexCount(const TImplicitCurve& curve)
{
    std::size_t n = 0;
    for (const TPolyline& line : curve.Polylines)
        n += line.size();
    return n;
}

// -- Closed curves: one closed line each, on the true curve -------------------

struct TClosedCase {
    const char* Name;
    TNativeFunction F;
    TImplicitRect Rect;
    // A point of the curve for a parameter t in [0, 2 pi).
    TPlanePoint (*Point)(Float t);
};

class ClosedCurves : public ::testing::TestWithParam<TClosedCase>
{
};

TEST_P(ClosedCurves, AreOneClosedLineWithinHalfAPixel)
{
    const TClosedCase& c = GetParam();
    const TImplicitFunction f = Wrap(c.F);
    const TImplicitCurve curve = TraceImplicitCurve(f, c.Rect, kWidth, kHeight);
    ASSERT_EQ(curve.Polylines.size(), 1u);
    const TPolyline& line = curve.Polylines[0];
    ASSERT_GE(line.size(), 4u);
    EXPECT_EQ(line.front(), line.back());
    for (const TPlanePoint& p : line)
        EXPECT_TRUE(ClosedBracket(f, p)) << p.X << " " << p.Y;
    const TPixels px = PixelsOf(c.Rect);
    for (int k = 0; k < 720; ++k) {
        const TPlanePoint p = c.Point(2 * kPi * k / 720);
        EXPECT_LE(PixelDistance(curve, p.X, p.Y, px), 0.5L) << p.X << " " << p.Y;
    }
}

// A circle of 1.5 pixels falls between the first grid's points.
constexpr Float kSmallR = 0.009L;

INSTANTIATE_TEST_SUITE_P(
    ImplicitCurve, ClosedCurves,
    ::testing::Values(
        TClosedCase{"circle",
                    [](Float x, Float y) { return x * x + y * y - 4; },
                    {-3, 3, -3, 3},
                    [](Float t) {
                        return TPlanePoint{2 * std::cos(t), 2 * std::sin(t)};
                    }},
        TClosedCase{"ellipse",
                    [](Float x, Float y) { return x * x / 4 + y * y / 0.49L - 1; },
                    {-3, 3, -2, 2},
                    [](Float t) {
                        return TPlanePoint{2 * std::cos(t), 0.7L * std::sin(t)};
                    }},
        TClosedCase{"small_circle_off_the_grid",
                    [](Float x, Float y) {
                        return (x - 0.0123L) * (x - 0.0123L) + (y + 0.0071L) * (y + 0.0071L) -
                               kSmallR * kSmallR;
                    },
                    {-3, 3, -3, 3},
                    [](Float t) {
                        return TPlanePoint{0.0123L + kSmallR * std::cos(t), -0.0071L + kSmallR * std::sin(t)};
                    }}),
    test::RowName{});

// -- Branches that meet and many branches -------------------------------------

struct TAxesCase {
    const char* Name;
    TImplicitRect Rect;
};

class Axes : public ::testing::TestWithParam<TAxesCase>
{
};

TEST_P(Axes, AreDrawnWithoutAGapAtTheCrossing)
{
    const TImplicitRect r = GetParam().Rect;
    const TImplicitFunction f = Wrap([](Float x, Float y) { return x * y; });
    const TImplicitCurve curve = TraceImplicitCurve(f, r, kWidth, kHeight);
    const TPixels px = PixelsOf(r);
    for (const TPolyline& line : curve.Polylines) {
        EXPECT_TRUE(OnBorder(line.front(), r) && OnBorder(line.back(), r));
        for (const TPlanePoint& p : line)
            EXPECT_TRUE(ZeroWithinHalfPixel(f, p, px)) << p.X << " " << p.Y;
    }
    // Every point of both axes, the crossing above all, is drawn.
    for (int k = 0; k <= 4000; ++k) {
        const Float x = r.XMin + (r.XMax - r.XMin) * k / 4000, y = r.YMin + (r.YMax - r.YMin) * k / 4000;
        EXPECT_LE(PixelDistance(curve, x, 0, px), 0.5L) << "x axis at " << x;
        EXPECT_LE(PixelDistance(curve, 0, y, px), 0.5L) << "y axis at " << y;
    }
    EXPECT_LE(PixelDistance(curve, 0, 0, px), 0.01L);
}

INSTANTIATE_TEST_SUITE_P(ImplicitCurve, Axes,
                         ::testing::Values(TAxesCase{"grid_through_zero", {-3, 3, -3, 3}},
                                           TAxesCase{"zero_inside_a_cell", {-2.9L, 3.1L, -3.2L, 2.8L}}),
                         test::RowName{});

struct TSinCase {
    const char* Name;
    TImplicitRect Rect;
    // The lines x*y = c gives in the rectangle.
    int (*LinesOf)(Float c);
};

class SinOfXY : public ::testing::TestWithParam<TSinCase>
{
};

TEST_P(SinOfXY, HasEveryBranchWholeAndOnTheCurve)
{
    const TImplicitRect r = GetParam().Rect;
    const TImplicitFunction f = Wrap([](Float x, Float y) { return std::sin(x * y) - 0.5L; });
    const TImplicitCurve curve = TraceImplicitCurve(f, r, kWidth, kHeight);
    // The hyperbolas x*y = c with sin(c) = 1/2; a gap anywhere would split
    // one into two lines.
    std::size_t lines = 0;
    for (int k = -20; k <= 20; ++k)
        for (Float c : {kPi / 6 + 2 * kPi * k, 5 * kPi / 6 + 2 * kPi * k})
            lines += GetParam().LinesOf(c);
    EXPECT_EQ(curve.Polylines.size(), lines);
    for (const TPolyline& line : curve.Polylines) {
        EXPECT_TRUE(OnBorder(line.front(), r)) << line.front().X << " " << line.front().Y;
        EXPECT_TRUE(OnBorder(line.back(), r)) << line.back().X << " " << line.back().Y;
        for (const TPlanePoint& p : line)
            ASSERT_TRUE(ClosedBracket(f, p)) << p.X << " " << p.Y;
    }
    // One crossing per vertex: each is refined once, in a few steps.
    EXPECT_EQ(curve.Counts.Crossings, VertexCount(curve));
    EXPECT_LT(curve.Counts.Evaluations, curve.Counts.GridPoints + 14 * curve.Counts.Crossings);
}

INSTANTIATE_TEST_SUITE_P(
    ImplicitCurve, SinOfXY,
    ::testing::Values(
        TSinCase{"whole", {-10, 10, -10, 10}, [](Float c) { return std::fabs(c) < 100 ? 2 : 0; }},
        // Four times closer, where the lines are densest.
        TSinCase{"zoomed_4x", {7.5L, 10, 8.25L, 10}, [](Float c) { return c > 61.875L && c < 100 ? 1 : 0; }}),
    test::RowName{});

// -- Where the formula fails --------------------------------------------------

struct TFailingCase {
    const char* Name;
    TNativeFunction F;
    TImplicitRect Rect;
    std::size_t Lines;
};

class FailingPart : public ::testing::TestWithParam<TFailingCase>
{
};

TEST_P(FailingPart, DrawsThePartThatWorksUpToTheFailure)
{
    const TFailingCase& c = GetParam();
    const TImplicitFunction f = Wrap(c.F);
    const TImplicitCurve curve = TraceImplicitCurve(f, c.Rect, kWidth, kHeight);
    EXPECT_GT(curve.Counts.LeftOut, 0u);
    ASSERT_EQ(curve.Polylines.size(), c.Lines);
    const TPixels px = PixelsOf(c.Rect);
    for (const TPolyline& line : curve.Polylines) {
        for (const TPlanePoint& p : line)
            EXPECT_TRUE(ClosedBracket(f, p)) << p.X << " " << p.Y;
        // An end off the border lies within a pixel of a failing point.
        for (const TPlanePoint& end : {line.front(), line.back()}) {
            if (OnBorder(end, c.Rect)) continue;
            bool failure = false;
            for (int a = -1; a <= 1; ++a)
                for (int b = -1; b <= 1; ++b)
                    failure = failure || Fails(f, end.X + a * px.X, end.Y + b * px.Y);
            EXPECT_TRUE(failure) << end.X << " " << end.Y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    ImplicitCurve, FailingPart,
    ::testing::Values(
        TFailingCase{
            "sqrt", [](Float x, Float y) { return x >= 0 ? std::sqrt(x) + y : kNaN; }, {-1, 4, -3, 1}, 1},
        TFailingCase{"log",
                     [](Float x, Float y) { return x > 0 ? x * x + y * y - 4 + std::log(x) : kNaN; },
                     {-3, 3, -3, 3},
                     1},
        TFailingCase{
            "hole_in_a_circle",
            [](Float x, Float y) { return (x - 2) * (x - 2) + y * y < 0.25L ? kNaN : x * x + y * y - 4; },
            {-2.9L, 3.1L, -3, 3},
            1}),
    test::RowName{});

// -- What users expect in the special cases -----------------------------------

struct TSpecialCase {
    const char* Name;
    TNativeFunction F;
    TImplicitRect Rect;
    std::size_t Lines;
    // The cost stays near the grid's: at most this many evaluations per grid point.
    Float EvaluationsPerGridPoint;
};

class SpecialCases : public ::testing::TestWithParam<TSpecialCase>
{
};

TEST_P(SpecialCases, DrawWhatTheHeaderSays)
{
    const TSpecialCase& c = GetParam();
    const TImplicitFunction f = Wrap(c.F);
    const TImplicitCurve curve = TraceImplicitCurve(f, c.Rect, kWidth, kHeight);
    EXPECT_EQ(curve.Polylines.size(), c.Lines);
    for (const TPolyline& line : curve.Polylines)
        for (const TPlanePoint& p : line)
            EXPECT_TRUE(ClosedBracket(f, p)) << p.X << " " << p.Y;
    EXPECT_LE(Float(curve.Counts.Evaluations), c.EvaluationsPerGridPoint * Float(curve.Counts.GridPoints));
}

INSTANTIATE_TEST_SUITE_P(
    ImplicitCurve, SpecialCases,
    ::testing::Values(
        TSpecialCase{"zero_everywhere", [](Float x, Float) { return x - x; }, {-3, 3, -3, 3}, 0, 1},
        TSpecialCase{
            "touching_at_a_point", [](Float x, Float y) { return x * x + y * y; }, {-3, 3, -3, 3}, 0, 1.01L},
        TSpecialCase{"touching_along_a_line",
                     [](Float x, Float y) { return (x - y) * (x - y); },
                     {-3, 3, -3, 3},
                     0,
                     1.25L},
        // The sign changes at the poles are jumps: three branches of tan,
        // not joined across the poles.
        TSpecialCase{"poles", [](Float x, Float y) { return y - std::tan(x); }, {-2.9L, 3.1L, -3, 3}, 3, 2},
        TSpecialCase{"nothing_but_failures", [](Float, Float) { return kNaN; }, {-3, 3, -3, 3}, 0, 1},
        TSpecialCase{"empty_rectangle", [](Float x, Float y) { return x - y; }, {1, 1, -3, 3}, 0, 0}),
    test::RowName{});

TEST(ImplicitCurve, CountsTheGridOnceAndFewRefinements)
{
    const TImplicitFunction f = Wrap([](Float x, Float y) { return x * x + y * y - 4; });
    const TImplicitCurve curve = TraceImplicitCurve(f, {-3, 3, -3, 3}, kWidth, kHeight);
    EXPECT_EQ(curve.Counts.GridPoints, 251u * 176u);
    EXPECT_LT(curve.Counts.Evaluations, curve.Counts.GridPoints + 12 * curve.Counts.Crossings);
    // Without halving cells the small circle between grid points is lost.
    TImplicitOptions coarse;
    coarse.MaxDepth = 0;
    const TImplicitFunction small = Wrap([](Float x, Float y) {
        return (x - 0.0123L) * (x - 0.0123L) + (y + 0.0071L) * (y + 0.0071L) - kSmallR * kSmallR;
    });
    EXPECT_TRUE(TraceImplicitCurve(small, {-3, 3, -3, 3}, kWidth, kHeight, coarse).Polylines.empty());
}

} // namespace
} // namespace qrv
