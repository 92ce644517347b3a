// Drawing one axis from its layout: title, labels, line, ticks, grid and
// minor ticks.
#pragma once

class QPainter;

namespace qrv
{

class TChartAxis;
struct TAxisLayout;
struct TChartRect;

// The painter's device gives the font metrics; printing draws white text
// black and thin non-solid pens.
void DrawAxis(QPainter& painter, const TChartAxis& axis, const TAxisLayout& layout,
              const TChartRect& axesRect, bool printing);

} // namespace qrv
