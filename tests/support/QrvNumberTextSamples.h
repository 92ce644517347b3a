// Doubles for comparing the number formats with their printf reference.
// Plain random bit patterns almost never land where a format has to decide
// something, so most samples are aimed at those places: halves of the third
// decimal, halves of the fifteenth digit, exact ties of the eighteenth digit
// and the magnitudes of a table.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

namespace qrv::number_samples
{

// A few units in the last place away from `value` (up to 3 either way).
inline double Nudged(double value, std::uint64_t r)
{
    const int steps = static_cast<int>(r % 7) - 3;
    for (int i = 0; i < steps; ++i)
        value = std::nextafter(value, HUGE_VAL);
    for (int i = 0; i > steps; --i)
        value = std::nextafter(value, -HUGE_VAL);
    return value;
}

inline double PowerOfTen(int n)
{
    double p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

// The sample drawn from two random words; finite always.
inline double Sample(std::uint64_t r, std::uint64_t s)
{
    const double sign = (s >> 63) ? -1.0 : 1.0;
    switch (s % 6) {
    case 0: { // any finite double
        double v = std::bit_cast<double>(r);
        return std::isfinite(v) ? v : std::bit_cast<double>(r & 0x3fffffffffffffffull);
    }
    case 1: { // table magnitudes: 2^-20 ... 2^70
        const int e = static_cast<int>((s >> 8) % 91) - 20;
        return sign * std::ldexp(1.0 + double(r >> 11) * 0x1p-53, e);
    }
    case 2: { // around a half of the third decimal
        const std::uint64_t k = r % (std::uint64_t(1) << ((s >> 8) % 50 + 1));
        return sign * Nudged((double(k) + 0.5) / 1000, s >> 20);
    }
    case 3: { // around a half of the fifteenth significant digit
        const std::uint64_t d = 100000000000000ull + r % 900000000000000ull;
        const int p = static_cast<int>((s >> 8) % 40);
        const double v = (double(d) + 0.5) * PowerOfTen(p) / 1e14;
        return sign * Nudged((s >> 14) & 1 ? v : v / PowerOfTen(30), s >> 20);
    }
    case 4: { // dyadic fractions, whose decimal digits end: ties at 18 digits
        const std::uint64_t n = r >> (11 + (s >> 8) % 40);
        return sign * std::ldexp(double(n), -static_cast<int>((s >> 16) % 24));
    }
    default: { // around a half of the eighteenth digit
        const std::uint64_t d = 100000000000000000ull + r % 900000000000000000ull;
        const int p = static_cast<int>((s >> 8) % 30);
        return sign * Nudged((double(d) + 0.5) * PowerOfTen(p) / 1e17, s >> 20);
    }
    }
}

} // namespace qrv::number_samples
