#include "QrvFeatureText.h"

#include "QrvMessages.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace qrv
{

namespace
{

constexpr std::array<std::string_view, 6> kKindNames = {"root",       "minimum",      "maximum",
                                                        "inflection", "intersection", "integral"};

// The significant digits and the decimal exponent of a value rounded to
// `digits` digits, trailing zeros kept.
struct TDigits {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// At most `digits` significant digits, fewer where fewer read back as the
// value; with digits 0 the shortest that read back as the same double.
TDigits DigitsOf(Float value, int digits)
{
    // std::to_chars is exact and does not look at the locale.
    char text[64];
    std::to_chars_result r =
        digits == 0 ? std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                    std::chars_format::scientific)
                    : std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
    if (digits > 0) {
        // The shortest digits that read back as the value, unless more than
        // asked for: 0.001 and not 0.00099999999999999999996.
        const auto mantissa = std::find(text, r.ptr, 'e') - text;
        const auto count = mantissa - (text[0] == '-') - (mantissa > 1 + (text[0] == '-'));
        if (count > digits)
            r = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1);
    }
    TDigits out;
    const char* p = text;
    if (*p == '-') {
        out.Negative = true;
        ++p;
    }
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p != '.') out.Digits += *p;
    if (p < r.ptr) std::from_chars(p + 1 + (p[1] == '+'), r.ptr, out.Exponent);
    return out;
}

} // namespace

std::string_view FeatureKindName(TFeatureKind kind)
{
    return kKindNames.at(static_cast<std::size_t>(kind));
}

std::string ScientificText(Float value, int significantDigits)
{
    char text[64];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, significantDigits - 1);
    return std::string(text, r.ptr);
}

namespace
{

// The layout of DisplayNumber; digits 0 as in DigitsOf.
std::string Display(Float value, char decimalSeparator, int digits)
{
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    TDigits d = DigitsOf(value, digits);
    while (d.Digits.size() > 1 && d.Digits.back() == '0')
        d.Digits.pop_back();
    std::string out = d.Negative ? "-" : "";
    const int count = static_cast<int>(d.Digits.size());
    if (d.Exponent >= 20 || d.Exponent < -5) {
        out += d.Digits[0];
        if (count > 1) {
            out += decimalSeparator;
            out.append(d.Digits, 1);
        }
        out += 'E';
        out += std::to_string(d.Exponent);
        return out;
    }
    if (d.Exponent < 0) {
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<std::size_t>(-d.Exponent - 1), '0');
        out += d.Digits;
        return out;
    }
    const int integerDigits = d.Exponent + 1;
    if (count <= integerDigits) {
        out += d.Digits;
        out.append(static_cast<std::size_t>(integerDigits - count), '0');
        return out;
    }
    out.append(d.Digits, 0, static_cast<std::size_t>(integerDigits));
    out += decimalSeparator;
    out.append(d.Digits, static_cast<std::size_t>(integerDigits));
    return out;
}

// Where the formula failed: a sample of the run is a double and reads as the
// user would type it ("1.01", not "1.0100000000000000089"); a point between
// samples gets all its digits.
std::string PlaceText(Float x, char decimalSeparator)
{
    const bool isDouble =
        std::fabs(x) <= std::numeric_limits<double>::max() && Float(static_cast<double>(x)) == x;
    return Display(x, decimalSeparator, isDouble ? 0 : 20);
}

} // namespace

std::string DisplayNumber(Float value, char decimalSeparator, int maxDigits)
{
    return Display(value, decimalSeparator, std::clamp(maxDigits, 1, 20));
}

std::string NoValueText(const TFeature& feature, char decimalSeparator)
{
    switch (feature.NoValue) {
    case TNoValue::Pole: {
        // As many digits as the sample interval around the pole resolves.
        int digits = 20;
        if (feature.FaultX != 0 && feature.FaultWidth > 0)
            digits =
                std::clamp(std::ilogb(std::fabs(feature.FaultX)) - std::ilogb(feature.FaultWidth), 0, 64) *
                    3 / 10 +
                2;
        return FormatMessage(Msg::AnalysisPoleAbout,
                             {DisplayNumber(feature.FaultX, decimalSeparator, std::min(digits, 20))});
    }
    case TNoValue::Failure:
        return FormatMessage(Msg::AnalysisFormulaFails,
                             {PlaceText(feature.FaultX, decimalSeparator), feature.FaultMessage});
    case TNoValue::NoConvergence:
        return FormatMessage(Msg::AnalysisNoConvergence, {DisplayNumber(feature.Error, decimalSeparator, 3)});
    case TNoValue::None:
        break;
    }
    return {};
}

std::string FeatureLine(const TFeature& feature)
{
    std::string line = std::to_string(feature.Curve);
    if (feature.Kind == TFeatureKind::Intersection) {
        line += '&';
        line += std::to_string(feature.OtherCurve);
    }
    line += '\t';
    line += FeatureKindName(feature.Kind);
    line += '\t';
    if (feature.Kind != TFeatureKind::Integral) {
        line += ScientificText(feature.X, 21);
        line += '\t';
        line += ScientificText(feature.Y, 21);
    } else if (feature.HasValue()) {
        line += ScientificText(feature.Value, 21);
        line += '\t';
        line += ScientificText(feature.Error, 3);
    } else {
        line += "-\t";
        line += NoValueText(feature, '.');
    }
    line += '\n';
    return line;
}

std::string FeatureCurves(const TFeature& feature)
{
    std::string curves = "f" + std::to_string(feature.Curve);
    if (feature.Kind == TFeatureKind::Intersection) curves += ", f" + std::to_string(feature.OtherCurve);
    return curves;
}

TFeatureRow FeatureRow(const TFeature& feature, char decimalSeparator)
{
    TFeatureRow row{FeatureCurves(feature), std::string(FeatureKindName(feature.Kind)), {}, {}};
    if (feature.Kind != TFeatureKind::Integral) {
        row.X = DisplayNumber(feature.X, decimalSeparator);
        row.Y = DisplayNumber(feature.Y, decimalSeparator);
    } else if (feature.HasValue()) {
        row.X = DisplayNumber(feature.Value, decimalSeparator);
        row.Y = "\xC2\xB1 " + DisplayNumber(feature.Error, decimalSeparator, 3);
    } else {
        row.X = "-";
        row.Y = NoValueText(feature, decimalSeparator);
    }
    return row;
}

std::string FeatureRowsText(const std::vector<TFeatureRow>& rows)
{
    std::string text;
    for (const TFeatureRow& row : rows)
        text += row.Curve + '\t' + row.Kind + '\t' + row.X + '\t' + row.Y + '\n';
    return text;
}

std::string FeatureReadout(const TFeature& feature, bool severalCurves, char decimalSeparator)
{
    std::string name(FeatureKindName(feature.Kind));
    if (feature.Kind == TFeatureKind::Intersection || severalCurves) name += ' ' + FeatureCurves(feature);
    return name + "   x = " + DisplayNumber(feature.X, decimalSeparator, kReadoutDigits) +
           "   y = " + DisplayNumber(feature.Y, decimalSeparator, kReadoutDigits);
}

} // namespace qrv
