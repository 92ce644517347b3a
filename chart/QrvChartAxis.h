// A chart axis: its range settings and its appearance (line, ticks, grid,
// labels and title). Where it lies in one drawing is a TAxisLayout.
#pragma once

#include "QrvChartFont.h"
#include "QrvChartPen.h"
#include "QrvChartRect.h"

#include <QString>

#include <functional>
#include <string>

namespace qrv
{

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

// How a text lies to its axis: along it (its lines parallel to the axis),
// across it, or slanted at any other angle.
enum class TTextDirection { Along, Across, Slanted };

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

    // Range settings (the zoom code sets them; each change repaints). While
    // an end is automatic, the chart's layout holds the data's value for it.
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

    QString LabelText(double value) const;
    // How a text drawn at angle degrees lies to this axis: 0 and 180 run
    // along a horizontal axis and across a vertical one, 90 and 270 the
    // other way round; any other angle is slanted.
    TTextDirection TextDirection(int angle) const;

private:
    void Changed();
    // Sets a property and tells of the change, when it is one.
    template <class T> void Assign(T& field, const T& value)
    {
        if (value == field) return;
        field = value;
        Changed();
    }

    TAxisKind kind_;
    std::function<void()> changed_;
    bool automatic_ = true;
    bool automaticMinimum_ = true;
    bool automaticMaximum_ = true;
    double minimum_ = 0.0;
    double maximum_ = 0.0;
    double increment_ = 0.0;
};

} // namespace qrv
