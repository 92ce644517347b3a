// The floating type of all formula arithmetic.
#pragma once

#include <limits>

namespace qrv
{

// Formula arithmetic, the math library and the expression engine work in
// 80-bit extended precision: a 64-bit significand and a 15-bit exponent.
// On x86-64 with g++ and clang that is `long double`.
using Float = long double;

static_assert(std::numeric_limits<Float>::digits == 64,
              "Float must have a 64-bit significand (x87 extended)");
static_assert(std::numeric_limits<Float>::max_exponent == 16384, "Float must have a 15-bit exponent");
static_assert(std::numeric_limits<double>::digits == 53, "double must be IEEE binary64");

} // namespace qrv
