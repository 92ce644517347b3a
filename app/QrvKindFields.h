// The fields above the chart for each kind of curve: which of them show,
// under which captions, and which text of the curve each one holds. The
// window has six fields; a kind uses some of them:
//
//   kind        formula          second  range 1  range 2  range 3  range 4
//   function    Formula: y=      -       X min    X max    Step     -
//   parametric  x(t)=            y(t)=   T min    T max    Step     -
//   polar       Formula: r(t)=   -       T min    T max    Step     -
//   implicit    Formula: 0=      -       X min    X max    Y min    Y max
//
// The function kind keeps the layout the window has always had.
#pragma once

#include "QrvCurve.h"

#include <array>
#include <cstddef>
#include <string>

namespace qrv
{

enum class TKindField { Formula, SecondFormula, Range1, Range2, Range3, Range4 };
inline constexpr std::size_t kKindFieldCount = 6;

// The texts of the six fields, in TKindField order.
using TKindFieldTexts = std::array<std::string, kKindFieldCount>;

// What the fields show for one kind.
struct TKindFieldRow {
    TCurveKind Kind;
    // The caption of each field; nullptr: the field is hidden.
    std::array<const char*, kKindFieldCount> Captions;
    // The text of the curve each field holds; nullptr: none (a hidden
    // field, or a kind whose texts are not edited in the fields).
    std::array<std::string TCurve::*, kKindFieldCount> Members;
};

const TKindFieldRow& KindFieldRow(TCurveKind kind);

inline bool FieldShown(TCurveKind kind, TKindField field)
{
    return KindFieldRow(kind).Captions[std::size_t(field)] != nullptr;
}

// The texts the fields show for the curve (empty for a field of no text).
TKindFieldTexts FieldTextsOf(const TCurve& curve);

// The curve with the fields' texts put into the texts its kind shows; its
// other texts, its kind and its look stay.
TCurve WithFieldTexts(TCurve curve, const TKindFieldTexts& texts);

// A new curve of `kind` with texts to start from, its numbers written with
// `decimalSeparator`: a parametric circle, a polar cardioid, an implicit
// circle of radius 2. A function curve starts empty (its range is the
// caller's to give).
TCurve StartCurve(TCurveKind kind, char decimalSeparator);

} // namespace qrv
