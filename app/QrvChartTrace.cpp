#include "QrvChartTrace.h"

#include "QrvChart.h"
#include "QrvNumberText.h"
#include "QrvTableView.h"
#include "QrvTrace.h"

#include <QFontMetrics>
#include <QPainter>

namespace qrv
{

namespace
{
const QColor kCrosshairColor(96, 96, 96);
const QColor kReadoutBackground(255, 255, 225);
} // namespace

TChartTrace::TChartTrace(TChart& chart, TLineSeries& series, TTableView& table)
    : QObject(&chart), chart_(chart), series_(series), table_(table)
{
    chart_.setMouseTracking(true);
    chart_.SetOnPaintOverlay([this](TChart&, QPainter& painter) { Paint(painter); });
    chart_.SetOnMouseHover([this](TChart&, const QPoint& point) { Hover(point); });
    chart_.SetOnMouseLeave([this](TChart&) { SetHovered(-1); });
    connect(&table_, &TTableView::LineChosen, this, &TChartTrace::MarkPoint);
}

TChartTrace::~TChartTrace() = default;

void TChartTrace::Reset()
{
    hovered_ = marked_ = -1;
    table_.SetHighlightedLine(-1);
    chart_.update();
}

void TChartTrace::MarkPoint(int index)
{
    marked_ = index >= 0 && index < series_.PointCount() ? index : -1;
    table_.SetHighlightedLine(ShownPoint());
    chart_.update();
}

const TAxisLayout& TChartTrace::HorizAxis() const
{
    const TChartLayout& layout = chart_.Layout();
    return series_.HorizAxis == THorizAxis::aTopAxis ? layout.Top() : layout.Bottom();
}

const TAxisLayout& TChartTrace::VertAxis() const
{
    const TChartLayout& layout = chart_.Layout();
    return series_.VertAxis == TVertAxis::aRightAxis ? layout.Right() : layout.Left();
}

void TChartTrace::Hover(const QPoint& point)
{
    const TChartRect& axes = chart_.AxesRect();
    const bool dragging = chart_.Zoom().ZoomDrag().Active || chart_.Zoom().ScrollDrag().Active;
    // The axes' last column and row count too: the range's ends lie there.
    const bool inside = point.x() >= axes.Left && point.x() <= axes.Right && point.y() >= axes.Top &&
                        point.y() <= axes.Bottom;
    if (dragging || !series_.Active() || !inside) {
        SetHovered(-1);
        return;
    }
    const TAxisLayout& horiz = HorizAxis();
    int index = NearestPointByPixel(series_.XValues.RawValues(), point.x(), horiz.PixelToValue(point.x()),
                                    [&](double value) { return horiz.ValueToPixel(value); });
    // A point scrolled or zoomed out of sight is not traced.
    if (index >= 0) {
        const int column = horiz.ValueToPixel(series_.XValueAt(index));
        if (column < axes.Left || column > axes.Right) index = -1;
    }
    SetHovered(index);
}

void TChartTrace::SetHovered(int index)
{
    if (index == hovered_) return;
    hovered_ = index;
    table_.SetHighlightedLine(ShownPoint());
    chart_.update();
}

QString TChartTrace::ReadoutText() const
{
    const int index = ShownPoint();
    if (index < 0 || index >= series_.PointCount()) return {};
    return QString::fromStdString(
        TraceReadout(series_.XValueAt(index), series_.YValueAt(index), DecimalSeparator()));
}

void TChartTrace::Paint(QPainter& painter) const
{
    const int index = ShownPoint();
    if (index < 0 || index >= series_.PointCount()) return;
    // The rubber rectangle and the moving data of a drag need a clear view.
    if (chart_.Zoom().ZoomDrag().Active || chart_.Zoom().ScrollDrag().Active) return;
    const TChartRect& axes = chart_.AxesRect();
    const int x = HorizAxis().ValueToPixel(series_.XValueAt(index));
    const int y = VertAxis().ValueToPixel(series_.YValueAt(index));
    painter.save();
    painter.setClipRect(axes.ToQRect().adjusted(0, 0, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kCrosshairColor, 1, Qt::DashLine));
    painter.drawLine(x, axes.Top, x, axes.Bottom);
    painter.drawLine(axes.Left, y, axes.Right, y);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPoint(x, y), 3, 3);

    const QString text = ReadoutText();
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text) + 2 * kReadoutInset;
    const int height = metrics.height() + kReadoutInset;
    const TTraceBox box = ReadoutBox({axes.Left, axes.Top, axes.Width(), axes.Height()}, width, height, x, y);
    const QRect area(box.Left, box.Top, box.Width, box.Height);
    painter.setPen(QPen(kCrosshairColor, 1));
    painter.setBrush(kReadoutBackground);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignCenter, text);
    painter.restore();
}

} // namespace qrv
