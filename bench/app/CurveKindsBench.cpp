// Times the runs of the curve kinds as the program makes them (the engine,
// the run, the table's lines): an implicit curve over a 1000 x 700-pixel
// chart, and parametric and polar runs of 10 001 points against a function
// run of as many points. Prints the median of the runs' thread CPU time
// (the machine is shared: wall time counts the waits) and the ratios.
//
//   qurvia_curve_kinds_bench [runs]     (default 21)
#include "QrvCurveRun.h"
#include "QrvThreadClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace
{

using namespace qrv;

using bench::ThreadCpuMilliseconds;

// Counts what a run draws and keeps its table, as the window's target does.
class TCountingTarget : public TTableTarget
{
public:
    void ClearPoints() override
    {
        Drawn = 0;
        TTableTarget::ClearPoints();
    }
    void AddPoint(double x, double y) override
    {
        ++Drawn;
        TTableTarget::AddPoint(x, y);
    }
    void AddCurvePoint(double t, double x, double y) override
    {
        ++Drawn;
        TTableTarget::AddCurvePoint(t, x, y);
    }
    void AddDrawnPoint(double, double) override { ++Drawn; }
    std::size_t Drawn = 0;
};

struct TFigure {
    double Milliseconds = 0;
    std::size_t Drawn = 0;
};

TFigure Measure(const TCurve& curve, int runs)
{
    TCurveRunOptions options;
    options.Pixels = {1000, 700};
    std::vector<double> times;
    TFigure figure;
    for (int r = 0; r < runs; ++r) {
        TCountingTarget target;
        const double start = ThreadCpuMilliseconds();
        RunCurve(curve, target, options);
        times.push_back(ThreadCpuMilliseconds() - start);
        figure.Drawn = target.Drawn;
    }
    std::sort(times.begin(), times.end());
    figure.Milliseconds = times[times.size() / 2];
    return figure;
}

// 10 000 steps of 2^-11 from 0, exact in binary: 10 001 points over about
// three quarters of a turn.
constexpr const char* kEnd = "4.8828125";
constexpr const char* kStep = "0.00048828125";

TCurve Function(const char* formula)
{
    TCurve curve;
    curve.Formula = formula;
    curve.XMin = "0";
    curve.XMax = kEnd;
    curve.Step = kStep;
    return curve;
}

TCurve OfT(TCurveKind kind, const char* first, const char* second = "")
{
    TCurve curve;
    curve.Kind = kind;
    if (kind == TCurveKind::Parametric) {
        curve.XOfT = first;
        curve.YOfT = second;
    } else {
        curve.Formula = first;
    }
    curve.TMin = "0";
    curve.TMax = kEnd;
    curve.Step = kStep;
    return curve;
}

TCurve Implicit(const char* formula, const char* low, const char* high)
{
    TCurve curve;
    curve.Kind = TCurveKind::Implicit;
    curve.Formula = formula;
    curve.XMin = curve.YMin = low;
    curve.XMax = curve.YMax = high;
    return curve;
}

void Print(const char* name, const TFigure& figure, double target)
{
    std::printf("%-34s %8.2f ms  %6zu points drawn  (target %.0f ms)\n", name, figure.Milliseconds,
                figure.Drawn, target);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::printf("Curve runs, median of %d runs (thread CPU time)\n", runs);
    Print("implicit x*x+y*y-4 over [-3,3]^2", Measure(Implicit("x*x+y*y-4", "-3", "3"), runs), 30);
    Print("implicit sin(x*y)-0.5 over [-10,10]^2", Measure(Implicit("sin(x*y)-0.5", "-10", "10"), runs), 80);

    const struct {
        const char* Name;
        TCurve Function;
        TCurve Other;
    } pairs[] = {
        {"parametric cos(t), sin(t)", Function("sin(x)"), OfT(TCurveKind::Parametric, "cos(t)", "sin(t)")},
        {"parametric sin(3*t), sin(2*t)", Function("sin(3*x)"),
         OfT(TCurveKind::Parametric, "sin(3*t)", "sin(2*t)")},
        {"polar 1+cos(t)", Function("1+cos(x)"), OfT(TCurveKind::Polar, "1+cos(t)")},
        {"polar sin(4*t)", Function("sin(4*x)"), OfT(TCurveKind::Polar, "sin(4*t)")},
        {"polar spiral t/100", Function("x/100"), OfT(TCurveKind::Polar, "t/100")},
    };
    for (const auto& pair : pairs) {
        const TFigure function = Measure(pair.Function, runs);
        const TFigure other = Measure(pair.Other, runs);
        std::printf("%-34s %8.2f ms against %6.2f ms for the function: %.2fx  (%zu points; target 2.2x)\n",
                    pair.Name, other.Milliseconds, function.Milliseconds,
                    other.Milliseconds / function.Milliseconds, other.Drawn);
    }
    return 0;
}
