// Joins the short paths that the cells of a traced curve give into the
// polylines a chart draws: two paths that end at the same vertex become one
// line, and a line that comes back to where it began is closed.
#pragma once

#include "QrvFloat.h"

#include <cstdint>
#include <vector>

namespace qrv
{

struct TPlanePoint {
    Float X = 0;
    Float Y = 0;
    bool operator==(const TPlanePoint&) const = default;
};

using TPolyline = std::vector<TPlanePoint>;

// Paths as vertex numbers (into the vertex list), one after another:
// path p is Vertices[Starts[p] .. Starts[p + 1]). Each path has two or more
// vertices.
struct TPathList {
    std::vector<std::int32_t> Vertices;
    std::vector<std::uint32_t> Starts{0};

    void Add(std::initializer_list<std::int32_t> path);
    // Begins a path whose vertices the caller appends to Vertices; Close
    // ends it.
    void Close() { Starts.push_back(static_cast<std::uint32_t>(Vertices.size())); }
    std::size_t Count() const { return Starts.size() - 1; }
};

// The polylines of the paths. A vertex that ends two paths joins them (a
// vertex that ends more than two joins the first two; the others stay
// ends). A closed polyline repeats its first point at its end. Points that
// repeat the one before are dropped; a line left with one point is none.
std::vector<TPolyline> JoinPaths(const std::vector<TPlanePoint>& vertices, const TPathList& paths);

} // namespace qrv
