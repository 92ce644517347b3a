// A hash table from 64-bit keys to small values, for the tracer's points,
// cells and edges off its first grid: open addressing with linear probing
// in one array, several times faster than std::unordered_map for the
// lookups of a trace, which outnumber its insertions.
#pragma once

#include <cstdint>
#include <vector>

namespace qrv
{

template <class V> class TKeyTable
{
public:
    // The key no entry may have.
    static constexpr std::uint64_t kNoKey = ~std::uint64_t(0);

    // The value of `key`, entered as `initial` when absent; whether it was
    // absent. The reference holds until the next Enter.
    std::pair<V&, bool> Enter(std::uint64_t key, V initial)
    {
        if ((count_ + 1) * 2 > slots_.size()) Grow();
        std::size_t at = Home(key);
        while (slots_[at].Key != kNoKey) {
            if (slots_[at].Key == key) return {slots_[at].Value, false};
            at = (at + 1) & mask_;
        }
        slots_[at] = {key, initial};
        ++count_;
        return {slots_[at].Value, true};
    }

    bool Contains(std::uint64_t key) const
    {
        if (count_ == 0) return false;
        for (std::size_t at = Home(key); slots_[at].Key != kNoKey; at = (at + 1) & mask_)
            if (slots_[at].Key == key) return true;
        return false;
    }

    std::size_t Size() const { return count_; }

private:
    struct TSlot {
        std::uint64_t Key = kNoKey;
        V Value{};
    };

    // Fibonacci hashing: the multiplier spreads keys that differ in low
    // bits (neighbouring lattice points) over the whole table.
    std::size_t Home(std::uint64_t key) const
    {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_) & mask_;
    }

    void Grow()
    {
        std::vector<TSlot> old;
        old.swap(slots_);
        const std::size_t size = old.empty() ? 1024 : old.size() * 2;
        slots_.assign(size, TSlot{});
        mask_ = size - 1;
        shift_ = 64;
        for (std::size_t s = size; s > 1; s >>= 1)
            --shift_;
        count_ = 0;
        for (const TSlot& slot : old)
            if (slot.Key != kNoKey) Enter(slot.Key, slot.Value);
    }

    std::vector<TSlot> slots_;
    std::size_t count_ = 0;
    std::size_t mask_ = 0;
    int shift_ = 64;
};

} // namespace qrv
