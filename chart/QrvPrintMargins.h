// The arithmetic of printing a chart inside paper margins, free of any
// window or printer: margins kept in proportion with the chart, the print
// rectangle they leave on the page, the layout size a detail setting gives,
// and the sheet a preview draws for a page.
#pragma once

#include "QrvChartRect.h"

#include <QSize>

namespace qrv
{

// Paper margins in whole percent: left and right of the paper width, top
// and bottom of its height.
struct TPaperMargins {
    int Left = 15;
    int Top = 15;
    int Right = 15;
    int Bottom = 15;
    bool operator==(const TPaperMargins&) const = default;
};

// The margin every side gets that is not computed from the chart's shape.
inline constexpr int DefaultPaperMargin = 15;
// The detail setting runs from this (chart laid out at twice its size) to 0.
inline constexpr int MinPrintDetail = -100;
inline constexpr int MaxPrintDetail = 0;

// Whether a margin may take `value` while the opposite side has `opposite`:
// together they must leave some paper.
constexpr bool MarginPairAllowed(int value, int opposite)
{
    return value >= 0 && value + opposite < 100;
}

// Margins that print a chart of `chartSize` pixels in its own proportions:
// its longer side takes 60 % of the paper's longer side with 15 % margins
// there; the other two margins centre the shorter side. xDpi and yDpi are
// the printer's resolutions, so non-square printer pixels keep the shape.
// An empty chart or page gives the default margins.
TPaperMargins ProportionalMargins(QSize chartSize, QSize pageSize, int xDpi, int yDpi);

// The rectangle inside `margins` on a page of `pageSize` device pixels.
TChartRect PrintRectFromMargins(const TPaperMargins& margins, QSize pageSize, int xDpi, int yDpi);

// The size a chart of `chartSize` is laid out at for a detail setting
// (-100 ... 0): -100 doubles both sides, 0 keeps them.
QSize DetailSize(QSize chartSize, int detail);

// `target` (device units, edges in order) in the units of a layout of
// `logical` size stretched over the target's width and height.
TChartRect ScaleToLogical(const TChartRect& target, QSize logical);

// `rect` with left/right and top/bottom swapped where reversed.
TChartRect Ordered(const TChartRect& rect);

// The sheet a preview of `clientSize` pixels shows for a page of `pageSize`:
// as large as 90 % of the client allows along the page's longer side,
// centred across.
TChartRect SheetRectFor(QSize clientSize, QSize pageSize);

// The sheet less its margins.
TChartRect PrintableRectFor(const TChartRect& sheet, const TPaperMargins& margins);

// The margins that leave `printable` on `sheet`, in whole percent. Two
// opposite margins never add up to 100, so some paper is always left.
TPaperMargins MarginsFromPrintableRect(const TChartRect& sheet, const TChartRect& printable);

} // namespace qrv
