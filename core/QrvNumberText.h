// Numbers as text: the program-wide separators, text-to-Float conversion and
// the two number formats of the table ("0.000") and the axis labels
// ("#,##0.###").
#pragma once

#include "QrvFloat.h"

#include <optional>
#include <string>
#include <string_view>

namespace qrv
{

// The decimal separator used to read numbers in formulas and range fields
// and to write the table and the labels. Read on first use from the user's
// numeric locale (LC_ALL, else LC_NUMERIC, else LANG), without changing the
// program's own locale; settable.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// The thousands separator of the axis labels: the locale's (a blank for a
// no-break space, "," when it has none usable) or the one set. Never equal
// to the decimal separator, whichever of the two changes: where they would
// clash, "." serves a decimal comma and "," any other decimal separator.
char ThousandSeparator();
void SetThousandSeparator(char separator);

enum class Blanks { Rejected, Ignored };

// Reads a Float from text: optional sign, at least one digit, the decimal
// separator with optional digits after it, an optional exponent (E or e, an
// optional sign, digits; "3e" and "3e+" read with exponent 0). With
// Blanks::Ignored, blanks (spaces and control characters) around the number
// are skipped. The result is the correctly rounded 80-bit value. Returns
// nothing for any other text and for a value beyond the Float range; a value
// too small for the range becomes subnormal or zero.
std::optional<Float> TextToFloat(std::string_view text, Blanks blanks = Blanks::Rejected,
                                 char decimalSeparator = DecimalSeparator());

// The same, raising EConvertError "'<text>' is not a valid floating point
// value" on failure.
Float StrToFloat(std::string_view text, Blanks blanks = Blanks::Rejected);

// Pattern "0.000": exactly three decimals, at least one integer digit, "-"
// for negative values, no grouping. Rounds the 18-significant-digit decimal
// form half away from zero; a value that rounds to zero has no minus sign.
// Magnitudes of 1E18 and more use the general format (FormatGeneral15).
std::string FormatFixed3(double value, char decimalSeparator = DecimalSeparator());

// The same text written at `out` (room for 40 characters); returns the
// position after it. For callers that build long texts, like the table.
char* WriteFixed3(char* out, double value, char decimalSeparator);

// Pattern "#,##0.###": groups of thousands, at least one integer digit, at
// most three decimals with trailing zeros (and a bare separator) dropped.
// Same rounding and large-magnitude rules as FormatFixed3.
std::string FormatAxisValue(double value, char decimalSeparator = DecimalSeparator(),
                            char thousandSeparator = ThousandSeparator());

// General format with at most 15 significant digits: fixed notation for
// decimal exponents -5..14, otherwise mantissa, "E" and the exponent ("1E20",
// "1.23456789012346E20", "1E-7"). Infinities and NaN read "INF", "-INF", "NAN"
// in every format.
std::string FormatGeneral15(double value, char decimalSeparator = DecimalSeparator());

} // namespace qrv
