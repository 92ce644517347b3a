// Series: the plotted points (x, y, colour, optional label) kept in x order,
// and the line series that draws them.
#pragma once

#include "QrvAxisMath.h"
#include "QrvChartColor.h"
#include "QrvChartPen.h"
#include "QrvChartRect.h"
#include "QrvValueList.h"

#include <QPoint>

#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace qrv
{

class TChartSeries;

// What a series needs from the chart it belongs to.
class TChartSeriesHost
{
public:
    virtual ~TChartSeriesHost() = default;
    virtual void RequestRepaint() = 0;
    virtual bool Destroying() const { return false; }
};

// A polyline of one colour: consecutive segments of the series line.
struct TLineRun {
    TColor Color;
    std::vector<QPoint> Points;
};

enum class THorizAxis { aBottomAxis, aTopAxis };
enum class TVertAxis { aLeftAxis, aRightAxis };

class TChartSeries
{
public:
    TChartSeries();
    virtual ~TChartSeries() = default;
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    // Adds a point in x order (after the points of equal x) and returns its
    // index, or -1 when OnBeforeAdd refuses it.
    virtual int AddPoint(double x, double y, const std::string& label = {}, TColor color = UseSeriesColor);
    virtual void ClearPoints();

    int PointCount() const { return XValues.ValueCount(); }
    double XValueAt(int index) const { return XValues.ValueAt(index); }
    double YValueAt(int index) const { return YValues.ValueAt(index); }
    TColor PointColor(int index) const
    {
        // Inline for the plain case, which the line's drawing asks per point.
        if (index >= 0 && static_cast<std::size_t>(index) < colors_.size() && !ColorEachPoint) {
            const TColor c = colors_[static_cast<std::size_t>(index)];
            return c == UseSeriesColor ? seriesColor_ : c;
        }
        return OtherPointColor(index);
    }
    std::string PointLabel(int index) const;

    double LowestX() { return XValues.MinimumValue(); }
    double HighestX() { return XValues.MaximumValue(); }
    // The y range the vertical axis scales to. Where the line of a series in
    // x order is broken at poles, the points at a pole are left out of it
    // (PoleScaleRange); the breaks of a series in drawing order part its
    // pieces, and every point counts.
    double LowestY();
    double HighestY();

    // No line joins the point at `index` to the one before it in x order:
    // the curve has a pole between them. Points added later keep the mark
    // where it was put.
    void BreakLineBefore(int index);
    bool LineBrokenBefore(int index) const
    {
        return index > 0 && static_cast<std::size_t>(index) < breaks_.size() &&
               breaks_[static_cast<std::size_t>(index)];
    }
    bool HasLineBreaks() const { return breakCount_ > 0; }
    // The points are kept in x order (a function of x, the default) or in
    // the order they were added (XValues.Order is loNone: a parametric,
    // polar or implicit curve, drawn as it runs).
    bool InXOrder() const { return XValues.Order != TChartListOrder::loNone; }

    TChartSeriesHost* ParentChart() const { return parent_; }
    void SetParentChart(TChartSeriesHost* chart) { parent_ = chart; }
    void RequestRepaint();

    TColor SeriesColor() const { return seriesColor_; }
    void SetSeriesColor(TColor color);
    // A hidden series is neither drawn nor counted for the axes' ranges or
    // the legend.
    bool Active() const { return active_; }
    void SetActive(bool active);
    // The series' name in the legend.
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title);

    // Pixel room the series asks the axes to keep free at their ends.
    virtual void CalcHorizMargins(int& left, int& right) const { left = right = 0; }
    virtual void CalcVerticalMargins(int& top, int& bottom) const { top = bottom = 0; }
    // Draws the points into the axes rectangle (the painter is clipped).
    virtual void DrawValues(QPainter& painter, const TAxisScale& horiz, const TAxisScale& vert,
                            const TChartRect& axesRect, bool horizAutomatic, bool printing) const = 0;
    // The pixels a drawing of the series covers, as line runs (the legend
    // keeps clear of them; a series without a line has none), and the
    // drawing of those runs: DrawValues draws the runs it builds.
    virtual std::vector<TLineRun> BuildLineRuns(const TAxisScale& horiz, const TAxisScale& vert,
                                                const TChartRect& axesRect, bool horizAutomatic) const;
    virtual void DrawRuns(QPainter& painter, const std::vector<TLineRun>& runs, bool printing) const;
    // How the legend shows the series: the colour of its line (that of its
    // first point with a colour, else the series colour) and its pen.
    TColor LegendColor() const;
    virtual TChartPen LegendPen() const { return TChartPen{}; }

    TChartValueList XValues;
    TChartValueList YValues;
    bool ColorEachPoint = false;
    bool ShowInLegend = true;
    std::string ValueFormat = "#,##0.###";
    std::string PercentFormat = "##0.## %";
    THorizAxis HorizAxis = THorizAxis::aBottomAxis;
    TVertAxis VertAxis = TVertAxis::aLeftAxis;

    // Returns false to refuse a point; its x and y are in the value lists'
    // TempValue.
    std::function<bool(TChartSeries&)> OnBeforeAdd;
    std::function<void(TChartSeries&, int)> OnAfterAdd;
    std::function<void(TChartSeries&)> OnClearValues;

protected:
    std::vector<TChartValueList*> valueLists_;
    std::vector<double> YScaledValues() const;

private:
    // Sets a property and repaints, when it changes.
    template <class T> void Assign(T& field, const T& value)
    {
        if (value == field) return;
        field = value;
        RequestRepaint();
    }
    bool ScalesAtPoles() const { return HasLineBreaks() && InXOrder(); }
    // PointColor beyond the colour list or with a colour for each point.
    TColor OtherPointColor(int index) const;

    TChartSeriesHost* parent_ = nullptr;
    std::vector<TColor> colors_;
    std::vector<std::string> labels_; // empty: no label
    std::vector<char> breaks_;        // 1: no line from the point before
    int breakCount_ = 0;
    TColor seriesColor_ = UseSeriesColor;
    bool active_ = true;
    std::string title_;
};

enum class TPointerStyle { psRectangle, psCircle, psTriangle };

struct TSeriesPointer {
    bool Visible = true;
    TPointerStyle Style = TPointerStyle::psRectangle;
    bool InflateMargins = true;
    int HorizSize = 4;
    int VertSize = 4;
};

class TCustomSeries : public TChartSeries
{
public:
    void CalcHorizMargins(int& left, int& right) const override;
    void CalcVerticalMargins(int& top, int& bottom) const override;
    // Sets the line's pen (its width and style; a point's colour comes from
    // the point) and repaints.
    void SetLinePen(const TChartPen& pen);
    TChartPen LegendPen() const override { return LinePen; }

    TChartPen LinePen;
    TSeriesPointer Pointer;
    bool Stairs = false;
    int LineHeight = 0;
    bool Dark3D = true;
};

// The line is drawn within this many pixels of the origin; segments towards
// points further out are cut at that square.
inline constexpr int MaxLinePixel = 32766;

class TLineSeries : public TCustomSeries
{
public:
    // The line as pixel runs: each segment has the colour of the point it
    // ends at; null points break the line; a segment reaching beyond
    // +-MaxLinePixel is cut to its part within that square.
    std::vector<TLineRun> BuildLineRuns(const TAxisScale& horiz, const TAxisScale& vert,
                                        const TChartRect& axesRect, bool horizAutomatic) const override;
    void DrawValues(QPainter& painter, const TAxisScale& horiz, const TAxisScale& vert,
                    const TChartRect& axesRect, bool horizAutomatic, bool printing) const override;
    // Each run in its colour, with the line pen's width and style; a line
    // wider than a pixel bevels the joins of its segments (MakeLinePen).
    void DrawRuns(QPainter& painter, const std::vector<TLineRun>& runs, bool printing) const override;
};

} // namespace qrv
