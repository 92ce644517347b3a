// Value with first and second derivative against the value alone, over the
// formulas of the formula benchmark: each compiled once and run at 10 001
// values of x, the value through Evaluate (generated code after its warm-up,
// as a plot runs it), the jet through TExprJetProgram. Prints the processor
// time of each per point, their ratio and the median ratio, and the bytes
// of generated jet code ("-" where the jets run their rules); with
// --listing, the generated code of each formula.
#include "QrvBuiltinDerivatives.h"
#include "QrvBuiltins.h"
#include "QrvFpu.h"
#include "QrvThreadClock.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

using qrv::Float;

// The formula benchmark's formulas (BenchExprFormulas.cpp).
const char* const kFormulas[][2] = {
    {"startup", "5.22 - 5.44E-4 * (x - 817)"},
    {"polynomial", "((x*x - 3)*x + 2)*x - 7"},
    {"rational", "(x*x + 1)/(x - 0.5) - x/3"},
    {"comparison", "(x > 0) * x - (x < 0) * x"},
    {"integer", "x div 3 + x mod 7"},
    {"trig", "sin(x)*cos(x)+sqrt(abs(x))"},
    {"gauss", "exp(-x*x/2)/sqrt(2*pi)"},
    {"forty_ops", "(x*x + 3*x - 2) / (x*x + 1) - (2*x - 1) * (x + 4) / 9 + (x - 1) * (x - 2) * (x + 3) / 17"
                  " - (5 - x) / (x*x + 2) + 0.25*x*x*x - (x + 7) * 0.125 + (3*x + 1) * (x - 0.5) / 11"
                  " - x / 13"},
};

constexpr int kPoints = 10001;
constexpr int kRounds = 21;

// The x of point i: -500.0037 .. 500.0041, off the integers and halves.
double XOf(int i)
{
    return -500.0037 + i * (1000.0078 / (kPoints - 1));
}

// The median time of one pass over the points, in nanoseconds per point.
template <class Pass> double NanosPerPoint(Pass&& pass)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const double start = qrv::bench::ThreadCpuMilliseconds();
        pass();
        times.push_back((qrv::bench::ThreadCpuMilliseconds() - start) * 1e6 / kPoints);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const bool listing = argc > 1 && std::strcmp(argv[1], "--listing") == 0;
    qrv::InitFloatEnvironment();
    std::vector<double> ratios;
    volatile Float sink = 0;
    std::printf("%-12s %12s %12s %8s %10s\n", "formula", "value ns", "jet ns", "ratio", "jet code");
    for (const auto& [name, text] : kFormulas) {
        double x = 0;
        qrv::TCompiledEvaluator evaluator;
        evaluator.ExternalContexts().Add(qrv::BuiltinContext());
        evaluator.AddVar("x", x);
        evaluator.Compile(text);
        qrv::TExprJetProgram jets(evaluator.Machine(), &x, qrv::BuiltinDerivativeRules());
        const double value = NanosPerPoint([&] {
            for (int i = 0; i < kPoints; ++i) {
                x = XOf(i);
                sink = sink + evaluator.Evaluate();
            }
        });
        const double jet = NanosPerPoint([&] {
            for (int i = 0; i < kPoints; ++i) {
                x = XOf(i);
                const qrv::TExprJet j = jets.Run();
                sink = sink + j.Value + j.D1 + j.D2;
            }
        });
        ratios.push_back(jet / value);
        const qrv::TExprJetCode* code = jets.Code();
        const std::string bytes = code ? std::to_string(code->CodeSize()) : "-";
        std::printf("%-12s %12.1f %12.1f %8.2f %10s\n", name, value, jet, jet / value, bytes.c_str());
        if (listing && code) std::printf("%s\n", code->Listing().c_str());
    }
    std::sort(ratios.begin(), ratios.end());
    const std::size_t n = ratios.size();
    const double median = n % 2 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2;
    std::printf("median ratio of value+f'+f'' to value: %.2f (target <= 3)\n", median);
    return 0;
}
