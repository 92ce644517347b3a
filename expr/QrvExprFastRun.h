// The optimised program the machine runs in its fast mode.
//
// Built once from the machine's code list, it computes exactly what the
// operations compute, with these differences in how:
//   - fault-free constant subtrees are folded when the program is built
//     (calls only of pure functions); a subtree that faults (1/0) stays and
//     faults at evaluation time, in the same order;
//   - equal constants share one slot, and a variable is read in place;
//   - a value passes to the next operation in a register and is stored only
//     when a later, non-adjacent operation or a check needs it;
//   - a Float function of one or two arguments is called directly;
//   - the arithmetic is unchecked. A fault makes a value non-finite, and a
//     non-finite value stays non-finite through add, subtract, multiply,
//     negate and a dividend. So it suffices to test the values where that
//     chain stops (an operand of a comparison, a logical operator or a
//     divisor), the call arguments, the values a later stretch uses and the
//     result: each before the next call and at the end, by their exponent
//     bits. Integer operations raise on a non-finite operand anyway.
// On any sign of a fault the program finishes in the checked mode from the
// first operation after the last call made (re-running the operations
// before it, which are proven fault-free, but not the calls), so exactly the
// first error is raised, as the checked mode raises it.
//
// After a few evaluations (or at once, as asked) the same program is also
// generated as x87 code (QrvExprNativeCode.h), which then runs instead of
// the instruction loop; where it cannot be generated the loop goes on.
#pragma once

#include "QrvExprNativeCode.h"
#include "QrvExprVirtMach.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qrv
{

class TExprFastProgram
{
public:
    // `constants` are the machine's constant operations, whose slots the
    // code may read.
    TExprFastProgram(const std::vector<TExprVirtMachOp*>& code,
                     const std::vector<TExprVirtMachOp*>& constants, bool folding, TExprNativeUse native);
    TExprFastProgram(const TExprFastProgram&) = delete;
    TExprFastProgram& operator=(const TExprFastProgram&) = delete;

    Float Run();

    // One entry per instruction, e.g. "start var1 | mul var1 var1 | neg acc |
    // div acc 2 | call acc | div acc 2.50662827463100050 | end acc".
    std::string Listing() const;

    // Whether the generated code runs.
    bool RunsNativeCode() const { return native_ != nullptr; }

    // The generated code's listing (TExprNativeCode::Listing), with
    // variables and functions named by `names`; empty while no code runs.
    std::string NativeListing(const TExprDumpNames& names = {}) const;

    // Evaluations through the instruction loop before the code is
    // generated: generating costs a few microseconds, which a formula
    // evaluated only a few times would not win back.
    static constexpr int kNativeAfter = 16;

private:
    friend Float RunFastProgram(TExprFastProgram& program);
    struct TInsn {
        std::uint16_t code = 0;
        bool store = false;      // store the value to dst
        bool testResult = false; // end: the result may be non-finite
        std::uint32_t next = 0;  // calls: the operation after the call
        const void* a = nullptr; // operands: a Float slot or a double variable
        const void* b = nullptr;
        Float* dst = nullptr;
        TExprVirtMachOp* op = nullptr; // the operation this instruction runs
        TExprUnaryFunc f1 = nullptr;
        TExprBinaryFunc f2 = nullptr;
    };

    // Building, in passes over the code list (QrvExprFastRun.cpp).
    struct TBuild;
    void Analyse(TBuild& build, bool folding);
    void MarkTestsAndStores(TBuild& build);
    void ChooseInstructions(TBuild& build);
    void EmitInstructions(TBuild& build);
    void EmitCheck(TBuild& build, std::size_t upTo);
    int OperandForm(TBuild& build, int k, std::size_t consumer, const void*& where);
    void SetStoresAndChecks(const TBuild& build);
    void EmitEnd(const TBuild& build);
    const Float* Intern(Float value);
    [[gnu::noinline, gnu::cold]] Float Recover(std::size_t stretch);
    [[gnu::noinline, gnu::cold]] Float NativeFault();
    [[gnu::noinline]] void MakeNative();
    std::vector<TExprNativeStep> NativeSteps() const;
    Float RunNative();

    const std::vector<TExprVirtMachOp*>& code_;
    const std::vector<TExprVirtMachOp*>& constants_;
    std::vector<TInsn> insns_;
    std::vector<bool> folded_;
    std::vector<Float> pool_;          // constants, shared
    std::vector<const double*> vars_;  // distinct variables, checked first
    std::vector<const Float*> checks_; // values tested at the checkpoints
    std::unique_ptr<TExprNativeCode> native_;
    int untilNative_ = -1; // loop evaluations left before generating; -1 never
};

} // namespace qrv
