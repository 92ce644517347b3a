// Times the tracer of implicit curves over a 1000 x 700-pixel chart, once
// with each case as a plain C++ function and once as a formula compiled by
// the engine (x and y bound as its doubles, as the program binds them),
// and prints the median time of the runs and the evaluations of one run.
// Times are the thread's CPU time, since the build machine is shared and
// wall time counts the waits.
//
//   qurvia_implicit_bench [runs [case]]     (default 21 runs of every case)
#include "QrvBuiltins.h"
#include "QrvExprEval.h"
#include "QrvImplicitCurve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace
{

double CpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

using qrv::Float;

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

struct TCase {
    const char* Name;
    const char* Formula;
    qrv::TImplicitRect Rect;
    Float (*Native)(Float x, Float y);
};

const TCase kCases[] = {
    {"circle", "x*x+y*y-4", {-3, 3, -3, 3}, [](Float x, Float y) { return x * x + y * y - 4; }},
    {"sin(x*y)", "sin(x*y)-0.5", {-10, 10, -10, 10}, [](Float x, Float y) { return std::sin(x * y) - 0.5L; }},
    {"x*y", "x*y", {-3, 3, -3, 3}, [](Float x, Float y) { return x * y; }},
    {"log part",
     "x*x+y*y-4+ln(x)",
     {-3, 3, -3, 3},
     [](Float x, Float y) { return x > 0 ? x * x + y * y - 4 + std::log(x) : std::nanl(""); }},
};

struct TFigure {
    double Milliseconds = 0;
    double EvaluationNs = 0; // one call of f alone, over the rectangle
    qrv::TImplicitCounts Counts;
    std::size_t Lines = 0, Vertices = 0;
};

TFigure Measure(const qrv::TImplicitFunction& f, const qrv::TImplicitRect& rect,
                const qrv::TImplicitOptions& options, int runs)
{
    std::vector<double> times;
    TFigure figure;
    for (int r = 0; r < runs; ++r) {
        const double start = CpuMilliseconds();
        const qrv::TImplicitCurve curve = qrv::TraceImplicitCurve(f, rect, kWidth, kHeight, options);
        times.push_back(CpuMilliseconds() - start);
        figure.Counts = curve.Counts;
        figure.Lines = curve.Polylines.size();
        figure.Vertices = 0;
        for (const qrv::TPolyline& line : curve.Polylines)
            figure.Vertices += line.size();
    }
    std::sort(times.begin(), times.end());
    figure.Milliseconds = times[times.size() / 2];
    // f alone at the points one trace evaluates, so the rest of the time
    // is the tracer's own.
    std::vector<std::pair<Float, Float>> points;
    const qrv::TImplicitFunction recorder = [&](Float x, Float y) {
        points.emplace_back(x, y);
        return f(x, y);
    };
    qrv::TraceImplicitCurve(recorder, rect, kWidth, kHeight, options);
    Float sum = 0;
    const double start = CpuMilliseconds();
    for (const auto& [x, y] : points) {
        const std::optional<Float> v = f(x, y);
        if (v) sum += *v;
    }
    figure.EvaluationNs = (CpuMilliseconds() - start) * 1e6 / double(points.empty() ? 1 : points.size());
    if (sum == 12345) std::printf(" "); // keeps the loop
    return figure;
}

void Print(const char* name, const char* how, const TFigure& f)
{
    const double own = f.Milliseconds - f.EvaluationNs * double(f.Counts.Evaluations) / 1e6;
    std::printf("%-10s %-7s %8.2f ms (%5.1f ns per evaluation, %6.2f ms the tracer's own)  %8llu evaluations "
                "(%llu grid, %llu crossings, %llu splits)  %zu lines, %zu vertices\n",
                name, how, f.Milliseconds, f.EvaluationNs, own,
                static_cast<unsigned long long>(f.Counts.Evaluations),
                static_cast<unsigned long long>(f.Counts.GridPoints),
                static_cast<unsigned long long>(f.Counts.Crossings),
                static_cast<unsigned long long>(f.Counts.Splits), f.Lines, f.Vertices);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::printf("Implicit curves over %d x %d pixels, median of %d runs\n", kWidth, kHeight, runs);
    const std::string only = argc > 2 ? argv[2] : "";
    for (const TCase& c : kCases) {
        if (!only.empty() && only != c.Name) continue;
        const auto native = [&c](Float x, Float y) -> std::optional<Float> { return c.Native(x, y); };
        Print(c.Name, "C++", Measure(native, c.Rect, {}, runs));

        double x = 0, y = 0;
        qrv::TCompiledEvaluator evaluator;
        evaluator.ExternalContexts().Add(qrv::BuiltinContext());
        evaluator.AddVar("x", x);
        evaluator.AddVar("y", y);
        evaluator.Compile(c.Formula);
        const auto engine = [&](Float at, Float by) -> std::optional<Float> {
            x = static_cast<double>(at);
            y = static_cast<double>(by);
            try {
                return evaluator.Evaluate();
            } catch (const std::exception&) {
                return std::nullopt;
            }
        };
        qrv::TImplicitOptions options;
        options.DoubleCoordinates = true;
        Print(c.Name, "engine", Measure(engine, c.Rect, options, runs));
    }
    return 0;
}
