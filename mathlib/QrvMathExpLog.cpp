// Exponential, logarithmic and algebraic routines.
#include "QrvMath.h"
#include "QrvMathSteps.h"

namespace qrv
{

using namespace steps;

// e^x by the nearest split: y = x log2(e) = n + f with n the nearest integer
// (ties to even) and abs(f) <= 0.5, then ((2^f - 1) + 1) * 2^n. Computing
// 2^f - 1 directly keeps the full precision of small f; the scaling is exact,
// overflows into the error and underflows silently to a subnormal or 0.
Float Exp(Float x)
{
    Float y = Mul(x, Log2OfE);
    Float n = RoundToInteger(y);
    Float f = y - n;
    Float r = TwoToXMinus1(f) + 1;
    return ScaleByPowerOf2(r, n);
}

// The logarithms are one base-2 logarithm times a constant; Log2 raises the
// zero-divide error for 0 and the invalid-operation error for x < 0.
Float Ln(Float x)
{
    return LnOf2 * Log2(x);
}

Float LogBase10(Float x)
{
    DomainCheck(x <= 0);
    return Log10Of2 * Log2(x);
}

Float LogBase2(Float x)
{
    DomainCheck(x <= 0);
    return Log2(x);
}

Float LogBaseN(Float Base, Float X)
{
    DomainCheck(X <= 0);
    DomainCheck(Base <= 0);
    DomainCheck(Base == 1);
    return Div(Log2(X), Log2(Base));
}

// Every power goes through the logarithm and the exponential, integral
// exponents with a positive base included.
Float Power(Float Base, Float Exponent)
{
    if (Exponent == 0 || Base == 1) return 1;
    if (Base == 0) {
        if (Exponent > 0) return 0;
        throw EQrvMathError(Msg::PowerInfinite);
    }
    if (Base > 0) return Exp(Mul(Exponent, Ln(Base)));
    if (Exponent - std::trunc(Exponent) == 0) {
        Float r = Exp(Mul(Exponent, Ln(std::fabs(Base))));
        std::int64_t m = RoundToInt64(FloatMod(Exponent, 2));
        return (m == 1 || m == -1) ? -r : r;
    }
    throw EQrvMathError(Msg::PowerComplex);
}

Float Sqrt(Float x)
{
    return SquareRoot(x);
}
Float Square(Float x)
{
    return Mul(x, x);
}
Float Abs(Float x)
{
    return std::fabs(x);
}

} // namespace qrv
