#include "QrvChartPreviewPage.h"

#include "QrvChart.h"
#include "QrvChartPrint.h"
#include "QrvPrinter.h"

#include <QMouseEvent>
#include <QPainter>

namespace qrv
{

namespace
{

constexpr TColor clSilver = 0x00C0C0C0;
constexpr int ShadowOffset = 5;
constexpr int ShadowDepth = 4;

// The paper's edges count as on the paper, so an edge can be dragged onto
// them.
bool OnPaper(QPoint p, const TChartRect& paper)
{
    return p.x() >= paper.Left && p.x() <= paper.Right && p.y() >= paper.Top && p.y() <= paper.Bottom;
}

} // namespace

TChartPreviewPage::TChartPreviewPage(TPrinter& printer, QWidget* parent) : QWidget(parent), printer_(printer)
{
    setObjectName(QStringLiteral("PreviewPage"));
    // Every pixel comes from the sheet image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TChartPreviewPage::SetPreviewChart(TChart* chart)
{
    chart_ = chart;
    Repaint();
}

QSize TChartPreviewPage::PaperSize() const
{
    return QSize(printer_.PageWidth(), printer_.PageHeight());
}

TChartRect TChartPreviewPage::SheetRect() const
{
    return SheetRectFor(size(), PaperSize());
}

TPaperMargins TChartPreviewPage::Margins() const
{
    return chart_ ? PrintSettingsOf(*chart_).PaperMargins : ownMargins_;
}

TPaperMargins& TChartPreviewPage::EditMargins()
{
    return chart_ ? PrintSettingsOf(*chart_).PaperMargins : ownMargins_;
}

TChartRect TChartPreviewPage::PrintableRect() const
{
    if (zone_ != TDragZone::None) return dragRect_;
    return PrintableRectFor(SheetRect(), Margins());
}

void TChartPreviewPage::Repaint()
{
    sheetValid_ = false;
    update();
}

void TChartPreviewPage::RenderSheet()
{
    // At the screen's pixel density, so the chart on the sheet is as sharp
    // as the screen allows rather than a magnified picture.
    const qreal dpr = devicePixelRatioF();
    sheet_ = QImage((QSizeF(size().expandedTo(QSize(1, 1))) * dpr).toSize(), QImage::Format_RGB32);
    sheet_.setDevicePixelRatio(dpr);
    QPainter painter(&sheet_);
    painter.fillRect(sheet_.rect(), palette().color(QPalette::Window));

    const TChartRect paper = SheetRect();
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    painter.setBrush(ToQColor(SheetColor));
    // A 1-pixel outline on the paper's outermost pixels.
    painter.drawRect(QRect(paper.Left, paper.Top, paper.Width() - 1, paper.Height() - 1));
    painter.fillRect(QRect(paper.Left + ShadowOffset, paper.Bottom, paper.Width(), ShadowDepth), Qt::black);
    painter.fillRect(QRect(paper.Right, paper.Top + ShadowDepth, ShadowOffset, paper.Height()), Qt::black);

    if (chart_ && ShowChartImage) DrawIntoPrintRect(*chart_, painter, PrintableRect());
    sheetValid_ = true;
}

// Dotted lines that invert what they cross: drawn twice, a line vanishes,
// so it stands out on any chart colour without hiding it.
void TChartPreviewPage::DrawMarginLines(QPainter& painter) const
{
    const TChartRect paper = SheetRect();
    const TChartRect r = PrintableRect();
    const bool greySheet = SheetColor == clSilver || SheetColor == clGray;
    QPen pen(ToQColor(greySheet ? clWhite : clSilver), 0);
    pen.setDashPattern({1.0, 1.0});
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen);
    painter.drawLine(r.Left - 1, paper.Top, r.Left - 1, paper.Bottom - 1);
    painter.drawLine(r.Right, paper.Top, r.Right, paper.Bottom - 1);
    painter.drawLine(paper.Left, r.Top - 1, paper.Right - 1, r.Top - 1);
    painter.drawLine(paper.Left, r.Bottom, paper.Right - 1, r.Bottom);
    painter.restore();
}

QImage TChartPreviewPage::Render()
{
    if (!sheetValid_ || sheet_.deviceIndependentSize().toSize() != size().expandedTo(QSize(1, 1)) ||
        sheet_.devicePixelRatio() != devicePixelRatioF())
        RenderSheet();
    QImage frame = sheet_;
    if (ShowMarginLines) {
        QPainter painter(&frame);
        DrawMarginLines(painter);
    }
    return frame;
}

void TChartPreviewPage::paintEvent(QPaintEvent*)
{
    const QImage frame = Render();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), frame);
}

void TChartPreviewPage::resizeEvent(QResizeEvent* event)
{
    sheetValid_ = false;
    QWidget::resizeEvent(event);
}

void TChartPreviewPage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    const TChartRect r = PrintableRect();
    zone_ = DragZoneAt(p, r, MarginsResizable, MarginsMovable);
    start_ = {p, r};
    dragRect_ = r;
    dragged_ = false;
}

void TChartPreviewPage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const TChartRect paper = SheetRect();
    if (!OnPaper(p, paper)) return;
    if (zone_ == TDragZone::None) {
        setCursor(CursorForZone(DragZoneAt(p, PrintableRect(), MarginsResizable, MarginsMovable)));
        return;
    }
    const TChartRect moved = DragRect(zone_, dragRect_, paper, p, start_);
    if (moved == dragRect_) return;
    dragRect_ = moved;
    dragged_ = true;
    const TPaperMargins margins = MarginsFromPrintableRect(paper, dragRect_);
    EditMargins() = margins;
    if (LiveOutline)
        Repaint();
    else
        UpdateMarginLines();
    if (OnMarginsChanged) OnMarginsChanged(true, margins);
}

void TChartPreviewPage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || zone_ == TDragZone::None) return;
    zone_ = TDragZone::None;
    Repaint();
    if (dragged_ && OnDragFinished) OnDragFinished();
    dragged_ = false;
}

} // namespace qrv
