// Colours of the chart: the program's 32-bit TColor (core) turned into the
// colours Qt paints with.
#pragma once

#include "QrvColor.h"

#include <QColor>

namespace qrv
{

// The colour to paint with. System colours are resolved against the
// application palette; clNone gives a fully transparent colour.
QColor ToQColor(TColor color);

} // namespace qrv
