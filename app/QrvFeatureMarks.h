// The Analysis pane's marks on the chart: a small ring in its curve's
// colour at each feature (root, extremum, inflection, intersection). They are
// drawn over the screen's picture, and into files, copies and prints only
// when the user asks for them there. The trace snaps to a mark near the
// mouse and reads it out by name.
#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace qrv
{

class TChartPicture;
struct TChartLayout;

struct TFeatureMark {
    int Series = -1; // the chart index of its curve's series
    double X = 0;    // the point, in the series' values
    double Y = 0;
    QColor Color;
    QString Readout; // what the trace says on it (FeatureReadout)
};

// The radius of a mark, and how near the mouse must come for the trace
// to snap to one.
inline constexpr int kFeatureMarkRadius = 4;
inline constexpr int kFeatureSnapPixels = 6;

// Where a mark lies in a layout of the chart, mapped as its series maps its
// points (axes and multipliers); nothing when the series is gone, hidden, or
// the mark falls outside the axes rectangle.
std::optional<QPoint> MarkPixel(const TChartPicture& chart, const TChartLayout& layout,
                                const TFeatureMark& mark);

// The mark nearest `mouse` within kFeatureSnapPixels (as the crow flies);
// -1 when none is that near.
int MarkNear(const TChartPicture& chart, const TChartLayout& layout, const std::vector<TFeatureMark>& marks,
             const QPoint& mouse);

// Draws the marks in view, clipped to the axes rectangle.
void DrawFeatureMarks(QPainter& painter, const TChartPicture& chart, const TChartLayout& layout,
                      const std::vector<TFeatureMark>& marks);

} // namespace qrv
