// Mouse zoom and scroll of a chart, apart from the widget: the drag states,
// the rules that turn a finished drag into a zoom or its undo, scrolling by
// the value distance the mouse travelled, the wheel, and the saved axes
// state an undo goes back to. The chart forwards its mouse events here and
// draws the rubber rectangle this class describes.
#pragma once

#include "QrvChartAxis.h"
#include "QrvChartColor.h"
#include "QrvChartLayout.h"
#include "QrvChartRect.h"

#include <QRect>

#include <array>
#include <functional>
#include <optional>

class QPainter;

namespace qrv
{

enum class TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

inline constexpr Qt::MouseButton ZoomButton = Qt::LeftButton;
inline constexpr Qt::MouseButton ScrollButton = Qt::RightButton;
// A zoom drag must be longer than this in both directions to count.
inline constexpr int ZoomDragThreshold = 16;
// No fixed axis range is narrower than this.
inline constexpr double MinAxisRange = 1e-10;
// One wheel notch scrolls by this share of the vertical range.
inline constexpr double WheelScrollFraction = 0.03;
// The wheel angle of one notch, in eighths of a degree.
inline constexpr int WheelNotchDelta = 120;
// The click area of an axis reaches this far into the axes rectangle.
inline constexpr int AxisClickMargin = 3;
// Each animated zoom step covers 1 / this of the remaining way.
inline constexpr double AnimatedZoomFactor = 3.0;

struct TZoomSettings {
    bool AllowZoom = true;
    TPanningMode AllowPanning = TPanningMode::pmBoth;
    bool AnimatedZoom = false;
    int AnimatedZoomSteps = 8;
};

bool PansHorizontally(TPanningMode mode);
bool PansVertically(TPanningMode mode);

struct TAxisRange {
    double Minimum = 0.0;
    double Maximum = 0.0;
    bool operator==(const TAxisRange&) const = default;
};

// a ... b as a fixed range: ordered and at least MinAxisRange wide (at
// magnitudes where adding MinAxisRange changes nothing, one representable
// step wide, so the range never collapses to a point). Nothing when an end
// is not finite.
std::optional<TAxisRange> FixedAxisRange(double a, double b);

// One mouse drag: the corner where the button went down and the corner the
// mouse is at now, in chart pixels.
struct TMouseDrag {
    bool Active = false;
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;

    void Start(int x, int y)
    {
        Active = true;
        X0 = X1 = x;
        Y0 = Y1 = y;
    }
    // The outline between the two corners, whichever way the mouse went.
    QRect Outline() const;
};

enum class TZoomDragResult { None, ZoomIn, Undo };

// A drag longer than the threshold in both directions zooms in when it went
// right and down, and undoes the zoom in any other direction; a shorter one
// does nothing.
TZoomDragResult ClassifyZoomDrag(int x0, int y0, int x1, int y1);

// The value by which the range moves when the mouse goes from pixel from to
// pixel to, so that the data follow the mouse.
double ScrollDistance(const TAxisScale& scale, int from, int to);

// One frame of the animated zoom: each end a third of the way to target.
TAxisRange AnimatedZoomStep(const TAxisRange& current, const TAxisRange& target);

// How far one wheel notch scrolls the range minimum ... maximum.
double WheelScrollOffset(double minimum, double maximum);

// Whole wheel notches out of the angle deltas of wheel events; a
// high-resolution wheel sends parts of a notch that add up here.
class TWheelAccumulator
{
public:
    // Returns the notches turned towards the user (negative: away).
    int AddDelta(int angleDelta);

private:
    int pending_ = 0;
};

bool PointInRect(const TChartRect& rect, int x, int y);
// Along the axis from StartPixel to EndPixel; across from the labels to a
// few pixels inside the axes rectangle.
bool InAxisClickArea(const TChartAxis& axis, const TAxisLayout& layout, int x, int y);

// The range an axis has now: each automatic end as the layout found it,
// each fixed end as the axis sets it.
TAxisRange CurrentRange(const TChartAxis& axis, const TAxisLayout& layout);

// The rubber rectangle of a zoom drag: a 1-pixel outline that inverts what
// is under it (black pen, not-xor), or a dotted outline on devices without
// raster operations. chartColor is the background it must show on.
void DrawRubberRect(QPainter& painter, const QRect& outline, TColor chartColor);

// The zoom and scroll state of one chart and the operations on its axes.
class TChartZoom
{
public:
    // The axes that zoom and scroll, in the order bottom, top, left, right.
    explicit TChartZoom(std::array<TChartAxis*, 4> axes);

    // Hooks the chart connects: a later repaint, a repaint at once (animated
    // zoom frames), a repaint of the rubber rectangle alone (the chart's image
    // is unchanged), the cursor reset when a drag starts, and the events.
    std::function<void()> RequestRepaint;
    std::function<void()> RepaintNow;
    std::function<void()> UpdateRubber;
    std::function<void()> ResetCursor;
    std::function<void()> OnZoom;
    std::function<void()> OnUndoZoom;
    std::function<void()> OnScroll;
    // May change the new range or return false to veto scrolling the axis.
    std::function<bool(TChartAxis&, double& minimum, double& maximum)> OnAllowScroll;

    // --- mouse events (hit: the press was on an axis or inside the axes
    // rectangle of a chart with data). The layout is the one on screen, whose
    // pixels the mouse points at. -------------------------------------------
    void Press(Qt::MouseButton button, int x, int y, bool hit, const TZoomSettings& settings);
    void Move(int x, int y, const TChartLayout& layout, const TZoomSettings& settings);
    void Release(Qt::MouseButton button, int x, int y, const TChartLayout& layout,
                 const TZoomSettings& settings);
    void Wheel(int angleDelta, const TChartLayout& layout, const TZoomSettings& settings);

    // --- operations ------------------------------------------------------
    // Fixes the axis to a ... b (see FixedAxisRange); false, with nothing
    // changed, when an end is not finite.
    bool SetAxisRange(TChartAxis& axis, double a, double b);
    // Zooms every axis to the values under the pixel rectangle.
    void ZoomToRect(const QRect& rect, const TChartLayout& layout, const TZoomSettings& settings);
    // Goes back to the saved axes state and forgets it.
    void RestoreZoom();
    // Moves the axis' current range by offset, fixing it.
    void ScrollAxis(TChartAxis& axis, const TAxisLayout& layout, double offset);

    const TMouseDrag& ZoomDrag() const { return zoomDrag_; }
    const TMouseDrag& ScrollDrag() const { return scrollDrag_; }
    bool SavedStateFree() const { return savedStateFree_; }
    bool ZoomInForce() const { return zoomInForce_; }

private:
    TChartAxis& Bottom() const { return *axes_[0]; }
    TChartAxis& Top() const { return *axes_[1]; }
    TChartAxis& Left() const { return *axes_[2]; }
    TChartAxis& Right() const { return *axes_[3]; }
    void SaveAxesState();
    // Scrolls the axis by the mouse's way from pixel from to to; true when it
    // moved.
    bool ScrollByPixels(TChartAxis& axis, const TAxisLayout& layout, int from, int to);
    static void Call(const std::function<void()>& f)
    {
        if (f) f();
    }

    std::array<TChartAxis*, 4> axes_;
    std::array<TAxisRangeState, 4> savedState_{};
    bool savedStateFree_ = true;
    bool zoomInForce_ = false;
    TMouseDrag zoomDrag_;
    TMouseDrag scrollDrag_;
    TWheelAccumulator wheel_;
};

} // namespace qrv
