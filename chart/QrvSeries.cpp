#include "QrvSeries.h"

#include "QrvClipGeometry.h"
#include "QrvPoleScale.h"

#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

namespace qrv
{

namespace
{

// The colours a series gives its points one by one when ColorEachPoint is
// set: well apart from each other and readable on white.
constexpr TColor EachPointPalette[] = {
    clRed,      clGreen,    0x0000FFFF, clBlue,     0x00C0C0C0, 0x00FF00FF, 0x00808000,
    0x00000080, 0x00008080, 0x00800080, 0x00FFFF00, 0x00404040, 0x00FF8000,
};

} // namespace

TChartSeries::TChartSeries() : XValues(this, "X"), YValues(this, "Y")
{
    XValues.Order = TChartListOrder::loAscending;
    YValues.Order = TChartListOrder::loNone;
    valueLists_ = {&XValues, &YValues};
}

int TChartSeries::AddPoint(double x, double y, const std::string& label, TColor color)
{
    XValues.TempValue = x;
    YValues.TempValue = y;
    if (OnBeforeAdd && !OnBeforeAdd(*this)) return -1;
    const int index = XValues.InsertOrdered(x);
    YValues.InsertAt(index, y);
    colors_.insert(colors_.begin() + index, color);
    labels_.insert(labels_.begin() + index, label);
    breaks_.insert(breaks_.begin() + index, 0);
    if (OnAfterAdd) OnAfterAdd(*this, index);
    if (active_) RequestRepaint();
    return index;
}

void TChartSeries::ClearPoints()
{
    for (TChartValueList* list : valueLists_)
        list->RemoveAll();
    std::vector<TColor>().swap(colors_);
    std::vector<std::string>().swap(labels_);
    std::vector<char>().swap(breaks_);
    breakCount_ = 0;
    if (OnClearValues) OnClearValues(*this);
    if (active_ && parent_ && !parent_->Destroying()) parent_->RequestRepaint();
}

void TChartSeries::BreakLineBefore(int index)
{
    if (index <= 0 || static_cast<std::size_t>(index) >= breaks_.size()) return;
    char& mark = breaks_[static_cast<std::size_t>(index)];
    if (!mark) ++breakCount_;
    mark = 1;
    if (active_) RequestRepaint();
}

double TChartSeries::LowestY()
{
    if (!ScalesAtPoles()) return YValues.MinimumValue();
    return PoleScaleRange(YScaledValues(), breaks_).first;
}

double TChartSeries::HighestY()
{
    if (!ScalesAtPoles()) return YValues.MaximumValue();
    return PoleScaleRange(YScaledValues(), breaks_).second;
}

std::vector<double> TChartSeries::YScaledValues() const
{
    std::vector<double> ys = YValues.RawValues();
    const double m = YValues.Multiplier();
    if (m != 1)
        for (double& y : ys)
            y *= m;
    return ys;
}

TColor TChartSeries::OtherPointColor(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= colors_.size()) return seriesColor_;
    const TColor c = colors_[static_cast<std::size_t>(index)];
    if (c != UseSeriesColor) return c;
    if (ColorEachPoint) {
        constexpr std::size_t n = std::size(EachPointPalette);
        return EachPointPalette[static_cast<std::size_t>(index) % n];
    }
    return seriesColor_;
}

std::string TChartSeries::PointLabel(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= labels_.size()) return {};
    return labels_[static_cast<std::size_t>(index)];
}

void TChartSeries::RequestRepaint()
{
    if (parent_) parent_->RequestRepaint();
}

void TChartSeries::SetSeriesColor(TColor color)
{
    Assign(seriesColor_, color);
}

void TChartSeries::SetActive(bool active)
{
    Assign(active_, active);
}

std::vector<TLineRun> TChartSeries::BuildLineRuns(const TAxisScale&, const TAxisScale&, const TChartRect&,
                                                  bool) const
{
    return {};
}

void TChartSeries::DrawRuns(QPainter&, const std::vector<TLineRun>&, bool) const {}

TColor TChartSeries::LegendColor() const
{
    for (int i = 0; i < PointCount(); ++i)
        if (const TColor c = PointColor(i); c != clNone && c != UseSeriesColor) return c;
    return seriesColor_ == UseSeriesColor ? clBlack : seriesColor_;
}

void TChartSeries::SetTitle(std::string title)
{
    if (title == title_) return;
    title_ = std::move(title);
    RequestRepaint();
}

void TCustomSeries::SetLinePen(const TChartPen& pen)
{
    LinePen = pen;
    RequestRepaint();
}

void TCustomSeries::CalcHorizMargins(int& left, int& right) const
{
    left = right = (Pointer.Visible && Pointer.InflateMargins) ? Pointer.HorizSize + 1 : 0;
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom) const
{
    top = bottom = (Pointer.Visible && Pointer.InflateMargins) ? Pointer.VertSize + 1 : 0;
}

namespace
{

bool InLineRange(int p)
{
    return p >= -MaxLinePixel && p <= MaxLinePixel;
}

// p rounded to the nearest pixel and held within the line range; NaN gives 0.
int LinePixel(Float p)
{
    const Float r = std::nearbyint(p);
    if (std::isnan(r)) return 0;
    return r <= -MaxLinePixel ? -MaxLinePixel : r >= MaxLinePixel ? MaxLinePixel : static_cast<int>(r);
}

// One end of a segment: the pixel the axes give it and, when that lies
// outside the line range, its exact position (X, Y; within the range the
// pixel is the position).
struct TLineEnd {
    Float X = 0;
    Float Y = 0;
    bool InRange = false;
    QPoint Pixel;
    Float ExactX() const { return InRange ? Pixel.x() : X; }
    Float ExactY() const { return InRange ? Pixel.y() : Y; }
};

// An end as the walk over the points keeps it: its pixel and the point it
// stands for (-1: the entry at the left edge, always in range). The exact
// position of a point outside the line range is asked for only when one of
// its segments needs it.
struct TPointEnd {
    QPoint Pixel;
    int Index = -1;
    bool InRange = true;
};

// The square of +-MaxLinePixel, edges included.
constexpr TClipBox LineRange{-MaxLinePixel, -MaxLinePixel, MaxLinePixel, MaxLinePixel};

// The part of the segment from a to b inside the line range, as pixels; an
// end inside the range keeps its own pixel. Nothing when the segment misses
// the range.
std::optional<std::pair<QPoint, QPoint>> ClipToLineRange(const TLineEnd& a, const TLineEnd& b)
{
    if (a.InRange && b.InRange) return std::pair(a.Pixel, b.Pixel);
    const Float ax = a.ExactX(), ay = a.ExactY(), bx = b.ExactX(), by = b.ExactY();
    const auto part = ClipSegment<Float>({ax, ay}, {bx, by}, LineRange);
    if (!part) return std::nullopt;
    const Float dx = bx - ax, dy = by - ay;
    const QPoint from = part->T0 == 0 && a.InRange
                            ? a.Pixel
                            : QPoint(LinePixel(ax + part->T0 * dx), LinePixel(ay + part->T0 * dy));
    const QPoint to = part->T1 == 1 && b.InRange
                          ? b.Pixel
                          : QPoint(LinePixel(ax + part->T1 * dx), LinePixel(ay + part->T1 * dy));
    return std::pair(from, to);
}

// Collects segments into runs of one colour that join end to start.
class TRunBuilder
{
public:
    explicit TRunBuilder(std::vector<TLineRun>& runs) : runs_(runs) {}
    void Segment(QPoint from, QPoint to, TColor color)
    {
        if (runs_.empty() || runs_.back().Color != color || runs_.back().Points.back() != from)
            runs_.push_back({color, {from}});
        runs_.back().Points.push_back(to);
    }

private:
    std::vector<TLineRun>& runs_;
};

} // namespace

std::vector<TLineRun> TLineSeries::BuildLineRuns(const TAxisScale& horiz, const TAxisScale& vert,
                                                 const TChartRect& axesRect, bool horizAutomatic) const
{
    std::vector<TLineRun> runs;
    const int count = PointCount();
    if (count == 0) return runs;
    const std::vector<double>& xs = XValues.RawValues();
    const std::vector<double>& ys = YValues.RawValues();
    const double xm = XValues.Multiplier(), ym = YValues.Multiplier();
    auto xAt = [&](int i) { return xs[static_cast<std::size_t>(i)] * xm; };
    auto yAt = [&](int i) { return ys[static_cast<std::size_t>(i)] * ym; };

    int first = 0, last = count - 1;
    // Points in drawing order (a curve that is no function of x) are drawn
    // whole: the line may leave the axes rectangle and come back anywhere.
    const bool xOrder = InXOrder();
    if (!horizAutomatic && xOrder) {
        // Only the points from the left edge of the axes rectangle to the
        // first one at or beyond its right edge are drawn.
        const double leftValue = horiz.PixelToValue(axesRect.Left);
        const double rightValue = horiz.PixelToValue(axesRect.Right);
        while (first < count && xAt(first) < leftValue)
            ++first;
        last = first;
        while (last < count - 1 && xAt(last) < rightValue)
            ++last;
        if (first >= count) return runs;
    }

    // The pixels of the drawn points, all at once; a point outside the line
    // range asks its axes for its exact position as well.
    const std::size_t drawn = static_cast<std::size_t>(last - first + 1);
    std::vector<int> columns(drawn), rows(drawn);
    horiz.ValuesToPixels(std::span(xs).subspan(static_cast<std::size_t>(first), drawn), xm, columns);
    vert.ValuesToPixels(std::span(ys).subspan(static_cast<std::size_t>(first), drawn), ym, rows);

    // A point beyond the line range is no reason to lose its segments: each
    // is cut to the part within the range, so the line still runs towards
    // the far point and back.
    TRunBuilder builder(runs);
    auto exact = [&](const TPointEnd& end) {
        TLineEnd e{0, 0, end.InRange, end.Pixel};
        if (!end.InRange) {
            e.X = horiz.PixelOf(xAt(end.Index)).Exact;
            e.Y = vert.PixelOf(yAt(end.Index)).Exact;
        }
        return e;
    };
    TPointEnd previous;
    TColor previousColor = clNone;
    for (int i = first; i <= last; ++i) {
        const TColor color = PointColor(i);
        const std::size_t k = static_cast<std::size_t>(i - first);
        const TPointEnd here{QPoint(columns[k], rows[k]), i, InLineRange(columns[k]) && InLineRange(rows[k])};
        bool draw = i > first && previousColor != clNone && !LineBrokenBefore(i);
        if (i == first && i > 0 && xOrder) {
            // Enter from the left edge at the height the line between the
            // previous point and this one has there.
            const double edgeX = horiz.PixelToValue(axesRect.Left);
            const double x0 = xAt(i - 1), y0 = yAt(i - 1), x1 = xAt(i), y1 = yAt(i);
            // In Float: differences of values near the largest double
            // overflow a double; the height lies between y0 and y1.
            const double edgeY =
                x1 == x0 ? y0 : ClampToDouble(y0 + (Float(y1) - y0) * (Float(edgeX) - x0) / (Float(x1) - x0));
            previous = {QPoint(axesRect.Left, LinePixel(vert.ValueToPixel(edgeY))), -1, true};
            draw = PointColor(i - 1) != clNone && !LineBrokenBefore(i);
        }
        if (draw && color != clNone) {
            if (previous.InRange && here.InRange) {
                if (previous.Pixel != here.Pixel) builder.Segment(previous.Pixel, here.Pixel, color);
            } else if (const auto segment = ClipToLineRange(exact(previous), exact(here));
                       segment && segment->first != segment->second) {
                builder.Segment(segment->first, segment->second, color);
            }
        }
        previous = here;
        previousColor = color;
    }
    return runs;
}

void TLineSeries::DrawValues(QPainter& painter, const TAxisScale& horiz, const TAxisScale& vert,
                             const TChartRect& axesRect, bool horizAutomatic, bool printing) const
{
    DrawRuns(painter, BuildLineRuns(horiz, vert, axesRect, horizAutomatic), printing);
}

void TLineSeries::DrawRuns(QPainter& painter, const std::vector<TLineRun>& runs, bool printing) const
{
    painter.setBrush(Qt::NoBrush);
    // Device pixels per layout pixel, for the dots of a thin printed line.
    const double deviceScale = std::sqrt(std::fabs(painter.deviceTransform().determinant()));
    TColor penColor = clNone;
    for (const TLineRun& run : runs) {
        if (run.Color != penColor) {
            painter.setPen(MakeLinePen(LinePen, run.Color, printing, deviceScale));
            penColor = run.Color;
        }
        painter.drawPolyline(run.Points.data(), static_cast<int>(run.Points.size()));
    }
}

} // namespace qrv
