// A rectangle by its four edges, right and bottom exclusive as the chart's
// layout rules count them, and the integer helpers of that layout.
#pragma once

#include <QRect>

namespace qrv
{

struct TChartRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    // The same area as a QRect (QRect's right() is one less than Right).
    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
    static TChartRect FromQRect(const QRect& r)
    {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    bool operator==(const TChartRect&) const = default;
};

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c
// is 0 or the result does not fit in an int.
int MulDiv(int a, int b, int c);

} // namespace qrv
