// The tracer of implicit curves: the zero set of f(x, y) over a rectangle,
// as polylines fine enough for the chart's pixels.
//
// How it is traced. f is sampled once on a grid of cells a few pixels wide
// (TImplicitOptions::CellPixels). A cell is halved into four, down to
// MaxDepth times, where one cell's corners cannot tell the curve's shape:
// - its corners alternate in sign around it (a saddle: two branches pass,
//   or they meet, as x*y = 0 does at 0);
// - all corners have one sign, but the grid's second differences say f may
//   dip to zero inside (a small circle, a thin feature, a curve that leaves
//   through the edge it came in by), down to cells of about a pixel (two
//   halvings short of MaxDepth);
// - the curve crosses it, but bends so much that a chord across the cell
//   would be more than a quarter of a pixel off;
// - the curve crosses it, and a whole edge is exactly zero beside a corner
//   that is positive: the zero set may turn somewhere on that edge;
// - some corners fail and some do not (so the working part is drawn up to
//   within the finest cell of where the formula fails).
// Each sign change along a cell's edges is then refined along that edge
// (QrvImplicitEdge.h) until the bracket's ends are neighbouring Floats, so
// every vertex on an edge is a true zero to the last bit. Within a cell the
// crossings are joined in pairs; cells of different sizes share the points
// on their common edges, so no line ends at a change of size. Where a cell
// has four or more crossings (a saddle at the finest size, or points of a
// finer neighbour), f at the bilinear saddle of its corners (or at its
// centre) decides which crossings belong together; at the finest size a
// saddle value near zero means the branches meet there, and both lines pass
// through that point (a crossing drawn without a gap).
//
// What users expect in the special cases:
// - A sign is "f < 0" or "f >= 0": a zero counts with the positive side.
//   Where a grid point is exactly zero the vertex is that point, and where
//   a cell's zero corners run along its edge (x*y = 0 on a grid whose lines
//   pass through 0) the line follows them, so the axes meet at the origin.
// - A formula that is zero on a whole region (x - x) draws nothing inside
//   it: there is no sign change. Where such a region borders negative
//   values its border is drawn (zero is on the positive side there).
// - A zero without a sign change (x*x + y*y at the origin, (x - y)^2 along
//   a line) draws nothing: without a sign change it cannot be told from a
//   near miss such as x*x + y*y + 1e-30, which has no zero.
// - Where the formula fails at a cell's corner, at a point of a finer
//   neighbour on its edge, or at a point tried on its edges or at its
//   saddle, the cell is left out: no line is drawn through it, and lines
//   end at its edge. The part of the rectangle where it works is drawn.
// - A sign change that is a jump, not a zero (the pole of 1/x - y, a step
//   of floor), draws nothing: lines end beside it.
// - A closed curve is one closed polyline (first point == last point); a
//   line that leaves the rectangle ends on its border.
// - An empty rectangle, a rectangle that is not finite, or a pixel size
//   below 1 draws nothing.
#pragma once

#include "QrvFloat.h"
#include "QrvPolylineJoin.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qrv
{

// f(x, y), or nothing where the formula raises an error (NaN counts as
// nothing too).
using TImplicitFunction = std::function<std::optional<Float>(Float x, Float y)>;

struct TImplicitRect {
    Float XMin = 0;
    Float XMax = 0;
    Float YMin = 0;
    Float YMax = 0;
};

struct TImplicitOptions {
    // The side of a grid cell in pixels (at least 1).
    int CellPixels = 4;
    // How often a cell may be halved where it needs it (0 to 6): with 4 the
    // finest cells of 4-pixel cells are a quarter of a pixel wide.
    int MaxDepth = 4;
    // The function reads its coordinates as doubles: the points tried are
    // doubles and crossings close at neighbouring doubles.
    bool DoubleCoordinates = false;
};

// What a trace cost, and what it left out.
struct TImplicitCounts {
    std::uint64_t Evaluations = 0; // calls of f
    std::uint64_t GridPoints = 0;  // of these, the points of the first grid
    std::uint64_t Splits = 0;      // cells halved
    std::uint64_t Crossings = 0;   // edges refined
    std::uint64_t LeftOut = 0;     // cells left out because f failed at one of their points
    std::uint64_t Jumps = 0;       // sign changes that are jumps
};

struct TImplicitCurve {
    std::vector<TPolyline> Polylines;
    TImplicitCounts Counts;
};

// The zero set of f over the rectangle, for a chart that shows the
// rectangle in widthPixels x heightPixels.
TImplicitCurve TraceImplicitCurve(const TImplicitFunction& f, const TImplicitRect& rect, int widthPixels,
                                  int heightPixels, const TImplicitOptions& options = {});

} // namespace qrv
