#include "QrvExprJetCode.h"

#include "QrvExprNativeForms.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#if defined(__x86_64__) && defined(__linux__)
#define QRV_JET_CODE 1
#else
#define QRV_JET_CODE 0
#endif

namespace qrv
{

namespace
{

using native::TBase;
using native::TForm;

constexpr std::size_t kRegisters = 8;
constexpr std::size_t kWorkRegisters = 3;

// A part of a jet (its value, first or second derivative) as the generator
// knows it: absent (zero by shape), a constant, a variable in memory (a
// double or a Float), or a computed value, named by its tag, in a register
// or stored in its home slot.
struct TPart {
    enum class TKind : std::uint8_t { None, Const, Double, Wide, Tag, Top };
    TKind Kind = TKind::None;
    Float Value = 0;
    const void* Address = nullptr;
    int Tag = -1;

    bool Present() const { return Kind != TKind::None; }
    bool IsConst() const { return Kind == TKind::Const; }
    bool IsOne() const { return Kind == TKind::Const && Value == 1; }
};

TPart ConstPart(Float value)
{
    TPart part;
    part.Kind = TPart::TKind::Const;
    part.Value = value;
    return part;
}

TPart MemoryPart(const void* address, bool wide)
{
    TPart part;
    part.Kind = wide ? TPart::TKind::Wide : TPart::TKind::Double;
    part.Address = address;
    return part;
}

// The value being computed, in st0, not yet a part of any jet.
TPart TopPart()
{
    TPart part;
    part.Kind = TPart::TKind::Top;
    return part;
}

// One term of a sum: A times B (B absent: A alone), A doubled first when
// Twice, subtracted when Negative.
struct TTerm {
    bool Present = false;
    TPart A, B;
    bool Twice = false;
    bool Negative = false;
};

TTerm Term(bool present, TPart a, TPart b = {}, bool negative = false, bool twice = false)
{
    return {present, a, b, twice, negative};
}

enum class TArith { Add, Subtract, Multiply, Divide };

Float Fold(TArith op, Float l, Float r)
{
    switch (op) {
    case TArith::Add:
        return l + r;
    case TArith::Subtract:
        return l - r;
    case TArith::Multiply:
        return l * r;
    default:
        return l / r;
    }
}

} // namespace

class TExprJetCodeWriter
{
public:
    TExprJetCodeWriter(const std::vector<TExprJetCodeStep>& steps, TExprJet* slots, std::size_t constCount)
        : steps_(steps), slots_(slots), constCount_(constCount)
    {
    }
    std::unique_ptr<TExprJetCode> Write();

private:
    struct TTagState {
        int Refs = 0;
        bool InRegister = true;
        Float* Home = nullptr;
    };
    struct TItem {
        TPart Part[3]; // value, first, second derivative
        int Uses = 0;
    };

    // The register stack: regs_[0] is the deepest, the back is st0; each
    // holds a tag, or -1 for the value being computed.
    int Position(std::size_t index) const { return static_cast<int>(regs_.size() - 1 - index); }
    int PositionOfTag(int tag) const;
    void Reserve();
    void MakeRoom();
    template <class Compute> void MakeRoomFor(Compute& compute);
    std::size_t Victim() const;
    std::size_t NextUse(int tag) const;
    void Spill(std::size_t index);
    void SpillAll();
    void Compact();

    void MemoryOp(TForm form, const TPart& part);
    void Load(const TPart& part);
    void Apply(TArith op, const TPart& part);
    TPart Finish(Float* home);
    void Store(const TPart& part, const void* address);
    // Whether `address` is a part of a slot, which holds its constant
    // parts from the start.
    bool Prefilled(const void* address) const
    {
        const auto* at = static_cast<const std::uint8_t*>(address);
        const auto* begin = reinterpret_cast<const std::uint8_t*>(slots_);
        return at >= begin && at < begin + sizeof(TExprJet) * (constCount_ + steps_.size());
    }

    TPart Product(const TTerm& term);
    TPart Sum(std::initializer_list<TTerm> terms);
    TPart Loaded(const TPart& part);
    void Accumulate(const TPart& part);
    TPart Negated(const TPart& part);
    TPart Quotient(const TPart& numerator, const TPart& divisor);
    TPart Kept(const TPart& part, Float* home);
    void Test(std::initializer_list<const TPart*> parts);
    TPart Comparison(TExprVmKind relation, const TPart& l, const TPart& r);

    bool Step(std::size_t index);
    void Release(std::uint32_t slot);
    void Keep(TItem& item, int p, const TPart& part);

    const std::vector<TExprJetCodeStep>& steps_;
    TExprJet* slots_;
    std::size_t constCount_;
    TExprJetCode* code_ = nullptr;
    native::TCodeBuffer buffer_;
    std::vector<std::uint8_t> data_;
    std::vector<std::pair<std::size_t, std::size_t>> fixups_; // disp32 position, data offset
    std::vector<TTagState> tags_;
    std::vector<int> regs_;
    std::vector<TItem> items_;
    std::vector<std::vector<std::size_t>> readers_; // per slot, the steps that take it
    std::size_t current_ = 0;                       // the step being written
    std::size_t truthTable_ = 0;                    // data offset of -1, 0, 1 as doubles
    bool consume_ = false; // the step reads each operand part once: it may compute in their registers
    bool trial_ = false;   // MakeRoomFor's trial: pushes only count
    std::size_t peak_ = 0; // the most registers the trial held
    bool ok_ = true;
};

int TExprJetCodeWriter::PositionOfTag(int tag) const
{
    for (std::size_t i = 0; i < regs_.size(); ++i)
        if (regs_[i] == tag) return Position(i);
    return -1;
}

// A push while values are being computed: MakeRoom made the room.
void TExprJetCodeWriter::Reserve()
{
    if (trial_)
        peak_ = std::max(peak_, regs_.size() + 1);
    else if (regs_.size() >= kRegisters)
        ok_ = false;
}

// Room for the values one part's computation holds at once (a sum, the
// product being added, a wide operand): dead registers dropped, then the
// deepest live values stored to their homes. Called only between
// computations, so that no value being computed is moved.
void TExprJetCodeWriter::MakeRoom()
{
    Compact();
    while (regs_.size() > kRegisters - kWorkRegisters)
        Spill(Victim());
}

// Room for exactly what `compute` pushes: it is written once on trial and
// taken back, and values are stored until it fits (a stored operand may
// then need a push of its own, so the trial runs again).
template <class Compute> void TExprJetCodeWriter::MakeRoomFor(Compute& compute)
{
    for (;;) {
        Compact();
        const std::size_t bytes = buffer_.Size(), fixups = fixups_.size(), data = data_.size();
        const std::vector<int> regs = regs_;
        const std::vector<TTagState> tags = tags_;
        const bool ok = ok_;
        trial_ = true;
        peak_ = regs_.size();
        compute();
        trial_ = false;
        buffer_.Bytes().resize(bytes);
        fixups_.resize(fixups);
        data_.resize(data);
        regs_ = regs;
        tags_ = tags;
        ok_ = ok;
        if (peak_ <= kRegisters || regs_.empty()) return;
        Spill(Victim());
    }
}

// The register to store: the one read again last (the current step's
// operands and result are read now), the deepest of equals.
std::size_t TExprJetCodeWriter::Victim() const
{
    std::size_t victim = 0, latest = 0;
    for (std::size_t i = 0; i < regs_.size(); ++i) {
        const std::size_t next = NextUse(regs_[i]);
        if (next > latest) {
            latest = next;
            victim = i;
        }
    }
    return victim;
}

// The step that reads a tag next: the first one after the current step
// that takes a jet holding it (the end, for the result).
std::size_t TExprJetCodeWriter::NextUse(int tag) const
{
    std::size_t next = steps_.size() + 1;
    for (std::size_t slot = constCount_; slot <= constCount_ + current_; ++slot) {
        const TItem& item = items_[slot];
        bool holds = false;
        for (const TPart& part : item.Part)
            holds = holds || (part.Kind == TPart::TKind::Tag && part.Tag == tag);
        if (!holds) continue;
        if (slot == constCount_ + current_) return current_;
        if (item.Uses <= 0) continue;
        for (std::size_t reader : readers_[slot])
            if (reader >= current_) {
                next = std::min(next, reader);
                break;
            }
        if (readers_[slot].empty() || readers_[slot].back() < current_) next = std::min(next, steps_.size());
    }
    return next;
}

void TExprJetCodeWriter::Spill(std::size_t index)
{
    const int tag = regs_[index];
    const int position = Position(index);
    if (position == 1)
        buffer_.Emit(TForm::FxchSt1);
    else if (position > 1)
        buffer_.EmitStackRegister(TForm::FxchSt, position);
    std::swap(regs_[index], regs_.back());
    buffer_.EmitAddress(TForm::MovRax, tags_[tag].Home);
    buffer_.EmitMemory(TForm::FstpTword, {TBase::Rax});
    regs_.pop_back();
    tags_[tag].InRegister = false;
}

// Before a call, which may use every register: each live value to its
// home, top first.
void TExprJetCodeWriter::SpillAll()
{
    Compact();
    while (!regs_.empty())
        Spill(regs_.size() - 1);
}

// Drops the registers whose tags no part refers to any more: fstp st(i)
// moves st0 into the dead register and pops.
void TExprJetCodeWriter::Compact()
{
    for (;;) {
        std::size_t dead = regs_.size();
        for (std::size_t i = 0; i < regs_.size(); ++i)
            if (regs_[i] >= 0 && tags_[regs_[i]].Refs == 0) dead = i;
        if (dead == regs_.size()) return;
        const int position = Position(dead);
        if (position == 0)
            buffer_.Emit(TForm::FstpSt0);
        else
            buffer_.EmitStackRegister(TForm::FstpSt, position);
        regs_[dead] = regs_.back();
        regs_.pop_back();
    }
}

// An instruction with a memory operand at the part's place: a constant of
// the data area, or an absolute address read through rax.
void TExprJetCodeWriter::MemoryOp(TForm form, const TPart& part)
{
    if (part.Kind == TPart::TKind::Const) {
        const bool narrow = native::ExactDouble(part.Value);
        const std::size_t at = narrow ? native::DataDouble(data_, static_cast<double>(part.Value))
                                      : native::DataFloat(data_, part.Value);
        fixups_.emplace_back(buffer_.EmitMemory(form, {TBase::Rip}), at);
        return;
    }
    const void* address = part.Kind == TPart::TKind::Tag ? tags_[part.Tag].Home : part.Address;
    buffer_.EmitAddress(TForm::MovRax, address);
    buffer_.EmitMemory(form, {TBase::Rax});
}

// Pushes a copy of the part.
void TExprJetCodeWriter::Load(const TPart& part)
{
    Reserve();
    switch (part.Kind) {
    case TPart::TKind::Const:
        if (part.Value == 0 && !std::signbit(part.Value))
            buffer_.Emit(TForm::Fldz);
        else if (part.Value == 1)
            buffer_.Emit(TForm::Fld1);
        else
            MemoryOp(native::ExactDouble(part.Value) ? TForm::FldQword : TForm::FldTword, part);
        break;
    case TPart::TKind::Double:
        MemoryOp(TForm::FldQword, part);
        break;
    case TPart::TKind::Tag:
        if (tags_[part.Tag].InRegister) {
            buffer_.EmitStackRegister(TForm::FldSt, PositionOfTag(part.Tag));
            break;
        }
        [[fallthrough]];
    case TPart::TKind::Wide:
        MemoryOp(TForm::FldTword, part);
        break;
    default:
        ok_ = false;
        return;
    }
    regs_.push_back(-1);
}

// st0 = st0 op part: with the register or the double in memory as the
// operand, or else with the part pushed and popped again.
void TExprJetCodeWriter::Apply(TArith op, const TPart& part)
{
    static constexpr TForm kRegister[] = {TForm::FaddSt0, TForm::FsubSt0, TForm::FmulSt0, TForm::FdivSt0};
    static constexpr TForm kDouble[] = {TForm::FaddQword, TForm::FsubQword, TForm::FmulQword,
                                        TForm::FdivQword};
    static constexpr TForm kPopped[] = {TForm::Faddp, TForm::Fsubp, TForm::Fmulp, TForm::Fdivp};
    const auto k = static_cast<std::size_t>(op);
    if (part.Kind == TPart::TKind::Tag && tags_[part.Tag].InRegister) {
        buffer_.EmitStackRegister(kRegister[k], PositionOfTag(part.Tag));
        return;
    }
    if (part.Kind == TPart::TKind::Double || (part.IsConst() && native::ExactDouble(part.Value))) {
        MemoryOp(kDouble[k], part);
        return;
    }
    Load(part);
    buffer_.Emit(kPopped[k]);
    regs_.pop_back();
}

// The value in st0 becomes a part, with its home for a spill.
TPart TExprJetCodeWriter::Finish(Float* home)
{
    const int tag = static_cast<int>(tags_.size());
    tags_.push_back({0, true, home});
    regs_.back() = tag;
    TPart part;
    part.Kind = TPart::TKind::Tag;
    part.Tag = tag;
    return part;
}

// A part computed now (on top) is kept as a part of its own; any other is
// the part it already is.
TPart TExprJetCodeWriter::Kept(const TPart& part, Float* home)
{
    return part.Kind == TPart::TKind::Top ? Finish(home) : part;
}

void TExprJetCodeWriter::Store(const TPart& part, const void* address)
{
    if (part.IsConst() && Prefilled(address)) return;
    if (part.Kind == TPart::TKind::Tag && !tags_[part.Tag].InRegister && tags_[part.Tag].Home == address)
        return;
    if (part.Kind == TPart::TKind::Wide && part.Address == address) return;
    Load(part);
    buffer_.EmitAddress(TForm::MovRax, address);
    buffer_.EmitMemory(TForm::FstpTword, {TBase::Rax});
    regs_.pop_back();
}

// A term's product: folded where both factors are constants, the other
// factor itself where one is exactly one, else computed on top.
TPart TExprJetCodeWriter::Product(const TTerm& term)
{
    TPart a = term.A;
    bool twice = term.Twice;
    if (twice && a.IsConst()) {
        a = ConstPart(a.Value + a.Value);
        twice = false;
    }
    const TPart& b = term.B;
    if (!b.Present()) {
        if (!twice) return a;
    } else if (!twice) {
        if (a.IsConst() && b.IsConst()) return ConstPart(a.Value * b.Value);
        if (b.IsOne()) return a;
        if (a.IsOne()) return b;
    }
    Load(a);
    if (twice) buffer_.EmitStackRegister(TForm::FaddSt0, 0);
    if (b.Present() && !b.IsOne()) Apply(TArith::Multiply, b);
    return TopPart();
}

TPart TExprJetCodeWriter::Loaded(const TPart& part)
{
    Accumulate(part);
    return TopPart();
}

// The part on top to compute with: its own register, brought up, where
// the step may consume it (no other jet holds it and nothing reads it
// after), else a copy.
void TExprJetCodeWriter::Accumulate(const TPart& part)
{
    if (!consume_ || part.Kind != TPart::TKind::Tag || !tags_[part.Tag].InRegister ||
        tags_[part.Tag].Refs != 1) {
        Load(part);
        return;
    }
    for (int k = 0; k < steps_[current_].Arity; ++k) {
        const TItem& item = items_[steps_[current_].Operand[k]];
        for (const TPart& held : item.Part)
            if (held.Kind == TPart::TKind::Tag && held.Tag == part.Tag && item.Uses != 1) {
                Load(part);
                return;
            }
    }
    const int position = PositionOfTag(part.Tag);
    if (position == 1)
        buffer_.Emit(TForm::FxchSt1);
    else if (position > 1)
        buffer_.EmitStackRegister(TForm::FxchSt, position);
    std::swap(regs_[regs_.size() - 1 - static_cast<std::size_t>(position)], regs_.back());
    regs_.back() = -1;
    tags_[part.Tag].InRegister = false;
}

TPart TExprJetCodeWriter::Negated(const TPart& part)
{
    if (part.IsConst()) return ConstPart(-part.Value);
    if (part.Kind != TPart::TKind::Top) Accumulate(part);
    buffer_.Emit(TForm::Fchs);
    return TopPart();
}

// The present terms added (or subtracted) left to right, as the rules'
// SumOfParts does; the first term alone, negated when it is subtracted.
TPart TExprJetCodeWriter::Sum(std::initializer_list<TTerm> terms)
{
    TPart sum;
    for (const TTerm& term : terms) {
        if (!term.Present) continue;
        if (!sum.Present()) {
            sum = Product(term);
            if (term.Negative) sum = Negated(sum);
            continue;
        }
        const bool constTerm = term.A.IsConst() && (!term.B.Present() || term.B.IsConst());
        if (sum.IsConst() && constTerm) {
            const Float t = Product(term).Value;
            sum = ConstPart(Fold(term.Negative ? TArith::Subtract : TArith::Add, sum.Value, t));
            continue;
        }
        if (sum.Kind != TPart::TKind::Top) Accumulate(sum);
        const TPart t = Product(term);
        const TArith op = term.Negative ? TArith::Subtract : TArith::Add;
        if (t.Kind == TPart::TKind::Top) {
            buffer_.Emit(op == TArith::Add ? TForm::Faddp : TForm::Fsubp);
            regs_.pop_back();
        } else {
            Apply(op, t);
        }
        sum = TopPart();
    }
    return sum;
}

TPart TExprJetCodeWriter::Quotient(const TPart& numerator, const TPart& divisor)
{
    if (numerator.IsConst() && divisor.IsConst()) return ConstPart(numerator.Value / divisor.Value);
    if (numerator.Kind != TPart::TKind::Top) Load(numerator);
    Apply(TArith::Divide, divisor);
    return TopPart();
}

// The truth value of l relation r (0 or 1, from the truth table), as the
// value's code computes it. A tie, or a NaN, is a step or a fault: it sets
// the fault flag, and the rules answer.
TPart TExprJetCodeWriter::Comparison(TExprVmKind relation, const TPart& l, const TPart& r)
{
    Load(l);
    Load(r);
    // fcomip st0, st1 compares r with l; then the l left over is popped.
    buffer_.Emit(TForm::FcomipSt1);
    buffer_.Emit(TForm::FstpSt0);
    regs_.pop_back();
    regs_.pop_back();
    buffer_.EmitByteRegister(native::SetFormOf(relation), native::TByteRegister::Al);
    buffer_.EmitByteRegister(TForm::Sete, native::TByteRegister::Cl); // equal or unordered
    buffer_.EmitAddress(TForm::MovRdx, &code_->fault_);
    buffer_.Emit(TForm::OrAtRdxCl);
    buffer_.Emit(TForm::MovzxEaxAl);
    fixups_.emplace_back(buffer_.EmitMemory(TForm::LeaRcx, {TBase::Rip}), truthTable_ + 8); // the 0.0 entry
    buffer_.EmitMemory(TForm::FldQword, {TBase::RcxRax8});
    regs_.push_back(-1);
    return TopPart();
}

// poison += the sum of each part's p - p: zero while every part is finite,
// a NaN after any other. Constants that are finite need no test.
void TExprJetCodeWriter::Test(std::initializer_list<const TPart*> parts)
{
    bool any = false;
    for (const TPart* part : parts) {
        if (!part->Present() || (part->IsConst() && std::isfinite(part->Value))) continue;
        Load(*part);
        buffer_.Emit(TForm::FsubSt0St0);
        if (any) {
            buffer_.Emit(TForm::Faddp);
            regs_.pop_back();
        }
        any = true;
    }
    if (!any) return;
    buffer_.EmitAddress(TForm::MovRax, &code_->poison_);
    buffer_.EmitMemory(TForm::FaddQword, {TBase::Rax});
    buffer_.EmitMemory(TForm::FstpQword, {TBase::Rax});
    regs_.pop_back();
}

// A part of a jet from now on: its tag is not dropped while it is one.
void TExprJetCodeWriter::Keep(TItem& item, int p, const TPart& part)
{
    item.Part[p] = part;
    if (part.Kind == TPart::TKind::Tag) tags_[part.Tag].Refs += 1;
}

void TExprJetCodeWriter::Release(std::uint32_t slot)
{
    TItem& item = items_[slot];
    if (--item.Uses > 0) return;
    for (const TPart& part : item.Part)
        if (part.Kind == TPart::TKind::Tag) tags_[part.Tag].Refs -= 1;
}

// One operation's jet, following its rule in QrvExprOperations.h term by
// term. Each part is computed from a clean stack (MakeRoom) and kept as a
// part before the next begins.
bool TExprJetCodeWriter::Step(std::size_t index)
{
    using TWork = TExprJetCodeStep::TWork;
    const TExprJetCodeStep& step = steps_[index];
    const std::size_t slot = constCount_ + index;
    TExprJet& home = slots_[slot];
    TItem& out = items_[slot];
    const TItem* operand[2] = {nullptr, nullptr};
    for (int k = 0; k < step.Arity; ++k) {
        if (step.Operand[k] >= slot || items_[step.Operand[k]].Uses <= 0) return false;
        operand[k] = &items_[step.Operand[k]];
    }
    Float* const homes[3] = {&home.Value, &home.D1, &home.D2};
    auto part = [&](int p, auto&& compute) {
        MakeRoomFor(compute);
        Keep(out, p, Kept(compute(), homes[p]));
    };
    auto has = [](const TItem* item, int p) { return item->Part[p].Present(); };
    consume_ = step.Work == TWork::Negate || step.Work == TWork::Add || step.Work == TWork::Subtract;
    auto value = [&](TArith op) {
        part(0, [&] {
            Accumulate(operand[0]->Part[0]);
            Apply(op, operand[1]->Part[0]);
            return TopPart();
        });
    };
    switch (step.Work) {
    case TWork::Constant:
        Keep(out, 0, ConstPart(step.Value));
        break;
    case TWork::Load:
        Keep(out, 0, MemoryPart(step.Location, step.Wide));
        if (step.Varies) Keep(out, 1, ConstPart(1));
        break;
    case TWork::Negate: {
        const TItem& u = *operand[0];
        for (int p = 0; p < 3; ++p)
            if (has(&u, p)) part(p, [&] { return p == 0 ? Negated(Loaded(u.Part[0])) : Negated(u.Part[p]); });
        break;
    }
    case TWork::Add:
    case TWork::Subtract: {
        const TItem& l = *operand[0];
        const TItem& r = *operand[1];
        const bool sub = step.Work == TWork::Subtract;
        value(sub ? TArith::Subtract : TArith::Add);
        for (int p = 1; p <= 2; ++p)
            part(p, [&] { return Sum({Term(has(&l, p), l.Part[p]), Term(has(&r, p), r.Part[p], {}, sub)}); });
        break;
    }
    case TWork::Multiply: {
        const TItem& l = *operand[0];
        const TItem& r = *operand[1];
        value(TArith::Multiply);
        const TPart &lv = l.Part[0], &rv = r.Part[0];
        const bool lVaries = has(&l, 1), rVaries = has(&r, 1);
        part(1, [&] { return Sum({Term(lVaries, l.Part[1], rv), Term(rVaries, lv, r.Part[1])}); });
        part(2, [&] {
            return Sum({Term(has(&l, 2), l.Part[2], rv),
                        Term(lVaries && rVaries, l.Part[1], r.Part[1], false, true),
                        Term(has(&r, 2), lv, r.Part[2])});
        });
        break;
    }
    case TWork::Divide: {
        const TItem& l = *operand[0];
        const TItem& r = *operand[1];
        const TPart& rv = r.Part[0];
        MakeRoom();
        Test({&rv});
        value(TArith::Divide);
        const TPart& q = out.Part[0];
        const bool rVaries = has(&r, 1);
        if (has(&l, 1) || rVaries)
            part(1, [&] {
                return Quotient(Sum({Term(has(&l, 1), l.Part[1]), Term(rVaries, q, r.Part[1], true)}), rv);
            });
        const TPart& d1 = out.Part[1];
        if (has(&l, 2) || rVaries)
            part(2, [&] {
                return Quotient(Sum({Term(has(&l, 2), l.Part[2]), Term(rVaries, d1, r.Part[1], true, true),
                                     Term(has(&r, 2), q, r.Part[2], true)}),
                                rv);
            });
        break;
    }
    case TWork::Compare:
        // A truth value would hide an operand that is not finite.
        MakeRoom();
        Test({&operand[0]->Part[0], &operand[1]->Part[0]});
        MakeRoom();
        Keep(out, 0, Kept(Comparison(step.Relation, operand[0]->Part[0], operand[1]->Part[0]), homes[0]));
        Keep(out, 1, ConstPart(0));
        break;
    case TWork::Helper: {
        SpillAll();
        for (int k = 0; k < step.Arity; ++k) {
            TExprJet& at = slots_[step.Operand[k]];
            const Float* places[3] = {&at.Value, &at.D1, &at.D2};
            for (int p = 0; p < (step.Steps ? 1 : 3); ++p)
                if (has(operand[k], p)) Store(operand[k]->Part[p], places[p]);
        }
        buffer_.EmitAddress(TForm::MovRdi, step.Argument);
        buffer_.EmitAddress(TForm::MovRax, reinterpret_cast<const void*>(step.Helper));
        buffer_.Emit(TForm::CallRax);
        Keep(out, 0, MemoryPart(&home.Value, true));
        if (step.Varies) Keep(out, 1, step.Steps ? ConstPart(0) : MemoryPart(&home.D1, true));
        if (step.Curved && !step.Steps) Keep(out, 2, MemoryPart(&home.D2, true));
        break;
    }
    }
    for (int k = 0; k < step.Arity; ++k)
        Release(step.Operand[k]);
    // The slot's flags, absent and constant parts, as the rules would leave
    // them, for a helper that reads this jet.
    home.Varies = out.Part[1].Present();
    home.Curved = out.Part[2].Present();
    home.HasD1 = home.HasD2 = true;
    for (int p = 0; p < 3; ++p) {
        if (!out.Part[p].Present()) *homes[p] = 0;
        if (out.Part[p].IsConst()) *homes[p] = out.Part[p].Value;
    }
    return ok_;
}

std::unique_ptr<TExprJetCode> TExprJetCodeWriter::Write()
{
#if QRV_JET_CODE
    if (steps_.empty()) return nullptr;
    auto code = std::unique_ptr<TExprJetCode>(new TExprJetCode);
    code_ = code.get();
    items_.resize(constCount_ + steps_.size());
    for (std::size_t i = 0; i < constCount_; ++i)
        items_[i].Part[0] = ConstPart(slots_[i].Value);
    readers_.resize(items_.size());
    for (std::size_t i = 0; i < steps_.size(); ++i)
        for (int k = 0; k < steps_[i].Arity; ++k) {
            const std::uint32_t operand = steps_[i].Operand[k];
            if (operand >= items_.size()) return nullptr;
            items_[operand].Uses += 1;
            readers_[operand].push_back(i);
        }
    items_.back().Uses += 1; // the result
    // An operation whose faults nothing would see is not written (a folded
    // one has none).
    for (std::size_t i = constCount_; i < items_.size(); ++i)
        if (items_[i].Uses == 0 && steps_[i - constCount_].Work != TExprJetCodeStep::TWork::Constant)
            return nullptr;

    truthTable_ = native::DataDouble(data_, -1.0);
    native::DataDouble(data_, 0.0);
    native::DataDouble(data_, 1.0);
    buffer_.Emit(TForm::PushRbp);
    buffer_.Emit(TForm::MovRbpRsp);
    for (current_ = 0; current_ < steps_.size(); ++current_)
        if (!Step(current_)) return nullptr;
    current_ = steps_.size() - 1; // the result's parts are read now

    // The result's parts to the caller; the absent ones stay zero.
    TItem& last = items_.back();
    code->result_ = {};
    code->result_.Varies = last.Part[1].Present();
    code->result_.Curved = last.Part[2].Present();
    Float* result[3] = {&code->result_.Value, &code->result_.D1, &code->result_.D2};
    MakeRoom();
    Test({&last.Part[0], &last.Part[1], &last.Part[2]});
    // A part on top that nothing else reads is stored by popping it.
    bool stored[3] = {!last.Part[0].Present(), !last.Part[1].Present(), !last.Part[2].Present()};
    for (int n = 0; n < 3; ++n) {
        int p = 0;
        while (p < 3 && stored[p])
            ++p;
        if (p == 3) break;
        MakeRoom();
        for (int q = p; q < 3; ++q) {
            const TPart& part = last.Part[q];
            if (!stored[q] && part.Kind == TPart::TKind::Tag && !regs_.empty() && regs_.back() == part.Tag &&
                tags_[part.Tag].Refs == 1)
                p = q;
        }
        const TPart& part = last.Part[p];
        stored[p] = true;
        if (part.Kind == TPart::TKind::Tag && !regs_.empty() && regs_.back() == part.Tag &&
            tags_[part.Tag].Refs == 1) {
            buffer_.EmitAddress(TForm::MovRax, result[p]);
            buffer_.EmitMemory(TForm::FstpTword, {TBase::Rax});
            regs_.pop_back();
            tags_[part.Tag].InRegister = false;
            continue;
        }
        Store(part, result[p]);
    }
    last.Uses = 1;
    Release(static_cast<std::uint32_t>(items_.size() - 1));
    Compact();
    if (!ok_ || !regs_.empty()) return nullptr;
    buffer_.Emit(TForm::Leave);
    buffer_.Emit(TForm::Ret);

    // The data area follows the code at a multiple of 16.
    const std::vector<std::uint8_t>& bytes = buffer_.Bytes();
    const std::size_t dataAt = (bytes.size() + 15) / 16 * 16;
    for (const auto& [position, offset] : fixups_)
        native::Patch32(buffer_.Bytes(), position,
                        static_cast<std::uint32_t>(dataAt + offset - (position + 4)));
    constexpr std::size_t kEntry = TExprJetCode::kEntry;
    TExprCodeBlock& block = code->block_;
    if (!AllocateCode(kEntry + dataAt + data_.size(), block)) return nullptr;
    std::uint8_t* write = block.Write + kEntry;
    std::memset(block.Write, 0xCC, kEntry);
    std::memcpy(write, bytes.data(), bytes.size());
    std::memset(write + bytes.size(), 0xCC, dataAt - bytes.size());
    if (!data_.empty()) std::memcpy(write + dataAt, data_.data(), data_.size());
    if (!SealCode(block)) return nullptr;
    code->codeSize_ = bytes.size();
    code->dataSize_ = data_.size();
    code->entry_ = reinterpret_cast<void (*)()>(const_cast<void*>(static_cast<const void*>(code->Code())));
    code->names_.emplace_back(&code->poison_, "poison");
    code->names_.emplace_back(&code->result_.Value, "result");
    code->names_.emplace_back(&code->result_.D1, "result'");
    code->names_.emplace_back(&code->result_.D2, "result''");
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const std::string n = "@" + std::to_string(i);
        code->names_.emplace_back(&slots_[i].Value, n);
        code->names_.emplace_back(&slots_[i].D1, n + "'");
        code->names_.emplace_back(&slots_[i].D2, n + "''");
    }
    for (const TExprJetCodeStep& step : steps_) {
        if (step.Location != nullptr) code->names_.emplace_back(step.Location, step.Varies ? "x" : "var");
        if (step.Helper != nullptr)
            code->names_.emplace_back(reinterpret_cast<const void*>(step.Helper), "helper");
        if (step.Argument != nullptr) code->names_.emplace_back(step.Argument, "step");
    }
    return code;
#else
    return nullptr;
#endif
}

std::unique_ptr<TExprJetCode> TExprJetCode::Generate(const std::vector<TExprJetCodeStep>& steps,
                                                     TExprJet* slots, std::size_t constCount)
{
    return TExprJetCodeWriter(steps, slots, constCount).Write();
}

TExprJetCode::~TExprJetCode()
{
#if QRV_JET_CODE
    FreeCode(block_);
#endif
}

std::string TExprJetCode::Listing() const
{
    const native::TAddressNamer name = [&](std::uintptr_t address) {
        for (const auto& [at, text] : names_)
            if (reinterpret_cast<std::uintptr_t>(at) == address) return text;
        return std::string();
    };
    const std::uint8_t* code = Code();
    return native::ListCode(code, codeSize_, code + (codeSize_ + 15) / 16 * 16, dataSize_, name);
}

} // namespace qrv
