#include "QrvFeatureSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qrv
{

namespace
{

constexpr Float kEps = std::numeric_limits<Float>::epsilon(); // 2^-63
constexpr Float kInf = std::numeric_limits<Float>::infinity();

// A bisection closes any bracket in under 100 steps and one is forced at
// least every third step, so this is never reached by a correct search.
constexpr int kMaxIterations = 400;

// Rounding allowed in a value, in units of eps times the size of its terms.
constexpr Float kRoundingUlps = 64;
// The same for a touching root: an extremum this close to zero is one.
constexpr Float kTouchingUlps = 128;
// Where a derivative is missing, the part of the bracket's values a
// continuous curve may still move between neighbouring Floats.
const Float kKinkShare = std::ldexp(Float(1), -32);

// A point's sign for a quantity: -1, 0, +1, or kMissing where the derivative
// does not exist.
constexpr int kMissing = 2;

int SignOf(Float v)
{
    return (v > 0) - (v < 0);
}

bool Signed(int s)
{
    return s == 1 || s == -1;
}

struct TPoint {
    Float X = 0;
    TJet Jet;
    // An extremum whose value is zero to the precision of its terms.
    bool Touching = false;
    // A point of the grid, not one found by a search.
    bool Sample = false;
};

// f, f' or f'' of a jet; nothing where the derivative does not exist.
std::optional<Float> Quantity(const TJet& jet, int order)
{
    switch (order) {
    case 0:
        return jet.Value;
    case 1:
        return jet.HasD1 ? std::optional<Float>(jet.D1) : std::nullopt;
    default:
        return jet.HasD2 ? std::optional<Float>(jet.D2) : std::nullopt;
    }
}

// The size of the terms that make up f near x, from its Taylor series about
// 0: how much rounding its value can carry.
Float TermScale(const TPoint& p)
{
    Float scale = std::fabs(p.Jet.Value);
    if (p.Jet.HasD1) scale += std::fabs(p.X * p.Jet.D1);
    if (p.Jet.HasD2) scale += std::fabs(p.X * p.X * p.Jet.D2) / 2;
    return scale;
}

bool IsTouching(const TPoint& p)
{
    if (p.Jet.Value == 0) return false; // an exact zero is a root anyway
    Float terms = 0;
    if (p.Jet.HasD1) terms += std::fabs(p.X * p.Jet.D1);
    if (p.Jet.HasD2) terms += std::fabs(p.X * p.X * p.Jet.D2) / 2;
    return std::fabs(p.Jet.Value) <= kTouchingUlps * kEps * terms;
}

bool Adjacent(Float a, Float b)
{
    return std::nextafter(a, b) == b;
}

class TSearch
{
public:
    TSearch(TAnalysisFunction& function) : function_(function) {}

    // The features of one piece: neighbouring points without a pole.
    void Piece(std::vector<TPoint> points, bool inflections, std::vector<TFoundPoint>& out);

private:
    std::optional<TPoint> Evaluate(Float x, TJetNeed need);
    int Sign(const TPoint& p, int order) const;
    void Pass(int order, const std::vector<TPoint>& points, std::vector<TFoundPoint>& found);
    void Run(int order, const std::vector<TPoint>& points, std::size_t first, std::size_t last,
             std::vector<TFoundPoint>& found);
    std::optional<TPoint> Refine(int order, TPoint a, TPoint b, Float scale);
    Float Guess(int order, const TPoint& a, const TPoint& b, const TPoint& last,
                const TPoint& beforeLast) const;
    std::optional<TPoint> Edge(int order, TPoint zero, TPoint other);
    std::optional<TPoint> AtKink(const TPoint& p, Float scale);
    bool Continuous(const TPoint& p, const TPoint& q, Float scale) const;
    static TFeatureKind KindOf(int order, int signBefore);
    // points with the found ones merged in (MergeInto), in place.
    void Merge(std::vector<TPoint>& points, std::vector<TFoundPoint> found, bool extrema);

    TAnalysisFunction& function_;
    // The room a merge writes into, kept from piece to piece: a piece may
    // hold every sample of the run, too many to allocate for each merge.
    std::vector<TPoint> spare_;
};

std::optional<TPoint> TSearch::Evaluate(Float x, TJetNeed need)
{
    std::optional<TJet> jet = function_.At(x, need);
    if (!jet) return std::nullopt;
    return TPoint{x, *jet, false, false};
}

int TSearch::Sign(const TPoint& p, int order) const
{
    if (order == 0 && p.Touching) return 0;
    const std::optional<Float> q = Quantity(p.Jet, order);
    return q ? SignOf(*q) : kMissing;
}

TFeatureKind TSearch::KindOf(int order, int signBefore)
{
    if (order == 0) return TFeatureKind::Root;
    if (order == 1) return signBefore < 0 ? TFeatureKind::Minimum : TFeatureKind::Maximum;
    return TFeatureKind::Inflection;
}

bool TSearch::Continuous(const TPoint& p, const TPoint& q, Float scale) const
{
    const Float jump = std::fabs(q.Jet.Value - p.Jet.Value);
    Float allowed = kRoundingUlps * kEps * std::max(TermScale(p), TermScale(q));
    if (p.Jet.HasD1 && q.Jet.HasD1)
        allowed += 8 * (std::fabs(p.Jet.D1) + std::fabs(q.Jet.D1)) * std::fabs(q.X - p.X);
    else
        allowed += kKinkShare * scale;
    return jump <= allowed;
}

std::optional<TPoint> TSearch::AtKink(const TPoint& p, Float scale)
{
    // The derivative does not exist at p: a feature there only where the
    // curve itself is continuous, a corner and not a step.
    const std::optional<TPoint> left = Evaluate(std::nextafter(p.X, -kInf), TJetNeed::First);
    const std::optional<TPoint> right = Evaluate(std::nextafter(p.X, kInf), TJetNeed::First);
    if (!left || !right) return std::nullopt;
    if (!Continuous(*left, p, scale) || !Continuous(p, *right, scale)) return std::nullopt;
    return p;
}

Float TSearch::Guess(int order, const TPoint& a, const TPoint& b, const TPoint& last,
                     const TPoint& beforeLast) const
{
    const Float qa = *Quantity(a.Jet, order), qb = *Quantity(b.Jet, order);
    const TPoint& best = std::fabs(qa) <= std::fabs(qb) ? a : b;
    const TPoint& other = &best == &a ? b : a;
    const Float qBest = &best == &a ? qa : qb;
    Float c = std::numeric_limits<Float>::quiet_NaN();
    if (order < 2) {
        // Newton on the exact derivative.
        const std::optional<Float> slope = Quantity(best.Jet, order + 1);
        if (slope && *slope != 0) c = best.X - qBest / *slope;
    }
    if (!std::isfinite(c)) {
        // A secant through the two newest points.
        const Float ql = *Quantity(last.Jet, order), qp = *Quantity(beforeLast.Jet, order);
        if (ql != qp) c = last.X - ql * (last.X - beforeLast.X) / (ql - qp);
    }
    if (!std::isfinite(c)) return Between(a.X, b.X);
    // One Float beyond the estimate: once the estimate is within a Float of
    // the root the point lands on its far side and the bracket closes from
    // both ends instead of creeping up on one.
    if (c == best.X)
        c = std::nextafter(best.X, other.X);
    else
        c = std::nextafter(c, c > best.X ? kInf : -kInf);
    if (!(c > a.X && c < b.X)) return Between(a.X, b.X);
    return c;
}

std::optional<TPoint> TSearch::Refine(int order, TPoint a, TPoint b, Float scale)
{
    const int signA = SignOf(*Quantity(a.Jet, order));
    const TJetNeed need = order == 0 ? TJetNeed::First : TJetNeed::Second;
    TPoint last = a, beforeLast = b;
    Float widthMark = b.X - a.X;
    int slowSteps = 0;
    for (int i = 0; i < kMaxIterations && !Adjacent(a.X, b.X); ++i) {
        const Float x = slowSteps >= 2 ? Between(a.X, b.X) : Guess(order, a, b, last, beforeLast);
        const std::optional<TPoint> p = Evaluate(x, need);
        if (!p) return std::nullopt;
        const std::optional<Float> q = Quantity(p->Jet, order);
        if (!q) return AtKink(*p, scale);
        if (*q == 0) return p;
        if (SignOf(*q) == signA)
            a = *p;
        else
            b = *p;
        beforeLast = last;
        last = *p;
        const Float width = b.X - a.X;
        if (width <= widthMark / 2) {
            widthMark = width;
            slowSteps = 0;
        } else {
            ++slowSteps;
        }
    }
    if (!Adjacent(a.X, b.X) || !Continuous(a, b, scale)) return std::nullopt;
    // Of the two neighbouring Floats, the better one: the smaller |f| for a
    // root, the more extreme f for an extremum (then the smaller |f'|), the
    // smaller |f''| for an inflection.
    const Float qa = std::fabs(*Quantity(a.Jet, order)), qb = std::fabs(*Quantity(b.Jet, order));
    if (order == 1 && a.Jet.Value != b.Jet.Value) {
        const bool minimum = signA < 0;
        return (a.Jet.Value < b.Jet.Value) == minimum ? a : b;
    }
    return qb < qa ? b : a;
}

std::optional<TPoint> TSearch::Edge(int order, TPoint zero, TPoint other)
{
    // Bisect for the last Float where the quantity is still exactly zero.
    const TJetNeed need = order == 0 ? TJetNeed::First : TJetNeed::Second;
    for (int i = 0; i < kMaxIterations && !Adjacent(zero.X, other.X); ++i) {
        const Float x = zero.X < other.X ? Between(zero.X, other.X) : Between(other.X, zero.X);
        const std::optional<TPoint> p = Evaluate(x, need);
        if (!p) return std::nullopt;
        const std::optional<Float> q = Quantity(p->Jet, order);
        if (q && *q == 0)
            zero = *p;
        else
            other = *p;
    }
    return zero;
}

void TSearch::Run(int order, const std::vector<TPoint>& points, std::size_t first, std::size_t last,
                  std::vector<TFoundPoint>& found)
{
    // Points first..last have no sign for this quantity: zeros, or (for a
    // derivative) points where it does not exist. The points around them,
    // where there are any, have a sign.
    const TPoint* before = first > 0 ? &points[first - 1] : nullptr;
    const TPoint* after = last + 1 < points.size() ? &points[last + 1] : nullptr;
    // A flat piece needs two samples. Zeros at one sample and at points
    // found near it are one zero at the resolution of Float (1 - cos(x) is
    // exactly 0 for |x| < 3e-10): one feature, at the found point.
    std::size_t samples = 0, single = first;
    for (std::size_t i = first; i <= last; ++i) {
        if (points[i].Sample)
            ++samples;
        else
            single = i;
    }
    const bool flat = samples >= 2;
    const TPoint& point = points[single];
    if (order == 0) {
        if (!flat) {
            found.push_back({TFeatureKind::Root, point.X, point.Jet});
            return;
        }
        // A flat piece: its ends inside the piece are roots.
        if (before)
            if (auto p = Edge(0, points[first], *before)) found.push_back({TFeatureKind::Root, p->X, p->Jet});
        if (after)
            if (auto p = Edge(0, points[last], *after)) found.push_back({TFeatureKind::Root, p->X, p->Jet});
        return;
    }
    if (!before || !after) return;
    const int signBefore = Sign(*before, order), signAfter = Sign(*after, order);
    if (signBefore == signAfter) return;
    const TFeatureKind kind = KindOf(order, signBefore);
    if (!flat) {
        if (Sign(point, order) == kMissing) {
            const Float scale = std::max(std::fabs(before->Jet.Value), std::fabs(after->Jet.Value));
            if (auto q = AtKink(point, scale)) found.push_back({kind, q->X, q->Jet});
        } else {
            found.push_back({kind, point.X, point.Jet});
        }
        return;
    }
    for (std::size_t i = first; i <= last; ++i)
        if (Sign(points[i], order) == kMissing) return;
    if (auto p = Edge(order, points[first], *before)) found.push_back({kind, p->X, p->Jet});
    if (auto p = Edge(order, points[last], *after)) found.push_back({kind, p->X, p->Jet});
}

void TSearch::Pass(int order, const std::vector<TPoint>& points, std::vector<TFoundPoint>& found)
{
    std::size_t i = 0;
    while (i < points.size()) {
        const int s = Sign(points[i], order);
        if (Signed(s)) {
            if (i + 1 < points.size()) {
                const int t = Sign(points[i + 1], order);
                if (Signed(t) && t != s) {
                    const Float scale =
                        std::max(std::fabs(points[i].Jet.Value), std::fabs(points[i + 1].Jet.Value));
                    if (auto p = Refine(order, points[i], points[i + 1], scale))
                        found.push_back({KindOf(order, s), p->X, p->Jet});
                }
            }
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j + 1 < points.size() && !Signed(Sign(points[j + 1], order)))
            ++j;
        Run(order, points, i, j, found);
        i = j + 1;
    }
}

// The points with the found ones merged in by x, into `out` (a point found
// twice, or at a point already there, stays once). The points come in x
// order but for a range run from X max down; the merge is linear, as a piece
// may hold every sample of the run.
void MergeInto(const std::vector<TPoint>& points, std::vector<TFoundPoint> found, bool extrema,
               std::vector<TPoint>& out)
{
    const auto byX = [](const auto& a, const auto& b) { return a.X < b.X; };
    out.clear();
    if (!std::is_sorted(points.begin(), points.end(), byX)) {
        std::vector<TPoint> sorted = points;
        std::stable_sort(sorted.begin(), sorted.end(), byX);
        MergeInto(sorted, std::move(found), extrema, out);
        return;
    }
    std::stable_sort(found.begin(), found.end(), byX);
    out.reserve(points.size() + found.size());
    const auto add = [&out](const TPoint& p) {
        if (!out.empty() && out.back().X == p.X)
            out.back().Touching = out.back().Touching || p.Touching;
        else
            out.push_back(p);
    };
    const auto addFound = [&](const TFoundPoint& f) {
        add({f.X, f.Jet, extrema && IsTouching({f.X, f.Jet, false, false}), false});
    };
    std::size_t next = 0;
    for (const TPoint& p : points) {
        while (next < found.size() && found[next].X < p.X)
            addFound(found[next++]);
        add(p);
    }
    while (next < found.size())
        addFound(found[next++]);
}

void TSearch::Merge(std::vector<TPoint>& points, std::vector<TFoundPoint> found, bool extrema)
{
    MergeInto(points, std::move(found), extrema, spare_);
    points.swap(spare_);
}

void TSearch::Piece(std::vector<TPoint> points, bool inflections, std::vector<TFoundPoint>& out)
{
    std::vector<TFoundPoint> found;
    if (inflections) {
        std::vector<TFoundPoint> inflectionPoints;
        Pass(2, points, inflectionPoints);
        Merge(points, inflectionPoints, false);
        found.insert(found.end(), inflectionPoints.begin(), inflectionPoints.end());
    }
    std::vector<TFoundPoint> extrema;
    Pass(1, points, extrema);
    Merge(points, extrema, true);
    found.insert(found.end(), extrema.begin(), extrema.end());
    Pass(0, points, found);
    out.insert(out.end(), found.begin(), found.end());
}

} // namespace

Float Between(Float a, Float b)
{
    if (a < 0 && b > 0) return 0;
    const Float sign = b > 0 ? 1 : -1;
    const Float small = std::min(std::fabs(a), std::fabs(b)), large = std::max(std::fabs(a), std::fabs(b));
    Float c = a + (b - a) / 2;
    if (small == 0 || large > 2 * small) {
        const int low = small == 0 ? std::ilogb(std::numeric_limits<Float>::denorm_min()) : std::ilogb(small);
        const Float geometric = sign * std::ldexp(Float(1), (low + std::ilogb(large)) / 2);
        if (geometric > a && geometric < b) c = geometric;
    }
    if (!(c > a && c < b)) c = std::nextafter(a, b);
    return c;
}

TSearchResult SearchFeatures(TAnalysisFunction& function, const std::vector<TSample>& samples,
                             bool inflections)
{
    TSearchResult result;
    TSearch search(function);
    const int orders = inflections ? 3 : 2;
    std::vector<TPoint> piece;
    piece.reserve(samples.size());
    // A piece handed to the search leaves its successor the room it needs.
    const auto endPiece = [&](std::size_t at) {
        search.Piece(std::move(piece), inflections, result.Features);
        piece = {};
        piece.reserve(samples.size() - at);
    };
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const TSample& s = samples[i];
        if (!s.Jet) {
            endPiece(i);
            continue;
        }
        if (!piece.empty()) {
            // Ask for a pole only where something changes sign: a pole
            // shows as a sign change of f (1/x) or of f' (1/x^2).
            const TPoint& p = piece.back();
            bool changes = false;
            for (int order = 0; order < orders && !changes; ++order) {
                const std::optional<Float> qa = Quantity(p.Jet, order), qb = Quantity(*s.Jet, order);
                changes = qa && qb && SignOf(*qa) * SignOf(*qb) < 0;
            }
            if (changes && function.PoleBetween(p.X, p.Jet.Value, s.X, s.Jet->Value)) {
                result.Poles.push_back({p.X, s.X});
                endPiece(i);
            }
        }
        piece.push_back({s.X, *s.Jet, false, true});
    }
    search.Piece(std::move(piece), inflections, result.Features);
    std::stable_sort(result.Features.begin(), result.Features.end(),
                     [](const TFoundPoint& a, const TFoundPoint& b) { return a.X < b.X; });
    return result;
}

} // namespace qrv
