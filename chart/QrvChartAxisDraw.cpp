#include "QrvChartAxisDraw.h"

#include "QrvAxisLayout.h"
#include "QrvChartAxis.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qrv
{

namespace
{

// A label's text position, worked out in a wider type: a label far off an
// axis zoomed into a span the doubles barely resolve has a pixel at the ends
// of the int range, and its text goes where no picture reaches instead of
// overflowing.
QPoint TextPoint(long long x, long long y)
{
    constexpr long long kFarOff = 1 << 24;
    return QPoint(int(std::clamp(x, -kFarOff, kFarOff)), int(std::clamp(y, -kFarOff, kFarOff)));
}

QColor TextColor(const TChartFont& font, bool printing)
{
    // Printers have white paper: white text would vanish.
    if (printing && font.Color == clWhite) return Qt::black;
    return ToQColor(font.Color);
}

// A line across an axis at position t along it, covering the pixels a ... b
// (inclusive) across it. Lines end flat, so the far end is one past b.
void LineAcross(QPainter& painter, bool horizontalAxis, int t, int a, int b)
{
    if (a > b) std::swap(a, b);
    if (horizontalAxis)
        painter.drawLine(QPoint(t, a), QPoint(t, b + 1));
    else
        painter.drawLine(QPoint(a, t), QPoint(b + 1, t));
}

// One axis drawn on one painter.
class TAxisPainter
{
public:
    TAxisPainter(QPainter& painter, const TChartAxis& axis, const TAxisLayout& layout, bool printing)
        : painter_(painter), axis_(axis), layout_(layout), kind_(axis.Kind()), printing_(printing)
    {
    }
    void Draw(const TChartRect& axesRect);

private:
    void DrawTitle() const;
    void DrawLabel(const QFontMetrics& fm, int pixel, const QString& text) const;
    // Pixels between the axes rectangle's edge and the outer side of the
    // axis line, where ticks start.
    int TickStartOffset() const { return axis_.Axis.Visible ? std::max(1, axis_.Axis.Width) : 0; }
    void DrawTicks(const std::vector<int>& positions, int length, bool outward, const TChartPen& pen) const;
    void DrawLine() const;
    void DrawGrid(const std::vector<int>& ticks, const TChartRect& axesRect) const;

    QPainter& painter_;
    const TChartAxis& axis_;
    const TAxisLayout& layout_;
    TAxisKind kind_;
    bool printing_;
};

void TAxisPainter::DrawTitle() const
{
    const QString caption = QString::fromStdString(axis_.Title.Caption);
    painter_.setFont(axis_.Title.Font.Font);
    painter_.setPen(TextColor(axis_.Title.Font, printing_));
    const QFontMetrics fm = painter_.fontMetrics();
    const int w = fm.horizontalAdvance(caption);
    const int h = fm.height();
    const int center = layout_.CenterPixel();
    if (kind_ == TAxisKind::Left && axis_.Title.Angle == 90) {
        painter_.save();
        painter_.translate(layout_.TitlePos - h, center + w / 2);
        painter_.rotate(-90);
        painter_.drawText(QPoint(0, fm.ascent()), caption);
        painter_.restore();
        return;
    }
    if (kind_ == TAxisKind::Right && axis_.Title.Angle == 270) {
        painter_.save();
        painter_.translate(layout_.TitlePos + h, center - w / 2);
        painter_.rotate(90);
        painter_.drawText(QPoint(0, fm.ascent()), caption);
        painter_.restore();
        return;
    }
    switch (kind_) {
    case TAxisKind::Left: // right-aligned, centred vertically
        painter_.drawText(QPoint(layout_.TitlePos - w, center - h / 2 + fm.ascent()), caption);
        break;
    case TAxisKind::Right:
        painter_.drawText(QPoint(layout_.TitlePos, center - h / 2 + fm.ascent()), caption);
        break;
    case TAxisKind::Top: // centred, bottom at the title position
        painter_.drawText(QPoint(center - w / 2, layout_.TitlePos - fm.descent()), caption);
        break;
    default: // centred, top at the title position
        painter_.drawText(QPoint(center - w / 2, layout_.TitlePos + fm.ascent()), caption);
        break;
    }
}

void TAxisPainter::DrawLabel(const QFontMetrics& fm, int pixel, const QString& text) const
{
    const long long w = fm.horizontalAdvance(text);
    const long long top = static_cast<long long>(pixel) - fm.height() / 2;
    const long long at = pixel, labels = layout_.LabelsPos;
    switch (kind_) {
    case TAxisKind::Left: // right-aligned, top half a line above the tick
        painter_.drawText(TextPoint(labels - w, top + fm.ascent()), text);
        break;
    case TAxisKind::Right:
        painter_.drawText(TextPoint(labels, top + fm.ascent()), text);
        break;
    case TAxisKind::Top: // centred, bottom-aligned
        painter_.drawText(TextPoint(at - w / 2, labels - fm.descent()), text);
        break;
    default: // centred, top at the labels position
        painter_.drawText(TextPoint(at - w / 2, labels + fm.ascent()), text);
        break;
    }
}

void TAxisPainter::DrawTicks(const std::vector<int>& positions, int length, bool outward,
                             const TChartPen& pen) const
{
    if (!pen.Visible || length <= 0 || positions.empty()) return;
    const int dir = (kind_ == TAxisKind::Bottom || kind_ == TAxisKind::Right) ? 1 : -1;
    int from, to;
    if (outward) {
        from = layout_.AxisLinePos + dir * TickStartOffset();
        to = from + dir * (length - 1);
    } else {
        from = layout_.AxisLinePos - dir;
        to = layout_.AxisLinePos - dir * length;
    }
    painter_.setPen(MakeQPen(pen, printing_));
    for (int t : positions)
        LineAcross(painter_, axis_.IsHorizontal(), t, from, to);
}

void TAxisPainter::DrawLine() const
{
    // The line lies on the rectangle's edge and grows outwards with its
    // width: its centre is offset so that exactly Width pixels are covered,
    // the edge pixel first.
    painter_.setPen(MakeQPen(axis_.Axis, printing_));
    const int w = std::max(1, axis_.Axis.Width);
    const bool growsPositive = kind_ == TAxisKind::Bottom || kind_ == TAxisKind::Right;
    const int pos = layout_.AxisLinePos;
    const int centre = growsPositive ? pos + w / 2 : pos - (w - 1) / 2;
    if (axis_.IsHorizontal())
        painter_.drawLine(QPoint(layout_.StartPixel(), centre), QPoint(layout_.EndPixel() + 1, centre));
    else
        painter_.drawLine(QPoint(centre, layout_.StartPixel()), QPoint(centre, layout_.EndPixel() + 1));
}

void TAxisPainter::DrawGrid(const std::vector<int>& ticks, const TChartRect& axesRect) const
{
    const TChartPen& grid = axis_.Grid;
    painter_.setBackgroundMode(Qt::TransparentMode);
    const TColor color = grid.Color == UseSeriesColor ? clGray : grid.Color;
    const bool horizontal = axis_.IsHorizontal();
    // Device pixels per layout pixel along the grid lines: the dots of a
    // printed grid are as long as on screen.
    const QTransform t = painter_.deviceTransform();
    const double scale = horizontal ? std::hypot(t.m21(), t.m22()) : std::hypot(t.m11(), t.m12());
    painter_.setPen(MakeQPen(grid, color, printing_, scale));
    // Inside the back wall: the outline and the axis lines stay whole.
    const int a = (horizontal ? axesRect.Top : axesRect.Left) + 1;
    const int b = (horizontal ? axesRect.Bottom : axesRect.Right) - 1;
    for (int pixel : ticks)
        LineAcross(painter_, horizontal, pixel, a, b);
}

void TAxisPainter::Draw(const TChartRect& axesRect)
{
    painter_.save();
    painter_.setBrush(Qt::NoBrush);
    painter_.setFont(axis_.LabelsFont.Font);
    const QFontMetrics labelsMetrics = painter_.fontMetrics();

    if (!axis_.Title.Caption.empty()) DrawTitle();

    if (axis_.Labels) {
        painter_.setFont(axis_.LabelsFont.Font);
        painter_.setPen(TextColor(axis_.LabelsFont, printing_));
        for (const TAxisLabel& label : layout_.Labels)
            DrawLabel(labelsMetrics, label.Pixel, axis_.LabelText(label.Value));
    }
    if (axis_.Axis.Visible) DrawLine();

    const std::vector<int> ticks = layout_.TickPositions();
    DrawTicks(ticks, axis_.TickLength, true, axis_.Ticks);
    if (axis_.Grid.Visible && !ticks.empty()) DrawGrid(ticks, axesRect);
    DrawTicks(ticks, axis_.TickInnerLength, false, axis_.TicksInner);
    if (axis_.MinorTicks.Visible && !ticks.empty())
        DrawTicks(MinorTickPositions(ticks, axis_.MinorTickCount, layout_.StartPixel(), layout_.EndPixel()),
                  axis_.MinorTickLength, true, axis_.MinorTicks);
    painter_.restore();
}

} // namespace

void DrawAxis(QPainter& painter, const TChartAxis& axis, const TAxisLayout& layout,
              const TChartRect& axesRect, bool printing)
{
    TAxisPainter(painter, axis, layout, printing).Draw(axesRect);
}

} // namespace qrv
