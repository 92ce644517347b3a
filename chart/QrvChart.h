// The chart control: the chart's picture (QrvChartPicture.h: series, axes
// and settings) on the screen, with the back buffer of its screen image and
// the mouse zoom. The picture exports live in QrvChartExport.h.
#pragma once

#include "QrvChartPicture.h"
#include "QrvChartZoom.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qrv
{

class TChart : public QWidget, public TChartPicture
{
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // --- settings of the control ---------------------------------------------
    bool PrintProportional() const { return printProportional_; }
    void SetPrintProportional(bool proportional) { printProportional_ = proportional; }
    bool AllowZoom() const { return zoomSettings_.AllowZoom; }
    void SetAllowZoom(bool allow) { zoomSettings_.AllowZoom = allow; }
    TPanningMode AllowPanning() const { return zoomSettings_.AllowPanning; }
    void SetAllowPanning(TPanningMode mode) { zoomSettings_.AllowPanning = mode; }
    // AnimatedZoom and its steps with the two above.
    const TZoomSettings& ZoomSettings() const { return zoomSettings_; }
    void SetZoomSettings(const TZoomSettings& settings) { zoomSettings_ = settings; }

    // --- events -------------------------------------------------------------
    // Called after every drawing, with the layout it was drawn with.
    using TAfterDraw = std::function<void(const TChart&, QPainter&, const TChartLayout&)>;
    void SetOnAfterDraw(TAfterDraw f) { onAfterDraw_ = std::move(f); }
    void SetOnZoom(std::function<void(TChart&)> f) { onZoom_ = std::move(f); }
    void SetOnUndoZoom(std::function<void(TChart&)> f) { onUndoZoom_ = std::move(f); }
    void SetOnScroll(std::function<void(TChart&)> f) { onScroll_ = std::move(f); }
    // May change the new range of a scrolled axis or return false to keep
    // the axis where it is.
    using TAllowScroll = std::function<bool(TChart&, TChartAxis&, double& minimum, double& maximum)>;
    void SetOnAllowScroll(TAllowScroll f) { onAllowScroll_ = std::move(f); }

    // --- on the screen only ---------------------------------------------------
    // Drawn by the control's own paint on top of the chart picture, never
    // into a file, the clipboard or a print.
    void SetOnPaintOverlay(std::function<void(TChart&, QPainter&)> f) { onPaintOverlay_ = std::move(f); }
    // The mouse moved over the control (without a button only while mouse
    // tracking is on), after zoom and scroll have seen the move; and it left
    // the control.
    void SetOnMouseHover(std::function<void(TChart&, const QPoint&)> f) { onMouseHover_ = std::move(f); }
    void SetOnMouseLeave(std::function<void(TChart&)> f) { onMouseLeave_ = std::move(f); }

    // --- mouse zoom and scroll ------------------------------------------------
    // Zooms every axis to the values under the pixel rectangle of the screen
    // layout (its left and right columns, its top and bottom rows), as a
    // drag right and down does.
    void ZoomRect(const QRect& rect);
    // Brings back the axis ranges from before the first zoom or scroll.
    void UndoZoom();
    bool ZoomInForce() const { return zoom_->ZoomInForce(); }
    const TChartZoom& Zoom() const { return *zoom_; }

    // --- layout -----------------------------------------------------------
    // The layout of the chart's own window, which the mouse acts on: that of
    // its last paint, or, after a change not painted yet, the one the next
    // paint will have. Pictures drawn elsewhere leave it alone.
    const TChartLayout& Layout() const;
    const TChartRect& PanelRect() const { return Layout().PanelRect; }
    const TChartRect& AxesRect() const { return Layout().AxesRect; }

    // --- drawing ----------------------------------------------------------
    // Draws the complete chart into rect of any painter, through the back
    // buffer while UseBuffer.
    void DrawChart(QPainter& painter, const QRect& rect);
    void RequestRepaint() override;
    bool Destroying() const override { return destroying_; }

    bool UseBuffer() const { return useBuffer_; }
    void SetUseBuffer(bool use);
    bool BufferValid() const { return bufferValid_; }

    QSize sizeHint() const override { return QSize(400, 250); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // The picture, then the OnAfterDraw event.
    void DrawWithLayout(QPainter& painter, const TChartLayout& layout, bool metafiling) const override;

private:
    // DrawChart, returning the layout it drew (in the target's coordinates
    // when unbuffered, the buffer's when buffered).
    TChartLayout DrawAndLayOut(QPainter& painter, const QRect& rect);
    // Clears the back buffer's and the screen layout's validity.
    void Invalidate();
    // A press here may start a zoom or scroll: on a visible axis, or inside
    // the axes rectangle while an active series exists.
    bool HitsZoomArea(int x, int y) const;

    bool printProportional_ = true;
    TZoomSettings zoomSettings_;
    TAfterDraw onAfterDraw_;
    std::function<void(TChart&)> onZoom_;
    std::function<void(TChart&)> onUndoZoom_;
    std::function<void(TChart&)> onScroll_;
    TAllowScroll onAllowScroll_;
    std::function<void(TChart&, QPainter&)> onPaintOverlay_;
    std::function<void(TChart&, const QPoint&)> onMouseHover_;
    std::function<void(TChart&)> onMouseLeave_;

    mutable std::optional<TChartLayout> screenLayout_;
    bool useBuffer_ = true;
    bool bufferValid_ = false;
    bool destroying_ = false;
    QImage buffer_;
    std::unique_ptr<TChartZoom> zoom_;
};

} // namespace qrv
