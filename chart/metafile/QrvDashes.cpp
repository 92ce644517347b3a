#include "QrvDashes.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qrv
{

namespace
{

double Distance(QPointF a, QPointF b)
{
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

// The part of the polyline from length `from` to length `to` along it;
// `lengths` holds the running length at each point.
std::vector<QPointF> Part(std::span<const QPointF> points, const std::vector<double>& lengths, double from,
                          double to)
{
    auto at = [&](double s) {
        // The segment holding s: the last point at or before it.
        const auto k = std::size_t(std::upper_bound(lengths.begin(), lengths.end(), s) - lengths.begin());
        const std::size_t i = std::clamp<std::size_t>(k, 1, points.size() - 1) - 1;
        const double segment = lengths[i + 1] - lengths[i];
        const double t = segment > 0 ? std::clamp((s - lengths[i]) / segment, 0.0, 1.0) : 0.0;
        return std::pair(i, points[i] + (points[i + 1] - points[i]) * t);
    };
    const auto [first, start] = at(from);
    const auto [last, end] = at(to);
    std::vector<QPointF> part{start};
    for (std::size_t i = first + 1; i <= last; ++i)
        if (points[i] != part.back()) part.push_back(points[i]);
    if (end != part.back() || part.size() == 1) part.push_back(end);
    return part;
}

} // namespace

std::vector<std::vector<QPointF>> DashPieces(std::span<const QPointF> points, const TDashPattern& pattern)
{
    std::vector<std::vector<QPointF>> pieces;
    if (points.size() < 2) return pieces;
    std::vector<double> lengths{0.0};
    for (std::size_t i = 1; i < points.size(); ++i)
        lengths.push_back(lengths.back() + Distance(points[i - 1], points[i]));
    const double total = lengths.back();
    const double period = std::accumulate(pattern.Lengths.begin(), pattern.Lengths.end(), 0.0);
    const bool usable = period > 0 && std::isfinite(period) &&
                        std::all_of(pattern.Lengths.begin(), pattern.Lengths.end(),
                                    [](double l) { return l >= 0 && std::isfinite(l); });
    if (!usable) {
        pieces.emplace_back(points.begin(), points.end());
        return pieces;
    }
    if (!(total > 0) || !std::isfinite(total)) return pieces;

    // Where the line starts within the pattern.
    double phase = std::fmod(pattern.Offset, period);
    if (phase < 0) phase += period;
    std::size_t entry = 0;
    while (phase >= pattern.Lengths[entry]) {
        phase -= pattern.Lengths[entry];
        entry = (entry + 1) % pattern.Lengths.size();
    }
    // A very fine pattern on a very long line would give more dashes than
    // any reader draws apart; beyond this count the line stays whole.
    constexpr double maxPieces = 1e6;
    if (total / period * double(pattern.Lengths.size()) > 2 * maxPieces) {
        pieces.emplace_back(points.begin(), points.end());
        return pieces;
    }
    double s = -phase;
    while (s < total) {
        const double length = pattern.Lengths[entry];
        if (entry % 2 == 0 && length > 0) {
            const double from = std::max(s, 0.0), to = std::min(s + length, total);
            if (to > from) {
                const double inset = std::min(pattern.Inset, std::max(0.0, (to - from - 1.0) / 2));
                pieces.push_back(Part(points, lengths, from + inset, to - inset));
            }
        }
        s += length;
        entry = (entry + 1) % pattern.Lengths.size();
    }
    return pieces;
}

} // namespace qrv
