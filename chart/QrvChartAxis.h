// A chart axis: its range from the series, the room it takes beside the
// axes rectangle, its value <-> pixel mapping, and its line, ticks, grid,
// labels and title.
#pragma once

#include "QrvAxisMath.h"
#include "QrvChartFont.h"
#include "QrvChartPen.h"
#include "QrvChartRect.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QFontMetrics;
class QPainter;

namespace qrv
{

class TChartSeries;

enum class TAxisKind { Bottom, Top, Left, Right, Depth };

// The range settings of an axis, as a zoom saves them to undo it later.
struct TAxisRangeState {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0.0;
    double Maximum = 0.0;
};
enum class TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

struct TChartAxisTitle {
    std::string Caption;
    int Angle = 0;
    TChartFont Font;
};

class TChartAxis
{
public:
    // changed is called whenever a setting that alters the drawing changes.
    explicit TChartAxis(TAxisKind kind, std::function<void()> changed = {});

    TAxisKind Kind() const { return kind_; }
    bool IsHorizontal() const { return kind_ == TAxisKind::Bottom || kind_ == TAxisKind::Top; }
    bool IsOtherSide() const { return kind_ == TAxisKind::Top || kind_ == TAxisKind::Right; }
    bool IsDepthAxis() const { return kind_ == TAxisKind::Depth; }

    // Range settings (the zoom code sets them; each change repaints).
    bool Automatic() const { return automatic_; }
    bool AutomaticMinimum() const { return automaticMinimum_; }
    bool AutomaticMaximum() const { return automaticMaximum_; }
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    double Increment() const { return increment_; }
    void SetAutomatic(bool value);
    void SetAutomaticMinimum(bool value);
    void SetAutomaticMaximum(bool value);
    // Sets both ends at once, smaller first.
    void SetMinMax(double a, double b);
    // Negative values count as 0 (a free step).
    void SetIncrement(double value);
    TAxisRangeState RangeState() const;
    void SetRangeState(const TAxisRangeState& state);

    // Appearance settings: after changing one, request a repaint of the chart.
    int LabelsSeparation = 10;
    bool RoundFirstLabel = true;
    bool Labels = true;
    int LabelsAngle = 0;
    bool LabelsOnAxis = true;
    int LabelsSize = 0;
    int TitleSize = 0;
    TAxisLabelStyle LabelStyle = TAxisLabelStyle::talAuto;
    TChartFont LabelsFont;
    bool Inverted = false;
    int TickLength = 4;
    int TickInnerLength = 0;
    int MinorTickCount = 3;
    int MinorTickLength = 2;
    bool TickOnLabelsOnly = true;
    TChartPen Axis{true, clBlack, 2, TPenStyle::psSolid};
    TChartPen Grid{true, clGray, 1, TPenStyle::psDot};
    bool GridCentered = false;
    TChartPen Ticks{true, clGray, 1, TPenStyle::psSolid};
    TChartPen TicksInner{true, clGray, 1, TPenStyle::psSolid};
    TChartPen MinorTicks{true, clGray, 1, TPenStyle::psSolid};
    TChartPen MinorGrid{false, clGray, 1, TPenStyle::psSolid};
    double StartPosition = 0.0;
    double EndPosition = 100.0;
    double PositionPercent = 0.0;
    bool Visible = true;
    TChartAxisTitle Title;

    // --- the state of the current layout -------------------------------
    const TAxisScale& Scale() const { return scale_; }
    double RangeMin() const { return scale_.RangeMin; }
    double RangeMax() const { return scale_.RangeMax; }
    double RangeSpan() const { return scale_.RangeSpan; }
    int StartPixel() const { return scale_.StartPixel; }
    int EndPixel() const { return scale_.EndPixel; }
    int PixelLength() const { return scale_.PixelLength(); }
    int CenterPixel() const { return scale_.CenterPixel(); }
    int AxisLinePos() const { return axisLinePos_; }
    int LabelsPos() const { return labelsPos_; }
    int TitlePos() const { return titlePos_; }
    const std::vector<int>& TickPositions() const { return tickPositions_; }

    // The range from the active series bound to this axis (only those with
    // points count; none gives 0 ... 0) while automatic, else Minimum ...
    // Maximum.
    void ComputeRange(const std::vector<TChartSeries*>& boundSeries);
    // Sets the range directly (tests and layouts that have one at hand).
    void SetRange(double rangeMin, double rangeMax);
    // Shrinks the rectangle on the axis' side by the room of title, labels
    // and ticks; records TitlePos and LabelsPos.
    void ReserveAxisSpace(TChartRect& rect, const QFontMetrics& labelsMetrics,
                          const QFontMetrics& titleMetrics);
    // The pixel span and the axis line position from the axes rectangle.
    void PlaceAxis(const TChartRect& axesRect);
    // Moves the pixel ends in by the margins and widens the range to match.
    void FitToMargins(int startMargin, int endMargin);
    double ComputeIncrement(const QFontMetrics& labelsMetrics) const;
    int ValueToPixel(double value) const { return scale_.ValueToPixel(value); }
    double PixelToValue(int pixel) const { return scale_.PixelToValue(pixel); }
    QString LabelText(double value) const;
    // Draws title, labels, line, ticks, grid and minor ticks; the painter's
    // device gives the font metrics.
    void DrawAxis(QPainter& painter, const TChartRect& axesRect, bool printing);

private:
    void Changed();
    double LabelSizeForStep(const QFontMetrics& fm) const;
    int LabelSizeForSpace(const QFontMetrics& fm, int pixelLength) const;
    double IncrementForLength(const QFontMetrics& labelsMetrics, int pixelLength) const;
    bool TitleAlongAxis() const;
    bool LabelsAcross() const;
    // Pixels between the axes rectangle's edge and the outer side of the
    // axis line, where ticks start.
    int TickStartOffset() const;
    void DrawTitle(QPainter& painter, bool printing) const;
    void DrawLabel(QPainter& painter, const QFontMetrics& fm, int pixel, const QString& text) const;
    void DrawTicks(QPainter& painter, const std::vector<int>& positions, int length, bool outward,
                   const TChartPen& pen, bool printing) const;

    TAxisKind kind_;
    std::function<void()> changed_;
    bool automatic_ = true;
    bool automaticMinimum_ = true;
    bool automaticMaximum_ = true;
    double minimum_ = 0.0;
    double maximum_ = 0.0;
    double increment_ = 0.0;

    TAxisScale scale_;
    int axisLinePos_ = 0;
    int labelsPos_ = 0;
    int titlePos_ = 0;
    std::vector<int> tickPositions_;
};

} // namespace qrv
