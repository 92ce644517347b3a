#include "QrvFeatureMarks.h"

#include "QrvChartPicture.h"

#include <QPainter>

namespace qrv
{

std::optional<QPoint> MarkPixel(const TChartPicture& chart, const TChartLayout& layout,
                                const TFeatureMark& mark)
{
    if (mark.Series < 0 || mark.Series >= chart.SeriesCount()) return std::nullopt;
    const TChartSeries& series = chart.Series(mark.Series);
    if (!series.Active()) return std::nullopt;
    const TAxisLayout& horiz = series.HorizAxis == THorizAxis::aTopAxis ? layout.Top() : layout.Bottom();
    const TAxisLayout& vert = series.VertAxis == TVertAxis::aRightAxis ? layout.Right() : layout.Left();
    const int x = horiz.ValueToPixel(mark.X * series.XValues.Multiplier());
    const int y = vert.ValueToPixel(mark.Y * series.YValues.Multiplier());
    const TChartRect& axes = layout.AxesRect;
    if (x < axes.Left || x > axes.Right || y < axes.Top || y > axes.Bottom) return std::nullopt;
    return QPoint(x, y);
}

int MarkNear(const TChartPicture& chart, const TChartLayout& layout, const std::vector<TFeatureMark>& marks,
             const QPoint& mouse)
{
    int best = -1;
    long long bestDistance2 = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::optional<QPoint> at = MarkPixel(chart, layout, marks[i]);
        if (!at) continue;
        const long long dx = at->x() - mouse.x(), dy = at->y() - mouse.y();
        const long long distance2 = dx * dx + dy * dy;
        if (distance2 > kFeatureSnapPixels * kFeatureSnapPixels) continue;
        if (best < 0 || distance2 < bestDistance2) {
            best = static_cast<int>(i);
            bestDistance2 = distance2;
        }
    }
    return best;
}

void DrawFeatureMarks(QPainter& painter, const TChartPicture& chart, const TChartLayout& layout,
                      const std::vector<TFeatureMark>& marks)
{
    if (marks.empty()) return;
    painter.save();
    painter.setClipRect(layout.AxesRect.ToQRect().adjusted(0, 0, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const TFeatureMark& mark : marks) {
        const std::optional<QPoint> at = MarkPixel(chart, layout, mark);
        if (!at) continue;
        // A ring in the curve's colour around a white dot stands out from
        // the curve's own line through it.
        painter.setPen(QPen(mark.Color, 2));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(*at), kFeatureMarkRadius, kFeatureMarkRadius);
    }
    painter.restore();
}

} // namespace qrv
