// The Gauss-Kronrod rule's constants and the integral's answers where it
// cannot give a value.
#include "AnalysisTestSupport.h"
#include "QrvIntegral.h"
#include "QrvKronrodRule.h"

#include <gtest/gtest.h>

#include <quadmath.h>

#include <cmath>

namespace qrv
{
namespace
{

using Quad = __float128;

// The rule applied to x^k on [-1, 1] in 113-bit arithmetic, against 2/(k+1)
// for even k (0 for odd k by symmetry).
Quad RuleError(int k, bool gauss)
{
    Quad sum = 0;
    for (int i = 0; i < kKronrodHalf; ++i) {
        if (gauss && i % 2 == 0) continue;
        const Quad w = gauss ? Quad(kGaussWeights[i / 2]) : Quad(kKronrodWeights[i]);
        const Quad x = kKronrodNodes[i];
        sum += (i == kKronrodHalf - 1 ? 1 : 2) * w * powq(x, k);
    }
    return fabsq(sum - Quad(2) / (k + 1));
}

TEST(KronrodRule, IsExactForPolynomialsUpToItsDegree)
{
    // 21 points: degree 31; the embedded 10-point Gauss rule: degree 19.
    // A digit wrong anywhere within Float's precision breaks one of these.
    for (int k = 0; k <= 30; k += 2)
        EXPECT_LE(RuleError(k, false), Quad(2e-19L)) << "Kronrod x^" << k;
    for (int k = 0; k <= 18; k += 2)
        EXPECT_LE(RuleError(k, true), Quad(2e-19L)) << "Gauss x^" << k;
    // ... and no further: the rules are what they say.
    EXPECT_GT(RuleError(32, false), Quad(1e-14L));
    EXPECT_GT(RuleError(20, true), Quad(1e-8L));
}

TEST(Integral, FailureAtANodeGivesNoValueAndTheNode)
{
    test::TTestCurve curve([](Float x) -> std::optional<TJet> {
        if (x > 0.7L) return std::nullopt;
        return test::MakeJet(x, 1, 0);
    });
    const TIntegral integral = Integrate(curve, 0, 1);
    EXPECT_EQ(integral.NoValue, TNoValue::Failure);
    EXPECT_GT(integral.FaultX, 0.7L);
    EXPECT_EQ(integral.FaultMessage, test::kTestFailure);
}

TEST(Integral, ADivergentIntegralGivesNoValue)
{
    // 1/(x - 0.3)^2 between the samples: what the pole probe would catch,
    // met by the rule alone.
    test::TTestCurve curve([](Float x) -> std::optional<TJet> {
        const Float d = x - 0.3L;
        return test::MakeJet(1 / (d * d), -2 / (d * d * d), 6 / (d * d * d * d));
    });
    const TIntegral integral = Integrate(curve, 0, 1);
    EXPECT_EQ(integral.NoValue, TNoValue::NoConvergence);
}

TEST(Integral, ARangeOfOnePointIsZero)
{
    test::TTestCurve curve(
        test::Smooth([](Float x) { return x; }, [](Float) { return 1; }, [](Float) { return 0; }));
    const TIntegral integral = Integrate(curve, 2, 2);
    EXPECT_TRUE(integral.NoValue == TNoValue::None && integral.Value == 0 && integral.Error == 0);
    EXPECT_EQ(curve.Evaluations(), 0u);
}

} // namespace
} // namespace qrv
