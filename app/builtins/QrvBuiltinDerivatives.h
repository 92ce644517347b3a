// The derivative rules of the built-in functions: for each, at its argument
// u and its value v, f'(u) and f''(u) (the partials for the two-argument
// ones), in radians. Each row of the built-in table names its rule beside its
// routine; the angle layer scales a radian rule to the current unit.
//
// The rules never raise: where a derivative does not exist (abs at 0, sqrt
// at 0, arcsin at +-1, a trigonometric argument beyond 2^63) its Has flag is
// false, and a derivative that overflows is dropped by the chain rule.
#pragma once

#include "QrvAngleMode.h"
#include "QrvExprJets.h"
#include "QrvMath.h"
#include "QrvMathConst.h"

namespace qrv
{

namespace derivatives
{

TExprLocalDerivatives Sin(Float u, Float v);
TExprLocalDerivatives Cos(Float u, Float v);
// Sine and cosine with their derivatives from one argument reduction
// (SinCos gives exactly Sin and Cos): the jet rules of their rows.
TExprLocalDerivatives SinJet(Float u, Float& value);
TExprLocalDerivatives CosJet(Float u, Float& value);
TExprLocalDerivatives Tan(Float u, Float v);
TExprLocalDerivatives Cot(Float u, Float v);
TExprLocalDerivatives Sec(Float u, Float v);
TExprLocalDerivatives Csc(Float u, Float v);
TExprLocalDerivatives Versine(Float u, Float v);
TExprLocalDerivatives Coversine(Float u, Float v);
TExprLocalDerivatives Haversine(Float u, Float v);
TExprLocalDerivatives Exsecans(Float u, Float v);
TExprLocalDerivatives ArcSin(Float u, Float v);
TExprLocalDerivatives ArcCos(Float u, Float v);
TExprLocalDerivatives ArcTan(Float u, Float v);
TExprLocalDerivatives ArcCot(Float u, Float v);
TExprLocalDerivatives ArcSec(Float u, Float v);
TExprLocalDerivatives ArcCsc(Float u, Float v);
TExprLocalDerivatives SinH(Float u, Float v);
TExprLocalDerivatives CosH(Float u, Float v);
TExprLocalDerivatives TanH(Float u, Float v);
TExprLocalDerivatives CotH(Float u, Float v);
TExprLocalDerivatives SecH(Float u, Float v);
TExprLocalDerivatives CscH(Float u, Float v);
TExprLocalDerivatives ArcSinH(Float u, Float v);
TExprLocalDerivatives ArcCosH(Float u, Float v);
TExprLocalDerivatives ArcTanH(Float u, Float v);
TExprLocalDerivatives ArcCotH(Float u, Float v);
TExprLocalDerivatives ArcSecH(Float u, Float v);
TExprLocalDerivatives ArcCscH(Float u, Float v);
TExprLocalDerivatives Exp(Float u, Float v);
TExprLocalDerivatives Ln(Float u, Float v);
TExprLocalDerivatives LogBase10(Float u, Float v);
TExprLocalDerivatives LogBase2(Float u, Float v);
TExprLocalDerivatives Square(Float u, Float v);
TExprLocalDerivatives Sqrt(Float u, Float v);
TExprLocalDerivatives Abs(Float u, Float v);
// power(base, exponent) and logbasen(base, x): l is the base.
TExprLocalPartials Power(Float l, Float r, Float v);
TExprLocalPartials LogBaseN(Float l, Float r, Float v);

// f(x) = g(k x): f' = k g', f'' = k^2 g''.
inline TExprLocalDerivatives ScaledArgument(TExprLocalDerivatives d, Float k)
{
    d.D1 *= k;
    d.D2 *= k * k;
    return d;
}
// f(x) = c g(x): f' = c g', f'' = c g''.
inline TExprLocalDerivatives ScaledResult(TExprLocalDerivatives d, Float c)
{
    d.D1 *= c;
    d.D2 *= c;
    return d;
}

} // namespace derivatives

// The derivative rules of WithAngleArgument<> and WithAngleResult<>
// (QrvBuiltinTables.h), in the same angle mode.
template <TExprLocalDerivatives (*Rule)(Float, Float)>
TExprLocalDerivatives AngleArgumentDerivatives(Float x, Float v)
{
    switch (CurrentAngleMode()) {
    case TAngleMode::Degrees:
        return derivatives::ScaledArgument(Rule(DegreesToRadians(x), v), RadiansPerDegree);
    case TAngleMode::Grads:
        return derivatives::ScaledArgument(Rule(GradsToRadians(x), v), RadiansPerGrad);
    default:
        return Rule(x, v);
    }
}

template <TExprLocalDerivatives (*Rule)(Float, Float&)>
TExprLocalDerivatives AngleArgumentJet(Float x, Float& value)
{
    switch (CurrentAngleMode()) {
    case TAngleMode::Degrees:
        return derivatives::ScaledArgument(Rule(DegreesToRadians(x), value), RadiansPerDegree);
    case TAngleMode::Grads:
        return derivatives::ScaledArgument(Rule(GradsToRadians(x), value), RadiansPerGrad);
    default:
        return Rule(x, value);
    }
}

template <TExprLocalDerivatives (*Rule)(Float, Float)>
TExprLocalDerivatives AngleResultDerivatives(Float x, Float v)
{
    switch (CurrentAngleMode()) {
    case TAngleMode::Degrees:
        return derivatives::ScaledResult(Rule(x, v * RadiansPerDegree), DegreesPerRadian);
    case TAngleMode::Grads:
        return derivatives::ScaledResult(Rule(x, v * RadiansPerGrad), GradsPerRadian);
    default:
        return Rule(x, v);
    }
}

// The rule of a built-in function at its address; empty for any other.
TExprCallRule BuiltinDerivativeRule(TExprDumpKey function);
// The same as the lookup a TExprJetProgram takes.
TExprCallRules BuiltinDerivativeRules();

} // namespace qrv
