// Prints the cost of function-heavy formulas evaluated at 10 001 x values:
// through our engine with the built-in context, as hand-written long double
// code calling the same library routines, and through muparser (double).
// Also the cost of single library routines. Figures only; nothing asserted.
#include "QrvBuiltins.h"
#include "QrvFpu.h"

#include <muParser.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{

using namespace qrv;

constexpr int kPoints = 10001;
constexpr int kPasses = 40;

// The x values of a plot from -10 to 10 with step 0.002.
std::vector<double> PlotXs()
{
    std::vector<double> xs;
    for (int i = 0; i < kPoints; ++i)
        xs.push_back(-10 + 0.002 * i);
    return xs;
}

// Best time per evaluation over several passes, in nanoseconds; the sum of
// one pass goes to sink so that nothing is optimised away.
double NsPerEval(const std::function<Float()>& evaluateAll, volatile Float& sink)
{
    double best = 1e300;
    for (int pass = 0; pass < kPasses; ++pass) {
        auto start = std::chrono::steady_clock::now();
        sink = evaluateAll();
        auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::nano>(stop - start).count());
    }
    return best / kPoints;
}

// The time of one call of `f` in summing it over the points `xs`.
template <class Point, class Function>
double NsPerPoint(const std::vector<Point>& xs, Function f, volatile Float& sink)
{
    return NsPerEval(
        [&] {
            Float sum = 0;
            for (Point x : xs)
                sum += f(x);
            return sum;
        },
        sink);
}

Float Constant(std::string_view name)
{
    for (const TBuiltinConstant& constant : BuiltinConstants())
        if (constant.Name == name) return constant.Value;
    return 0;
}

struct Case {
    const char* Ours;
    const char* Muparser;
    Float (*Native)(Float);
};

const Float kSqrt2Pi = Constant("sqrt2pi");

const Case kCases[] = {
    {"sin(x)*cos(x) + sqrt(abs(x))", "sin(x)*cos(x) + sqrt(abs(x))",
     [](Float x) { return Sin(x) * Cos(x) + Sqrt(Abs(x)); }},
    {"exp(-x*x/2)/sqrt2pi", "exp(-x*x/2)/sqrt2pi", [](Float x) { return Exp(-x * x / 2) / kSqrt2Pi; }},
    {"power(x;3) - logbase10(abs(x)+1)", "x^3 - log10(abs(x)+1)",
     [](Float x) { return Power(x, 3) - LogBase10(Abs(x) + 1); }},
};

void BenchFormulas()
{
    const std::vector<double> xs = PlotXs();
    volatile Float sink = 0;
    std::printf("%-36s %10s %10s %10s %12s %12s\n", "formula (10001 x values)", "ours ns", "native ns",
                "muparser ns", "ours/native", "ours/muparser");
    for (const Case& c : kCases) {
        double x = 0;
        TCompiledEvaluator evaluator;
        evaluator.ExternalContexts().Add(BuiltinContext());
        evaluator.AddVar("x", x);
        evaluator.Compile(c.Ours);
        double ours = NsPerPoint(
            xs,
            [&](double value) {
                x = value;
                return evaluator.Evaluate();
            },
            sink);

        double native = NsPerPoint(xs, c.Native, sink);

        double mx = 0;
        mu::Parser parser;
        parser.DefineVar("x", &mx);
        parser.DefineConst("sqrt2pi", static_cast<double>(kSqrt2Pi));
        parser.SetExpr(c.Muparser);
        double muparser = NsPerPoint(
            xs,
            [&](double value) {
                mx = value;
                return Float(parser.Eval());
            },
            sink);
        InitFloatEnvironment();

        std::printf("%-36s %10.1f %10.1f %10.1f %12.2f %12.2f\n", c.Ours, ours, native, muparser,
                    ours / native, ours / muparser);
    }
}

void BenchRoutines()
{
    struct Routine {
        const char* Name;
        Float (*Function)(Float);
        Float Low, High;
    };
    const Routine routines[] = {
        {"Sin", Sin, -10, 10},         {"Tan", Tan, -10, 10},        {"ArcSin", ArcSin, -1, 1},
        {"ArcTan", ArcTan, -10, 10},   {"Exp", Exp, -10, 10},        {"Ln", Ln, 0.01L, 100},
        {"Sqrt", Sqrt, 0, 100},        {"SinH", SinH, -10, 10},      {"TanH", TanH, -10, 10},
        {"ArcSinH", ArcSinH, -10, 10}, {"ArcCosH", ArcCosH, 1, 100}, {"LogBase10", LogBase10, 0.01L, 100},
    };
    volatile Float sink = 0;
    std::printf("\n%-12s %10s\n", "routine", "ns/call");
    for (const Routine& r : routines) {
        std::vector<Float> xs;
        for (int i = 0; i < kPoints; ++i)
            xs.push_back(r.Low + (r.High - r.Low) * i / (kPoints - 1));
        double ns = NsPerPoint(xs, r.Function, sink);
        std::printf("%-12s %10.1f\n", r.Name, ns);
    }
    std::printf("%-12s %10.1f\n", "Power(x;3)",
                NsPerEval(
                    [&] {
                        Float sum = 0;
                        for (int i = 0; i < kPoints; ++i)
                            sum += Power(-10 + 0.002L * i, 3);
                        return sum;
                    },
                    sink));
}

} // namespace

int main()
{
    InitFloatEnvironment();
    BenchFormulas();
    BenchRoutines();
    return 0;
}
