#include "QrvChart.h"

#include "QrvChartDraw.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace qrv
{

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

namespace
{

// Sets a value and reports whether it changed.
template <class T> bool Assign(T& field, const T& value)
{
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

void TChart::SetColor(TColor color)
{
    if (Assign(frame_.Color, color)) RequestRepaint();
}

void TChart::SetMarginLeft(int percent)
{
    if (Assign(frame_.MarginLeft, percent)) RequestRepaint();
}

void TChart::SetMarginTop(int percent)
{
    if (Assign(frame_.MarginTop, percent)) RequestRepaint();
}

void TChart::SetMarginRight(int percent)
{
    if (Assign(frame_.MarginRight, percent)) RequestRepaint();
}

void TChart::SetMarginBottom(int percent)
{
    if (Assign(frame_.MarginBottom, percent)) RequestRepaint();
}

void TChart::SetBorderWidth(int width)
{
    if (Assign(frame_.BorderWidth, width)) RequestRepaint();
}

void TChart::SetAxisVisible(bool visible)
{
    if (Assign(frame_.AxisVisible, visible)) RequestRepaint();
}

void TChart::SetClipPoints(bool clip)
{
    if (Assign(frame_.ClipPoints, clip)) RequestRepaint();
}

void TChart::SetBackWall(const TChartWall& wall)
{
    frame_.BackWall = wall;
    RequestRepaint();
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

TChartContent TChart::Content() const
{
    TChartContent content{frame_, {}, {}};
    for (std::size_t i = 0; i < axes_.size(); ++i)
        content.Axes[i] = axes_[i].get();
    content.Series.reserve(series_.size());
    for (const auto& s : series_)
        content.Series.push_back(s.get());
    return content;
}

TChartLayout TChart::LayoutFor(const QRect& target, const QPaintDevice* device) const
{
    return ComputeChartLayout(Content(), target, device);
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
    if (printing_) return;
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
    for (std::size_t i = 0; i < axes_.size(); ++i)
        if (layout.Axes[i].Shown && InAxisClickArea(*axes_[i], layout.Axes[i], x, y)) return true;
    const bool anyActive =
        std::any_of(series_.begin(), series_.end(), [](const auto& s) { return s->Active(); });
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

void TChart::DrawPicture(QPainter& painter, const QRect& rect, bool metafiling) const
{
    DrawWithLayout(painter, LayoutFor(rect, painter.device()), metafiling);
}

void TChart::DrawWithLayout(QPainter& painter, const TChartLayout& layout, bool metafiling) const
{
    qrv::DrawChartLayout(painter, Content(), layout, {printing_, metafiling});
    if (onAfterDraw_) onAfterDraw_(*this, painter, layout);
}

} // namespace qrv
