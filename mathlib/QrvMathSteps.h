// The hardware-level steps the library routines are built from, each with
// the floating-point error the routines promise (internal to the library).
//
// Faults are found by testing operands and results (see QrvFpu.h), so every
// step that could produce an infinity or a NaN either tests its operand first
// or passes its result through Checked. Steps that cannot fault on finite
// operands (sine of a finite number, atan2, f2xm1) are left unchecked.
#pragma once

#include "QrvFloat.h"
#include "QrvFpu.h"

#include <cmath>

#if !defined(__x86_64__) && !defined(__i386__)
#error "the math library needs the x87 floating-point unit"
#endif

namespace qrv::steps
{

// Sine, cosine and tangent with full argument reduction, so that the values
// at and just below 2^63 are real values rather than the unreduced argument
// that the x87 fsin/fcos/fptan leave behind there.
inline Float Sine(Float x)
{
    return std::sin(x);
}
inline Float Cosine(Float x)
{
    return std::cos(x);
}
// Both at once: the library reduces the argument once and evaluates the
// same kernels as sin and cos do.
inline void SineCosine(Float x, Float& sine, Float& cosine)
{
    sincosl(x, &sine, &cosine);
}
inline Float Tangent(Float x)
{
    return Checked(std::tan(x));
}

// The angle of the point (z, y), in [-pi, pi].
inline Float ArcTan2(Float y, Float z)
{
    return std::atan2(y, z);
}

// Base-2 logarithm: log of zero is a division by zero, of a negative number
// an invalid operation, as on the floating-point unit.
inline Float Log2(Float x)
{
    if (x <= 0) [[unlikely]] {
        if (x == 0) throw EZeroDivide();
        throw EInvalidOp();
    }
    return std::log2(x);
}

// Square root; -0 gives -0 and no error.
inline Float SquareRoot(Float x)
{
    if (x < 0) [[unlikely]]
        throw EInvalidOp();
    return std::sqrt(x);
}

// 2^f - 1 for abs(f) <= 1, computed directly by the x87 f2xm1 instruction so
// that small f keeps its full precision.
inline Float TwoToXMinus1(Float f)
{
    Float result;
    __asm__("f2xm1" : "=t"(result) : "0"(f));
    return result;
}

// r * 2^n for an integral n by the x87 fscale instruction: exact unless the
// result leaves the range; too large raises the overflow error, too small
// becomes subnormal or 0 silently. Any n is fine, however large.
inline Float ScaleByPowerOf2(Float r, Float n)
{
    Float result;
    __asm__("fscale" : "=t"(result) : "0"(r), "u"(n));
    return Checked(result);
}

// x rounded to an integer by the x87 frndint instruction, in the rounding
// mode of the floating-point environment: to nearest, ties to even.
inline Float RoundToInteger(Float x)
{
    Float result;
    __asm__("frndint" : "=t"(result) : "0"(x));
    return result;
}

// Arithmetic with the errors of the floating-point unit.
inline Float Mul(Float a, Float b)
{
    return Checked(a * b);
}
inline Float Add(Float a, Float b)
{
    return Checked(a + b);
}
inline Float Sub(Float a, Float b)
{
    return Checked(a - b);
}
inline Float Div(Float a, Float b)
{
    return CheckedDivide(a, b);
}

} // namespace qrv::steps
