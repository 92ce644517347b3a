// The exact decimal form of a double with 18 significant digits, the form
// from which the table, the axis labels and the general format round their
// text. Computed with integer arithmetic only: 128-bit products for the
// values a table holds, a small fixed-size big number for the extreme
// exponents.
#pragma once

#include <cstdint>

namespace qrv
{

// |value| = Digits x 10^(PointPos - 18), Digits having exactly 18 digits
// (10^17 <= Digits < 10^18): PointPos digits stand before the decimal point.
struct TDecimal18 {
    std::uint64_t Digits = 0;
    int PointPos = 0;
    bool Negative = false;
};

// |value| rounded to 18 significant digits, an exact tie going to the even
// last digit (round to nearest). A result that rounds up to 10^18 is given as
// 10^17 with PointPos one higher. `value` must be finite and not zero.
TDecimal18 ToDecimal18(double value);

// 10^n for 0 <= n <= 19.
std::uint64_t PowerOfTen(int n);

// Writes the decimal digits of `value` at `out` without leading zeros ("0"
// for zero) and returns the position after the last one.
char* WriteUnsigned(char* out, std::uint64_t value);

// Writes exactly `count` digits of `value` (leading zeros included).
void WriteFixedDigits(char* out, std::uint64_t value, int count);

} // namespace qrv
