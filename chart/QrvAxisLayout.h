// The layout of one axis as a value: its range, its pixel span, where its
// line, labels and title go, the label step and the labels themselves. The
// steps below build it from the axis' settings, the series bound to it and
// the rectangle the chart is laid out in; nothing here changes the axis.
#pragma once

#include "QrvAxisMath.h"
#include "QrvChartRect.h"

#include <vector>

class QFontMetrics;

namespace qrv
{

class TChartAxis;
class TChartSeries;

struct TAxisLayout {
    // Drawn: the chart shows axes, the axis is visible and an active series
    // is bound to it.
    bool Shown = false;
    // The range the settings give (the data's while automatic), before the
    // series' pixel margins widen it.
    double Minimum = 0.0;
    double Maximum = 0.0;
    TAxisScale Scale;
    int AxisLinePos = 0;
    int LabelsPos = 0;
    int TitlePos = 0;
    double Step = 0.0;
    // The chart's finer labels: the step search's finer start, the walk's
    // labels of the range ends, and the room for the labels that gives.
    bool FineLabels = false;
    // From the top of the range downwards; empty while the axis shows no
    // labels.
    std::vector<TAxisLabel> Labels;

    double RangeMin() const { return Scale.RangeMin; }
    double RangeMax() const { return Scale.RangeMax; }
    double RangeSpan() const { return Scale.RangeSpan; }
    int StartPixel() const { return Scale.StartPixel; }
    int EndPixel() const { return Scale.EndPixel; }
    int PixelLength() const { return Scale.PixelLength(); }
    int CenterPixel() const { return Scale.CenterPixel(); }
    int ValueToPixel(double value) const { return Scale.ValueToPixel(value); }
    double PixelToValue(int pixel) const { return Scale.PixelToValue(pixel); }
    // The pixels of the labels: where ticks and grid lines go.
    std::vector<int> TickPositions() const;

    // Sets the range directly (for layouts that have one at hand).
    void SetRange(double rangeMin, double rangeMax);
    // The range from the active series bound to the axis (only those with
    // points count; none gives 0 ... 0) for each end that is automatic, else
    // the axis' Minimum / Maximum.
    void ComputeRange(const TChartAxis& axis, const std::vector<TChartSeries*>& boundSeries);
    // Shrinks the rectangle on the axis' side by the room of title, labels
    // and ticks; records TitlePos and LabelsPos.
    void ReserveAxisSpace(const TChartAxis& axis, TChartRect& rect, const QFontMetrics& labelsMetrics,
                          const QFontMetrics& titleMetrics);
    // The pixel span and the axis line position from the axes rectangle.
    void PlaceAxis(const TChartAxis& axis, const TChartRect& axesRect);
    // Moves the pixel ends in by the margins and widens the range to match.
    void FitToMargins(int startMargin, int endMargin);
    // The label step for the current span and pixel length.
    double ComputeIncrement(const TChartAxis& axis, const QFontMetrics& labelsMetrics) const;
    // Step and Labels for the final span.
    void PlaceLabels(const TChartAxis& axis, const QFontMetrics& labelsMetrics);

private:
    double IncrementForLength(const TChartAxis& axis, const QFontMetrics& labelsMetrics,
                              int pixelLength) const;
    int LabelSizeForSpace(const TChartAxis& axis, const QFontMetrics& fm, int pixelLength) const;
    TWalkOptions WalkOptions(const TChartAxis& axis) const;
};

} // namespace qrv
