// A harness for formula benchmarks: each formula is compiled once and
// evaluated at 10 001 values of x by our engine, by hand-written C++ on long
// double (the limit), by muparser (double) and by fparser (double, after its
// optimiser), and the ratios are printed. Each formula is also compiled
// anew in a loop, which gives the compile time, and compiled and evaluated
// until its generated code has run ("ready"), which adds the generating.
//
// To add a formula, add a row made with MakeBenchFormula: a name, our text,
// the same formula as a C++ lambda on Float, and muparser's text. Suites
// with their own functions pass a BenchSetup that attaches contexts to our
// evaluator and defines the matching functions in muparser.
#pragma once

#include "QrvExprEval.h"
#include "QrvExprFastRun.h"

#include <benchmark/benchmark.h>
#include <fparser.hh>
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
    std::string fparserText;  // empty: not measured through fparser
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

// fparserText "=" means the same text as muparser's.
template <class F>
BenchFormula MakeBenchFormula(std::string name, std::string text, F, std::string muparserText,
                              std::string fparserText = "=", std::string note = {}, BenchRange range = {})
{
    if (fparserText == "=") fparserText = muparserText;
    return {std::move(name), std::move(text), std::move(muparserText), std::move(fparserText),
            std::move(note), range,           &NativeLoop<F>};
}

struct BenchSetup {
    std::function<void(TCompiledEvaluator&)> attach; // our contexts
    std::function<void(mu::Parser&)> define;         // muparser's functions and operators
    std::function<void(FunctionParser&)> defineFp;   // fparser's functions and constants
};

// Makes evaluator ours for the formula, as each Plot does: the contexts
// attached, x bound, the text compiled.
inline void CompileFormula(TCompiledEvaluator& evaluator, const BenchFormula& f, const BenchSetup& setup,
                           double& x)
{
    if (setup.attach) setup.attach(evaluator);
    evaluator.AddVar("x", x);
    evaluator.Compile(f.text);
}

namespace detail
{

// Collects mean CPU ns per evaluation (CPU time, since the build machine is
// shared and wall time counts the waits) while the console reporter prints as usual.
// With --benchmark_repetitions each repetition is one sample; the median of
// the samples is the figure.
inline double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

class Collector : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, std::vector<double>> samples;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                samples[run.run_name.function_name].push_back(run.GetAdjustedCPUTime());
        ConsoleReporter::ReportRuns(runs);
    }
    double Figure(const std::string& name) const
    {
        auto it = samples.find(name);
        return it == samples.end() ? 0.0 : Median(it->second);
    }
};

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
            CompileFormula(evaluator, f, setup, x);
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
        if (!f.fparserText.empty())
            benchmark::RegisterBenchmark(("fparser/" + f.name).c_str(), [&f,
                                                                         &setup](benchmark::State& state) {
                FunctionParser parser;
                if (setup.defineFp) setup.defineFp(parser);
                if (parser.Parse(f.fparserText, "x") >= 0) {
                    state.SkipWithError(parser.ErrorMsg());
                    return;
                }
                parser.Optimize();
                for (auto _ : state) {
                    double sum = 0;
                    for (int i = 0; i < kPoints; ++i) {
                        double x = f.range.X(i);
                        sum += parser.Eval(&x);
                    }
                    benchmark::DoNotOptimize(sum);
                }
            })->Unit(benchmark::kNanosecond);
        // Compile time: a new evaluator per formula, as each Plot does.
        benchmark::RegisterBenchmark(("compile/" + f.name).c_str(), [&f, &setup](benchmark::State& state) {
            double x = 0;
            for (auto _ : state) {
                TCompiledEvaluator evaluator;
                CompileFormula(evaluator, f, setup, x);
                benchmark::DoNotOptimize(evaluator.Machine());
            }
        })->Unit(benchmark::kMicrosecond);
        // Ready: compile and evaluate until the generated code has run
        // once, so the cost of generating it (deferred past Compile) shows.
        benchmark::RegisterBenchmark(("ready/" + f.name).c_str(), [&f, &setup](benchmark::State& state) {
            double x = 0;
            for (auto _ : state) {
                TCompiledEvaluator evaluator;
                CompileFormula(evaluator, f, setup, x);
                Float sum = 0;
                for (int i = 0; i <= TExprFastProgram::kNativeAfter; ++i)
                    sum += evaluator.Evaluate();
                benchmark::DoNotOptimize(sum);
            }
        })->Unit(benchmark::kMicrosecond);
    }

    // Each benchmark runs untimed for a while first; without it the first
    // formula was timed while the processor was still clocking up (its ratio
    // came out half again too high). A flag given on the command line wins.
    std::vector<char*> args(argv, argv + argc);
    std::string warmUp = "--benchmark_min_warmup_time=0.1";
    args.insert(args.begin() + std::min<std::ptrdiff_t>(1, argc), warmUp.data());
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    detail::Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    std::printf("\n%-12s %8s %8s %8s %8s %8s %8s %8s %9s %9s\n", "formula", "ours ns", "native", "muparser",
                "fparser", "/native", "/muparser", "/fparser", "compile us", "ready us");
    std::vector<double> toNative, toMuparser, toFparser;
    for (const BenchFormula& f : formulas) {
        auto get = [&](const std::string& kind) { return collector.Figure(kind + "/" + f.name) / kPoints; };
        double ours = get("ours"), native = get("native"), mu = get("muparser"), fp = get("fparser");
        double compile = collector.Figure("compile/" + f.name); // in microseconds
        double ready = collector.Figure("ready/" + f.name);
        if (ours == 0) continue; // filtered out
        double rn = native > 0 ? ours / native : 0, rm = mu > 0 ? ours / mu : 0, rf = fp > 0 ? ours / fp : 0;
        if (rn > 0) toNative.push_back(rn);
        if (rm > 0) toMuparser.push_back(rm);
        if (rf > 0) toFparser.push_back(rf);
        std::printf("%-12s %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %9.2f %9.2f\n", f.name.c_str(), ours,
                    native, mu, fp, rn, rm, rf, compile, ready);
    }
    std::printf("%-12s %8s %8s %8s %8s %8.2f %8.2f %8.2f   (median)\n", "", "", "", "", "",
                detail::Median(toNative), detail::Median(toMuparser), detail::Median(toFparser));
    for (const BenchFormula& f : formulas)
        if (!f.note.empty()) std::printf("note, %s: %s\n", f.name.c_str(), f.note.c_str());
    return 0;
}

} // namespace qrv::bench
