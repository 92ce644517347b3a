// The virtual machine that runs a compiled formula.
//
// A program is a flat list of operation objects. Each operation computes one
// Float into its own `Output` slot, reading its operands straight from the
// output slots of earlier operations or from variables that live outside the
// engine. Running the program yields the output of the last operation as if
// every operation were executed once, in list order, and makes no call
// twice (a pure call of constants is made once, when the program is built;
// a call after a fault is not made). It need not execute each operation exactly once: the fast mode
// computes the same values in its own way, and when it finds a fault it
// finishes in the checked mode, which executes the operations again from
// the start, except the calls already made, whose results it reuses.
//
// Floating-point faults are detected by checking results (see QrvFpu.h), so
// no infinity or NaN is ever returned or handed to a called function. The
// machine runs a program in two modes. The checked mode runs each operation
// through its Execute, which raises exactly the first error. The fast mode
// runs an optimised copy of the program (QrvExprFastRun.h: constants folded
// and shared, values kept in registers, functions called directly, and
// after a few runs generated x87 code, QrvExprNativeCode.h) whose
// arithmetic is unchecked; cheap tests of a few values prove that no fault
// was hidden, and on any sign of one the program finishes in the checked
// mode, so that the same first error is raised.
#pragma once

#include "QrvExprOperations.h"
#include "QrvFloat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace qrv
{

// Names for a program listing: a variable is known by its location, a
// function by its address. Either lookup may be empty or answer "" when the
// name is unknown; the listing then numbers the unknown items instead.
using TExprDumpKey = std::uintptr_t;
struct TExprDumpNames {
    std::function<std::string(TExprDumpKey location)> Variable;
    std::function<std::string(TExprDumpKey function)> Function;
};

class TExprDumpWriter;
class TExprVirtMach;

// When the fast mode generates x87 code for a program: never, after a few
// evaluations (the default), or as soon as the optimised program is built
// (at the first evaluation, or at Prepare).
enum class TExprNativeUse : std::uint8_t { Never, AfterWarmUp, AtOnce };
class TExprFastProgram;

// Runs an optimised program (QrvExprFastRun.h).
Float RunFastProgram(TExprFastProgram& program);

// The operation base. `Output` stays at a fixed address for the life of the
// operation: later operations hold that address as their operand.
class TExprVirtMachOp
{
public:
    TExprVirtMachOp() = default;
    explicit TExprVirtMachOp(TExprVmKind kind) : kind_(kind) {}
    TExprVirtMachOp(const TExprVirtMachOp&) = delete;
    TExprVirtMachOp& operator=(const TExprVirtMachOp&) = delete;
    virtual ~TExprVirtMachOp() = default;

    virtual void Execute() = 0;

    // The listing entry of this operation ("add", "const 2", "load x").
    virtual void Describe(TExprDumpWriter& writer) const;
    virtual std::string_view Mnemonic() const = 0;

    const Float* OutputLocation() const { return &Output; }
    TExprVmKind Kind() const { return kind_; }
    // The locations this operation reads its operands from, in order.
    struct TOperands {
        std::array<const Float*, 3> At{};
        std::size_t Count = 0;
    };
    virtual TOperands Operands() const { return {}; }

    Float Output = 0;

private:
    TExprVmKind kind_ = TExprVmKind::Opaque;
};

// ---- variables ------------------------------------------------------------

class TExprVarVmOp : public TExprVirtMachOp
{
public:
    explicit TExprVarVmOp(TExprVmKind kind) : TExprVirtMachOp(kind) {}
    virtual const void* Location() const = 0;
    void Describe(TExprDumpWriter& writer) const override;
};

// A variable outside the engine: a 32-bit or 64-bit float or a Float (T),
// widened at each execution. It is checked as it is read, so that an
// infinity or NaN the caller stored cannot slip into a formula value.
template <class T> class TExprVarVmOpT final : public TExprVarVmOp
{
public:
    explicit TExprVarVmOpT(const T* location) : TExprVarVmOp(kKind), location_(location)
    {
        QRV_ASSERT(location != nullptr, MessageText(Msg::AssertionFailure));
    }
    void Execute() override { Output = Checked(static_cast<Float>(*location_)); }
    std::string_view Mnemonic() const override { return kMnemonic; }
    const void* Location() const override { return location_; }

private:
    friend class TExprFastProgram;
    // The fast mode reads a 64-bit variable (the plot run's x) in place; the
    // others it runs through Execute.
    static constexpr TExprVmKind kKind = std::is_same_v<T, double> ? TExprVmKind::Load64 : TExprVmKind::Pure;
    static constexpr std::string_view kMnemonic = std::is_same_v<T, float>    ? "load32"
                                                  : std::is_same_v<T, double> ? "load"
                                                                              : "load80";
    const T* location_;
};

using TExprVar32VmOp = TExprVarVmOpT<float>;
using TExprVar64VmOp = TExprVarVmOpT<double>;
using TExprVar80VmOp = TExprVarVmOpT<Float>;

// ---- constants ------------------------------------------------------------

// Holds its value in `Output` from construction on; never executed by the
// machine, since constants live in the constant list.
class TExprConstVmOp final : public TExprVirtMachOp
{
public:
    explicit TExprConstVmOp(Float value) : TExprVirtMachOp(TExprVmKind::Const) { Output = value; }
    void Execute() override {}
    std::string_view Mnemonic() const override { return "const"; }
    void Describe(TExprDumpWriter& writer) const override;
};

// ---- one operand ----------------------------------------------------------

class TExprUnaryVmOp : public TExprVirtMachOp
{
public:
    TExprUnaryVmOp(const Float* operand, TExprVmKind kind) : TExprVirtMachOp(kind), operand_(operand) {}
    TOperands Operands() const override { return {{operand_}, 1}; }

protected:
    friend class TExprFastProgram;
    const Float* operand_;
};

// One class per row of the operator table; Execute applies the row's rule
// and settles its faults (QrvExprOperations.h).
#define QRV_EXPR_UNARY_OP(C, K, M, F, W)                                                                     \
    class C final : public TExprUnaryVmOp                                                                    \
    {                                                                                                        \
    public:                                                                                                  \
        explicit C(const Float* operand) : TExprUnaryVmOp(operand, TExprVmKind::K) {}                        \
        void Execute() override                                                                              \
        {                                                                                                    \
            Float x = *operand_;                                                                             \
            Output = rules::Settle<TExprFault::F, TExprFlow::W>(rules::K(x), x);                             \
        }                                                                                                    \
        std::string_view Mnemonic() const override { return M; }                                             \
    };

QRV_EXPR_UNARY_OPERATIONS(QRV_EXPR_UNARY_OP)

#undef QRV_EXPR_UNARY_OP

// ---- two operands ---------------------------------------------------------

class TExprBinaryVmOp : public TExprVirtMachOp
{
public:
    TExprBinaryVmOp(const Float* left, const Float* right, TExprVmKind kind)
        : TExprVirtMachOp(kind), left_(left), right_(right)
    {
    }
    TOperands Operands() const override { return {{left_, right_}, 2}; }

protected:
    friend class TExprFastProgram;
    const Float* left_;
    const Float* right_;
};

#define QRV_EXPR_BINARY_OP(C, K, M, F, W)                                                                    \
    class C final : public TExprBinaryVmOp                                                                   \
    {                                                                                                        \
    public:                                                                                                  \
        C(const Float* left, const Float* right) : TExprBinaryVmOp(left, right, TExprVmKind::K) {}           \
        void Execute() override                                                                              \
        {                                                                                                    \
            Float l = *left_, r = *right_;                                                                   \
            Output = rules::Settle<TExprFault::F, TExprFlow::W>(rules::K(l, r), r);                          \
        }                                                                                                    \
        std::string_view Mnemonic() const override { return M; }                                             \
    };

QRV_EXPR_BINARY_OPERATIONS(QRV_EXPR_BINARY_OP)

#undef QRV_EXPR_BINARY_OP

// ---- function calls -------------------------------------------------------

namespace detail
{
template <class T, std::size_t N> struct TExprFuncType;
template <class T> struct TExprFuncType<T, 0> {
    using type = T (*)();
};
template <class T> struct TExprFuncType<T, 1> {
    using type = T (*)(T);
};
template <class T> struct TExprFuncType<T, 2> {
    using type = T (*)(T, T);
};
template <class T> struct TExprFuncType<T, 3> {
    using type = T (*)(T, T, T);
};
} // namespace detail

// A function of N arguments of type T returning T: the engine calls plain
// function pointers.
template <class T, std::size_t N> using TExprFunc = typename detail::TExprFuncType<T, N>::type;

// The two function forms the symbols call (QrvExprSymbols.h).
using TExprUnaryFunc = TExprFunc<Float, 1>;
using TExprBinaryFunc = TExprFunc<Float, 2>;

// Narrows an argument to the width a 32-bit or 64-bit function takes; a
// value beyond that width's range raises "Floating point overflow".
template <class T> T NarrowArgument(Float value);
template <> float NarrowArgument<float>(Float value);
template <> double NarrowArgument<double>(Float value);
template <> inline Float NarrowArgument<Float>(Float value)
{
    return value;
}

// The shared body of every call operation: read the arguments, narrow them
// to the function's width, call, widen the result and check it.
template <class T, std::size_t N> class TExprCallVmOpT : public TExprVirtMachOp
{
public:
    using TFunction = TExprFunc<T, N>;

    template <class... Locations>
    requires(sizeof...(Locations) == N) explicit TExprCallVmOpT(TFunction function, Locations... arguments)
        : TExprVirtMachOp(CallKind()), function_(function), arguments_{arguments...}
    {
    }

    void Execute() override { Output = Finish(Call(std::make_index_sequence<N>{})); }
    void Describe(TExprDumpWriter& writer) const override;
    TOperands Operands() const override
    {
        TOperands operands;
        for (std::size_t i = 0; i < N; ++i)
            operands.At[i] = arguments_[i];
        operands.Count = N;
        return operands;
    }
    TExprDumpKey FunctionKey() const { return reinterpret_cast<TExprDumpKey>(function_); }

    // A pure function gives the same value for the same arguments and
    // depends on nothing else, so a call with constant arguments may be made
    // once when the program is built. Unknown functions are not pure.
    bool Pure() const { return pure_; }
    void SetPure(bool pure) { pure_ = pure; }

private:
    friend class TExprFastProgram;
    // Float functions of one or two arguments take the direct call path: a
    // CallUnary or CallBinary operation is a TExprCallVmOpT<Float, 1 or 2>,
    // of the plain family or of the 80 family, and is only ever cast to that.
    static constexpr TExprVmKind CallKind()
    {
        if constexpr (std::is_same_v<T, Float> && N == 1) return TExprVmKind::CallUnary;
        if constexpr (std::is_same_v<T, Float> && N == 2) return TExprVmKind::CallBinary;
        return TExprVmKind::Opaque;
    }

    template <std::size_t... I> T Call(std::index_sequence<I...>) const
    {
        return function_(NarrowArgument<T>(*arguments_[I])...);
    }
    static Float Finish(T result) { return Checked(static_cast<Float>(result)); }

    TFunction function_;
    std::array<const Float*, N> arguments_;
    bool pure_ = false;
};

// Every call operation: X(Name, T, N, Mnemonic) is TExprCall<Name>VmOp,
// which calls a function of N arguments of type T and lists as Mnemonic. Its
// node is TExprCall<Name>VmNode and the factory method that makes it
// Call<Name>Func (QrvExprNodes.h). The plain and the 80 family are both
// Float calls: they differ only in their listing.
#define QRV_EXPR_CALL_FORMS(X)                                                                               \
    X(Float, Float, 0, "call")                                                                               \
    X(Float32, float, 0, "call32")                                                                           \
    X(Float64, double, 0, "call64")                                                                          \
    X(Float80, Float, 0, "call80")                                                                           \
    X(Unary, Float, 1, "call")                                                                               \
    X(Unary32, float, 1, "call32")                                                                           \
    X(Unary64, double, 1, "call64")                                                                          \
    X(Unary80, Float, 1, "call80")                                                                           \
    X(Binary, Float, 2, "call")                                                                              \
    X(Binary32, float, 2, "call32")                                                                          \
    X(Binary64, double, 2, "call64")                                                                         \
    X(Binary80, Float, 2, "call80")                                                                          \
    X(Ternary, Float, 3, "call")                                                                             \
    X(Ternary32, float, 3, "call32")                                                                         \
    X(Ternary64, double, 3, "call64")                                                                        \
    X(Ternary80, Float, 3, "call80")

#define QRV_EXPR_CALL_OP(Name, T, N, M)                                                                      \
    class TExprCall##Name##VmOp final : public TExprCallVmOpT<T, N>                                          \
    {                                                                                                        \
    public:                                                                                                  \
        using TExprCallVmOpT::TExprCallVmOpT;                                                                \
        std::string_view Mnemonic() const override { return M; }                                             \
    };

QRV_EXPR_CALL_FORMS(QRV_EXPR_CALL_OP)

#undef QRV_EXPR_CALL_OP

// ---- the machine ----------------------------------------------------------

class TExprVirtMach
{
public:
    TExprVirtMach();
    TExprVirtMach(const TExprVirtMach&) = delete;
    TExprVirtMach& operator=(const TExprVirtMach&) = delete;
    ~TExprVirtMach();

    // Append to the code list or the constant list; the machine owns the
    // operation from then on. Returns the operation.
    TExprVirtMachOp* Add(std::unique_ptr<TExprVirtMachOp> op);
    TExprVirtMachOp* AddConst(std::unique_ptr<TExprVirtMachOp> op);

    // Frees every operation of both lists.
    void Clear();

    // Runs the program and returns the last operation's output. With an
    // empty code list the formula is a single constant: its value is
    // returned without executing anything. With no operation at all, raises
    // "List index out of bounds (0)".
    Float Execute()
    {
        if (ready_ != nullptr) [[likely]]
            return RunFastProgram(*ready_);
        return ExecuteFirst();
    }

    // Builds the optimised program now rather than at the first Execute.
    void Prepare();

    // The same through every operation's Execute, without the optimised
    // program: the reference the fast mode must equal.
    Float ExecuteChecked();

    // Whether the optimised program folds fault-free constant subtrees
    // (default on). Either way the results and errors are the same.
    void SetFolding(bool folding);

    // When x87 code is generated for the program (TExprNativeUse); either
    // way the results and errors are the same.
    void SetNativeUse(TExprNativeUse use);
    // Whether the fast mode now runs generated code.
    bool RunsNativeCode() const;

    // The optimised program's listing (QrvExprFastRun.h), built on demand.
    std::string FastListing();

    const std::vector<TExprVirtMachOp*>& Code() const { return code_; }
    const std::vector<TExprVirtMachOp*>& Constants() const { return consts_; }

private:
    TExprFastProgram& Fast();
    Float ExecuteFirst();

    // Raw pointers keep the checked loop to one load and one dispatch per
    // operation; ownership is released in Clear().
    std::vector<TExprVirtMachOp*> code_;
    std::vector<TExprVirtMachOp*> consts_;
    // Built on the first Execute after the lists changed.
    std::unique_ptr<TExprFastProgram> fast_;
    TExprFastProgram* ready_ = nullptr; // fast_ when Execute may run it at once
    bool folding_ = true;
    TExprNativeUse native_ = TExprNativeUse::AfterWarmUp;
    // A constant that is not finite would pass through fast arithmetic
    // without being noticed; such a program always runs checked.
    bool checkedOnly_ = false;
};

// The program listing: the constant list, then the code list, entries joined
// by " | ", e.g. "const 2 | load x | mul | load x | call sin | add".
std::string Dump(const TExprVirtMach& machine, const TExprDumpNames& names = {});

// Collects listing entries; numbers variables and functions it has no name
// for ("var1", "func1") in order of first appearance.
class TExprDumpWriter
{
public:
    explicit TExprDumpWriter(const TExprDumpNames& names) : names_(names) {}
    void Entry(std::string_view mnemonic, std::string_view operand = {});
    std::string VariableName(TExprDumpKey location);
    std::string FunctionName(TExprDumpKey function);
    const std::string& Text() const { return text_; }

private:
    const TExprDumpNames& names_;
    std::vector<TExprDumpKey> unnamedVariables_;
    std::vector<TExprDumpKey> unnamedFunctions_;
    std::string text_;
};

template <class T, std::size_t N> void TExprCallVmOpT<T, N>::Describe(TExprDumpWriter& writer) const
{
    writer.Entry(Mnemonic(), writer.FunctionName(FunctionKey()));
}

} // namespace qrv
