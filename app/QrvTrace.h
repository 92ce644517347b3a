// The trace readout's arithmetic, free of any window: which plotted point
// lies nearest the mouse column, the text that names it, and where the small
// readout box goes so that it does not cover the point.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qrv
{

// The point nearest the mouse column: the smallest horizontal pixel distance
// wins (the mouse's height plays no part); among points on the same column,
// as dense data puts many, the one nearest in value to mouseValue, the value
// under the mouse. xs must be in ascending order, as the series keeps them;
// pixelOf maps a value to its column (either direction). -1 without points.
int NearestPointByPixel(const std::vector<double>& xs, int mouseX, double mouseValue,
                        const std::function<int(double)>& pixelOf);

// The point nearest the mouse in the plane, for a chart of several curves
// where the nearest curve is traced: the smallest distance in pixels
// between the mouse and a point's pixel, and that squared distance. xs in
// ascending order beside their ys; pixelOfX and pixelOfY map values to
// pixels (either direction). The search spreads from the mouse column and
// stops on each side where the columns alone lie further off than the best
// point found, so a dense curve costs only the points near the mouse.
// Index -1 without points; of equally near points the first in x order.
struct TNearestPoint {
    int Index = -1;
    long long Distance2 = 0;
};
TNearestPoint NearestPointInPlane(const std::vector<double>& xs, const std::vector<double>& ys, int mouseX,
                                  int mouseY, double mouseValue, const std::function<int(double)>& pixelOfX,
                                  const std::function<int(double)>& pixelOfY);

// "x = 1.500   y = -2.250": both values as the table writes them (the
// "0.000" format) with the given decimal separator.
std::string TraceReadout(double x, double y, char decimalSeparator);
// The same after the name of the curve it belongs to, three blanks apart
// ("sin(x)   x = 1.500   y = 0.997"), for a chart of several curves; an
// empty name gives the plain readout.
std::string TraceReadout(const std::string& curve, double x, double y, char decimalSeparator);

// A rectangle by its left, top, width and height, in chart pixels.
struct TTraceBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Contains(int x, int y) const
    {
        return x >= Left && x < Left + Width && y >= Top && y < Top + Height;
    }
    bool operator==(const TTraceBox&) const = default;
};

// Keep this far from the axes' edges and from the traced point.
inline constexpr int kReadoutInset = 4;

// Where a readout box of the given size goes inside the axes rectangle: the
// top left corner, else the first of top right, bottom left and bottom right
// whose box (grown by kReadoutInset) leaves the point free; top left again
// when none does.
TTraceBox ReadoutBox(const TTraceBox& axes, int width, int height, int pointX, int pointY);

// How far outside the axes the trace's marks may lie.
inline constexpr int kTraceMarkMargin = 16;
// Where the trace draws a point's marks along one axis running from low to
// high: its pixel, held within kTraceMarkMargin of the axis. A point far off
// a zoomed axis has a pixel at the ends of the int range; held there, the
// marks lie where the clip hides them and their shapes' corners cannot
// overflow.
int TraceMarkPixel(int pixel, int low, int high);

} // namespace qrv
