#include "QrvExprNativeCode.h"

#include "QrvExprCodeMemory.h"
#include "QrvExprNativeForms.h"
#include "QrvExprVirtMach.h"

#include <cstring>
#include <string>
#include <utility>

#if defined(__x86_64__) && defined(__linux__)
#define QRV_NATIVE_CODE 1
extern "C" void __register_frame(void* begin);
extern "C" void __deregister_frame(void* begin);
#else
#define QRV_NATIVE_CODE 0
#endif

namespace qrv
{

namespace
{

// The integer and bitwise operators run their rule in a routine of their
// own, called like a built-in function; they raise their own errors.
#define QRV_NATIVE_UNARY_HELPER(C, K, M, F, W)                                                               \
    Float Native##K(Float x)                                                                                 \
    {                                                                                                        \
        return rules::K(x);                                                                                  \
    }
#define QRV_NATIVE_BINARY_HELPER(C, K, M, F, W)                                                              \
    Float Native##K(Float l, Float r)                                                                        \
    {                                                                                                        \
        return rules::K(l, r);                                                                               \
    }
QRV_EXPR_UNARY_OPERATIONS(QRV_NATIVE_UNARY_HELPER)
QRV_EXPR_BINARY_OPERATIONS(QRV_NATIVE_BINARY_HELPER)
#undef QRV_NATIVE_UNARY_HELPER
#undef QRV_NATIVE_BINARY_HELPER

const void* HelperOf(TExprVmKind kind)
{
    switch (kind) {
#define QRV_HELPER_CASE(C, K, M, F, W)                                                                       \
    case TExprVmKind::K:                                                                                     \
        return reinterpret_cast<const void*>(&Native##K);
        QRV_EXPR_UNARY_OPERATIONS(QRV_HELPER_CASE)
        QRV_EXPR_BINARY_OPERATIONS(QRV_HELPER_CASE)
#undef QRV_HELPER_CASE
    default:
        return nullptr;
    }
}

constexpr std::uint32_t kCallResultFault = 0x80000000u;
constexpr int kRegisters = 8;

using native::TBase;
using native::TByteRegister;
using native::TForm;

} // namespace

// Writes the code for one program; Generate's worker. Write runs the
// passes in order: the prologue, one step per operation, the result, the
// fault stubs, the frame size, the data references, the placement in
// executable memory and the unwinder's description of the frame.
class TExprNativeWriter
{
public:
    explicit TExprNativeWriter(const std::vector<TExprNativeStep>& steps) : steps_(steps) {}
    std::unique_ptr<TExprNativeCode> Write();

private:
    // A value on the model stack: in an x87 register, or still in memory.
    enum class TWhere { Reg, Var, Const, Spill };
    struct TItem {
        TWhere Where = TWhere::Reg;
        int Producer = -1;
        const double* Var = nullptr;
        const Float* Constant = nullptr;
        int Spill = 0;       // frame offset from rbp
        bool Unsure = false; // computed, so it may be an infinity or a NaN
    };
    // A memory operand: 64-bit (a variable or a constant exact in double)
    // or 80-bit; at an absolute address (read through rax), in the data
    // area or in the frame.
    struct TMemory {
        bool Wide = false;
        const void* Absolute = nullptr;
        native::TAddress Address;
        std::size_t Data = 0; // Rip: offset in the data area
    };
    struct TStub {
        std::size_t Jump; // offset of the rel32 to patch
        std::uint32_t Code;
        int Depth; // values on the register stack at the jump
    };

    // The passes.
    void Prologue();
    bool Step(std::size_t index);
    bool Result();
    void Stubs(const std::uint32_t* fault);
    void PatchFrame();
    std::size_t Relocate();
    bool Place(TExprNativeCode& native, std::size_t dataAt);
    void DescribeFrame(TExprNativeCode& native);

    // One operation.
    int TakeOperands(const TExprNativeStep& step, TItem (&operands)[2]);
    bool Operation(std::size_t index, const TItem (&operands)[2], int arity, bool& unsure);

    void MemoryOp(native::TForm form, const TMemory& m);
    TMemory MemoryOf(const TItem& item);

    bool Push();
    void Pop() { --depth_; }
    void Load(const TItem& item); // a memory item onto the register stack
    void Arithmetic(TExprVmKind kind, const TItem& l, const TItem& r);
    bool BothInRegisters(const TItem& l, const TItem& r);
    void TruthFromFlags(); // rax holds the index; loads the value
    bool Comparison(TExprVmKind kind, const TItem& l, const TItem& r);
    bool Logical(TExprVmKind kind, const TItem* l, const TItem& r);
    bool Call(const void* function, const TItem* operands, int count, bool realCall, std::size_t index);
    void TestValue(int position, std::uint32_t code);
    void TestValue(int position) { TestValue(position, static_cast<std::uint32_t>(1 + stretch_)); }
    void TestOperands(const TItem* operands, int count);
    int NewSpill()
    {
        spills_ += 1;
        return -16 - 16 * spills_;
    }

    const std::vector<TExprNativeStep>& steps_;
    native::TCodeBuffer code_;
    std::vector<std::uint8_t> data_;
    std::vector<std::pair<std::size_t, std::size_t>> fixups_; // disp32 position, data offset
    std::vector<TStub> stubs_;
    std::vector<TItem> stack_;
    int depth_ = 0;           // values in x87 registers
    bool ok_ = true;          // false once something cannot be generated
    std::size_t stretch_ = 0; // first operation after the last call
    int spills_ = 0;
    std::size_t frameFixup_ = 0;
    std::size_t truthTable_ = 0; // data offset of -1, 0, 1 as doubles
};

void TExprNativeWriter::MemoryOp(native::TForm form, const TMemory& m)
{
    if (m.Absolute != nullptr) {
        code_.EmitAddress(TForm::MovRax, m.Absolute);
        code_.EmitMemory(form, {TBase::Rax});
        return;
    }
    const std::size_t disp = code_.EmitMemory(form, m.Address);
    if (m.Address.Base == TBase::Rip) fixups_.emplace_back(disp, m.Data);
}

TExprNativeWriter::TMemory TExprNativeWriter::MemoryOf(const TItem& item)
{
    switch (item.Where) {
    case TWhere::Var:
        return {false, item.Var, {}, 0};
    case TWhere::Const:
        if (native::ExactDouble(*item.Constant))
            return {
                false, nullptr, {TBase::Rip}, native::DataDouble(data_, static_cast<double>(*item.Constant))};
        return {true, nullptr, {TBase::Rip}, native::DataFloat(data_, *item.Constant)};
    default:
        return {true, nullptr, {TBase::Rbp, item.Spill}, 0};
    }
}

bool TExprNativeWriter::Push()
{
    if (++depth_ > kRegisters) ok_ = false;
    return ok_;
}

void TExprNativeWriter::Load(const TItem& item)
{
    const TMemory m = MemoryOf(item);
    MemoryOp(m.Wide ? TForm::FldTword : TForm::FldQword, m);
    Push();
}

// Add, subtract, multiply, divide: l op r, with a 64-bit memory operand
// taken straight into the instruction.
void TExprNativeWriter::Arithmetic(TExprVmKind kind, const TItem& l, const TItem& r)
{
    struct TForms {
        TForm Memory, MemoryReversed; // st0 = st0 op m, st0 = m op st0
        TForm Popped, PoppedReversed; // st1 = st1 op st0, st1 = st0 op st1; pop
    };
    TForms forms;
    switch (kind) {
    case TExprVmKind::Add:
        forms = {TForm::FaddQword, TForm::FaddQword, TForm::Faddp, TForm::Faddp};
        break;
    case TExprVmKind::Multiply:
        forms = {TForm::FmulQword, TForm::FmulQword, TForm::Fmulp, TForm::Fmulp};
        break;
    case TExprVmKind::Subtract:
        forms = {TForm::FsubQword, TForm::FsubrQword, TForm::Fsubp, TForm::Fsubrp};
        break;
    default: // Divide
        forms = {TForm::FdivQword, TForm::FdivrQword, TForm::Fdivp, TForm::Fdivrp};
        break;
    }
    if (kind == TExprVmKind::Divide) TestOperands(&r, 1); // an infinite divisor would vanish
    const bool lReg = l.Where == TWhere::Reg, rReg = r.Where == TWhere::Reg;
    if (lReg && rReg) {
        code_.Emit(forms.Popped);
        Pop();
        return;
    }
    if (!lReg && rReg) {
        const TMemory m = MemoryOf(l);
        if (!m.Wide) {
            MemoryOp(forms.MemoryReversed, m);
            return;
        }
        Load(l); // st0 = l, st1 = r
        code_.Emit(forms.PoppedReversed);
        Pop();
        return;
    }
    if (!lReg) Load(l);
    const TMemory m = MemoryOf(r);
    if (!m.Wide) {
        MemoryOp(forms.Memory, m);
        return;
    }
    Load(r);
    code_.Emit(forms.Popped);
    Pop();
}

// Leaves l in st1 and r in st0.
bool TExprNativeWriter::BothInRegisters(const TItem& l, const TItem& r)
{
    const bool lReg = l.Where == TWhere::Reg, rReg = r.Where == TWhere::Reg;
    if (!lReg) {
        Load(l);
        if (rReg) code_.Emit(TForm::FxchSt1);
    }
    if (!rReg) Load(r);
    return ok_;
}

// Loads the truth table's entry at rax (-1, 0 or 1) as the new st0.
void TExprNativeWriter::TruthFromFlags()
{
    MemoryOp(TForm::LeaRcx, {false, nullptr, {TBase::Rip}, truthTable_ + 8}); // the 0.0 entry
    code_.EmitMemory(TForm::FldQword, {TBase::RcxRax8});
    Push();
}

bool TExprNativeWriter::Comparison(TExprVmKind kind, const TItem& l, const TItem& r)
{
    const TItem operands[2] = {l, r};
    TestOperands(operands, 2);
    if (!BothInRegisters(l, r)) return false;
    // fcomip st0, st1 compares r with l; then the l left over is popped.
    code_.Emit(TForm::FcomipSt1);
    code_.Emit(TForm::FstpSt0);
    depth_ -= 2;
    if (kind == TExprVmKind::Compare) { // (l > r) - (l < r)
        code_.EmitByteRegister(TForm::Setb, TByteRegister::Al);
        code_.EmitByteRegister(TForm::Seta, TByteRegister::Cl);
        code_.Emit(TForm::SubAlCl);
        code_.Emit(TForm::MovsxRaxAl);
        TruthFromFlags();
        return ok_;
    }
    code_.EmitByteRegister(native::SetFormOf(kind), TByteRegister::Al);
    code_.Emit(TForm::MovzxEaxAl);
    TruthFromFlags();
    return ok_;
}

// The logical operators: each operand compared with zero (r first, into cl),
// then combined in al.
bool TExprNativeWriter::Logical(TExprVmKind kind, const TItem* l, const TItem& r)
{
    if (l != nullptr) {
        const TItem operands[2] = {*l, r};
        TestOperands(operands, 2);
        if (!BothInRegisters(*l, r)) return false;
    } else {
        TestOperands(&r, 1);
        if (r.Where != TWhere::Reg) Load(r);
    }
    auto nonZero = [&](TForm set, TByteRegister reg) {
        code_.Emit(TForm::Fldz);
        if (!Push()) return;
        code_.Emit(TForm::FcomipSt1);
        code_.Emit(TForm::FstpSt0);
        code_.EmitByteRegister(set, reg);
        depth_ -= 2;
    };
    if (l == nullptr) { // not: 1 when the operand is 0
        nonZero(TForm::Sete, TByteRegister::Al);
    } else {
        nonZero(TForm::Setne, TByteRegister::Cl);
        nonZero(TForm::Setne, TByteRegister::Al);
        code_.Emit(kind == TExprVmKind::LogicalAnd  ? TForm::AndAlCl
                   : kind == TExprVmKind::LogicalOr ? TForm::OrAlCl
                                                    : TForm::XorAlCl);
    }
    if (!ok_) return false;
    code_.Emit(TForm::MovzxEaxAl);
    TruthFromFlags();
    return ok_;
}

// Tests st(position): x - x is a NaN exactly when x is an infinity or a NaN,
// and only a NaN compares unordered with itself. No flag is read, so the
// test waits for nothing but its own value. On a NaN it jumps to a stub
// that reports `code`.
void TExprNativeWriter::TestValue(int position, std::uint32_t code)
{
    if (depth_ + 1 > kRegisters) {
        ok_ = false;
        return;
    }
    code_.EmitStackRegister(TForm::FldSt, position);
    code_.Emit(TForm::FsubSt0St0);
    code_.Emit(TForm::FucomipSt0);
    stubs_.push_back({code_.EmitJump(TForm::Jp), code, depth_});
}

// Tests the operands that may be non-finite; those in registers are the top
// ones, the last operand on top.
void TExprNativeWriter::TestOperands(const TItem* operands, int count)
{
    int position = 0;
    for (int k = count - 1; k >= 0; --k) {
        if (operands[k].Where != TWhere::Reg) continue;
        if (operands[k].Unsure) TestValue(position);
        ++position;
    }
}

// A call of a Float function with its arguments in memory (the System V
// convention for long double); every other register value is spilled
// first, since the callee may use the whole register stack.
bool TExprNativeWriter::Call(const void* function, const TItem* operands, int count, bool realCall,
                             std::size_t index)
{
    // No call is made after a fault: the arguments and every value held
    // across the call are tested first.
    TestOperands(operands, count);
    int position = 0;
    for (int k = 0; k < count; ++k)
        position += operands[k].Where == TWhere::Reg;
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        if (it->Where != TWhere::Reg) continue;
        if (it->Unsure) TestValue(position);
        it->Unsure = false;
        ++position;
    }
    for (int k = count - 1; k >= 0; --k) {
        if (operands[k].Where != TWhere::Reg) Load(operands[k]);
        code_.EmitMemory(TForm::FstpTword, {TBase::Rsp, 16 * k});
        Pop();
    }
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        if (it->Where != TWhere::Reg) continue;
        it->Where = TWhere::Spill;
        it->Spill = NewSpill();
        code_.EmitMemory(TForm::FstpTword, {TBase::Rbp, it->Spill});
        Pop();
    }
    if (depth_ != 0) ok_ = false;
    code_.EmitAddress(TForm::MovRax, function);
    code_.Emit(TForm::CallRax);
    Push();
    if (realCall) {
        // Kept for a checked re-run, then tested.
        code_.EmitAddress(TForm::MovRax, steps_[index].Output);
        code_.EmitStackRegister(TForm::FldSt, 0);
        code_.EmitMemory(TForm::FstpTword, {TBase::Rax});
        TestValue(0, kCallResultFault | static_cast<std::uint32_t>(index));
        stretch_ = index + 1;
    }
    return ok_;
}

// push rbp; mov rbp, rsp; sub rsp, frame (patched once the spills are
// known). The data area starts with the truth table.
void TExprNativeWriter::Prologue()
{
    const std::size_t steps = steps_.size();
    code_.Bytes().reserve(40 * steps + 64);
    data_.reserve(16 * steps + 32);
    stack_.reserve(steps);
    fixups_.reserve(2 * steps + 2);
    stubs_.reserve(steps + 1);
    truthTable_ = native::DataDouble(data_, -1.0);
    native::DataDouble(data_, 0.0);
    native::DataDouble(data_, 1.0);
    code_.Emit(TForm::PushRbp);
    code_.Emit(TForm::MovRbpRsp);
    frameFixup_ = code_.EmitImm32(TForm::SubRsp, 0);
}

// The operands of a step: those computed by earlier operations must be the
// values on top of the model stack, in order; constants are not on the
// stack. Returns the arity, or 0 where the step cannot be written.
int TExprNativeWriter::TakeOperands(const TExprNativeStep& step, TItem (&operands)[2])
{
    int arity = OperationTraits(step.Kind).Arity;
    if (step.Kind == TExprVmKind::CallUnary) arity = 1;
    if (step.Kind == TExprVmKind::CallBinary) arity = 2;
    if (arity == 0) return 0; // an operation this generator does not know
    int fromStack = 0;
    for (int k = 0; k < arity; ++k)
        fromStack += step.Producer[k] >= 0;
    if (fromStack > static_cast<int>(stack_.size())) return 0;
    std::size_t at = stack_.size() - static_cast<std::size_t>(fromStack);
    for (int k = 0; k < arity; ++k) {
        if (step.Producer[k] < 0) {
            operands[k] = {TWhere::Const, -1, nullptr, step.Constant[k], 0};
            continue;
        }
        if (stack_[at].Producer != step.Producer[k]) return 0;
        operands[k] = stack_[at++];
    }
    stack_.resize(stack_.size() - static_cast<std::size_t>(fromStack));
    return arity;
}

// Writes the code of one operation whose operands are taken; `unsure` tells
// whether its value may be non-finite. False for an operation this
// generator does not write.
bool TExprNativeWriter::Operation(std::size_t index, const TItem (&operands)[2], int arity, bool& unsure)
{
    const TExprNativeStep& step = steps_[index];
    unsure = false;
    if (step.Kind == TExprVmKind::CallUnary || step.Kind == TExprVmKind::CallBinary) {
        Call(step.Function, operands, arity, true, index);
        return true;
    }
    if (OperationTraits(step.Kind).Fault == TExprFault::Raises) {
        Call(HelperOf(step.Kind), operands, arity, false, index);
        return true;
    }
    switch (step.Kind) {
    case TExprVmKind::Negate:
        unsure = operands[0].Unsure;
        if (operands[0].Where != TWhere::Reg) Load(operands[0]);
        code_.Emit(TForm::Fchs);
        return true;
    case TExprVmKind::Add:
    case TExprVmKind::Subtract:
    case TExprVmKind::Multiply:
    case TExprVmKind::Divide:
        Arithmetic(step.Kind, operands[0], operands[1]);
        unsure = true;
        return true;
    case TExprVmKind::LogicalNot:
        Logical(step.Kind, nullptr, operands[0]);
        return true;
    case TExprVmKind::LogicalAnd:
    case TExprVmKind::LogicalOr:
    case TExprVmKind::LogicalXor:
        Logical(step.Kind, &operands[0], operands[1]);
        return true;
    case TExprVmKind::Compare:
    case TExprVmKind::Greater:
    case TExprVmKind::GreaterEqual:
    case TExprVmKind::Less:
    case TExprVmKind::LessEqual:
    case TExprVmKind::Equal:
    case TExprVmKind::NotEqual:
        Comparison(step.Kind, operands[0], operands[1]);
        return true;
    default:
        // An operation this generator does not write (a new one in the
        // table): the interpreter runs the whole program.
        return false;
    }
}

// One operation of the code list onto the model stack. False where the
// program cannot be generated.
bool TExprNativeWriter::Step(std::size_t index)
{
    const TExprNativeStep& step = steps_[index];
    if (step.Folded) return true;
    if (step.Kind == TExprVmKind::Load64) {
        stack_.push_back({TWhere::Var, static_cast<int>(index), step.Variable, nullptr, 0});
        return true;
    }
    TItem operands[2];
    const int arity = TakeOperands(step, operands);
    bool unsure = false;
    if (arity == 0 || !Operation(index, operands, arity, unsure)) return false;
    stack_.push_back({TWhere::Reg, static_cast<int>(index), nullptr, nullptr, 0, unsure});
    return true;
}

// The result: the last operation's value, or its folded constant, tested
// and returned in st0.
bool TExprNativeWriter::Result()
{
    const std::size_t n = steps_.size();
    if (stack_.empty() && n > 0 && steps_[n - 1].Folded) {
        // Its value is the constant the interpreter would return; the
        // caller passes it as the last step's Output.
        stack_.push_back({TWhere::Const, -1, nullptr, steps_[n - 1].Output, 0});
    }
    if (stack_.size() != 1) return false;
    if (stack_[0].Where != TWhere::Reg) Load(stack_[0]);
    if (stack_[0].Unsure) TestValue(0);
    if (!ok_ || depth_ != 1) return false;
    code_.Emit(TForm::Leave);
    code_.Emit(TForm::Ret);
    return true;
}

// A stub per fault test, after the code: it reports where the fault was
// and returns exactly one value on the register stack.
void TExprNativeWriter::Stubs(const std::uint32_t* fault)
{
    for (const TStub& stub : stubs_) {
        code_.PatchJump(stub.Jump);
        code_.EmitAddress(TForm::MovRax, fault);
        code_.EmitImm32(TForm::StoreAtRax, stub.Code);
        if (stub.Depth == 0) code_.Emit(TForm::Fldz);
        for (int k = 1; k < stub.Depth; ++k)
            code_.Emit(TForm::FstpSt0);
        code_.Emit(TForm::Leave);
        code_.Emit(TForm::Ret);
    }
}

// The frame: 16 bytes below rbp unused, the spill slots, 32 bytes of
// arguments at rsp; a multiple of 16 keeps calls aligned.
void TExprNativeWriter::PatchFrame()
{
    native::Patch32(code_.Bytes(), frameFixup_, static_cast<std::uint32_t>(16 + 16 * spills_ + 32));
}

// The data area follows the code at the next multiple of 16; the
// rip-relative operands are pointed at their constants. Returns where the
// data area starts.
std::size_t TExprNativeWriter::Relocate()
{
    const std::size_t dataAt = (code_.Size() + 15) / 16 * 16;
    for (const auto& [position, offset] : fixups_)
        native::Patch32(code_.Bytes(), position,
                        static_cast<std::uint32_t>(dataAt + offset - (position + 4)));
    return dataAt;
}

// Copies code and data into executable memory.
bool TExprNativeWriter::Place(TExprNativeCode& native, std::size_t dataAt)
{
    const std::vector<std::uint8_t>& code = code_.Bytes();
    constexpr std::size_t kEntry = TExprNativeCode::kEntry;
    const std::size_t total = kEntry + dataAt + data_.size();
    TExprCodeBlock& block = native.block_;
    if (!AllocateCode(total, block)) return false;
    std::uint8_t* write = block.Write + kEntry;
    std::memset(block.Write, 0xCC, kEntry); // int3
    std::memcpy(write, code.data(), code.size());
    std::memset(write + code.size(), 0xCC, dataAt - code.size());
    if (!data_.empty()) std::memcpy(write + dataAt, data_.data(), data_.size());
    if (!SealCode(block)) return false;
    native.codeSize_ = code.size();
    native.dataSize_ = data_.size();
    native.entry_ = reinterpret_cast<Float (*)()>(const_cast<void*>(static_cast<const void*>(native.Code())));
    return true;
}

// The frame description for the unwinder, registered: a routine may raise
// through the generated code. CIE: CFA = rsp + 8, return address at
// CFA - 8. FDE: after push rbp, CFA = rsp + 16 and rbp at CFA - 16; after
// mov rbp, rsp, CFA = rbp + 16.
void TExprNativeWriter::DescribeFrame(TExprNativeCode& native)
{
    std::vector<std::uint8_t>& u = native.unwind_;
    auto finish = [&](std::size_t start) { // pad to 8 and write the length
        while ((u.size() - start) % 8 != 0)
            u.push_back(0); // DW_CFA_nop
        native::Patch32(u, start, static_cast<std::uint32_t>(u.size() - start - 4));
    };
    native::Append32(u, 0); // length
    native::Append32(u, 0); // CIE id
    u.insert(u.end(),
             {1, 'z', 'R', 0, 1, 0x78, 16, 1, 0x00}); // version, "zR", code 1, data -8, ra 16, absptr
    u.insert(u.end(), {0x0C, 7, 8, 0x90, 1});         // def_cfa rsp+8; offset r16 at cfa-8
    finish(0);
    const std::size_t fde = u.size();
    native::Append32(u, 0);
    native::Append32(u, static_cast<std::uint32_t>(u.size() - 0)); // back to the CIE
    native::Append64(u, reinterpret_cast<std::uintptr_t>(native.Code()));
    native::Append64(u, native.codeSize_);
    u.push_back(0); // no augmentation data
    u.insert(u.end(), {0x41, 0x0E, 16, 0x86, 2, 0x43, 0x0D, 6});
    finish(fde);
    native::Append32(u, 0); // terminator
#if QRV_NATIVE_CODE
    __register_frame(u.data());
#endif
}

std::unique_ptr<TExprNativeCode> TExprNativeWriter::Write()
{
#if QRV_NATIVE_CODE
    Prologue();
    for (std::size_t i = 0; i < steps_.size() && ok_; ++i)
        if (!Step(i)) return nullptr;
    if (!ok_ || !Result()) return nullptr;
    auto native = std::unique_ptr<TExprNativeCode>(new TExprNativeCode);
    Stubs(&native->fault_);
    PatchFrame();
    const std::size_t dataAt = Relocate();
    if (!Place(*native, dataAt)) return nullptr;
    DescribeFrame(*native);
    return native;
#else
    return nullptr;
#endif
}

std::unique_ptr<TExprNativeCode> TExprNativeCode::Generate(const std::vector<TExprNativeStep>& steps)
{
    if (!Supported() || steps.empty()) return nullptr;
    return TExprNativeWriter(steps).Write();
}

std::string TExprNativeCode::Listing(const std::vector<TExprNativeStep>& steps,
                                     const TExprDumpNames& names) const
{
    // The addresses the code holds: the fault word, and for each operation
    // its variable, its routine and its output slot ("@3", numbered like
    // the optimised program's listing).
    TExprDumpWriter writer(names);
    std::vector<std::pair<std::uintptr_t, std::string>> known;
    auto add = [&](const void* address, std::string name) {
        if (address != nullptr)
            known.emplace_back(reinterpret_cast<std::uintptr_t>(address), std::move(name));
    };
    add(&fault_, "fault");
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const TExprNativeStep& step = steps[i];
        if (step.Variable != nullptr)
            add(step.Variable, writer.VariableName(reinterpret_cast<TExprDumpKey>(step.Variable)));
        if (step.Function != nullptr)
            add(step.Function, writer.FunctionName(reinterpret_cast<TExprDumpKey>(step.Function)));
        add(HelperOf(step.Kind), std::string(OperationTraits(step.Kind).Mnemonic));
        add(step.Output, "@" + std::to_string(i + 1));
    }
    const native::TAddressNamer name = [&](std::uintptr_t address) {
        for (const auto& [at, text] : known)
            if (at == address) return text;
        return std::string();
    };
    const std::uint8_t* code = Code();
    return native::ListCode(code, codeSize_, code + (codeSize_ + 15) / 16 * 16, dataSize_, name);
}

bool TExprNativeCode::Supported()
{
    return QRV_NATIVE_CODE != 0;
}

TExprNativeCode::TFault TExprNativeCode::TakeFault()
{
    const std::uint32_t code = fault_;
    fault_ = 0;
    if (code & kCallResultFault) return {true, code & ~kCallResultFault};
    return {false, code - 1};
}

TExprNativeCode::~TExprNativeCode()
{
#if QRV_NATIVE_CODE
    if (!unwind_.empty()) __deregister_frame(unwind_.data());
    FreeCode(block_);
#endif
}

} // namespace qrv
