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

std::string TraceReadout(double x, double y, char decimalSeparator)
{
    return "x = " + FormatFixed3(x, decimalSeparator) + "   y = " + FormatFixed3(y, decimalSeparator);
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

} // namespace qrv
