// One curve of a document: what it plots (its kind, formula and range texts)
// and how it looks (colour, line width and style, label, shown or hidden).
// Plain C++ without Qt, so the table program and the window share it.
//
// A curve carries the fields of every kind; each kind reads only its own:
//
//   Function    Formula (y of x), XMin, XMax, Step
//   Derivative  Of (the 1-based number of a function curve), Order (1 or 2)
//   Parametric  XOfT, YOfT (x and y of t), TMin, TMax, Step
//   Polar       Formula (r of t), TMin, TMax, Step
//   Implicit    Formula (zero on the curve), XMin, XMax, YMin, YMax
//
// The texts are kept as typed: formulas and ranges are read when the curve
// is plotted, with the decimal separator the document names (see
// QrvSeparatorText.h for moving them to another one).
#pragma once

#include "QrvColor.h"

#include <string>
#include <vector>

namespace qrv
{

enum class TCurveKind { Function, Derivative, Parametric, Polar, Implicit };

enum class TLineStyle { Solid, Dash, Dot };

// A member of a JSON object that this program does not know, kept so that
// saving the document again writes it back: its key and its value as JSON
// text (written by the document file's writer; other code only copies it).
struct TJsonMember {
    std::string Key;
    std::string Json;
    bool operator==(const TJsonMember&) const = default;
};
using TJsonMembers = std::vector<TJsonMember>;

inline constexpr int kMinLineWidth = 1;
inline constexpr int kMaxLineWidth = 8;

struct TCurve {
    TCurveKind Kind = TCurveKind::Function;
    std::string Formula;
    std::string XOfT;
    std::string YOfT;
    std::string XMin;
    std::string XMax;
    std::string YMin;
    std::string YMax;
    std::string TMin;
    std::string TMax;
    std::string Step;
    int Of = 1;
    int Order = 1;
    TColor Color = clRed; // a plain colour, 0x00BBGGRR
    int Width = 1;        // pixels, kMinLineWidth..kMaxLineWidth
    TLineStyle Style = TLineStyle::Solid;
    std::string Label; // empty: the curve is named by its formula
    bool Visible = true;
    TJsonMembers Unknown; // members of the curve's object this program does not know
    bool operator==(const TCurve&) const = default;
};

// The name the function list, the legend and the table headers show for the
// curve at `index` (0-based) of its document: its label, or else a name made
// of its formula:
//   Function    the formula ("sin(x)")
//   Derivative  f1' or f1'' (the curve it derives, by number)
//   Parametric  x(t)=cos(t), y(t)=sin(t)
//   Polar       r(t)=1+cos(t)
//   Implicit    x*x+y*y-4 = 0
// A curve whose formula is still empty is named f<number>, "f3" for the
// third curve.
std::string DisplayName(const TCurve& curve, int index);

} // namespace qrv
