// The chart control: its series, axes and back wall, the one drawing
// routine every device goes through, the back buffer of the screen image,
// and the picture exports (bitmap, metafiles, clipboard).
#pragma once

#include "QrvChartAxis.h"
#include "QrvChartColor.h"
#include "QrvChartPen.h"
#include "QrvChartRect.h"
#include "QrvChartZoom.h"
#include "QrvSeries.h"

#include <QByteArray>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace qrv
{

struct TChartWall {
    TChartPen Pen;
    TChartBrush Brush;
    // UseSeriesColor: the wall has no colour of its own.
    TColor Color = UseSeriesColor;
};

class TChart : public QWidget, public TChartSeriesHost
{
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // --- series -----------------------------------------------------------
    // The chart owns the series it is given; returns it for convenience.
    template <class T> T& AddSeries(std::unique_ptr<T> series)
    {
        T& ref = *series;
        AddSeriesImpl(std::move(series));
        return ref;
    }
    int SeriesCount() const { return static_cast<int>(series_.size()); }
    TChartSeries& Series(int index) const { return *series_.at(static_cast<std::size_t>(index)); }

    // --- axes, in layout and drawing order ---------------------------------
    TChartAxis& BottomAxis() const { return *axes_[0]; }
    TChartAxis& TopAxis() const { return *axes_[1]; }
    TChartAxis& LeftAxis() const { return *axes_[2]; }
    TChartAxis& RightAxis() const { return *axes_[3]; }
    TChartAxis& DepthAxis() const { return *axes_[4]; }
    const std::array<std::unique_ptr<TChartAxis>, 5>& Axes() const { return axes_; }
    // Shown while AxisVisible, the axis' own Visible and an active series
    // is bound to it.
    bool IsAxisVisible(const TChartAxis& axis) const;
    std::vector<TChartSeries*> SeriesOfAxis(const TChartAxis& axis) const;

    // --- settings (after changing a field, call RequestRepaint) -------------
    TColor Color = clWhite;
    int MarginLeft = 3; // percent of the panel width or height
    int MarginTop = 4;
    int MarginRight = 3;
    int MarginBottom = 4;
    int BorderWidth = 0;
    bool AxisVisible = true;
    bool ClipPoints = true;
    bool PrintProportional = true;
    bool AllowZoom = true;
    TPanningMode AllowPanning = TPanningMode::pmBoth;
    bool AnimatedZoom = false;
    int AnimatedZoomSteps = 8;
    TChartWall BackWall;
    std::function<void(TChart&, QPainter&)> OnAfterDraw;
    std::function<void(TChart&)> OnZoom;
    std::function<void(TChart&)> OnUndoZoom;
    std::function<void(TChart&)> OnScroll;
    // May change the new range of a scrolled axis or return false to keep
    // the axis where it is.
    std::function<bool(TChart&, TChartAxis&, double& minimum, double& maximum)> OnAllowScroll;

    // --- on the screen only ---------------------------------------------------
    // Drawn by the control's own paint on top of the chart picture, never
    // into a file, the clipboard or a print.
    std::function<void(TChart&, QPainter&)> OnPaintOverlay;
    // The mouse moved over the control (without a button only while mouse
    // tracking is on), after zoom and scroll have seen the move; and it left
    // the control.
    std::function<void(TChart&, const QPoint&)> OnMouseHover;
    std::function<void(TChart&)> OnMouseLeave;

    // --- mouse zoom and scroll ------------------------------------------------
    // Zooms every axis to the values under the pixel rectangle (its left and
    // right columns, its top and bottom rows), as a drag right and down does.
    void ZoomRect(const QRect& rect);
    // Brings back the axis ranges from before the first zoom or scroll.
    void UndoZoom();
    bool ZoomInForce() const { return zoom_->ZoomInForce(); }
    const TChartZoom& Zoom() const { return *zoom_; }

    // --- drawing ----------------------------------------------------------
    // Draws the complete chart into rect of any painter: screen, bitmap,
    // metafile or printer.
    void DrawChart(QPainter& painter, const QRect& rect);
    void RequestRepaint() override;
    bool Destroying() const override { return destroying_; }

    const TChartRect& PanelRect() const { return panelRect_; }
    const TChartRect& AxesRect() const { return axesRect_; }
    bool Printing() const { return printing_; }
    // Set while drawing for a printer or the print preview: no background,
    // no painting of the control, thin non-solid pens, no white text.
    void SetPrinting(bool printing) { printing_ = printing; }
    bool Metafiling() const { return metafiling_; }
    bool UseBuffer() const { return useBuffer_; }
    void SetUseBuffer(bool use);
    bool BufferValid() const { return bufferValid_; }

    // --- pictures -----------------------------------------------------------
    // The chart drawn into a new bitmap of rect's size (at least 1 x 1),
    // filled with background first.
    QImage MakeBitmap(TColor background, const QRect& rect);
    // The chart drawn into a metafile of (width - 1) x (height - 1), at
    // least 1 x 1: the complete file bytes, placeable WMF or EMF.
    QByteArray MakeMetafile(bool enhanced, const QRect& rect);
    // The client-size bitmap as the bytes of a .bmp file.
    QByteArray BitmapFileBytes();

    // Write errors raise "Cannot create file <name>".
    void SaveBitmapFile(const QString& fileName);
    void SaveMetafileFile(const QString& fileName);
    void SaveEnhMetafileFile(const QString& fileName);
    // Clipboard failure raises "Cannot open clipboard".
    void CopyBitmapToClipboard();
    void CopyMetafileToClipboard(bool enhanced);

    QSize sizeHint() const override { return QSize(400, 250); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void AddSeriesImpl(std::unique_ptr<TChartSeries> series);
    // The drawing itself, straight onto the painter, panel = rect.
    void DrawUnbuffered(QPainter& painter, const QRect& rect);
    void LayoutAxes(QPainter& painter);
    void DrawBackWall(QPainter& painter);
    void DrawSeries(QPainter& painter);
    const TChartAxis& HorizAxisOf(const TChartSeries& s) const;
    const TChartAxis& VertAxisOf(const TChartSeries& s) const;
    TZoomSettings ZoomSettings() const;
    // A press here may start a zoom or scroll: on a visible axis, or inside
    // the axes rectangle while an active series exists.
    bool HitsZoomArea(int x, int y) const;

    std::vector<std::unique_ptr<TChartSeries>> series_;
    std::array<std::unique_ptr<TChartAxis>, 5> axes_;
    TChartRect panelRect_;
    TChartRect axesRect_;
    bool printing_ = false;
    bool metafiling_ = false;
    bool useBuffer_ = true;
    bool bufferValid_ = false;
    bool destroying_ = false;
    QImage buffer_;
    std::unique_ptr<TChartZoom> zoom_;
};

} // namespace qrv
