// Shared helpers of the engine tests: an evaluator with a small built-in
// context and x bound.
#pragma once

#include "DecimalSeparatorScope.h"
#include "MessageOf.h"
#include "QrvExprEval.h"
#include "QrvNumberText.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <string_view>

namespace qrv::test
{

inline Float TestSin(Float x)
{
    return std::sin(x);
}
inline Float TestPower(Float a, Float b)
{
    return std::pow(a, b);
}
inline Float TestSqrt(Float x)
{
    if (x < 0) throw EQrvMathError();
    return std::sqrt(x);
}
// Counts its calls, to show that every call in a formula is made.
inline int gCountCalls = 0;
inline Float TestCount(Float x)
{
    ++gCountCalls;
    return x;
}

// The functions and constants the engine tests use: sin, sqrt, count,
// power, pi, e (case-insensitive, like the application's built-ins).
inline std::unique_ptr<TExprHashContext> MakeTestBuiltins()
{
    auto context = std::make_unique<TExprHashContext>(false, 100);
    context->Add(std::make_unique<TExprUnaryFuncSym>("sin", &TestSin));
    context->Add(std::make_unique<TExprUnaryFuncSym>("sqrt", &TestSqrt));
    context->Add(std::make_unique<TExprUnaryFuncSym>("count", &TestCount));
    context->Add(std::make_unique<TExprBinaryFuncSym>("power", &TestPower));
    context->Add(std::make_unique<TExprConstSym>("pi", 3.14159265358979323846264338327950288L));
    context->Add(std::make_unique<TExprConstSym>("e", 2.71828182845904523536028747135266250L));
    return context;
}

// An evaluator with the test built-ins attached and x bound.
class Formula
{
public:
    Formula() : builtins_(MakeTestBuiltins())
    {
        evaluator_.ExternalContexts().Add(builtins_.get());
        evaluator_.AddVar("x", x_);
    }

    Float Eval(std::string_view text, double x = 0)
    {
        evaluator_.Compile(text);
        x_ = x;
        return evaluator_.Evaluate();
    }
    std::string Listing(std::string_view text)
    {
        evaluator_.Compile(text);
        return evaluator_.Dump();
    }

    TCompiledEvaluator& Evaluator() { return evaluator_; }
    TExprHashContext& Builtins() { return *builtins_; }
    double& X() { return x_; }

private:
    std::unique_ptr<TExprHashContext> builtins_; // outlives the evaluator
    double x_ = 0;
    TCompiledEvaluator evaluator_;
};

// The engine tests' name for the shared separator scope.
using SeparatorScope = TDecimalSeparatorScope;

} // namespace qrv::test
