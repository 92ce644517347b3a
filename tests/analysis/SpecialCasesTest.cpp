// The cases where a user's expectation decides: poles, formulas that fail
// inside the range, flat pieces, touching roots and jumps; the order of the
// list; and what an analysis costs in evaluations.
#include "AnalysisTestSupport.h"
#include "QrvSampleGrid.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qrv
{
namespace
{

using test::MakeJet;
using test::OfKind;
using test::Smooth;

constexpr Float kPi = 3.14159265358979323846264338327950288L;

std::vector<Float> XsOf(const std::vector<TFeature>& features)
{
    std::vector<Float> xs;
    for (const TFeature& f : features)
        xs.push_back(f.X);
    return xs;
}

void ExpectNear(const std::vector<Float>& found, const std::vector<Float>& expected, Float tolerance,
                const char* what)
{
    ASSERT_EQ(found.size(), expected.size()) << what;
    for (std::size_t i = 0; i < found.size(); ++i)
        EXPECT_NEAR(found[i], expected[i], tolerance * std::max(Float(1), std::fabs(expected[i])))
            << what << " " << i;
}

// -- Features never cross a pole or a failing sample --------------------------

struct TRange {
    double XMin, XMax, Step;
};

struct TBreakCase {
    const char* Name;
    test::TJetFunction Function;
    TRange Range;
    std::vector<Float> Roots;
    TNoValue Integral;
    Float FaultNear; // where the reason points, to within 0.02
};

class Breaks : public ::testing::TestWithParam<TBreakCase>
{
};

TEST_P(Breaks, FindsTheFeaturesOfThePiecesAndNoIntegral)
{
    const TBreakCase& c = GetParam();
    test::TTestCurve curve(c.Function);
    const std::vector<TFeature> features = test::FeaturesOf(curve, c.Range.XMin, c.Range.XMax, c.Range.Step);
    ExpectNear(XsOf(OfKind(features, TFeatureKind::Root)), c.Roots, 1e-18L, "roots");
    // Poles and failures make no extremum (tan has none, 1/x^2 has its
    // sign change of f' across the pole).
    EXPECT_TRUE(OfKind(features, TFeatureKind::Minimum).empty());
    EXPECT_TRUE(OfKind(features, TFeatureKind::Maximum).empty());
    const TFeature& integral = test::IntegralIn(features);
    EXPECT_EQ(integral.NoValue, c.Integral);
    EXPECT_NEAR(integral.FaultX, c.FaultNear, 0.02L);
    if (c.Integral == TNoValue::Failure) {
        EXPECT_EQ(integral.FaultMessage, test::kTestFailure);
    }
}

std::optional<TJet> Reciprocal(Float x)
{
    if (x == 0) return std::nullopt;
    return MakeJet(1 / x, -1 / (x * x), 2 / (x * x * x));
}

std::optional<TJet> InverseSquare(Float x)
{
    if (x == 0) return std::nullopt;
    return MakeJet(1 / (x * x), -2 / (x * x * x), 6 / (x * x * x * x));
}

// sqrt(1 - x) - 0.5: fails beyond 1.
std::optional<TJet> RootOfOneMinus(Float x)
{
    if (x > 1) return std::nullopt;
    const Float s = std::sqrt(1 - x);
    if (s == 0) return TJet{-0.5L, 0, 0, false, false};
    return MakeJet(s - 0.5L, -1 / (2 * s), -1 / (4 * s * s * s));
}

// sqrt(x^2 - 1) - 0.5: fails between -1 and 1.
std::optional<TJet> Hyperbola(Float x)
{
    const Float u = x * x - 1;
    if (u < 0) return std::nullopt;
    const Float s = std::sqrt(u);
    if (s == 0) return TJet{-0.5L, 0, 0, false, false};
    return MakeJet(s - 0.5L, x / s, -1 / (s * s * s));
}

const TBreakCase kBreakCases[] = {
    {"tan", test::Tan(), {-1.2, 7.5, 0.01}, {0, kPi, 2 * kPi}, TNoValue::Pole, kPi / 2},
    {"reciprocal", Reciprocal, {-1, 1, 0.3}, {}, TNoValue::Pole, 0.05L},
    {"inverse_square", InverseSquare, {-1, 1, 0.3}, {}, TNoValue::Pole, 0.05L},
    {"sqrt_fails_beyond_one", RootOfOneMinus, {0, 2, 0.01}, {0.75L}, TNoValue::Failure, 1.01L},
    {"sqrt_fails_in_the_middle",
     Hyperbola,
     {-2, 2, 0.01},
     {-std::sqrt(1.25L), std::sqrt(1.25L)},
     TNoValue::Failure,
     -0.99L},
};

INSTANTIATE_TEST_SUITE_P(PolesAndFaults, Breaks, ::testing::ValuesIn(kBreakCases), test::RowName{});

// -- Flat pieces, touching roots and jumps -------------------------------------

struct TShapeCase {
    const char* Name;
    test::TJetFunction Function;
    TRange Range;
    std::vector<Float> Roots, Minima, Maxima;
};

class Shapes : public ::testing::TestWithParam<TShapeCase>
{
};

TEST_P(Shapes, ReportsWhatAUserExpects)
{
    const TShapeCase& c = GetParam();
    test::TTestCurve curve(c.Function);
    const std::vector<TFeature> features = test::FeaturesOf(curve, c.Range.XMin, c.Range.XMax, c.Range.Step);
    ExpectNear(XsOf(OfKind(features, TFeatureKind::Root)), c.Roots, 1e-18L, "roots");
    ExpectNear(XsOf(OfKind(features, TFeatureKind::Minimum)), c.Minima, 1e-18L, "minima");
    ExpectNear(XsOf(OfKind(features, TFeatureKind::Maximum)), c.Maxima, 1e-18L, "maxima");
}

// A piecewise function: value and slope on each side of the kinks.
std::optional<TJet> Ramp(Float x) // (x - 1 + abs(x - 1)) / 2
{
    if (x == 1) return TJet{0, 0, 0, false, false};
    return x < 1 ? MakeJet(0, 0, 0) : MakeJet(x - 1, 1, 0);
}

std::optional<TJet> DeadZone(Float x)
{
    if (x == 1 || x == -1) return TJet{0, 0, 0, false, false};
    if (x < -1) return MakeJet(x + 1, 1, 0);
    if (x > 1) return MakeJet(x - 1, 1, 0);
    return MakeJet(0, 0, 0);
}

std::optional<TJet> Plateau(Float x) // max(x^2, 1)
{
    if (std::fabs(x) == 1) return TJet{1, 0, 0, false, false};
    if (std::fabs(x) < 1) return MakeJet(1, 0, 0);
    return MakeJet(x * x, 2 * x, 2);
}

std::optional<TJet> Corner(Float x) // abs(x - 0.3)
{
    const Float d = x - 0.3L;
    if (d == 0) return TJet{0, 0, 0, false, false};
    return MakeJet(std::fabs(d), d < 0 ? -1 : 1, 0);
}

std::optional<TJet> StepThroughZero(Float x) // x div 1 + 0.5
{
    const Float n = std::floor(x);
    return TJet{n + 0.5L, 0, 0, x != n, x != n};
}

// (x - (x div 1) - 0.5)^2, plus x div 1 when `steps`: continuous corners at
// the integers, or jumps there.
std::optional<TJet> Scallops(Float x, bool steps)
{
    const Float n = std::floor(x), u = x - n - 0.5L;
    return TJet{(steps ? n : 0) + u * u, 2 * u, 2, x != n, x != n};
}

const auto kSquareAtOne = Smooth([](Float x) { return (x - 1) * (x - 1); },
                                 [](Float x) { return 2 * (x - 1); }, [](Float) { return 2; });
const auto kSquareAtPi = Smooth([](Float x) { return (x - kPi) * (x - kPi); },
                                [](Float x) { return 2 * (x - kPi); }, [](Float) { return 2; });
const auto kSinSquared =
    Smooth([](Float x) { return std::sin(x) * std::sin(x); }, [](Float x) { return std::sin(2 * x); },
           [](Float x) { return 2 * std::cos(2 * x); });

const TShapeCase kShapeCases[] = {
    // Flat pieces: their ends inside the range are the roots.
    {"ramp", Ramp, {-1, 3, 0.1}, {1}, {}, {}},
    {"dead_zone", DeadZone, {-3, 3, 0.1}, {-1, 1}, {}, {}},
    {"zero_everywhere", test::Polynomial({0}), {-1, 1, 0.1}, {}, {}, {}},
    {"plateau_minimum", Plateau, {-3, 3, 0.1}, {}, {-1, 1}, {}},
    // Touching roots: an extremum at zero is a root too.
    {"square_at_one", kSquareAtOne, {-1, 3, 0.07}, {1}, {1}, {}},
    {"square_at_pi", kSquareAtPi, {0, 6, 0.07}, {kPi}, {kPi}, {}},
    {"sin_squared", kSinSquared, {2, 4, 0.01}, {kPi}, {kPi}, {}},
    {"one_minus_cos",
     [](Float x) { return test::MakeJet(1 - std::cos(x), std::sin(x), std::cos(x)); },
     {-1, 1, 0.1},
     {0},
     {0},
     {}},
    {"expanded_square", test::Polynomial({1.21L, -2.2L, 1}), {0, 2, 0.03}, {1.1L}, {1.1L}, {}},
    {"negative_maximum_touching", test::Polynomial({-0.49L, 1.4L, -1}), {0, 2, 0.03}, {0.7L}, {}, {0.7L}},
    {"minimum_above_zero", test::Polynomial({1e-6L, 0, 1}), {-1, 1, 0.03}, {}, {0}, {}},
    {"two_roots_between_samples", test::Polynomial({-1e-10L, 0, 1}), {-1, 1, 0.03}, {-1e-5L, 1e-5L}, {0}, {}},
    {"corner", Corner, {0, 1, 0.07}, {0.3L}, {0.3L}, {}},
    // Jumps: no root, no extremum where the curve steps. The scallops touch
    // zero at their minima: touching roots there.
    {"step_through_zero", StepThroughZero, {-2.05, 2.05, 0.1}, {}, {}, {}},
    {"scallops",
     [](Float x) { return Scallops(x, false); },
     {0.25, 3.25, 0.1},
     {0.5L, 1.5L, 2.5L},
     {0.5L, 1.5L, 2.5L},
     {1, 2, 3}},
    {"scallops_on_steps",
     [](Float x) { return Scallops(x, true); },
     {0.25, 3.25, 0.1},
     {0.5L},
     {0.5L, 1.5L, 2.5L},
     {}},
};

INSTANTIATE_TEST_SUITE_P(FlatTouchingJumps, Shapes, ::testing::ValuesIn(kShapeCases), test::RowName{});

// -- The list ------------------------------------------------------------------

const auto kSin = test::Sin();
const auto kCos = test::Cos();

TEST(FeatureList, IsSortedByCurveThenPairsByXWithTheIntegralLast)
{
    test::TTestCurve sin(kSin), cos(kCos);
    // Listed as curves 2 and 1: the order of the list does not follow the input.
    const std::vector<TFeature> features =
        AnalyzeCurves({TCurveInput{2, &sin, 0.5, 7, 0.01}, TCurveInput{1, &cos, 0, 7, 0.01}});
    std::vector<std::pair<int, TFeatureKind>> order;
    for (const TFeature& f : features)
        order.push_back({f.Kind == TFeatureKind::Intersection ? 12 : f.Curve, f.Kind});
    using K = TFeatureKind;
    const std::vector<std::pair<int, TFeatureKind>> expected = {
        {1, K::Root},       {1, K::Inflection}, {1, K::Minimum},       {1, K::Root},
        {1, K::Inflection}, {1, K::Maximum},    {1, K::Integral},      {2, K::Maximum},
        {2, K::Root},       {2, K::Inflection}, {2, K::Minimum},       {2, K::Root},
        {2, K::Inflection}, {2, K::Integral},   {12, K::Intersection}, {12, K::Intersection}};
    EXPECT_EQ(order, expected);
    // cos at 0 is X min: no maximum there; its root at pi/2 comes before the
    // inflection at the same x.
    EXPECT_EQ(features[0].X, features[1].X);
    EXPECT_EQ(features.back().Curve, 1);
    EXPECT_EQ(features.back().OtherCurve, 2);
}

TEST(FeatureList, ADescendingRangeGivesTheSameFeaturesAndTheNegativeIntegral)
{
    test::TTestCurve up(kSin), down(kSin);
    const std::vector<TFeature> a = test::FeaturesOf(up, 0.5, 10, 0.01);
    const std::vector<TFeature> b = test::FeaturesOf(down, 10, 0.5, -0.01);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i + 1 < a.size(); ++i) {
        EXPECT_EQ(a[i].Kind, b[i].Kind);
        EXPECT_NEAR(a[i].X, b[i].X, 1e-18L);
    }
    EXPECT_NEAR(a.back().Value, -b.back().Value, 1e-18L);
}

// -- Cost ----------------------------------------------------------------------

TEST(AnalysisCost, TenRootsAndTenExtremaOnTenThousandStepsCostAtMostTwiceTheRun)
{
    test::TTestCurve curve(kSin);
    const double step = 31.4 / 10000;
    const std::size_t samples = SampleXs(0.1, 31.5, step).size();
    TAnalysisCounts counts;
    const std::vector<TFeature> features = test::FeaturesOf(curve, 0.1, 31.5, step, &counts);
    ASSERT_EQ(OfKind(features, TFeatureKind::Root).size(), 10u);
    ASSERT_EQ(OfKind(features, TFeatureKind::Minimum).size() + OfKind(features, TFeatureKind::Maximum).size(),
              10u);
    ASSERT_TRUE(test::IntegralIn(features).HasValue());
    // The probe's evaluations included.
    EXPECT_LE(curve.Evaluations(), 2 * samples);
    std::printf("samples %zu, evaluations %lu (analysis %llu, pole questions %llu)\n", samples,
                curve.Evaluations(), static_cast<unsigned long long>(counts.Evaluations),
                static_cast<unsigned long long>(counts.PoleQuestions));
}

TEST(AnalysisCost, APairOnASharedGridEvaluatesNoSampleTwice)
{
    test::TTestCurve sinAlone(kSin), cosAlone(kCos), sin(kSin), cos(kCos);
    test::FeaturesOf(sinAlone, 0, 7, 0.001);
    test::FeaturesOf(cosAlone, 0, 7, 0.001);
    AnalyzeCurves({TCurveInput{1, &sin, 0, 7, 0.001}, TCurveInput{2, &cos, 0, 7, 0.001}});
    const unsigned long extra =
        sin.Evaluations() + cos.Evaluations() - sinAlone.Evaluations() - cosAlone.Evaluations();
    // Two crossings, each refined and probed on both curves.
    EXPECT_LE(extra, 200u);
}

} // namespace
} // namespace qrv
