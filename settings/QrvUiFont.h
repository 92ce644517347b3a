// The faces the windows use, at pixel sizes: sizes in pixels keep every
// caption in proportion to the controls, which are placed in pixels too,
// whatever the screen's font resolution (96 or 192 dots per inch). The
// narrow classic user-interface face is rarely installed; Arial and its
// metric twins (Liberation Sans, Arimo) stand in for it, so captions measure
// the same on every machine that has one of them.
#pragma once

#include <QFont>

namespace qrv
{

// The windows' sans-serif face: "MS Sans Serif" where there is one, else
// Arial or a face with its metrics, else the system's.
QFont UiFont(int pixels);

// Arial (or a face with its metrics) at a pixel size.
QFont ArialFont(int pixels, bool bold = false);

} // namespace qrv
