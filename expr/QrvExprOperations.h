// The one table of the expression operators: a row per operator holds what
// every stage needs to know of it.
//   Kind      its TExprVmKind; its operation class is TExpr<Kind>VmOp
//             (TExprAddVmOp, TExprEqualVmOp ...) and its arithmetic the rule
//             function rules::<Kind> below
//   Method    the node factory's method that makes it (TExprNodeFactory)
//   Arity     1 for a prefix operator, 2 for a left and a right operand
//   Level     the parser's precedence level (TExprOperatorLevel)
//   Spelling  a symbol, or a word matched in any letter case; its token is
//             whatever the lexer makes of it
//   Mnemonic  its name in program listings
//   Fault     how it faults on finite operands; the checked Execute settles
//             it after applying the rule, for one operand as for two:
//     None      nothing can go wrong on finite operands (truth values, negation)
//     Result    a non-finite result is the fault: NaN invalid, infinity overflow
//     Quotient  a zero divisor first: x/0 division by zero, 0/0 invalid
//     Raises    the rule raises its own errors (rounding to a 64-bit integer)
//   Flow      what a non-finite operand does: the unchecked fast mode tests
//             values where it stops, and the checked Execute also checks the
//             result of Both and Left, since a non-finite constant makes a
//             program run checked only:
//     Both      a non-finite operand gives a non-finite result
//     Left      only a non-finite left operand does (x/inf is 0)
//     Tested    the rule raises on a non-finite operand
//     Stops     the result is a finite truth value whatever the operands
//
// Generated from the rows: the kinds and traits below, the operation classes
// and their checked Execute (QrvExprVirtMach.h), the factory's operator
// methods (QrvExprNodes.*), the parser's level tables (QrvExprParser.cpp),
// the fast run and the x87 code's helpers, and the listings. So no operator
// is written twice. A new column goes at the end of the rows: the users of
// every column end their parameter lists with `...`, so only the stages that
// read the new column change.
#pragma once

#include "QrvErrors.h"
#include "QrvFloat.h"
#include "QrvFpu.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

// clang-format off
#define QRV_EXPR_OPERATOR_TABLE(Row, X)                                                                      \
    /*     Kind           Method               Arity Level           Spelling Mnemonic Fault     Flow */     \
    Row(X, Negate,        Negate,              1,    Unary,          "-",     "neg",   None,     Both)       \
    Row(X, LogicalNot,    LogicalNot,          1,    Unary,          "not",   "not",   None,     Stops)      \
    Row(X, BitwiseNot,    BitwiseNot,          1,    Unary,          "bnot",  "bnot",  Raises,   Tested)     \
    Row(X, Add,           Add,                 2,    Additive,       "+",     "add",   Result,   Both)       \
    Row(X, Subtract,      Subtract,            2,    Additive,       "-",     "sub",   Result,   Both)       \
    Row(X, Multiply,      Multiply,            2,    Multiplicative, "*",     "mul",   Result,   Both)       \
    Row(X, Divide,        Divide,              2,    Multiplicative, "/",     "div",   Quotient, Left)       \
    Row(X, Compare,       Compare,             2,    Relational,     "cmp",   "cmp",   None,     Stops)      \
    Row(X, Greater,       CompareGreater,      2,    Relational,     ">",     "gt",    None,     Stops)      \
    Row(X, GreaterEqual,  CompareGreaterEqual, 2,    Relational,     ">=",    "ge",    None,     Stops)      \
    Row(X, Less,          CompareLess,         2,    Relational,     "<",     "lt",    None,     Stops)      \
    Row(X, LessEqual,     CompareLessEqual,    2,    Relational,     "<=",    "le",    None,     Stops)      \
    Row(X, Equal,         CompareEqual,        2,    Relational,     "=",     "eq",    None,     Stops)      \
    Row(X, NotEqual,      CompareNotEqual,     2,    Relational,     "<>",    "ne",    None,     Stops)      \
    Row(X, IntegerDivide, IntegerDivide,       2,    Multiplicative, "div",   "idiv",  Raises,   Tested)     \
    Row(X, Modulo,        Modulo,              2,    Multiplicative, "mod",   "mod",   Raises,   Tested)     \
    Row(X, ShiftLeft,     ShiftLeft,           2,    Multiplicative, "shl",   "shl",   Raises,   Tested)     \
    Row(X, ShiftRight,    ShiftRight,          2,    Multiplicative, "shr",   "shr",   Raises,   Tested)     \
    Row(X, BitwiseAnd,    BitwiseAnd,          2,    Multiplicative, "band",  "band",  Raises,   Tested)     \
    Row(X, BitwiseOr,     BitwiseOr,           2,    Additive,       "bor",   "bor",   Raises,   Tested)     \
    Row(X, BitwiseXor,    BitwiseXor,          2,    Additive,       "bxor",  "bxor",  Raises,   Tested)     \
    Row(X, LogicalAnd,    LogicalAnd,          2,    Multiplicative, "and",   "and",   None,     Stops)      \
    Row(X, LogicalOr,     LogicalOr,           2,    Additive,       "or",    "or",    None,     Stops)      \
    Row(X, LogicalXor,    LogicalXor,          2,    Additive,       "xor",   "xor",   None,     Stops)
// clang-format on

// The views of the table. Every row with every column, in table order:
//   X(Class, Kind, Method, Arity, Level, Spelling, Mnemonic, Fault, Flow, ...)
#define QRV_EXPR_OPERATORS(X) QRV_EXPR_OPERATOR_TABLE(QRV_EXPR_ROW, X)
// The rows of one arity, with every column.
#define QRV_EXPR_UNARY_OPERATORS(X) QRV_EXPR_OPERATOR_TABLE(QRV_EXPR_UNARY_ROW, X)
#define QRV_EXPR_BINARY_OPERATORS(X) QRV_EXPR_OPERATOR_TABLE(QRV_EXPR_BINARY_ROW, X)
// The machine's columns of the rows of one arity: X(Class, Kind, Mnemonic, Fault, Flow)
#define QRV_EXPR_UNARY_OPERATIONS(X) QRV_EXPR_OPERATOR_TABLE(QRV_EXPR_UNARY_OPERATION, X)
#define QRV_EXPR_BINARY_OPERATIONS(X) QRV_EXPR_OPERATOR_TABLE(QRV_EXPR_BINARY_OPERATION, X)

// How the views take a row apart: each hands X the row's columns, the class
// named from the kind, and keeps the rows of one arity by pasting the arity
// onto QRV_EXPR_ARITY_, which picks the unary or the binary text.
#define QRV_EXPR_ROW(X, K, ...) X(TExpr##K##VmOp, K, __VA_ARGS__)
#define QRV_EXPR_UNARY_ROW(X, K, Method, A, ...)                                                             \
    QRV_EXPR_ARITY_##A(X(TExpr##K##VmOp, K, Method, A, __VA_ARGS__), )
#define QRV_EXPR_BINARY_ROW(X, K, Method, A, ...)                                                            \
    QRV_EXPR_ARITY_##A(, X(TExpr##K##VmOp, K, Method, A, __VA_ARGS__))
#define QRV_EXPR_UNARY_OPERATION(X, K, Method, A, Level, Spelling, M, F, W, ...)                             \
    QRV_EXPR_ARITY_##A(X(TExpr##K##VmOp, K, M, F, W), )
#define QRV_EXPR_BINARY_OPERATION(X, K, Method, A, Level, Spelling, M, F, W, ...)                            \
    QRV_EXPR_ARITY_##A(, X(TExpr##K##VmOp, K, M, F, W))
#define QRV_EXPR_ARITY_1(unary, binary) unary
#define QRV_EXPR_ARITY_2(unary, binary) binary

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
#define QRV_KIND(C, K, ...) K,
    QRV_EXPR_OPERATORS(QRV_KIND)
#undef QRV_KIND
        Count // not a kind: the number of kinds, for tables indexed by kind
};

enum class TExprFault : std::uint8_t { None, Result, Quotient, Raises };
enum class TExprFlow : std::uint8_t { Both, Left, Tested, Stops };

// The parser's precedence levels, loosest first (QrvExprParser.h); the
// operators of a level associate to the left, Unary ones are prefixes.
enum class TExprOperatorLevel : std::uint8_t { Relational, Additive, Multiplicative, Unary };

struct TExprOperationTraits {
    std::string_view Mnemonic;
    TExprFault Fault;
    TExprFlow Flow;
    int Arity; // 0 for the kinds outside the table
    TExprOperatorLevel Level;
    std::string_view Spelling;
};

namespace detail
{
constexpr TExprOperationTraits TraitsOf(TExprVmKind kind)
{
    switch (kind) {
#define QRV_TRAITS(C, K, Method, A, L, S, M, F, W, ...)                                                      \
    case TExprVmKind::K:                                                                                     \
        return {M, TExprFault::F, TExprFlow::W, A, TExprOperatorLevel::L, S};
        QRV_EXPR_OPERATORS(QRV_TRAITS)
#undef QRV_TRAITS
    default:
        return {"", TExprFault::None, TExprFlow::Stops, 0, TExprOperatorLevel::Unary, ""};
    }
}

constexpr std::size_t kKindCount = static_cast<std::size_t>(TExprVmKind::Count);

constexpr std::array<TExprOperationTraits, kKindCount> MakeTraitsTable()
{
    std::array<TExprOperationTraits, kKindCount> table{};
    for (std::size_t k = 0; k < kKindCount; ++k)
        table[k] = TraitsOf(static_cast<TExprVmKind>(k));
    return table;
}

inline constexpr std::array<TExprOperationTraits, kKindCount> kTraits = MakeTraitsTable();

// What the stages rely on in every row: a prefix operator has one operand
// and nothing of a right one (no quotient, no left-only flow); a two-operand
// one stands on a two-operand level; every row has a spelling and a
// mnemonic, a word is written in lower case (the parser lowers the text it
// compares), and no two rows of one arity are spelled alike.
constexpr bool RowsAreConsistent()
{
    for (std::size_t k = 0; k < kKindCount; ++k) {
        const TExprOperationTraits& t = kTraits[k];
        if (t.Arity == 0) continue;
        if (t.Arity != 1 && t.Arity != 2) return false;
        if ((t.Arity == 1) != (t.Level == TExprOperatorLevel::Unary)) return false;
        if (t.Arity == 1 && (t.Fault == TExprFault::Quotient || t.Flow == TExprFlow::Left)) return false;
        if (t.Spelling.empty() || t.Mnemonic.empty()) return false;
        for (char c : t.Spelling)
            if (c >= 'A' && c <= 'Z') return false;
        for (std::size_t other = k + 1; other < kKindCount; ++other)
            if (kTraits[other].Arity == t.Arity && kTraits[other].Spelling == t.Spelling) return false;
    }
    return true;
}
static_assert(RowsAreConsistent(), "a row of the operator table breaks a rule every stage relies on");

// The table's kinds come last, one after another: the fast run numbers its
// instructions from the first of them.
constexpr TExprVmKind kOperatorKinds[] = {
#define QRV_KIND(C, K, ...) TExprVmKind::K,
    QRV_EXPR_OPERATORS(QRV_KIND)
#undef QRV_KIND
};
static_assert(kOperatorKinds[0] == TExprVmKind::Negate &&
              static_cast<std::size_t>(kOperatorKinds[0]) + std::size(kOperatorKinds) == kKindCount);
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

// ---- the derivative rules: each operator's, beside its arithmetic ----------
//
// A jet is a value with its first and second derivative with respect to the
// plot's x. `Varies` says whether the value depends on x at all: a part
// that does not (a constant, another variable) has derivatives 0 whatever
// its operation, so `abs(-3)` or `7 div 2` inside a formula never spoil it.
// Where a derivative does not exist (a corner, a step) or is not finite its
// Has flag is false; a missing first derivative implies a missing second.
//
// `Varies` and `Curved` are known from the formula's shape alone, before any
// x: a first derivative that is not Varies is exactly zero, and so is a
// second that is not Curved (x itself varies but is not curved). The rules
// of the arithmetic operators leave out the terms such zeros would add, so
// that generated code, which knows the shape, computes exactly the same
// numbers with the same operations.
struct TExprJet {
    Float Value = 0;
    Float D1 = 0;
    Float D2 = 0;
    bool Varies = false;
    bool HasD1 = true;
    bool HasD2 = true;
    bool Curved = true;
};

// The derivatives of a one-operand function at its operand u: f'(u) and
// f''(u), each with whether it exists.
struct TExprLocalDerivatives {
    Float D1 = 0;
    Float D2 = 0;
    bool HasD1 = true;
    bool HasD2 = true;
};

// The partial derivatives of a two-operand function g(l, r): first by l and
// by r, second by l twice, by l and r, by r twice, each with whether it
// exists.
struct TExprLocalPartials {
    Float L = 0, R = 0, LL = 0, LR = 0, RR = 0;
    bool HasL = true, HasR = true, HasLL = true, HasLR = true, HasRR = true;
};

namespace jets
{

// The jet of a value that does not depend on x.
inline TExprJet Constant(Float value)
{
    return {value, 0, 0, false, true, true, false};
}

// A derivative that overflowed is no derivative: an infinity or NaN of a
// part stays one through the rules that read it, so the program checks its
// result once.
inline TExprJet Finish(TExprJet jet)
{
    if (!(jet.D1 - jet.D1 == 0)) jet.HasD1 = false;
    if (!jet.HasD1 || !(jet.D2 - jet.D2 == 0)) jet.HasD2 = false;
    return jet;
}

// A sum or difference of two parts that may be absent (exactly zero): with
// both present, l + r or l - r; with one, that one (negated for a
// subtrahend); with neither, zero.
inline Float SumOfParts(bool hasL, Float l, bool hasR, Float r, bool subtract)
{
    if (hasL && hasR) return subtract ? l - r : l + r;
    if (hasL) return l;
    if (hasR) return subtract ? -r : r;
    return 0;
}

// The chain rule for f(u): (f u)' = f' u', (f u)'' = f'' u'^2 + f' u''.
inline TExprJet Chain(const TExprJet& u, Float value, const TExprLocalDerivatives& f)
{
    if (!u.Varies) return Constant(value);
    const Float d2 = SumOfParts(true, f.D2 * u.D1 * u.D1, u.Curved, f.D1 * u.D2, false);
    TExprJet jet{value, f.D1 * u.D1, d2, true, f.HasD1 && u.HasD1, f.HasD1 && f.HasD2 && u.HasD2, true};
    return Finish(jet);
}

// The chain rule for g(l, r), reading only the partials of the operands
// that vary, so that a partial that does not exist matters only where its
// operand depends on x.
inline TExprJet Chain2(const TExprJet& l, const TExprJet& r, Float value, const TExprLocalPartials& g)
{
    if (!l.Varies && !r.Varies) return Constant(value);
    TExprJet jet{value, 0, 0, true, true, true};
    if (l.Varies) {
        jet.D1 += g.L * l.D1;
        jet.D2 += g.LL * l.D1 * l.D1 + g.L * l.D2;
        jet.HasD1 = g.HasL && l.HasD1;
        jet.HasD2 = g.HasL && g.HasLL && l.HasD2;
    }
    if (r.Varies) {
        jet.D1 += g.R * r.D1;
        jet.D2 += g.RR * r.D1 * r.D1 + g.R * r.D2;
        jet.HasD1 = jet.HasD1 && g.HasR && r.HasD1;
        jet.HasD2 = jet.HasD2 && g.HasR && g.HasRR && r.HasD2;
    }
    if (l.Varies && r.Varies) {
        jet.D2 += 2 * g.LR * l.D1 * r.D1;
        jet.HasD2 = jet.HasD2 && g.HasLR;
    }
    return jet;
}

// A piecewise constant result: derivatives 0, except at a step of a varying
// operand, where there are none.
inline TExprJet Steps(Float value, bool atStep)
{
    return {value, 0, 0, true, !atStep, !atStep, false};
}

// Where an integer operation steps: its operand rounds to the nearest
// integer, so a varying operand halfway between two integers is at a step.
inline bool RoundingStep(const TExprJet& u)
{
    if (!u.Varies) return false;
    return u.Value - std::floor(u.Value) == 0.5L;
}

// Where a truth value steps: a varying operand at zero.
inline bool TruthStep(const TExprJet& u)
{
    return u.Varies && u.Value == 0;
}

// Where a comparison steps: its operands equal while one of them varies.
inline bool ComparisonStep(const TExprJet& l, const TExprJet& r)
{
    return (l.Varies || r.Varies) && l.Value == r.Value;
}

inline TExprJet Negate(const TExprJet& u, Float value)
{
    if (!u.Varies) return Constant(value);
    return {value, -u.D1, u.Curved ? -u.D2 : 0, true, u.HasD1, u.HasD2, u.Curved};
}
inline TExprJet LogicalNot(const TExprJet& u, Float value)
{
    if (!u.Varies) return Constant(value);
    return Steps(value, TruthStep(u));
}
inline TExprJet BitwiseNot(const TExprJet& u, Float value)
{
    if (!u.Varies) return Constant(value);
    return Steps(value, RoundingStep(u));
}

inline TExprJet Sum(const TExprJet& l, const TExprJet& r, Float value, bool subtract)
{
    return {value,
            SumOfParts(l.Varies, l.D1, r.Varies, r.D1, subtract),
            SumOfParts(l.Curved, l.D2, r.Curved, r.D2, subtract),
            l.Varies || r.Varies,
            l.HasD1 && r.HasD1,
            l.HasD2 && r.HasD2,
            l.Curved || r.Curved};
}
inline TExprJet Add(const TExprJet& l, const TExprJet& r, Float value)
{
    return Sum(l, r, value, false);
}
inline TExprJet Subtract(const TExprJet& l, const TExprJet& r, Float value)
{
    return Sum(l, r, value, true);
}
// (uv)' = u'v + uv', (uv)'' = u''v + 2u'v' + uv'', each term only where its
// derivatives are not zero by shape.
inline TExprJet Multiply(const TExprJet& l, const TExprJet& r, Float value)
{
    if (!l.Varies && !r.Varies) return Constant(value);
    const Float d1 = SumOfParts(l.Varies, l.D1 * r.Value, r.Varies, l.Value * r.D1, false);
    const bool cross = l.Varies && r.Varies;
    Float d2 = SumOfParts(l.Curved, l.D2 * r.Value, cross, 2 * l.D1 * r.D1, false);
    d2 = SumOfParts(l.Curved || cross, d2, r.Curved, l.Value * r.D2, false);
    return {value, d1, d2, true, l.HasD1 && r.HasD1, l.HasD2 && r.HasD2, l.Curved || r.Curved || cross};
}
// For q = u/v: q' = (u' - q v')/v, q'' = (u'' - 2 q' v' - q v'')/v. A zero
// divisor never gets here: the value has raised.
inline TExprJet Divide(const TExprJet& l, const TExprJet& r, Float value)
{
    if (!l.Varies && !r.Varies) return Constant(value);
    const Float d1 = SumOfParts(l.Varies, l.D1, r.Varies, value * r.D1, true) / r.Value;
    Float d2 = SumOfParts(l.Curved, l.D2, r.Varies, 2 * d1 * r.D1, true);
    d2 = SumOfParts(l.Curved || r.Varies, d2, r.Curved, value * r.D2, true);
    const bool curved = l.Curved || r.Varies;
    return {value, d1, curved ? d2 / r.Value : 0, true, l.HasD1 && r.HasD1, l.HasD2 && r.HasD2, curved};
}

// The comparisons and the logical operators give truth values, the integer
// operators integers of rounded operands: all are constant between steps.
#define QRV_EXPR_STEP_RULE(Kind, Step)                                                                       \
    inline TExprJet Kind(const TExprJet& l, const TExprJet& r, Float value)                                  \
    {                                                                                                        \
        if (!l.Varies && !r.Varies) return Constant(value);                                                  \
        return Steps(value, Step);                                                                           \
    }
QRV_EXPR_STEP_RULE(Compare, ComparisonStep(l, r))
QRV_EXPR_STEP_RULE(Greater, ComparisonStep(l, r))
QRV_EXPR_STEP_RULE(GreaterEqual, ComparisonStep(l, r))
QRV_EXPR_STEP_RULE(Less, ComparisonStep(l, r))
QRV_EXPR_STEP_RULE(LessEqual, ComparisonStep(l, r))
QRV_EXPR_STEP_RULE(Equal, ComparisonStep(l, r))
QRV_EXPR_STEP_RULE(NotEqual, ComparisonStep(l, r))
QRV_EXPR_STEP_RULE(IntegerDivide, RoundingStep(l) || RoundingStep(r))
QRV_EXPR_STEP_RULE(Modulo, RoundingStep(l) || RoundingStep(r))
QRV_EXPR_STEP_RULE(ShiftLeft, RoundingStep(l) || RoundingStep(r))
QRV_EXPR_STEP_RULE(ShiftRight, RoundingStep(l) || RoundingStep(r))
QRV_EXPR_STEP_RULE(BitwiseAnd, RoundingStep(l) || RoundingStep(r))
QRV_EXPR_STEP_RULE(BitwiseOr, RoundingStep(l) || RoundingStep(r))
QRV_EXPR_STEP_RULE(BitwiseXor, RoundingStep(l) || RoundingStep(r))
QRV_EXPR_STEP_RULE(LogicalAnd, TruthStep(l) || TruthStep(r))
QRV_EXPR_STEP_RULE(LogicalOr, TruthStep(l) || TruthStep(r))
QRV_EXPR_STEP_RULE(LogicalXor, TruthStep(l) || TruthStep(r))
#undef QRV_EXPR_STEP_RULE

} // namespace jets

} // namespace qrv
