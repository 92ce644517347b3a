#include "QrvExprVirtMach.h"

#include "QrvErrors.h"
#include "QrvExprFastRun.h"
#include "QrvFpu.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace qrv
{

// ---- function calls -------------------------------------------------------

// A conversion overflows when the value lies beyond the largest finite value
// of the narrower type by half a unit or more; checking the converted value
// for infinity catches exactly that.
template <> float NarrowArgument<float>(Float value)
{
    auto narrow = static_cast<float>(value);
    if (std::isinf(narrow)) [[unlikely]]
        throw EOverflow();
    return narrow;
}

template <> double NarrowArgument<double>(Float value)
{
    return RoundToDouble(value);
}

// ---- the machine ----------------------------------------------------------

TExprVirtMach::TExprVirtMach() = default;

TExprVirtMach::~TExprVirtMach()
{
    Clear();
}

TExprVirtMachOp* TExprVirtMach::Add(std::unique_ptr<TExprVirtMachOp> op)
{
    code_.push_back(op.get()); // if this throws, op still owns the operation
    ready_ = nullptr;
    fast_.reset();
    return op.release();
}

TExprVirtMachOp* TExprVirtMach::AddConst(std::unique_ptr<TExprVirtMachOp> op)
{
    consts_.push_back(op.get());
    ready_ = nullptr;
    fast_.reset();
    if (!std::isfinite(op->Output)) checkedOnly_ = true;
    return op.release();
}

void TExprVirtMach::Clear()
{
    ready_ = nullptr;
    fast_.reset();
    for (TExprVirtMachOp* op : code_)
        delete op;
    for (TExprVirtMachOp* op : consts_)
        delete op;
    code_.clear();
    consts_.clear();
    checkedOnly_ = false;
}

void TExprVirtMach::SetFolding(bool folding)
{
    if (folding != folding_) {
        ready_ = nullptr;
        fast_.reset();
    }
    folding_ = folding;
}

void TExprVirtMach::SetNativeUse(TExprNativeUse use)
{
    if (use != native_) {
        ready_ = nullptr;
        fast_.reset();
    }
    native_ = use;
}

bool TExprVirtMach::RunsNativeCode() const
{
    return fast_ && fast_->RunsNativeCode();
}

TExprFastProgram& TExprVirtMach::Fast()
{
    if (!fast_) fast_ = std::make_unique<TExprFastProgram>(code_, consts_, folding_, native_);
    ready_ = fast_.get();
    return *fast_;
}

void TExprVirtMach::Prepare()
{
    if (!code_.empty() && !checkedOnly_) Fast();
}

Float TExprVirtMach::ExecuteFirst()
{
    if (code_.empty()) {
        if (consts_.empty()) throw EListError(0);
        return consts_.front()->Output;
    }
    if (checkedOnly_) return ExecuteChecked();
    return RunFastProgram(Fast());
}

Float TExprVirtMach::ExecuteChecked()
{
    if (code_.empty()) {
        if (consts_.empty()) throw EListError(0);
        return consts_.front()->Output;
    }
    for (TExprVirtMachOp* op : code_)
        op->Execute();
    return code_.back()->Output;
}

std::string TExprVirtMach::FastListing()
{
    if (code_.empty() || checkedOnly_) return {};
    return Fast().Listing();
}

// ---- listing --------------------------------------------------------------

void TExprVirtMachOp::Describe(TExprDumpWriter& writer) const
{
    writer.Entry(Mnemonic());
}

void TExprVarVmOp::Describe(TExprDumpWriter& writer) const
{
    writer.Entry(Mnemonic(), writer.VariableName(reinterpret_cast<TExprDumpKey>(Location())));
}

void TExprConstVmOp::Describe(TExprDumpWriter& writer) const
{
    char text[64];
    std::snprintf(text, sizeof text, "%.18Lg", Output);
    writer.Entry(Mnemonic(), text);
}

void TExprDumpWriter::Entry(std::string_view mnemonic, std::string_view operand)
{
    if (!text_.empty()) text_ += " | ";
    text_ += mnemonic;
    if (!operand.empty()) {
        text_ += ' ';
        text_ += operand;
    }
}

namespace
{
std::string Numbered(std::vector<TExprDumpKey>& seen, TExprDumpKey key, const char* prefix)
{
    std::size_t i = 0;
    while (i < seen.size() && seen[i] != key)
        ++i;
    if (i == seen.size()) seen.push_back(key);
    return prefix + std::to_string(i + 1);
}
} // namespace

std::string TExprDumpWriter::VariableName(TExprDumpKey location)
{
    if (names_.Variable) {
        std::string name = names_.Variable(location);
        if (!name.empty()) return name;
    }
    return Numbered(unnamedVariables_, location, "var");
}

std::string TExprDumpWriter::FunctionName(TExprDumpKey function)
{
    if (names_.Function) {
        std::string name = names_.Function(function);
        if (!name.empty()) return name;
    }
    return Numbered(unnamedFunctions_, function, "func");
}

std::string Dump(const TExprVirtMach& machine, const TExprDumpNames& names)
{
    TExprDumpWriter writer(names);
    for (const TExprVirtMachOp* op : machine.Constants())
        op->Describe(writer);
    for (const TExprVirtMachOp* op : machine.Code())
        op->Describe(writer);
    return writer.Text();
}

} // namespace qrv
