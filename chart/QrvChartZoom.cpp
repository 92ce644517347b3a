#include "QrvChartZoom.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace qrv
{

bool PansHorizontally(TPanningMode mode)
{
    return mode == TPanningMode::pmHorizontal || mode == TPanningMode::pmBoth;
}

bool PansVertically(TPanningMode mode)
{
    return mode == TPanningMode::pmVertical || mode == TPanningMode::pmBoth;
}

std::optional<TAxisRange> FixedAxisRange(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
    if (b < a) std::swap(a, b);
    if (b - a < MinAxisRange) {
        b = a + MinAxisRange;
        // Far from zero the minimum width is below the spacing of doubles;
        // the next double keeps the range from becoming a single value.
        if (!(b > a)) b = std::nextafter(a, std::numeric_limits<double>::infinity());
        if (!std::isfinite(b)) {
            b = a;
            a = std::nextafter(b, -std::numeric_limits<double>::infinity());
        }
    }
    return TAxisRange{a, b};
}

QRect TMouseDrag::Outline() const
{
    return QRect(QPoint(std::min(X0, X1), std::min(Y0, Y1)), QPoint(std::max(X0, X1), std::max(Y0, Y1)));
}

TZoomDragResult ClassifyZoomDrag(int x0, int y0, int x1, int y1)
{
    // Differences of two int coordinates, taken in long long so that no
    // extreme position overflows.
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    if (std::llabs(dx) <= ZoomDragThreshold || std::llabs(dy) <= ZoomDragThreshold)
        return TZoomDragResult::None;
    return dx > 0 && dy > 0 ? TZoomDragResult::ZoomIn : TZoomDragResult::Undo;
}

double ScrollDistance(const TAxisScale& scale, int from, int to)
{
    return scale.ValueDistance(from, to);
}

TAxisRange AnimatedZoomStep(const TAxisRange& current, const TAxisRange& target)
{
    // In Float: the distance between two ends can exceed the double range,
    // while the result always lies between them.
    const Float factor = AnimatedZoomFactor;
    const Float minimum = current.Minimum + (Float(target.Minimum) - current.Minimum) / factor;
    const Float maximum = current.Maximum - (Float(current.Maximum) - target.Maximum) / factor;
    return {ClampToDouble(minimum), ClampToDouble(maximum)};
}

double WheelScrollOffset(double minimum, double maximum)
{
    // 3 % of a range as wide as all doubles still fits a double.
    return ClampToDouble(WheelScrollFraction * (Float(maximum) - Float(minimum)));
}

int TWheelAccumulator::AddDelta(int angleDelta)
{
    // Clamped so that a flood of events cannot overflow the sum.
    pending_ = std::clamp(pending_ + std::clamp(angleDelta, -1000000, 1000000), -1000000, 1000000);
    const int notches = pending_ / WheelNotchDelta;
    pending_ -= notches * WheelNotchDelta;
    // A positive delta turns the wheel away from the user.
    return -notches;
}

bool PointInRect(const TChartRect& rect, int x, int y)
{
    return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

bool InAxisClickArea(const TChartAxis& axis, const TAxisLayout& layout, int x, int y)
{
    const int along = axis.IsHorizontal() ? x : y;
    const int across = axis.IsHorizontal() ? y : x;
    if (along < layout.StartPixel() || along > layout.EndPixel()) return false;
    const int line = layout.AxisLinePos;
    const int labels = layout.LabelsPos;
    // The labels lie outside the axes rectangle; the area reaches a few
    // pixels past the line on the other side.
    if (labels <= line) return across >= labels && across <= line + AxisClickMargin;
    return across >= line - AxisClickMargin && across <= labels;
}

TAxisRange CurrentRange(const TChartAxis& axis, const TAxisLayout& layout)
{
    const bool autoMin = axis.Automatic() || axis.AutomaticMinimum();
    const bool autoMax = axis.Automatic() || axis.AutomaticMaximum();
    return {autoMin ? layout.Minimum : axis.Minimum(), autoMax ? layout.Maximum : axis.Maximum()};
}

void DrawRubberRect(QPainter& painter, const QRect& outline, TColor chartColor)
{
    painter.save();
    const QColor color = chartColor == clWhite ? QColor(Qt::black) : ToQColor(chartColor);
    const QPaintEngine* engine = painter.paintEngine();
    if (engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        // Four strips that touch no pixel twice, so the corners invert like
        // the rest of the outline.
        const int l = outline.left(), t = outline.top(), r = outline.right(), b = outline.bottom();
        painter.fillRect(QRect(QPoint(l, t), QPoint(r, t)), color);
        if (b > t) painter.fillRect(QRect(QPoint(l, b), QPoint(r, b)), color);
        if (b - t > 1) {
            painter.fillRect(QRect(QPoint(l, t + 1), QPoint(l, b - 1)), color);
            if (r > l) painter.fillRect(QRect(QPoint(r, t + 1), QPoint(r, b - 1)), color);
        }
    } else {
        painter.setPen(QPen(color, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline);
    }
    painter.restore();
}

TChartZoom::TChartZoom(std::array<TChartAxis*, 4> axes) : axes_(axes) {}

void TChartZoom::Press(Qt::MouseButton button, int x, int y, bool hit, const TZoomSettings& settings)
{
    if (zoomDrag_.Active || scrollDrag_.Active || !hit) return;
    if (settings.AllowZoom && button == ZoomButton) {
        Call(ResetCursor);
        zoomDrag_.Start(x, y);
        Call(UpdateRubber);
    } else if (settings.AllowPanning != TPanningMode::pmNone && button == ScrollButton) {
        Call(ResetCursor);
        scrollDrag_.Start(x, y);
    }
}

void TChartZoom::Move(int x, int y, const TChartLayout& layout, const TZoomSettings& settings)
{
    if (zoomDrag_.Active) {
        if (x == zoomDrag_.X1 && y == zoomDrag_.Y1) return;
        zoomDrag_.X1 = x;
        zoomDrag_.Y1 = y;
        Call(UpdateRubber);
        return;
    }
    if (!scrollDrag_.Active) return;
    if (!PointInRect(layout.AxesRect, x, y)) {
        scrollDrag_.Active = false;
        return;
    }
    if (x == scrollDrag_.X1 && y == scrollDrag_.Y1) return;
    if (savedStateFree_) SaveAxesState();
    bool scrolled = false;
    if (x != scrollDrag_.X1 && PansHorizontally(settings.AllowPanning)) {
        scrolled |= ScrollByPixels(Bottom(), layout.Bottom(), scrollDrag_.X1, x);
        scrolled |= ScrollByPixels(Top(), layout.Top(), scrollDrag_.X1, x);
    }
    if (y != scrollDrag_.Y1 && PansVertically(settings.AllowPanning)) {
        scrolled |= ScrollByPixels(Left(), layout.Left(), scrollDrag_.Y1, y);
        scrolled |= ScrollByPixels(Right(), layout.Right(), scrollDrag_.Y1, y);
    }
    scrollDrag_.X1 = x;
    scrollDrag_.Y1 = y;
    if (scrolled) {
        Call(OnScroll);
        Call(RequestRepaint);
    }
}

void TChartZoom::Release(Qt::MouseButton button, int x, int y, const TChartLayout& layout,
                         const TZoomSettings& settings)
{
    if (zoomDrag_.Active && button == ZoomButton) {
        zoomDrag_.Active = false;
        zoomDrag_.X1 = x;
        zoomDrag_.Y1 = y;
        Call(UpdateRubber);
        const TMouseDrag& d = zoomDrag_;
        switch (ClassifyZoomDrag(d.X0, d.Y0, d.X1, d.Y1)) {
        case TZoomDragResult::ZoomIn:
            ZoomToRect(d.Outline(), layout, settings);
            Call(RequestRepaint);
            break;
        case TZoomDragResult::Undo:
            RestoreZoom();
            break;
        case TZoomDragResult::None:
            break;
        }
    }
    scrollDrag_.Active = false;
}

void TChartZoom::Wheel(int angleDelta, const TChartLayout& layout, const TZoomSettings& settings)
{
    if (!PansVertically(settings.AllowPanning)) return;
    const int notches = wheel_.AddDelta(angleDelta);
    if (notches == 0) return;
    // Saved like any other scroll, so that the undo drag brings the
    // automatic ranges back after wheel turns too.
    if (savedStateFree_) SaveAxesState();
    const double direction = notches > 0 ? 1.0 : -1.0;
    for (int n = std::abs(notches); n > 0; --n) {
        for (const int i : {LeftAxisIndex, RightAxisIndex}) {
            TChartAxis& axis = *axes_[static_cast<std::size_t>(i)];
            const TAxisLayout& axisLayout = layout.Axes[static_cast<std::size_t>(i)];
            const TAxisRange now = CurrentRange(axis, axisLayout);
            ScrollAxis(axis, axisLayout, direction * WheelScrollOffset(now.Minimum, now.Maximum));
        }
    }
}

bool TChartZoom::SetAxisRange(TChartAxis& axis, double a, double b)
{
    const std::optional<TAxisRange> range = FixedAxisRange(a, b);
    if (!range) return false;
    axis.SetAutomatic(false);
    axis.SetAutomaticMinimum(false);
    axis.SetAutomaticMaximum(false);
    axis.SetMinMax(range->Minimum, range->Maximum);
    return true;
}

void TChartZoom::ZoomToRect(const QRect& rect, const TChartLayout& layout, const TZoomSettings& settings)
{
    const QRect r = rect.normalized();
    // The lower screen edge holds the smaller value of a vertical axis.
    std::array<TAxisRange, 4> target;
    for (std::size_t i = 0; i < axes_.size(); ++i) {
        const TAxisLayout& axis = layout.Axes[i];
        target[i] = axes_[i]->IsHorizontal()
                        ? TAxisRange{axis.PixelToValue(r.left()), axis.PixelToValue(r.right())}
                        : TAxisRange{axis.PixelToValue(r.bottom()), axis.PixelToValue(r.top())};
    }
    if (savedStateFree_) SaveAxesState();
    if (settings.AnimatedZoom) {
        for (int step = 1; step < settings.AnimatedZoomSteps; ++step) {
            for (std::size_t i = 0; i < axes_.size(); ++i) {
                TChartAxis& axis = *axes_[i];
                const TAxisRange now = AnimatedZoomStep(CurrentRange(axis, layout.Axes[i]), target[i]);
                SetAxisRange(axis, now.Minimum, now.Maximum);
            }
            Call(RepaintNow);
        }
    }
    // Left, right, top, bottom.
    for (const std::size_t i : {2u, 3u, 1u, 0u})
        SetAxisRange(*axes_[i], target[i].Minimum, target[i].Maximum);
    zoomInForce_ = true;
    Call(OnZoom);
}

void TChartZoom::RestoreZoom()
{
    if (!savedStateFree_) {
        for (std::size_t i = 0; i < axes_.size(); ++i)
            axes_[i]->SetRangeState(savedState_[i]);
    }
    savedStateFree_ = true;
    Call(OnUndoZoom);
    Call(RequestRepaint);
    zoomInForce_ = false;
}

void TChartZoom::ScrollAxis(TChartAxis& axis, const TAxisLayout& layout, double offset)
{
    const TAxisRange now = CurrentRange(axis, layout);
    SetAxisRange(axis, now.Minimum + offset, now.Maximum + offset);
    Call(RequestRepaint);
}

void TChartZoom::SaveAxesState()
{
    for (std::size_t i = 0; i < axes_.size(); ++i)
        savedState_[i] = axes_[i]->RangeState();
    savedStateFree_ = false;
}

bool TChartZoom::ScrollByPixels(TChartAxis& axis, const TAxisLayout& layout, int from, int to)
{
    const double d = ScrollDistance(layout.Scale, from, to);
    const TAxisRange now = CurrentRange(axis, layout);
    double minimum = now.Minimum + d;
    double maximum = now.Maximum + d;
    if (OnAllowScroll && !OnAllowScroll(axis, minimum, maximum)) return false;
    return SetAxisRange(axis, minimum, maximum);
}

} // namespace qrv
