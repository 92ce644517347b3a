#include "QrvExprVirtMach.h"

#include "QrvErrors.h"
#include "QrvFpu.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace qrv
{

namespace
{

constexpr Float kTrue = 1.0L;
constexpr std::uint64_t kDoubleExponent = 0x7FF0000000000000u;
constexpr Float kFalse = 0.0L;

constexpr Float Truth(bool value)
{
    return value ? kTrue : kFalse;
}

// The shift count: the lowest 8 bits of the rounded count, read as a signed
// byte. 0..63 shift by that many bits, 64..127 shift everything out, and a
// negative count shifts by its lowest 5 bits (1 shl -1 is 2^31). Returns 64
// for "everything out", so callers never shift by 64 or more.
unsigned ShiftCount(Float count)
{
    auto low = static_cast<std::uint8_t>(static_cast<std::uint64_t>(RoundToInt64(count)) & 0xFFu);
    auto c = static_cast<std::int8_t>(low);
    if (c < 0) return static_cast<unsigned>(c) & 0x1Fu;
    return c < 64 ? static_cast<unsigned>(c) : 64u;
}

// Integers back to Float: exact, since Float has a 64-bit significand.
Float FromInt(std::int64_t value)
{
    return static_cast<Float>(value);
}

// Both operands of div and mod, rounded; a right operand that rounds to zero
// is the integer "Division by zero".
struct IntegerOperands {
    std::int64_t left;
    std::int64_t right;
};

IntegerOperands DivisionOperands(const Float& left, const Float& right)
{
    IntegerOperands ops{RoundToInt64(left), RoundToInt64(right)};
    if (ops.right == 0) throw EDivByZero();
    return ops;
}

// The fast run holds the latest result in a register as well as in its
// output slot, so the next operation need not reload what was just stored
// (an 80-bit store and reload is slow). Calls clobber the x87 registers;
// dropping the held value around them keeps it from being spilled.
inline void DropHeld(Float& held, const Float*& heldAt)
{
    held = 0;
    heldAt = nullptr;
}

} // namespace

// ---- variables and constants ----------------------------------------------

TExprVar32VmOp::TExprVar32VmOp(const float* location) : TExprVarVmOp(TExprVmKind::Pure), location_(location)
{
    QRV_ASSERT(location != nullptr, MessageText(Msg::AssertionFailure));
}
TExprVar64VmOp::TExprVar64VmOp(const double* location)
    : TExprVarVmOp(TExprVmKind::Load64), location_(location)
{
    QRV_ASSERT(location != nullptr, MessageText(Msg::AssertionFailure));
}
TExprVar80VmOp::TExprVar80VmOp(const Float* location) : TExprVarVmOp(TExprVmKind::Pure), location_(location)
{
    QRV_ASSERT(location != nullptr, MessageText(Msg::AssertionFailure));
}

// A variable is checked as it is read, so that an infinity or NaN the caller
// stored cannot slip into a formula value.
void TExprVar32VmOp::Execute()
{
    Output = Checked(static_cast<Float>(*location_));
}
void TExprVar64VmOp::Execute()
{
    Output = Checked(static_cast<Float>(*location_));
}
void TExprVar80VmOp::Execute()
{
    Output = Checked(*location_);
}

// ---- one operand ----------------------------------------------------------

void TExprNegateVmOp::Execute()
{
    Output = -*operand_;
}
void TExprLogicalNotVmOp::Execute()
{
    Output = Truth(*operand_ == 0);
}
void TExprBitwiseNotVmOp::Execute()
{
    Output = FromInt(~RoundToInt64(*operand_));
}

// ---- arithmetic -----------------------------------------------------------

void TExprAddVmOp::Execute()
{
    Output = Checked(*left_ + *right_);
}
void TExprSubtractVmOp::Execute()
{
    Output = Checked(*left_ - *right_);
}
void TExprMultiplyVmOp::Execute()
{
    Output = Checked(*left_ * *right_);
}
void TExprDivideVmOp::Execute()
{
    Output = CheckedDivide(*left_, *right_);
}

// ---- comparisons ----------------------------------------------------------

void TExprCompareVmOp::Execute()
{
    Float l = *left_, r = *right_;
    Output = l < r ? -kTrue : (l == r ? kFalse : kTrue);
}
void TExprGreaterVmOp::Execute()
{
    Output = Truth(*left_ > *right_);
}
void TExprGreaterEqualVmOp::Execute()
{
    Output = Truth(*left_ >= *right_);
}
void TExprLessVmOp::Execute()
{
    Output = Truth(*left_ < *right_);
}
void TExprLessEqualVmOp::Execute()
{
    Output = Truth(*left_ <= *right_);
}
void TExprEqualVmOp::Execute()
{
    Output = Truth(*left_ == *right_);
}
void TExprNotEqualVmOp::Execute()
{
    Output = Truth(*left_ != *right_);
}

// ---- integer operations ---------------------------------------------------

// Truncating division. The one quotient outside the 64-bit range,
// -2^63 div -1, is 2^63, which Float holds exactly.
void TExprIntegerDivideVmOp::Execute()
{
    auto [l, r] = DivisionOperands(*left_, *right_);
    Output = r == -1 ? -FromInt(l) : FromInt(l / r);
}

// The remainder has the sign of the left operand (C++ % truncates too).
void TExprModuloVmOp::Execute()
{
    auto [l, r] = DivisionOperands(*left_, *right_);
    Output = r == -1 ? kFalse : FromInt(l % r);
}

void TExprShiftLeftVmOp::Execute()
{
    auto value = static_cast<std::uint64_t>(RoundToInt64(*left_));
    unsigned count = ShiftCount(*right_);
    Output = FromInt(static_cast<std::int64_t>(count < 64 ? value << count : 0));
}

// A logical shift: the 64-bit pattern moves right with zeros coming in, and
// the result is read back as a signed integer (-8 shr 1 is 2^63 - 4).
void TExprShiftRightVmOp::Execute()
{
    auto value = static_cast<std::uint64_t>(RoundToInt64(*left_));
    unsigned count = ShiftCount(*right_);
    Output = FromInt(static_cast<std::int64_t>(count < 64 ? value >> count : 0));
}

void TExprBitwiseAndVmOp::Execute()
{
    Output = FromInt(RoundToInt64(*left_) & RoundToInt64(*right_));
}
void TExprBitwiseOrVmOp::Execute()
{
    Output = FromInt(RoundToInt64(*left_) | RoundToInt64(*right_));
}
void TExprBitwiseXorVmOp::Execute()
{
    Output = FromInt(RoundToInt64(*left_) ^ RoundToInt64(*right_));
}

// ---- logical operations: both operands are always computed -----------------

void TExprLogicalAndVmOp::Execute()
{
    Output = Truth(*left_ != 0 && *right_ != 0);
}
void TExprLogicalOrVmOp::Execute()
{
    Output = Truth(*left_ != 0 || *right_ != 0);
}
void TExprLogicalXorVmOp::Execute()
{
    Output = Truth((*left_ != 0) != (*right_ != 0));
}

// ---- function calls -------------------------------------------------------

// A conversion overflows when the value lies beyond the largest finite value
// of the narrower type by half a unit or more; checking the converted value
// for infinity catches exactly that.
template <> float NarrowArgument<float>(Float value)
{
    auto narrow = static_cast<float>(value);
    if (std::isinf(narrow)) [[unlikely]]
        throw EOverflow();
    return narrow;
}

template <> double NarrowArgument<double>(Float value)
{
    return RoundToDouble(value);
}

template <class T, std::size_t N> Float TExprCallVmOpT<T, N>::Finish(T result)
{
    return Checked(static_cast<Float>(result));
}

template class TExprCallVmOpT<Float, 0>;
template class TExprCallVmOpT<Float, 1>;
template class TExprCallVmOpT<Float, 2>;
template class TExprCallVmOpT<Float, 3>;
template class TExprCallVmOpT<float, 0>;
template class TExprCallVmOpT<float, 1>;
template class TExprCallVmOpT<float, 2>;
template class TExprCallVmOpT<float, 3>;
template class TExprCallVmOpT<double, 0>;
template class TExprCallVmOpT<double, 1>;
template class TExprCallVmOpT<double, 2>;
template class TExprCallVmOpT<double, 3>;

// ---- the machine ----------------------------------------------------------

TExprVirtMach::~TExprVirtMach()
{
    Clear();
}

TExprVirtMachOp* TExprVirtMach::Add(std::unique_ptr<TExprVirtMachOp> op)
{
    code_.push_back(op.get()); // if this throws, op still owns the operation
    return op.release();
}

TExprVirtMachOp* TExprVirtMach::AddConst(std::unique_ptr<TExprVirtMachOp> op)
{
    consts_.push_back(op.get());
    if (!std::isfinite(op->Output)) checkedOnly_ = true;
    return op.release();
}

void TExprVirtMach::Clear()
{
    for (TExprVirtMachOp* op : code_)
        delete op;
    for (TExprVirtMachOp* op : consts_)
        delete op;
    code_.clear();
    consts_.clear();
    checkedOnly_ = false;
}

Float TExprVirtMach::Execute()
{
    if (code_.empty()) {
        if (consts_.empty()) throw EListError(0);
        return consts_.front()->Output;
    }
    const std::size_t count = code_.size();
    TExprVirtMachOp* const* code = code_.data();
    if (checkedOnly_) {
        for (std::size_t i = 0; i < count; ++i)
            code[i]->Execute();
        return code[count - 1]->Output;
    }

    // The fast run. `start` is the first operation after the last Opaque
    // one: everything from there on can run again without side effects.
    std::size_t start = 0;
    Float held = 0;
    const Float* heldAt = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        TExprVirtMachOp* op = code[i];
        switch (op->Kind()) {
        case TExprVmKind::Opaque:
            // A called function must see only checked arguments and must run
            // once: settle the stretch before it first.
            if (FloatFaultFlagsSet()) RunChecked(start, i);
            op->Execute();
            start = i + 1;
            DropHeld(held, heldAt);
            break;
        case TExprVmKind::Pure:
            ExecuteInStretch(start, i);
            DropHeld(held, heldAt);
            break;
        case TExprVmKind::Load64: {
            const double* location = static_cast<TExprVar64VmOp*>(op)->location_;
            std::uint64_t bits;
            std::memcpy(&bits, location, sizeof bits);
            if ((bits & kDoubleExponent) == kDoubleExponent) [[unlikely]]
                RunChecked(start, i + 1); // raises this load's error or an earlier one
            held = *location;
            op->Output = held;
            heldAt = &op->Output;
            break;
        }
        case TExprVmKind::IntegerDivide:
        case TExprVmKind::Modulo: {
            auto* binary = static_cast<TExprBinaryVmOp*>(op);
            Float l = binary->left_ == heldAt ? held : *binary->left_;
            Float r = binary->right_ == heldAt ? held : *binary->right_;
            std::int64_t a, b;
            if (!TryRoundToInt64(l, a) || !TryRoundToInt64(r, b) || b == 0) [[unlikely]] {
                RunChecked(start, i + 1); // raises this operation's error or an earlier one
                DropHeld(held, heldAt);
                break;
            }
            // -2^63 div -1 is 2^63, beyond int64 but exact in Float;
            // anything mod -1 is 0.
            if (op->Kind() == TExprVmKind::IntegerDivide)
                held = b == -1 ? -FromInt(a) : FromInt(a / b);
            else
                held = b == -1 ? kFalse : FromInt(a % b);
            op->Output = held;
            heldAt = &op->Output;
            break;
        }
        case TExprVmKind::Negate:
            op->Output = -*static_cast<TExprUnaryVmOp*>(op)->operand_;
            break;
        case TExprVmKind::LogicalNot:
            op->Output = Truth(*static_cast<TExprUnaryVmOp*>(op)->operand_ == 0);
            break;
#define QRV_FAST_BINARY(kind, expression)                                                                    \
    case TExprVmKind::kind: {                                                                                \
        auto* binary = static_cast<TExprBinaryVmOp*>(op);                                                    \
        Float l = binary->left_ == heldAt ? held : *binary->left_;                                           \
        Float r = binary->right_ == heldAt ? held : *binary->right_;                                         \
        held = expression;                                                                                   \
        op->Output = held;                                                                                   \
        heldAt = &op->Output;                                                                                \
        continue;                                                                                            \
    }
            QRV_FAST_BINARY(Add, l + r)
            QRV_FAST_BINARY(Subtract, l - r)
            QRV_FAST_BINARY(Multiply, l * r)
            QRV_FAST_BINARY(Divide, l / r)
            QRV_FAST_BINARY(Compare, l < r ? -kTrue : (l == r ? kFalse : kTrue))
            QRV_FAST_BINARY(Greater, Truth(l > r))
            QRV_FAST_BINARY(GreaterEqual, Truth(l >= r))
            QRV_FAST_BINARY(Less, Truth(l < r))
            QRV_FAST_BINARY(LessEqual, Truth(l <= r))
            QRV_FAST_BINARY(Equal, Truth(l == r))
            QRV_FAST_BINARY(NotEqual, Truth(l != r))
            QRV_FAST_BINARY(LogicalAnd, Truth(l != 0 && r != 0))
            QRV_FAST_BINARY(LogicalOr, Truth(l != 0 || r != 0))
            QRV_FAST_BINARY(LogicalXor, Truth((l != 0) != (r != 0)))
#undef QRV_FAST_BINARY
        }
    }
    if (FloatFaultFlagsSet()) [[unlikely]] {
        RunChecked(start, count);
        return code[count - 1]->Output;
    }
    // The held copy saves reloading the value just stored.
    const Float* result = &code[count - 1]->Output;
    return heldAt == result ? held : *result;
}

// An operation that may raise, run inside the stretch that began at `start`.
// An earlier operation of the stretch may have faulted silently and handed it
// an infinity or NaN: the checked run raises whichever error comes first.
void TExprVirtMach::ExecuteInStretch(std::size_t start, std::size_t i)
{
    try {
        code_[i]->Execute();
    } catch (...) {
        RunChecked(start, i + 1);
        throw;
    }
}

void TExprVirtMach::RunChecked(std::size_t from, std::size_t to)
{
    // The flags are cleared however the run ends, so that the next fast run
    // starts clean even after an error.
    struct FlagsCleaner {
        ~FlagsCleaner() { ClearFloatFaultFlags(); }
    } cleaner;
    for (std::size_t i = from; i < to; ++i)
        code_[i]->Execute();
}

// ---- listing --------------------------------------------------------------

void TExprVirtMachOp::Describe(TExprDumpWriter& writer) const
{
    writer.Entry(Mnemonic());
}

void TExprVarVmOp::Describe(TExprDumpWriter& writer) const
{
    writer.Entry(Mnemonic(), writer.VariableName(reinterpret_cast<TExprDumpKey>(Location())));
}

void TExprConstVmOp::Describe(TExprDumpWriter& writer) const
{
    char text[64];
    std::snprintf(text, sizeof text, "%.18Lg", Output);
    writer.Entry(Mnemonic(), text);
}

void TExprDumpWriter::Entry(std::string_view mnemonic, std::string_view operand)
{
    if (!text_.empty()) text_ += " | ";
    text_ += mnemonic;
    if (!operand.empty()) {
        text_ += ' ';
        text_ += operand;
    }
}

namespace
{
std::string Numbered(std::vector<TExprDumpKey>& seen, TExprDumpKey key, const char* prefix)
{
    std::size_t i = 0;
    while (i < seen.size() && seen[i] != key)
        ++i;
    if (i == seen.size()) seen.push_back(key);
    return prefix + std::to_string(i + 1);
}
} // namespace

std::string TExprDumpWriter::VariableName(TExprDumpKey location)
{
    if (names_.Variable) {
        std::string name = names_.Variable(location);
        if (!name.empty()) return name;
    }
    return Numbered(unnamedVariables_, location, "var");
}

std::string TExprDumpWriter::FunctionName(TExprDumpKey function)
{
    if (names_.Function) {
        std::string name = names_.Function(function);
        if (!name.empty()) return name;
    }
    return Numbered(unnamedFunctions_, function, "func");
}

std::string Dump(const TExprVirtMach& machine, const TExprDumpNames& names)
{
    TExprDumpWriter writer(names);
    for (const TExprVirtMachOp* op : machine.Constants())
        op->Describe(writer);
    for (const TExprVirtMachOp* op : machine.Code())
        op->Describe(writer);
    return writer.Text();
}

} // namespace qrv
