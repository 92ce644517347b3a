// The floating-point environment and the checked operations that raise the
// program's floating-point errors.
//
// How faults are detected: by testing results, not by hardware traps. The
// x87 unit runs with every exception masked, rounding to nearest and 64-bit
// precision (InitFloatEnvironment). No operand of a formula is ever an
// infinity or a NaN, because every operation that could produce one checks
// its result at once and raises instead:
//   - a NaN result can only come from an invalid operation (0/0, 0*inf is
//     impossible since no operand is infinite)      -> "Invalid floating point operation"
//   - an infinite result from finite operands is an overflow, except for a
//     division by zero, which division checks first  -> "Floating point overflow" /
//                                                       "Floating point division by zero"
// Underflow needs no check: a tiny result becomes subnormal or zero silently.
// A check is one compare-and-branch on the result, cheaper than reading and
// clearing the status word around every operation, and it works the same
// under sanitizers and debuggers as in a release build.
#pragma once

#include "QrvErrors.h"
#include "QrvFloat.h"

#include <cmath>
#include <cstdint>

namespace qrv
{

// Puts the floating-point environment in force: round to nearest, 64-bit
// significand precision, all exceptions masked. Called at program start and
// again after anything (a platform dialog, a foreign library) may have
// changed the control word.
void InitFloatEnvironment();

// True when the x87 control word is the one InitFloatEnvironment sets.
bool FloatEnvironmentIsDefault();

// Raises the error for a non-finite result: NaN is an invalid operation, an
// infinity an overflow.
[[noreturn]] void RaiseFloatFault(Float result);

// Returns the result, or raises when it is not finite.
inline Float Checked(Float result)
{
    if (!std::isfinite(result)) [[unlikely]]
        RaiseFloatFault(result);
    return result;
}

// Division with the errors of the floating-point unit: x/0 with x non-zero
// is a division by zero, 0/0 an invalid operation.
inline Float CheckedDivide(Float left, Float right)
{
    if (right == 0) [[unlikely]] {
        if (left == 0) throw EInvalidOp();
        throw EZeroDivide();
    }
    return Checked(left / right);
}

// Rounds a Float to the nearest double; a value beyond the double range
// raises "Floating point overflow".
inline double RoundToDouble(Float value)
{
    double d = static_cast<double>(value);
    if (!std::isfinite(d)) [[unlikely]]
        RaiseFloatFault(std::isnan(d) ? d : HUGE_VAL);
    return d;
}

// Rounds to the nearest 64-bit signed integer, ties to even (the processor's
// nearest mode). A value outside the 64-bit range is an invalid operation;
// the range is checked before converting, so there is no undefined behaviour.
inline std::int64_t RoundToInt64(Float value)
{
    Float r = std::rint(value);
    constexpr Float kTwo63 = 9223372036854775808.0L;
    if (!(r >= -kTwo63 && r < kTwo63)) [[unlikely]]
        throw EInvalidOp();
    return static_cast<std::int64_t>(r);
}

} // namespace qrv
