// The vertical range of a curve broken at poles: the points at a pole are
// left out, so the axis spans the finite curve instead of the values next
// to the pole, which are then clipped at the plot's edge.
#pragma once

#include <utility>
#include <vector>

namespace qrv
{

// A point beside a break is "at the pole" when its magnitude exceeds that
// of its neighbour on the far side of it by this factor: the curve climbs
// into the pole there rather than running on at its own scale.
inline constexpr double kPoleScaleFactor = 100;

// The lowest and highest y of the points in x order, without those at a
// pole; breaks[i] != 0 means a pole lies between point i - 1 and point i.
// When every point would be left out, all of them count. Empty input gives
// (0, 0).
std::pair<double, double> PoleScaleRange(const std::vector<double>& ys, const std::vector<char>& breaks);

} // namespace qrv
