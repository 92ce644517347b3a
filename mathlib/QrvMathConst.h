// The constants of the math library, each the exact 80-bit value of its
// encoding. Several are deliberately not the Float nearest to the
// mathematical value (TanHLimit and the four angle factors lie up to about
// one and a half units in the last place away); the stored values are the
// ones the routines and the angle modes use.
#pragma once

#include "QrvFloatPattern.h"

namespace qrv
{

// 2^63: bound of the trigonometric domain checks.
inline constexpr Float TwoToPower63 = FloatFromPattern(0x403E, 0x8000000000000000);
// 8192 * ln 2: TanH returns +-1 beyond it without computing an exponential.
inline constexpr Float TanHLimit = FloatFromPattern(0x400B, 0xB17217F7D1CF79AB);
// pi / 180
inline constexpr Float RadiansPerDegree = FloatFromPattern(0x3FF9, 0x8EFA351294E9C8AF);
// 180 / pi
inline constexpr Float DegreesPerRadian = FloatFromPattern(0x4004, 0xE52EE0D31E0FBDC2);
// pi / 200
inline constexpr Float RadiansPerGrad = FloatFromPattern(0x3FF9, 0x80ADFC90B938CE37);
// 200 / pi
inline constexpr Float GradsPerRadian = FloatFromPattern(0x4004, 0xFEA5DD5C5A4A6110);

// The Floats nearest to log2(e), ln 2 and log10(2), as the floating-point
// unit loads them; the exponential and the logarithms are built on them.
inline constexpr Float Log2OfE = FloatFromPattern(0x3FFF, 0xB8AA3B295C17F0BC);
inline constexpr Float LnOf2 = FloatFromPattern(0x3FFE, 0xB17217F7D1CF79AC);
inline constexpr Float Log10Of2 = FloatFromPattern(0x3FFD, 0x9A209A84FBCFF799);

} // namespace qrv
