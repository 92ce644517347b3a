#include "QrvPrintMargins.h"

#include "QrvAxisMath.h"

#include <algorithm>
#include <utility>

namespace qrv
{

namespace
{

// The margin on each end of the shorter side: `longSide` is the paper's
// side the chart's longer side lies along, `shortSide` the other, `ratio`
// the chart's short-to-long ratio already converted to the short side's
// pixel units.
int CentringMargin(double longSide, double shortSide, double ratio)
{
    const double chartShort = (longSide - longSide * 40 * 0.01) * ratio;
    const int both = NearestInt((shortSide - chartShort) * 100 / shortSide);
    // Both margins together must leave paper, and a chart that is too
    // large for the paper simply gets none.
    return std::clamp(both / 2, 0, 49);
}

} // namespace

TPaperMargins ProportionalMargins(QSize chartSize, QSize pageSize, int xDpi, int yDpi)
{
    const int w = chartSize.width(), h = chartSize.height();
    const int pw = pageSize.width(), ph = pageSize.height();
    TPaperMargins m;
    if (w <= 0 || h <= 0 || pw <= 0 || ph <= 0) return m;
    // Printer pixels along x per printer pixel along y, for the same length.
    const double xPerY = xDpi > 0 && yDpi > 0 ? static_cast<double>(xDpi) / yDpi : 1.0;
    if (h < w) {
        // The chart's width lies along the paper's width (x pixels); its
        // height is counted in y pixels.
        m.Top = m.Bottom = CentringMargin(pw, ph, static_cast<double>(h) / w / xPerY);
    } else {
        m.Left = m.Right = CentringMargin(ph, pw, static_cast<double>(w) / h * xPerY);
    }
    return m;
}

TChartRect PrintRectFromMargins(const TPaperMargins& margins, QSize pageSize, int xDpi, int yDpi)
{
    const double x = xDpi > 0 ? xDpi : 1;
    const double y = yDpi > 0 ? yDpi : 1;
    const double pw = pageSize.width(), ph = pageSize.height();
    TChartRect r;
    r.Left = NearestInt(x * (margins.Left * pw * 0.01 / x));
    r.Right = pageSize.width() - NearestInt(x * (margins.Right * pw * 0.01 / x));
    r.Top = NearestInt(y * (margins.Top * ph * 0.01 / y));
    r.Bottom = pageSize.height() - NearestInt(y * (margins.Bottom * ph * 0.01 / y));
    return r;
}

QSize DetailSize(QSize chartSize, int detail)
{
    detail = std::clamp(detail, MinPrintDetail, MaxPrintDetail);
    const int w = std::max(0, chartSize.width()), h = std::max(0, chartSize.height());
    return QSize(w - MulDiv(w, detail, 100), h - MulDiv(h, detail, 100));
}

TChartRect ScaleToLogical(const TChartRect& target, QSize logical)
{
    const int tw = target.Width(), th = target.Height();
    if (tw <= 0 || th <= 0) return {};
    return {MulDiv(target.Left, logical.width(), tw), MulDiv(target.Top, logical.height(), th),
            MulDiv(target.Right, logical.width(), tw), MulDiv(target.Bottom, logical.height(), th)};
}

TChartRect Ordered(const TChartRect& rect)
{
    TChartRect r = rect;
    if (r.Right < r.Left) std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
    return r;
}

TChartRect SheetRectFor(QSize clientSize, QSize pageSize)
{
    // Along the page's longer side (its height when it is taller than wide)
    // the sheet takes 90 % of the client, 5 % in from its edge; across, it
    // keeps the page's proportions and is centred.
    const bool tall = pageSize.width() < pageSize.height();
    const int clientAlong = tall ? clientSize.height() : clientSize.width();
    const int clientAcross = tall ? clientSize.width() : clientSize.height();
    const int pageAlong = tall ? pageSize.height() : pageSize.width();
    const int pageAcross = tall ? pageSize.width() : pageSize.height();
    const int along = clientAlong - NearestInt(clientAlong * 10 / 100.0);
    const int across = pageAlong <= 0 ? clientAcross : MulDiv(along, pageAcross, pageAlong);
    const int alongStart = NearestInt(clientAlong * 5 / 100.0);
    const int acrossStart = (clientAcross - across) / 2;
    if (tall) return {acrossStart, alongStart, acrossStart + across, alongStart + along};
    return {alongStart, acrossStart, alongStart + along, acrossStart + across};
}

TChartRect PrintableRectFor(const TChartRect& sheet, const TPaperMargins& margins)
{
    const int w = sheet.Width(), h = sheet.Height();
    return {sheet.Left + MulDiv(margins.Left, w, 100), sheet.Top + MulDiv(margins.Top, h, 100),
            sheet.Right - MulDiv(margins.Right, w, 100), sheet.Bottom - MulDiv(margins.Bottom, h, 100)};
}

TPaperMargins MarginsFromPrintableRect(const TChartRect& sheet, const TChartRect& printable)
{
    const int w = sheet.Width(), h = sheet.Height();
    if (w <= 0 || h <= 0) return {};
    TPaperMargins m;
    m.Left = std::max(0, MulDiv(printable.Left - sheet.Left, 100, w));
    m.Right = std::max(0, MulDiv(sheet.Right - printable.Right, 100, w));
    m.Top = std::max(0, MulDiv(printable.Top - sheet.Top, 100, h));
    m.Bottom = std::max(0, MulDiv(sheet.Bottom - printable.Bottom, 100, h));
    // A rectangle a few pixels wide on a small sheet could round to margins
    // of 100 % together; the right or bottom margin gives way.
    if (m.Left + m.Right >= 100) m.Right = std::max(0, 99 - m.Left);
    if (m.Top + m.Bottom >= 100) m.Bottom = std::max(0, 99 - m.Top);
    return m;
}

} // namespace qrv
