// A hash table from 64-bit keys to small values, for the tracer's points,
// cells and edges off its first grid: open addressing with linear probing,
// the keys in an array of their own (a probe reads only keys, and more of
// them fit the cache), several times faster than std::unordered_map for
// the lookups of a trace, which outnumber its insertions.
//
// Keys that agree above their low kLocalBits bits (the tracer's keys of one
// first-grid cell) start in one window of kWindow slots, so the lookups of
// one cell read a few cache lines rather than one line each.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace qrv
{

template <class V> class TKeyTable
{
public:
    // The key no entry may have.
    static constexpr std::uint64_t kNoKey = ~std::uint64_t(0);
    static constexpr int kLocalBits = 14;
    static constexpr int kWindowBits = 5;

    // The value of `key`, entered as `initial` when absent; whether it was
    // absent. The reference holds until the next Enter.
    std::pair<V&, bool> Enter(std::uint64_t key, V initial)
    {
        if ((count_ + 1) * 2 > keys_.size()) Grow();
        std::size_t at = Home(key);
        while (keys_[at] != kNoKey) {
            if (keys_[at] == key) return {values_[at], false};
            at = (at + 1) & mask_;
        }
        keys_[at] = key;
        values_[at] = initial;
        ++count_;
        return {values_[at], true};
    }

    bool Contains(std::uint64_t key) const
    {
        if (count_ == 0) return false;
        for (std::size_t at = Home(key); keys_[at] != kNoKey; at = (at + 1) & mask_)
            if (keys_[at] == key) return true;
        return false;
    }

    std::size_t Size() const { return count_; }

private:
    // Fibonacci hashing, of the high bits for the window and of the whole
    // key for the slot in it.
    static std::uint64_t Mix(std::uint64_t key) { return key * 0x9E3779B97F4A7C15ull; }
    std::size_t Home(std::uint64_t key) const
    {
        const std::uint64_t window = Mix(key >> kLocalBits) >> (shift_ + kWindowBits);
        const std::uint64_t slot = Mix(key) >> (64 - kWindowBits);
        return static_cast<std::size_t>((window << kWindowBits) | slot) & mask_;
    }

    void Grow()
    {
        std::vector<std::uint64_t> oldKeys;
        std::vector<V> oldValues;
        oldKeys.swap(keys_);
        oldValues.swap(values_);
        const std::size_t size = oldKeys.empty() ? 1024 : oldKeys.size() * 2;
        keys_.assign(size, kNoKey);
        values_.assign(size, V{});
        mask_ = size - 1;
        shift_ = 64;
        for (std::size_t s = size; s > 1; s >>= 1)
            --shift_;
        count_ = 0;
        for (std::size_t k = 0; k < oldKeys.size(); ++k)
            if (oldKeys[k] != kNoKey) Enter(oldKeys[k], oldValues[k]);
    }

    std::vector<std::uint64_t> keys_;
    std::vector<V> values_;
    std::size_t count_ = 0;
    std::size_t mask_ = 0;
    int shift_ = 64;
};

} // namespace qrv
