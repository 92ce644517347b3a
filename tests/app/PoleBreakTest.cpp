// Breaking the line at poles: the probe decides with the formula where a
// pole lies between neighbouring points, and the run tells its target,
// without changing a single point.
#include "QrvAngleMode.h"
#include "QrvPlotRun.h"
#include "QrvPoleProbe.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace qrv
{
namespace
{

// The points of a run and the indexes of the points that follow a break.
struct TBreakRecorder : TPlotTarget {
    void ClearPoints() override
    {
        Points.clear();
        Breaks.clear();
    }
    void AddPoint(double x, double y) override { Points.push_back({x, y}); }
    void BreakLine() override { Breaks.push_back(Points.size()); }
    std::vector<std::pair<double, double>> Points;
    std::vector<std::size_t> Breaks;
};

struct TPoleCase {
    const char* Name;
    const char* Formula;
    const char* XMin;
    const char* XMax;
    const char* Step;
    TAngleMode Mode;
    std::vector<double> Poles; // each lies between a break's two points
};
void PrintTo(const TPoleCase& c, std::ostream* os)
{
    *os << c.Name;
}

class PoleBreaks : public testing::TestWithParam<TPoleCase>
{
};

TEST_P(PoleBreaks, BreakExactlyAtThePolesAndKeepEveryPoint)
{
    const TPoleCase& c = GetParam();
    const TScopedAngleMode mode(c.Mode);
    const TPlotFields fields{c.Formula, c.XMin, c.XMax, c.Step};

    TBreakRecorder plain, broken;
    RunPlot(fields, plain);
    RunPlot(fields, broken, {.BreakAtPoles = true});

    EXPECT_TRUE(plain.Breaks.empty()) << "without the option no break is ever reported";
    ASSERT_EQ(broken.Points, plain.Points) << "the option never changes a point";
    ASSERT_EQ(broken.Breaks.size(), c.Poles.size());
    for (std::size_t k = 0; k < c.Poles.size(); ++k) {
        const std::size_t after = broken.Breaks[k];
        ASSERT_GT(after, 0u);
        const double a = broken.Points[after - 1].first, b = broken.Points[after].first;
        EXPECT_TRUE(std::min(a, b) <= c.Poles[k] && c.Poles[k] <= std::max(a, b))
            << "break " << k << " lies between " << a << " and " << b << ", not at " << c.Poles[k];
    }
}

const double kPi = 3.14159265358979323846;

INSTANTIATE_TEST_SUITE_P(
    Run, PoleBreaks,
    testing::Values(
        TPoleCase{"Reciprocal", "1/x", "-5", "5", "0.1", TAngleMode::Radians, {0}},
        TPoleCase{"ReciprocalDescending", "1/x", "5", "-5", "-0.1", TAngleMode::Radians, {0}},
        TPoleCase{"EvenPole", "1/(x*x)", "-5", "5", "0.3", TAngleMode::Radians, {0}},
        // A point almost on an even pole: the curve climbs from it on both
        // sides, so nothing jumps across and the line stays joined.
        TPoleCase{"PointOnEvenPole", "1/(x*x)", "-5", "5", "0.1", TAngleMode::Radians, {}},
        TPoleCase{"TwoPoles", "1/(x*x-1)", "-5", "5", "0.1", TAngleMode::Radians, {-1, 1}},
        TPoleCase{"TangentDegrees", "tan(x)", "0", "720", "1", TAngleMode::Degrees, {90, 270, 450, 630}},
        TPoleCase{"TangentRadians",
                  "tan(x)",
                  "-10",
                  "10",
                  "0.1",
                  TAngleMode::Radians,
                  {-5 * kPi / 2, -3 * kPi / 2, -kPi / 2, kPi / 2, 3 * kPi / 2, 5 * kPi / 2}},
        // Steep but continuous, and real jumps, stay joined.
        TPoleCase{"SteepExponential", "exp(x)", "0", "50", "1", TAngleMode::Radians, {}},
        TPoleCase{"NinthPower", "power(x;9)", "-5", "5", "0.1", TAngleMode::Radians, {}},
        TPoleCase{"IntegerPartJumps", "x div 1", "-5", "5", "0.1", TAngleMode::Radians, {}},
        TPoleCase{"SignJumps", "(x>0)-(x<0)", "-5", "5", "0.3", TAngleMode::Radians, {}},
        // Peaks between coarse samples are approached, not poles.
        TPoleCase{"CoarseSine", "sin(x)", "0", "100", "7", TAngleMode::Radians, {}},
        TPoleCase{"NarrowPeak", "1/(x*x+0.01)", "-5", "5", "0.3", TAngleMode::Radians, {}},
        TPoleCase{"Constant", "20000", "0", "10", "1", TAngleMode::Radians, {}}),
    test::RowName{});

TEST(PoleProbe, AnErrorBetweenThePointsIsABreak)
{
    // Undefined around 1.5 only.
    TPoleProbe probe([](double x) -> std::optional<Float> {
        if (x > 1.4 && x < 1.6) return std::nullopt;
        return Float(x);
    });
    EXPECT_TRUE(probe.PoleBetween(1, 1, 2, 2));
    EXPECT_FALSE(probe.PoleBetween(2, 2, 3, 3));
}

TEST(PoleProbe, ContinuousPairsCostFewEvaluations)
{
    TPoleProbe probe([](double x) -> std::optional<Float> { return std::sin(Float(x)); });
    for (int k = 0; k < 100; ++k)
        EXPECT_FALSE(probe.PoleBetween(k, std::sin(Float(k)), k + 1, std::sin(Float(k + 1)))) << k;
    EXPECT_LE(probe.Evaluations(), 100u * (2 * 8 + 1));
}

} // namespace
} // namespace qrv
