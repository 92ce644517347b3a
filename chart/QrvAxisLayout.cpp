#include "QrvAxisLayout.h"

#include "QrvChartAxis.h"
#include "QrvSeries.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace qrv
{

std::vector<int> TAxisLayout::TickPositions() const
{
    std::vector<int> pixels;
    pixels.reserve(Labels.size());
    for (const TAxisLabel& label : Labels)
        pixels.push_back(label.Pixel);
    return pixels;
}

void TAxisLayout::SetRange(double rangeMin, double rangeMax)
{
    Scale.RangeMin = rangeMin;
    Scale.RangeMax = rangeMax;
    Scale.RangeSpan = rangeMax - rangeMin;
}

void TAxisLayout::ComputeRange(const TChartAxis& axis, const std::vector<TChartSeries*>& boundSeries)
{
    Minimum = axis.Minimum();
    Maximum = axis.Maximum();
    const bool autoMax = axis.Automatic() || axis.AutomaticMaximum();
    const bool autoMin = axis.Automatic() || axis.AutomaticMinimum();
    if (autoMax || autoMin) {
        bool any = false;
        double lo = 0.0, hi = 0.0;
        for (TChartSeries* s : boundSeries) {
            if (!s->Active() || s->PointCount() == 0) continue;
            const double sLo = axis.IsHorizontal() ? s->LowestX() : s->LowestY();
            const double sHi = axis.IsHorizontal() ? s->HighestX() : s->HighestY();
            lo = any ? std::min(lo, sLo) : sLo;
            hi = any ? std::max(hi, sHi) : sHi;
            any = true;
        }
        if (autoMax) Maximum = hi;
        if (autoMin) Minimum = lo;
    }
    SetRange(Minimum, Maximum);
}

namespace
{

double LabelSizeForStep(const TChartAxis& axis, const TAxisScale& scale, const QFontMetrics& fm, bool fine)
{
    // Along the axis: the text height for labels that lie across it,
    // otherwise the wider of the labels of the two range ends.
    if (axis.TextDirection(axis.LabelsAngle) == TTextDirection::Across) return fm.height();
    int size = std::max(fm.horizontalAdvance(axis.LabelText(scale.RangeMax)),
                        fm.horizontalAdvance(axis.LabelText(scale.RangeMin)));
    const double start = fine ? FineStartStep(scale.RangeMin, scale.RangeMax) : 0.0;
    if (start > 0.0 && start < 1.0) {
        // A finer step's labels carry decimals the ends' may not: the two
        // multiples next inside each end stand for them (of two neighbours
        // at most one is whole).
        const double top = std::floor(scale.RangeMax / start) * start;
        const double bottom = std::ceil(scale.RangeMin / start) * start;
        for (const double v : {top, top - start, bottom, bottom + start})
            size = std::max(size, fm.horizontalAdvance(axis.LabelText(v)));
    }
    return size;
}

} // namespace

double TAxisLayout::ComputeIncrement(const TChartAxis& axis, const QFontMetrics& labelsMetrics) const
{
    return IncrementForLength(axis, labelsMetrics, Scale.PixelLength());
}

double TAxisLayout::IncrementForLength(const TChartAxis& axis, const QFontMetrics& labelsMetrics,
                                       int pixelLength) const
{
    TStepQuery q;
    q.RangeSpan = Scale.Span();
    q.PixelLength = pixelLength;
    q.LabelSize = LabelSizeForStep(axis, Scale, labelsMetrics, FineLabels);
    q.LabelsSeparation = axis.LabelsSeparation;
    q.Increment = axis.Increment();
    q.FineLabels = FineLabels;
    q.RangeMin = Scale.RangeMin;
    q.RangeMax = Scale.RangeMax;
    return qrv::ComputeIncrement(q);
}

int TAxisLayout::LabelSizeForSpace(const TChartAxis& axis, const QFontMetrics& fm, int pixelLength) const
{
    // Across the axis: the text height for labels that run along it.
    if (axis.TextDirection(axis.LabelsAngle) == TTextDirection::Along) return fm.height();
    // The step decides which values the widest labels will show: the range
    // ends truncated to it.
    const double step = IncrementForLength(axis, fm, pixelLength);
    auto rounded = [step](double v) {
        const double r = std::trunc(v / step) * step;
        return std::isfinite(r) ? r : v;
    };
    const double lo = rounded(Scale.RangeMin);
    const double hi = rounded(Scale.RangeMax);
    int width = std::max(fm.horizontalAdvance(axis.LabelText(lo)), fm.horizontalAdvance(axis.LabelText(hi)));
    if (FineLabels) {
        // Finer steps and the labels of the ends are not all on the rounded
        // ends: the labels a walk over the length to come gives are measured.
        TAxisScale predicted = Scale;
        predicted.Horizontal = axis.IsHorizontal();
        predicted.Inverted = axis.Inverted;
        predicted.StartPixel = 0;
        predicted.EndPixel = std::max(pixelLength, 0);
        for (const TAxisLabel& label : LabelWalk(predicted, step, WalkOptions(axis)))
            width = std::max(width, fm.horizontalAdvance(axis.LabelText(label.Value)));
    }
    return width + fm.horizontalAdvance(QLatin1Char(' '));
}

TWalkOptions TAxisLayout::WalkOptions(const TChartAxis& axis) const
{
    return {axis.RoundFirstLabel, axis.LabelsOnAxis, FineLabels};
}

void TAxisLayout::ReserveAxisSpace(const TChartAxis& axis, TChartRect& rect,
                                   const QFontMetrics& labelsMetrics, const QFontMetrics& titleMetrics)
{
    const TAxisKind kind = axis.Kind();
    auto shrink = [&](int amount) {
        switch (kind) {
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
    TitlePos = shrink(0);
    if (!axis.Title.Caption.empty()) {
        int size = axis.TitleSize;
        if (size == 0)
            size = axis.TextDirection(axis.Title.Angle) == TTextDirection::Along
                       ? titleMetrics.height()
                       : titleMetrics.horizontalAdvance(QString::fromStdString(axis.Title.Caption));
        TitlePos = shrink(size);
    }
    LabelsPos = shrink(0);
    if (axis.Labels && axis.LabelStyle != TAxisLabelStyle::talNone) {
        // The step is taken for the length the axis will have in what is
        // left of the rectangle, so a drawing never depends on the one
        // before it (the screen, a saved picture and a print agree).
        const int extent = axis.IsHorizontal() ? rect.Width() : rect.Height();
        const int length = NearestInt(extent * 0.01 * (axis.EndPosition - axis.StartPosition));
        LabelsPos =
            shrink(axis.LabelsSize != 0 ? axis.LabelsSize : LabelSizeForSpace(axis, labelsMetrics, length));
    }
    int ticks = (axis.Axis.Visible ? axis.Axis.Width : 0) + (axis.Ticks.Visible ? axis.TickLength : 0);
    if (axis.MinorTicks.Visible) ticks = std::max(ticks, axis.MinorTickLength);
    shrink(ticks);
    if (axis.PositionPercent != 0.0) {
        // The shift of the axis line moves its labels and title with it.
        const int size = axis.IsHorizontal() ? rect.Height() : rect.Width();
        const int shift = NearestInt(size * 0.01 * axis.PositionPercent);
        const int inward = (kind == TAxisKind::Left || kind == TAxisKind::Top) ? shift : -shift;
        TitlePos += inward;
        LabelsPos += inward;
    }
}

void TAxisLayout::PlaceAxis(const TChartAxis& axis, const TChartRect& axesRect)
{
    const bool horizontal = axis.IsHorizontal();
    const int origin = horizontal ? axesRect.Left : axesRect.Top;
    const int size = horizontal ? axesRect.Width() : axesRect.Height();
    Scale.Horizontal = horizontal;
    Scale.Inverted = axis.Inverted;
    Scale.StartPixel = origin + NearestInt(size * 0.01 * axis.StartPosition);
    Scale.EndPixel = origin + NearestInt(size * 0.01 * axis.EndPosition);
    const int across = horizontal ? axesRect.Height() : axesRect.Width();
    const int shift = NearestInt(across * 0.01 * axis.PositionPercent);
    switch (axis.Kind()) {
    case TAxisKind::Left:
        AxisLinePos = axesRect.Left + shift;
        break;
    case TAxisKind::Right:
        AxisLinePos = axesRect.Right - shift;
        break;
    case TAxisKind::Top:
        AxisLinePos = axesRect.Top + shift;
        break;
    default:
        AxisLinePos = axesRect.Bottom - shift;
        break;
    }
}

void TAxisLayout::FitToMargins(int startMargin, int endMargin)
{
    if (startMargin == 0 && endMargin == 0) return;
    TAxisScale fitted = Scale;
    fitted.StartPixel += startMargin;
    fitted.EndPixel -= endMargin;
    if (fitted.PixelLength() < 1) return; // no room left to keep clear
    double a = fitted.PixelToValue(Scale.StartPixel);
    double b = fitted.PixelToValue(Scale.EndPixel);
    if (a > b) std::swap(a, b);
    fitted.RangeMin = a;
    fitted.RangeMax = b;
    fitted.RangeSpan = b - a;
    Scale = fitted;
}

void TAxisLayout::PlaceLabels(const TChartAxis& axis, const QFontMetrics& labelsMetrics)
{
    Step = ComputeIncrement(axis, labelsMetrics);
    Labels.clear();
    if (axis.LabelStyle != TAxisLabelStyle::talNone) Labels = LabelWalk(Scale, Step, WalkOptions(axis));
}

} // namespace qrv
