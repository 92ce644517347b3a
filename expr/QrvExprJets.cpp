#include "QrvExprJets.h"

#include "QrvErrors.h"

#include <new>
#include <unordered_map>

namespace qrv
{

namespace
{

// The jet of a part whose derivatives cannot be known.
TExprJet NoDerivatives(Float value)
{
    return {value, 0, 0, true, false, false};
}

} // namespace

TExprJetProgram::TExprJetProgram(const TExprVirtMach& machine, const void* x, const TExprCallRules& rules)
{
    std::unordered_map<const Float*, std::uint32_t> slots;
    for (const TExprVirtMachOp* op : machine.Constants()) {
        slots.emplace(op->OutputLocation(), static_cast<std::uint32_t>(jets_.size()));
        jets_.push_back(jets::Constant(op->Output));
    }
    constCount_ = jets_.size();
    if (!machine.Constants().empty()) single_ = machine.Constants().front()->Output;
    empty_ = machine.Code().empty() && machine.Constants().empty();

    auto slotOf = [&](const Float* location) {
        auto found = slots.find(location);
        QRV_ASSERT(found != slots.end(), MessageText(Msg::AssertionFailure));
        return found->second;
    };
    for (TExprVirtMachOp* op : machine.Code()) {
        TEntry entry;
        entry.Op = op;
        entry.Kind = op->Kind();
        const TExprVirtMachOp::TOperands operands = op->Operands();
        const int arity = OperationTraits(entry.Kind).Arity;
        if (arity > 0) {
            entry.Step = TStep::Operator;
            entry.A = slotOf(operands.At[0]);
            if (arity == 2) entry.B = slotOf(operands.At[1]);
        } else if (const auto* variable = dynamic_cast<const TExprVarVmOp*>(op)) {
            entry.Step = variable->Location() == x ? TStep::Variable : TStep::Const;
        } else if (entry.Kind == TExprVmKind::CallUnary || entry.Kind == TExprVmKind::CallBinary) {
            const bool unary = entry.Kind == TExprVmKind::CallUnary;
            entry.Step = unary ? TStep::Unary : TStep::Binary;
            entry.A = slotOf(operands.At[0]);
            if (!unary) entry.B = slotOf(operands.At[1]);
            // The direct call kinds are always a Float call of their width.
            TExprDumpKey key = unary ? static_cast<const TExprCallVmOpT<Float, 1>*>(op)->FunctionKey()
                                     : static_cast<const TExprCallVmOpT<Float, 2>*>(op)->FunctionKey();
            if (rules) entry.Rule = rules(key);
            // The key is the function's address (the listing's name for it).
            if (unary)
                entry.Unary = reinterpret_cast<TExprUnaryFunc>(key);
            else
                entry.Binary = reinterpret_cast<TExprBinaryFunc>(key);
        } else {
            entry.Step = TStep::Other;
            for (std::size_t i = 0; i < operands.Count; ++i)
                entry.Operands.push_back(slotOf(operands.At[i]));
        }
        slots.emplace(op->OutputLocation(), static_cast<std::uint32_t>(jets_.size()));
        jets_.push_back({});
        entries_.push_back(std::move(entry));
    }
}

// Operators and direct calls compute their value here, exactly as their
// Execute does, from the values of the operands' jets; the other
// operations run their Execute, which reads the outputs the jets keep up.
TExprJet TExprJetProgram::Apply(const TEntry& entry)
{
    switch (entry.Step) {
    case TStep::Const:
        entry.Op->Execute();
        return jets::Constant(entry.Op->Output);
    case TStep::Variable:
        entry.Op->Execute();
        return {entry.Op->Output, 1, 0, true, true, true};
    case TStep::Unary: {
        const TExprJet& u = jets_[entry.A];
        if (u.Varies && entry.Rule.Jet) {
            Float raw = 0;
            const TExprLocalDerivatives d = entry.Rule.Jet(u.Value, raw);
            return jets::Chain(u, Checked(raw), d);
        }
        const Float value = Checked(entry.Unary(u.Value));
        if (!u.Varies) return jets::Constant(value);
        if (!entry.Rule.Unary) return NoDerivatives(value);
        return jets::Chain(u, value, entry.Rule.Unary(u.Value, value));
    }
    case TStep::Binary: {
        const TExprJet& l = jets_[entry.A];
        const TExprJet& r = jets_[entry.B];
        const Float value = Checked(entry.Binary(l.Value, r.Value));
        if (!l.Varies && !r.Varies) return jets::Constant(value);
        if (!entry.Rule.Binary) return NoDerivatives(value);
        return jets::Chain2(l, r, value, entry.Rule.Binary(l.Value, r.Value, value));
    }
    case TStep::Other: {
        entry.Op->Execute();
        const Float value = entry.Op->Output;
        for (std::uint32_t slot : entry.Operands)
            if (jets_[slot].Varies) return NoDerivatives(value);
        return jets::Constant(value);
    }
    case TStep::Operator:
        break;
    }
    switch (entry.Kind) {
#define QRV_UNARY_JET(C, K, M, F, W)                                                                         \
    case TExprVmKind::K: {                                                                                   \
        const TExprJet& u = jets_[entry.A];                                                                  \
        return jets::K(u, rules::Settle<TExprFault::F, TExprFlow::W>(rules::K(u.Value), u.Value));           \
    }
        QRV_EXPR_UNARY_OPERATIONS(QRV_UNARY_JET)
#undef QRV_UNARY_JET
#define QRV_BINARY_JET(C, K, M, F, W)                                                                        \
    case TExprVmKind::K: {                                                                                   \
        const TExprJet& l = jets_[entry.A];                                                                  \
        const TExprJet& r = jets_[entry.B];                                                                  \
        return jets::K(l, r,                                                                                 \
                       rules::Settle<TExprFault::F, TExprFlow::W>(rules::K(l.Value, r.Value), r.Value));     \
    }
        QRV_EXPR_BINARY_OPERATIONS(QRV_BINARY_JET)
#undef QRV_BINARY_JET
    default:
        entry.Op->Execute();
        return NoDerivatives(entry.Op->Output);
    }
}

TExprJet TExprJetProgram::Run()
{
    if (entries_.empty()) {
        if (empty_) throw EListError(0);
        return jets::Constant(single_);
    }
    TExprJet* out = jets_.data() + constCount_;
    for (const TEntry& entry : entries_) {
        // Made in place: a jet is four Floats' worth, not worth a copy.
        ::new (static_cast<void*>(out)) TExprJet(Apply(entry));
        entry.Op->Output = out->Value; // for the operations that read outputs
        ++out;
    }
    // A derivative that overflowed on the way is none.
    return jets::Finish(jets_.back());
}

} // namespace qrv
