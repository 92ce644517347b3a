// Shared helpers of the engine tests: an evaluator with a small built-in
// context and x bound, and the naming of table rows.
#pragma once

#include "QrvExprEval.h"
#include "QrvNumberText.h"

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

// The message of the exception of type E that the call raises; fails the
// test (and returns "") when it raises nothing or something else.
template <class E, class F> std::string MessageOf(F&& call)
{
    try {
        call();
    } catch (const E& error) {
        return error.Message();
    } catch (const std::exception& other) {
        ADD_FAILURE() << "unexpected exception: " << other.what();
        return "";
    }
    ADD_FAILURE() << "no exception";
    return "";
}

// Row names for parameterised tests: each row carries a `name` of letters,
// digits and underscores.
struct RowName {
    template <class Row> std::string operator()(const ::testing::TestParamInfo<Row>& info) const
    {
        return info.param.name;
    }
};

// Sets the decimal separator for one test and puts the old one back.
class SeparatorScope
{
public:
    explicit SeparatorScope(char separator) : saved_(DecimalSeparator()) { SetDecimalSeparator(separator); }
    ~SeparatorScope() { SetDecimalSeparator(saved_); }

private:
    char saved_;
};

} // namespace qrv::test
