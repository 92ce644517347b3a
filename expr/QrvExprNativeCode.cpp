#include "QrvExprNativeCode.h"

#include "QrvExprCodeMemory.h"

#include <cstring>
#include <initializer_list>

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

bool ExactDouble(Float value)
{
    const auto narrow = static_cast<Float>(static_cast<double>(value));
    return std::memcmp(&narrow, &value, 10) == 0;
}

constexpr std::uint32_t kCallResultFault = 0x80000000u;
constexpr int kRegisters = 8;

} // namespace

// Writes the code for one program; Generate's worker.
class TExprNativeWriter
{
public:
    explicit TExprNativeWriter(const std::vector<TExprNativeStep>& steps) : steps_(steps) {}
    std::unique_ptr<TExprNativeCode> Write();

private:
    // A value on the model stack: in an x87 register, or still in memory.
    enum class Where { Reg, Var, Const, Spill };
    struct TItem {
        Where where = Where::Reg;
        int producer = -1;
        const double* var = nullptr;
        const Float* constant = nullptr;
        int spill = 0;       // frame offset from rbp
        bool unsure = false; // computed, so it may be an infinity or a NaN
    };
    // A memory operand: 64-bit (a variable or a constant exact in double)
    // or 80-bit.
    struct TMemory {
        enum { Absolute, Data, Frame } base;
        bool wide;
        const void* address; // Absolute
        std::size_t data;    // Data: offset in the data area
        int disp;            // Frame: offset from rbp
    };
    struct TStub {
        std::size_t jump; // offset of the rel32 to patch
        std::uint32_t code;
        int depth; // values on the register stack at the jump
    };

    void Byte(std::uint8_t b) { code_.push_back(b); }
    void Bytes(std::initializer_list<std::uint8_t> bytes) { code_.insert(code_.end(), bytes); }
    void Imm32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Imm64(std::uint64_t v)
    {
        for (int i = 0; i < 8; ++i)
            Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void MovRaxImm(const void* p)
    {
        Bytes({0x48, 0xB8});
        Imm64(reinterpret_cast<std::uintptr_t>(p));
    }
    std::size_t DataDouble(double value);
    std::size_t DataFloat(Float value);
    void DataDisp(std::size_t offset)
    {
        fixups_.emplace_back(code_.size(), offset);
        Imm32(0);
    }
    // opcode /reg with a memory operand; an absolute address goes through rax.
    void MemoryOp(std::uint8_t opcode, int reg, const TMemory& m);
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
    void TestValue(int position);
    void TestOperands(const TItem* operands, int count);
    void JumpToStub(std::uint8_t condition, std::uint32_t code);
    int NewSpill()
    {
        spills_ += 1;
        return -16 - 16 * spills_;
    }

    const std::vector<TExprNativeStep>& steps_;
    std::vector<std::uint8_t> code_;
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

std::size_t TExprNativeWriter::DataDouble(double value)
{
    for (std::size_t at = 0; at + 8 <= data_.size(); at += 8)
        if (std::memcmp(&data_[at], &value, 8) == 0) return at;
    const std::size_t at = data_.size();
    data_.resize(at + 8);
    std::memcpy(&data_[at], &value, 8);
    return at;
}

std::size_t TExprNativeWriter::DataFloat(Float value)
{
    while (data_.size() % 16 != 0)
        data_.push_back(0);
    const std::size_t at = data_.size();
    data_.resize(at + 16);
    std::memcpy(&data_[at], &value, 10);
    return at;
}

void TExprNativeWriter::MemoryOp(std::uint8_t opcode, int reg, const TMemory& m)
{
    const auto r = static_cast<std::uint8_t>(reg << 3);
    switch (m.base) {
    case TMemory::Absolute:
        MovRaxImm(m.address);
        Bytes({opcode, r}); // [rax]
        break;
    case TMemory::Data:
        Bytes({opcode, static_cast<std::uint8_t>(r | 0x05)}); // [rip + disp32]
        DataDisp(m.data);
        break;
    case TMemory::Frame:
        Bytes({opcode, static_cast<std::uint8_t>(r | 0x85)}); // [rbp + disp32]
        Imm32(static_cast<std::uint32_t>(m.disp));
        break;
    }
}

TExprNativeWriter::TMemory TExprNativeWriter::MemoryOf(const TItem& item)
{
    switch (item.where) {
    case Where::Var:
        return {TMemory::Absolute, false, item.var, 0, 0};
    case Where::Const:
        if (ExactDouble(*item.constant))
            return {TMemory::Data, false, nullptr, DataDouble(static_cast<double>(*item.constant)), 0};
        return {TMemory::Data, true, nullptr, DataFloat(*item.constant), 0};
    default:
        return {TMemory::Frame, true, nullptr, 0, item.spill};
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
    if (m.wide)
        MemoryOp(0xDB, 5, m); // fld m80
    else
        MemoryOp(0xDD, 0, m); // fld m64
    Push();
}

// Add, subtract, multiply, divide: l op r, with a 64-bit memory operand
// taken straight into the instruction.
void TExprNativeWriter::Arithmetic(TExprVmKind kind, const TItem& l, const TItem& r)
{
    int plain = 0, reversed = 0;                 // /reg of the memory forms: st0 op m, m op st0
    std::uint8_t popped = 0, poppedReversed = 0; // st1 = st1 op st0, st1 = st0 op st1; pop
    switch (kind) {
    case TExprVmKind::Add:
        plain = reversed = 0;
        popped = poppedReversed = 0xC1;
        break;
    case TExprVmKind::Multiply:
        plain = reversed = 1;
        popped = poppedReversed = 0xC9;
        break;
    case TExprVmKind::Subtract:
        plain = 4, reversed = 5;
        popped = 0xE9, poppedReversed = 0xE1;
        break;
    default: // Divide
        plain = 6, reversed = 7;
        popped = 0xF9, poppedReversed = 0xF1;
        break;
    }
    if (kind == TExprVmKind::Divide) TestOperands(&r, 1); // an infinite divisor would vanish
    const bool lReg = l.where == Where::Reg, rReg = r.where == Where::Reg;
    if (lReg && rReg) {
        Bytes({0xDE, popped});
        Pop();
        return;
    }
    if (!lReg && rReg) {
        const TMemory m = MemoryOf(l);
        if (!m.wide) {
            MemoryOp(0xDC, reversed, m);
            return;
        }
        Load(l); // st0 = l, st1 = r
        Bytes({0xDE, poppedReversed});
        Pop();
        return;
    }
    if (!lReg) Load(l);
    const TMemory m = MemoryOf(r);
    if (!m.wide) {
        MemoryOp(0xDC, plain, m);
        return;
    }
    Load(r);
    Bytes({0xDE, popped});
    Pop();
}

// Leaves l in st1 and r in st0.
bool TExprNativeWriter::BothInRegisters(const TItem& l, const TItem& r)
{
    const bool lReg = l.where == Where::Reg, rReg = r.where == Where::Reg;
    if (!lReg) {
        Load(l);
        if (rReg) Bytes({0xD9, 0xC9}); // fxch st1
    }
    if (!rReg) Load(r);
    return ok_;
}

// Loads the truth table's entry at rax (-1, 0 or 1) as the new st0.
void TExprNativeWriter::TruthFromFlags()
{
    Bytes({0x48, 0x8D, 0x0D}); // lea rcx, [rip + disp32]
    DataDisp(truthTable_ + 8); // the 0.0 entry
    Bytes({0xDD, 0x04, 0xC1}); // fld qword [rcx + rax*8]
    Push();
}

bool TExprNativeWriter::Comparison(TExprVmKind kind, const TItem& l, const TItem& r)
{
    const TItem operands[2] = {l, r};
    TestOperands(operands, 2);
    if (!BothInRegisters(l, r)) return false;
    // fcomip st0, st1 compares r with l; then the l left over is popped.
    Bytes({0xDF, 0xF1, 0xDD, 0xD8});
    depth_ -= 2;
    std::uint8_t set = 0;
    switch (kind) {
    case TExprVmKind::Greater: // l > r: r below l
        set = 0x92;
        break;
    case TExprVmKind::GreaterEqual:
        set = 0x96;
        break;
    case TExprVmKind::Less:
        set = 0x97;
        break;
    case TExprVmKind::LessEqual:
        set = 0x93;
        break;
    case TExprVmKind::Equal:
        set = 0x94;
        break;
    case TExprVmKind::NotEqual:
        set = 0x95;
        break;
    default: // Compare: (l > r) - (l < r)
        Bytes({0x0F, 0x92, 0xC0, 0x0F, 0x97, 0xC1, 0x28, 0xC8, 0x48, 0x0F, 0xBE, 0xC0});
        TruthFromFlags();
        return ok_;
    }
    Bytes({0x0F, set, 0xC0, 0x0F, 0xB6, 0xC0}); // setcc al; movzx eax, al
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
        if (r.where != Where::Reg) Load(r);
    }
    auto nonZero = [&](std::uint8_t set, std::uint8_t reg) {
        Bytes({0xD9, 0xEE}); // fldz
        if (!Push()) return;
        Bytes({0xDF, 0xF1, 0xDD, 0xD8, 0x0F, set, reg}); // fcomip st0, st1; fstp st0; setcc
        depth_ -= 2;
    };
    if (l == nullptr) { // not: 1 when the operand is 0
        nonZero(0x94, 0xC0);
    } else {
        nonZero(0x95, 0xC1);
        nonZero(0x95, 0xC0);
        const std::uint8_t combine = kind == TExprVmKind::LogicalAnd  ? 0x20
                                     : kind == TExprVmKind::LogicalOr ? 0x08
                                                                      : 0x30;
        Bytes({combine, 0xC8});
    }
    if (!ok_) return false;
    Bytes({0x0F, 0xB6, 0xC0}); // movzx eax, al
    TruthFromFlags();
    return ok_;
}

void TExprNativeWriter::JumpToStub(std::uint8_t condition, std::uint32_t code)
{
    Bytes({0x0F, condition});
    stubs_.push_back({code_.size(), code, depth_});
    Imm32(0);
}

// Tests st(position): x - x is a NaN exactly when x is an infinity or a NaN,
// and only a NaN compares unordered with itself. No flag is read, so the
// test waits for nothing but its own value.
void TExprNativeWriter::TestValue(int position)
{
    if (depth_ + 1 > kRegisters) {
        ok_ = false;
        return;
    }
    Bytes({0xD9, static_cast<std::uint8_t>(0xC0 + position), 0xD8, 0xE0, 0xDF, 0xE8});
    JumpToStub(0x8A, static_cast<std::uint32_t>(1 + stretch_)); // jp
}

// Tests the operands that may be non-finite; those in registers are the top
// ones, the last operand on top.
void TExprNativeWriter::TestOperands(const TItem* operands, int count)
{
    int position = 0;
    for (int k = count - 1; k >= 0; --k) {
        if (operands[k].where != Where::Reg) continue;
        if (operands[k].unsure) TestValue(position);
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
        position += operands[k].where == Where::Reg;
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        if (it->where != Where::Reg) continue;
        if (it->unsure) TestValue(position);
        it->unsure = false;
        ++position;
    }
    for (int k = count - 1; k >= 0; --k) {
        if (operands[k].where != Where::Reg) Load(operands[k]);
        Bytes({0xDB, 0x7C, 0x24, static_cast<std::uint8_t>(16 * k)}); // fstp tbyte [rsp + 16k]
        Pop();
    }
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        if (it->where != Where::Reg) continue;
        it->where = Where::Spill;
        it->spill = NewSpill();
        MemoryOp(0xDB, 7, {TMemory::Frame, true, nullptr, 0, it->spill}); // fstp tbyte
        Pop();
    }
    if (depth_ != 0) ok_ = false;
    MovRaxImm(function);
    Bytes({0xFF, 0xD0}); // call rax
    Push();
    if (realCall) {
        // Kept for a checked re-run, then tested: x - x is NaN only for an
        // infinity or a NaN.
        MovRaxImm(steps_[index].Output);
        Bytes({0xD9, 0xC0, 0xDB, 0x38});             // fld st0; fstp tbyte [rax]
        Bytes({0xD9, 0xC0, 0xD8, 0xE0, 0xDF, 0xE8}); // fld st0; fsub st0, st0; fucomip st0, st0
        if (depth_ + 1 > kRegisters) ok_ = false;
        JumpToStub(0x8A, kCallResultFault | static_cast<std::uint32_t>(index));
        stretch_ = index + 1;
    }
    return ok_;
}

std::unique_ptr<TExprNativeCode> TExprNativeWriter::Write()
{
#if QRV_NATIVE_CODE
    const std::size_t steps = steps_.size();
    code_.reserve(40 * steps + 64);
    data_.reserve(16 * steps + 32);
    stack_.reserve(steps);
    fixups_.reserve(2 * steps + 2);
    stubs_.reserve(steps + 1);
    truthTable_ = DataDouble(-1.0);
    DataDouble(0.0);
    DataDouble(1.0);
    // push rbp; mov rbp, rsp; sub rsp, frame (patched at the end)
    Bytes({0x55, 0x48, 0x89, 0xE5, 0x48, 0x81, 0xEC});
    frameFixup_ = code_.size();
    Imm32(0);

    const std::size_t n = steps_.size();
    for (std::size_t i = 0; i < n && ok_; ++i) {
        const TExprNativeStep& step = steps_[i];
        if (step.Folded) continue;
        if (step.Kind == TExprVmKind::Load64) {
            stack_.push_back({Where::Var, static_cast<int>(i), step.Variable, nullptr, 0});
            continue;
        }
        int arity = OperationTraits(step.Kind).Arity;
        if (step.Kind == TExprVmKind::CallUnary) arity = 1;
        if (step.Kind == TExprVmKind::CallBinary) arity = 2;
        if (arity == 0) return nullptr; // an operation this generator does not know
        // The operands computed by earlier operations must be the values on
        // top of the stack, in order; constants are not on the stack.
        TItem operands[2];
        int fromStack = 0;
        for (int k = 0; k < arity; ++k)
            fromStack += step.Producer[k] >= 0;
        if (fromStack > static_cast<int>(stack_.size())) return nullptr;
        std::size_t at = stack_.size() - static_cast<std::size_t>(fromStack);
        for (int k = 0; k < arity; ++k) {
            if (step.Producer[k] < 0) {
                operands[k] = {Where::Const, -1, nullptr, step.Constant[k], 0};
                continue;
            }
            if (stack_[at].producer != step.Producer[k]) return nullptr;
            operands[k] = stack_[at++];
        }
        stack_.resize(stack_.size() - static_cast<std::size_t>(fromStack));

        const TExprOperationTraits& traits = OperationTraits(step.Kind);
        bool unsure = false;
        if (step.Kind == TExprVmKind::CallUnary || step.Kind == TExprVmKind::CallBinary) {
            Call(step.Function, operands, arity, true, i);
        } else if (traits.Fault == TExprFault::Raises) {
            Call(HelperOf(step.Kind), operands, arity, false, i);
        } else {
            switch (step.Kind) {
            case TExprVmKind::Negate:
                unsure = operands[0].unsure;
                if (operands[0].where != Where::Reg) Load(operands[0]);
                Bytes({0xD9, 0xE0}); // fchs
                break;
            case TExprVmKind::Add:
            case TExprVmKind::Subtract:
            case TExprVmKind::Multiply:
            case TExprVmKind::Divide:
                Arithmetic(step.Kind, operands[0], operands[1]);
                unsure = true;
                break;
            case TExprVmKind::LogicalNot:
                Logical(step.Kind, nullptr, operands[0]);
                break;
            case TExprVmKind::LogicalAnd:
            case TExprVmKind::LogicalOr:
            case TExprVmKind::LogicalXor:
                Logical(step.Kind, &operands[0], operands[1]);
                break;
            case TExprVmKind::Compare:
            case TExprVmKind::Greater:
            case TExprVmKind::GreaterEqual:
            case TExprVmKind::Less:
            case TExprVmKind::LessEqual:
            case TExprVmKind::Equal:
            case TExprVmKind::NotEqual:
                Comparison(step.Kind, operands[0], operands[1]);
                break;
            default:
                // An operation this generator does not write (a new one in
                // the table): the interpreter runs the whole program.
                return nullptr;
            }
        }
        stack_.push_back({Where::Reg, static_cast<int>(i), nullptr, nullptr, 0, unsure});
    }
    if (!ok_) return nullptr;

    // The result: the last operation's value, or its folded constant.
    if (stack_.empty() && n > 0 && steps_[n - 1].Folded) {
        // Its value is the constant the interpreter would return; the
        // caller passes it as the last step's Output.
        stack_.push_back({Where::Const, -1, nullptr, steps_[n - 1].Output, 0});
    }
    if (stack_.size() != 1) return nullptr;
    if (stack_[0].where != Where::Reg) Load(stack_[0]);
    if (stack_[0].unsure) TestValue(0);
    if (!ok_ || depth_ != 1) return nullptr;
    Bytes({0xC9, 0xC3}); // leave; ret

    auto native = std::unique_ptr<TExprNativeCode>(new TExprNativeCode);
    for (const TStub& stub : stubs_) {
        const auto rel = static_cast<std::uint32_t>(code_.size() - (stub.jump + 4));
        std::memcpy(&code_[stub.jump], &rel, 4);
        MovRaxImm(&native->fault_);
        Bytes({0xC7, 0x00}); // mov dword [rax], code
        Imm32(stub.code);
        // Exactly one value is returned on the register stack.
        if (stub.depth == 0) Bytes({0xD9, 0xEE}); // fldz
        for (int k = 1; k < stub.depth; ++k)
            Bytes({0xDD, 0xD8}); // fstp st0
        Bytes({0xC9, 0xC3});
    }
    // Frame: 16 bytes below rbp unused, the spill slots, 32 bytes of
    // arguments at rsp; a multiple of 16 keeps calls aligned.
    const auto frame = static_cast<std::uint32_t>(16 + 16 * spills_ + 32);
    std::memcpy(&code_[frameFixup_], &frame, 4);

    std::size_t dataAt = (code_.size() + 15) / 16 * 16;
    for (const auto& [position, offset] : fixups_) {
        const auto disp = static_cast<std::int32_t>(dataAt + offset - (position + 4));
        std::memcpy(&code_[position], &disp, 4);
    }
    // The code starts 16 bytes into its block: instrumented callers may
    // read a few bytes before a function they call through a pointer.
    constexpr std::size_t kEntry = 16;
    const std::size_t total = kEntry + dataAt + data_.size();
    TExprCodeBlock& block = native->block_;
    if (!AllocateCode(total, block)) return nullptr;
    std::uint8_t* write = block.Write + kEntry;
    std::memset(block.Write, 0xCC, kEntry); // int3
    std::memcpy(write, code_.data(), code_.size());
    std::memset(write + code_.size(), 0xCC, dataAt - code_.size());
    if (!data_.empty()) std::memcpy(write + dataAt, data_.data(), data_.size());
    if (!SealCode(block)) return nullptr;
    const void* memory = static_cast<const std::uint8_t*>(block.Execute) + kEntry;
    native->codeSize_ = code_.size();
    native->entry_ = reinterpret_cast<Float (*)()>(const_cast<void*>(memory));

    // The frame description for the unwinder: a routine may raise through
    // the generated code. CIE: CFA = rsp + 8, return address at CFA - 8.
    // FDE: after push rbp, CFA = rsp + 16 and rbp at CFA - 16; after
    // mov rbp, rsp, CFA = rbp + 16.
    std::vector<std::uint8_t>& u = native->unwind_;
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            u.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto put64 = [&](std::uint64_t v) {
        for (int i = 0; i < 8; ++i)
            u.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto finish = [&](std::size_t start) { // pad to 8 and write the length
        while ((u.size() - start) % 8 != 0)
            u.push_back(0); // DW_CFA_nop
        const auto length = static_cast<std::uint32_t>(u.size() - start - 4);
        std::memcpy(&u[start], &length, 4);
    };
    put32(0); // length
    put32(0); // CIE id
    u.insert(u.end(),
             {1, 'z', 'R', 0, 1, 0x78, 16, 1, 0x00}); // version, "zR", code 1, data -8, ra 16, absptr
    u.insert(u.end(), {0x0C, 7, 8, 0x90, 1});         // def_cfa rsp+8; offset r16 at cfa-8
    finish(0);
    const std::size_t fde = u.size();
    put32(0);
    put32(static_cast<std::uint32_t>(u.size() - 0)); // back to the CIE
    put64(reinterpret_cast<std::uintptr_t>(memory));
    put64(code_.size());
    u.push_back(0); // no augmentation data
    u.insert(u.end(), {0x41, 0x0E, 16, 0x86, 2, 0x43, 0x0D, 6});
    finish(fde);
    put32(0); // terminator
    __register_frame(u.data());
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
