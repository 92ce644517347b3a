#include "QrvChartAxis.h"

#include "QrvNumberText.h"
#include "QrvSeries.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qrv
{

TChartAxis::TChartAxis(TAxisKind kind, std::function<void()> changed)
    : kind_(kind), changed_(std::move(changed))
{
    scale_.Horizontal = IsHorizontal();
    tickPositions_.reserve(MaxTickPositions);
    if (kind == TAxisKind::Left) Title.Angle = 90;
    if (kind == TAxisKind::Right) Title.Angle = 270;
    if (kind == TAxisKind::Depth) Visible = false;
}

void TChartAxis::Changed()
{
    if (changed_) changed_();
}

void TChartAxis::SetAutomatic(bool value)
{
    if (value == automatic_) return;
    automatic_ = value;
    Changed();
}

void TChartAxis::SetAutomaticMinimum(bool value)
{
    if (value == automaticMinimum_) return;
    automaticMinimum_ = value;
    Changed();
}

void TChartAxis::SetAutomaticMaximum(bool value)
{
    if (value == automaticMaximum_) return;
    automaticMaximum_ = value;
    Changed();
}

void TChartAxis::SetMinMax(double a, double b)
{
    if (b < a) std::swap(a, b);
    if (a == minimum_ && b == maximum_) return;
    minimum_ = a;
    maximum_ = b;
    Changed();
}

void TChartAxis::SetIncrement(double value)
{
    if (!(value > 0.0)) value = 0.0;
    if (value == increment_) return;
    increment_ = value;
    Changed();
}

TAxisRangeState TChartAxis::RangeState() const
{
    return {automatic_, automaticMinimum_, automaticMaximum_, minimum_, maximum_};
}

void TChartAxis::SetRangeState(const TAxisRangeState& state)
{
    const bool same = state.Automatic == automatic_ && state.AutomaticMinimum == automaticMinimum_ &&
                      state.AutomaticMaximum == automaticMaximum_ && state.Minimum == minimum_ &&
                      state.Maximum == maximum_;
    automatic_ = state.Automatic;
    automaticMinimum_ = state.AutomaticMinimum;
    automaticMaximum_ = state.AutomaticMaximum;
    minimum_ = state.Minimum;
    maximum_ = state.Maximum;
    if (!same) Changed();
}

void TChartAxis::ComputeRange(const std::vector<TChartSeries*>& boundSeries)
{
    const bool autoMax = automatic_ || automaticMaximum_;
    const bool autoMin = automatic_ || automaticMinimum_;
    if (autoMax || autoMin) {
        bool any = false;
        double lo = 0.0, hi = 0.0;
        for (TChartSeries* s : boundSeries) {
            if (!s->Active() || s->PointCount() == 0) continue;
            const double sLo = IsHorizontal() ? s->LowestX() : s->LowestY();
            const double sHi = IsHorizontal() ? s->HighestX() : s->HighestY();
            lo = any ? std::min(lo, sLo) : sLo;
            hi = any ? std::max(hi, sHi) : sHi;
            any = true;
        }
        if (autoMax) maximum_ = hi;
        if (autoMin) minimum_ = lo;
    }
    SetRange(minimum_, maximum_);
}

void TChartAxis::SetRange(double rangeMin, double rangeMax)
{
    scale_.RangeMin = rangeMin;
    scale_.RangeMax = rangeMax;
    scale_.RangeSpan = rangeMax - rangeMin;
}

bool TChartAxis::TitleAlongAxis() const
{
    const int a = Title.Angle;
    return IsHorizontal() ? (a == 0 || a == 180) : (a == 90 || a == 270);
}

bool TChartAxis::LabelsAcross() const
{
    const int a = LabelsAngle;
    return IsHorizontal() ? (a == 0 || a == 180) : (a == 90 || a == 270);
}

QString TChartAxis::LabelText(double value) const
{
    return QString::fromStdString(FormatAxisValue(value));
}

double TChartAxis::LabelSizeForStep(const QFontMetrics& fm) const
{
    // Along the axis: the text height for labels that lie across it,
    // otherwise the wider of the labels of the two range ends.
    const bool heightAlong =
        IsHorizontal() ? (LabelsAngle == 90 || LabelsAngle == 270) : (LabelsAngle == 0 || LabelsAngle == 180);
    if (heightAlong) return fm.height();
    return std::max(fm.horizontalAdvance(LabelText(scale_.RangeMax)),
                    fm.horizontalAdvance(LabelText(scale_.RangeMin)));
}

double TChartAxis::ComputeIncrement(const QFontMetrics& labelsMetrics) const
{
    return IncrementForLength(labelsMetrics, scale_.PixelLength());
}

double TChartAxis::IncrementForLength(const QFontMetrics& labelsMetrics, int pixelLength) const
{
    TStepQuery q;
    q.RangeSpan = scale_.Span();
    q.PixelLength = pixelLength;
    q.LabelSize = LabelSizeForStep(labelsMetrics);
    q.LabelsSeparation = LabelsSeparation;
    q.Increment = increment_;
    return qrv::ComputeIncrement(q);
}

int TChartAxis::LabelSizeForSpace(const QFontMetrics& fm, int pixelLength) const
{
    if (LabelsAcross()) return fm.height();
    // The step decides which values the widest labels will show: the range
    // ends truncated to it.
    const double step = IncrementForLength(fm, pixelLength);
    auto rounded = [step](double v) {
        const double r = std::trunc(v / step) * step;
        return std::isfinite(r) ? r : v;
    };
    const double lo = rounded(scale_.RangeMin);
    const double hi = rounded(scale_.RangeMax);
    return std::max(fm.horizontalAdvance(LabelText(lo)), fm.horizontalAdvance(LabelText(hi))) +
           fm.horizontalAdvance(QLatin1Char(' '));
}

void TChartAxis::ReserveAxisSpace(TChartRect& rect, const QFontMetrics& labelsMetrics,
                                  const QFontMetrics& titleMetrics)
{
    auto shrink = [&](int amount) {
        switch (kind_) {
        case TAxisKind::Left:
            return rect.Left += amount;
        case TAxisKind::Right:
            return rect.Right -= amount;
        case TAxisKind::Top:
            return rect.Top += amount;
        default:
            return rect.Bottom -= amount;
        }
    };
    titlePos_ = shrink(0);
    if (!Title.Caption.empty()) {
        int size = TitleSize;
        if (size == 0)
            size = TitleAlongAxis() ? titleMetrics.height()
                                    : titleMetrics.horizontalAdvance(QString::fromStdString(Title.Caption));
        titlePos_ = shrink(size);
    }
    labelsPos_ = shrink(0);
    if (Labels && LabelStyle != TAxisLabelStyle::talNone) {
        // The step is taken for the length the axis will have in what is
        // left of the rectangle, so a drawing never depends on the one
        // before it (the screen, a saved picture and a print agree).
        const int extent = IsHorizontal() ? rect.Width() : rect.Height();
        const int length = NearestInt(extent * 0.01 * (EndPosition - StartPosition));
        labelsPos_ = shrink(LabelsSize != 0 ? LabelsSize : LabelSizeForSpace(labelsMetrics, length));
    }
    int ticks = (Axis.Visible ? Axis.Width : 0) + (Ticks.Visible ? TickLength : 0);
    if (MinorTicks.Visible) ticks = std::max(ticks, MinorTickLength);
    shrink(ticks);
    if (PositionPercent != 0.0) {
        // The shift of the axis line moves its labels and title with it.
        const int size = IsHorizontal() ? rect.Height() : rect.Width();
        const int shift = NearestInt(size * 0.01 * PositionPercent);
        const int inward = (kind_ == TAxisKind::Left || kind_ == TAxisKind::Top) ? shift : -shift;
        titlePos_ += inward;
        labelsPos_ += inward;
    }
}

void TChartAxis::PlaceAxis(const TChartRect& axesRect)
{
    const int origin = IsHorizontal() ? axesRect.Left : axesRect.Top;
    const int size = IsHorizontal() ? axesRect.Width() : axesRect.Height();
    scale_.Horizontal = IsHorizontal();
    scale_.Inverted = Inverted;
    scale_.StartPixel = origin + NearestInt(size * 0.01 * StartPosition);
    scale_.EndPixel = origin + NearestInt(size * 0.01 * EndPosition);
    const int across = IsHorizontal() ? axesRect.Height() : axesRect.Width();
    const int shift = NearestInt(across * 0.01 * PositionPercent);
    switch (kind_) {
    case TAxisKind::Left:
        axisLinePos_ = axesRect.Left + shift;
        break;
    case TAxisKind::Right:
        axisLinePos_ = axesRect.Right - shift;
        break;
    case TAxisKind::Top:
        axisLinePos_ = axesRect.Top + shift;
        break;
    default:
        axisLinePos_ = axesRect.Bottom - shift;
        break;
    }
}

void TChartAxis::FitToMargins(int startMargin, int endMargin)
{
    if (startMargin == 0 && endMargin == 0) return;
    TAxisScale fitted = scale_;
    fitted.StartPixel += startMargin;
    fitted.EndPixel -= endMargin;
    if (fitted.PixelLength() < 1) return; // no room left to keep clear
    double a = fitted.PixelToValue(scale_.StartPixel);
    double b = fitted.PixelToValue(scale_.EndPixel);
    if (a > b) std::swap(a, b);
    fitted.RangeMin = a;
    fitted.RangeMax = b;
    fitted.RangeSpan = b - a;
    scale_ = fitted;
}

namespace
{

QColor TextColor(const TChartFont& font, bool printing)
{
    // Printers have white paper: white text would vanish.
    if (printing && font.Color == clWhite) return Qt::black;
    return ToQColor(font.Color);
}

} // namespace

void TChartAxis::DrawTitle(QPainter& painter, bool printing) const
{
    const QString caption = QString::fromStdString(Title.Caption);
    painter.setFont(Title.Font.Font);
    painter.setPen(TextColor(Title.Font, printing));
    const QFontMetrics fm = painter.fontMetrics();
    const int w = fm.horizontalAdvance(caption);
    const int h = fm.height();
    const int center = CenterPixel();
    if (kind_ == TAxisKind::Left && Title.Angle == 90) {
        painter.save();
        painter.translate(titlePos_ - h, center + w / 2);
        painter.rotate(-90);
        painter.drawText(QPoint(0, fm.ascent()), caption);
        painter.restore();
        return;
    }
    if (kind_ == TAxisKind::Right && Title.Angle == 270) {
        painter.save();
        painter.translate(titlePos_ + h, center - w / 2);
        painter.rotate(90);
        painter.drawText(QPoint(0, fm.ascent()), caption);
        painter.restore();
        return;
    }
    switch (kind_) {
    case TAxisKind::Left: // right-aligned, centred vertically
        painter.drawText(QPoint(titlePos_ - w, center - h / 2 + fm.ascent()), caption);
        break;
    case TAxisKind::Right:
        painter.drawText(QPoint(titlePos_, center - h / 2 + fm.ascent()), caption);
        break;
    case TAxisKind::Top: // centred, bottom at the title position
        painter.drawText(QPoint(center - w / 2, titlePos_ - fm.descent()), caption);
        break;
    default: // centred, top at the title position
        painter.drawText(QPoint(center - w / 2, titlePos_ + fm.ascent()), caption);
        break;
    }
}

void TChartAxis::DrawLabel(QPainter& painter, const QFontMetrics& fm, int pixel, const QString& text) const
{
    const int w = fm.horizontalAdvance(text);
    const int top = pixel - fm.height() / 2;
    switch (kind_) {
    case TAxisKind::Left: // right-aligned, top half a line above the tick
        painter.drawText(QPoint(labelsPos_ - w, top + fm.ascent()), text);
        break;
    case TAxisKind::Right:
        painter.drawText(QPoint(labelsPos_, top + fm.ascent()), text);
        break;
    case TAxisKind::Top: // centred, bottom-aligned
        painter.drawText(QPoint(pixel - w / 2, labelsPos_ - fm.descent()), text);
        break;
    default: // centred, top at the labels position
        painter.drawText(QPoint(pixel - w / 2, labelsPos_ + fm.ascent()), text);
        break;
    }
}

int TChartAxis::TickStartOffset() const
{
    return Axis.Visible ? std::max(1, Axis.Width) : 0;
}

namespace
{

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

} // namespace

void TChartAxis::DrawTicks(QPainter& painter, const std::vector<int>& positions, int length, bool outward,
                           const TChartPen& pen, bool printing) const
{
    if (!pen.Visible || length <= 0 || positions.empty()) return;
    const int dir = (kind_ == TAxisKind::Bottom || kind_ == TAxisKind::Right) ? 1 : -1;
    int from, to;
    if (outward) {
        from = axisLinePos_ + dir * TickStartOffset();
        to = from + dir * (length - 1);
    } else {
        from = axisLinePos_ - dir;
        to = axisLinePos_ - dir * length;
    }
    painter.setPen(MakeQPen(pen, printing));
    for (int t : positions)
        LineAcross(painter, IsHorizontal(), t, from, to);
}

void TChartAxis::DrawAxis(QPainter& painter, const TChartRect& axesRect, bool printing)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setFont(LabelsFont.Font);
    const QFontMetrics labelsMetrics = painter.fontMetrics();
    const double step = ComputeIncrement(labelsMetrics);

    if (!Title.Caption.empty()) DrawTitle(painter, printing);

    tickPositions_.clear();
    if (LabelStyle != TAxisLabelStyle::talNone) {
        painter.setFont(LabelsFont.Font);
        painter.setPen(TextColor(LabelsFont, printing));
        for (const TAxisLabel& label : LabelWalk(scale_, step, {RoundFirstLabel, LabelsOnAxis})) {
            tickPositions_.push_back(label.Pixel);
            if (Labels) DrawLabel(painter, labelsMetrics, label.Pixel, LabelText(label.Value));
        }
    }

    if (Axis.Visible) {
        // The line lies on the rectangle's edge and grows outwards with its
        // width: its centre is offset so that exactly Width pixels are
        // covered, the edge pixel first.
        painter.setPen(MakeQPen(Axis, printing));
        const int w = std::max(1, Axis.Width);
        const bool growsPositive = kind_ == TAxisKind::Bottom || kind_ == TAxisKind::Right;
        const int centre = growsPositive ? axisLinePos_ + w / 2 : axisLinePos_ - (w - 1) / 2;
        if (IsHorizontal())
            painter.drawLine(QPoint(StartPixel(), centre), QPoint(EndPixel() + 1, centre));
        else
            painter.drawLine(QPoint(centre, StartPixel()), QPoint(centre, EndPixel() + 1));
    }

    DrawTicks(painter, tickPositions_, TickLength, true, Ticks, printing);

    if (Grid.Visible && !tickPositions_.empty()) {
        painter.setBackgroundMode(Qt::TransparentMode);
        const TColor color = Grid.Color == UseSeriesColor ? clGray : Grid.Color;
        // Device pixels per layout pixel along the grid lines: the dots of a
        // printed grid are as long as on screen.
        const QTransform t = painter.deviceTransform();
        const double scale = IsHorizontal() ? std::hypot(t.m21(), t.m22()) : std::hypot(t.m11(), t.m12());
        painter.setPen(MakeQPen(Grid, color, printing, scale));
        // Inside the back wall: the outline and the axis lines stay whole.
        const int a = (IsHorizontal() ? axesRect.Top : axesRect.Left) + 1;
        const int b = (IsHorizontal() ? axesRect.Bottom : axesRect.Right) - 1;
        for (int t : tickPositions_)
            LineAcross(painter, IsHorizontal(), t, a, b);
    }

    DrawTicks(painter, tickPositions_, TickInnerLength, false, TicksInner, printing);

    if (MinorTicks.Visible && !tickPositions_.empty())
        DrawTicks(painter, MinorTickPositions(tickPositions_, MinorTickCount, StartPixel(), EndPixel()),
                  MinorTickLength, true, MinorTicks, printing);
    painter.restore();
}

} // namespace qrv
