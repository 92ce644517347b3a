#include "QrvChart.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

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

} // namespace

TChart::TChart(QWidget* parent) : QWidget(parent)
{
    auto changed = [this] { RequestRepaint(); };
    axes_ = {std::make_unique<TChartAxis>(TAxisKind::Bottom, changed),
             std::make_unique<TChartAxis>(TAxisKind::Top, changed),
             std::make_unique<TChartAxis>(TAxisKind::Left, changed),
             std::make_unique<TChartAxis>(TAxisKind::Right, changed),
             std::make_unique<TChartAxis>(TAxisKind::Depth, changed)};
    zoom_ = std::make_unique<TChartZoom>(
        std::array<TChartAxis*, 4>{axes_[0].get(), axes_[1].get(), axes_[2].get(), axes_[3].get()});
    zoom_->RequestRepaint = [this] { RequestRepaint(); };
    zoom_->RepaintNow = [this] {
        bufferValid_ = false;
        repaint();
    };
    // The rubber rectangle is drawn over the buffered image.
    zoom_->UpdateRubber = [this] { update(); };
    zoom_->ResetCursor = [this] { unsetCursor(); };
    zoom_->OnZoom = [this] {
        if (OnZoom) OnZoom(*this);
    };
    zoom_->OnUndoZoom = [this] {
        if (OnUndoZoom) OnUndoZoom(*this);
    };
    zoom_->OnScroll = [this] {
        if (OnScroll) OnScroll(*this);
    };
    zoom_->OnAllowScroll = [this](TChartAxis& axis, double& minimum, double& maximum) {
        return !OnAllowScroll || OnAllowScroll(*this, axis, minimum, maximum);
    };
    // The chart paints every pixel of itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(400, 250);
}

TChart::~TChart()
{
    destroying_ = true;
    for (auto& s : series_)
        s->SetParentChart(nullptr);
}

void TChart::AddSeriesImpl(std::unique_ptr<TChartSeries> series)
{
    series->SetParentChart(this);
    series_.push_back(std::move(series));
    RequestRepaint();
}

void TChart::RequestRepaint()
{
    bufferValid_ = false;
    if (!destroying_) update();
}

void TChart::SetUseBuffer(bool use)
{
    if (use == useBuffer_) return;
    useBuffer_ = use;
    if (!use) {
        buffer_ = QImage();
        bufferValid_ = false;
    }
}

std::vector<TChartSeries*> TChart::SeriesOfAxis(const TChartAxis& axis) const
{
    std::vector<TChartSeries*> bound;
    for (const auto& s : series_) {
        if (&HorizAxisOf(*s) == &axis || &VertAxisOf(*s) == &axis) bound.push_back(s.get());
    }
    return bound;
}

bool TChart::IsAxisVisible(const TChartAxis& axis) const
{
    if (!AxisVisible || !axis.Visible || axis.IsDepthAxis()) return false;
    for (const TChartSeries* s : SeriesOfAxis(axis))
        if (s->Active()) return true;
    return false;
}

const TChartAxis& TChart::HorizAxisOf(const TChartSeries& s) const
{
    return s.HorizAxis == THorizAxis::aTopAxis ? TopAxis() : BottomAxis();
}

const TChartAxis& TChart::VertAxisOf(const TChartSeries& s) const
{
    return s.VertAxis == TVertAxis::aRightAxis ? RightAxis() : LeftAxis();
}

void TChart::paintEvent(QPaintEvent*)
{
    if (printing_) return;
    QPainter painter(this);
    if (bufferValid_ && !buffer_.isNull() && buffer_.deviceIndependentSize().toSize() == size())
        painter.drawImage(QPoint(0, 0), buffer_);
    else
        DrawChart(painter, rect());
    if (OnPaintOverlay) OnPaintOverlay(*this, painter);
    if (zoom_->ZoomDrag().Active) DrawRubberRect(painter, zoom_->ZoomDrag().Outline(), Color);
}

TZoomSettings TChart::ZoomSettings() const
{
    return {AllowZoom, AllowPanning, AnimatedZoom, AnimatedZoomSteps};
}

bool TChart::HitsZoomArea(int x, int y) const
{
    for (const auto& axis : axes_)
        if (IsAxisVisible(*axis) && InAxisClickArea(*axis, x, y)) return true;
    const bool anyActive =
        std::any_of(series_.begin(), series_.end(), [](const auto& s) { return s->Active(); });
    return anyActive && PointInRect(axesRect_, x, y);
}

void TChart::ZoomRect(const QRect& rect)
{
    zoom_->ZoomToRect(rect, ZoomSettings());
    RequestRepaint();
}

void TChart::UndoZoom()
{
    zoom_->RestoreZoom();
}

void TChart::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    zoom_->Press(event->button(), p.x(), p.y(), HitsZoomArea(p.x(), p.y()), ZoomSettings());
    event->accept();
}

void TChart::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    zoom_->Move(p.x(), p.y(), axesRect_, ZoomSettings());
    if (OnMouseHover) OnMouseHover(*this, p);
    event->accept();
}

void TChart::leaveEvent(QEvent* event)
{
    if (OnMouseLeave) OnMouseLeave(*this);
    QWidget::leaveEvent(event);
}

void TChart::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    zoom_->Release(event->button(), p.x(), p.y(), ZoomSettings());
    event->accept();
}

void TChart::wheelEvent(QWheelEvent* event)
{
    zoom_->Wheel(event->angleDelta().y(), ZoomSettings());
    event->accept();
}

void TChart::resizeEvent(QResizeEvent* event)
{
    bufferValid_ = false;
    QWidget::resizeEvent(event);
}

void TChart::DrawChart(QPainter& painter, const QRect& rect)
{
    if (!useBuffer_) {
        DrawUnbuffered(painter, rect);
        return;
    }
    // The buffer matches the target's pixel density, so a high-density
    // screen gets a sharp image.
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize pixels = (QSizeF(rect.size()) * dpr).toSize();
    if (buffer_.size() != pixels || buffer_.devicePixelRatio() != dpr) {
        buffer_ = QImage(pixels, QImage::Format_RGB32);
        buffer_.setDevicePixelRatio(dpr);
    }
    if (!buffer_.isNull()) {
        {
            QPainter bufferPainter(&buffer_);
            DrawUnbuffered(bufferPainter, QRect(QPoint(0, 0), rect.size()));
        }
        painter.drawImage(rect.topLeft(), buffer_);
    }
    bufferValid_ = true;
}

void TChart::DrawUnbuffered(QPainter& painter, const QRect& rect)
{
    TPainterState state(painter);
    panelRect_ = TChartRect::FromQRect(rect);
    const int w = rect.width(), h = rect.height();
    TChartRect& r = axesRect_;
    r.Left = panelRect_.Left + MulDiv(MarginLeft, w, 100) + BorderWidth;
    r.Top = panelRect_.Top + MulDiv(MarginTop, h, 100) + BorderWidth;
    r.Right = panelRect_.Right - BorderWidth - MulDiv(MarginRight, w, 100);
    r.Bottom = panelRect_.Bottom - BorderWidth - MulDiv(MarginBottom, h, 100);
    r.Left = std::max(r.Left, panelRect_.Left);
    r.Top = std::max(r.Top, panelRect_.Top);
    if (r.Right < r.Left) r.Right = r.Left + 1;
    if (r.Right == r.Left) r.Right = r.Left + w;
    if (r.Bottom < r.Top) r.Bottom = r.Top + 1;
    if (r.Bottom == r.Top) r.Bottom = r.Top + h;

    if (!printing_) painter.fillRect(rect, ToQColor(Color));

    LayoutAxes(painter);
    DrawBackWall(painter);
    // Axes before the series, so the line lies on top of grid and axes.
    for (auto& axis : axes_)
        if (IsAxisVisible(*axis)) axis->DrawAxis(painter, axesRect_, printing_);
    DrawSeries(painter);
    if (OnAfterDraw) OnAfterDraw(*this, painter);
}

void TChart::LayoutAxes(QPainter& painter)
{
    for (auto& axis : axes_)
        if (IsAxisVisible(*axis)) axis->ComputeRange(SeriesOfAxis(*axis));

    TChartRect rect = axesRect_;
    for (auto& axis : axes_) {
        if (!IsAxisVisible(*axis)) continue;
        const QFontMetrics labels(axis->LabelsFont.Font, painter.device());
        const QFontMetrics title(axis->Title.Font.Font, painter.device());
        axis->ReserveAxisSpace(rect, labels, title);
    }
    axesRect_ = rect;

    for (auto& axis : axes_) {
        if (axis->IsDepthAxis()) continue;
        axis->PlaceAxis(axesRect_);
        // The largest pixel margins the active series ask for, each end
        // only while it follows the data.
        int first = 0, second = 0;
        for (TChartSeries* s : SeriesOfAxis(*axis)) {
            if (!s->Active()) continue;
            int a = 0, b = 0;
            if (axis->IsHorizontal())
                s->CalcHorizMargins(a, b);
            else
                s->CalcVerticalMargins(a, b);
            first = std::max(first, a);
            second = std::max(second, b);
        }
        if (axis->IsHorizontal()) {
            if (!axis->AutomaticMinimum()) first = 0;
            if (!axis->AutomaticMaximum()) second = 0;
        } else {
            if (!axis->AutomaticMaximum()) first = 0;
            if (!axis->AutomaticMinimum()) second = 0;
        }
        axis->FitToMargins(first, second);
    }
}

void TChart::DrawBackWall(QPainter& painter)
{
    painter.setPen(MakeQPen(BackWall.Pen, printing_));
    const bool filled = BackWall.Brush.Style == TBrushStyle::bsSolid && BackWall.Color != UseSeriesColor;
    painter.setBrush(filled ? QBrush(ToQColor(BackWall.Color)) : QBrush(Qt::NoBrush));
    // The outline covers the edge pixels of the axes rectangle on all sides.
    painter.drawRect(QRect(axesRect_.Left, axesRect_.Top, axesRect_.Width(), axesRect_.Height()));
}

void TChart::DrawSeries(QPainter& painter)
{
    const QRect clip(axesRect_.Left, axesRect_.Top, axesRect_.Width() + 1, axesRect_.Height() + 1);
    for (const auto& s : series_) {
        if (!s->Active()) continue;
        TPainterState state(painter);
        if (ClipPoints)
            painter.setClipRect(clip, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        const TChartAxis& horiz = HorizAxisOf(*s);
        const bool horizAutomatic = (horiz.Automatic() || horiz.AutomaticMinimum()) &&
                                    (horiz.Automatic() || horiz.AutomaticMaximum());
        s->DrawValues(painter, horiz.Scale(), VertAxisOf(*s).Scale(), axesRect_, horizAutomatic, printing_);
    }
}

} // namespace qrv
