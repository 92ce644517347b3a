// The colours new curves get: a palette whose colours stay apart for
// readers with any common colour-vision deficiency (the Okabe-Ito set,
// without its yellow, which cannot be read on a white chart), blue first so
// that the second curve stands apart from the red of the first.
#pragma once

#include "QrvColor.h"
#include "QrvDocument.h"

#include <array>

namespace qrv
{

inline constexpr std::array<TColor, 7> kCurvePalette{
    RGB(0x00, 0x72, 0xB2), // blue
    RGB(0xD5, 0x5E, 0x00), // vermillion
    RGB(0x00, 0x9E, 0x73), // bluish green
    RGB(0xCC, 0x79, 0xA7), // reddish purple
    RGB(0xE6, 0x9F, 0x00), // orange
    RGB(0x56, 0xB4, 0xE9), // sky blue
    RGB(0x00, 0x00, 0x00), // black
};

// The colour of a curve added to `document`: `firstColor` (the program's
// graph colour) when the document has no curve yet; otherwise the first
// palette colour that no curve uses, and once every one is taken, the first
// of those used least often, so the palette repeats in its order.
TColor NextCurveColor(const TDocument& document, TColor firstColor);

} // namespace qrv
