#include "QrvChartLegend.h"

#include "QrvClipGeometry.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qrv
{

TChartRect LegendBoxAt(TLegendCorner corner, const TChartRect& axes, int width, int height)
{
    const bool right = corner == TLegendCorner::TopRight || corner == TLegendCorner::BottomRight;
    const bool top = corner == TLegendCorner::TopRight || corner == TLegendCorner::TopLeft;
    TChartRect box;
    box.Left = right ? axes.Right - kLegendMargin - (width - 1) : axes.Left + kLegendMargin;
    box.Right = box.Left + width - 1;
    box.Top = top ? axes.Top + kLegendMargin : axes.Bottom - kLegendMargin - (height - 1);
    box.Bottom = box.Top + height - 1;
    return box;
}

double LineCover(const TChartRect& box, const std::vector<std::vector<TLineRun>>& lines)
{
    const TClipBox clip{box.Left, box.Top, box.Right, box.Bottom};
    double cover = 0;
    for (const std::vector<TLineRun>& runs : lines)
        for (const TLineRun& run : runs)
            for (std::size_t i = 1; i < run.Points.size(); ++i) {
                const QPoint a = run.Points[i - 1], b = run.Points[i];
                // Most segments lie wholly beside the box.
                if (std::max(a.x(), b.x()) < box.Left || std::min(a.x(), b.x()) > box.Right ||
                    std::max(a.y(), b.y()) < box.Top || std::min(a.y(), b.y()) > box.Bottom)
                    continue;
                const auto part =
                    ClipSegment<double>({double(a.x()), double(a.y())}, {double(b.x()), double(b.y())}, clip);
                if (!part) continue;
                const double longer = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
                cover += longer * (part->T1 - part->T0) + 1;
            }
    return cover;
}

TLegendCorner EmptiestCorner(const TChartRect& axes, int width, int height,
                             const std::vector<std::vector<TLineRun>>& lines)
{
    constexpr TLegendCorner order[] = {TLegendCorner::TopRight, TLegendCorner::TopLeft,
                                       TLegendCorner::BottomRight, TLegendCorner::BottomLeft};
    TLegendCorner best = order[0];
    double least = 0;
    for (std::size_t i = 0; i < std::size(order); ++i) {
        const double cover = LineCover(LegendBoxAt(order[i], axes, width, height), lines);
        // Strictly less: an equal cover keeps the corner that comes first.
        if (i == 0 || cover < least) {
            best = order[i];
            least = cover;
        }
    }
    return best;
}

TLegendLayout ComputeLegendLayout(const TChartLegend& legend, const std::vector<TLegendEntry>& entries,
                                  const TChartRect& axes, const std::vector<std::vector<TLineRun>>& lines,
                                  const QFontMetrics& metrics)
{
    TLegendLayout layout;
    const int count = static_cast<int>(entries.size());
    if (!legend.Visible || count < std::max(legend.ShownFrom, 2)) return layout;

    // Across: frame, padding, sample, gap, title, padding, frame.
    const int fixedWidth = 2 + 2 * kLegendPadding + kLegendSample + kLegendGap;
    const int room = std::min(axes.Width() / 2, axes.Width() - 2 * kLegendMargin - 1) - fixedWidth;
    const int maxText = std::min(room, 32 * metrics.averageCharWidth());
    const QString more = QStringLiteral("\u2026");
    if (maxText < metrics.horizontalAdvance(more) * 2) return layout;

    // Down: a row as high as the text and the widest line, a pixel apart.
    int widest = 1;
    for (const TLegendEntry& e : entries)
        widest = std::max(widest, e.Pen.Width);
    const int rowHeight = std::max(metrics.height(), widest) + 2;
    const int rowsFit = (axes.Height() - 2 * kLegendMargin - 1 - 2 - 2 * kLegendPadding) / rowHeight;
    if (rowsFit < 2) return layout;
    const int rows = std::min(count, rowsFit);
    const bool cut = rows < count;

    std::vector<TLegendRow> made;
    int textWidth = 0;
    for (int i = 0; i < rows; ++i) {
        TLegendRow row;
        if (cut && i == rows - 1) {
            row.Text = more;
        } else {
            const TLegendEntry& e = entries[static_cast<std::size_t>(i)];
            row.Series = e.Series;
            row.Text = metrics.elidedText(e.Title, Qt::ElideRight, maxText);
            row.Color = e.Color;
            row.Pen = e.Pen;
        }
        textWidth = std::max(textWidth, metrics.horizontalAdvance(row.Text));
        made.push_back(std::move(row));
    }
    const int width = fixedWidth + textWidth;
    const int height = 2 + 2 * kLegendPadding + rows * rowHeight;

    layout.Shown = true;
    layout.Corner = EmptiestCorner(axes, width, height, lines);
    layout.Box = LegendBoxAt(layout.Corner, axes, width, height);
    const int sampleLeft = layout.Box.Left + 1 + kLegendPadding;
    const int textLeft = sampleLeft + kLegendSample + kLegendGap;
    for (int i = 0; i < rows; ++i) {
        TLegendRow& row = made[static_cast<std::size_t>(i)];
        const int top = layout.Box.Top + 1 + kLegendPadding + i * rowHeight;
        const int middle = top + rowHeight / 2;
        row.SampleFrom = QPoint(sampleLeft, middle);
        row.SampleTo = QPoint(sampleLeft + kLegendSample, middle);
        row.TextRect = QRect(textLeft, top, textWidth, rowHeight);
    }
    layout.Rows = std::move(made);
    return layout;
}

} // namespace qrv
