// The trace readout of the main window: moving the mouse over the chart
// puts a crosshair on the nearest plotted point, shows its x and y as the
// table writes them and highlights its table line; choosing a line of the
// table marks its point on the chart. Drawn only on the screen, on top of the
// chart's picture, so no file, clipboard image or print ever holds it.
//
// With one shown series the point nearest the mouse column is traced, as it
// always was. With several, the trace follows the curve nearest the mouse:
// the point nearest in pixels over all shown series, and the readout begins
// with that series' title. The table shows one curve, the table series: its
// line is highlighted only while that curve is the one traced (or marked).
//
// The Analysis pane's marks (QrvFeatureMarks.h) are drawn with the trace,
// over the screen's picture, unless the user wants them in pictures too:
// then the chart draws them into every drawing. Within kFeatureSnapPixels of
// a mark the trace snaps to it and names it ("maximum   x = ...   y = ...").
#pragma once

#include "QrvFeatureMarks.h"

#include <QObject>
#include <QString>

#include <vector>

class QPainter;
class QPoint;

namespace qrv
{

class TChart;
class TChartSeries;
struct TAxisLayout;
class TLineSeries;
class TTableView;

class TChartTrace : public QObject
{
    Q_OBJECT
public:
    // Hooks itself into the chart, whose child it becomes, and the table,
    // which shows tableSeries. It dies with the chart, so its hooks never
    // outlive it; its destructor leaves the chart alone, which is half gone
    // by then.
    TChartTrace(TChart& chart, TLineSeries& tableSeries, TTableView& table);
    ~TChartTrace() override;

    // A new run: nothing is traced or marked.
    void Reset();
    // The series the table now shows (a series of the chart); nothing is
    // traced or marked afterwards. Call it before removing the series the
    // table showed from the chart.
    void SetTableSeries(TLineSeries& series);
    // Marks the point of a table line (-1 or a line beyond the points: none).
    void MarkPoint(int index);

    // The analysis marks, replacing any before; drawn only on the screen, or
    // with inPictures into every drawing of the chart. No mark is hovered or
    // marked afterwards.
    void SetFeatureMarks(std::vector<TFeatureMark> marks, bool inPictures);
    const std::vector<TFeatureMark>& FeatureMarks() const { return marks_; }
    bool MarksInPictures() const { return marksInPictures_; }
    // Puts the trace on a mark, as choosing its row in the pane does (-1 or
    // an index beyond the marks: none).
    void MarkFeature(int index);
    // The mark on show: the one the mouse snapped to, else the marked one
    // while the mouse traces no point; -1: none.
    int ShownFeature() const;

    // The point under the mouse, of the series TracedSeries; -1: none.
    int HoveredPoint() const { return hovered_; }
    // The marked point of the table series; -1: none.
    int MarkedPoint() const { return marked_; }
    // The point on show: the one under the mouse, else the marked one; -1
    // while a mark is on show.
    int ShownPoint() const;
    // The index in the chart's series list of the series whose point is on
    // show (that under the mouse, else the table series while a point is
    // marked); -1 when none is.
    int TracedSeries() const;
    // Whether the point on show belongs to the table series.
    bool TracesTableSeries() const;
    // The readout of the point on show; empty when none is.
    QString ReadoutText() const;

signals:
    // The point on show changed: its series (chart index) and point, or -1.
    void TraceChanged(int series, int point);

private:
    void Hover(const QPoint& point);
    void SetHovered(int series, int index);
    // Tells the table and the screen what is on show now.
    void Show();
    void Paint(QPainter& painter) const;
    // The series at a chart index while it is there, else nullptr.
    const TChartSeries* SeriesAt(int index) const;
    int TableSeriesIndex() const;
    // The layout of a series' axes as last drawn on the screen.
    const TAxisLayout& HorizAxis(const TChartSeries& series) const;
    const TAxisLayout& VertAxis(const TChartSeries& series) const;
    // Shown series of the chart (active, with points): their indexes.
    std::vector<int> ShownSeries() const;

    TChart& chart_;
    TLineSeries* tableSeries_;
    TTableView& table_;
    int hoveredSeries_ = -1;
    int hovered_ = -1;
    int marked_ = -1;
    // The series and point last announced by TraceChanged.
    int announcedSeries_ = -1;
    int announcedPoint_ = -1;
    std::vector<TFeatureMark> marks_;
    bool marksInPictures_ = false;
    int hoveredFeature_ = -1;
    int markedFeature_ = -1;
};

} // namespace qrv
