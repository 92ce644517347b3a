#include "QrvExprNativeForms.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

namespace qrv::native
{

// ---- listing --------------------------------------------------------------

namespace
{

// Reads the code; each decode helper lists the bytes its shape encodes.
class TCodeReader
{
public:
    TCodeReader(const std::uint8_t* code, std::size_t size, const std::uint8_t* data, std::size_t dataSize,
                const TAddressNamer& name)
        : code_(code), size_(size), data_(data), dataSize_(dataSize), name_(name)
    {
    }

    // The form whose bytes start at `at`, or none.
    std::optional<TForm> Match(std::size_t at) const;
    // The bytes of the instruction of that form at `at`.
    std::size_t Length(TForm form, std::size_t at) const;
    // Its listing entry.
    std::string Decode(TForm form, std::size_t at) const;
    // Where a jump at `at` goes.
    std::size_t JumpTarget(TForm form, std::size_t at) const
    {
        const std::size_t end = at + Length(form, at);
        return end + static_cast<std::size_t>(static_cast<std::int32_t>(Read32(end - 4)));
    }

    // The jump targets in order, listed as "stub1", "stub2", ...
    void SetLabels(std::vector<std::size_t> labels) { labels_ = std::move(labels); }
    std::string Label(std::size_t target) const;

private:
    std::uint32_t Read32(std::size_t at) const
    {
        std::uint32_t v;
        std::memcpy(&v, code_ + at, 4);
        return v;
    }
    bool Has(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }
    const TAddressRow* AddressMode(std::size_t at) const;

    std::string Imm32(const TFormRow& row, std::size_t at) const;
    std::string Address(const TFormRow& row, std::size_t at) const;
    std::string StackRegister(const TFormRow& row, std::size_t at) const;
    std::string ByteRegister(const TFormRow& row, std::size_t at) const;
    std::string Memory(TForm form, std::size_t at) const;
    std::string Constant(const TFormRow& row, std::uintptr_t target, std::int32_t disp) const;
    std::string Jump(TForm form, std::size_t at) const;

    const std::uint8_t* code_;
    std::size_t size_;
    const std::uint8_t* data_;
    std::size_t dataSize_;
    const TAddressNamer& name_;
    std::vector<std::size_t> labels_;
};

// The addressing mode of the ModRM byte at `at`; null for a register
// operand or a mode the writer does not use.
const TAddressRow* TCodeReader::AddressMode(std::size_t at) const
{
    if (!Has(at, 1) || code_[at] >> 6 == 3) return nullptr;
    for (const TAddressRow& mode : kAddressModes) {
        if ((code_[at] & 0xC7) != mode.ModRm) continue;
        const std::size_t sib = mode.Sib >= 0 ? 1 : 0;
        if (sib != 0 && (!Has(at + 1, 1) || code_[at + 1] != mode.Sib)) continue;
        if (!Has(at + 1 + sib, static_cast<std::size_t>(mode.DispBytes))) return nullptr;
        return &mode;
    }
    return nullptr;
}

std::optional<TForm> TCodeReader::Match(std::size_t at) const
{
    for (std::size_t f = 0; f < std::size(kForms); ++f) {
        const TFormRow& row = kForms[f];
        if (!Has(at, row.Length)) continue;
        const std::size_t fixed = row.Shape == TShape::StackRegister ? row.Length - 1u : row.Length;
        if (std::memcmp(code_ + at, row.Opcode, fixed) != 0) continue;
        const std::size_t next = at + row.Length;
        bool fits = false;
        switch (row.Shape) {
        case TShape::Plain:
            fits = true;
            break;
        case TShape::Imm32:
        case TShape::Jump:
            fits = Has(next, 4);
            break;
        case TShape::Address:
            fits = Has(next, 8);
            break;
        case TShape::StackRegister:
            fits = code_[next - 1] >= row.Opcode[fixed] && code_[next - 1] < row.Opcode[fixed] + 8;
            break;
        case TShape::ByteRegister:
            fits = Has(next, 1) && (code_[next] == 0xC0 || code_[next] == 0xC1);
            break;
        case TShape::Memory:
            fits = AddressMode(next) != nullptr && (code_[next] >> 3 & 7) == row.Reg;
            break;
        }
        if (fits) return static_cast<TForm>(f);
    }
    return std::nullopt;
}

std::size_t TCodeReader::Length(TForm form, std::size_t at) const
{
    const TFormRow& row = FormRow(form);
    switch (row.Shape) {
    case TShape::Plain:
    case TShape::StackRegister:
        return row.Length;
    case TShape::Imm32:
    case TShape::Jump:
        return row.Length + 4u;
    case TShape::Address:
        return row.Length + 8u;
    case TShape::ByteRegister:
        return row.Length + 1u;
    case TShape::Memory:
        break;
    }
    const TAddressRow& mode = *AddressMode(at + row.Length);
    return row.Length + 1u + (mode.Sib >= 0 ? 1u : 0u) + static_cast<std::size_t>(mode.DispBytes);
}

std::string TCodeReader::Label(std::size_t target) const
{
    for (std::size_t k = 0; k < labels_.size(); ++k)
        if (labels_[k] == target) return "stub" + std::to_string(k + 1);
    return {};
}

// Small values (frame sizes, fault positions) in decimal, the call-result
// fault codes with their high bit in hexadecimal.
std::string TCodeReader::Imm32(const TFormRow& row, std::size_t at) const
{
    const std::uint32_t value = Read32(at + row.Length);
    char text[16];
    std::snprintf(text, sizeof text, value < 0x10000 ? "%u" : "0x%x", static_cast<unsigned>(value));
    return std::string(row.Mnemonic) + " " + text;
}

std::string TCodeReader::Address(const TFormRow& row, std::size_t at) const
{
    std::uint64_t address;
    std::memcpy(&address, code_ + at + row.Length, 8);
    std::string text = name_ ? name_(static_cast<std::uintptr_t>(address)) : std::string();
    if (text.empty()) {
        char hex[24];
        std::snprintf(hex, sizeof hex, "0x%llx", static_cast<unsigned long long>(address));
        text = hex;
    }
    return std::string(row.Mnemonic) + " <" + text + ">";
}

std::string TCodeReader::StackRegister(const TFormRow& row, std::size_t at) const
{
    const int i = code_[at + row.Length - 1] - row.Opcode[row.Length - 1];
    return std::string(row.Mnemonic) + " st" + std::to_string(i);
}

std::string TCodeReader::ByteRegister(const TFormRow& row, std::size_t at) const
{
    return std::string(row.Mnemonic) + (code_[at + row.Length] == 0xC0 ? " al" : " cl");
}

std::string TCodeReader::Memory(TForm form, std::size_t at) const
{
    const TFormRow& row = FormRow(form);
    const std::size_t modRm = at + row.Length;
    const TAddressRow& mode = *AddressMode(modRm);
    const std::size_t disp = modRm + 1 + (mode.Sib >= 0 ? 1 : 0);
    std::string operand;
    switch (mode.Base) {
    case TBase::Rax:
        operand = "[rax]";
        break;
    case TBase::RcxRax8:
        operand = "[rcx+rax*8]";
        break;
    case TBase::Rsp:
        operand = "[rsp+" + std::to_string(static_cast<std::int8_t>(code_[disp])) + "]";
        break;
    case TBase::Rbp: {
        const auto offset = static_cast<std::int32_t>(Read32(disp));
        operand = "[rbp" + std::string(offset < 0 ? "" : "+") + std::to_string(offset) + "]";
        break;
    }
    case TBase::Rip: {
        const auto offset = static_cast<std::int32_t>(Read32(disp));
        const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(code_) + at + Length(form, at);
        operand =
            Constant(row, end + static_cast<std::uintptr_t>(static_cast<std::intptr_t>(offset)), offset);
        break;
    }
    }
    return std::string(row.Mnemonic) + " " + operand;
}

// The constant a data operand reads, when it lies in the data area.
std::string TCodeReader::Constant(const TFormRow& row, std::uintptr_t target, std::int32_t disp) const
{
    const auto data = reinterpret_cast<std::uintptr_t>(data_);
    if (target < data || target - data > dataSize_ || dataSize_ - (target - data) < row.Width)
        return "[rip" + std::string(disp < 0 ? "" : "+") + std::to_string(disp) + "]";
    long double value = 0;
    if (row.Width == 8) {
        double narrow;
        std::memcpy(&narrow, data_ + (target - data), 8);
        value = narrow;
    } else {
        std::memcpy(&value, data_ + (target - data), 10);
    }
    char number[64];
    std::snprintf(number, sizeof number, "%.18Lg", value);
    return std::string("[const ") + number + "]";
}

std::string TCodeReader::Jump(TForm form, std::size_t at) const
{
    const std::size_t target = JumpTarget(form, at);
    std::string label = Label(target);
    if (label.empty()) label = "+" + std::to_string(target);
    return std::string(FormRow(form).Mnemonic) + " " + label;
}

std::string TCodeReader::Decode(TForm form, std::size_t at) const
{
    const TFormRow& row = FormRow(form);
    switch (row.Shape) {
    case TShape::Plain:
        return row.Mnemonic;
    case TShape::Imm32:
        return Imm32(row, at);
    case TShape::Address:
        return Address(row, at);
    case TShape::StackRegister:
        return StackRegister(row, at);
    case TShape::ByteRegister:
        return ByteRegister(row, at);
    case TShape::Memory:
        return Memory(form, at);
    case TShape::Jump:
        return Jump(form, at);
    }
    return {};
}

} // namespace

std::string ListCode(const std::uint8_t* code, std::size_t size, const std::uint8_t* data,
                     std::size_t dataSize, const TAddressNamer& name)
{
    TCodeReader reader(code, size, data, dataSize, name);
    // The jump targets first, so that each label is listed where it stands.
    std::vector<std::size_t> labels;
    for (std::size_t at = 0; at < size;) {
        const std::optional<TForm> form = reader.Match(at);
        if (!form) {
            ++at;
            continue;
        }
        if (FormRow(*form).Shape == TShape::Jump) labels.push_back(reader.JumpTarget(*form, at));
        at += reader.Length(*form, at);
    }
    std::sort(labels.begin(), labels.end());
    labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
    reader.SetLabels(std::move(labels));

    std::string text;
    for (std::size_t at = 0; at < size;) {
        if (!text.empty()) text += " | ";
        if (const std::string label = reader.Label(at); !label.empty()) text += label + ": ";
        if (const std::optional<TForm> form = reader.Match(at)) {
            text += reader.Decode(*form, at);
            at += reader.Length(*form, at);
        } else {
            char byte[16];
            std::snprintf(byte, sizeof byte, "db 0x%02x", code[at]);
            text += byte;
            ++at;
        }
    }
    return text;
}

std::size_t DataDouble(std::vector<std::uint8_t>& data, double value)
{
    for (std::size_t at = 0; at + 8 <= data.size(); at += 8)
        if (std::memcmp(&data[at], &value, 8) == 0) return at;
    const std::size_t at = data.size();
    data.resize(at + 8);
    std::memcpy(&data[at], &value, 8);
    return at;
}

std::size_t DataFloat(std::vector<std::uint8_t>& data, long double value)
{
    while (data.size() % 16 != 0)
        data.push_back(0);
    const std::size_t at = data.size();
    data.resize(at + 16);
    std::memcpy(&data[at], &value, 10);
    return at;
}

bool ExactDouble(long double value)
{
    const auto narrow = static_cast<long double>(static_cast<double>(value));
    return std::memcmp(&narrow, &value, 10) == 0;
}

TForm SetFormOf(TExprVmKind relation)
{
    switch (relation) {
    case TExprVmKind::Greater: // l > r: r below l
        return TForm::Setb;
    case TExprVmKind::GreaterEqual:
        return TForm::Setbe;
    case TExprVmKind::Less:
        return TForm::Seta;
    case TExprVmKind::LessEqual:
        return TForm::Setae;
    case TExprVmKind::NotEqual:
        return TForm::Setne;
    default: // Equal
        return TForm::Sete;
    }
}

} // namespace qrv::native
