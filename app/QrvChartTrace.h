// The trace readout of the main window: moving the mouse over the chart
// puts a crosshair on the nearest plotted point, shows its x and y as the
// table writes them and highlights its table line; choosing a line of the
// table marks its point on the chart. Drawn only on the screen, on top of the
// chart's picture, so no file, clipboard image or print ever holds it.
#pragma once

#include <QObject>
#include <QString>

class QPainter;
class QPoint;

namespace qrv
{

class TChart;
class TChartAxis;
struct TAxisLayout;
class TLineSeries;
class TTableView;

class TChartTrace : public QObject
{
    Q_OBJECT
public:
    // Hooks itself into the chart, whose child it becomes, and the table.
    // It dies with the chart, so its hooks never outlive it; its destructor
    // leaves the chart alone, which is half gone by then.
    TChartTrace(TChart& chart, TLineSeries& series, TTableView& table);
    ~TChartTrace() override;

    // A new run: nothing is traced or marked.
    void Reset();
    // Marks the point of a table line (-1 or a line beyond the points: none).
    void MarkPoint(int index);

    int HoveredPoint() const { return hovered_; }
    int MarkedPoint() const { return marked_; }
    // The point on show: the one under the mouse, else the marked one.
    int ShownPoint() const { return hovered_ >= 0 ? hovered_ : marked_; }
    // The readout of the point on show; empty when none is.
    QString ReadoutText() const;

private:
    void Hover(const QPoint& point);
    void SetHovered(int index);
    void Paint(QPainter& painter) const;
    // The layout of the series' axes as last drawn on the screen.
    const TAxisLayout& HorizAxis() const;
    const TAxisLayout& VertAxis() const;

    TChart& chart_;
    TLineSeries& series_;
    TTableView& table_;
    int hovered_ = -1;
    int marked_ = -1;
};

} // namespace qrv
