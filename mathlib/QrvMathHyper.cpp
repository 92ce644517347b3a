// Hyperbolic and inverse hyperbolic routines.
#include "QrvMath.h"
#include "QrvMathSteps.h"

namespace qrv
{

using namespace steps;

namespace
{

// e^x by the floor split, for SinH and CosH: n = floor(x log2(e)), so that
// 0 <= f < 1. floor is the rounding toward minus infinity of the split; it
// leaves the control word untouched, so there is no state to restore.
Float ExpFloorSplit(Float x)
{
    Float y = Mul(x, Log2OfE);
    Float n = std::floor(y);
    Float f = y - n;
    return ScaleByPowerOf2(TwoToXMinus1(f) + 1, n);
}

} // namespace

// Far below zero the reciprocal overflows, and further down E underflows to
// 0 and the reciprocal divides by zero.
Float SinH(Float x)
{
    Float e = ExpFloorSplit(x);
    Float inverse = Div(1, e);
    return (e - inverse) * 0.5L;
}

Float CosH(Float x)
{
    Float e = ExpFloorSplit(x);
    Float inverse = Div(1, e);
    return (e + inverse) * 0.5L;
}

// TanHLimit keeps Q = E * E inside the Float range, so TanH never raises; far
// below zero within the bound Q underflows to 0 and the result is -1.
Float TanH(Float x)
{
    if (x > TanHLimit) return 1;
    if (x < -TanHLimit) return -1;
    Float e = Exp(x);
    Float q = Mul(e, e);
    return (q - 1) / (q + 1);
}

// For tiny x, e^x rounds to 1 and TanH is 0: a division by zero here.
Float CotH(Float x)
{
    return Div(1, TanH(x));
}

Float SecH(Float x)
{
    Float d = Add(Exp(x), Exp(-x));
    DomainCheck(d == 0);
    return Div(2, d);
}

Float CscH(Float x)
{
    Float d = Sub(Exp(x), Exp(-x));
    DomainCheck(d == 0);
    return Div(2, d);
}

// --- inverse hyperbolic ------------------------------------------------------

// ln(x + sqrt(x*x + 1)) cancels for negative x: from about -1e8 on the sum
// keeps only a few correct digits and from about -6e9 on it is 0. Negative
// arguments therefore use the odd symmetry and take the sum of two positive
// terms, which keeps full precision for every x.
Float ArcSinH(Float x)
{
    Float root = SquareRoot(Add(Mul(x, x), 1));
    if (x < 0) return -Ln(root - x);
    return Ln(x + root);
}

Float ArcCosH(Float x)
{
    DomainCheck(x < 1);
    return Ln(x + SquareRoot(Sub(Mul(x, x), 1)));
}

Float ArcTanH(Float x)
{
    DomainCheck(std::fabs(x) >= 1);
    return Ln(SquareRoot((x + 1) / (1 - x)));
}

// abs(x) < 1 makes the quotient negative: the logarithm raises the
// invalid-operation error.
Float ArcCotH(Float x)
{
    DomainCheck(std::fabs(x) == 1);
    return Ln(Div(x + 1, x - 1)) * 0.5L;
}

// x = 0 divides by zero; -1 <= x < 0 makes the quotient negative (invalid).
Float ArcSecH(Float x)
{
    DomainCheck(std::fabs(x) > 1);
    return Ln(Div(1 + SquareRoot(1 - x * x), x));
}

// ln((1 + SignOf(x) sqrt(x*x + 1)) / x). For negative x the numerator
// 1 - sqrt(x*x + 1) cancels: small arguments lose their digits and from about
// -3e-10 on the numerator is 0. Negative arguments therefore use the odd
// symmetry, which computes the same value without the cancellation.
Float ArcCscH(Float x)
{
    DomainCheck(x == 0);
    Float magnitude = std::fabs(x);
    Float s = static_cast<Float>(SignOf(x));
    Float value = Ln(Div(1 + SquareRoot(Add(Mul(x, x), 1)), magnitude));
    return s * value;
}

} // namespace qrv
