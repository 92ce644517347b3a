#include "QrvChartDraw.h"

#include "QrvChartAxisDraw.h"
#include "QrvChartLayout.h"
#include "QrvSeries.h"

#include <QPainter>

#include <cmath>

namespace qrv
{

namespace
{

// Restores a painter's state when the drawing ends, also by an exception.
class TPainterState
{
public:
    explicit TPainterState(QPainter& painter) : painter_(painter) { painter_.save(); }
    ~TPainterState() { painter_.restore(); }
    TPainterState(const TPainterState&) = delete;
    TPainterState& operator=(const TPainterState&) = delete;

private:
    QPainter& painter_;
};

void DrawBackWall(QPainter& painter, const TChartWall& wall, const TChartRect& r, bool printing)
{
    painter.setPen(MakeQPen(wall.Pen, printing));
    const bool filled = wall.Brush.Style == TBrushStyle::bsSolid && wall.Color != UseSeriesColor;
    painter.setBrush(filled ? QBrush(ToQColor(wall.Color)) : QBrush(Qt::NoBrush));
    // The outline covers the edge pixels of the axes rectangle on all sides.
    painter.drawRect(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void DrawSeries(QPainter& painter, const TChartContent& content, const TChartLayout& layout, bool printing)
{
    const TChartRect& r = layout.AxesRect;
    const QRect clip(r.Left, r.Top, r.Width() + 1, r.Height() + 1);
    const bool laidOut = layout.SeriesRuns.size() == content.Series.size();
    for (std::size_t i = 0; i < content.Series.size(); ++i) {
        const TChartSeries* s = content.Series[i];
        if (!s->Active()) continue;
        TPainterState state(painter);
        if (content.Frame.ClipPoints)
            painter.setClipRect(clip, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        if (laidOut) {
            s->DrawRuns(painter, layout.SeriesRuns[i], printing);
            continue;
        }
        s->DrawValues(painter, layout.Axes[static_cast<std::size_t>(content.HorizAxisIndexOf(*s))].Scale,
                      layout.Axes[static_cast<std::size_t>(content.VertAxisIndexOf(*s))].Scale, r,
                      content.DrawsEveryPoint(*s), printing);
    }
}

// The legend's box, filled even on a print (it hides the lines behind it),
// and per row the line sample in the series' pen and the title.
void DrawLegend(QPainter& painter, const TChartLegend& legend, const TLegendLayout& layout, bool printing)
{
    if (!layout.Shown) return;
    TPainterState state(painter);
    painter.setPen(MakeQPen(legend.Frame, printing));
    painter.setBrush(ToQColor(legend.Color));
    painter.drawRect(layout.Box.ToQRect());
    const double deviceScale = std::sqrt(std::fabs(painter.deviceTransform().determinant()));
    painter.setFont(legend.Font.Font);
    const QColor text =
        printing && legend.Font.Color == clWhite ? QColor(Qt::black) : ToQColor(legend.Font.Color);
    for (const TLegendRow& row : layout.Rows) {
        if (row.Series >= 0) {
            painter.setPen(MakeLinePen(row.Pen, row.Color, printing, deviceScale));
            painter.drawLine(row.SampleFrom, row.SampleTo);
        }
        painter.setPen(text);
        painter.drawText(row.TextRect, Qt::AlignLeft | Qt::AlignVCenter, row.Text);
    }
}

} // namespace

void DrawChartLayout(QPainter& painter, const TChartContent& content, const TChartLayout& layout,
                     const TChartDrawOptions& options)
{
    TPainterState state(painter);
    if (!options.Printing) painter.fillRect(layout.PanelRect.ToQRect(), ToQColor(content.Frame.Color));
    DrawBackWall(painter, content.Frame.BackWall, layout.AxesRect, options.Printing);
    // Axes before the series, so the line lies on top of grid and axes.
    for (std::size_t i = 0; i < layout.Axes.size(); ++i)
        if (layout.Axes[i].Shown)
            DrawAxis(painter, *content.Axes[i], layout.Axes[i], layout.AxesRect, options.Printing);
    DrawSeries(painter, content, layout, options.Printing);
    DrawLegend(painter, content.Frame.Legend, layout.Legend, options.Printing);
}

} // namespace qrv
