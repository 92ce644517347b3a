#include "QrvChartDraw.h"

#include "QrvChartAxisDraw.h"
#include "QrvChartLayout.h"
#include "QrvSeries.h"

#include <QPainter>

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
    for (const TChartSeries* s : content.Series) {
        if (!s->Active()) continue;
        TPainterState state(painter);
        if (content.Frame.ClipPoints)
            painter.setClipRect(clip, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        const int h = content.HorizAxisIndexOf(*s);
        const TChartAxis& horiz = *content.Axes[static_cast<std::size_t>(h)];
        const bool horizAutomatic = (horiz.Automatic() || horiz.AutomaticMinimum()) &&
                                    (horiz.Automatic() || horiz.AutomaticMaximum());
        s->DrawValues(painter, layout.Axes[static_cast<std::size_t>(h)].Scale,
                      layout.Axes[static_cast<std::size_t>(content.VertAxisIndexOf(*s))].Scale, r,
                      horizAutomatic, printing);
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
}

} // namespace qrv
