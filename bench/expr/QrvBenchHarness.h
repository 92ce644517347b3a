// A harness for formula benchmarks: each formula is compiled once and
// evaluated at 10 001 values of x by our engine, by hand-written C++ on long
// double (the limit) and by muparser (double), and the ratios are printed.
//
// To add a formula, add a row made with MakeBenchFormula: a name, our text,
// the same formula as a C++ lambda on Float, and muparser's text. Suites
// with their own functions pass a BenchSetup that attaches contexts to our
// evaluator and defines the matching functions in muparser.
#pragma once

#include "QrvExprEval.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qrv::bench
{

constexpr int kPoints = 10001;

struct BenchRange {
    double min = -10.00037; // no formula of the suite divides by zero here
    double max = 10.00041;
    double X(int i) const { return min + i * ((max - min) / (kPoints - 1)); }
};

struct BenchFormula {
    std::string name;
    std::string text;         // our syntax
    std::string muparserText; // empty: not measured through muparser
    std::string note;         // printed under the table
    BenchRange range;
    void (*native)(benchmark::State&, const BenchRange&) = nullptr;
};

// The hand-written loop: the lambda's type carries the formula, so the
// compiler inlines it as it would in a program written for this one formula.
template <class F> void NativeLoop(benchmark::State& state, const BenchRange& range)
{
    F f{};
    for (auto _ : state) {
        Float sum = 0;
        for (int i = 0; i < kPoints; ++i) {
            double x = range.X(i);
            benchmark::DoNotOptimize(x);
            sum += f(static_cast<Float>(x));
        }
        benchmark::DoNotOptimize(sum);
    }
}

template <class F>
BenchFormula MakeBenchFormula(std::string name, std::string text, F, std::string muparserText,
                              std::string note = {}, BenchRange range = {})
{
    return {std::move(name), std::move(text), std::move(muparserText),
            std::move(note), range,           &NativeLoop<F>};
}

struct BenchSetup {
    std::function<void(TCompiledEvaluator&)> attach; // our contexts
    std::function<void(mu::Parser&)> define;         // muparser's functions and operators
};

namespace detail
{

// Collects mean CPU ns per evaluation (CPU time, since the build machine is
// shared and wall time counts the waits) while the console reporter prints as usual.
class Collector : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> nsPerEval;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                nsPerEval[run.benchmark_name()] = run.GetAdjustedCPUTime() / kPoints;
        ConsoleReporter::ReportRuns(runs);
    }
};

inline double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace detail

// Registers and runs the suite, then prints ns per evaluation and the
// ratios ours/native and ours/muparser. Returns the process exit code.
inline int RunSuite(int argc, char** argv, const std::vector<BenchFormula>& formulas,
                    const BenchSetup& setup = {})
{
    for (const BenchFormula& f : formulas) {
        benchmark::RegisterBenchmark(("ours/" + f.name).c_str(), [&f, &setup](benchmark::State& state) {
            double x = 0;
            TCompiledEvaluator evaluator;
            if (setup.attach) setup.attach(evaluator);
            evaluator.AddVar("x", x);
            evaluator.Compile(f.text);
            for (auto _ : state) {
                Float sum = 0;
                for (int i = 0; i < kPoints; ++i) {
                    x = f.range.X(i);
                    sum += evaluator.Evaluate();
                }
                benchmark::DoNotOptimize(sum);
            }
        })->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(("native/" + f.name).c_str(), [&f](benchmark::State& state) {
            f.native(state, f.range);
        })->Unit(benchmark::kNanosecond);
        if (!f.muparserText.empty())
            benchmark::RegisterBenchmark(("muparser/" + f.name).c_str(), [&f,
                                                                          &setup](benchmark::State& state) {
                double x = 0;
                mu::Parser parser;
                if (setup.define) setup.define(parser);
                parser.DefineVar("x", &x);
                parser.SetExpr(f.muparserText);
                for (auto _ : state) {
                    double sum = 0;
                    for (int i = 0; i < kPoints; ++i) {
                        x = f.range.X(i);
                        sum += parser.Eval();
                    }
                    benchmark::DoNotOptimize(sum);
                }
            })->Unit(benchmark::kNanosecond);
    }

    benchmark::Initialize(&argc, argv);
    detail::Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    std::printf("\n%-14s %10s %10s %10s %12s %14s\n", "formula", "ours ns", "native ns", "muparser ns",
                "ours/native", "ours/muparser");
    std::vector<double> toNative, toMuparser;
    for (const BenchFormula& f : formulas) {
        auto get = [&](const std::string& kind) {
            auto it = collector.nsPerEval.find(kind + "/" + f.name);
            return it == collector.nsPerEval.end() ? 0.0 : it->second;
        };
        double ours = get("ours"), native = get("native"), mu = get("muparser");
        if (ours == 0) continue; // filtered out
        double rn = native > 0 ? ours / native : 0, rm = mu > 0 ? ours / mu : 0;
        if (rn > 0) toNative.push_back(rn);
        if (rm > 0) toMuparser.push_back(rm);
        std::printf("%-14s %10.2f %10.2f %10.2f %12.2f %14.2f\n", f.name.c_str(), ours, native, mu, rn, rm);
    }
    std::printf("%-14s %10s %10s %10s %12.2f %14.2f   (median)\n", "", "", "", "", detail::Median(toNative),
                detail::Median(toMuparser));
    for (const BenchFormula& f : formulas)
        if (!f.note.empty()) std::printf("note, %s: %s\n", f.name.c_str(), f.note.c_str());
    return 0;
}

} // namespace qrv::bench
