#include "QrvChart.h"

#include "QrvChartDraw.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace qrv
{

TChart::TChart(QWidget* parent) : QWidget(parent)
{
    zoom_ = std::make_unique<TChartZoom>(
        std::array<TChartAxis*, 4>{&BottomAxis(), &TopAxis(), &LeftAxis(), &RightAxis()});
    zoom_->RequestRepaint = [this] { RequestRepaint(); };
    zoom_->RepaintNow = [this] {
        Invalidate();
        repaint();
    };
    // The rubber rectangle is drawn over the buffered image.
    zoom_->UpdateRubber = [this] { update(); };
    zoom_->ResetCursor = [this] { unsetCursor(); };
    zoom_->OnZoom = [this] {
        if (onZoom_) onZoom_(*this);
    };
    zoom_->OnUndoZoom = [this] {
        if (onUndoZoom_) onUndoZoom_(*this);
    };
    zoom_->OnScroll = [this] {
        if (onScroll_) onScroll_(*this);
    };
    zoom_->OnAllowScroll = [this](TChartAxis& axis, double& minimum, double& maximum) {
        return !onAllowScroll_ || onAllowScroll_(*this, axis, minimum, maximum);
    };
    // The chart paints every pixel of itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(400, 250);
}

TChart::~TChart()
{
    // The series learn that their chart goes when the picture part goes;
    // until then a change of theirs repaints nothing.
    destroying_ = true;
}

void TChart::Invalidate()
{
    bufferValid_ = false;
    screenLayout_.reset();
}

void TChart::RequestRepaint()
{
    Invalidate();
    if (!destroying_) update();
}

void TChart::SetUseBuffer(bool use)
{
    if (use == useBuffer_) return;
    useBuffer_ = use;
    if (!use) {
        buffer_ = QImage();
        Invalidate();
    }
}

const TChartLayout& TChart::Layout() const
{
    // A hidden window learns of a new size only when it is shown.
    if (screenLayout_ && screenLayout_->PanelRect != TChartRect::FromQRect(rect())) screenLayout_.reset();
    if (!screenLayout_) {
        // Measured on the kind of device the next paint draws on.
        const QImage bufferLike(1, 1, QImage::Format_RGB32);
        const QPaintDevice* device = useBuffer_ ? static_cast<const QPaintDevice*>(&bufferLike) : this;
        screenLayout_ = LayoutFor(rect(), device);
    }
    return *screenLayout_;
}

void TChart::paintEvent(QPaintEvent*)
{
    if (Printing()) return;
    QPainter painter(this);
    if (bufferValid_ && !buffer_.isNull() && buffer_.deviceIndependentSize().toSize() == size())
        painter.drawImage(QPoint(0, 0), buffer_);
    else
        screenLayout_ = DrawAndLayOut(painter, rect());
    if (onPaintOverlay_) onPaintOverlay_(*this, painter);
    if (zoom_->ZoomDrag().Active) DrawRubberRect(painter, zoom_->ZoomDrag().Outline(), Color());
}

bool TChart::HitsZoomArea(int x, int y) const
{
    const TChartLayout& layout = Layout();
    for (std::size_t i = 0; i < Axes().size(); ++i)
        if (layout.Axes[i].Shown && InAxisClickArea(*Axes()[i], layout.Axes[i], x, y)) return true;
    bool anyActive = false;
    for (int i = 0; i < SeriesCount(); ++i)
        anyActive = anyActive || Series(i).Active();
    return anyActive && PointInRect(layout.AxesRect, x, y);
}

void TChart::ZoomRect(const QRect& rect)
{
    zoom_->ZoomToRect(rect, Layout(), zoomSettings_);
    RequestRepaint();
}

void TChart::UndoZoom()
{
    zoom_->RestoreZoom();
}

void TChart::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    zoom_->Press(event->button(), p.x(), p.y(), HitsZoomArea(p.x(), p.y()), zoomSettings_);
    event->accept();
}

void TChart::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    zoom_->Move(p.x(), p.y(), Layout(), zoomSettings_);
    if (onMouseHover_) onMouseHover_(*this, p);
    event->accept();
}

void TChart::leaveEvent(QEvent* event)
{
    if (onMouseLeave_) onMouseLeave_(*this);
    QWidget::leaveEvent(event);
}

void TChart::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    zoom_->Release(event->button(), p.x(), p.y(), Layout(), zoomSettings_);
    event->accept();
}

void TChart::wheelEvent(QWheelEvent* event)
{
    zoom_->Wheel(event->angleDelta().y(), Layout(), zoomSettings_);
    event->accept();
}

void TChart::resizeEvent(QResizeEvent* event)
{
    Invalidate();
    QWidget::resizeEvent(event);
}

void TChart::DrawChart(QPainter& painter, const QRect& rect)
{
    DrawAndLayOut(painter, rect);
}

TChartLayout TChart::DrawAndLayOut(QPainter& painter, const QRect& rect)
{
    if (!useBuffer_) {
        TChartLayout layout = LayoutFor(rect, painter.device());
        DrawWithLayout(painter, layout, false);
        return layout;
    }
    // The buffer matches the target's pixel density, so a high-density
    // screen gets a sharp image.
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize pixels = (QSizeF(rect.size()) * dpr).toSize();
    if (buffer_.size() != pixels || buffer_.devicePixelRatio() != dpr) {
        buffer_ = QImage(pixels, QImage::Format_RGB32);
        buffer_.setDevicePixelRatio(dpr);
    }
    const QRect bufferRect(QPoint(0, 0), rect.size());
    if (buffer_.isNull()) {
        bufferValid_ = true;
        return LayoutFor(bufferRect, painter.device());
    }
    TChartLayout layout = LayoutFor(bufferRect, &buffer_);
    {
        QPainter bufferPainter(&buffer_);
        DrawWithLayout(bufferPainter, layout, false);
    }
    painter.drawImage(rect.topLeft(), buffer_);
    bufferValid_ = true;
    return layout;
}

void TChart::DrawWithLayout(QPainter& painter, const TChartLayout& layout, bool metafiling) const
{
    TChartPicture::DrawWithLayout(painter, layout, metafiling);
    if (onAfterDraw_) onAfterDraw_(*this, painter, layout);
}

} // namespace qrv
