// Colours as the program stores and passes them: 32 bits, 0x00BBGGRR for a
// plain colour (red in the low byte). Values with the high bit set name
// system colours; clNone means "no colour". Plain C++, shared by the chart,
// the settings and the application.
#pragma once

#include <cstdint>

namespace qrv
{

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clGreen = 0x00008000;
inline constexpr TColor clLime = 0x0000FF00;
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

// Builds a plain colour from its three components.
constexpr TColor RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}

constexpr std::uint8_t GetRValue(TColor color)
{
    return std::uint8_t(color & 0xFF);
}
constexpr std::uint8_t GetGValue(TColor color)
{
    return std::uint8_t((color >> 8) & 0xFF);
}
constexpr std::uint8_t GetBValue(TColor color)
{
    return std::uint8_t((color >> 16) & 0xFF);
}

} // namespace qrv
