// Trigonometric and inverse trigonometric routines, the angle conversions and
// the auxiliary routines.
#include "QrvMath.h"
#include "QrvMathSteps.h"

namespace qrv
{

using namespace steps;

void DomainCheck(bool Failed)
{
    if (Failed) [[unlikely]]
        throw EQrvMathError();
}

std::int32_t SignOf(Float x)
{
    if (x > 0) return 1;
    if (x < 0) return -1;
    return 0;
}

Float FloatMod(Float X, Float Y)
{
    Float q = Div(X, Y);
    Float t = std::trunc(q);
    if (q - t < 0) t = t - 1;
    return Sub(X, Mul(Y, t));
}

Float DegreesToRadians(Float x)
{
    return x * RadiansPerDegree;
}
Float GradsToRadians(Float x)
{
    return x * RadiansPerGrad;
}

// --- trigonometric ---------------------------------------------------------

// Beyond 2^63 the phase of a Float is meaningless (neighbouring Floats are
// further apart than a period), so the unchecked pair returns 0 there.
Float Sin(Float x)
{
    return std::fabs(x) >= TwoToPower63 ? 0 : Sine(x);
}
Float Cos(Float x)
{
    return std::fabs(x) >= TwoToPower63 ? 0 : Cosine(x);
}

void SinCos(Float x, Float& sine, Float& cosine)
{
    if (std::fabs(x) >= TwoToPower63) {
        sine = cosine = 0;
        return;
    }
    SineCosine(x, sine, cosine);
}

Float CheckedSin(Float x)
{
    DomainCheck(std::fabs(x) > TwoToPower63);
    return Sine(x);
}

Float CheckedCos(Float x)
{
    DomainCheck(std::fabs(x) > TwoToPower63);
    return Cosine(x);
}

Float Tan(Float x)
{
    DomainCheck(std::fabs(x) > TwoToPower63);
    return Tangent(x);
}

Float Cot(Float x)
{
    DomainCheck(std::fabs(x) > TwoToPower63);
    return Div(1, Tangent(x));
}

// No test for a zero cosine: no Float is an odd multiple of pi/2, so the
// cosine is never 0 and the result near those points is large but finite.
Float Sec(Float x)
{
    DomainCheck(std::fabs(x) > TwoToPower63);
    return Div(1, Cosine(x));
}

// The second check comes after the sine: sin 0 = 0 is a domain error here,
// not a division by zero.
Float Csc(Float x)
{
    Float s = CheckedSin(x);
    DomainCheck(s == 0);
    return Div(1, s);
}

Float Versine(Float x)
{
    return 1 - CheckedCos(x);
}
Float Coversine(Float x)
{
    return 1 - CheckedSin(x);
}
Float Haversine(Float x)
{
    return (1 - CheckedCos(x)) * 0.5L;
}
Float Exsecans(Float x)
{
    return Sec(x) - 1;
}

// --- inverse trigonometric --------------------------------------------------
// All are built on the two-argument arc tangent, so ArcSin(+-1) is exactly
// +-pi/2 and ArcCos(-1) is pi with no division by zero on the way.

Float ArcSin(Float x)
{
    DomainCheck(std::fabs(x) > 1);
    return ArcTan2(x, SquareRoot(1 - x * x));
}

Float ArcCos(Float x)
{
    DomainCheck(std::fabs(x) > 1);
    return ArcTan2(SquareRoot(1 - x * x), x);
}

Float ArcTan(Float x)
{
    return ArcTan2(x, 1);
}

Float ArcCot(Float x)
{
    DomainCheck(x == 0);
    return ArcTan(Div(1, x));
}

// The square root rejects abs(x) < 1 with the invalid-operation error; the
// result is the same for x and -x.
Float ArcSec(Float x)
{
    return ArcTan(SquareRoot(Sub(Mul(x, x), 1)));
}

Float ArcCsc(Float x)
{
    Float y = Div(x, SquareRoot(Sub(Mul(x, x), 1)));
    return ArcSec(y);
}

} // namespace qrv
