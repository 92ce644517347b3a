// Colours of the chart: the 32-bit TColor of the program (0x00BBGGRR for
// plain colours) with the values that carry a special meaning.
#pragma once

#include <QColor>

#include <cstdint>

namespace qrv
{

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clGreen = 0x00008000;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clGray = 0x00808080;
inline constexpr TColor clWhite = 0x00FFFFFF;
// No colour: a point of this colour is a null point, a pen of it draws nothing.
inline constexpr TColor clNone = 0x1FFFFFFF;
// A point of this colour takes the colour of its series.
inline constexpr TColor UseSeriesColor = 0x80000000;

// System colours have the high bit set; the low byte picks the entry.
inline constexpr bool IsSystemColor(TColor c)
{
    return (c & 0x80000000u) != 0;
}

inline constexpr TColor RGBToColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The colour to paint with. System colours are resolved against the
// application palette; clNone gives a fully transparent colour.
QColor ToQColor(TColor color);

} // namespace qrv
