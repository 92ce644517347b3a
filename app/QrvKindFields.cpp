#include "QrvKindFields.h"

#include "QrvAppTexts.h"

#include <algorithm>

namespace qrv
{

namespace
{

using M = std::string TCurve::*;

// One row per kind, indexed by TCurveKind. A derivative's texts (which
// curve, which order) are not edited in the fields: it shows the function
// layout with nothing in it.
const std::array<TKindFieldRow, 5> kRows{{
    {TCurveKind::Function,
     {Text::FormulaLabel, nullptr, Text::XMinLabel, Text::XMaxLabel, Text::StepLabel, nullptr},
     {&TCurve::Formula, M{}, &TCurve::XMin, &TCurve::XMax, &TCurve::Step, M{}}},
    {TCurveKind::Derivative,
     {Text::FormulaLabel, nullptr, Text::XMinLabel, Text::XMaxLabel, Text::StepLabel, nullptr},
     {M{}, M{}, M{}, M{}, M{}, M{}}},
    {TCurveKind::Parametric,
     {Text::XOfTLabel, Text::YOfTLabel, Text::TMinLabel, Text::TMaxLabel, Text::StepLabel, nullptr},
     {&TCurve::XOfT, &TCurve::YOfT, &TCurve::TMin, &TCurve::TMax, &TCurve::Step, M{}}},
    {TCurveKind::Polar,
     {Text::ROfTLabel, nullptr, Text::TMinLabel, Text::TMaxLabel, Text::StepLabel, nullptr},
     {&TCurve::Formula, M{}, &TCurve::TMin, &TCurve::TMax, &TCurve::Step, M{}}},
    {TCurveKind::Implicit,
     {Text::ImplicitLabel, nullptr, Text::XMinLabel, Text::XMaxLabel, Text::YMinLabel, Text::YMaxLabel},
     {&TCurve::Formula, M{}, &TCurve::XMin, &TCurve::XMax, &TCurve::YMin, &TCurve::YMax}},
}};

// Numbers of the start texts are written with a point; the separator in
// force replaces it.
std::string Number(std::string text, char decimalSeparator)
{
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

} // namespace

const TKindFieldRow& KindFieldRow(TCurveKind kind)
{
    return kRows.at(std::size_t(kind));
}

TKindFieldTexts FieldTextsOf(const TCurve& curve)
{
    TKindFieldTexts texts;
    const TKindFieldRow& row = KindFieldRow(curve.Kind);
    for (std::size_t i = 0; i < kKindFieldCount; ++i)
        if (row.Members[i]) texts[i] = curve.*row.Members[i];
    return texts;
}

TCurve WithFieldTexts(TCurve curve, const TKindFieldTexts& texts)
{
    const TKindFieldRow& row = KindFieldRow(curve.Kind);
    for (std::size_t i = 0; i < kKindFieldCount; ++i)
        if (row.Members[i]) curve.*row.Members[i] = texts[i];
    return curve;
}

TCurve StartCurve(TCurveKind kind, char decimalSeparator)
{
    TCurve curve;
    curve.Kind = kind;
    switch (kind) {
    case TCurveKind::Parametric:
        curve.XOfT = "cos(t)";
        curve.YOfT = "sin(t)";
        break;
    case TCurveKind::Polar:
        curve.Formula = "1+cos(t)";
        break;
    case TCurveKind::Implicit:
        curve.Formula = "x*x+y*y-4";
        curve.XMin = curve.YMin = "-3";
        curve.XMax = curve.YMax = "3";
        return curve;
    case TCurveKind::Function:
    case TCurveKind::Derivative:
        return curve;
    }
    // One turn in radians, in steps fine enough for a smooth line.
    curve.TMin = "0";
    curve.TMax = Number("6.2832", decimalSeparator);
    curve.Step = Number("0.01", decimalSeparator);
    return curve;
}

} // namespace qrv
