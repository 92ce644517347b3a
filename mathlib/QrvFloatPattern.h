// Float constants given by their 80-bit encoding.
#pragma once

#include "QrvFloat.h"

#include <cstdint>
#include <cstring>

namespace qrv
{

// The extended value with the given sign-and-exponent word (bit 15 the sign,
// bits 0-14 the biased exponent) and the 64-bit significand with its explicit
// integer bit. Only normal numbers are meant: the integer bit must be set.
// The significand converts to Float exactly (it has 64 bits) and the scaling
// multiplies by two at a time, so the result is exact and the same at compile
// time as at run time.
constexpr Float FloatFromPattern(std::uint16_t signExponent, std::uint64_t significand)
{
    Float value = static_cast<Float>(significand);
    int shift = static_cast<int>(signExponent & 0x7FFF) - 16383 - 63;
    for (; shift > 0; --shift)
        value *= 2;
    for (; shift < 0; ++shift)
        value /= 2;
    return (signExponent & 0x8000) != 0 ? -value : value;
}

// The encoding of a Float as it lies in memory: the reverse of
// FloatFromPattern, for checking constants bit for bit.
struct FloatPattern {
    std::uint16_t SignExponent;
    std::uint64_t Significand;
    bool operator==(const FloatPattern&) const = default;
};

inline FloatPattern PatternOf(Float value)
{
    unsigned char bytes[sizeof(Float)];
    std::memcpy(bytes, &value, sizeof(Float));
    FloatPattern pattern{};
    std::memcpy(&pattern.Significand, bytes, 8);
    std::memcpy(&pattern.SignExponent, bytes + 8, 2);
    return pattern;
}

} // namespace qrv
