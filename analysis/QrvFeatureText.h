// Features as text: the lines of the command line's --analyze output, for
// programs (tab separated, LF, always a decimal point), and the numbers of
// the window's list, for people (the meaningful digits, the user's decimal
// separator).
#pragma once

#include "QrvFeatures.h"

#include <string>
#include <string_view>
#include <vector>

namespace qrv
{

// "root", "minimum", "maximum", "inflection", "intersection", "integral".
std::string_view FeatureKindName(TFeatureKind kind);

// One line with its LF: the curve ("1", or "1&2" for an intersection), the
// kind, then x and y, or for an integral its value and estimated error, or
// "-" and why it has none:
//   1	root	3.14159265358979323851e+00	-5.01655761266833202345e-20
//   1	integral	1.83907152907645245226e+00	1.20e-19
//   1	integral	-	pole at about x = 1.57
std::string FeatureLine(const TFeature& feature);

// A number as C's "%.<digits - 1>Le" writes it in the C locale, whatever
// locale the program runs in: "-5.01655761266833202345e-20" for 21 digits.
std::string ScientificText(Float value, int significantDigits);

// A number for people: the shortest digits that read back as the value,
// correctly rounded to at most `maxDigits` (1..20) where it needs more,
// trailing zeros dropped, in fixed notation for
// decimal exponents -5..19 ("1.5707963267948966192", "0.001", "-2"),
// otherwise as mantissa, "E" and exponent ("-5.0165576126683320234E-20").
std::string DisplayNumber(Float value, char decimalSeparator, int maxDigits = 20);

// Why an integral has no value, in words: "pole at about x = 1.57" (the x to
// the digits the sample interval resolves), "the formula fails at x = 2:
// <message>", "the integral does not converge (estimated error 1.2E-3)".
std::string NoValueText(const TFeature& feature, char decimalSeparator);

// The window's list and trace name curves as "f1", "f2", ...: the curves of
// a feature, "f1" or, for an intersection, "f1, f2".
std::string FeatureCurves(const TFeature& feature);

// One row of the window's list, each cell for people (DisplayNumber): the
// curves, the kind, x and y; for an integral its value and "± " with its
// estimated error, or "-" and why it has none.
struct TFeatureRow {
    std::string Curve;
    std::string Kind;
    std::string X;
    std::string Y;
};
TFeatureRow FeatureRow(const TFeature& feature, char decimalSeparator);

// Rows as text: the cells of each separated by a tab, each ended by LF.
std::string FeatureRowsText(const std::vector<TFeatureRow>& rows);

// What the trace readout says on a feature: its name ("maximum", "root",
// "intersection f1, f2"; with several curves on the chart a single curve's
// feature adds the curve, "root f2"), then x and y to kReadoutDigits, so
// that the box fits a chart of the window's first size (the list has
// every digit):
//   maximum   x = 1.57079632679   y = 1
inline constexpr int kReadoutDigits = 12;
std::string FeatureReadout(const TFeature& feature, bool severalCurves, char decimalSeparator);

} // namespace qrv
