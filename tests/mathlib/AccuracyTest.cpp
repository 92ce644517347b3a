// Accuracy sweep: each routine against an independent 113-bit reference
// (libquadmath) on a few thousand arguments inside its domain. Each row
// prints the largest error in units in the last place and asserts a bound.
//
// Where a formula as written loses precision for some arguments, the row's
// range stays where the formula is well conditioned, or its bound grows
// with what the formula's one lossy rounding can cost: the exponential's
// x * log2(e) is rounded once, which costs up to about |log2 result| ulps.
#include "MathTestSupport.h"
#include "QrvMath.h"
#include "RowNames.h"

#include <quadmath.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace qrv::test
{
namespace
{

using Quad = __float128;

enum class Spread { Linear, Logarithmic };

struct SweepRow {
    const char* Name;
    Float (*Routine)(Float);
    Quad (*Reference)(Quad);
    Float Low, High; // magnitudes for Logarithmic
    Spread Spacing;
    bool BothSigns;           // also every argument negated
    double Ulps;              // fixed part of the bound
    double UlpsPerBinade = 0; // part growing with |log2 of the result|
};

constexpr int kSamples = 3000;

std::vector<Float> Arguments(const SweepRow& row)
{
    std::mt19937_64 random(20240607);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Float> xs;
    for (int i = 0; i < kSamples; ++i) {
        Float t = (i + static_cast<Float>(unit(random))) / kSamples;
        Float x = row.Spacing == Spread::Linear
                      ? row.Low + (row.High - row.Low) * t
                      : std::exp(std::log(row.Low) + (std::log(row.High) - std::log(row.Low)) * t);
        xs.push_back(x);
        if (row.BothSigns) xs.push_back(-x);
    }
    return xs;
}

double UlpError(Float actual, Quad reference)
{
    Quad magnitude = fabsq(reference);
    Quad smallest = std::numeric_limits<Float>::min();
    int exponent = ilogbq(magnitude < smallest ? smallest : magnitude);
    return static_cast<double>(fabsq(static_cast<Quad>(actual) - reference) / scalbnq(1, exponent - 63));
}

class AccuracySweep : public ::testing::TestWithParam<SweepRow>
{
};

TEST_P(AccuracySweep, StaysWithinItsBound)
{
    const SweepRow& row = GetParam();
    double worst = 0, worstRatio = 0;
    Float worstX = 0;
    for (Float x : Arguments(row)) {
        Quad reference = row.Reference(x);
        Float actual = row.Routine(x);
        double error = UlpError(actual, reference);
        double bound = row.Ulps + row.UlpsPerBinade * std::fabs(static_cast<double>(logbq(reference)));
        if (error / bound > worstRatio) {
            worstRatio = error / bound;
            worstX = x;
        }
        worst = std::max(worst, error);
    }
    std::printf("  %-12s largest error %8.2f ulp, %.2f of its bound (at x = %.6Lg)\n", row.Name, worst,
                worstRatio, worstX);
    EXPECT_LE(worstRatio, 1.0) << "at x = " << worstX;
}

Quad Sec(Quad x)
{
    return 1 / cosq(x);
}
Quad Csc(Quad x)
{
    return 1 / sinq(x);
}
Quad Cot(Quad x)
{
    return 1 / tanq(x);
}

INSTANTIATE_TEST_SUITE_P(
    Library, AccuracySweep,
    ::testing::Values(
        SweepRow{"Sin", qrv::Sin, sinq, 0, 100, Spread::Linear, true, 2},
        SweepRow{"SinLarge", qrv::Sin, sinq, 1e6L, 9e18L, Spread::Logarithmic, true, 2},
        SweepRow{"Cos", qrv::Cos, cosq, 0, 100, Spread::Linear, true, 2},
        SweepRow{"CosLarge", qrv::Cos, cosq, 1e6L, 9e18L, Spread::Logarithmic, true, 2},
        SweepRow{"Tan", qrv::Tan, tanq, 0, 100, Spread::Linear, true, 2},
        SweepRow{"Cot", qrv::Cot, Cot, 1e-6L, 100, Spread::Linear, true, 3},
        SweepRow{"Sec", qrv::Sec, Sec, 0, 100, Spread::Linear, true, 3},
        SweepRow{"Csc", qrv::Csc, Csc, 1e-6L, 100, Spread::Linear, true, 3},
        // 1 - cos x and 1 - sin x cancel where the cosine or sine nears 1
        SweepRow{"Versine", qrv::Versine, [](Quad x) { return 1 - cosq(x); }, 1.1L, 5.1L, Spread::Linear,
                 true, 3},
        SweepRow{"Coversine", qrv::Coversine, [](Quad x) { return 1 - sinq(x); }, -2.6L, 0.5L, Spread::Linear,
                 false, 3},
        SweepRow{"Haversine", qrv::Haversine, [](Quad x) { return (1 - cosq(x)) / 2; }, 1.1L, 5.1L,
                 Spread::Linear, true, 3},
        SweepRow{"Exsecans", qrv::Exsecans, [](Quad x) { return 1 / cosq(x) - 1; }, 1.1L, 1.5L,
                 Spread::Linear, true, 4},
        // 1 - x*x loses digits as abs(x) nears 1
        SweepRow{"ArcSin", qrv::ArcSin, asinq, 0, 0.9L, Spread::Linear, true, 2},
        SweepRow{"ArcCos", qrv::ArcCos, acosq, 0, 0.9L, Spread::Linear, true, 2},
        SweepRow{"ArcTan", qrv::ArcTan, atanq, 1e-12L, 1e12L, Spread::Logarithmic, true, 2},
        SweepRow{"ArcCot", qrv::ArcCot, [](Quad x) { return atanq(1 / x); }, 1e-12L, 1e12L,
                 Spread::Logarithmic, true, 2},
        SweepRow{"ArcSec", qrv::ArcSec, [](Quad x) { return acosq(1 / fabsq(x)); }, 1.5L, 1e12L,
                 Spread::Logarithmic, true, 3},
        // y*y - 1 with y = x/sqrt(x*x - 1) cancels as x grows: the rounding of y
        // costs about x*x ulps
        SweepRow{"ArcCsc", qrv::ArcCsc, [](Quad x) { return asinq(1 / fabsq(x)); }, 1.01L, 3, Spread::Linear,
                 true, 20},
        SweepRow{"SinH", qrv::SinH, sinhq, 0.5L, 11350, Spread::Logarithmic, true, 3, 1},
        SweepRow{"CosH", qrv::CosH, coshq, 0, 11350, Spread::Linear, true, 3, 1},
        SweepRow{"TanH", qrv::TanH, tanhq, 0.3L, 40, Spread::Logarithmic, true, 6},
        SweepRow{"CotH", qrv::CotH, [](Quad x) { return 1 / tanhq(x); }, 0.3L, 40, Spread::Logarithmic, true,
                 6},
        SweepRow{"SecH", qrv::SecH, [](Quad x) { return 1 / coshq(x); }, 0, 11350, Spread::Linear, true, 3,
                 1},
        SweepRow{"CscH", qrv::CscH, [](Quad x) { return 1 / sinhq(x); }, 0.5L, 11350, Spread::Logarithmic,
                 true, 4, 1},
        SweepRow{"ArcSinH", qrv::ArcSinH, asinhq, 0.3L, 1e2000L, Spread::Logarithmic, true, 3},
        SweepRow{"ArcCosH", qrv::ArcCosH, acoshq, 1.5L, 1e2000L, Spread::Logarithmic, false, 3},
        SweepRow{"ArcTanH", qrv::ArcTanH, atanhq, 0.3L, 0.99L, Spread::Linear, true, 6},
        SweepRow{"ArcCotH", qrv::ArcCotH, [](Quad x) { return atanhq(1 / x); }, 1.01L, 3.3L, Spread::Linear,
                 true, 4},
        SweepRow{"ArcSecH", qrv::ArcSecH, [](Quad x) { return acoshq(1 / x); }, 1e-300L, 0.8L,
                 Spread::Logarithmic, false, 4},
        SweepRow{"ArcCscH", qrv::ArcCscH, [](Quad x) { return asinhq(1 / x); }, 1e-300L, 3,
                 Spread::Logarithmic, true, 3},
        SweepRow{"Exp", qrv::Exp, expq, -11350, 11350, Spread::Linear, false, 2, 1},
        SweepRow{"ExpSmall", qrv::Exp, expq, 1e-20L, 1, Spread::Logarithmic, true, 2, 1},
        SweepRow{"Ln", qrv::Ln, logq, 1e-4900L, 1e4900L, Spread::Logarithmic, false, 2},
        SweepRow{"LogBase10", qrv::LogBase10, log10q, 1e-4900L, 1e4900L, Spread::Logarithmic, false, 2},
        SweepRow{"LogBase2", qrv::LogBase2, log2q, 1e-4900L, 1e4900L, Spread::Logarithmic, false, 1},
        SweepRow{"Sqrt", qrv::Sqrt, sqrtq, 1e-4900L, 1e4900L, Spread::Logarithmic, false, 0.5},
        SweepRow{"Square", qrv::Square, [](Quad x) { return x * x; }, 1e-2000L, 1e2000L, Spread::Logarithmic,
                 true, 0.5}),
    RowName{});

// The two-argument routines over a grid of arguments.
TEST(AccuracySweepBinary, LogBaseNAndPower)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double worstLog = 0, worstPowerRatio = 0, worstPower = 0;
    for (int i = 0; i < kSamples; ++i) {
        Float base = 1.5L + 98 * static_cast<Float>(unit(random));
        Float x = std::exp(static_cast<Float>(-2000 + 4000 * unit(random)));
        worstLog = std::max(worstLog, UlpError(LogBaseN(base, x), logq(x) / logq(base)));

        // exponents keep the result inside the Float range; the product
        // Exponent * Ln(Base) is rounded before the exponential, which costs
        // up to about 2.5 ulps per binade of the result
        Float exponent = static_cast<Float>(-2000 + 4000 * unit(random)) / std::log(base);
        Quad reference = powq(base, exponent);
        double error = UlpError(Power(base, exponent), reference);
        worstPower = std::max(worstPower, error);
        worstPowerRatio =
            std::max(worstPowerRatio, error / (4 + 2.5 * std::fabs(static_cast<double>(logbq(reference)))));
    }
    std::printf("  %-12s largest error %8.2f ulp\n", "LogBaseN", worstLog);
    std::printf("  %-12s largest error %8.2f ulp, %.2f of its bound\n", "Power", worstPower, worstPowerRatio);
    EXPECT_LE(worstLog, 3);
    EXPECT_LE(worstPowerRatio, 1.0);
}

} // namespace
} // namespace qrv::test
