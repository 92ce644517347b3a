#include "QrvPalette.h"

#include <algorithm>
#include <cstddef>

namespace qrv
{

TColor NextCurveColor(const TDocument& document, TColor firstColor)
{
    if (document.Curves.empty()) return firstColor;
    std::array<std::size_t, kCurvePalette.size()> uses{};
    for (const TCurve& curve : document.Curves)
        for (std::size_t i = 0; i < kCurvePalette.size(); ++i)
            if (curve.Color == kCurvePalette[i]) ++uses[i];
    // min_element returns the first of equal counts: palette order.
    const auto least = std::min_element(uses.begin(), uses.end());
    return kCurvePalette[std::size_t(least - uses.begin())];
}

} // namespace qrv
