// The drawing state of a Windows device context as metafile records carry it:
// pens, brushes and fonts as logical objects, colours as 0x00BBGGRR values.
// Both metafile writers share these plain descriptions; each writer encodes
// them in its own record layout.
#pragma once

#include <QString>

#include <cstdint>

namespace qrv
{

// GDI pen styles, brush styles and hatches (numbers as the formats store them).
enum class GdiPenStyle : uint16_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };
enum class GdiBrushStyle : uint16_t { Solid = 0, Null = 1, Hatched = 2 };
enum class GdiHatch : uint16_t {
    Horizontal = 0,
    Vertical = 1,
    FDiagonal = 2,
    BDiagonal = 3,
    Cross = 4,
    DiagCross = 5
};

inline constexpr uint32_t GdiRgb(int r, int g, int b)
{
    return uint32_t(r & 0xFF) | (uint32_t(g & 0xFF) << 8) | (uint32_t(b & 0xFF) << 16);
}

// How a geometric pen ends its lines and joins its segments (the flag
// values the formats store beside the style).
enum class GdiEndCap : uint32_t { Round = 0x0000, Square = 0x0100, Flat = 0x0200 };
enum class GdiLineJoin : uint32_t { Round = 0x0000, Bevel = 0x1000, Miter = 0x2000 };
inline constexpr uint32_t GdiGeometricPen = 0x00010000;

struct TGdiPen {
    GdiPenStyle Style = GdiPenStyle::Solid;
    int Width = 0; // device pixels; 0 is the thinnest line the device draws
    uint32_t Color = 0;
    // Only for a pen that IsGeometric: a plain pen of GDI draws dashes and
    // dots only one pixel wide (a wider one draws solid), so a wider dashed
    // or dotted line needs a geometric pen, which also says how lines end
    // and join.
    GdiEndCap EndCap = GdiEndCap::Round;
    GdiLineJoin Join = GdiLineJoin::Round;
    bool IsGeometric() const
    {
        return Width > 1 && Style != GdiPenStyle::Solid && Style != GdiPenStyle::Null;
    }
    bool operator==(const TGdiPen&) const = default;
};

struct TGdiBrush {
    GdiBrushStyle Style = GdiBrushStyle::Solid;
    uint32_t Color = GdiRgb(255, 255, 255);
    GdiHatch Hatch = GdiHatch::Horizontal;
    bool operator==(const TGdiBrush&) const = default;
};

struct TGdiFont {
    int Height = 0;     // negative: character (em) height in device pixels
    int Escapement = 0; // baseline angle, tenths of a degree counter-clockwise
    int Weight = 400;   // 100 thin ... 400 normal ... 700 bold ... 900 black
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    QString Face;
    bool operator==(const TGdiFont&) const = default;
};

// A rectangle as GDI takes it: right and bottom lie one past the last pixel
// column and row that the rectangle covers.
struct TGdiRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TGdiRect&) const = default;
};

// The formats keep a face name in 32 characters, terminator included.
inline constexpr int GdiFaceNameMax = 31;

} // namespace qrv
