// What the chart draws, without a window: its series, axes and frame
// settings, laid out and drawn into any painter. The chart control
// (QrvChart.h) is one of these on the screen; the command line's pictures
// draw one without creating a window at all.
#pragma once

#include "QrvChartAxis.h"
#include "QrvChartColor.h"
#include "QrvChartLayout.h"
#include "QrvMetafile.h"
#include "QrvSeries.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>

#include <array>
#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

namespace qrv
{

class TChartPicture : public TChartSeriesHost
{
public:
    TChartPicture();
    ~TChartPicture() override;
    TChartPicture(const TChartPicture&) = delete;
    TChartPicture& operator=(const TChartPicture&) = delete;

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
    // The index of the series in the chart's list, or -1.
    int IndexOfSeries(const TChartSeries& series) const;
    // Frees the series at index (references to it end); an index out of
    // the list does nothing.
    void RemoveSeries(int index);
    // Moves the series at from to index to, the others keeping their order:
    // the order of drawing (later series on top) and of the legend.
    void MoveSeries(int from, int to);

    // --- axes, in layout and drawing order ---------------------------------
    TChartAxis& BottomAxis() const { return *axes_[BottomAxisIndex]; }
    TChartAxis& TopAxis() const { return *axes_[TopAxisIndex]; }
    TChartAxis& LeftAxis() const { return *axes_[LeftAxisIndex]; }
    TChartAxis& RightAxis() const { return *axes_[RightAxisIndex]; }
    TChartAxis& DepthAxis() const { return *axes_[DepthAxisIndex]; }
    const std::array<std::unique_ptr<TChartAxis>, ChartAxisCount>& Axes() const { return axes_; }

    // --- settings: a setter that changes the picture repaints ---------------
    TColor Color() const { return frame_.Color; }
    void SetColor(TColor color);
    int MarginLeft() const { return frame_.MarginLeft; }
    int MarginTop() const { return frame_.MarginTop; }
    int MarginRight() const { return frame_.MarginRight; }
    int MarginBottom() const { return frame_.MarginBottom; }
    // Percent of the panel width or height.
    void SetMarginLeft(int percent);
    void SetMarginTop(int percent);
    void SetMarginRight(int percent);
    void SetMarginBottom(int percent);
    int BorderWidth() const { return frame_.BorderWidth; }
    void SetBorderWidth(int width);
    bool AxisVisible() const { return frame_.AxisVisible; }
    void SetAxisVisible(bool visible);
    bool ClipPoints() const { return frame_.ClipPoints; }
    void SetClipPoints(bool clip);
    const TChartWall& BackWall() const { return frame_.BackWall; }
    void SetBackWall(const TChartWall& wall);
    // One unit as long on both axes in every picture of any size (the
    // automatic or zoomed range of one axis widened about its centre).
    bool EqualScales() const { return frame_.EqualScales; }
    void SetEqualScales(bool equal);
    // The finer label step, and labels on the axis ends that fall on a step.
    bool FineLabels() const { return frame_.FineLabels; }
    void SetFineLabels(bool fine);
    // The legend's appearance (QrvChartLegend.h), shown with two or more
    // shown series; after changing it, request a repaint, as for an axis'.
    const TChartLegend& Legend() const { return frame_.Legend; }
    TChartLegend& Legend() { return frame_.Legend; }

    bool Printing() const { return printing_; }
    // Set while drawing for a printer or the print preview: no background,
    // no painting of the control, thin non-solid pens, no white text.
    void SetPrinting(bool printing) { printing_ = printing; }

    // --- layout and drawing -------------------------------------------------
    // A view of the series, axes and settings the layout reads.
    TChartContent Content() const;
    // The layout of a drawing into target; device gives the font metrics.
    TChartLayout LayoutFor(const QRect& target, const QPaintDevice* device = nullptr) const;
    // Draws the picture straight onto the painter, as pictures and prints
    // are drawn.
    void DrawPicture(QPainter& painter, const QRect& rect, bool metafiling = false) const;

    // Nothing shows the picture by itself; the control repaints.
    void RequestRepaint() override {}

protected:
    // Draws the content with a layout made for the painter's device.
    virtual void DrawWithLayout(QPainter& painter, const TChartLayout& layout, bool metafiling) const;

private:
    void AddSeriesImpl(std::unique_ptr<TChartSeries> series);

    std::vector<std::unique_ptr<TChartSeries>> series_;
    std::array<std::unique_ptr<TChartAxis>, ChartAxisCount> axes_;
    TChartFrame frame_;
    bool printing_ = false;
};

// The picture drawn into a new bitmap of the size (at least 1 x 1), filled
// with background first.
QImage MakeBitmap(const TChartPicture& chart, TColor background, const QSize& size);
// The picture drawn into a metafile of (width - 1) x (height - 1), at least
// 1 x 1, at the screen resolution dpi: the complete file bytes, placeable
// WMF or EMF.
QByteArray MakeMetafile(const TChartPicture& chart, MetafileKind kind, const QSize& size, int dpi);

} // namespace qrv
