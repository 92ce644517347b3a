// Straight-line x87 code for a jet program (QrvExprJets.h): the value, the
// first and the second derivative of every operation, from the same
// operations in the same order as the jet program's rules, so that every
// number is bit for bit the one the rules give.
//
// The program's shape is known before any x: which parts are zero (a
// constant has no derivatives, x no second one) and which are one (the
// first derivative of x). The generator leaves out the terms that such
// parts contribute nothing to, exactly as the rules do, and multiplies by
// no one. What remains stays in x87 registers where it can; a part is
// stored to its slot only when the registers run out, before a call, or
// for the caller.
//
// Negate, add, subtract, multiply, divide and the comparisons of a varying
// operand are written inline. Every other operation (the calls of built-in
// functions with their derivative rules, the integer and logical
// operators) runs the jet program's own rule through a helper: the code
// stores the operands' jets in their slots and calls it.
//
// The code runs only where nothing goes wrong. The arithmetic runs with
// every exception masked, so a fault makes its value an infinity or a NaN,
// which stays one through add, subtract, multiply, negate and a dividend
// up to the result; a divisor is tested on its way (an infinite divisor
// would vanish), the helpers test the jets they are given and report their
// own faults. Run then says whether the result can be used; where it
// cannot (an error, a part that does not exist, an overflow) the jet
// program runs its rules instead, which gives the exact error or flags.
#pragma once

#include "QrvExprCodeMemory.h"
#include "QrvExprOperations.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qrv
{

// One operation of a jet program as the generator sees it. Operand and
// result slots index the program's slots: its constants first, then one
// per operation.
struct TExprJetCodeStep {
    enum class TWork : std::uint8_t {
        Constant,
        Load,
        Negate,
        Add,
        Subtract,
        Multiply,
        Divide,
        Compare,
        Helper
    };
    TWork Work = TWork::Helper;
    int Arity = 0;
    std::uint32_t Operand[2] = {0, 0};
    // Constant: an operation of constants, computed when generating.
    Float Value = 0;
    // Compare: the comparison (>, >=, <, <=, =, <>) of a varying operand;
    // a tie is a step, where the jet program's rules answer.
    TExprVmKind Relation = TExprVmKind::Equal;
    // Load: the variable read, a double or (Wide) a Float; Varies for the
    // variable differentiated by.
    const void* Location = nullptr;
    bool Wide = false;
    // Load and Helper: the result's shape. The other operations' shapes
    // follow from their operands.
    bool Varies = false;
    bool Curved = false;
    // Helper: called with its argument once the operands' jets are stored
    // in their slots; stores the result's jet in this step's slot. A step
    // function (Steps: a comparison, an integer or a logical operator)
    // reads only its operands' values, and its derivatives are zero.
    void (*Helper)(void*) = nullptr;
    void* Argument = nullptr;
    bool Steps = false;
};

class TExprJetCode
{
public:
    // The code for `steps` over `slots` (the constants' jets filled in, one
    // slot more per step; they must stay where they are), or null where it
    // cannot be generated: not x86-64, executable memory refused, an
    // operand used before it is made or never used.
    static std::unique_ptr<TExprJetCode> Generate(const std::vector<TExprJetCodeStep>& steps, TExprJet* slots,
                                                  std::size_t constCount);

    TExprJetCode(const TExprJetCode&) = delete;
    TExprJetCode& operator=(const TExprJetCode&) = delete;
    ~TExprJetCode();

    // Runs the code: the last step's jet, every part finite, or null on any
    // sign of a fault.
    const TExprJet* Run()
    {
        poison_ = 0;
        fault_ = false;
        entry_();
        return fault_ || poison_ != 0 ? nullptr : &result_;
    }

    // For the helpers: the operation they run cannot give its jet here.
    void Fault() { fault_ = true; }

    // Bytes of generated code, for the benchmarks.
    std::size_t CodeSize() const { return codeSize_; }

    // A disassembly, as TExprNativeCode::Listing gives one: "push rbp | mov
    // rbp, rsp | mov rax, <x> | fld qword [rax] | ...".
    std::string Listing() const;

private:
    TExprJetCode() = default;
    friend class TExprJetCodeWriter;

    static constexpr std::size_t kEntry = 16;
    const std::uint8_t* Code() const { return static_cast<const std::uint8_t*>(block_.Execute) + kEntry; }

    void (*entry_)() = nullptr;
    TExprCodeBlock block_;
    std::size_t codeSize_ = 0;
    std::size_t dataSize_ = 0;
    TExprJet result_;
    // The tested values' x - x summed (the divisors' and the result's): a
    // NaN after any non-finite one.
    double poison_ = 0;
    bool fault_ = false;
    std::vector<std::pair<const void*, std::string>> names_; // for the listing
};

} // namespace qrv
