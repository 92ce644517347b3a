// The arithmetic of an axis, free of any window: value <-> pixel mapping,
// the label step search and the label walk. The axis object and the zoom
// code drive these with the state of the current layout.
#pragma once

#include "QrvFloat.h"

#include <span>
#include <vector>

namespace qrv
{

inline constexpr double MinAxisIncrement = 1e-12;
// No more tick positions are recorded in one drawing.
inline constexpr int MaxTickPositions = 2000;
// A walk that would take this many steps or more produces no labels.
inline constexpr double MaxLabelSteps = 10000.0;

// x rounded to the nearest integer, halves to even (independent of the
// floating-point rounding mode).
double RoundHalfEven(double x);
Float RoundHalfEven(Float x);
// The same as an int, clamped to the int range (NaN gives 0).
int NearestInt(double x);

// The double nearest to x, with values beyond the double range (which a
// pixel outside an axis spanning nearly all doubles can stand for) held at
// the largest double of their sign. NaN stays NaN.
double ClampToDouble(Float x);

// Where a value lies on an axis: the exact position, in Float so that a
// value far beyond the axis keeps its true direction and distance, and the
// pixel it is drawn at.
struct TAxisPixel {
    Float Exact = 0;
    // The distance from the end the axis grows from, rounded to the nearest
    // pixel with halves to even; a distance beyond the int range is capped
    // there, and the pixel is held within the int range.
    int Rounded = 0;
};

// The range and pixel span of an axis in one layout, and its one mapping
// between values and pixels: the drawing of labels, ticks and series, the
// zoom, the scroll and the trace all go through it.
struct TAxisScale {
    double RangeMin = 0.0;
    double RangeMax = 0.0;
    double RangeSpan = 0.0;
    int StartPixel = 0;
    int EndPixel = 0;
    bool Horizontal = true;
    bool Inverted = false;

    int PixelLength() const { return EndPixel - StartPixel; }
    // Truncated toward zero, as the layout counts it.
    int CenterPixel() const { return (StartPixel + EndPixel) / 2; }
    // RangeSpan, or, when the two ends lie further apart than the largest
    // double (RangeSpan is then infinite), their exact distance in Float.
    Float Span() const;
    // Horizontal axes grow to the right, vertical ones upwards. The mapping
    // runs in Float, so values near the largest double, whose distances
    // times the pixel length overflow a double, still map to their place. A
    // zero span or a non-finite value maps to the centre.
    TAxisPixel PixelOf(double value) const;
    // The rounded pixel of PixelOf.
    int ValueToPixel(double value) const { return PixelOf(value).Rounded; }
    // pixels[i] = ValueToPixel(values[i] * multiplier), the product taken as
    // a double, for a whole series at once. The same pixels, found faster:
    // a distance computed in double lies so close to the Float one that,
    // away from a half pixel, both round alike; the rare values near a half
    // pixel, far off the axis or not finite go through PixelOf. pixels must
    // hold as many entries as values.
    void ValuesToPixels(std::span<const double> values, double multiplier, std::span<int> pixels) const;
    // 0 while the axis has no length. Computed in Float; a pixel beyond
    // the axis' ends may stand for a value beyond the double range, which is
    // held at the largest double of its sign.
    double PixelToValue(int pixel) const;
    // The value distance of a move of the mouse from pixel from to pixel
    // to, taken so that the data follow the mouse: PixelToValue(from) -
    // PixelToValue(to), without the overflow of subtracting two huge
    // values. Held within the double range.
    double ValueDistance(int from, int to) const;

private:
    // The value distance that a number of pixels along the axis covers.
    Float PixelsToSpan(Float pixels) const;
};

// The label step after x: 1, 2, 5, 10, 20, 50 ... for any decade. Returns x
// itself when it is not a positive finite number.
double NextNiceStep(double x);

// How many labels of the given size (across the label gap) fit along the
// axis.
int MaxLabelCount(int pixelLength, double labelSize, int separationPercent);

struct TStepQuery {
    // A span beyond the double range (see TAxisScale::Span) is searched in
    // Float; any other span exactly as a double.
    Float RangeSpan = 0.0;
    int PixelLength = 0;
    double LabelSize = 0.0;    // pixels along the axis one label takes
    int LabelsSeparation = 10; // percent of the label size
    double Increment = 0.0;    // smallest allowed step, 0 = free
    // Finer labels: a span of 1 or more whose step 1 would leave fewer than
    // three labels starts from FineStartStep of the range instead (so
    // sin(x) gets labels at halves rather than 0 alone). Off, the range
    // ends are not read.
    bool FineLabels = false;
    double RangeMin = 0.0;
    double RangeMax = 0.0;
};

// The largest step of the nice sequence (1, 2 or 5 times a power of ten)
// that has at least three multiples from rangeMin to rangeMax; 0 for a
// range that is empty, reversed or not finite.
double FineStartStep(double rangeMin, double rangeMax);

// The label step: the smallest step of the nice sequence (from Increment,
// 1 or 1E-12, or with FineLabels the finer start) whose label count fits;
// never below 1E-12.
double ComputeIncrement(const TStepQuery& q);

struct TAxisLabel {
    double Value;
    int Pixel;
};

struct TWalkOptions {
    bool RoundFirstLabel = true;
    bool LabelsOnAxis = true;
    // Also labels the multiple of the step just beyond either end of the
    // range when it falls on that end's pixel (within half a pixel of it),
    // so a curve reaching 0.9996 gets its label "1" at the top. Needs
    // LabelsOnAxis.
    bool LabelEnds = false;
};

// The labels of one drawing, from the top of the range downwards, on whole
// multiples of the step. An axis whose range is a single value gets one
// label at its centre. Ends after at most MaxTickPositions labels and
// whenever subtracting the step no longer changes the value.
std::vector<TAxisLabel> LabelWalk(const TAxisScale& scale, double step, const TWalkOptions& options = {});

// Makes one unit as long on both scales: the range of the scale with more
// pixels per unit is widened about its centre until it has as few as the
// other (a single-value range counts as having infinitely many). Ranges only
// grow, and are held within the doubles. Returns whether a range changed;
// nothing changes while either scale has no pixel length, both ranges are
// single values or a range is not a number.
bool EqualizeScales(TAxisScale& horizontal, TAxisScale& vertical);

// Minor tick positions between neighbouring major ticks (in the order the
// walk produced them) and one interval beyond the first and the last,
// keeping only those strictly between startPixel and endPixel.
std::vector<int> MinorTickPositions(const std::vector<int>& ticks, int minorCount, int startPixel,
                                    int endPixel);

} // namespace qrv
