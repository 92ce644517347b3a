// Value, first and second derivative of a compiled formula with respect to
// one of its variables, from the same program (forward-mode automatic
// differentiation).
//
// The jet program walks the machine's code list once per x. Each operation
// computes its value through its own checked Execute, so the value and the
// first error are exactly those of the checked machine, and then its
// derivatives from the jets of its operands through the rule of its kind
// (jets::<Kind> in QrvExprOperations.h) or, for a call, through the rule the
// caller gives for the called function. A call of a function without a rule
// whose arguments depend on x has no derivative.
//
// Where it can, the program also generates x87 code for itself
// (QrvExprJetCode.h), which computes exactly the same numbers with the same
// operations, and runs it first; the rules above run where the code shows
// any sign of a fault, so errors and missing derivatives are theirs.
//
//   TExprJetProgram jets(evaluator.Machine(), &x, BuiltinDerivativeRules());
//   x = 0.5; TExprJet jet = jets.Run();   // jet.Value, jet.D1, jet.D2
#pragma once

#include "QrvExprJetCode.h"
#include "QrvExprOperations.h"
#include "QrvExprVirtMach.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qrv
{

// A function's derivative rule: at its operands and its value, the
// derivatives of a one-operand function, or the partials of a two-operand one.
using TExprUnaryDerivativeRule = TExprLocalDerivatives (*)(Float u, Float value);
using TExprBinaryDerivativeRule = TExprLocalPartials (*)(Float l, Float r, Float value);

// A one-operand function's value and derivatives from one computation, for
// functions whose derivatives share work with the value (sine and cosine
// share their argument reduction): sets `value` to exactly what the function
// returns at u, and gives the derivatives there.
using TExprUnaryJetRule = TExprLocalDerivatives (*)(Float u, Float& value);

struct TExprCallRule {
    TExprUnaryDerivativeRule Unary = nullptr;
    TExprBinaryDerivativeRule Binary = nullptr;
    // When given, used in place of the function and Unary where the operand
    // varies.
    TExprUnaryJetRule Jet = nullptr;
};

// The rule of the function at an address (TExprDumpKey, as the listing
// knows it); an empty rule when there is none.
using TExprCallRules = std::function<TExprCallRule(TExprDumpKey function)>;

class TExprJetProgram
{
public:
    // The program of `machine` as it is now, differentiated by the variable
    // at `x` (a double or a Float; other variables are constants). The
    // machine must outlive the jet program and keep its code.
    TExprJetProgram(const TExprVirtMach& machine, const void* x, const TExprCallRules& rules);
    TExprJetProgram(const TExprJetProgram&) = delete;
    TExprJetProgram& operator=(const TExprJetProgram&) = delete;

    // The jet at the current value of x. Raises what the checked machine
    // raises.
    TExprJet Run();

    // Whether generated code runs first; switching it off runs only the
    // rules (for comparing the two).
    bool HasCode() const { return code_ != nullptr; }
    void UseCode(bool use) { useCode_ = use; }
    const TExprJetCode* Code() const { return code_.get(); }

private:
    enum class TStep : std::uint8_t { Const, Variable, Other, Unary, Binary, Operator };
    struct TEntry {
        TExprVirtMachOp* Op = nullptr;
        TStep Step = TStep::Other;
        TExprVmKind Kind = TExprVmKind::Opaque;
        std::uint32_t A = 0, B = 0; // jet slots of the operands
        TExprCallRule Rule;
        TExprUnaryFunc Unary = nullptr; // the direct calls' functions
        TExprBinaryFunc Binary = nullptr;
        std::vector<std::uint32_t> Operands; // TStep::Other only
    };

    // What the generated code's helper needs to run one entry.
    struct TCodeCall {
        TExprJetProgram* Program;
        std::uint32_t Entry;
        bool Binary;
        bool Varies, Curved; // the shape the code expects
    };

    TExprJet Apply(const TEntry& entry, const TExprJet* jets);
    void GenerateCode(const void* x);
    bool Foldable(const TEntry& entry, const std::vector<bool>& known) const;
    static void CodeHelper(void* call);
    void RunForCode(const TCodeCall& call);

    std::vector<TEntry> entries_;
    std::vector<TExprJet> jets_; // constants first, then one per entry
    std::size_t constCount_ = 0;
    Float single_ = 0; // the value of a program of one constant
    bool empty_ = true;
    std::vector<TExprJet> codeJets_; // the generated code's slots, laid out as jets_
    std::vector<TCodeCall> codeCalls_;
    std::unique_ptr<TExprJetCode> code_;
    bool useCode_ = true;
};

} // namespace qrv
