#include "QrvPoleScale.h"

#include <algorithm>
#include <cmath>

namespace qrv
{

namespace
{

// Whether point `at`, beside a break, climbs into the pole compared with
// its neighbour `outer` on the side away from the break.
bool AtPole(const std::vector<double>& ys, std::size_t at, std::size_t outer)
{
    return std::fabs(ys[at]) > kPoleScaleFactor * std::fabs(ys[outer]);
}

} // namespace

std::pair<double, double> PoleScaleRange(const std::vector<double>& ys, const std::vector<char>& breaks)
{
    const std::size_t n = ys.size();
    std::vector<char> left(n, 0);
    for (std::size_t i = 1; i < n && i < breaks.size(); ++i) {
        if (!breaks[i]) continue;
        if (i >= 2 && AtPole(ys, i - 1, i - 2)) left[i - 1] = 1;
        if (i + 1 < n && AtPole(ys, i, i + 1)) left[i] = 1;
    }
    bool any = false;
    double lo = 0, hi = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (left[i]) continue;
        if (!any) {
            lo = hi = ys[i];
            any = true;
        }
        lo = std::min(lo, ys[i]);
        hi = std::max(hi, ys[i]);
    }
    if (!any && n > 0) {
        const auto [mn, mx] = std::minmax_element(ys.begin(), ys.end());
        return {*mn, *mx};
    }
    return {lo, hi};
}

} // namespace qrv
