// Curves for the analysis tests: a function of x giving the jet (or nothing
// where it fails), answered like the program answers, with the Plot run's
// pole probe on the values, and every evaluation counted.
#pragma once

#include "QrvAnalysisFunction.h"
#include "QrvFeatures.h"
#include "QrvPoleProbe.h"

#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qrv::test
{

inline constexpr const char* kTestFailure = "Invalid floating point operation";

using TJetFunction = std::function<std::optional<TJet>(Float x)>;

inline TJet MakeJet(Float value, Float d1, Float d2)
{
    return TJet{value, d1, d2, true, true};
}

// A smooth curve from its value and two derivatives.
inline TJetFunction Smooth(std::function<Float(Float)> f, std::function<Float(Float)> d1,
                           std::function<Float(Float)> d2)
{
    return [=](Float x) -> std::optional<TJet> { return MakeJet(f(x), d1(x), d2(x)); };
}

// The polynomial c[0] + c[1] x + c[2] x^2 + ... by Horner's scheme.
inline TJetFunction Polynomial(std::vector<Float> c)
{
    return [c](Float x) -> std::optional<TJet> {
        Float v = 0, d1 = 0, d2 = 0;
        for (std::size_t i = c.size(); i-- > 0;) {
            d2 = d2 * x + 2 * d1;
            d1 = d1 * x + v;
            v = v * x + c[i];
        }
        return MakeJet(v, d1, d2);
    };
}

inline TJetFunction Sin()
{
    return Smooth([](Float x) { return std::sin(x); }, [](Float x) { return std::cos(x); },
                  [](Float x) { return -std::sin(x); });
}

inline TJetFunction Cos()
{
    return Smooth([](Float x) { return std::cos(x); }, [](Float x) { return -std::sin(x); },
                  [](Float x) { return -std::cos(x); });
}

inline TJetFunction Tan()
{
    return Smooth([](Float x) { return std::tan(x); },
                  [](Float x) { return 1 / (std::cos(x) * std::cos(x)); },
                  [](Float x) { return 2 * std::tan(x) / (std::cos(x) * std::cos(x)); });
}

class TTestCurve : public TAnalysisFunction
{
public:
    explicit TTestCurve(TJetFunction function) : function_(std::move(function)) {}

    std::optional<TJet> At(Float x, TJetNeed) override
    {
        ++evaluations_;
        return function_(x);
    }
    std::string FailureText() const override { return kTestFailure; }
    bool PoleBetween(Float xa, Float ya, Float xb, Float yb) override
    {
        const TPoleProbe probe([this](double at) -> std::optional<Float> {
            ++evaluations_;
            const std::optional<TJet> jet = function_(at);
            if (!jet) return std::nullopt;
            return jet->Value;
        });
        return probe.PoleBetween(static_cast<double>(xa), ya, static_cast<double>(xb), yb);
    }

    // Every evaluation: the analysis's and the probe's.
    unsigned long Evaluations() const { return evaluations_; }

private:
    TJetFunction function_;
    unsigned long evaluations_ = 0;
};

// The features of one curve over a range.
inline std::vector<TFeature> FeaturesOf(TTestCurve& curve, double xMin, double xMax, double step,
                                        TAnalysisCounts* counts = nullptr)
{
    return AnalyzeCurves({TCurveInput{1, &curve, xMin, xMax, step}}, counts);
}

// The features of one kind.
inline std::vector<TFeature> OfKind(const std::vector<TFeature>& features, TFeatureKind kind)
{
    std::vector<TFeature> out;
    for (const TFeature& f : features)
        if (f.Kind == kind) out.push_back(f);
    return out;
}

inline const TFeature& IntegralIn(const std::vector<TFeature>& features)
{
    for (const TFeature& f : features)
        if (f.Kind == TFeatureKind::Integral) return f;
    throw std::runtime_error("no integral");
}

} // namespace qrv::test
