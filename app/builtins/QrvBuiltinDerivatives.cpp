#include "QrvBuiltinDerivatives.h"

#include "QrvBuiltinTables.h"

#include <cmath>

namespace qrv::derivatives
{

namespace
{

constexpr Float kLn10 = 2.30258509299404568401799145468436421L;
constexpr Float kLn2 = 0.693147180559945309417232121458176568L;
// Beyond this the trigonometric routines give 0 or refuse: no derivative.
// Below it the library's sine and cosine (which never raise) serve the rules.
constexpr Float kPeriodicLimit = 9223372036854775808.0L; // 2^63

constexpr TExprLocalDerivatives kNone{0, 0, false, false};

bool Periodic(Float u)
{
    return std::fabs(u) < kPeriodicLimit;
}

// 1 - u^2 and u^2 - 1 without the cancellation near |u| = 1.
Float OneMinusSquare(Float u)
{
    return (1 - u) * (1 + u);
}
Float SquareMinusOne(Float u)
{
    return (u - 1) * (u + 1);
}

} // namespace

TExprLocalDerivatives Sin(Float u, Float v)
{
    if (!Periodic(u)) return kNone;
    return {qrv::Cos(u), -v};
}
TExprLocalDerivatives Cos(Float u, Float v)
{
    if (!Periodic(u)) return kNone;
    return {-qrv::Sin(u), -v};
}
TExprLocalDerivatives SinJet(Float u, Float& value)
{
    if (!Periodic(u)) {
        value = qrv::Sin(u);
        return kNone;
    }
    Float cosine = 0;
    qrv::SinCos(u, value, cosine);
    return {cosine, -value};
}
TExprLocalDerivatives CosJet(Float u, Float& value)
{
    if (!Periodic(u)) {
        value = qrv::Cos(u);
        return kNone;
    }
    Float sine = 0;
    qrv::SinCos(u, sine, value);
    return {-sine, -value};
}
TExprLocalDerivatives Tan(Float u, Float v)
{
    if (!Periodic(u)) return kNone;
    Float d = 1 + v * v;
    return {d, 2 * v * d};
}
TExprLocalDerivatives Cot(Float u, Float v)
{
    if (!Periodic(u)) return kNone;
    Float d = 1 + v * v;
    return {-d, 2 * v * d};
}
// sec' = sec tan, sec'' = sec (tan^2 + sec^2); tan = sin sec.
TExprLocalDerivatives Sec(Float u, Float v)
{
    if (!Periodic(u)) return kNone;
    Float t = qrv::Sin(u) * v;
    return {v * t, v * (t * t + v * v)};
}
// csc' = -csc cot, csc'' = csc (cot^2 + csc^2); cot = cos csc.
TExprLocalDerivatives Csc(Float u, Float v)
{
    if (!Periodic(u)) return kNone;
    Float c = qrv::Cos(u) * v;
    return {-v * c, v * (c * c + v * v)};
}
TExprLocalDerivatives Versine(Float u, Float)
{
    if (!Periodic(u)) return kNone;
    return {qrv::Sin(u), qrv::Cos(u)};
}
TExprLocalDerivatives Coversine(Float u, Float)
{
    if (!Periodic(u)) return kNone;
    return {-qrv::Cos(u), qrv::Sin(u)};
}
TExprLocalDerivatives Haversine(Float u, Float)
{
    if (!Periodic(u)) return kNone;
    return {qrv::Sin(u) / 2, qrv::Cos(u) / 2};
}
TExprLocalDerivatives Exsecans(Float u, Float v)
{
    return Sec(u, v + 1);
}

TExprLocalDerivatives ArcSin(Float u, Float)
{
    Float w = OneMinusSquare(u);
    if (!(w > 0)) return kNone;
    Float s = std::sqrt(w);
    return {1 / s, u / (w * s)};
}
TExprLocalDerivatives ArcCos(Float u, Float v)
{
    TExprLocalDerivatives d = ArcSin(u, v);
    return {-d.D1, -d.D2, d.HasD1, d.HasD2};
}
TExprLocalDerivatives ArcTan(Float u, Float)
{
    Float w = 1 + u * u;
    return {1 / w, -2 * u / (w * w)};
}
// arccot u = arctan(1/u) for u != 0.
TExprLocalDerivatives ArcCot(Float u, Float)
{
    Float w = 1 + u * u;
    return {-1 / w, 2 * u / (w * w)};
}
// arcsec u = arctan(sqrt(u^2 - 1)) = arccos(1/|u|), even in u:
// f' = 1/(u s), f'' = -(2u^2 - 1)/(u^2 s^3) with s = sqrt(u^2 - 1).
TExprLocalDerivatives ArcSec(Float u, Float)
{
    Float w = SquareMinusOne(u);
    if (!(w > 0)) return kNone;
    Float s = std::sqrt(w);
    return {1 / (u * s), -(2 * u * u - 1) / (u * u * w * s)};
}
// arccsc u = arcsin(1/|u|) = pi/2 - arcsec u.
TExprLocalDerivatives ArcCsc(Float u, Float v)
{
    TExprLocalDerivatives d = ArcSec(u, v);
    return {-d.D1, -d.D2, d.HasD1, d.HasD2};
}

TExprLocalDerivatives SinH(Float u, Float v)
{
    return {std::cosh(u), v};
}
TExprLocalDerivatives CosH(Float u, Float v)
{
    return {std::sinh(u), v};
}
// tanh' = 1 - tanh^2, and coth' = 1 - coth^2 alike.
TExprLocalDerivatives TanH(Float, Float v)
{
    Float d = OneMinusSquare(v);
    return {d, -2 * v * d};
}
TExprLocalDerivatives CotH(Float, Float v)
{
    Float d = OneMinusSquare(v);
    return {d, -2 * v * d};
}
// sech' = -sech tanh, sech'' = sech (tanh^2 - sech^2).
TExprLocalDerivatives SecH(Float u, Float v)
{
    Float t = std::tanh(u);
    return {-v * t, v * (t * t - v * v)};
}
// csch' = -csch coth, csch'' = csch (coth^2 + csch^2).
TExprLocalDerivatives CscH(Float u, Float v)
{
    Float c = 1 / std::tanh(u);
    return {-v * c, v * (c * c + v * v)};
}

TExprLocalDerivatives ArcSinH(Float u, Float)
{
    Float w = 1 + u * u;
    Float s = std::sqrt(w);
    return {1 / s, -u / (w * s)};
}
TExprLocalDerivatives ArcCosH(Float u, Float)
{
    Float w = SquareMinusOne(u);
    if (!(w > 0)) return kNone;
    Float s = std::sqrt(w);
    return {1 / s, -u / (w * s)};
}
// artanh' = arcoth' = 1/(1 - u^2), each on its own domain.
TExprLocalDerivatives ArcTanH(Float u, Float)
{
    Float w = OneMinusSquare(u);
    return {1 / w, 2 * u / (w * w)};
}
TExprLocalDerivatives ArcCotH(Float u, Float)
{
    Float w = OneMinusSquare(u);
    return {1 / w, 2 * u / (w * w)};
}
// arsech u = arcosh(1/u), 0 < u < 1: f' = -1/(u s), f'' = (1 - 2u^2)/(u^2 s^3)
// with s = sqrt(1 - u^2).
TExprLocalDerivatives ArcSecH(Float u, Float)
{
    Float w = OneMinusSquare(u);
    if (!(w > 0) || !(u > 0)) return kNone;
    Float s = std::sqrt(w);
    return {-1 / (u * s), (1 - 2 * u * u) / (u * u * w * s)};
}
// arcsch u = arsinh(1/u), odd: f' = -1/(|u| s), f'' = sign(u) (1 + 2u^2)/(u^2 s^3)
// with s = sqrt(1 + u^2).
TExprLocalDerivatives ArcCscH(Float u, Float)
{
    Float w = 1 + u * u;
    Float s = std::sqrt(w);
    Float d2 = (1 + 2 * u * u) / (u * u * w * s);
    return {-1 / (std::fabs(u) * s), u < 0 ? -d2 : d2};
}

TExprLocalDerivatives Exp(Float, Float v)
{
    return {v, v};
}
TExprLocalDerivatives Ln(Float u, Float)
{
    return {1 / u, -1 / (u * u)};
}
TExprLocalDerivatives LogBase10(Float u, Float)
{
    return {1 / (u * kLn10), -1 / (u * u * kLn10)};
}
TExprLocalDerivatives LogBase2(Float u, Float)
{
    return {1 / (u * kLn2), -1 / (u * u * kLn2)};
}
TExprLocalDerivatives Square(Float u, Float)
{
    return {2 * u, 2};
}
TExprLocalDerivatives Sqrt(Float, Float v)
{
    if (v == 0) return kNone;
    return {1 / (2 * v), -1 / (4 * v * v * v)};
}
// A corner at 0.
TExprLocalDerivatives Abs(Float u, Float)
{
    if (u == 0) return kNone;
    return {u < 0 ? -1.0L : 1.0L, 0};
}

// v = b^e. By the base: e b^(e-1), e (e-1) b^(e-2); by the exponent (b > 0
// only): v ln b, v ln^2 b; mixed: b^(e-1) (1 + e ln b). At b = 0 the base
// rules follow the exponent: 0^e is flat for e > 2, has a curvature of 2 for
// e = 2 and a slope of 1 for e = 1; below that it has no derivative.
TExprLocalPartials Power(Float b, Float e, Float v)
{
    TExprLocalPartials p;
    if (b == 0) {
        p.HasLR = false;
        if (e == 0) {
            p.HasR = p.HasRR = false; // 0^0 is 1, 0^e for e > 0 is 0: a step
        } else if (e == 1) {
            p.L = 1;
        } else if (e == 2) {
            p.LL = 2;
        } else if (e > 1 && e < 2) {
            p.HasLL = false;
        } else if (e < 1) {
            p.HasL = p.HasLL = false;
        }
        return p;
    }
    Float below = v / b; // b^(e-1)
    p.L = e * below;
    p.LL = e * (e - 1) * below / b;
    if (b > 0) {
        Float lnB = std::log(b);
        p.R = v * lnB;
        p.RR = v * lnB * lnB;
        p.LR = below * (1 + e * lnB);
    } else {
        // A negative base has a value at whole exponents only.
        p.HasR = p.HasRR = p.HasLR = false;
    }
    return p;
}

// v = ln x / ln b, with g = ln b: by x 1/(x g), -1/(x^2 g); by b -v/(b g),
// v (g + 2)/(b^2 g^2); mixed -1/(x b g^2).
TExprLocalPartials LogBaseN(Float b, Float x, Float v)
{
    TExprLocalPartials p;
    Float g = std::log(b);
    p.R = 1 / (x * g);
    p.RR = -1 / (x * x * g);
    p.L = -v / (b * g);
    p.LL = v * (g + 2) / (b * b * g * g);
    p.LR = -1 / (x * b * g * g);
    return p;
}

} // namespace qrv::derivatives

namespace qrv
{

TExprCallRule BuiltinDerivativeRule(TExprDumpKey function)
{
    for (const TBuiltinFunction& builtin : BuiltinFunctions()) {
        if (builtin.Unary && reinterpret_cast<TExprDumpKey>(builtin.Unary) == function)
            return {builtin.UnaryDerivatives, nullptr, builtin.UnaryJet};
        if (builtin.Binary && reinterpret_cast<TExprDumpKey>(builtin.Binary) == function)
            return {nullptr, builtin.BinaryDerivatives};
    }
    return {};
}

TExprCallRules BuiltinDerivativeRules()
{
    return BuiltinDerivativeRule;
}

} // namespace qrv
