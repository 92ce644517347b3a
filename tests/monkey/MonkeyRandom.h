// The monkey's source of chance: a small generator whose whole sequence
// follows from one 64-bit seed, the same on every machine and compiler (no
// std:: distributions, whose results the standard leaves open). Every event
// of a run draws from a generator of its own, seeded from the run's seed and
// the event's number, so an event does the same thing whichever events
// before it are left out while a failure is shrunk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace qrv::monkey
{

// splitmix64: one step of the seed sequence.
constexpr std::uint64_t MixSeed(std::uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// The seed of event `index` of the run with seed `runSeed`.
constexpr std::uint64_t EventSeed(std::uint64_t runSeed, std::size_t index)
{
    return MixSeed(MixSeed(runSeed) ^ MixSeed(0xA5A5A5A5ull + index));
}

class TRandom
{
public:
    explicit TRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next()
    {
        state_ = MixSeed(state_);
        return state_;
    }
    // 0 <= value < bound (0 for a bound of 0).
    std::size_t Below(std::size_t bound) { return bound == 0 ? 0 : static_cast<std::size_t>(Next() % bound); }
    // lowest <= value <= highest.
    int Between(int lowest, int highest)
    {
        if (highest <= lowest) return lowest;
        return lowest + static_cast<int>(Below(static_cast<std::size_t>(highest - lowest) + 1));
    }
    // True `percent` times out of a hundred.
    bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }
    template <class T> const T& Pick(const std::vector<T>& items) { return items[Below(items.size())]; }
    template <class T> T Pick(std::initializer_list<T> items) { return items.begin()[Below(items.size())]; }
    // An index chosen with the given weights (all zero: the first).
    std::size_t Weighted(const std::vector<int>& weights)
    {
        long total = 0;
        for (int w : weights)
            total += w;
        if (total <= 0) return 0;
        long draw = static_cast<long>(Below(static_cast<std::size_t>(total)));
        for (std::size_t i = 0; i < weights.size(); ++i) {
            draw -= weights[i];
            if (draw < 0) return i;
        }
        return weights.size() - 1;
    }

private:
    std::uint64_t state_;
};

} // namespace qrv::monkey
