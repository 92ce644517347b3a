#include "QrvExprJets.h"

#include "QrvErrors.h"

#include <cmath>
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
    GenerateCode(x);
}

// The code's steps: operations of constants folded, loads of double and
// Float variables, the five arithmetic operators and the comparisons of a
// varying operand inline, and every other operator and call with a rule
// through the helper. A program with any other operation, or a call
// without a rule on a varying operand (which never has derivatives), has no
// code.
void TExprJetProgram::GenerateCode(const void* x)
{
    using TWork = TExprJetCodeStep::TWork;
    struct TShape {
        bool Varies = false, Curved = false;
    };
    std::vector<TShape> shapes(jets_.size());
    // The slots whose values are known now: the constants, and operations
    // of them folded as the optimised value program folds them.
    std::vector<bool> known(jets_.size(), false);
    for (std::size_t i = 0; i < constCount_; ++i)
        known[i] = true;
    codeJets_ = jets_;
    std::vector<TExprJetCodeStep> steps;
    steps.reserve(entries_.size());
    codeCalls_.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const TEntry& entry = entries_[i];
        TExprJetCodeStep step;
        TShape& shape = shapes[constCount_ + i];
        const TShape a = shapes[entry.A], b = shapes[entry.B];
        auto helper = [&](int arity, bool steps) {
            step.Work = TWork::Helper;
            step.Arity = arity;
            step.Varies = a.Varies || (arity == 2 && b.Varies);
            step.Curved = step.Varies && !steps;
            step.Steps = steps;
            step.Helper = &CodeHelper;
            codeCalls_.push_back({this, static_cast<std::uint32_t>(i), arity == 2, step.Varies, step.Curved});
            step.Argument = &codeCalls_.back();
        };
        if (Foldable(entry, known)) {
            try {
                const Float value = Apply(entry, codeJets_.data()).Value;
                if (std::isfinite(value)) {
                    step.Work = TWork::Constant;
                    step.Value = value;
                    known[constCount_ + i] = true;
                }
            } catch (const Exception&) {
                // left to fault when run, in its place
            }
        }
        switch (known[constCount_ + i] ? TStep::Other : entry.Step) {
        case TStep::Other:
            if (!known[constCount_ + i]) return;
            codeJets_[constCount_ + i] = jets::Constant(step.Value);
            break;
        case TStep::Const:
        case TStep::Variable: {
            step.Work = TWork::Load;
            const auto* variable = static_cast<const TExprVarVmOp*>(entry.Op);
            step.Location = variable->Location();
            step.Wide = dynamic_cast<const TExprVar80VmOp*>(variable) != nullptr;
            if (!step.Wide && dynamic_cast<const TExprVar64VmOp*>(variable) == nullptr) return;
            step.Varies = entry.Step == TStep::Variable && step.Location == x;
            break;
        }
        case TStep::Unary:
        case TStep::Binary: {
            const bool unary = entry.Step == TStep::Unary;
            const bool varies = a.Varies || (!unary && b.Varies);
            const bool rule = unary ? entry.Rule.Unary || entry.Rule.Jet : entry.Rule.Binary != nullptr;
            if (varies && !rule) return;
            helper(unary ? 1 : 2, false);
            break;
        }
        case TStep::Operator:
            step.Arity = OperationTraits(entry.Kind).Arity;
            step.Operand[0] = entry.A;
            step.Operand[1] = entry.B;
            switch (entry.Kind) {
            case TExprVmKind::Negate:
                step.Work = TWork::Negate;
                break;
            case TExprVmKind::Add:
                step.Work = TWork::Add;
                break;
            case TExprVmKind::Subtract:
                step.Work = TWork::Subtract;
                break;
            case TExprVmKind::Multiply:
                step.Work = TWork::Multiply;
                break;
            case TExprVmKind::Divide:
                step.Work = TWork::Divide;
                break;
            case TExprVmKind::Greater:
            case TExprVmKind::GreaterEqual:
            case TExprVmKind::Less:
            case TExprVmKind::LessEqual:
            case TExprVmKind::Equal:
            case TExprVmKind::NotEqual:
                if (a.Varies || b.Varies) {
                    step.Work = TWork::Compare;
                    step.Relation = entry.Kind;
                    break;
                }
                helper(step.Arity, true);
                break;
            default: // cmp, the integer and the logical operators: steps
                helper(step.Arity, true);
                break;
            }
            break;
        }
        step.Operand[0] = entry.A;
        step.Operand[1] = entry.B;
        if (step.Work == TWork::Constant) {
            step.Arity = 0;
        } else if (step.Work == TWork::Compare) {
            shape = {true, false};
        } else if (step.Work == TWork::Load || step.Work == TWork::Helper) {
            shape = {step.Varies, step.Curved};
        } else {
            const bool two = step.Arity == 2;
            shape.Varies = a.Varies || (two && b.Varies);
            switch (step.Work) {
            case TWork::Multiply:
                shape.Curved = a.Curved || b.Curved || (a.Varies && b.Varies);
                break;
            case TWork::Divide:
                shape.Curved = a.Curved || b.Varies;
                break;
            default:
                shape.Curved = a.Curved || (two && b.Curved);
                break;
            }
        }
        steps.push_back(step);
    }
    code_ = TExprJetCode::Generate(steps, codeJets_.data(), constCount_);
}

// An operator or a pure call whose operands are all known.
bool TExprJetProgram::Foldable(const TEntry& entry, const std::vector<bool>& known) const
{
    switch (entry.Step) {
    case TStep::Operator:
        return known[entry.A] && (OperationTraits(entry.Kind).Arity == 1 || known[entry.B]);
    case TStep::Unary:
        return known[entry.A] && static_cast<const TExprCallVmOpT<Float, 1>*>(entry.Op)->Pure();
    case TStep::Binary:
        return known[entry.A] && known[entry.B] &&
               static_cast<const TExprCallVmOpT<Float, 2>*>(entry.Op)->Pure();
    default:
        return false;
    }
}

void TExprJetProgram::CodeHelper(void* call)
{
    const auto& c = *static_cast<const TCodeCall*>(call);
    c.Program->RunForCode(c);
}

// One entry for the generated code, from the jets it stored: the entry's
// rule, as Run applies it. Anything the code cannot use (an error, a
// missing or non-finite part, an operand already non-finite) is a fault,
// after which Run applies the rules from the start.
void TExprJetProgram::RunForCode(const TCodeCall& call)
{
    const TEntry& entry = entries_[call.Entry];
    // A non-finite value is a fault the rules raise for, and the rule here
    // might hide it (a comparison of a NaN is a truth value). A non-finite
    // derivative either reaches the result, which the code tests, or goes
    // where the rules ignore it too.
    if (!std::isfinite(codeJets_[entry.A].Value) ||
        (call.Binary && !std::isfinite(codeJets_[entry.B].Value))) {
        code_->Fault();
        return;
    }
    try {
        const TExprJet jet = Apply(entry, codeJets_.data());
        if (!jet.HasD1 || !jet.HasD2 || jet.Varies != call.Varies || jet.Curved != call.Curved) {
            code_->Fault();
            return;
        }
        codeJets_[constCount_ + call.Entry] = jet;
    } catch (...) {
        code_->Fault();
    }
}

// Operators and direct calls compute their value here, exactly as their
// Execute does, from the values of the operands' jets; the other
// operations run their Execute, which reads the outputs the jets keep up.
TExprJet TExprJetProgram::Apply(const TEntry& entry, const TExprJet* jets)
{
    switch (entry.Step) {
    case TStep::Const:
        entry.Op->Execute();
        return jets::Constant(entry.Op->Output);
    case TStep::Variable:
        entry.Op->Execute();
        return {entry.Op->Output, 1, 0, true, true, true, false};
    case TStep::Unary: {
        const TExprJet& u = jets[entry.A];
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
        const TExprJet& l = jets[entry.A];
        const TExprJet& r = jets[entry.B];
        const Float value = Checked(entry.Binary(l.Value, r.Value));
        if (!l.Varies && !r.Varies) return jets::Constant(value);
        if (!entry.Rule.Binary) return NoDerivatives(value);
        return jets::Chain2(l, r, value, entry.Rule.Binary(l.Value, r.Value, value));
    }
    case TStep::Other: {
        entry.Op->Execute();
        const Float value = entry.Op->Output;
        for (std::uint32_t slot : entry.Operands)
            if (jets[slot].Varies) return NoDerivatives(value);
        return jets::Constant(value);
    }
    case TStep::Operator:
        break;
    }
    switch (entry.Kind) {
#define QRV_UNARY_JET(C, K, M, F, W)                                                                         \
    case TExprVmKind::K: {                                                                                   \
        const TExprJet& u = jets[entry.A];                                                                   \
        return jets::K(u, rules::Settle<TExprFault::F, TExprFlow::W>(rules::K(u.Value), u.Value));           \
    }
        QRV_EXPR_UNARY_OPERATIONS(QRV_UNARY_JET)
#undef QRV_UNARY_JET
#define QRV_BINARY_JET(C, K, M, F, W)                                                                        \
    case TExprVmKind::K: {                                                                                   \
        const TExprJet& l = jets[entry.A];                                                                   \
        const TExprJet& r = jets[entry.B];                                                                   \
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
    if (code_ && useCode_)
        if (const TExprJet* jet = code_->Run()) return *jet;
    TExprJet* out = jets_.data() + constCount_;
    for (const TEntry& entry : entries_) {
        // Made in place: a jet is four Floats' worth, not worth a copy.
        ::new (static_cast<void*>(out)) TExprJet(Apply(entry, jets_.data()));
        entry.Op->Output = out->Value; // for the operations that read outputs
        ++out;
    }
    // A derivative that overflowed on the way is none.
    return jets::Finish(jets_.back());
}

} // namespace qrv
