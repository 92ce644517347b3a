#include "QrvChartLayout.h"

#include "QrvSeries.h"

#include <QFontMetrics>
#include <QRect>

#include <algorithm>

namespace qrv
{

int TChartContent::HorizAxisIndexOf(const TChartSeries& s) const
{
    return s.HorizAxis == THorizAxis::aTopAxis ? TopAxisIndex : BottomAxisIndex;
}

int TChartContent::VertAxisIndexOf(const TChartSeries& s) const
{
    return s.VertAxis == TVertAxis::aRightAxis ? RightAxisIndex : LeftAxisIndex;
}

std::vector<TChartSeries*> TChartContent::SeriesOfAxis(int index) const
{
    std::vector<TChartSeries*> bound;
    for (TChartSeries* s : Series)
        if (HorizAxisIndexOf(*s) == index || VertAxisIndexOf(*s) == index) bound.push_back(s);
    return bound;
}

bool TChartContent::IsAxisVisible(int index) const
{
    const TChartAxis& axis = *Axes[static_cast<std::size_t>(index)];
    if (!Frame.AxisVisible || !axis.Visible || axis.IsDepthAxis()) return false;
    for (const TChartSeries* s : SeriesOfAxis(index))
        if (s->Active()) return true;
    return false;
}

bool TChartContent::DrawsEveryPoint(const TChartSeries& s) const
{
    const TChartAxis& horiz = *Axes[static_cast<std::size_t>(HorizAxisIndexOf(s))];
    return (horiz.Automatic() || horiz.AutomaticMinimum()) && (horiz.Automatic() || horiz.AutomaticMaximum());
}

namespace
{

TChartRect MarginRect(const TChartFrame& frame, const TChartRect& panel)
{
    const int w = panel.Width(), h = panel.Height();
    TChartRect r;
    r.Left = panel.Left + MulDiv(frame.MarginLeft, w, 100) + frame.BorderWidth;
    r.Top = panel.Top + MulDiv(frame.MarginTop, h, 100) + frame.BorderWidth;
    r.Right = panel.Right - frame.BorderWidth - MulDiv(frame.MarginRight, w, 100);
    r.Bottom = panel.Bottom - frame.BorderWidth - MulDiv(frame.MarginBottom, h, 100);
    r.Left = std::max(r.Left, panel.Left);
    r.Top = std::max(r.Top, panel.Top);
    if (r.Right < r.Left) r.Right = r.Left + 1;
    if (r.Right == r.Left) r.Right = r.Left + w;
    if (r.Bottom < r.Top) r.Bottom = r.Top + 1;
    if (r.Bottom == r.Top) r.Bottom = r.Top + h;
    return r;
}

// The largest pixel margins the active series bound to the axis ask for,
// each end only while it follows the data.
void SeriesMargins(const TChartContent& content, int index, int& first, int& second)
{
    const TChartAxis& axis = *content.Axes[static_cast<std::size_t>(index)];
    first = second = 0;
    for (const TChartSeries* s : content.SeriesOfAxis(index)) {
        if (!s->Active()) continue;
        int a = 0, b = 0;
        if (axis.IsHorizontal())
            s->CalcHorizMargins(a, b);
        else
            s->CalcVerticalMargins(a, b);
        first = std::max(first, a);
        second = std::max(second, b);
    }
    if (axis.IsHorizontal()) {
        if (!axis.AutomaticMinimum()) first = 0;
        if (!axis.AutomaticMaximum()) second = 0;
    } else {
        if (!axis.AutomaticMaximum()) first = 0;
        if (!axis.AutomaticMinimum()) second = 0;
    }
}

// The legend, when it is shown, and the line runs it keeps clear of.
void PlaceLegend(const TChartContent& content, TChartLayout& layout, const QPaintDevice* device)
{
    const TChartLegend& legend = content.Frame.Legend;
    std::vector<TLegendEntry> entries;
    for (std::size_t i = 0; i < content.Series.size(); ++i) {
        const TChartSeries& s = *content.Series[i];
        if (s.Active() && s.ShowInLegend)
            entries.push_back(
                {static_cast<int>(i), QString::fromStdString(s.Title()), s.LegendColor(), s.LegendPen()});
    }
    if (!legend.Visible || static_cast<int>(entries.size()) < std::max(legend.ShownFrom, 2)) return;
    layout.SeriesRuns.resize(content.Series.size());
    for (std::size_t i = 0; i < content.Series.size(); ++i) {
        const TChartSeries& s = *content.Series[i];
        if (!s.Active()) continue;
        layout.SeriesRuns[i] =
            s.BuildLineRuns(layout.Axes[static_cast<std::size_t>(content.HorizAxisIndexOf(s))].Scale,
                            layout.Axes[static_cast<std::size_t>(content.VertAxisIndexOf(s))].Scale,
                            layout.AxesRect, content.DrawsEveryPoint(s));
    }
    layout.Legend = ComputeLegendLayout(legend, entries, layout.AxesRect, layout.SeriesRuns,
                                        QFontMetrics(legend.Font.Font, device));
}

// Each visible axis takes its room, for the range its scale holds, from
// what the ones before it left of the rectangle inside the margins; what
// remains is the axes rectangle.
void ReserveAxesSpace(const TChartContent& content, TChartLayout& layout, const TChartRect& inner,
                      const QPaintDevice* device)
{
    TChartRect rect = inner;
    for (int i = 0; i < ChartAxisCount; ++i) {
        TAxisLayout& a = layout.Axes[static_cast<std::size_t>(i)];
        if (!a.Shown) continue;
        const TChartAxis& axis = *content.Axes[static_cast<std::size_t>(i)];
        const QFontMetrics labels(axis.LabelsFont.Font, device);
        const QFontMetrics title(axis.Title.Font.Font, device);
        a.ReserveAxisSpace(axis, rect, labels, title);
    }
    layout.AxesRect = rect;
}

// Every axis' pixel span on the axes rectangle, its range fitted to the
// series' margins.
void PlaceAxes(const TChartContent& content, TChartLayout& layout)
{
    for (int i = 0; i < ChartAxisCount; ++i) {
        const TChartAxis& axis = *content.Axes[static_cast<std::size_t>(i)];
        if (axis.IsDepthAxis()) continue;
        TAxisLayout& a = layout.Axes[static_cast<std::size_t>(i)];
        a.PlaceAxis(axis, layout.AxesRect);
        int first = 0, second = 0;
        SeriesMargins(content, i, first, second);
        a.FitToMargins(first, second);
    }
}

// Equal units on the bottom and left axes, while both are shown; whether a
// range grew.
bool EqualizeAxes(TChartLayout& layout)
{
    TAxisLayout& bottom = layout.Axes[BottomAxisIndex];
    TAxisLayout& left = layout.Axes[LeftAxisIndex];
    return bottom.Shown && left.Shown && EqualizeScales(bottom.Scale, left.Scale);
}

} // namespace

TChartLayout ComputeChartLayout(const TChartContent& content, const QRect& target, const QPaintDevice* device)
{
    TChartLayout layout;
    layout.PanelRect = TChartRect::FromQRect(target);
    const TChartRect inner = MarginRect(content.Frame, layout.PanelRect);

    for (int i = 0; i < ChartAxisCount; ++i) {
        TAxisLayout& a = layout.Axes[static_cast<std::size_t>(i)];
        const TChartAxis& axis = *content.Axes[static_cast<std::size_t>(i)];
        a.Shown = content.IsAxisVisible(i);
        a.FineLabels = content.Frame.FineLabels;
        // A hidden axis keeps an empty range; its ends are the settings'.
        if (a.Shown) {
            a.ComputeRange(axis, content.SeriesOfAxis(i));
        } else {
            a.Minimum = axis.Minimum();
            a.Maximum = axis.Maximum();
        }
    }
    const std::array<TAxisLayout, ChartAxisCount> ranged = layout.Axes;
    ReserveAxesSpace(content, layout, inner, device);
    PlaceAxes(content, layout);
    if (content.Frame.EqualScales && EqualizeAxes(layout)) {
        // The labels of a widened range may need more room than the data's:
        // the room is taken again for the widened ranges, and the units
        // made equal again on the lengths that leaves.
        const std::array<TAxisLayout, ChartAxisCount> widened = layout.Axes;
        layout.Axes = ranged;
        for (std::size_t i = 0; i < layout.Axes.size(); ++i)
            layout.Axes[i].SetRange(widened[i].RangeMin(), widened[i].RangeMax());
        ReserveAxesSpace(content, layout, inner, device);
        for (std::size_t i = 0; i < layout.Axes.size(); ++i)
            layout.Axes[i].Scale = ranged[i].Scale;
        PlaceAxes(content, layout);
        EqualizeAxes(layout);
    }
    for (int i = 0; i < ChartAxisCount; ++i) {
        const TChartAxis& axis = *content.Axes[static_cast<std::size_t>(i)];
        TAxisLayout& a = layout.Axes[static_cast<std::size_t>(i)];
        if (a.Shown && !axis.IsDepthAxis()) a.PlaceLabels(axis, QFontMetrics(axis.LabelsFont.Font, device));
    }
    PlaceLegend(content, layout, device);
    return layout;
}

} // namespace qrv
