// The one table of the machine's operators. Each row names the operation
// class, its kind, its listing mnemonic, how the checked mode finds a fault
// in it, and how a non-finite operand passes through it in the fast mode.
// The operation classes, their checked Execute, the fast run and the listing
// are all generated from these rows and from the one rule function of each
// kind below, so that no operator's arithmetic is written twice.
//
// Fault (how the operation faults on finite operands; the checked Execute
// settles it after applying the rule, for one operand as for two):
//   None      nothing can go wrong on finite operands (truth values, negation)
//   Result    a non-finite result is the fault: NaN invalid, infinity overflow
//   Quotient  a zero divisor first: x/0 division by zero, 0/0 invalid
//   Raises    the rule raises its own errors (rounding to a 64-bit integer)
// Flow (what a non-finite operand does: the unchecked fast mode tests values
// where it stops, and the checked Execute also checks the result of Both and
// Left, since a non-finite constant makes a program run checked only):
//   Both      a non-finite operand gives a non-finite result
//   Left      only a non-finite left operand does (x/inf is 0)
//   Tested    the rule raises on a non-finite operand
//   Stops     the result is a finite truth value whatever the operands
#pragma once

#include "QrvErrors.h"
#include "QrvFloat.h"
#include "QrvFpu.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// X(Class, Kind, Mnemonic, Fault, Flow)
#define QRV_EXPR_UNARY_OPERATIONS(X)                                                                         \
    X(TExprNegateVmOp, Negate, "neg", None, Both)                                                            \
    X(TExprLogicalNotVmOp, LogicalNot, "not", None, Stops)                                                   \
    X(TExprBitwiseNotVmOp, BitwiseNot, "bnot", Raises, Tested)

#define QRV_EXPR_BINARY_OPERATIONS(X)                                                                        \
    X(TExprAddVmOp, Add, "add", Result, Both)                                                                \
    X(TExprSubtractVmOp, Subtract, "sub", Result, Both)                                                      \
    X(TExprMultiplyVmOp, Multiply, "mul", Result, Both)                                                      \
    X(TExprDivideVmOp, Divide, "div", Quotient, Left)                                                        \
    X(TExprCompareVmOp, Compare, "cmp", None, Stops)                                                         \
    X(TExprGreaterVmOp, Greater, "gt", None, Stops)                                                          \
    X(TExprGreaterEqualVmOp, GreaterEqual, "ge", None, Stops)                                                \
    X(TExprLessVmOp, Less, "lt", None, Stops)                                                                \
    X(TExprLessEqualVmOp, LessEqual, "le", None, Stops)                                                      \
    X(TExprEqualVmOp, Equal, "eq", None, Stops)                                                              \
    X(TExprNotEqualVmOp, NotEqual, "ne", None, Stops)                                                        \
    X(TExprIntegerDivideVmOp, IntegerDivide, "idiv", Raises, Tested)                                         \
    X(TExprModuloVmOp, Modulo, "mod", Raises, Tested)                                                        \
    X(TExprShiftLeftVmOp, ShiftLeft, "shl", Raises, Tested)                                                  \
    X(TExprShiftRightVmOp, ShiftRight, "shr", Raises, Tested)                                                \
    X(TExprBitwiseAndVmOp, BitwiseAnd, "band", Raises, Tested)                                               \
    X(TExprBitwiseOrVmOp, BitwiseOr, "bor", Raises, Tested)                                                  \
    X(TExprBitwiseXorVmOp, BitwiseXor, "bxor", Raises, Tested)                                               \
    X(TExprLogicalAndVmOp, LogicalAnd, "and", None, Stops)                                                   \
    X(TExprLogicalOrVmOp, LogicalOr, "or", None, Stops)                                                      \
    X(TExprLogicalXorVmOp, LogicalXor, "xor", None, Stops)

namespace qrv
{

// What the machine does with an operation. Besides the operators of the
// table: a constant; a 64-bit variable load; a one- or two-argument call of
// a Float function (the direct call path); `Pure`, an operation run through
// its Execute inside a re-runnable stretch (the 32- and 80-bit loads); and
// `Opaque`, any other call, run through its Execute as a stretch boundary.
enum class TExprVmKind : std::uint8_t {
    Opaque,
    Pure,
    Const,
    Load64,
    CallUnary,
    CallBinary,
#define QRV_KIND(C, K, M, F, W) K,
    QRV_EXPR_UNARY_OPERATIONS(QRV_KIND) QRV_EXPR_BINARY_OPERATIONS(QRV_KIND)
#undef QRV_KIND
};

enum class TExprFault : std::uint8_t { None, Result, Quotient, Raises };
enum class TExprFlow : std::uint8_t { Both, Left, Tested, Stops };

struct TExprOperationTraits {
    std::string_view Mnemonic;
    TExprFault Fault;
    TExprFlow Flow;
    int Arity; // 0 for the kinds outside the table
};

namespace detail
{
constexpr TExprOperationTraits TraitsOf(TExprVmKind kind)
{
    switch (kind) {
#define QRV_UNARY_TRAITS(C, K, M, F, W)                                                                      \
    case TExprVmKind::K:                                                                                     \
        return {M, TExprFault::F, TExprFlow::W, 1};
#define QRV_BINARY_TRAITS(C, K, M, F, W)                                                                     \
    case TExprVmKind::K:                                                                                     \
        return {M, TExprFault::F, TExprFlow::W, 2};
        QRV_EXPR_UNARY_OPERATIONS(QRV_UNARY_TRAITS)
        QRV_EXPR_BINARY_OPERATIONS(QRV_BINARY_TRAITS)
#undef QRV_UNARY_TRAITS
#undef QRV_BINARY_TRAITS
    default:
        return {"", TExprFault::None, TExprFlow::Stops, 0};
    }
}

constexpr std::size_t kKindCount = static_cast<std::size_t>(TExprVmKind::LogicalXor) + 1;

constexpr std::array<TExprOperationTraits, kKindCount> MakeTraitsTable()
{
    std::array<TExprOperationTraits, kKindCount> table{};
    for (std::size_t k = 0; k < kKindCount; ++k)
        table[k] = TraitsOf(static_cast<TExprVmKind>(k));
    return table;
}

inline constexpr std::array<TExprOperationTraits, kKindCount> kTraits = MakeTraitsTable();
} // namespace detail

// The row of the table for a kind; empty for the kinds outside it.
constexpr const TExprOperationTraits& OperationTraits(TExprVmKind kind)
{
    return detail::kTraits[static_cast<std::size_t>(kind)];
}

// ---- the rules: each operator's arithmetic, written once ------------------
//
// Truth values are 1 and +0. Integer operations round their operands to the
// nearest 64-bit integer (ties to even) and raise "Invalid floating point
// operation" for a value outside that range; integer results convert back to
// Float exactly.
namespace rules
{

constexpr Float kTrue = 1.0L;
constexpr Float kFalse = 0.0L;

constexpr Float Truth(bool value)
{
    return value ? kTrue : kFalse;
}

inline Float FromInt(std::int64_t value)
{
    return static_cast<Float>(value);
}

// The shift count: the lowest 8 bits of the rounded count, read as a signed
// byte. 0..63 shift by that many bits, 64..127 shift everything out, and a
// negative count shifts by its lowest 5 bits (1 shl -1 is 2^31). Returns 64
// for "everything out", so callers never shift by 64 or more.
inline unsigned ShiftCount(Float count)
{
    auto low = static_cast<std::uint8_t>(static_cast<std::uint64_t>(RoundToInt64(count)) & 0xFFu);
    auto c = static_cast<std::int8_t>(low);
    if (c < 0) return static_cast<unsigned>(c) & 0x1Fu;
    return c < 64 ? static_cast<unsigned>(c) : 64u;
}

// Both operands of div and mod, rounded; a right operand that rounds to zero
// is the integer "Division by zero".
struct IntegerOperands {
    std::int64_t left;
    std::int64_t right;
};

inline IntegerOperands DivisionOperands(Float left, Float right)
{
    IntegerOperands ops{RoundToInt64(left), RoundToInt64(right)};
    if (ops.right == 0) throw EDivByZero();
    return ops;
}

inline Float Negate(Float x)
{
    return -x;
}
inline Float LogicalNot(Float x)
{
    return Truth(x == 0);
}
inline Float BitwiseNot(Float x)
{
    return FromInt(~RoundToInt64(x));
}

inline Float Add(Float l, Float r)
{
    return l + r;
}
inline Float Subtract(Float l, Float r)
{
    return l - r;
}
inline Float Multiply(Float l, Float r)
{
    return l * r;
}
inline Float Divide(Float l, Float r)
{
    return l / r;
}

inline Float Compare(Float l, Float r)
{
    return l < r ? -kTrue : (l == r ? kFalse : kTrue);
}
inline Float Greater(Float l, Float r)
{
    return Truth(l > r);
}
inline Float GreaterEqual(Float l, Float r)
{
    return Truth(l >= r);
}
inline Float Less(Float l, Float r)
{
    return Truth(l < r);
}
inline Float LessEqual(Float l, Float r)
{
    return Truth(l <= r);
}
inline Float Equal(Float l, Float r)
{
    return Truth(l == r);
}
inline Float NotEqual(Float l, Float r)
{
    return Truth(l != r);
}

// Truncating division. The one quotient outside the 64-bit range,
// -2^63 div -1, is 2^63, which Float holds exactly.
inline Float IntegerDivide(Float l, Float r)
{
    auto [a, b] = DivisionOperands(l, r);
    return b == -1 ? -FromInt(a) : FromInt(a / b);
}

// The remainder has the sign of the left operand (C++ % truncates too);
// anything mod -1 is 0.
inline Float Modulo(Float l, Float r)
{
    auto [a, b] = DivisionOperands(l, r);
    return b == -1 ? kFalse : FromInt(a % b);
}

inline Float ShiftLeft(Float l, Float r)
{
    auto value = static_cast<std::uint64_t>(RoundToInt64(l));
    unsigned count = ShiftCount(r);
    return FromInt(static_cast<std::int64_t>(count < 64 ? value << count : 0));
}

// A logical shift: the 64-bit pattern moves right with zeros coming in, and
// the result is read back as a signed integer (-8 shr 1 is 2^63 - 4).
inline Float ShiftRight(Float l, Float r)
{
    auto value = static_cast<std::uint64_t>(RoundToInt64(l));
    unsigned count = ShiftCount(r);
    return FromInt(static_cast<std::int64_t>(count < 64 ? value >> count : 0));
}

inline Float BitwiseAnd(Float l, Float r)
{
    return FromInt(RoundToInt64(l) & RoundToInt64(r));
}
inline Float BitwiseOr(Float l, Float r)
{
    return FromInt(RoundToInt64(l) | RoundToInt64(r));
}
inline Float BitwiseXor(Float l, Float r)
{
    return FromInt(RoundToInt64(l) ^ RoundToInt64(r));
}

// Both operands of the logical operators are always computed.
inline Float LogicalAnd(Float l, Float r)
{
    return Truth(l != 0 && r != 0);
}
inline Float LogicalOr(Float l, Float r)
{
    return Truth(l != 0 || r != 0);
}
inline Float LogicalXor(Float l, Float r)
{
    return Truth((l != 0) != (r != 0));
}

// The checked mode's view of a rule's result, alike for one operand and two
// (`divisor` is the right operand; only a quotient reads it). Besides the
// row's fault, a result that a non-finite operand can pass into (flow Both
// or Left) is checked too: the checked mode is the one that runs a program
// with a non-finite constant, and such a value must not become a result.
template <TExprFault F, TExprFlow W> inline Float Settle(Float result, Float divisor)
{
    if constexpr (F == TExprFault::Quotient) {
        if (divisor == 0) [[unlikely]] {
            if (result != result) throw EInvalidOp(); // 0/0
            throw EZeroDivide();
        }
        return Checked(result);
    } else if constexpr (F == TExprFault::Result || W == TExprFlow::Both || W == TExprFlow::Left) {
        return Checked(result);
    } else {
        return result;
    }
}

} // namespace rules

} // namespace qrv
