// The instruction forms the x87 code generator writes (QrvExprNativeCode.h),
// in one table that both the writer and the listing read, so that what the
// listing shows is what was written.
//
// A form is its opcode bytes and the shape of what follows them: nothing,
// an immediate, an address, a register, a memory operand or a jump
// displacement. The writer encodes through one emit helper per shape; the
// listing decodes with one helper per shape, from the same row. A memory
// operand's addressing modes are a second table, read the same two ways.
#pragma once

#include "QrvExprOperations.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace qrv::native
{

// What follows a form's opcode bytes.
enum class TShape : std::uint8_t {
    Plain,         // nothing
    Imm32,         // a 32-bit immediate
    Address,       // a 64-bit absolute address
    StackRegister, // nothing: the last opcode byte plus i selects st(i)
    ByteRegister,  // a ModRM byte naming al or cl
    Memory,        // a ModRM memory operand whose reg field is the form's
    Jump,          // a 32-bit displacement from the end of the instruction
};

// X(Name, Shape, ModRM reg field, bytes a memory operand reads, mnemonic,
//   opcode bytes...)
#define QRV_NATIVE_FORMS(X)                                                                                  \
    X(PushRbp, Plain, 0, 0, "push rbp", 0x55)                                                                \
    X(MovRbpRsp, Plain, 0, 0, "mov rbp, rsp", 0x48, 0x89, 0xE5)                                              \
    X(SubRsp, Imm32, 0, 0, "sub rsp,", 0x48, 0x81, 0xEC)                                                     \
    X(Leave, Plain, 0, 0, "leave", 0xC9)                                                                     \
    X(Ret, Plain, 0, 0, "ret", 0xC3)                                                                         \
    X(MovRax, Address, 0, 0, "mov rax,", 0x48, 0xB8)                                                         \
    X(CallRax, Plain, 0, 0, "call rax", 0xFF, 0xD0)                                                          \
    X(StoreAtRax, Imm32, 0, 0, "mov dword [rax],", 0xC7, 0x00)                                               \
    X(Jp, Jump, 0, 0, "jp", 0x0F, 0x8A)                                                                      \
    X(LeaRcx, Memory, 1, 8, "lea rcx,", 0x48, 0x8D)                                                          \
    X(FldQword, Memory, 0, 8, "fld qword", 0xDD)                                                             \
    X(FldTword, Memory, 5, 10, "fld tword", 0xDB)                                                            \
    X(FstpTword, Memory, 7, 10, "fstp tword", 0xDB)                                                          \
    X(FaddQword, Memory, 0, 8, "fadd qword", 0xDC)                                                           \
    X(FmulQword, Memory, 1, 8, "fmul qword", 0xDC)                                                           \
    X(FsubQword, Memory, 4, 8, "fsub qword", 0xDC)                                                           \
    X(FsubrQword, Memory, 5, 8, "fsubr qword", 0xDC)                                                         \
    X(FdivQword, Memory, 6, 8, "fdiv qword", 0xDC)                                                           \
    X(FdivrQword, Memory, 7, 8, "fdivr qword", 0xDC)                                                         \
    X(FldSt, StackRegister, 0, 0, "fld", 0xD9, 0xC0)                                                         \
    X(FxchSt1, Plain, 0, 0, "fxch st1", 0xD9, 0xC9)                                                          \
    X(Fchs, Plain, 0, 0, "fchs", 0xD9, 0xE0)                                                                 \
    X(Fldz, Plain, 0, 0, "fldz", 0xD9, 0xEE)                                                                 \
    X(FsubSt0St0, Plain, 0, 0, "fsub st0, st0", 0xD8, 0xE0)                                                  \
    X(FucomipSt0, Plain, 0, 0, "fucomip st0, st0", 0xDF, 0xE8)                                               \
    X(FcomipSt1, Plain, 0, 0, "fcomip st0, st1", 0xDF, 0xF1)                                                 \
    X(FstpSt0, Plain, 0, 0, "fstp st0", 0xDD, 0xD8)                                                          \
    X(Faddp, Plain, 0, 0, "faddp st1, st0", 0xDE, 0xC1)                                                      \
    X(Fmulp, Plain, 0, 0, "fmulp st1, st0", 0xDE, 0xC9)                                                      \
    X(Fsubp, Plain, 0, 0, "fsubp st1, st0", 0xDE, 0xE9)                                                      \
    X(Fsubrp, Plain, 0, 0, "fsubrp st1, st0", 0xDE, 0xE1)                                                    \
    X(Fdivp, Plain, 0, 0, "fdivp st1, st0", 0xDE, 0xF9)                                                      \
    X(Fdivrp, Plain, 0, 0, "fdivrp st1, st0", 0xDE, 0xF1)                                                    \
    X(Setb, ByteRegister, 0, 0, "setb", 0x0F, 0x92)                                                          \
    X(Setae, ByteRegister, 0, 0, "setae", 0x0F, 0x93)                                                        \
    X(Sete, ByteRegister, 0, 0, "sete", 0x0F, 0x94)                                                          \
    X(Setne, ByteRegister, 0, 0, "setne", 0x0F, 0x95)                                                        \
    X(Setbe, ByteRegister, 0, 0, "setbe", 0x0F, 0x96)                                                        \
    X(Seta, ByteRegister, 0, 0, "seta", 0x0F, 0x97)                                                          \
    X(SubAlCl, Plain, 0, 0, "sub al, cl", 0x28, 0xC8)                                                        \
    X(AndAlCl, Plain, 0, 0, "and al, cl", 0x20, 0xC8)                                                        \
    X(OrAlCl, Plain, 0, 0, "or al, cl", 0x08, 0xC8)                                                          \
    X(XorAlCl, Plain, 0, 0, "xor al, cl", 0x30, 0xC8)                                                        \
    X(MovzxEaxAl, Plain, 0, 0, "movzx eax, al", 0x0F, 0xB6, 0xC0)                                            \
    X(MovsxRaxAl, Plain, 0, 0, "movsx rax, al", 0x48, 0x0F, 0xBE, 0xC0)                                      \
    X(MovRdi, Address, 0, 0, "mov rdi,", 0x48, 0xBF)                                                         \
    X(FstpQword, Memory, 3, 8, "fstp qword", 0xDD)                                                           \
    X(Fld1, Plain, 0, 0, "fld1", 0xD9, 0xE8)                                                                 \
    X(FxchSt, StackRegister, 0, 0, "fxch", 0xD9, 0xC8)                                                       \
    X(FstpSt, StackRegister, 0, 0, "fstp", 0xDD, 0xD8)                                                       \
    X(FaddSt0, StackRegister, 0, 0, "fadd st0,", 0xD8, 0xC0)                                                 \
    X(FmulSt0, StackRegister, 0, 0, "fmul st0,", 0xD8, 0xC8)                                                 \
    X(FsubSt0, StackRegister, 0, 0, "fsub st0,", 0xD8, 0xE0)                                                 \
    X(FdivSt0, StackRegister, 0, 0, "fdiv st0,", 0xD8, 0xF0)                                                 \
    X(MovRdx, Address, 0, 0, "mov rdx,", 0x48, 0xBA)                                                         \
    X(OrAtRdxCl, Plain, 0, 0, "or byte [rdx], cl", 0x08, 0x0A)

enum class TForm : std::uint8_t {
#define QRV_NATIVE_FORM_NAME(Name, Shape, Reg, Width, Mnemonic, ...) Name,
    QRV_NATIVE_FORMS(QRV_NATIVE_FORM_NAME)
#undef QRV_NATIVE_FORM_NAME
};

struct TFormRow {
    const char* Mnemonic;
    TShape Shape;
    std::uint8_t Reg;   // Memory: the ModRM reg field
    std::uint8_t Width; // Memory: bytes the operand reads (to list a constant)
    std::uint8_t Length;
    std::uint8_t Opcode[4];
};

namespace detail
{
template <class... Bytes>
constexpr TFormRow MakeFormRow(const char* mnemonic, TShape shape, int reg, int width, Bytes... bytes)
{
    static_assert(sizeof...(Bytes) >= 1 && sizeof...(Bytes) <= 4);
    return {mnemonic,
            shape,
            static_cast<std::uint8_t>(reg),
            static_cast<std::uint8_t>(width),
            sizeof...(Bytes),
            {static_cast<std::uint8_t>(bytes)...}};
}
} // namespace detail

inline constexpr TFormRow kForms[] = {
#define QRV_NATIVE_FORM_ROW(Name, Shape, Reg, Width, Mnemonic, ...)                                          \
    detail::MakeFormRow(Mnemonic, TShape::Shape, Reg, Width, __VA_ARGS__),
    QRV_NATIVE_FORMS(QRV_NATIVE_FORM_ROW)
#undef QRV_NATIVE_FORM_ROW
};

constexpr const TFormRow& FormRow(TForm form)
{
    return kForms[static_cast<std::size_t>(form)];
}

// The two byte registers the code uses, as a ModRM register number.
enum class TByteRegister : std::uint8_t { Al = 0, Cl = 1 };

// The addressing modes of a memory operand, and how each is encoded: the
// ModRM mod and r/m bits, the SIB byte (-1: none) and the displacement's
// size.
enum class TBase : std::uint8_t {
    Rax,     // [rax]
    Rip,     // [rip + disp32]: the data area, patched when placed
    Rbp,     // [rbp + disp32]: the frame
    Rsp,     // [rsp + disp8]: the call arguments
    RcxRax8, // [rcx + rax*8]: an entry of a table of doubles
};

struct TAddressRow {
    TBase Base;
    std::uint8_t ModRm;
    int Sib;
    int DispBytes;
};

inline constexpr TAddressRow kAddressModes[] = {
    {TBase::Rax, 0x00, -1, 0},   {TBase::Rip, 0x05, -1, 4},       {TBase::Rbp, 0x85, -1, 4},
    {TBase::Rsp, 0x44, 0x24, 1}, {TBase::RcxRax8, 0x04, 0xC1, 0},
};

constexpr const TAddressRow& AddressRow(TBase base)
{
    return kAddressModes[static_cast<std::size_t>(base)];
}

static_assert([] {
    for (std::size_t i = 0; i < std::size(kAddressModes); ++i)
        if (static_cast<std::size_t>(kAddressModes[i].Base) != i) return false;
    return true;
}());

struct TAddress {
    TBase Base = TBase::Rax;
    std::int32_t Disp = 0; // Rbp, Rsp; Rip is patched later
};

// Little-endian values, for the code and for the unwinder's tables.
inline void Append32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Append64(std::vector<std::uint8_t>& out, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Patch32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The data area after a program's code: a double is stored once per value,
// at a multiple of 8, a Float at a multiple of 16. Each returns its offset.
std::size_t DataDouble(std::vector<std::uint8_t>& data, double value);
std::size_t DataFloat(std::vector<std::uint8_t>& data, long double value);

// Whether a Float is exactly a double, which a 64-bit operand can carry.
bool ExactDouble(long double value);

// The byte set that gives l relation r after fcomip st0, st1 (which
// compares r with l), for >, >=, <, <=, = and <>.
TForm SetFormOf(TExprVmKind relation);

// Encodes forms into a byte vector: one helper per shape. The helpers that
// leave a value to patch return its position.
class TCodeBuffer
{
public:
    std::vector<std::uint8_t>& Bytes() { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }

    void Emit(TForm form) { Opcode(FormRow(form)); }
    std::size_t EmitImm32(TForm form, std::uint32_t value)
    {
        Opcode(FormRow(form));
        Append32(bytes_, value);
        return bytes_.size() - 4;
    }
    void EmitAddress(TForm form, const void* address)
    {
        Opcode(FormRow(form));
        Append64(bytes_, reinterpret_cast<std::uintptr_t>(address));
    }
    void EmitStackRegister(TForm form, int i)
    {
        Opcode(FormRow(form));
        bytes_.back() = static_cast<std::uint8_t>(bytes_.back() + i);
    }
    void EmitByteRegister(TForm form, TByteRegister r)
    {
        Opcode(FormRow(form));
        bytes_.push_back(static_cast<std::uint8_t>(0xC0 | static_cast<int>(r)));
    }
    // Returns the position of the displacement (of a Rip operand, to patch).
    std::size_t EmitMemory(TForm form, TAddress address)
    {
        const TFormRow& row = FormRow(form);
        const TAddressRow& mode = AddressRow(address.Base);
        Opcode(row);
        bytes_.push_back(static_cast<std::uint8_t>(mode.ModRm | row.Reg << 3));
        if (mode.Sib >= 0) bytes_.push_back(static_cast<std::uint8_t>(mode.Sib));
        const std::size_t at = bytes_.size();
        if (mode.DispBytes == 1) bytes_.push_back(static_cast<std::uint8_t>(address.Disp));
        if (mode.DispBytes == 4) Append32(bytes_, static_cast<std::uint32_t>(address.Disp));
        return at;
    }
    // Returns the position of the displacement, patched with PatchJump.
    std::size_t EmitJump(TForm form)
    {
        Opcode(FormRow(form));
        Append32(bytes_, 0);
        return bytes_.size() - 4;
    }
    // Points the jump whose displacement is at `at` to the current end.
    void PatchJump(std::size_t at)
    {
        Patch32(bytes_, at, static_cast<std::uint32_t>(bytes_.size() - (at + 4)));
    }

private:
    // Byte by byte: for one to four bytes cheaper than a range insert.
    void Opcode(const TFormRow& row)
    {
        for (std::size_t i = 0; i < row.Length; ++i)
            bytes_.push_back(row.Opcode[i]);
    }

    std::vector<std::uint8_t> bytes_;
};

// Names an absolute address the code holds; an empty name lists the
// address in hexadecimal.
using TAddressNamer = std::function<std::string(std::uintptr_t address)>;

// The listing of the code at [code, code + size), entries joined by " | "
// like the machine's listings: "push rbp | mov rbp, rsp | ... | ret".
// Absolute addresses are listed as <name>, a constant of the data area
// [data, data + dataSize) as [const value], a jump target as a label
// ("stub1"). Bytes no form matches are listed as "db 0x..".
std::string ListCode(const std::uint8_t* code, std::size_t size, const std::uint8_t* data,
                     std::size_t dataSize, const TAddressNamer& name);

} // namespace qrv::native
