// The math function library: the routines behind the built-in functions of
// the formula language. Every routine takes radians and returns radians; the
// angle modes are the built-in layer's business.
//
// Each routine is a short, fixed sequence of Float operations in a fixed
// order, because the order decides the rounding and which error a bad
// argument raises. Two kinds of failure leave a routine:
//   - a domain check, made before the computation, raises EQrvMathError
//     "Domain check failure in QrvMath" (Power has two messages of its own);
//   - an operation inside the computation that is invalid, divides by zero or
//     overflows raises EInvalidOp, EZeroDivide or EOverflow. Underflow is
//     silent. No routine ever returns an infinity or a NaN.
// Many routines check only part of their domain and leave the rest to the
// floating-point errors; the comment of each says which error comes when.
#pragma once

#include "QrvFloat.h"
#include "QrvMathConst.h"

#include <cstdint>

namespace qrv
{

// --- auxiliary -----------------------------------------------------------

// Raises EQrvMathError "Domain check failure in QrvMath" when Failed is true.
void DomainCheck(bool Failed);
// 1, -1 or 0 after the sign of x.
std::int32_t SignOf(Float x);
// Floored remainder X - Y * floor(X / Y); FloatMod(-3, 2) is 1.
Float FloatMod(Float X, Float Y);
// x * RadiansPerDegree, one multiplication with the stored factor.
Float DegreesToRadians(Float x);
// x * RadiansPerGrad.
Float GradsToRadians(Float x);

// --- trigonometric (argument in radians) -----------------------------------

// sin x and cos x, and 0 for abs(x) >= 2^63; never raise.
Float Sin(Float x);
Float Cos(Float x);
// Sin(x) and Cos(x) at once, with one argument reduction; the values are
// exactly those of Sin and Cos.
void SinCos(Float x, Float& sine, Float& cosine);
// sin x and cos x; domain error for abs(x) > 2^63 (2^63 itself passes).
Float CheckedSin(Float x);
Float CheckedCos(Float x);
// Domain error for abs(x) > 2^63 in all of these.
Float Tan(Float x);
Float Cot(Float x);       // 1 / tan x; zero-divide for x = 0
Float Sec(Float x);       // 1 / cos x
Float Csc(Float x);       // 1 / sin x; domain error also when sin x = 0
Float Versine(Float x);   // 1 - cos x
Float Coversine(Float x); // 1 - sin x
Float Haversine(Float x); // (1 - cos x) * 0.5
Float Exsecans(Float x);  // sec x - 1

// --- inverse trigonometric (result in radians) -----------------------------

Float ArcSin(Float x); // domain error for abs(x) > 1
Float ArcCos(Float x); // domain error for abs(x) > 1
Float ArcTan(Float x);
Float ArcCot(Float x); // arctan(1/x); domain error for x = 0
Float ArcSec(Float x); // in [0, pi/2) for either sign; invalid for abs(x) < 1
Float ArcCsc(Float x); // in (0, pi/2) for either sign; invalid for abs(x) < 1, zero-divide for abs(x) = 1

// --- hyperbolic ------------------------------------------------------------

Float SinH(Float x); // overflow (or zero-divide far below) beyond about abs(x) = 11356.5
Float CosH(Float x);
Float TanH(Float x); // exactly +-1 beyond TanHLimit; never raises
Float CotH(Float x); // zero-divide when TanH(x) = 0
Float SecH(Float x); // overflow for abs(x) above about 11356.52
Float CscH(Float x); // domain error when e^x - e^-x = 0 (x = 0); overflow as SecH

// --- inverse hyperbolic ------------------------------------------------------

Float ArcSinH(Float x);
Float ArcCosH(Float x); // domain error for x < 1
Float ArcTanH(Float x); // domain error for abs(x) >= 1
Float ArcCotH(Float x); // domain error for abs(x) = 1; invalid for abs(x) < 1
Float ArcSecH(Float x); // domain error for abs(x) > 1; zero-divide for 0; invalid for -1 <= x < 0
Float ArcCscH(Float x); // domain error for x = 0

// --- exponential, logarithmic and algebraic --------------------------------

Float Exp(Float x);                      // overflow above about 11356.52; 0 silently far below
Float Ln(Float x);                       // zero-divide for 0, invalid for x < 0
Float LogBase10(Float x);                // domain error for x <= 0
Float LogBase2(Float x);                 // domain error for x <= 0
Float LogBaseN(Float Base, Float X);     // domain error for X <= 0, Base <= 0, Base = 1
Float Power(Float Base, Float Exponent); // own messages for 0^negative and negative^fraction
Float Sqrt(Float x);                     // invalid for x < 0; Sqrt(-0) is -0
Float Square(Float x);                   // overflow above about 1.09e2466
Float Abs(Float x);

} // namespace qrv
