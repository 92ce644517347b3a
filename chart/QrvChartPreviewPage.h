// The sheet of a chart print preview: the paper in the printer's
// proportions with a shadow, the chart drawn inside the paper margins as
// the printer gets it, and dotted margin lines that the mouse drags to
// change the margins (edges, corners, or the whole rectangle).
//
// The sheet and chart are painted into an off-screen image, kept while only
// the margin lines move: during a drag the lines follow the mouse and the
// chart is redrawn once, when the button is released.
#pragma once

#include "QrvChartColor.h"
#include "QrvPreviewDrag.h"
#include "QrvPrintMargins.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace qrv
{

class TChart;
class TPrinter;

class TChartPreviewPage : public QWidget
{
    Q_OBJECT
public:
    // The paper's shape comes from `printer`'s current page.
    explicit TChartPreviewPage(TPrinter& printer, QWidget* parent = nullptr);

    TChart* PreviewChart() const { return chart_; }
    // The chart shown (not owned); its print settings hold the margins.
    void SetPreviewChart(TChart* chart);

    // The paper in control pixels, and the paper inside the margins (while
    // dragging: the rectangle being dragged).
    TChartRect SheetRect() const;
    TChartRect PrintableRect() const;
    // The margins shown: the chart's, or the page's own without a chart.
    TPaperMargins Margins() const;
    TPaperMargins& EditMargins();

    bool ShowMarginLines = true;
    bool ShowChartImage = true;
    TColor SheetColor = clWhite;
    bool MarginsResizable = true;
    bool MarginsMovable = true;
    // Redraw everything on every drag step instead of only the lines.
    bool LiveOutline = false;

    // The margins changed: from a drag (true) or otherwise.
    std::function<void(bool fromDrag, const TPaperMargins& margins)> OnMarginsChanged;
    // A drag that changed the margins ended with the button's release.
    std::function<void()> OnDragFinished;

    TDragZone DragZone() const { return zone_; }
    // Paints everything afresh (chart image included) at the next paint.
    void Repaint();
    // Paints only the margin lines afresh, over the kept sheet image.
    void UpdateMarginLines() { update(); }

    // The sheet as the control shows it, for tests and thumbnails.
    QImage Render();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSize PaperSize() const;
    void RenderSheet();
    void DrawMarginLines(QPainter& painter) const;

    TPrinter& printer_;
    TChart* chart_ = nullptr;
    // The margins shown while no chart is set.
    TPaperMargins ownMargins_;
    TDragZone zone_ = TDragZone::None;
    TDragStart start_;
    TChartRect dragRect_;
    bool dragged_ = false;
    QImage sheet_;
    bool sheetValid_ = false;
};

} // namespace qrv
