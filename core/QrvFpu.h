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
// under sanitizers and debuggers as in a release build. Code that runs many
// unchecked operations in a row (the expression machine's fast run) reads the
// sticky flags once afterwards instead, and repeats the work checked when a
// flag is set.
#pragma once

#include "QrvErrors.h"
#include "QrvFloat.h"

#include <cmath>
#include <cstdint>
#include <limits>

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

// The x87 sticky exception flags of the faults the program raises: invalid
// operation, division by zero and overflow. Masked exceptions only set these
// flags; they stay set until cleared. Reading them also orders every earlier
// store before the read, so results computed before the call are covered.
inline bool FloatFaultFlagsSet()
{
#if defined(__x86_64__) || defined(__i386__)
    unsigned short status;
    __asm__ volatile("fnstsw %0" : "=am"(status) : : "memory");
    return (status & 0x0D) != 0; // IE bit 0, ZE bit 2, OE bit 3
#else
    return true; // no cheap flag read: callers fall back to their checked path
#endif
}

// Clears all x87 exception flags.
inline void ClearFloatFaultFlags()
{
#if defined(__x86_64__) || defined(__i386__)
    __asm__ volatile("fnclex" : : : "memory");
#endif
}

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
// raises "Floating point overflow". The range is checked before converting:
// a value rounds to a finite double exactly when its magnitude is below the
// largest double plus half its last unit (the halfway value rounds to even,
// which is upwards, out of range).
inline double RoundToDouble(Float value)
{
    constexpr Float kFirstOverflow = Float(std::numeric_limits<double>::max()) + 0x1p970L;
    if (!(std::fabs(value) < kFirstOverflow)) [[unlikely]]
        RaiseFloatFault(value);
    return static_cast<double>(value);
}

// Rounds to the nearest 64-bit signed integer, ties to even (the processor's
// nearest mode), into `out`. Returns false, leaving `out` alone, when the
// value lies outside the 64-bit range; the range is checked before
// converting, so there is no undefined behaviour.
inline bool TryRoundToInt64(Float value, std::int64_t& out)
{
#if defined(__x86_64__) || defined(__i386__)
    // The x87 store rounds in the current mode, which is to nearest: it is
    // std::rint and the conversion in one step. Rounded to nearest, a value
    // lands in [-2^63, 2^63) exactly when it lies in [-2^63, 2^63 - 1/2)
    // (2^63 - 1/2 rounds to the even 2^63; nothing lies strictly between
    // -2^63 - 1 and -2^63).
    constexpr Float kLow = -9223372036854775808.0L;
    constexpr Float kHigh = 9223372036854775807.5L;
    if (!(value >= kLow && value < kHigh)) [[unlikely]]
        return false;
    __asm__("fistpll %0" : "=m"(out) : "t"(value) : "st");
    return true;
#else
    Float r = std::rint(value);
    constexpr Float kTwo63 = 9223372036854775808.0L;
    if (!(r >= -kTwo63 && r < kTwo63)) [[unlikely]]
        return false;
    out = static_cast<std::int64_t>(r);
    return true;
#endif
}

// As TryRoundToInt64; a value outside the 64-bit range raises "Invalid
// floating point operation".
inline std::int64_t RoundToInt64(Float value)
{
    std::int64_t result;
    if (!TryRoundToInt64(value, result)) [[unlikely]]
        throw EInvalidOp();
    return result;
}

} // namespace qrv
