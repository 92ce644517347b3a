#include "QrvExprFastRun.h"

#include "QrvErrors.h"
#include "QrvFpu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

namespace qrv
{

namespace
{

// Instruction codes. An operand is the value just computed (held in a
// register), a Float slot (a constant or a stored value) or a 64-bit
// variable read in place; every table operation has one code per pair of
// operand forms.
constexpr int kAcc = 0, kSlot = 1, kVar = 2;

constexpr int kCheck = 1;   // test stored values
constexpr int kGeneric = 2; // an operation through its Execute
constexpr int kOpaque = 3;  // a call through its Execute
constexpr int kEnd = 4;     // + result form
constexpr int kCall1 = kEnd + 3;
constexpr int kCall2 = kCall1 + 3;
constexpr int kTable = kCall2 + 9;

constexpr int kFirstTableKind = static_cast<int>(TExprVmKind::Negate);

constexpr int Code(TExprVmKind kind, int a, int b)
{
    return kTable + (static_cast<int>(kind) - kFirstTableKind) * 9 + a * 3 + b;
}

template <int M> [[gnu::always_inline]] inline Float Get(const void* p, Float acc)
{
    if constexpr (M == kAcc)
        return acc;
    else if constexpr (M == kSlot)
        return *static_cast<const Float*>(p);
    else
        return static_cast<Float>(*static_cast<const double*>(p));
}

inline bool IsFinite(Float v)
{
    return std::fabs(v) <= std::numeric_limits<Float>::max();
}

// Exponent bits all set: an infinity or a NaN.
inline bool SlotFinite(const Float* p)
{
    std::uint16_t signExponent;
    std::memcpy(&signExponent, reinterpret_cast<const char*>(p) + 8, sizeof signExponent);
    return (signExponent & 0x7FFF) != 0x7FFF;
}

inline bool VariableFinite(const double* p)
{
    constexpr std::uint64_t kExponent = 0x7FF0000000000000u;
    std::uint64_t bits;
    std::memcpy(&bits, p, sizeof bits);
    return (bits & kExponent) != kExponent;
}

bool IsCall(TExprVmKind kind)
{
    return kind == TExprVmKind::CallUnary || kind == TExprVmKind::CallBinary || kind == TExprVmKind::Opaque;
}

// What building knows of each operation of the code list.
struct TOpInfo {
    int producer[3] = {-1, -1, -1}; // code index of each operand, -1 for a constant
    const Float* constant[3] = {};  // the constant's slot
    bool folded = false;
    bool mayBeNonFinite = false;
    bool sink = false;       // tested at the stretch's checkpoint
    bool store = false;      // stored to its output slot
    bool readsSlots = false; // reads its operands from output slots (Execute)
    bool emitted = false;
    int position = -1; // among the emitted value instructions
    int stretch = 0;   // calls before it
};

// Output slot -> code index, for resolving operand locations. The code
// list is a postfix program, so an operand computed by the code is almost
// always the latest value not yet used, and the other operands are
// constants: both found without a table. Anything else (a value read twice,
// a program built by hand) goes to an open hash table of at least twice as
// many entries as operations, built when first needed.
class TProducerFinder
{
public:
    TProducerFinder(const std::vector<TExprVirtMachOp*>& code, const std::vector<TExprVirtMachOp*>& constants)
        : code_(code), constants_(constants)
    {
        pending_.reserve(code.size());
    }

    // The code indices of the operation's operands (-1: not computed by
    // the code); then the operation's own value is the latest.
    TExprVirtMachOp::TOperands Resolve(std::size_t i, int (&producers)[3])
    {
        const auto operands = code_[i]->Operands();
        for (std::size_t k = operands.Count; k-- > 0;) // the last operand was computed last
            producers[k] = ProducerOf(operands.At[k]);
        pending_.push_back(static_cast<int>(i));
        return operands;
    }

private:
    static constexpr std::size_t kScannedConstants = 32;

    int ProducerOf(const Float* location)
    {
        if (!pending_.empty() && code_[pending_.back()]->OutputLocation() == location) {
            const int p = pending_.back();
            pending_.pop_back();
            return p;
        }
        if (constants_.size() <= kScannedConstants)
            for (const TExprVirtMachOp* c : constants_)
                if (c->OutputLocation() == location) return -1;
        return LookUp(location);
    }
    std::size_t Bucket(const Float* location) const
    {
        return (reinterpret_cast<std::uintptr_t>(location) >> 4) * 0x9E3779B97F4A7C15u >> 20 & (size_ - 1);
    }
    int LookUp(const Float* location)
    {
        if (slots_.empty()) {
            while (size_ < 2 * code_.size())
                size_ *= 2;
            slots_.assign(size_, {nullptr, -1});
            for (std::size_t i = 0; i < code_.size(); ++i) {
                std::size_t b = Bucket(code_[i]->OutputLocation());
                while (slots_[b].first != nullptr)
                    b = (b + 1) & (size_ - 1);
                slots_[b] = {code_[i]->OutputLocation(), static_cast<int>(i)};
            }
        }
        for (std::size_t b = Bucket(location);; b = (b + 1) & (size_ - 1)) {
            if (slots_[b].first == location) return slots_[b].second;
            if (slots_[b].first == nullptr) return -1;
        }
    }

    const std::vector<TExprVirtMachOp*>& code_;
    const std::vector<TExprVirtMachOp*>& constants_;
    std::vector<int> pending_; // code indices whose values are not yet used
    std::vector<std::pair<const Float*, int>> slots_;
    std::size_t size_ = 16;
};

} // namespace

const Float* TExprFastProgram::Intern(Float value)
{
    // Equal constants share a slot (compared bit for bit, so 0 and -0
    // stay apart); a long list is searched only at its start.
    const std::size_t limit = std::min<std::size_t>(pool_.size(), 64);
    for (std::size_t i = 0; i < limit; ++i)
        if (std::memcmp(&pool_[i], &value, 10) == 0) return &pool_[i];
    pool_.push_back(value); // capacity reserved: addresses stay fixed
    return &pool_.back();
}

// What building knows: each operation's facts, and the checkpoints
// emitted so far.
struct TExprFastProgram::TBuild {
    std::vector<TOpInfo> info;
    std::vector<std::pair<std::size_t, std::size_t>> checkRanges; // instruction, first check
    std::size_t nextSink = 0;                                     // sinks before this index are listed
};

TExprFastProgram::TExprFastProgram(const std::vector<TExprVirtMachOp*>& code,
                                   const std::vector<TExprVirtMachOp*>& constants, bool folding,
                                   TExprNativeUse native)
    : code_(code), constants_(constants)
{
    const std::size_t n = code.size();
    TBuild build;
    build.info.resize(n);
    folded_.assign(n, false);
    pool_.reserve(3 * n + 1);
    insns_.reserve(2 * n + 2);

    Analyse(build, folding);
    MarkTestsAndStores(build);
    ChooseInstructions(build);
    EmitInstructions(build);
    SetStoresAndChecks(build);
    EmitEnd(build);

    if (native != TExprNativeUse::Never && TExprNativeCode::Supported()) {
        untilNative_ = native == TExprNativeUse::AtOnce ? 0 : kNativeAfter;
        if (untilNative_ == 0) MakeNative();
    }
}

// Pass 1: operands, folding, stretches, which values may be non-finite.
void TExprFastProgram::Analyse(TBuild& build, bool folding)
{
    const std::vector<TExprVirtMachOp*>& code = code_;
    std::vector<TOpInfo>& info = build.info;
    const std::size_t n = code.size();
    TProducerFinder finder(code, constants_);
    int stretch = 0;
    for (std::size_t i = 0; i < n; ++i) {
        TExprVirtMachOp* op = code[i];
        TOpInfo& me = info[i];
        const TExprVmKind kind = op->Kind();
        const TExprOperationTraits& traits = OperationTraits(kind);
        int producers[3];
        const auto operands = finder.Resolve(i, producers);
        bool allConstant = true;
        for (std::size_t k = 0; k < operands.Count; ++k) {
            int p = producers[k];
            if (p >= 0 && folded_[p]) p = -1;
            me.producer[k] = p;
            // Operand slots outside the code list belong to constant
            // operations, whose value never changes.
            if (p < 0) me.constant[k] = Intern(*operands.At[k]);
            allConstant = allConstant && p < 0;
        }
        bool foldable = traits.Arity > 0;
        if (kind == TExprVmKind::CallUnary)
            foldable = static_cast<TExprCallVmOpT<Float, 1>*>(op)->Pure();
        else if (kind == TExprVmKind::CallBinary)
            foldable = static_cast<TExprCallVmOpT<Float, 2>*>(op)->Pure();
        if (folding && foldable && allConstant) {
            try {
                op->Execute(); // reads constant slots only; may raise
                me.folded = folded_[i] = true;
            } catch (const Exception&) {
                // left to fault at evaluation time, in its place
            }
        }
        if (me.folded) continue;
        me.stretch = stretch;
        if (IsCall(kind)) ++stretch;
        me.readsSlots = kind == TExprVmKind::Opaque || kind == TExprVmKind::Pure;
        if (traits.Arity > 0 && (traits.Flow == TExprFlow::Both || traits.Flow == TExprFlow::Left)) {
            me.mayBeNonFinite = traits.Fault == TExprFault::Result || traits.Fault == TExprFault::Quotient ||
                                (me.producer[0] >= 0 && info[me.producer[0]].mayBeNonFinite);
        }
    }
}

// Pass 2: which values are tested, which are stored. A value must be
// tested where a non-finite value would no longer show in the result:
// where the chain stops, in a later stretch (after a call that must not
// be made after a fault), and before a call that narrows it.
void TExprFastProgram::MarkTestsAndStores(TBuild& build)
{
    const std::vector<TExprVirtMachOp*>& code = code_;
    std::vector<TOpInfo>& info = build.info;
    const std::size_t n = code.size();
    for (std::size_t i = 0; i < n; ++i) {
        TOpInfo& me = info[i];
        if (me.folded) continue;
        const TExprVmKind kind = code[i]->Kind();
        const TExprOperationTraits& traits = OperationTraits(kind);
        for (int k = 0; k < 3; ++k) {
            const int p = me.producer[k];
            if (p < 0) continue;
            TOpInfo& producer = info[p];
            if (me.readsSlots) producer.store = true;
            bool stops = kind == TExprVmKind::Opaque || me.stretch != producer.stretch;
            if (traits.Arity > 0)
                stops =
                    stops || traits.Flow == TExprFlow::Stops || (traits.Flow == TExprFlow::Left && k == 1);
            if (stops && producer.mayBeNonFinite) producer.sink = producer.store = true;
        }
    }
}

// Pass 3: which operations get an instruction. A 64-bit variable is read
// in place by the operations that use it; it has its own instruction only
// when an operation reads it from its output slot.
void TExprFastProgram::ChooseInstructions(TBuild& build)
{
    const std::vector<TExprVirtMachOp*>& code = code_;
    std::vector<TOpInfo>& info = build.info;
    const std::size_t n = code.size();
    int position = 0;
    for (std::size_t i = 0; i < n; ++i) {
        TOpInfo& me = info[i];
        const TExprVmKind kind = code[i]->Kind();
        if (kind == TExprVmKind::Load64) {
            const double* location = static_cast<TExprVar64VmOp*>(code[i])->location_;
            if (std::find(vars_.begin(), vars_.end(), location) == vars_.end()) vars_.push_back(location);
        }
        me.emitted = !me.folded && (kind != TExprVmKind::Load64 || me.store);
        if (me.emitted) me.position = position++;
    }
}

// A check instruction for the sinks before `upTo` not yet listed; their
// slots go into checks_ in stretch order, and the instruction's range is
// set when all are listed.
[[gnu::always_inline]] inline void TExprFastProgram::EmitCheck(TBuild& build, std::size_t upTo)
{
    std::vector<TOpInfo>& info = build.info;
    std::size_t& nextSink = build.nextSink;
    const std::size_t first = checks_.size();
    for (; nextSink < upTo; ++nextSink)
        if (info[nextSink].sink && !info[nextSink].folded)
            checks_.push_back(code_[nextSink]->OutputLocation());
    if (checks_.size() == first) return;
    TInsn check;
    check.code = static_cast<std::uint16_t>(kCheck);
    build.checkRanges.emplace_back(insns_.size(), first);
    insns_.push_back(check);
}

// Where an instruction finds operand k of operation `consumer`: the value
// just computed, a slot (a constant or a stored value) or a variable read
// in place.
[[gnu::always_inline]] inline int TExprFastProgram::OperandForm(TBuild& build, int k, std::size_t consumer,
                                                                const void*& where)
{
    std::vector<TOpInfo>& info = build.info;
    const TOpInfo& me = info[consumer];
    const int p = me.producer[k];
    if (p < 0) {
        where = me.constant[k];
        return kSlot;
    }
    if (code_[p]->Kind() == TExprVmKind::Load64) {
        where = static_cast<TExprVar64VmOp*>(code_[p])->location_;
        return kVar;
    }
    if (info[p].position + 1 == info[consumer].position) return kAcc;
    info[p].store = true;
    where = code_[p]->OutputLocation();
    return kSlot;
}

// Pass 4: one instruction per emitted operation, with a check before each
// call.
void TExprFastProgram::EmitInstructions(TBuild& build)
{
    const std::vector<TExprVirtMachOp*>& code = code_;
    std::vector<TOpInfo>& info = build.info;
    const std::size_t n = code.size();
    for (std::size_t i = 0; i < n; ++i) {
        TOpInfo& me = info[i];
        if (!me.emitted) continue;
        TExprVirtMachOp* op = code[i];
        const TExprVmKind kind = op->Kind();
        TInsn in;
        in.op = op;
        in.dst = &op->Output;
        in.next = static_cast<std::uint32_t>(i + 1);
        if (IsCall(kind)) EmitCheck(build, i);
        if (kind == TExprVmKind::Opaque) {
            in.code = static_cast<std::uint16_t>(kOpaque);
        } else if (kind == TExprVmKind::Pure || kind == TExprVmKind::Load64) {
            in.code = static_cast<std::uint16_t>(kGeneric);
        } else if (kind == TExprVmKind::CallUnary) {
            in.f1 = static_cast<TExprCallVmOpT<Float, 1>*>(op)->function_;
            in.code = static_cast<std::uint16_t>(kCall1 + OperandForm(build, 0, i, in.a));
        } else if (kind == TExprVmKind::CallBinary) {
            in.f2 = static_cast<TExprCallVmOpT<Float, 2>*>(op)->function_;
            int a = OperandForm(build, 0, i, in.a), b = OperandForm(build, 1, i, in.b);
            in.code = static_cast<std::uint16_t>(kCall2 + a * 3 + b);
        } else {
            int a = OperandForm(build, 0, i, in.a),
                b = OperationTraits(kind).Arity == 2 ? OperandForm(build, 1, i, in.b) : 0;
            in.code = static_cast<std::uint16_t>(Code(kind, a, b));
        }
        insns_.push_back(in);
    }
    EmitCheck(build, n);
}

// Pass 5: the stores, and each check's range.
void TExprFastProgram::SetStoresAndChecks(const TBuild& build)
{
    const std::vector<TOpInfo>& info = build.info;
    // Stores are decided only now (an operand read from a slot marks its
    // producer), so set them on the table instructions afterwards; the
    // other instructions write their slots anyway.
    for (TInsn& in : insns_)
        if (in.code >= kTable) in.store = info[in.next - 1].store;
    // Each check's range ends where the next one begins.
    for (std::size_t k = 0; k < build.checkRanges.size(); ++k) {
        const std::size_t last =
            k + 1 < build.checkRanges.size() ? build.checkRanges[k + 1].second : checks_.size();
        insns_[build.checkRanges[k].first].a = checks_.data() + build.checkRanges[k].second;
        insns_[build.checkRanges[k].first].b = checks_.data() + last;
    }
}

// Pass 6: the end, which returns the result: the value just computed (tested
// when it may be non-finite), a folded constant or a variable.
void TExprFastProgram::EmitEnd(const TBuild& build)
{
    const std::vector<TExprVirtMachOp*>& code = code_;
    const std::vector<TOpInfo>& info = build.info;
    const std::size_t n = code.size();
    TInsn end;
    const std::size_t last = n - 1;
    if (info[last].folded) {
        end.code = static_cast<std::uint16_t>(kEnd + kSlot);
        end.a = Intern(code[last]->Output);
    } else if (!info[last].emitted) {
        end.code = static_cast<std::uint16_t>(kEnd + kVar);
        end.a = static_cast<TExprVar64VmOp*>(code[last])->location_;
    } else {
        end.code = static_cast<std::uint16_t>(kEnd + kAcc);
        end.testResult = info[last].mayBeNonFinite;
    }
    insns_.push_back(end);
}

void TExprFastProgram::MakeNative()
{
    untilNative_ = -1;
    native_ = TExprNativeCode::Generate(NativeSteps());
}

// The code list as the code generator sees it.
std::vector<TExprNativeStep> TExprFastProgram::NativeSteps() const
{
    const std::size_t n = code_.size();
    std::vector<TExprNativeStep> steps(n);
    TProducerFinder finder(code_, constants_);
    for (std::size_t i = 0; i < n; ++i) {
        TExprVirtMachOp* op = code_[i];
        TExprNativeStep& step = steps[i];
        int producers[3];
        const auto operands = finder.Resolve(i, producers);
        step.Kind = op->Kind();
        step.Folded = folded_[i];
        step.Output = &op->Output;
        for (std::size_t k = 0; k < operands.Count; ++k) {
            // A folded value is a constant in its slot, like a constant
            // operation's.
            const int p = producers[k] >= 0 && folded_[producers[k]] ? -1 : producers[k];
            step.Producer[k] = p;
            if (p < 0) step.Constant[k] = operands.At[k];
        }
        if (step.Kind == TExprVmKind::Load64) step.Variable = static_cast<TExprVar64VmOp*>(op)->location_;
        if (step.Kind == TExprVmKind::CallUnary)
            step.Function =
                reinterpret_cast<const void*>(static_cast<TExprCallVmOpT<Float, 1>*>(op)->function_);
        if (step.Kind == TExprVmKind::CallBinary)
            step.Function =
                reinterpret_cast<const void*>(static_cast<TExprCallVmOpT<Float, 2>*>(op)->function_);
    }
    return steps;
}

std::string TExprFastProgram::NativeListing(const TExprDumpNames& names) const
{
    return native_ ? native_->Listing(NativeSteps(), names) : std::string();
}

Float TExprFastProgram::NativeFault()
{
    const TExprNativeCode::TFault fault = native_->TakeFault();
    if (fault.CallResult) RaiseFloatFault(code_[fault.Index]->Output);
    return Recover(fault.Index);
}

[[gnu::always_inline]] inline Float TExprFastProgram::RunNative()
{
    for (const double* p : vars_)
        if (!VariableFinite(p)) [[unlikely]]
            return Recover(0);
    const Float result = native_->Run();
    if (native_->Faulted()) [[unlikely]]
        return NativeFault();
    return result;
}

Float TExprFastProgram::Recover(std::size_t stretch)
{
    // The calls before the stretch were made and stored their results; the
    // folded ones hold their values from building. Everything else runs
    // checked and raises the first error.
    for (std::size_t i = 0; i < code_.size(); ++i) {
        TExprVirtMachOp* op = code_[i];
        if (IsCall(op->Kind()) && (i < stretch || folded_[i])) continue;
        op->Execute();
    }
    return code_.back()->Output;
}

[[gnu::always_inline]] inline Float TExprFastProgram::Run()
{
    if (native_) [[likely]]
        return RunNative();
    if (untilNative_ > 0 && --untilNative_ == 0) {
        MakeNative();
        if (native_) return RunNative();
    }
    for (const double* p : vars_)
        if (!VariableFinite(p)) [[unlikely]]
            return Recover(0);
    std::size_t stretch = 0;
    Float acc = 0;
    for (const TInsn* in = insns_.data();; ++in) {
        switch (in->code) {
        case kCheck:
            for (auto* p = static_cast<const Float* const*>(in->a); p != in->b; ++p)
                if (!SlotFinite(*p)) [[unlikely]]
                    return Recover(stretch);
            continue;
        case kGeneric:
            try {
                in->op->Execute();
            } catch (const Exception&) {
                return Recover(stretch);
            }
            acc = in->op->Output;
            continue;
        case kOpaque:
            in->op->Execute();
            acc = in->op->Output;
            stretch = in->next;
            continue;
        case kEnd + kAcc:
            if (in->testResult && !IsFinite(acc)) [[unlikely]]
                return Recover(stretch);
            return acc;
        case kEnd + kSlot:
            return Get<kSlot>(in->a, acc);
        case kEnd + kVar:
            return Get<kVar>(in->a, acc);

            // The direct call path: arguments tested, the function called,
            // its result checked as the call operation checks it and kept
            // in the operation's slot for a checked re-run.
#define QRV_CALL1(A)                                                                                         \
    case kCall1 + A: {                                                                                       \
        const Float a = Get<A>(in->a, acc);                                                                  \
        if (!IsFinite(a)) [[unlikely]]                                                                       \
            return Recover(stretch);                                                                         \
        acc = in->f1(a);                                                                                     \
        goto called;                                                                                         \
    }
#define QRV_CALL2(A, B)                                                                                      \
    case kCall2 + A * 3 + B: {                                                                               \
        const Float a = Get<A>(in->a, acc), b = Get<B>(in->b, acc);                                          \
        if (!IsFinite(a) || !IsFinite(b)) [[unlikely]]                                                       \
            return Recover(stretch);                                                                         \
        acc = in->f2(a, b);                                                                                  \
        goto called;                                                                                         \
    }
            QRV_CALL1(kAcc)
            QRV_CALL1(kSlot)
            QRV_CALL1(kVar)
            QRV_CALL2(kAcc, kAcc)
            QRV_CALL2(kAcc, kSlot)
            QRV_CALL2(kAcc, kVar)
            QRV_CALL2(kSlot, kAcc)
            QRV_CALL2(kSlot, kSlot)
            QRV_CALL2(kSlot, kVar)
            QRV_CALL2(kVar, kAcc)
            QRV_CALL2(kVar, kSlot)
            QRV_CALL2(kVar, kVar)
#undef QRV_CALL1
#undef QRV_CALL2

            // The operator table: one case per operation and operand forms.
            // Integer operations raise on a fault; any raise finishes the
            // program checked.
#define QRV_APPLY(F, expression)                                                                             \
    if constexpr (TExprFault::F == TExprFault::Raises) {                                                     \
        try {                                                                                                \
            acc = expression;                                                                                \
        } catch (const Exception&) {                                                                         \
            return Recover(stretch);                                                                         \
        }                                                                                                    \
    } else {                                                                                                 \
        acc = expression;                                                                                    \
    }
#define QRV_UNARY_CASE(K, F, A)                                                                              \
    case Code(TExprVmKind::K, A, 0):                                                                         \
        QRV_APPLY(F, rules::K(Get<A>(in->a, acc)))                                                           \
        break;
#define QRV_BINARY_CASE(K, F, A, B)                                                                          \
    case Code(TExprVmKind::K, A, B):                                                                         \
        QRV_APPLY(F, rules::K(Get<A>(in->a, acc), Get<B>(in->b, acc)))                                       \
        break;
#define QRV_UNARY_CASES(C, K, M, F, W)                                                                       \
    QRV_UNARY_CASE(K, F, kAcc) QRV_UNARY_CASE(K, F, kSlot) QRV_UNARY_CASE(K, F, kVar)
#define QRV_BINARY_CASES(C, K, M, F, W)                                                                      \
    QRV_BINARY_CASE(K, F, kAcc, kAcc)                                                                        \
    QRV_BINARY_CASE(K, F, kAcc, kSlot)                                                                       \
    QRV_BINARY_CASE(K, F, kAcc, kVar)                                                                        \
    QRV_BINARY_CASE(K, F, kSlot, kAcc)                                                                       \
    QRV_BINARY_CASE(K, F, kSlot, kSlot)                                                                      \
    QRV_BINARY_CASE(K, F, kSlot, kVar)                                                                       \
    QRV_BINARY_CASE(K, F, kVar, kAcc) QRV_BINARY_CASE(K, F, kVar, kSlot) QRV_BINARY_CASE(K, F, kVar, kVar)
            QRV_EXPR_UNARY_OPERATIONS(QRV_UNARY_CASES)
            QRV_EXPR_BINARY_OPERATIONS(QRV_BINARY_CASES)
#undef QRV_UNARY_CASES
#undef QRV_BINARY_CASES
#undef QRV_UNARY_CASE
#undef QRV_BINARY_CASE
#undef QRV_APPLY
        default:
            __builtin_unreachable();
        }
        if (in->store) in->op->Output = acc;
        continue;
    called:
        if (!IsFinite(acc)) [[unlikely]]
            RaiseFloatFault(acc);
        in->op->Output = acc;
        stretch = in->next;
    }
}

Float RunFastProgram(TExprFastProgram& program)
{
    return program.Run();
}

// ---- listing --------------------------------------------------------------

std::string TExprFastProgram::Listing() const
{
    std::string text;
    auto entry = [&](std::string_view item) {
        if (!text.empty()) text += " | ";
        text += item;
    };
    auto operand = [&](int form, const void* where) -> std::string {
        if (form == kAcc) return "acc";
        if (form == kVar) {
            auto it = std::find(vars_.begin(), vars_.end(), static_cast<const double*>(where));
            return "var" + std::to_string(it - vars_.begin() + 1);
        }
        const auto* slot = static_cast<const Float*>(where);
        if (slot >= pool_.data() && slot < pool_.data() + pool_.size()) {
            char number[64];
            std::snprintf(number, sizeof number, "%.18Lg", *slot);
            return number;
        }
        for (std::size_t i = 0; i < code_.size(); ++i)
            if (code_[i]->OutputLocation() == slot) return "@" + std::to_string(i + 1);
        return "?";
    };
    if (!vars_.empty()) {
        std::string item = "start";
        for (std::size_t i = 0; i < vars_.size(); ++i)
            item += " var" + std::to_string(i + 1);
        entry(item);
    }
    for (const TInsn& in : insns_) {
        std::string item;
        if (in.code == kCheck) {
            item = "check " + std::to_string(static_cast<const Float* const*>(in.b) -
                                             static_cast<const Float* const*>(in.a));
        } else if (in.code == kGeneric || in.code == kOpaque) {
            item = std::string(in.op->Mnemonic());
        } else if (in.code >= kEnd && in.code < kCall1) {
            item = "end " + operand(in.code - kEnd, in.a);
        } else if (in.code >= kCall1 && in.code < kCall2) {
            item = "call " + operand(in.code - kCall1, in.a);
        } else if (in.code >= kCall2 && in.code < kTable) {
            const int forms = in.code - kCall2;
            item = "call " + operand(forms / 3, in.a) + " " + operand(forms % 3, in.b);
        } else {
            const int forms = (in.code - kTable) % 9;
            const TExprOperationTraits& traits = OperationTraits(in.op->Kind());
            item = std::string(traits.Mnemonic) + " " + operand(forms / 3, in.a);
            if (traits.Arity == 2) item += " " + operand(forms % 3, in.b);
        }
        if (in.store) item += " >@" + std::to_string(in.next);
        entry(item);
    }
    return text;
}

} // namespace qrv
