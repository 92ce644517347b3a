#include "QrvAxisMath.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

namespace qrv
{

namespace
{

template <class T> T RoundHalfEvenOf(T x)
{
    if (!std::isfinite(x)) return x;
    const T lower = std::floor(x);
    const T diff = x - lower;
    if (diff > T(0.5)) return lower + T(1);
    if (diff < T(0.5)) return lower;
    return std::fmod(lower, T(2)) == T(0) ? lower : lower + T(1);
}

// Quotient of a span and a step. A span within the double range is divided
// as a double, so the step search and the label walk of every such range
// stay exactly what they are; only a wider span needs the Float quotient.
Float SpanOverStep(Float span, double step)
{
    if (std::fabs(span) <= Float(DBL_MAX)) return static_cast<double>(span) / step;
    return span / step;
}

// RoundHalfEven of a value below 2^31 in magnitude, without the library's
// slow extended floor and remainder: truncated, then corrected by the
// exact fraction that is left.
long long RoundSmallHalfEven(Float x)
{
    long long n = static_cast<long long>(x);
    const Float fraction = x - static_cast<Float>(n);
    if (fraction > 0.5L || (fraction == 0.5L && (n & 1) != 0))
        ++n;
    else if (fraction < -0.5L || (fraction == -0.5L && (n & 1) != 0))
        --n;
    return n;
}

} // namespace

double RoundHalfEven(double x)
{
    return RoundHalfEvenOf(x);
}

Float RoundHalfEven(Float x)
{
    return RoundHalfEvenOf(x);
}

double ClampToDouble(Float x)
{
    // Above the largest double plus half its last unit a value would round
    // out of range; below it the conversion is defined and rounds to nearest.
    constexpr Float firstOverflow = Float(DBL_MAX) + 0x1p970L;
    if (std::isnan(x)) return static_cast<double>(x);
    if (x >= firstOverflow) return DBL_MAX;
    if (x <= -firstOverflow) return -DBL_MAX;
    return static_cast<double>(x);
}

int NearestInt(double x)
{
    if (std::isnan(x)) return 0;
    const double r = RoundHalfEven(x);
    if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(r);
}

Float TAxisScale::Span() const
{
    if (std::isfinite(RangeSpan)) return RangeSpan;
    return static_cast<Float>(RangeMax) - static_cast<Float>(RangeMin);
}

TAxisPixel TAxisScale::PixelOf(double value) const
{
    const Float span = Span();
    if (span == 0 || !std::isfinite(value)) return {static_cast<Float>(CenterPixel()), CenterPixel()};
    // In Float the distance times the pixel length cannot overflow: its
    // exponent range reaches far beyond the square of the largest double.
    const Float d = (static_cast<Float>(value) - static_cast<Float>(RangeMin)) * PixelLength() / span;
    // The pixel rounds the distance, not the position, so the end it is
    // counted from adds no rounding of its own. A value far outside the
    // range lies beyond every pixel on its side: the distance is capped
    // there, never folded back to the centre.
    const long long n = std::fabs(d) < 2147483647.0L ? RoundSmallHalfEven(d) : d > 0 ? INT_MAX : -INT_MAX;
    const bool fromStart = Horizontal != Inverted;
    const long long p = fromStart ? StartPixel + n : EndPixel - n;
    const int rounded = p > INT_MAX ? INT_MAX : p < INT_MIN ? INT_MIN : static_cast<int>(p);
    return {fromStart ? StartPixel + d : EndPixel - d, rounded};
}

void TAxisScale::ValuesToPixels(std::span<const double> values, double multiplier,
                                std::span<int> pixels) const
{
    const std::size_t count = std::min(values.size(), pixels.size());
    // Pixels per unit of value. The Float distance has three roundings of
    // 2^-64 and this one three of 2^-53, each relative to the distance, so
    // below 2^30 pixels the two differ by less than 4E-7: a double distance
    // further than 1E-6 from a half pixel rounds as the Float one does. (A
    // scale below the normal doubles would lose that precision.)
    const double scale = std::isfinite(RangeSpan) && RangeSpan != 0 ? PixelLength() / RangeSpan : 0.0;
    const bool quick = std::isfinite(scale) && std::fabs(scale) >= DBL_MIN;
    const bool fromStart = Horizontal != Inverted;
    constexpr double limit = 1073741824.0; // 2^30
    constexpr double margin = 1e-6;
    for (std::size_t i = 0; i < count; ++i) {
        const double value = values[i] * multiplier;
        const double d = (value - RangeMin) * scale;
        if (quick && std::fabs(d) < limit) {
            // Truncated, then one up or down past a half: without branches,
            // which the fractions of a curve would mispredict half the time.
            long long n = static_cast<long long>(d);
            const double fraction = d - static_cast<double>(n);
            if (std::fabs(std::fabs(fraction) - 0.5) > margin) {
                n += static_cast<long long>(fraction > 0.5) - static_cast<long long>(fraction < -0.5);
                const long long p = fromStart ? StartPixel + n : EndPixel - n;
                pixels[i] = p > INT_MAX ? INT_MAX : p < INT_MIN ? INT_MIN : static_cast<int>(p);
                continue;
            }
        }
        pixels[i] = ValueToPixel(value);
    }
}

Float TAxisScale::PixelsToSpan(Float pixels) const
{
    return pixels * Span() / PixelLength();
}

double TAxisScale::PixelToValue(int pixel) const
{
    if (PixelLength() < 1) return 0.0;
    // The distance from the start pixel, on an inverted axis from the end
    // pixel: the value then grows the other way along the pixels.
    const Float a = PixelsToSpan(Inverted ? static_cast<Float>(EndPixel) - pixel
                                          : pixel - static_cast<Float>(StartPixel));
    return ClampToDouble(Horizontal ? RangeMin + a : RangeMax - a);
}

double TAxisScale::ValueDistance(int from, int to) const
{
    if (PixelLength() < 1) return 0.0;
    // PixelToValue grows with the pixel on a horizontal axis and shrinks on
    // a vertical one (an inverted axis swaps the two).
    const Float d = PixelsToSpan(static_cast<Float>(from) - static_cast<Float>(to));
    return ClampToDouble(Horizontal != Inverted ? d : -d);
}

double NextNiceStep(double x)
{
    if (!(x > 0.0) || !std::isfinite(x)) return x;
    // Bring x into [1, 10) by the same factors the result is scaled back by,
    // so every step carries the rounding of its repeated multiplications.
    int decades = 0;
    while (x >= 10.0) {
        x *= 0.1;
        ++decades;
    }
    while (x < 1.0) {
        x *= 10.0;
        --decades;
    }
    // That rounding leaves a step like 1E-12 at 9.999... of the decade below
    // or 2E-12 at 1.999...: a value within the tolerance of a nice number
    // counts as that number, so 1E-12 is followed by 2E-12, not by 1E-12.
    constexpr double tolerance = 1.0 - 1e-9;
    if (x >= 10.0 * tolerance) {
        x = 1.0;
        ++decades;
    }
    double r = x < 2.0 * tolerance ? 2.0 : x < 5.0 * tolerance ? 5.0 : 10.0;
    for (; decades > 0; --decades)
        r *= 10.0;
    for (; decades < 0; ++decades)
        r *= 0.1;
    return r;
}

namespace
{

// The next nice step, and never a step that fails to grow: a value the
// rounding of the decade scaling brings back onto itself doubles instead,
// so the search always advances.
double GrowStep(double step)
{
    const double next = NextNiceStep(step);
    return next > step ? next : step * 2.0;
}

} // namespace

int MaxLabelCount(int pixelLength, double labelSize, int separationPercent)
{
    if (labelSize <= 0.0) return 1;
    double room = labelSize;
    if (separationPercent > 0) room += RoundHalfEven(separationPercent * 0.01 * labelSize);
    return NearestInt(pixelLength / room);
}

namespace
{

// m times 10 to the decade: the double nearest to that decimal number.
double DecimalStep(int m, int decade)
{
    return decade >= 0 ? m * std::pow(10.0, decade) : m / std::pow(10.0, -decade);
}

} // namespace

double FineStartStep(double rangeMin, double rangeMax)
{
    const double span = rangeMax - rangeMin;
    if (!(span > 0.0) || !std::isfinite(span)) return 0.0;
    // Three multiples lie two steps apart, so no step above half the span
    // has them, and every step up to a third of it has: the search runs
    // down from the decade of the half and ends within two decades.
    const double half = span / 2;
    const int top = static_cast<int>(std::floor(std::log10(half))) + 1;
    for (int decade = top; decade >= top - 3; --decade) {
        for (const int m : {5, 2, 1}) {
            const double step = DecimalStep(m, decade);
            if (!(step > 0.0) || step > half) continue;
            const double multiples = std::floor(rangeMax / step) - std::ceil(rangeMin / step) + 1.0;
            if (multiples >= 3.0) return step;
        }
    }
    return 0.0;
}

double ComputeIncrement(const TStepQuery& q)
{
    const int n = MaxLabelCount(q.PixelLength, q.LabelSize, q.LabelsSeparation);
    if (n < 1) return MinAxisIncrement;
    double step = q.Increment > 0.0 ? q.Increment : std::fabs(q.RangeSpan) >= 1.0 ? 1.0 : MinAxisIncrement;
    if (q.FineLabels && !(q.Increment > 0.0) && step == 1.0) {
        // Below 1 only where 1 leaves fewer than three labels; the search
        // grows from there as from 1, so a finer step is never one that
        // does not fit.
        const double fine = FineStartStep(q.RangeMin, q.RangeMax);
        if (fine > 0.0 && fine < step) step = fine;
    }
    if (q.LabelsSeparation > 0) {
        double k = n + 1.0;
        // Each pass at least doubles the step, so the count falls below n.
        // A range so wide that the next step would leave the doubles keeps
        // the largest finite one (1E308): the range holds at most four of
        // its multiples, where an infinite step would give no label at all.
        while (k > n && std::isfinite(step)) {
            const Float quotient = SpanOverStep(q.RangeSpan, step);
            bool grow = true;
            if (std::fabs(quotient) < 2147483647.0L) {
                k = static_cast<double>(RoundHalfEven(quotient));
                grow = k > n;
            }
            if (!grow) break;
            const double next = GrowStep(step);
            if (!std::isfinite(next)) break;
            step = next;
        }
    }
    return step > MinAxisIncrement ? step : MinAxisIncrement;
}

std::vector<TAxisLabel> LabelWalk(const TAxisScale& scale, double step, const TWalkOptions& options)
{
    std::vector<TAxisLabel> labels;
    if (!(step > 0.0)) return labels;
    if (scale.RangeMin == scale.RangeMax) {
        // Every value of a single-value range maps to the centre: one label
        // there says what the value is.
        labels.push_back({scale.RangeMax, scale.CenterPixel()});
        return labels;
    }
    if (!(std::fabs(SpanOverStep(scale.Span(), step)) < MaxLabelSteps)) return labels;

    double value = options.RoundFirstLabel ? std::trunc(scale.RangeMax / step) * step : scale.RangeMax;
    while (value > scale.RangeMax) {
        const double next = value - step;
        if (next == value) return labels;
        value = next;
    }
    // A little below the minimum, so a label on it survives the rounding of
    // the repeated subtraction. Scaling by 1.000000000001 moves a negative
    // minimum outwards by multiplying, a positive one by dividing: the
    // tolerance lies below the minimum on both sides of zero, and -10 ... 10
    // is labelled at both ends.
    const double shifted = scale.RangeMin - MinAxisIncrement;
    const double lowerLimit = shifted >= 0.0 ? shifted / 1.000000000001 : shifted * 1.000000000001;
    // A walk over a range that reaches the largest double can step past it
    // (the lower limit itself may be infinite): it ends where the values do.
    // The multiple above the first one lies beyond the maximum; it is the
    // label of the top end when both land on the same pixel.
    const bool labelEnds = options.LabelEnds && options.LabelsOnAxis;
    if (labelEnds) {
        const int endPixel = scale.ValueToPixel(scale.RangeMax);
        const double above = value + step;
        if (std::isfinite(above) && above > scale.RangeMax && scale.ValueToPixel(above) == endPixel &&
            scale.ValueToPixel(value) != endPixel)
            value = above;
    }
    while (std::isfinite(value) && value >= lowerLimit &&
           static_cast<int>(labels.size()) < MaxTickPositions) {
        const int p = scale.ValueToPixel(value);
        if (options.LabelsOnAxis || (scale.StartPixel < p && p < scale.EndPixel))
            labels.push_back({value, p});
        const double next = value - step;
        if (next == value) return labels;
        value = next;
    }
    // The walk stopped at the first multiple below the lower limit: the
    // label of the bottom end when it lands on the end's pixel.
    if (labelEnds && std::isfinite(value) && value < lowerLimit &&
        static_cast<int>(labels.size()) < MaxTickPositions) {
        const int p = scale.ValueToPixel(value);
        if (p == scale.ValueToPixel(scale.RangeMin) && (labels.empty() || labels.back().Pixel != p))
            labels.push_back({value, p});
    }
    return labels;
}

namespace
{

// Widens the scale's range to span about its centre; never narrows it.
void WidenAboutCentre(TAxisScale& scale, Float span)
{
    const Float centre = (static_cast<Float>(scale.RangeMin) + static_cast<Float>(scale.RangeMax)) / 2;
    scale.RangeMin = std::min(ClampToDouble(centre - span / 2), scale.RangeMin);
    scale.RangeMax = std::max(ClampToDouble(centre + span / 2), scale.RangeMax);
    scale.RangeSpan = scale.RangeMax - scale.RangeMin;
}

} // namespace

bool EqualizeScales(TAxisScale& horizontal, TAxisScale& vertical)
{
    const int lengthH = horizontal.PixelLength(), lengthV = vertical.PixelLength();
    if (lengthH < 1 || lengthV < 1) return false;
    const Float spanH = horizontal.Span(), spanV = vertical.Span();
    if (!(spanH >= 0) || !(spanV >= 0) || (spanH == 0 && spanV == 0)) return false;
    // Units per pixel, in Float so that no span of doubles overflows; the
    // scale with fewer gets the other's.
    const Float unitsH = spanH / lengthH, unitsV = spanV / lengthV;
    const TAxisScale h = horizontal, v = vertical;
    if (unitsH > unitsV)
        WidenAboutCentre(vertical, unitsH * lengthV);
    else if (unitsV > unitsH)
        WidenAboutCentre(horizontal, unitsV * lengthH);
    return h.RangeMin != horizontal.RangeMin || h.RangeMax != horizontal.RangeMax ||
           v.RangeMin != vertical.RangeMin || v.RangeMax != vertical.RangeMax;
}

std::vector<int> MinorTickPositions(const std::vector<int>& ticks, int minorCount, int startPixel,
                                    int endPixel)
{
    std::vector<int> minors;
    if (ticks.empty() || minorCount < 1) return minors;
    auto addInterval = [&](long long from, long long to) {
        // minor ticks at to - nearest(j * (to - from) / (count + 1))
        for (int j = 1; j <= minorCount; ++j) {
            const double offset =
                RoundHalfEven(static_cast<double>(j) * static_cast<double>(to - from) / (minorCount + 1));
            const long long p = to - static_cast<long long>(offset);
            if (startPixel < p && p < endPixel) minors.push_back(static_cast<int>(p));
        }
    };
    for (std::size_t k = 1; k < ticks.size(); ++k)
        addInterval(ticks[k - 1], ticks[k]);
    if (ticks.size() >= 2) {
        // Continue the spacing beyond both ends: mirror the first and last
        // intervals outwards.
        const long long t0 = ticks[0], t1 = ticks[1];
        addInterval(t0, t0 + (t0 - t1));
        const long long tl = ticks[ticks.size() - 1], tp = ticks[ticks.size() - 2];
        addInterval(tl, tl + (tl - tp));
    }
    return minors;
}

} // namespace qrv
