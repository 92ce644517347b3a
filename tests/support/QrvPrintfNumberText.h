// The printf-based number formatting that the table and the labels used
// before their integer conversion: "%.17e" gives the correctly rounded
// 18-digit form, which is then rounded as text. Kept only as the reference
// against which the differential test and program compare every text.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qrv::printf_reference
{

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A number's decimal digits and exponent: value = 0.d1d2d3... x 10^pointPos,
// that is, pointPos digits stand before the decimal point.
struct DecimalForm {
    bool negative = false;
    std::string digits; // no leading zeros unless the value is zero
    int pointPos = 0;
};

// The decimal form of |value| with `significant` digits, correctly rounded
// from the exact binary value.
inline DecimalForm ToDecimal(double value, int significant)
{
    DecimalForm form;
    form.negative = std::signbit(value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(value));
    // buf = "d.ddddde[+-]xx"
    const char* p = buf;
    form.digits += *p++;
    if (*p == '.') ++p;
    while (IsDigit(*p))
        form.digits += *p++;
    int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    form.pointPos = exponent + 1;
    return form;
}

// Rounds the form to `decimals` digits after the point, halves away from
// zero. The digit string then holds exactly the integer digits followed by
// `decimals` fraction digits (at least one integer digit).
inline void RoundToDecimals(DecimalForm& form, int decimals)
{
    // Lay the digits out on a grid: integer part and `decimals` fraction digits.
    int keep = form.pointPos + decimals; // digits of form.digits that remain
    std::string out;
    bool roundUp = false;
    if (keep < 0) {
        out.clear();
    } else {
        out = form.digits.substr(0, std::min<std::size_t>(keep, form.digits.size()));
        out.append(keep > static_cast<int>(out.size()) ? keep - out.size() : 0, '0');
        if (keep < static_cast<int>(form.digits.size())) roundUp = form.digits[keep] >= '5';
    }
    int intDigits = form.pointPos;
    if (intDigits <= 0) {
        // 0.000ddd: prefix the zeros between the point and the first digit
        // (those of them that fall inside `decimals`) and one integer zero.
        int zeros = std::min(-intDigits, decimals);
        out = std::string(1 + zeros, '0') + out;
        intDigits = 1;
        out.resize(1 + decimals, '0');
    }
    if (roundUp) {
        int i = static_cast<int>(out.size()) - 1;
        while (i >= 0 && out[i] == '9')
            out[i--] = '0';
        if (i >= 0)
            ++out[i];
        else {
            out = '1' + out;
            ++intDigits;
        }
    }
    form.digits = out;
    form.pointPos = intDigits;
}

inline bool IsAllZero(const std::string& digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

inline std::string FormatGeneral15(double value, char decimalSeparator)
{
    if (value == 0) return "0";
    DecimalForm form = ToDecimal(value, 18);
    // Round the 18-digit form to 15 digits, halves away from zero.
    bool up = form.digits[15] >= '5';
    form.digits.resize(15);
    if (up) {
        int i = 14;
        while (i >= 0 && form.digits[i] == '9')
            form.digits[i--] = '0';
        if (i >= 0)
            ++form.digits[i];
        else {
            form.digits = '1' + form.digits.substr(0, 14);
            ++form.pointPos;
        }
    }
    while (form.digits.size() > 1 && form.digits.back() == '0')
        form.digits.pop_back();

    std::string out = form.negative ? "-" : "";
    int exponent = form.pointPos - 1;
    if (exponent >= 15 || exponent < -5) {
        out += form.digits[0];
        if (form.digits.size() > 1) {
            out += decimalSeparator;
            out.append(form.digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    if (form.pointPos <= 0) {
        out += '0';
        out += decimalSeparator;
        out.append(-form.pointPos, '0');
        out += form.digits;
        return out;
    }
    std::string intPart = form.digits.substr(0, std::min<std::size_t>(form.pointPos, form.digits.size()));
    intPart.append(form.pointPos - intPart.size(), '0');
    out += intPart;
    if (static_cast<int>(form.digits.size()) > form.pointPos) {
        out += decimalSeparator;
        out.append(form.digits, form.pointPos);
    }
    return out;
}

// Shared by both fixed patterns: rounds |value| to three decimals on its
// 18-digit decimal form and returns the digits (integer part, then three
// decimals) and whether a minus sign is due.
struct Fixed3 {
    bool minus;
    std::string intPart;
    std::string fraction;
};

inline Fixed3 ToFixed3(double value)
{
    if (value == 0) return Fixed3{false, std::string(1, '0'), std::string(3, '0')};
    DecimalForm form = ToDecimal(value, 18);
    RoundToDecimals(form, 3);
    Fixed3 f;
    f.minus = form.negative && !IsAllZero(form.digits);
    f.intPart = form.digits.substr(0, form.pointPos);
    f.fraction = form.digits.substr(form.pointPos);
    return f;
}

inline std::string FormatFixed3(double value, char decimalSeparator)
{
    if (std::fabs(value) >= 1e18) return FormatGeneral15(value, decimalSeparator);
    Fixed3 f = ToFixed3(value);
    std::string out = f.minus ? "-" : "";
    out += f.intPart;
    out += decimalSeparator;
    out += f.fraction;
    return out;
}

inline std::string FormatAxisValue(double value, char decimalSeparator, char thousandSeparator)
{
    if (std::fabs(value) >= 1e18) return FormatGeneral15(value, decimalSeparator);
    Fixed3 f = ToFixed3(value);
    std::string out = f.minus ? "-" : "";
    std::size_t n = f.intPart.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (k > 0 && (n - k) % 3 == 0) out += thousandSeparator;
        out += f.intPart[k];
    }
    while (!f.fraction.empty() && f.fraction.back() == '0')
        f.fraction.pop_back();
    if (!f.fraction.empty()) {
        out += decimalSeparator;
        out += f.fraction;
    }
    return out;
}

} // namespace qrv::printf_reference
