#include "QrvNumberText.h"

#include "QrvDecimal18.h"
#include "QrvErrors.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <string>

namespace qrv
{

namespace
{

struct Separators {
    char decimal = '.';
    // The thousands separator asked for (the locale's or a set one); see
    // ThousandSeparator for the one in use.
    char thousand = ',';
};

// The separators of the user's locale, read without touching the program's
// global locale: newlocale("") looks at LC_ALL, LC_NUMERIC and LANG.
Separators LocaleSeparators()
{
    Separators s;
    locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return s;
    const char* radix = nl_langinfo_l(RADIXCHAR, loc);
    const char* thousands = nl_langinfo_l(THOUSEP, loc);
    // Only single-byte separators can be used in formulas; a multi-byte one
    // falls back to the default, except that a no-break space (U+00A0) or a
    // narrow one (U+202F) becomes a plain blank.
    if (radix && radix[0] && !radix[1]) s.decimal = radix[0];
    const std::string_view t = thousands ? thousands : "";
    if (t.size() == 1)
        s.thousand = t[0];
    else if (t == "\xC2\xA0" || t == "\xE2\x80\xAF")
        s.thousand = ' ';
    freelocale(loc);
    return s;
}

Separators& ProgramSeparators()
{
    static Separators separators = LocaleSeparators();
    return separators;
}

bool IsBlank(char c)
{
    return c != 0 && static_cast<unsigned char>(c) <= 32;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

char DecimalSeparator()
{
    return ProgramSeparators().decimal;
}

void SetDecimalSeparator(char separator)
{
    ProgramSeparators().decimal = separator;
}

char ThousandSeparator()
{
    // Resolved at every use, so the rule holds whichever separator changed
    // last: a thousands separator equal to the decimal separator would make
    // 1,000 read as one for a decimal comma.
    const Separators& s = ProgramSeparators();
    if (s.thousand != s.decimal) return s.thousand;
    return s.decimal == ',' ? '.' : ',';
}

void SetThousandSeparator(char separator)
{
    ProgramSeparators().thousand = separator;
}

std::optional<Float> TextToFloat(std::string_view text, Blanks blanks, char decimalSeparator)
{
    std::size_t i = 0, n = text.size();
    if (blanks == Blanks::Ignored) {
        while (i < n && IsBlank(text[i]))
            ++i;
        while (n > i && IsBlank(text[n - 1]))
            --n;
    }
    // Rebuild the number in the C locale's spelling for strtold.
    std::string number;
    number.reserve(n - i + 8);
    if (i < n && (text[i] == '+' || text[i] == '-')) number += text[i++];
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        number += text[i++];
        ++digits;
    }
    if (i < n && text[i] == decimalSeparator) {
        number += '.';
        ++i;
        while (i < n && IsDigit(text[i])) {
            number += text[i++];
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        std::string exponent = "e";
        if (i < n && (text[i] == '+' || text[i] == '-')) exponent += text[i++];
        std::size_t expDigits = 0;
        while (i < n && IsDigit(text[i])) {
            exponent += text[i++];
            ++expDigits;
        }
        // An exponent without digits reads as exponent 0.
        if (expDigits > 0) number += exponent;
    }
    if (i != n) return std::nullopt;

    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    errno = 0;
    char* end = nullptr;
    Float value = strtold_l(number.c_str(), &end, cLocale);
    if (end != number.c_str() + number.size()) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

Float StrToFloat(std::string_view text, Blanks blanks)
{
    auto value = TextToFloat(text, blanks);
    if (!value) throw EConvertError(text);
    return *value;
}

namespace
{

// The text of a value that is not a number or infinite: formulas never give
// one, but a caller's double may be one.
char* WriteNonFinite(char* out, double value)
{
    const char* text = std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

char* WriteGeneral15(char* out, double value, char decimalSeparator)
{
    if (!std::isfinite(value)) return WriteNonFinite(out, value);
    if (value == 0) {
        *out++ = '0';
        return out;
    }
    const TDecimal18 form = ToDecimal18(value);
    // Round the 18-digit form to 15 digits, halves away from zero.
    std::uint64_t digits = (form.Digits + 500) / 1000;
    int pointPos = form.PointPos;
    if (digits == PowerOfTen(15)) {
        digits = PowerOfTen(14);
        ++pointPos;
    }
    int count = 15;
    while (count > 1 && digits % 10 == 0) {
        digits /= 10;
        --count;
    }
    char text[15];
    WriteFixedDigits(text, digits, count);

    if (form.Negative) *out++ = '-';
    const int exponent = pointPos - 1;
    if (exponent >= 15 || exponent < -5) {
        *out++ = text[0];
        if (count > 1) {
            *out++ = decimalSeparator;
            out = std::copy(text + 1, text + count, out);
        }
        *out++ = 'E';
        if (exponent < 0) *out++ = '-';
        return WriteUnsigned(out, static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent));
    }
    if (pointPos <= 0) {
        *out++ = '0';
        *out++ = decimalSeparator;
        out = std::fill_n(out, -pointPos, '0');
        return std::copy(text, text + count, out);
    }
    const int intDigits = std::min(pointPos, count);
    out = std::copy(text, text + intDigits, out);
    out = std::fill_n(out, pointPos - intDigits, '0');
    if (count > pointPos) {
        *out++ = decimalSeparator;
        out = std::copy(text + pointPos, text + count, out);
    }
    return out;
}

// |value| rounded to three decimals on its 18-digit decimal form, halves
// away from zero: the integer part and the thousandths.
struct TFixed3 {
    bool Minus = false;
    std::uint64_t IntPart = 0;
    unsigned Thousandths = 0;
};

// For finite values below 10^18 in magnitude.
TFixed3 ToFixed3(double value)
{
    TFixed3 f;
    if (value == 0) return f;
    const TDecimal18 form = ToDecimal18(value);
    // The 18 digits are followed by `keep` - 18 zeros (keep >= 18) or cut
    // after `keep` digits, the first cut digit deciding the rounding.
    const int keep = form.PointPos + 3;
    if (keep >= 18) {
        const std::uint64_t scale = PowerOfTen(18 - std::min(form.PointPos, 18));
        f.IntPart = form.Digits / scale;
        f.Thousandths = static_cast<unsigned>(form.Digits % scale * PowerOfTen(keep - 18));
    } else if (keep >= 0) {
        const std::uint64_t scale = PowerOfTen(18 - keep);
        std::uint64_t rounded = form.Digits / scale;
        if (form.Digits % scale >= scale / 2) ++rounded;
        f.IntPart = rounded / 1000;
        f.Thousandths = static_cast<unsigned>(rounded % 1000);
    }
    f.Minus = form.Negative && (f.IntPart != 0 || f.Thousandths != 0);
    return f;
}

// Room for the longest text of any format here: "-999999999999999872.000"
// (23 characters), "-999,999,999,999,999,872" or "-1.23456789012346E-308".
constexpr std::size_t kFormatBuffer = 40;

} // namespace

char* WriteFixed3(char* out, double value, char decimalSeparator)
{
    if (!(std::fabs(value) < 1e18)) return WriteGeneral15(out, value, decimalSeparator);
    const TFixed3 f = ToFixed3(value);
    if (f.Minus) *out++ = '-';
    out = WriteUnsigned(out, f.IntPart);
    *out++ = decimalSeparator;
    WriteFixedDigits(out, f.Thousandths, 3);
    return out + 3;
}

std::string FormatGeneral15(double value, char decimalSeparator)
{
    char text[kFormatBuffer];
    return std::string(text, WriteGeneral15(text, value, decimalSeparator));
}

std::string FormatFixed3(double value, char decimalSeparator)
{
    char text[kFormatBuffer];
    return std::string(text, WriteFixed3(text, value, decimalSeparator));
}

std::string FormatAxisValue(double value, char decimalSeparator, char thousandSeparator)
{
    char text[kFormatBuffer];
    if (!(std::fabs(value) < 1e18)) return std::string(text, WriteGeneral15(text, value, decimalSeparator));
    const TFixed3 f = ToFixed3(value);
    char* out = text;
    if (f.Minus) *out++ = '-';
    char digits[20];
    const int n = static_cast<int>(WriteUnsigned(digits, f.IntPart) - digits);
    for (int k = 0; k < n; ++k) {
        if (k > 0 && (n - k) % 3 == 0) *out++ = thousandSeparator;
        *out++ = digits[k];
    }
    unsigned thousandths = f.Thousandths;
    if (thousandths != 0) {
        int count = 3;
        while (thousandths % 10 == 0) {
            thousandths /= 10;
            --count;
        }
        *out++ = decimalSeparator;
        WriteFixedDigits(out, thousandths, count);
        out += count;
    }
    return std::string(text, out);
}

} // namespace qrv
