// Conversions between the program's TColor (0x00BBGGRR) and QColor. System
// colours and clNone have no RGB value of their own; they convert by their
// low 24 bits.
#pragma once

#include "QrvColor.h"

#include <QColor>

namespace qrv
{

inline QColor ToQColor(TColor color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

inline TColor FromQColor(const QColor& color)
{
    QColor rgb = color.toRgb();
    return RGB(std::uint8_t(rgb.red()), std::uint8_t(rgb.green()), std::uint8_t(rgb.blue()));
}

} // namespace qrv
