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

TChartTrace::TChartTrace(TChart& chart, TLineSeries& tableSeries, TTableView& table)
    : QObject(&chart), chart_(chart), tableSeries_(&tableSeries), table_(table)
{
    chart_.setMouseTracking(true);
    chart_.SetOnPaintOverlay([this](TChart&, QPainter& painter) { Paint(painter); });
    chart_.SetOnMouseHover([this](TChart&, const QPoint& point) { Hover(point); });
    chart_.SetOnMouseLeave([this](TChart&) { SetHovered(-1, -1); });
    connect(&table_, &TTableView::LineChosen, this, &TChartTrace::MarkPoint);
}

TChartTrace::~TChartTrace() = default;

void TChartTrace::Reset()
{
    hoveredSeries_ = hovered_ = marked_ = -1;
    hoveredFeature_ = markedFeature_ = -1;
    Show();
}

void TChartTrace::SetTableSeries(TLineSeries& series)
{
    tableSeries_ = &series;
    Reset();
}

void TChartTrace::MarkPoint(int index)
{
    marked_ = index >= 0 && index < tableSeries_->PointCount() ? index : -1;
    markedFeature_ = -1;
    Show();
}

void TChartTrace::SetFeatureMarks(std::vector<TFeatureMark> marks, bool inPictures)
{
    marks_ = std::move(marks);
    marksInPictures_ = inPictures;
    hoveredFeature_ = markedFeature_ = -1;
    if (inPictures)
        chart_.SetOnAfterDraw([this](const TChart& chart, QPainter& painter, const TChartLayout& layout) {
            DrawFeatureMarks(painter, chart, layout, marks_);
        });
    else
        chart_.SetOnAfterDraw(nullptr);
    // The picture itself changes when it holds the marks.
    chart_.RequestRepaint();
    Show();
}

void TChartTrace::MarkFeature(int index)
{
    markedFeature_ = index >= 0 && static_cast<std::size_t>(index) < marks_.size() ? index : -1;
    if (markedFeature_ >= 0) marked_ = -1;
    Show();
}

int TChartTrace::ShownFeature() const
{
    if (hoveredFeature_ >= 0) return hoveredFeature_;
    return hovered_ < 0 ? markedFeature_ : -1;
}

int TChartTrace::ShownPoint() const
{
    if (ShownFeature() >= 0) return -1;
    return hovered_ >= 0 ? hovered_ : marked_;
}

const TChartSeries* TChartTrace::SeriesAt(int index) const
{
    return index >= 0 && index < chart_.SeriesCount() ? &chart_.Series(index) : nullptr;
}

int TChartTrace::TableSeriesIndex() const
{
    return chart_.IndexOfSeries(*tableSeries_);
}

int TChartTrace::TracedSeries() const
{
    if (const int feature = ShownFeature(); feature >= 0)
        return marks_[static_cast<std::size_t>(feature)].Series;
    if (hovered_ >= 0) return hoveredSeries_;
    return marked_ >= 0 ? TableSeriesIndex() : -1;
}

bool TChartTrace::TracesTableSeries() const
{
    const int traced = TracedSeries();
    return traced >= 0 && traced == TableSeriesIndex();
}

const TAxisLayout& TChartTrace::HorizAxis(const TChartSeries& series) const
{
    const TChartLayout& layout = chart_.Layout();
    return series.HorizAxis == THorizAxis::aTopAxis ? layout.Top() : layout.Bottom();
}

const TAxisLayout& TChartTrace::VertAxis(const TChartSeries& series) const
{
    const TChartLayout& layout = chart_.Layout();
    return series.VertAxis == TVertAxis::aRightAxis ? layout.Right() : layout.Left();
}

std::vector<int> TChartTrace::ShownSeries() const
{
    std::vector<int> shown;
    for (int i = 0; i < chart_.SeriesCount(); ++i)
        if (chart_.Series(i).Active() && chart_.Series(i).PointCount() > 0) shown.push_back(i);
    return shown;
}

void TChartTrace::Hover(const QPoint& point)
{
    const TChartRect& axes = chart_.AxesRect();
    const bool dragging = chart_.Zoom().ZoomDrag().Active || chart_.Zoom().ScrollDrag().Active;
    // The axes' last column and row count too: the range's ends lie there.
    auto inside = [&](int x, int y) {
        return x >= axes.Left && x <= axes.Right && y >= axes.Top && y <= axes.Bottom;
    };
    const std::vector<int> shown = ShownSeries();
    if (dragging || shown.empty() || !inside(point.x(), point.y())) {
        SetHovered(-1, -1);
        return;
    }
    // A mark near the mouse takes the trace.
    if (const int feature = MarkNear(chart_, chart_.Layout(), marks_, point); feature >= 0) {
        if (feature != hoveredFeature_ || hovered_ >= 0) {
            hoveredFeature_ = feature;
            hoveredSeries_ = hovered_ = -1;
            Show();
        }
        return;
    }
    if (shown.size() == 1) {
        // One curve: the point nearest the mouse column.
        const TChartSeries& series = chart_.Series(shown.front());
        const TAxisLayout& horiz = HorizAxis(series);
        int index = NearestPointByPixel(series.XValues.RawValues(), point.x(), horiz.PixelToValue(point.x()),
                                        [&](double value) { return horiz.ValueToPixel(value); });
        // A point scrolled or zoomed out of sight is not traced.
        if (index >= 0) {
            const int column = horiz.ValueToPixel(series.XValueAt(index));
            if (column < axes.Left || column > axes.Right) index = -1;
        }
        SetHovered(index >= 0 ? shown.front() : -1, index);
        return;
    }
    // Several: the point nearest the mouse over all of them, in sight.
    int bestSeries = -1, bestIndex = -1;
    long long bestDistance = 0;
    for (int s : shown) {
        const TChartSeries& series = chart_.Series(s);
        const TAxisLayout& horiz = HorizAxis(series);
        const TAxisLayout& vert = VertAxis(series);
        // Values multiplied as the series reads them.
        const double xm = series.XValues.Multiplier(), ym = series.YValues.Multiplier();
        const TNearestPoint near = NearestPointInPlane(
            series.XValues.RawValues(), series.YValues.RawValues(), point.x(), point.y(),
            horiz.PixelToValue(point.x()) / xm, [&](double x) { return horiz.ValueToPixel(x * xm); },
            [&](double y) { return vert.ValueToPixel(y * ym); });
        if (near.Index < 0) continue;
        if (!inside(horiz.ValueToPixel(series.XValueAt(near.Index)),
                    vert.ValueToPixel(series.YValueAt(near.Index))))
            continue;
        if (bestSeries < 0 || near.Distance2 < bestDistance) {
            bestSeries = s;
            bestIndex = near.Index;
            bestDistance = near.Distance2;
        }
    }
    SetHovered(bestSeries, bestIndex);
}

void TChartTrace::SetHovered(int series, int index)
{
    if (index < 0) series = -1;
    if (series == hoveredSeries_ && index == hovered_ && hoveredFeature_ < 0) return;
    hoveredFeature_ = -1;
    hoveredSeries_ = series;
    hovered_ = index;
    Show();
}

void TChartTrace::Show()
{
    // The table's line: the hovered point while it is the table's curve,
    // else the marked one.
    const bool hoversTable = hovered_ >= 0 && hoveredSeries_ == TableSeriesIndex();
    table_.SetHighlightedLine(hoversTable ? hovered_ : marked_);
    chart_.update();
    const int series = TracedSeries(), point = series >= 0 ? ShownPoint() : -1;
    if (series != announcedSeries_ || point != announcedPoint_) {
        announcedSeries_ = series;
        announcedPoint_ = point;
        emit TraceChanged(series, point);
    }
}

QString TChartTrace::ReadoutText() const
{
    if (const int feature = ShownFeature(); feature >= 0)
        return marks_[static_cast<std::size_t>(feature)].Readout;
    const TChartSeries* series = SeriesAt(TracedSeries());
    const int index = ShownPoint();
    if (!series || index < 0 || index >= series->PointCount()) return {};
    const double x = series->XValueAt(index), y = series->YValueAt(index);
    if (ShownSeries().size() < 2) return QString::fromStdString(TraceReadout(x, y, DecimalSeparator()));
    return QString::fromStdString(TraceReadout(series->Title(), x, y, DecimalSeparator()));
}

void TChartTrace::Paint(QPainter& painter) const
{
    if (!marksInPictures_) DrawFeatureMarks(painter, chart_, chart_.Layout(), marks_);
    // The rubber rectangle and the moving data of a drag need a clear view.
    if (chart_.Zoom().ZoomDrag().Active || chart_.Zoom().ScrollDrag().Active) return;
    const TChartRect& axes = chart_.AxesRect();
    int x = 0, y = 0;
    if (const int feature = ShownFeature(); feature >= 0) {
        const std::optional<QPoint> at =
            MarkPixel(chart_, chart_.Layout(), marks_[static_cast<std::size_t>(feature)]);
        if (!at) return;
        x = at->x();
        y = at->y();
    } else {
        const TChartSeries* series = SeriesAt(TracedSeries());
        const int index = ShownPoint();
        if (!series || index < 0 || index >= series->PointCount()) return;
        x = TraceMarkPixel(HorizAxis(*series).ValueToPixel(series->XValueAt(index)), axes.Left, axes.Right);
        y = TraceMarkPixel(VertAxis(*series).ValueToPixel(series->YValueAt(index)), axes.Top, axes.Bottom);
    }
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
