// A dashed line cut into its dashes. A Windows metafile's pen draws dashes
// and dots only one pixel wide (a wider dashed pen draws a solid line), so a
// wider dashed or dotted line is recorded as its dashes, each a solid line
// of its own.
#pragma once

#include <QPointF>

#include <span>
#include <vector>

namespace qrv
{

struct TDashPattern {
    // Lengths in pixels, alternately drawn and left out, repeated along the
    // line; Qt's dash pattern times the pen width.
    std::vector<double> Lengths;
    // How far into the pattern the line starts, in pixels.
    double Offset = 0.0;
    // Each dash is drawn this much shorter at both ends (a round end of a
    // solid pen reaches that far beyond its line), though never below one
    // pixel long: a dot stays a dot.
    double Inset = 0.0;
};

// The dashes of the polyline, in order, each a polyline of two or more
// points that follows the line's turns. A pattern without a positive length
// leaves the line whole.
std::vector<std::vector<QPointF>> DashPieces(std::span<const QPointF> points, const TDashPattern& pattern);

} // namespace qrv
