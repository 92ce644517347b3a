// The listing of the generated x87 code: every instruction form decodes as
// the form it was encoded as, and the code of a few formulas reads as the
// instructions the generator means to write.
#include "ExprTestSupport.h"
#include "QrvExprFastRun.h"
#include "QrvExprNativeCode.h"
#include "QrvExprNativeForms.h"

#include <cstring>
#include <iterator>
#include <regex>
#include <set>

namespace qrv::test
{
namespace
{

using namespace qrv::native;

// Each form, encoded by the helper of its shape with every operand it can
// take, lists as itself and nothing more: no row shadows another, and the
// encoder and the decoder agree on every length and addressing mode.
TEST(NativeForms, EachFormListsAsItself)
{
    int marker = 0;
    const TAddressNamer name = [&](std::uintptr_t address) {
        return address == reinterpret_cast<std::uintptr_t>(&marker) ? std::string("marker") : std::string();
    };
    for (std::size_t f = 0; f < std::size(kForms); ++f) {
        const auto form = static_cast<TForm>(f);
        const TFormRow& row = kForms[f];
        const std::string m = row.Mnemonic;
        // (code, expected listing) pairs for this form.
        std::vector<std::pair<TCodeBuffer, std::string>> cases;
        auto add = [&](std::string want) -> TCodeBuffer& {
            return cases.emplace_back(TCodeBuffer(), want).first;
        };
        switch (row.Shape) {
        case TShape::Plain:
            add(m).Emit(form);
            break;
        case TShape::Imm32:
            add(m + " 48").EmitImm32(form, 48);
            add(m + " 0x80000003").EmitImm32(form, 0x80000003u);
            break;
        case TShape::Address:
            add(m + " <marker>").EmitAddress(form, &marker);
            break;
        case TShape::StackRegister:
            add(m + " st0").EmitStackRegister(form, 0);
            add(m + " st7").EmitStackRegister(form, 7);
            break;
        case TShape::ByteRegister:
            add(m + " al").EmitByteRegister(form, TByteRegister::Al);
            add(m + " cl").EmitByteRegister(form, TByteRegister::Cl);
            break;
        case TShape::Memory:
            add(m + " [rax]").EmitMemory(form, {TBase::Rax});
            add(m + " [rbp-48]").EmitMemory(form, {TBase::Rbp, -48});
            add(m + " [rsp+16]").EmitMemory(form, {TBase::Rsp, 16});
            add(m + " [rcx+rax*8]").EmitMemory(form, {TBase::RcxRax8});
            break;
        case TShape::Jump: {
            TCodeBuffer& code = add(m + " stub1 | stub1: ret");
            const std::size_t jump = code.EmitJump(form);
            code.PatchJump(jump);
            code.Emit(TForm::Ret);
            break;
        }
        }
        for (auto& [code, want] : cases)
            EXPECT_EQ(ListCode(code.Bytes().data(), code.Size(), nullptr, 0, name), want) << m;
        if (row.Shape == TShape::Memory) {
            // A data operand lists the constant it reads, at the width the
            // form reads it.
            TCodeBuffer code;
            std::vector<std::uint8_t>& bytes = code.Bytes();
            const std::size_t disp = code.EmitMemory(form, {TBase::Rip});
            const std::size_t size = bytes.size(), dataAt = (size + 15) / 16 * 16;
            const std::size_t target = row.Width == 10 ? dataAt + 16 : dataAt;
            Patch32(bytes, disp, static_cast<std::uint32_t>(target - (disp + 4)));
            bytes.resize(dataAt + 32, 0);
            const double narrow = 2.5;
            const Float wide = 2.75L;
            std::memcpy(&bytes[dataAt], &narrow, 8);
            std::memcpy(&bytes[dataAt + 16], &wide, 10);
            EXPECT_EQ(ListCode(bytes.data(), size, bytes.data() + dataAt, 32, name),
                      m + (row.Width == 10 ? " [const 2.75]" : " [const 2.5]"));
            EXPECT_EQ(ListCode(bytes.data(), size, bytes.data() + dataAt, 0, name),
                      m + " [rip+" + std::to_string(target - size) + "]")
                << "outside the data area";
        }
    }
    const std::uint8_t nop = 0x90;
    EXPECT_EQ(ListCode(&nop, 1, nullptr, 0, name), "db 0x90");
}

struct ListingRow {
    const char* name;
    const char* text;
    const char* listing;
};

class NativeListing : public ::testing::TestWithParam<ListingRow>
{
protected:
    void SetUp() override
    {
        if (!TExprNativeCode::Supported()) GTEST_SKIP() << "no code generation on this platform";
    }
};

std::string NativeListingOf(Formula& f, const char* text)
{
    f.Evaluator().Compile(text);
    const TExprVirtMach& machine = f.Evaluator().Machine();
    TExprFastProgram program(machine.Code(), machine.Constants(), true, TExprNativeUse::AtOnce);
    const TExprDumpNames names{
        [&](TExprDumpKey location) {
            return location == reinterpret_cast<TExprDumpKey>(&f.X()) ? std::string("x") : std::string();
        },
        [](TExprDumpKey function) {
            return function == reinterpret_cast<TExprDumpKey>(&TestSin) ? std::string("sin") : std::string();
        },
    };
    return program.NativeListing(names);
}

// Variables and constants exact in double are memory operands of the
// arithmetic; a wider constant is loaded; a value that may be non-finite is
// tested (x - x unordered) where its chain stops, with a stub per test that
// reports the position and leaves one value; a call's arguments go to the
// stack, values held across it to the frame, and its result to its slot.
TEST_P(NativeListing, ReadsAsWritten)
{
    SeparatorScope dot('.');
    Formula f;
    EXPECT_EQ(NativeListingOf(f, GetParam().text), GetParam().listing);
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, NativeListing,
    ::testing::Values(
        ListingRow{"Polynomial", "x*x+1",
                   "push rbp | mov rbp, rsp | sub rsp, 48 | mov rax, <x> | fld qword [rax] | mov rax, <x> | "
                   "fmul qword [rax] | fadd qword [const 1] | fld st0 | fsub st0, st0 | fucomip st0, st0 | "
                   "jp stub1 | leave | ret | stub1: mov rax, <fault> | mov dword [rax], 1 | leave | ret"},
        ListingRow{"WideConstant", "0.1*x",
                   "push rbp | mov rbp, rsp | sub rsp, 48 | fld tword [const 0.1] | mov rax, <x> | "
                   "fmul qword [rax] | fld st0 | fsub st0, st0 | fucomip st0, st0 | jp stub1 | leave | ret | "
                   "stub1: mov rax, <fault> | mov dword [rax], 1 | leave | ret"},
        ListingRow{"Comparison", "x < 2",
                   "push rbp | mov rbp, rsp | sub rsp, 48 | mov rax, <x> | fld qword [rax] | "
                   "fld qword [const 2] | fcomip st0, st1 | fstp st0 | seta al | movzx eax, al | "
                   "lea rcx, [const 0] | fld qword [rcx+rax*8] | leave | ret"},
        // The divisor is tested with x*x below it: its stub drops that
        // value to return one.
        ListingRow{"Divisor", "x*x + 1/(x+1)",
                   "push rbp | mov rbp, rsp | sub rsp, 48 | mov rax, <x> | fld qword [rax] | mov rax, <x> | "
                   "fmul qword [rax] | mov rax, <x> | fld qword [rax] | fadd qword [const 1] | fld st0 | "
                   "fsub st0, st0 | fucomip st0, st0 | jp stub1 | fdivr qword [const 1] | faddp st1, st0 | "
                   "fld st0 | fsub st0, st0 | fucomip st0, st0 | jp stub2 | leave | ret | "
                   "stub1: mov rax, <fault> | mov dword [rax], 1 | fstp st0 | leave | ret | "
                   "stub2: mov rax, <fault> | mov dword [rax], 1 | leave | ret"},
        ListingRow{"Call", "(x + 1) * sin(x)",
                   "push rbp | mov rbp, rsp | sub rsp, 64 | mov rax, <x> | fld qword [rax] | "
                   "fadd qword [const 1] | fld st0 | fsub st0, st0 | fucomip st0, st0 | jp stub1 | "
                   "mov rax, <x> | fld qword [rax] | fstp tword [rsp+0] | fstp tword [rbp-32] | "
                   "mov rax, <sin> | call rax | mov rax, <@4> | fld st0 | fstp tword [rax] | fld st0 | "
                   "fsub st0, st0 | fucomip st0, st0 | jp stub2 | fld tword [rbp-32] | fmulp st1, st0 | "
                   "fld st0 | fsub st0, st0 | fucomip st0, st0 | jp stub3 | leave | ret | "
                   "stub1: mov rax, <fault> | mov dword [rax], 1 | leave | ret | "
                   "stub2: mov rax, <fault> | mov dword [rax], 0x80000003 | leave | ret | "
                   "stub3: mov rax, <fault> | mov dword [rax], 5 | leave | ret"},
        ListingRow{
            "IntegerRule", "-(x div 2)",
            "push rbp | mov rbp, rsp | sub rsp, 48 | fld qword [const 2] | fstp tword [rsp+16] | "
            "mov rax, <x> | fld qword [rax] | fstp tword [rsp+0] | mov rax, <idiv> | call rax | fchs | "
            "leave | ret"}),
    RowName{});

// Whatever the formula, the listing decodes every byte, and every jump
// goes to a stub that is listed.
TEST(NativeListingShape, EveryByteDecodesAndEveryJumpHasItsStub)
{
    if (!TExprNativeCode::Supported()) GTEST_SKIP() << "no code generation on this platform";
    SeparatorScope dot('.');
    const char* const formulas[] = {
        "(x cmp 1) + (x > 1) + (x >= 1) + (x < 1) + (x <= 1) + (x = 1) + (x <> 1)",
        "(x and 1) + (x or 0) * 2 + (x xor 1) * 4 + not x",
        "(x - 3) / (5 - x) + (x / 4) - (4 / (x + 9)) + 3 * x - x * 5",
        "(0.1 - x) / (x - 0.1) + x / 0.3 - 0.3 / (x + 7) + 0.7 * x * 0.1",
        "(x + 1) - sin(x) + (x + 2) / (sin(x) + 3) + (0.1 * x) * sin(x)",
        "x div 3 + x mod 7 + (1 shl x) + (x band 255) + bnot x",
        "power(x; 2) + sqrt(x * x) * -x",
    };
    const std::regex jump("jp (stub[0-9]+)");
    for (const char* text : formulas) {
        Formula f;
        const std::string listing = NativeListingOf(f, text);
        ASSERT_FALSE(listing.empty()) << text;
        EXPECT_EQ(listing.find("db 0x"), std::string::npos) << text << ": " << listing;
        std::set<std::string> targets;
        for (auto it = std::sregex_iterator(listing.begin(), listing.end(), jump);
             it != std::sregex_iterator(); ++it)
            targets.insert((*it)[1]);
        for (const std::string& target : targets)
            EXPECT_NE(listing.find(target + ": "), std::string::npos) << text << ": " << target;
    }
}

} // namespace
} // namespace qrv::test
