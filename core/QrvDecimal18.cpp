#include "QrvDecimal18.h"

#include <array>
#include <bit>
#include <cstring>

namespace qrv
{

namespace
{

__extension__ typedef unsigned __int128 U128;

constexpr auto kPowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

constexpr std::uint64_t kTen17 = kPowersOfTen[17];
constexpr std::uint64_t kTen18 = kPowersOfTen[18];

// What was cut off below the kept integer, measured against half a unit of
// the kept last digit: the rounding needs nothing more.
enum TRest { RestZero, RestBelowHalf, RestHalf, RestAboveHalf };

// The rest after one more digit `d` has been cut off above an older rest.
TRest WithDigit(unsigned d, TRest older)
{
    if (d < 5) return (d == 0 && older == RestZero) ? RestZero : RestBelowHalf;
    if (d == 5) return older == RestZero ? RestHalf : RestAboveHalf;
    return RestAboveHalf;
}

TRest RestOf(U128 remainder, U128 half)
{
    if (remainder == 0) return RestZero;
    if (remainder < half) return RestBelowHalf;
    return remainder == half ? RestHalf : RestAboveHalf;
}

U128 Pow10Wide(int n)
{
    U128 p = 1;
    for (; n >= 19; n -= 19)
        p *= kPowersOfTen[19];
    return p * kPowersOfTen[n];
}

// An unsigned integer of up to 1280 bits, enough for a double's significand
// times 10^341 (the smallest subnormal scaled to 18 digits) and for the
// largest double as an integer.
class TBigNumber
{
public:
    explicit TBigNumber(std::uint64_t value)
    {
        limbs_[0] = static_cast<std::uint32_t>(value);
        limbs_[1] = static_cast<std::uint32_t>(value >> 32);
        size_ = limbs_[1] ? 2 : 1;
    }

    void Multiply(std::uint32_t factor)
    {
        std::uint64_t carry = 0;
        for (int i = 0; i < size_; ++i) {
            std::uint64_t t = std::uint64_t(limbs_[i]) * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry) limbs_[size_++] = static_cast<std::uint32_t>(carry);
    }

    void MultiplyByPowerOfTen(int n)
    {
        for (; n >= 9; n -= 9)
            Multiply(1000000000u);
        if (n > 0) Multiply(static_cast<std::uint32_t>(kPowersOfTen[n]));
    }

    // Divides in place and returns the remainder.
    std::uint32_t Divide(std::uint32_t divisor)
    {
        std::uint64_t rest = 0;
        for (int i = size_ - 1; i >= 0; --i) {
            std::uint64_t t = (rest << 32) | limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(t / divisor);
            rest = t % divisor;
        }
        while (size_ > 1 && limbs_[size_ - 1] == 0)
            --size_;
        return static_cast<std::uint32_t>(rest);
    }

    void ShiftLeft(int bits)
    {
        const int words = bits / 32, shift = bits % 32;
        std::uint32_t out[kLimbs + 1] = {};
        for (int i = 0; i < size_; ++i) {
            std::uint64_t t = std::uint64_t(limbs_[i]) << shift;
            out[i + words] |= static_cast<std::uint32_t>(t);
            out[i + words + 1] |= static_cast<std::uint32_t>(t >> 32);
        }
        size_ += words + 1;
        std::memcpy(limbs_, out, sizeof limbs_);
        while (size_ > 1 && limbs_[size_ - 1] == 0)
            --size_;
    }

    bool Bit(int index) const
    {
        const int word = index / 32;
        return word < size_ && (limbs_[word] >> (index % 32)) & 1u;
    }

    bool AnyBitBelow(int index) const
    {
        const int word = index / 32;
        for (int i = 0; i < word && i < size_; ++i)
            if (limbs_[i]) return true;
        return word < size_ && (limbs_[word] & ((1u << (index % 32)) - 1u)) != 0;
    }

    // The value shifted right by `bits`; the caller knows it fits 64 bits.
    std::uint64_t Above(int bits) const
    {
        std::uint64_t result = 0;
        for (int k = 0; k < 64; ++k) {
            if (Bit(bits + k)) result |= std::uint64_t(1) << k;
        }
        return result;
    }

    // The value; the caller knows it fits 64 bits.
    std::uint64_t Low64() const { return limbs_[0] | (size_ > 1 ? std::uint64_t(limbs_[1]) << 32 : 0); }

private:
    static constexpr int kLimbs = 40;
    std::uint32_t limbs_[kLimbs + 1] = {};
    int size_ = 1;
};

struct TScaled {
    std::uint64_t Quotient;
    TRest Rest;
};

// floor(m x 2^e / 10^n) for n > 0 and e >= 0, with the rest.
TScaled DivideByPowerOfTen(std::uint64_t m, int e, int n)
{
    if (e + 53 <= 127 && n <= 38) {
        const U128 value = U128(m) << e, divisor = Pow10Wide(n);
        return {static_cast<std::uint64_t>(value / divisor), RestOf(value % divisor, divisor / 2)};
    }
    TBigNumber value(m);
    value.ShiftLeft(e);
    bool sticky = false;
    int left = n - 1; // the last digit is cut off alone, for the rounding
    for (; left >= 9; left -= 9)
        sticky |= value.Divide(1000000000u) != 0;
    if (left > 0) sticky |= value.Divide(static_cast<std::uint32_t>(kPowersOfTen[left])) != 0;
    const unsigned lastDigit = value.Divide(10);
    return {value.Low64(), WithDigit(lastDigit, sticky ? RestBelowHalf : RestZero)};
}

// floor(m x 10^n / 2^s) for n >= 0 and s > 0, with the rest.
TScaled ShiftOutPowerOfTwo(std::uint64_t m, int n, int s)
{
    if (n <= 22 && s <= 127) {
        const U128 value = U128(m) * Pow10Wide(n);
        const U128 mask = (U128(1) << s) - 1;
        return {static_cast<std::uint64_t>(value >> s), RestOf(value & mask, U128(1) << (s - 1))};
    }
    TBigNumber value(m);
    value.MultiplyByPowerOfTen(n);
    const bool half = value.Bit(s - 1), sticky = value.AnyBitBelow(s - 1);
    const TRest rest = half ? (sticky ? RestAboveHalf : RestHalf) : (sticky ? RestBelowHalf : RestZero);
    return {value.Above(s), rest};
}

// floor(log10(2^exponent)), exact for |exponent| <= 1650.
int FloorLog10OfPowerOfTwo(int exponent)
{
    if (exponent >= 0) return (exponent * 78913) >> 18;
    return -((((-exponent) * 78913) >> 18) + 1);
}

constexpr char kDigitPairs[] = "00010203040506070809"
                               "10111213141516171819"
                               "20212223242526272829"
                               "30313233343536373839"
                               "40414243444546474849"
                               "50515253545556575859"
                               "60616263646566676869"
                               "70717273747576777879"
                               "80818283848586878889"
                               "90919293949596979899";

} // namespace

std::uint64_t PowerOfTen(int n)
{
    return kPowersOfTen[n];
}

TDecimal18 ToDecimal18(double value)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    // |value| = m x 2^e exactly.
    const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t(1) << 52);
    const int e = biased == 0 ? -1074 : biased - 1075;

    // 2^L <= |value| < 2^(L+1), so the decimal exponent is k or k + 1.
    const int L = 63 - std::countl_zero(m) + e;
    int k = FloorLog10OfPowerOfTwo(L);
    // q = floor(|value| x 10^(17 - k)), between 10^17 and 10^19.
    const int n = 17 - k;
    TScaled scaled;
    if (n >= 0 && e >= 0)
        scaled = {static_cast<std::uint64_t>((U128(m) << e) * kPowersOfTen[n]), RestZero};
    else if (e >= 0)
        scaled = DivideByPowerOfTen(m, e, -n);
    else
        scaled = ShiftOutPowerOfTwo(m, n, -e);
    if (scaled.Quotient >= kTen18) {
        scaled.Rest = WithDigit(static_cast<unsigned>(scaled.Quotient % 10), scaled.Rest);
        scaled.Quotient /= 10;
        ++k;
    }

    TDecimal18 result;
    result.Negative = (bits >> 63) != 0;
    result.Digits = scaled.Quotient;
    if (scaled.Rest == RestAboveHalf || (scaled.Rest == RestHalf && (scaled.Quotient & 1))) ++result.Digits;
    if (result.Digits == kTen18) {
        result.Digits = kTen17;
        ++k;
    }
    result.PointPos = k + 1;
    return result;
}

char* WriteUnsigned(char* out, std::uint64_t value)
{
    char buffer[20];
    char* p = buffer + sizeof buffer;
    while (value >= 100) {
        const unsigned pair = static_cast<unsigned>(value % 100) * 2;
        value /= 100;
        *--p = kDigitPairs[pair + 1];
        *--p = kDigitPairs[pair];
    }
    if (value >= 10) {
        *--p = kDigitPairs[value * 2 + 1];
        *--p = kDigitPairs[value * 2];
    } else {
        *--p = static_cast<char>('0' + value);
    }
    const std::size_t count = static_cast<std::size_t>(buffer + sizeof buffer - p);
    std::memcpy(out, p, count);
    return out + count;
}

void WriteFixedDigits(char* out, std::uint64_t value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

} // namespace qrv
