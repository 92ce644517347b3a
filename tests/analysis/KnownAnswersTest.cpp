// Features with known answers: every x within 1e-18 relative of the true
// value (absolute near 0), every integral within 1e-17 relative. The true
// values come from closed forms or Newton's method in 113-bit arithmetic.
// The worst case of each kind is printed at the end.
#include "AnalysisTestSupport.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <quadmath.h>

#include <cmath>
#include <cstdio>
#include <map>

namespace qrv
{
namespace
{

using Quad = __float128;
using test::OfKind;
using test::Smooth;

const Quad kPi = acosq(Quad(-1));

// A root of f near x0 by Newton's method in 113-bit arithmetic.
Quad QuadRoot(Quad (*f)(Quad), Quad (*df)(Quad), Quad x0)
{
    for (int i = 0; i < 100; ++i)
        x0 -= f(x0) / df(x0);
    return x0;
}

// The largest error seen for each kind, printed when the program ends.
class TWorstCases : public ::testing::Environment
{
public:
    static void Note(const std::string& kind, const std::string& row, Quad error)
    {
        auto& [worst, name] = Table()[kind];
        if (error >= worst) {
            worst = error;
            name = row;
        }
    }
    void TearDown() override
    {
        for (const auto& [kind, entry] : Table())
            std::printf("worst %-12s %.3Le (%s)\n", kind.c_str(), static_cast<long double>(entry.first),
                        entry.second.c_str());
    }

private:
    static std::map<std::string, std::pair<Quad, std::string>>& Table()
    {
        static std::map<std::string, std::pair<Quad, std::string>> table;
        return table;
    }
};

const auto* const kWorstCases = ::testing::AddGlobalTestEnvironment(new TWorstCases);

// The error of x against the true value: relative, absolute near 0.
Quad XError(Float x, Quad truth)
{
    const Quad diff = fabsq(Quad(x) - truth);
    return fabsq(truth) < Quad(1e-3L) ? diff : diff / fabsq(truth);
}

struct TRange {
    double XMin, XMax, Step;
};

// The true x of each kind, in order.
struct TTruth {
    std::vector<Quad> Roots, Minima, Maxima, Inflections;
};

struct TKnownCase {
    const char* Name;
    test::TJetFunction Function;
    TRange Range;
    TTruth Truth;
    std::optional<Quad> Integral; // nothing: no value (a pole)
};

class KnownAnswers : public ::testing::TestWithParam<TKnownCase>
{
};

void ExpectAt(const std::vector<TFeature>& found, const std::vector<Quad>& truth, const char* kind,
              const char* row)
{
    ASSERT_EQ(found.size(), truth.size()) << kind;
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const Quad error = XError(found[i].X, truth[i]);
        TWorstCases::Note(kind, row, error);
        EXPECT_LE(error, truth[i] == 0 ? Quad(1e-30L) : Quad(1e-18L))
            << kind << " " << i << " at " << static_cast<long double>(found[i].X);
    }
}

TEST_P(KnownAnswers, FindsEveryFeatureToTheLastBits)
{
    const TKnownCase& c = GetParam();
    test::TTestCurve curve(c.Function);
    const std::vector<TFeature> features = test::FeaturesOf(curve, c.Range.XMin, c.Range.XMax, c.Range.Step);
    ExpectAt(OfKind(features, TFeatureKind::Root), c.Truth.Roots, "root", c.Name);
    ExpectAt(OfKind(features, TFeatureKind::Minimum), c.Truth.Minima, "minimum", c.Name);
    ExpectAt(OfKind(features, TFeatureKind::Maximum), c.Truth.Maxima, "maximum", c.Name);
    ExpectAt(OfKind(features, TFeatureKind::Inflection), c.Truth.Inflections, "inflection", c.Name);
    const TFeature& integral = test::IntegralIn(features);
    ASSERT_EQ(integral.HasValue(), c.Integral.has_value()) << integral.FaultMessage;
    if (!c.Integral) return;
    const Quad error = fabsq(Quad(integral.Value) - *c.Integral) / fabsq(*c.Integral);
    TWorstCases::Note("integral", c.Name, error);
    EXPECT_LE(error, Quad(1e-17L)) << static_cast<long double>(integral.Value);
    // The estimate covers the true error and is not wildly pessimistic.
    EXPECT_GE(Quad(integral.Error), fabsq(Quad(integral.Value) - *c.Integral));
    EXPECT_LE(integral.Error, 1e-16L * std::fabs(integral.Value));
}

Quad Wallis(Quad x)
{
    return x * x * x - 2 * x - 5;
}
Quad WallisSlope(Quad x)
{
    return 3 * x * x - 2;
}
Quad Quintic(Quad x)
{
    return x * x * x * x * x - x - 1;
}
Quad QuinticSlope(Quad x)
{
    return 5 * x * x * x * x - 1;
}

std::optional<TJet> Log(Float x)
{
    if (x <= 0) return std::nullopt;
    return test::MakeJet(std::log(x), 1 / x, -1 / (x * x));
}

std::optional<TJet> Sqrt(Float x) // no derivative at 0
{
    if (x < 0) return std::nullopt;
    if (x == 0) return TJet{};
    const Float s = std::sqrt(x);
    return test::MakeJet(s, 1 / (2 * s), -1 / (4 * x * s));
}

const auto kExpMinus3 = Smooth([](Float x) { return std::exp(x) - 3; }, [](Float x) { return std::exp(x); },
                               [](Float x) { return std::exp(x); });
const auto kXExpMinusX =
    Smooth([](Float x) { return x * std::exp(-x); }, [](Float x) { return (1 - x) * std::exp(-x); },
           [](Float x) { return (x - 2) * std::exp(-x); });
const auto kGaussian =
    Smooth([](Float x) { return std::exp(-x * x); }, [](Float x) { return -2 * x * std::exp(-x * x); },
           [](Float x) { return (4 * x * x - 2) * std::exp(-x * x); });
const auto kLorentz = Smooth(
    [](Float x) { return 1 / (1 + x * x); }, [](Float x) { return -2 * x / ((1 + x * x) * (1 + x * x)); },
    [](Float x) { return (6 * x * x - 2) / ((1 + x * x) * (1 + x * x) * (1 + x * x)); });

const Quad kQuarticRoot5 = powq(Quad(1) / 5, Quad(1) / 4);

const TKnownCase kKnownCases[] = {
    {"cubic_wallis",
     test::Polynomial({-5, -2, 0, 1}),
     {0, 4, 0.01},
     {{QuadRoot(Wallis, WallisSlope, 2)}, {sqrtq(Quad(2) / 3)}, {}, {}},
     28},
    {"quadratic", test::Polynomial({-2, 0, 1}), {-3, 3, 0.1}, {{-sqrtq(2), sqrtq(2)}, {0}, {}, {}}, 6},
    {"quintic",
     test::Polynomial({-1, -1, 0, 0, 0, 1}),
     {-2, 2, 0.05},
     {{QuadRoot(Quintic, QuinticSlope, Quad(1.2L))}, {kQuarticRoot5}, {-kQuarticRoot5}, {0}},
     -4},
    {"sin",
     test::Sin(),
     {0.5, 10, 0.01},
     {{kPi, 2 * kPi, 3 * kPi}, {3 * kPi / 2}, {kPi / 2, 5 * kPi / 2}, {kPi, 2 * kPi, 3 * kPi}},
     cosq(Quad(0.5L)) - cosq(10)},
    {"cos",
     test::Cos(),
     {-1, 7, 0.02},
     {{kPi / 2, 3 * kPi / 2}, {kPi}, {0, 2 * kPi}, {kPi / 2, 3 * kPi / 2}},
     sinq(7) - sinq(-1)},
    {"tan", test::Tan(), {-1.2, 7.5, 0.01}, {{0, kPi, 2 * kPi}, {}, {}, {0, kPi, 2 * kPi}}, std::nullopt},
    {"exp_minus_3", kExpMinus3, {-1, 3, 0.01}, {{logq(3)}, {}, {}, {}}, expq(3) - expq(-1) - 12},
    {"log",
     Log,
     {0.5, 4, 0.01},
     {{1}, {}, {}, {}},
     (4 * logq(4) - 4) - (Quad(0.5L) * logq(Quad(0.5L)) - Quad(0.5L))},
    {"x_exp_minus_x", kXExpMinusX, {0, 5, 0.01}, {{0}, {}, {1}, {2}}, 1 - 6 * expq(-5)},
    {"gaussian",
     kGaussian,
     {-3, 3, 0.01},
     {{}, {}, {0}, {-1 / sqrtq(2), 1 / sqrtq(2)}},
     sqrtq(kPi) * erfq(3)},
    {"lorentz", kLorentz, {0, 1, 0.001}, {{}, {}, {}, {1 / sqrtq(3)}}, kPi / 4},
    {"sqrt", Sqrt, {0, 2, 0.01}, {{0}, {}, {}, {}}, 2 * sqrtq(8) / 3},
};

INSTANTIATE_TEST_SUITE_P(Curves, KnownAnswers, ::testing::ValuesIn(kKnownCases), test::RowName{});

struct TPairCase {
    const char* Name;
    test::TJetFunction F, G;
    TRange Range;
    std::vector<Quad> Crossings;
};

class KnownIntersections : public ::testing::TestWithParam<TPairCase>
{
};

TEST_P(KnownIntersections, FindsEveryCrossingToTheLastBits)
{
    const TPairCase& c = GetParam();
    test::TTestCurve f(c.F), g(c.G);
    const TRange& r = c.Range;
    const std::vector<TFeature> features = AnalyzeCurves(
        {TCurveInput{1, &f, r.XMin, r.XMax, r.Step}, TCurveInput{2, &g, r.XMin, r.XMax, r.Step}});
    const std::vector<TFeature> crossings = OfKind(features, TFeatureKind::Intersection);
    ExpectAt(crossings, c.Crossings, "intersection", c.Name);
    for (const TFeature& x : crossings) {
        EXPECT_EQ(x.Curve, 1);
        EXPECT_EQ(x.OtherCurve, 2);
        EXPECT_EQ(x.Y, c.F(x.X)->Value); // the y of the first curve
    }
}

Quad ExpLine(Quad x)
{
    return expq(x) - x - 2;
}
Quad ExpLineSlope(Quad x)
{
    return expq(x) - 1;
}

const auto kExp = Smooth([](Float x) { return std::exp(x); }, [](Float x) { return std::exp(x); },
                         [](Float x) { return std::exp(x); });

const TPairCase kPairCases[] = {
    {"sin_cos", test::Sin(), test::Cos(), {0, 7, 0.01}, {kPi / 4, 5 * kPi / 4}},
    // A line touching a curve meets it.
    {"sin_tangent", test::Sin(), test::Polynomial({1}), {0, 3, 0.01}, {kPi / 2}},
    {"parabola_line", test::Polynomial({0, 0, 1}), test::Polynomial({2, -1}), {-3, 3, 0.07}, {-2, 1}},
    {"exp_line",
     kExp,
     test::Polynomial({2, 1}),
     {-3, 3, 0.01},
     {QuadRoot(ExpLine, ExpLineSlope, Quad(-1.8L)), QuadRoot(ExpLine, ExpLineSlope, Quad(1.1L))}},
};

INSTANTIATE_TEST_SUITE_P(Pairs, KnownIntersections, ::testing::ValuesIn(kPairCases), test::RowName{});

} // namespace
} // namespace qrv
