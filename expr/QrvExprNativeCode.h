// Straight-line x87 code for an optimised program (QrvExprFastRun.h).
//
// The code list is a postfix program: each operation's operands are the
// values its operand operations left last. The generator walks it with a
// model of the x87 register stack: variables and constants stay in memory
// until an operation needs them (most often as the memory operand of an
// add, subtract, multiply or divide), intermediate values stay in
// registers, and nothing is stored except call arguments, values held
// across a call and call results (kept in their output slots so that a
// checked re-run need not call again).
//
// Faults are found without a test per operation and without reading the
// status word (which waits for every operation before it). The arithmetic
// runs with every exception masked, so a fault makes its value an infinity
// or a NaN, and such a value stays non-finite through add, subtract,
// multiply, negate and a dividend. So only the values where that chain
// stops are tested, by value: a divisor, an operand of a comparison or a
// logical operator, a call's arguments and the values held across it, a
// call's result and the final result. On any sign of a fault the code stops
// and reports where (TakeFault); the program then finishes in the checked
// mode from the first operation after the last call made, so exactly the
// first error is raised. Errors a called routine raises pass through the
// generated frame, which is registered with the unwinder.
//
// The instructions are encoded through the table of instruction forms of
// QrvExprNativeForms.h, which the listing (Listing) decodes from the same
// rows: the listing shows the bytes as they were written.
//
// Generation fails, and the interpreter runs instead, wherever the code
// cannot run: not x86-64, executable memory refused, more than eight values
// on the register stack, or an operation it does not generate (the 32- and
// 80-bit loads, other call families).
#pragma once

#include "QrvExprCodeMemory.h"
#include "QrvExprOperations.h"
#include "QrvFloat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qrv
{

struct TExprDumpNames;

// One operation of the code list as the generator sees it.
struct TExprNativeStep {
    TExprVmKind Kind = TExprVmKind::Opaque;
    bool Folded = false;              // computed when building; its value is a constant
    int Producer[3] = {-1, -1, -1};   // code index of each operand, -1 for a constant
    const Float* Constant[3] = {};    // the constant operand's slot
    const double* Variable = nullptr; // Load64
    const void* Function = nullptr;   // calls: the routine
    Float* Output = nullptr;          // calls: where the result is kept
};

class TExprNativeCode
{
public:
    // The code for the steps, or null where it cannot be generated.
    static std::unique_ptr<TExprNativeCode> Generate(const std::vector<TExprNativeStep>& steps);

    // Whether this build can generate code at all.
    static bool Supported();

    TExprNativeCode(const TExprNativeCode&) = delete;
    TExprNativeCode& operator=(const TExprNativeCode&) = delete;
    ~TExprNativeCode();

    // Runs the code; its value is meaningful only while Faulted() is false.
    Float Run() { return entry_(); }
    bool Faulted() const { return fault_ != 0; }

    // What went wrong, and clears it: a call whose result is not finite
    // (its index), or a fault somewhere after the last call made (the index
    // of the first operation after that call).
    struct TFault {
        bool CallResult;
        std::size_t Index;
    };
    TFault TakeFault();

    // Bytes of generated code, for the listing and the benchmarks.
    std::size_t CodeSize() const { return codeSize_; }

    // A disassembly of the code as written, one entry per instruction, in
    // the style of the machine's listings: "push rbp | mov rbp, rsp | ... |
    // mov rax, <var1> | fld qword [rax] | fmul qword [const 2] | ... | ret".
    // `steps` are the steps it was generated from; they name the addresses
    // it holds (variables and functions as `names` name them, output slots
    // as "@3", the integer rules by their mnemonics, the fault word).
    std::string Listing(const std::vector<TExprNativeStep>& steps, const TExprDumpNames& names) const;

private:
    TExprNativeCode() = default;
    friend class TExprNativeWriter;

    // The code starts this far into its block: instrumented callers may
    // read a few bytes before a function they call through a pointer.
    static constexpr std::size_t kEntry = 16;
    const std::uint8_t* Code() const { return static_cast<const std::uint8_t*>(block_.Execute) + kEntry; }

    Float (*entry_)() = nullptr;
    TExprCodeBlock block_;
    std::size_t codeSize_ = 0;
    std::size_t dataSize_ = 0;         // the data area follows the code at a multiple of 16
    std::vector<std::uint8_t> unwind_; // the frame description, registered
    std::uint32_t fault_ = 0;
};

} // namespace qrv
