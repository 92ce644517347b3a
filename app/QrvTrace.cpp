#include "QrvTrace.h"

#include "QrvNumberText.h"

#include <algorithm>
#include <cmath>

namespace qrv
{

int NearestPointByPixel(const std::vector<double>& xs, int mouseX, double mouseValue,
                        const std::function<int(double)>& pixelOf)
{
    if (xs.empty()) return -1;
    // The mapping is monotonic, so the nearest column on either side of the
    // mouse belongs to the nearest value on that side.
    const auto above = std::lower_bound(xs.begin(), xs.end(), mouseValue);
    const int upper = int(std::min<std::ptrdiff_t>(above - xs.begin(), std::ptrdiff_t(xs.size()) - 1));
    const int lower = std::max(0, int(above - xs.begin()) - 1);
    auto pixelDistance = [&](int i) {
        return std::abs(static_cast<long long>(pixelOf(xs[std::size_t(i)])) - mouseX);
    };
    const long long lowerPixels = pixelDistance(lower);
    const long long upperPixels = pixelDistance(upper);
    if (lowerPixels != upperPixels) return lowerPixels < upperPixels ? lower : upper;
    const double lowerGap = std::fabs(mouseValue - xs[std::size_t(lower)]);
    const double upperGap = std::fabs(xs[std::size_t(upper)] - mouseValue);
    return upperGap < lowerGap ? upper : lower;
}

TNearestPoint NearestPointInPlane(const std::vector<double>& xs, const std::vector<double>& ys, int mouseX,
                                  int mouseY, double mouseValue, const std::function<int(double)>& pixelOfX,
                                  const std::function<int(double)>& pixelOfY)
{
    TNearestPoint best;
    const std::size_t count = std::min(xs.size(), ys.size());
    if (count == 0) return best;
    // Columns only grow away from the mouse on either side of this index
    // (the mapping is monotonic), so once a column is further off than the
    // best distance, every point beyond it is too.
    const std::size_t start =
        std::min(std::size_t(std::lower_bound(xs.begin(), xs.begin() + std::ptrdiff_t(count), mouseValue) -
                             xs.begin()),
                 count - 1);
    // A point off by more than 2^30 pixels is as far as can matter; held
    // there, the squares cannot overflow.
    auto offset = [](int pixel, int mouse) {
        return std::clamp(static_cast<long long>(pixel) - mouse, -(1LL << 30), 1LL << 30);
    };
    auto visit = [&](std::size_t i) {
        const long long dx = offset(pixelOfX(xs[i]), mouseX);
        if (best.Index >= 0 && dx * dx > best.Distance2) return false;
        const long long dy = offset(pixelOfY(ys[i]), mouseY);
        const long long d2 = dx * dx + dy * dy;
        if (best.Index < 0 || d2 < best.Distance2 || (d2 == best.Distance2 && int(i) < best.Index))
            best = {int(i), d2};
        return true;
    };
    for (std::size_t i = start; i < count && visit(i); ++i) {
    }
    for (std::size_t i = start; i-- > 0 && visit(i);) {
    }
    return best;
}

std::string TraceReadout(double x, double y, char decimalSeparator)
{
    return "x = " + FormatFixed3(x, decimalSeparator) + "   y = " + FormatFixed3(y, decimalSeparator);
}

std::string TraceReadout(const std::string& curve, double x, double y, char decimalSeparator)
{
    const std::string values = TraceReadout(x, y, decimalSeparator);
    return curve.empty() ? values : curve + "   " + values;
}

TTraceBox ReadoutBox(const TTraceBox& axes, int width, int height, int pointX, int pointY)
{
    const int left = axes.Left + kReadoutInset;
    const int right = axes.Left + axes.Width - kReadoutInset - width;
    const int top = axes.Top + kReadoutInset;
    const int bottom = axes.Top + axes.Height - kReadoutInset - height;
    const TTraceBox corners[] = {
        {left, top, width, height},
        {right, top, width, height},
        {left, bottom, width, height},
        {right, bottom, width, height},
    };
    for (const TTraceBox& box : corners) {
        const TTraceBox grown{box.Left - kReadoutInset, box.Top - kReadoutInset,
                              box.Width + 2 * kReadoutInset, box.Height + 2 * kReadoutInset};
        if (!grown.Contains(pointX, pointY)) return box;
    }
    return corners[0];
}

int TraceMarkPixel(int pixel, int low, int high)
{
    return std::clamp(pixel, low - kTraceMarkMargin, high + kTraceMarkMargin);
}

} // namespace qrv
