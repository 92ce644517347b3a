// The chart's fonts: "Arial" 8 point, resolved to a metric-compatible face
// where Arial itself is not installed.
#pragma once

#include "QrvChartColor.h"

#include <QFont>

namespace qrv
{

// "Arial" at the given point size, with Liberation Sans and Arimo (the same
// metrics) as fallbacks, so the layout holds with or without fontconfig's
// alias for Arial.
QFont ChartFont(int pointSize = 8);

struct TChartFont {
    QFont Font = ChartFont();
    TColor Color = clBlack;
};

} // namespace qrv
