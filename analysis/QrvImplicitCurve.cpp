#include "QrvImplicitCurve.h"

#include "QrvImplicitEdge.h"
#include "QrvKeyTable.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

namespace qrv
{

namespace
{

// Points of the grid are numbered on a lattice fine enough for the centres
// of the finest cells: a first-grid cell is 2^(MaxDepth + 1) lattice steps
// wide (at most 128, so a place in a cell takes 7 bits a coordinate; the
// cells number at most 4096 a side). Failures are stored as NaN.
const Float kFailed = std::numeric_limits<Float>::quiet_NaN();

constexpr int kMaxCellsPerAxis = 4096;
constexpr int kMaxDepth = 6;

// A crossing cell is halved when a chord across it may be this far (in
// pixels) from the curve.
constexpr double kBendPixels = 0.25;
// A cell or an edge of one sign is halved when its smallest value is within
// this many times the dip that its second differences allow below the
// bilinear interpolation of its corners (a quadratic dips by a
// second difference / 8).
constexpr double kDipFactor = 2;
// The finest halvings are spent on saddles, bends and failures, not dips.
constexpr int kDipDepthsSpared = 2;
// At the finest size, a saddle value within this share of the cell's
// smallest value means the branches meet at the saddle.
constexpr Float kMeetShare = 0.25L;

// What an edge's entry holds besides a vertex number.
constexpr std::int32_t kJump = -1;
constexpr std::int32_t kUnknown = -2;
constexpr std::int32_t kFailure = -3;

bool Failed(Float v)
{
    return std::isnan(v);
}

bool Negative(Float v)
{
    return v < 0;
}

struct TLattice {
    std::int64_t I = 0;
    std::int64_t J = 0;
};

using TKey = std::uint64_t;

// A key of the tables: a tag (what the key stands for), then the lattice
// point split into its first-grid cell and its place in that cell, so that
// the keys of one cell share their high bits (see TKeyTable).
TKey LatticeKey(TKey tag, TLattice p, int shift)
{
    const TKey mask = (TKey(1) << shift) - 1;
    const TKey i = static_cast<TKey>(p.I), j = static_cast<TKey>(p.J);
    return (tag << 56) | ((i >> shift) << 42) | ((j >> shift) << 28) | ((i & mask) << 7) | (j & mask);
}

// Second differences of f near a cell at the cell's own spacing: their
// signed mean (for the bend of the curve), and the largest upwards and
// downwards (a positive f can dip to zero between two points only where it
// curves upwards, a negative one only where it curves downwards). Estimates
// only, so doubles.
struct TSecondDifferences {
    double Sum = 0;
    double Up = 0;
    double Down = 0;
    int Count = 0;

    void Add(Float a, Float b, Float c) { Add(static_cast<double>(a - 2 * b + c)); }
    void Add(double d)
    {
        if (!std::isfinite(d)) return; // a failure (NaN) or an infinity
        Sum += d;
        Up = std::max(Up, d);
        Down = std::max(Down, -d);
        ++Count;
    }
    double Mean() const { return Count ? Sum / Count : 0; }
    // How far f may dip towards zero below (above) the straight line
    // between neighbouring values of one sign.
    double Dip(bool negative) const { return (negative ? Down : Up) / 8; }
};

struct TCurvature {
    TSecondDifferences XX;
    TSecondDifferences YY;
};

// A cell's corners: (0, 0), (1, 0), (0, 1), (1, 1).
using TCorners = std::array<Float, 4>;

enum class TSide { Bottom, Right, Top, Left };

// A crossing on the boundary of a cell: after polygon point Segment.
struct TCellCrossing {
    std::size_t Segment = 0;
    std::int32_t Vertex = kUnknown;
};

class TTracer
{
public:
    TTracer(const TImplicitFunction& f, const TImplicitRect& rect, int widthPixels, int heightPixels,
            const TImplicitOptions& options);

    TImplicitCurve Run();

private:
    Float Evaluate(Float x, Float y);
    Float OnGrid(Float t) const { return detail::OnGrid(t, doubles_); }
    Float X(std::int64_t i) const;
    Float Y(std::int64_t j) const;
    Float& Base(std::int64_t i, std::int64_t j) { return base_[static_cast<std::size_t>(i + j * (nx_ + 1))]; }
    Float At(TLattice p);

    void SampleGrid();
    TCurvature BaseCurvature(std::int64_t i, std::int64_t j) const;
    bool NeedsSplit(int depth, const TCorners& c, const TCurvature& k) const;
    double BendPixels(int depth, const TCorners& c, const TCurvature& k) const;
    void Sample(int depth, std::int64_t i, std::int64_t j, const TCorners& c, const TCurvature& k);
    bool IsSplit(int depth, std::int64_t i, std::int64_t j) const;

    void Trace(int depth, std::int64_t i, std::int64_t j);
    bool QuietCell(std::int64_t i, std::int64_t j);
    void TraceLeaf(int depth, std::int64_t i, std::int64_t j);
    void SidePoints(int depth, std::int64_t i, std::int64_t j, TSide side, std::vector<TLattice>& out) const;
    std::int32_t Crossing(TLattice a, Float va, TLattice b, Float vb);
    void ArcPath(std::size_t arc);
    Float SaddleValue(int depth, TLattice origin, const std::array<std::size_t, 4>& corners, TPlanePoint& at);
    std::int32_t AddVertex(Float x, Float y);
    // A cell by its depth and lower left point; an edge by its direction,
    // length and lower end.
    TKey CellKey(int depth, std::int64_t i, std::int64_t j) const
    {
        const std::int64_t size = unit_ >> depth;
        return LatticeKey(static_cast<TKey>(depth), {i * size, j * size}, shift_);
    }
    TKey EdgeKey(bool vertical, int lengthLog, TLattice low) const
    {
        return LatticeKey(16 + 8 * TKey(vertical) + static_cast<TKey>(lengthLog), low, shift_);
    }

    const TImplicitFunction& f_;
    const TImplicitRect rect_;
    const bool doubles_;
    int depth_ = 0;
    std::int64_t nx_ = 0, ny_ = 0;
    std::int64_t unit_ = 0; // lattice steps per first-grid cell: 1 << shift_
    int shift_ = 0;
    std::int64_t mask_ = 0; // unit_ - 1
    std::int64_t ni_ = 0, nj_ = 0;
    double cellPxX_ = 0, cellPxY_ = 0; // pixels per first-grid cell

    std::vector<Float> base_;
    std::vector<double> baseXX_, baseYY_;
    TKeyTable<Float> fine_;
    std::vector<std::uint8_t> baseSplit_;
    TKeyTable<std::uint8_t> split_;
    std::vector<std::int32_t> edgesX_, edgesY_; // first-grid edges along x and along y
    TKeyTable<std::int32_t> fineEdges_;

    std::vector<TPlanePoint> vertices_;
    TPathList paths_;
    TImplicitCounts counts_;

    // The cell being traced: its boundary points in counter-clockwise
    // order, their values and its crossings.
    std::vector<TLattice> points_, reversed_;
    std::vector<Float> values_;
    std::vector<TCellCrossing> crossings_;
};

TTracer::TTracer(const TImplicitFunction& f, const TImplicitRect& rect, int widthPixels, int heightPixels,
                 const TImplicitOptions& options)
    : f_(f), rect_(rect), doubles_(options.DoubleCoordinates)
{
    depth_ = std::clamp(options.MaxDepth, 0, kMaxDepth);
    // In 64 bits: a pixel size near the int range must not overflow.
    const std::int64_t cellPixels = std::max(options.CellPixels, 1);
    nx_ = std::clamp<std::int64_t>((widthPixels + cellPixels - 1) / cellPixels, 1, kMaxCellsPerAxis);
    ny_ = std::clamp<std::int64_t>((heightPixels + cellPixels - 1) / cellPixels, 1, kMaxCellsPerAxis);
    shift_ = depth_ + 1;
    unit_ = std::int64_t(1) << shift_;
    mask_ = unit_ - 1;
    ni_ = nx_ * unit_;
    nj_ = ny_ * unit_;
    cellPxX_ = double(widthPixels) / double(nx_);
    cellPxY_ = double(heightPixels) / double(ny_);
}

Float TTracer::Evaluate(Float x, Float y)
{
    ++counts_.Evaluations;
    const std::optional<Float> v = f_(x, y);
    return v ? *v : kFailed; // a NaN result stays a failure
}

Float TTracer::X(std::int64_t i) const
{
    if (i <= 0) return OnGrid(rect_.XMin);
    if (i >= ni_) return OnGrid(rect_.XMax);
    // Weighted ends rather than XMin + i * width: exact where the range is
    // symmetric, so the grid line through 0 is exactly 0.
    return OnGrid((rect_.XMin * Float(ni_ - i) + rect_.XMax * Float(i)) / Float(ni_));
}

Float TTracer::Y(std::int64_t j) const
{
    if (j <= 0) return OnGrid(rect_.YMin);
    if (j >= nj_) return OnGrid(rect_.YMax);
    return OnGrid((rect_.YMin * Float(nj_ - j) + rect_.YMax * Float(j)) / Float(nj_));
}

Float TTracer::At(TLattice p)
{
    if (((p.I | p.J) & mask_) == 0) return Base(p.I >> shift_, p.J >> shift_);
    const auto [value, added] = fine_.Enter(LatticeKey(0, p, shift_), Float(0));
    if (added) value = Evaluate(X(p.I), Y(p.J));
    return value;
}

TCurvature TTracer::BaseCurvature(std::int64_t i, std::int64_t j) const
{
    TCurvature k;
    for (std::int64_t b = j; b <= j + 1; ++b)
        for (std::int64_t a = i; a <= i + 1; ++a) {
            const std::size_t at = static_cast<std::size_t>(a + b * (nx_ + 1));
            k.XX.Add(baseXX_[at]);
            k.YY.Add(baseYY_[at]);
        }
    return k;
}

void TTracer::SampleGrid()
{
    const std::size_t points = static_cast<std::size_t>((nx_ + 1) * (ny_ + 1));
    base_.assign(points, kFailed);
    for (std::int64_t j = 0; j <= ny_; ++j) {
        const Float y = Y(j * unit_);
        for (std::int64_t i = 0; i <= nx_; ++i)
            Base(i, j) = Evaluate(X(i * unit_), y);
    }
    counts_.GridPoints = counts_.Evaluations;
    // Each point's second differences along x and y (NaN at the border or
    // next to a failure), shared by the four cells around it.
    const double none = std::numeric_limits<double>::quiet_NaN();
    baseXX_.assign(points, none);
    baseYY_.assign(points, none);
    for (std::int64_t j = 0; j <= ny_; ++j)
        for (std::int64_t i = 0; i <= nx_; ++i) {
            const std::size_t at = static_cast<std::size_t>(i + j * (nx_ + 1));
            if (i >= 1 && i < nx_)
                baseXX_[at] = static_cast<double>(Base(i - 1, j) - 2 * Base(i, j) + Base(i + 1, j));
            if (j >= 1 && j < ny_)
                baseYY_[at] = static_cast<double>(Base(i, j - 1) - 2 * Base(i, j) + Base(i, j + 1));
        }
}

double TTracer::BendPixels(int depth, const TCorners& corners, const TCurvature& k) const
{
    // The curve's curvature from f's second derivative along its tangent,
    // everything in pixels; a chord of the cell's diagonal then stands off
    // the curve by diagonal^2 * curvature / 8.
    std::array<double, 4> c;
    for (std::size_t n = 0; n < 4; ++n)
        c[n] = static_cast<double>(corners[n]);
    const double sx = std::ldexp(cellPxX_, -depth), sy = std::ldexp(cellPxY_, -depth);
    const double gx = ((c[1] - c[0]) + (c[3] - c[2])) / 2 / sx;
    const double gy = ((c[2] - c[0]) + (c[3] - c[1])) / 2 / sy;
    const double g = std::hypot(gx, gy);
    if (!std::isfinite(g)) return 0;
    if (g == 0) return std::numeric_limits<double>::infinity();
    const double tx = -gy / g, ty = gx / g;
    const double fxx = k.XX.Mean() / (sx * sx), fyy = k.YY.Mean() / (sy * sy);
    const double fxy = (c[0] - c[1] - c[2] + c[3]) / (sx * sy);
    const double ftt = tx * tx * fxx + 2 * tx * ty * fxy + ty * ty * fyy;
    return (sx * sx + sy * sy) * std::fabs(ftt) / (8 * g);
}

bool TTracer::NeedsSplit(int depth, const TCorners& c, const TCurvature& k) const
{
    const int failures = static_cast<int>(std::count_if(c.begin(), c.end(), Failed));
    if (failures == 4) return false;
    if (failures > 0) return true;
    const bool n0 = Negative(c[0]), n1 = Negative(c[1]), n2 = Negative(c[2]), n3 = Negative(c[3]);
    // Dips are looked for down to cells about a pixel wide: a feature
    // smaller than that shows as a dot at most, and a zero that only touches
    // (along a whole line, say) would otherwise halve every cell it passes
    // down to the finest size.
    const bool dips = depth < depth_ - kDipDepthsSpared;
    const auto dipX = [&](bool negative) { return dips ? kDipFactor * k.XX.Dip(negative) : 0; };
    const auto dipY = [&](bool negative) { return dips ? kDipFactor * k.YY.Dip(negative) : 0; };
    const auto smaller = [](Float a, Float b) { return std::min(std::fabs(a), std::fabs(b)); };
    if (n0 == n1 && n1 == n2 && n2 == n3)
        return std::min(smaller(c[0], c[1]), smaller(c[2], c[3])) < dipX(n0) + dipY(n0);
    if (n0 == n3 && n1 == n2) return true; // a saddle
    // A whole edge of exact zeros beside a positive corner that is not zero:
    // the zero set may turn somewhere on that edge (x*y = 0 where the grid
    // line through x = 0 runs along the edge and y = 0 meets it midway),
    // and only halving finds where. Zeros on the positive side alone are
    // followed exactly (ArcPath).
    const bool zeroEdge = (c[0] == 0 && c[1] == 0) || (c[2] == 0 && c[3] == 0) || (c[0] == 0 && c[2] == 0) ||
                          (c[1] == 0 && c[3] == 0);
    if (zeroEdge && std::any_of(c.begin(), c.end(), [](Float v) { return v > 0; })) return true;
    // An edge of one sign may hide two crossings.
    if (n0 == n1 && smaller(c[0], c[1]) < dipX(n0)) return true;
    if (n2 == n3 && smaller(c[2], c[3]) < dipX(n2)) return true;
    if (n0 == n2 && smaller(c[0], c[2]) < dipY(n0)) return true;
    if (n1 == n3 && smaller(c[1], c[3]) < dipY(n1)) return true;
    return BendPixels(depth, c, k) > kBendPixels;
}

void TTracer::Sample(int depth, std::int64_t i, std::int64_t j, const TCorners& c, const TCurvature& k)
{
    if (depth >= depth_ || !NeedsSplit(depth, c, k)) return;
    if (depth == 0)
        baseSplit_[static_cast<std::size_t>(i + j * nx_)] = 1;
    else
        split_.Enter(CellKey(depth, i, j), 1);
    ++counts_.Splits;
    const std::int64_t size = unit_ >> depth, half = size / 2;
    // The cell's 3 x 3 points, [x][y].
    Float v[3][3];
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            v[a][b] = At({i * size + a * half, j * size + b * half});
    for (int cb = 0; cb < 2; ++cb)
        for (int ca = 0; ca < 2; ++ca) {
            TCurvature child;
            for (int b = cb; b <= cb + 1; ++b)
                child.XX.Add(v[0][b], v[1][b], v[2][b]);
            for (int a = ca; a <= ca + 1; ++a)
                child.YY.Add(v[a][0], v[a][1], v[a][2]);
            const TCorners corners{v[ca][cb], v[ca + 1][cb], v[ca][cb + 1], v[ca + 1][cb + 1]};
            Sample(depth + 1, 2 * i + ca, 2 * j + cb, corners, child);
        }
}

bool TTracer::IsSplit(int depth, std::int64_t i, std::int64_t j) const
{
    if (depth >= depth_ || i < 0 || j < 0 || i >= (nx_ << depth) || j >= (ny_ << depth)) return false;
    if (depth == 0) return baseSplit_[static_cast<std::size_t>(i + j * nx_)] != 0;
    return split_.Contains(CellKey(depth, i, j));
}

void TTracer::SidePoints(int depth, std::int64_t i, std::int64_t j, TSide side,
                         std::vector<TLattice>& out) const
{
    if (!IsSplit(depth, i, j)) return;
    const std::int64_t size = unit_ >> depth, half = size / 2, i0 = i * size, j0 = j * size;
    // The two children along the side, in rising coordinate, and the
    // side's middle between them.
    std::int64_t ci = 2 * i, cj = 2 * j, di = 0, dj = 0;
    TLattice middle;
    switch (side) {
    case TSide::Bottom:
        di = 1;
        middle = {i0 + half, j0};
        break;
    case TSide::Top:
        cj += 1;
        di = 1;
        middle = {i0 + half, j0 + size};
        break;
    case TSide::Left:
        dj = 1;
        middle = {i0, j0 + half};
        break;
    case TSide::Right:
        ci += 1;
        dj = 1;
        middle = {i0 + size, j0 + half};
        break;
    }
    SidePoints(depth + 1, ci, cj, side, out);
    out.push_back(middle);
    SidePoints(depth + 1, ci + di, cj + dj, side, out);
}

std::int32_t TTracer::AddVertex(Float x, Float y)
{
    vertices_.push_back({x, y});
    return static_cast<std::int32_t>(vertices_.size() - 1);
}

std::int32_t TTracer::Crossing(TLattice a, Float va, TLattice b, Float vb)
{
    const bool vertical = a.I == b.I;
    const TLattice low = (vertical ? a.J < b.J : a.I < b.I) ? a : b;
    const std::int64_t length = vertical ? std::abs(b.J - a.J) : std::abs(b.I - a.I);
    std::int32_t* slot = nullptr;
    if (length == unit_ && ((low.I | low.J) & mask_) == 0) {
        const std::int64_t i = low.I >> shift_, j = low.J >> shift_;
        slot = vertical ? &edgesY_[static_cast<std::size_t>(i + j * (nx_ + 1))]
                        : &edgesX_[static_cast<std::size_t>(i + j * nx_)];
    } else {
        const int lengthLog = std::countr_zero(static_cast<std::uint64_t>(length));
        // The refinement below enters nothing into the table, so the
        // reference holds.
        slot = &fineEdges_.Enter(EdgeKey(vertical, lengthLog, low), kUnknown).first;
    }
    if (*slot != kUnknown) return *slot;

    ++counts_.Crossings;
    const Float fixed = vertical ? X(a.I) : Y(a.J);
    const auto along = [&](TLattice p) { return vertical ? Y(p.J) : X(p.I); };
    const auto f = [&](Float t) -> std::optional<Float> {
        const Float v = vertical ? Evaluate(fixed, t) : Evaluate(t, fixed);
        return Failed(v) ? std::nullopt : std::optional<Float>(v);
    };
    const bool aNegative = Negative(va);
    const TEdgeEnd negative{along(aNegative ? a : b), aNegative ? va : vb};
    const TEdgeEnd positive{along(aNegative ? b : a), aNegative ? vb : va};
    const TEdgeVertex found = RefineEdgeCrossing(f, negative, positive, doubles_);
    switch (found.Fault) {
    case TEdgeFault::None:
        *slot = vertical ? AddVertex(fixed, found.T) : AddVertex(found.T, fixed);
        break;
    case TEdgeFault::Jump:
        ++counts_.Jumps;
        *slot = kJump;
        break;
    case TEdgeFault::Failure:
        *slot = kFailure;
        break;
    }
    return *slot;
}

void TTracer::Trace(int depth, std::int64_t i, std::int64_t j)
{
    if (!IsSplit(depth, i, j)) {
        TraceLeaf(depth, i, j);
        return;
    }
    for (int cb = 0; cb < 2; ++cb)
        for (int ca = 0; ca < 2; ++ca)
            Trace(depth + 1, 2 * i + ca, 2 * j + cb);
}

// The path across the cell from crossing `arc` to the next, which cuts off
// the boundary between them. Where that boundary is of the positive side
// and exactly zero all along, the path follows it: those points are zeros.
void TTracer::ArcPath(std::size_t arc)
{
    const std::size_t m = crossings_.size(), n = points_.size();
    const TCellCrossing& from = crossings_[arc];
    const TCellCrossing& to = crossings_[(arc + 1) % m];
    if (from.Vertex < 0 || to.Vertex < 0) return; // a jump: no line to it
    const std::size_t first = (from.Segment + 1) % n, last = to.Segment;
    bool zeros = true;
    for (std::size_t p = first;; p = (p + 1) % n) {
        zeros = zeros && values_[p] == 0;
        if (p == last || !zeros) break;
    }
    paths_.Vertices.push_back(from.Vertex);
    if (zeros)
        for (std::size_t p = (first + 1) % n; first != last && p != last; p = (p + 1) % n)
            paths_.Vertices.push_back(AddVertex(X(points_[p].I), Y(points_[p].J)));
    paths_.Vertices.push_back(to.Vertex);
    paths_.Close();
}

// f where the cell's crossings are sorted out: at the saddle of the
// bilinear interpolation of its corners when they alternate in sign,
// otherwise at its centre.
Float TTracer::SaddleValue(int depth, TLattice origin, const std::array<std::size_t, 4>& corners,
                           TPlanePoint& at)
{
    const std::int64_t size = unit_ >> depth;
    const Float f00 = values_[corners[0]], f10 = values_[corners[1]];
    const Float f11 = values_[corners[2]], f01 = values_[corners[3]];
    const bool saddle =
        Negative(f00) == Negative(f11) && Negative(f10) == Negative(f01) && Negative(f00) != Negative(f10);
    if (saddle) {
        const Float d = f00 - f10 - f01 + f11;
        Float u = (f00 - f01) / d, v = (f00 - f10) / d;
        if (!(u >= 0 && u <= 1)) u = 0.5L;
        if (!(v >= 0 && v <= 1)) v = 0.5L;
        const Float x0 = X(origin.I), x1 = X(origin.I + size), y0 = Y(origin.J), y1 = Y(origin.J + size);
        at = {OnGrid(x0 + u * (x1 - x0)), OnGrid(y0 + v * (y1 - y0))};
        return Evaluate(at.X, at.Y);
    }
    const TLattice centre{origin.I + size / 2, origin.J + size / 2};
    at = {X(centre.I), Y(centre.J)};
    return At(centre);
}

// A first-grid cell with corners of one sign, none failing, and no finer
// neighbour: nothing to draw (most cells are).
bool TTracer::QuietCell(std::int64_t i, std::int64_t j)
{
    const Float c0 = Base(i, j), c1 = Base(i + 1, j), c2 = Base(i, j + 1), c3 = Base(i + 1, j + 1);
    if (Failed(c0) || Failed(c1) || Failed(c2) || Failed(c3)) return false;
    const bool n = Negative(c0);
    if (Negative(c1) != n || Negative(c2) != n || Negative(c3) != n) return false;
    return !IsSplit(0, i - 1, j) && !IsSplit(0, i + 1, j) && !IsSplit(0, i, j - 1) && !IsSplit(0, i, j + 1);
}

void TTracer::TraceLeaf(int depth, std::int64_t i, std::int64_t j)
{
    if (depth == 0 && QuietCell(i, j)) return;
    const std::int64_t size = unit_ >> depth;
    const TLattice origin{i * size, j * size};
    std::array<std::size_t, 4> corners{};
    points_.clear();
    // Counter-clockwise from the lower left corner, with the points of
    // finer neighbours on each side.
    corners[0] = points_.size();
    points_.push_back(origin);
    SidePoints(depth, i, j - 1, TSide::Top, points_);
    corners[1] = points_.size();
    points_.push_back({origin.I + size, origin.J});
    SidePoints(depth, i + 1, j, TSide::Left, points_);
    corners[2] = points_.size();
    points_.push_back({origin.I + size, origin.J + size});
    reversed_.clear();
    SidePoints(depth, i, j + 1, TSide::Bottom, reversed_);
    points_.insert(points_.end(), reversed_.rbegin(), reversed_.rend());
    corners[3] = points_.size();
    points_.push_back({origin.I, origin.J + size});
    reversed_.clear();
    SidePoints(depth, i - 1, j, TSide::Right, reversed_);
    points_.insert(points_.end(), reversed_.rbegin(), reversed_.rend());

    const std::size_t n = points_.size();
    values_.resize(n);
    for (std::size_t p = 0; p < n; ++p) {
        values_[p] = At(points_[p]);
        if (Failed(values_[p])) {
            ++counts_.LeftOut;
            return;
        }
    }
    crossings_.clear();
    for (std::size_t p = 0; p < n; ++p) {
        const std::size_t q = (p + 1) % n;
        if (Negative(values_[p]) == Negative(values_[q])) continue;
        const std::int32_t vertex = Crossing(points_[p], values_[p], points_[q], values_[q]);
        if (vertex == kFailure) {
            ++counts_.LeftOut;
            return;
        }
        crossings_.push_back({p, vertex});
    }
    const std::size_t m = crossings_.size();
    if (m == 0) return;
    const auto arcNegative = [&](std::size_t arc) {
        return Negative(values_[(crossings_[arc].Segment + 1) % n]);
    };
    if (m == 2) {
        // One path; it may follow the positive side's boundary.
        ArcPath(arcNegative(0) ? 1 : 0);
        return;
    }
    TPlanePoint at;
    const Float middle = SaddleValue(depth, origin, corners, at);
    if (Failed(middle)) {
        ++counts_.LeftOut;
        return;
    }
    Float smallest = std::numeric_limits<Float>::infinity();
    for (Float v : values_)
        smallest = std::min(smallest, std::fabs(v));
    if (depth == depth_ && std::fabs(middle) <= kMeetShare * smallest) {
        // The branches meet: each line runs through the saddle to the
        // crossing opposite.
        for (std::size_t r = 0; r < m / 2; ++r) {
            const std::int32_t a = crossings_[r].Vertex, b = crossings_[r + m / 2].Vertex;
            if (a >= 0 && b >= 0) paths_.Add({a, AddVertex(at.X, at.Y), b});
        }
        return;
    }
    // The sides of the middle's sign connect through the cell; each stretch
    // of the other sign is cut off by a path.
    for (std::size_t r = 0; r < m; ++r)
        if (arcNegative(r) != Negative(middle)) ArcPath(r);
}

TImplicitCurve TTracer::Run()
{
    baseSplit_.assign(static_cast<std::size_t>(nx_ * ny_), 0);
    edgesX_.assign(static_cast<std::size_t>(nx_ * (ny_ + 1)), kUnknown);
    edgesY_.assign(static_cast<std::size_t>((nx_ + 1) * ny_), kUnknown);
    SampleGrid();
    for (std::int64_t j = 0; j < ny_; ++j)
        for (std::int64_t i = 0; i < nx_; ++i) {
            const TCorners c{Base(i, j), Base(i + 1, j), Base(i, j + 1), Base(i + 1, j + 1)};
            Sample(0, i, j, c, BaseCurvature(i, j));
        }
    for (std::int64_t j = 0; j < ny_; ++j)
        for (std::int64_t i = 0; i < nx_; ++i)
            Trace(0, i, j);
    TImplicitCurve curve;
    curve.Polylines = JoinPaths(vertices_, paths_);
    curve.Counts = counts_;
    return curve;
}

bool Usable(const TImplicitRect& r, int widthPixels, int heightPixels)
{
    return std::isfinite(r.XMin) && std::isfinite(r.XMax) && std::isfinite(r.YMin) && std::isfinite(r.YMax) &&
           r.XMin < r.XMax && r.YMin < r.YMax && widthPixels >= 1 && heightPixels >= 1;
}

} // namespace

TImplicitCurve TraceImplicitCurve(const TImplicitFunction& f, const TImplicitRect& rect, int widthPixels,
                                  int heightPixels, const TImplicitOptions& options)
{
    if (!Usable(rect, widthPixels, heightPixels)) return {};
    return TTracer(f, rect, widthPixels, heightPixels, options).Run();
}

} // namespace qrv
