#include "QrvWmfWriter.h"

#include "QrvDibBits.h"

#include <uwmf.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qrv
{

namespace
{

constexpr uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr uint16_t MetaHeaderWords = 9;
constexpr uint16_t MetaVersion = 0x0300;
constexpr uint16_t MetaFileInMemory = 1;
constexpr uint16_t MetaEof = 0x0000;

int16_t C16(int v)
{
    return int16_t(std::clamp(v, -32768, 32767));
}

U_POINT16 P16(int x, int y)
{
    return point16_set(C16(x), C16(y));
}
U_POINT16 P16(QPoint p)
{
    return P16(p.x(), p.y());
}

U_COLORREF Ref(uint32_t c)
{
    return colorref3_set(uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16));
}

U_RECT16 Rect16(const TGdiRect& r)
{
    return U_RECT16_set(P16(r.Left, r.Top), P16(r.Right, r.Bottom));
}

std::vector<U_POINT16> Points16(std::span<const QPoint> points)
{
    std::vector<U_POINT16> out;
    out.reserve(points.size());
    for (const QPoint& p : points)
        out.push_back(P16(p));
    return out;
}

// The text records take 8-bit characters; the font asks for the ANSI
// (Windows-1252) set, of which Latin-1 is the part shared with Unicode.
QByteArray AnsiText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(c.unicode() <= 0xFF ? char(c.unicode()) : c.isSpace() ? ' ' : '?');
    return out;
}

void Put16(QByteArray& out, uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void Put32(QByteArray& out, uint32_t v)
{
    Put16(out, uint16_t(v & 0xFFFF));
    Put16(out, uint16_t(v >> 16));
}

} // namespace

TWmfWriter::TWmfWriter(QSize size, int dpi) : TGdiRecorder(size, dpi)
{
    // One logical unit is one device pixel of the picture.
    Append(U_WMRSETWINDOWORG_set(P16(0, 0)));
    Append(U_WMRSETWINDOWEXT_set(P16(size.width(), size.height())));
}

void TWmfWriter::Append(char* record)
{
    if (!record) return;
    uint32_t words = 0;
    std::memcpy(&words, record, sizeof words); // Size16_4: the record size in 16-bit words
    records_.append(record, qsizetype(words) * 2);
    maxRecordWords_ = std::max(maxRecordWords_, words);
    std::free(record);
}

void TWmfWriter::EmitCreatePen(int, const TGdiPen& pen)
{
    // The format's pen has no room for the geometric flag, only for the way
    // lines end and join.
    const uint32_t style =
        uint32_t(pen.Style) | (pen.IsGeometric() ? uint32_t(pen.EndCap) | uint32_t(pen.Join) : 0);
    Append(U_WMRCREATEPENINDIRECT_set(
        U_PEN_set(uint16_t(style), uint16_t(std::clamp(pen.Width, 0, 32767)), Ref(pen.Color))));
}

void TWmfWriter::EmitCreateBrush(int, const TGdiBrush& brush)
{
    Append(U_WMRCREATEBRUSHINDIRECT_set(
        U_WLOGBRUSH_set(uint16_t(brush.Style), Ref(brush.Color), uint16_t(brush.Hatch))));
}

void TWmfWriter::EmitCreateFont(int, const TGdiFont& font)
{
    QByteArray face = AnsiText(font.Face.left(GdiFaceNameMax));
    U_FONT* f = U_FONT_set(C16(font.Height), 0, C16(font.Escapement), C16(font.Escapement), C16(font.Weight),
                           font.Italic, font.Underline, font.StrikeOut, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                           U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face.data());
    if (!f) return;
    Append(U_WMRCREATEFONTINDIRECT_set(f));
    std::free(f);
}

void TWmfWriter::EmitSelect(int index)
{
    Append(U_WMRSELECTOBJECT_set(uint16_t(index)));
}
void TWmfWriter::EmitDelete(int index)
{
    Append(U_WMRDELETEOBJECT_set(uint16_t(index)));
}
void TWmfWriter::EmitSaveDc()
{
    Append(U_WMRSAVEDC_set());
}
void TWmfWriter::EmitRestoreDc()
{
    Append(U_WMRRESTOREDC_set(-1));
}
void TWmfWriter::EmitIntersectClip(const TGdiRect& rect)
{
    Append(U_WMRINTERSECTCLIPRECT_set(Rect16(rect)));
}
void TWmfWriter::EmitTextColor(uint32_t color)
{
    Append(U_WMRSETTEXTCOLOR_set(Ref(color)));
}
void TWmfWriter::EmitBkMode(bool opaque)
{
    Append(U_WMRSETBKMODE_set(opaque ? U_OPAQUE : U_TRANSPARENT));
}
void TWmfWriter::EmitBkColor(uint32_t color)
{
    Append(U_WMRSETBKCOLOR_set(Ref(color)));
}
void TWmfWriter::EmitTextAlign(uint16_t align)
{
    Append(U_WMRSETTEXTALIGN_set(align));
}
void TWmfWriter::EmitPolyFillMode(bool winding)
{
    Append(U_WMRSETPOLYFILLMODE_set(winding ? U_WINDING : U_ALTERNATE));
}

void TWmfWriter::EmitPolyline(std::span<const QPoint> points)
{
    const std::vector<U_POINT16> pts = Points16(points);
    Append(U_WMRPOLYLINE_set(uint16_t(pts.size()), pts.data()));
}

void TWmfWriter::EmitPolygon(std::span<const QPoint> points)
{
    const std::vector<U_POINT16> pts = Points16(points);
    Append(U_WMRPOLYGON_set(uint16_t(pts.size()), pts.data()));
}

void TWmfWriter::EmitPolyPolygon(const std::vector<std::vector<QPoint>>& polygons)
{
    std::vector<uint16_t> counts;
    std::vector<U_POINT16> pts;
    for (const auto& polygon : polygons) {
        counts.push_back(uint16_t(polygon.size()));
        for (const QPoint& p : polygon)
            pts.push_back(P16(p));
    }
    Append(U_WMRPOLYPOLYGON_set(uint16_t(counts.size()), counts.data(), pts.data()));
}

void TWmfWriter::EmitRectangle(const TGdiRect& rect)
{
    Append(U_WMRRECTANGLE_set(Rect16(rect)));
}

void TWmfWriter::EmitText(QPoint origin, const QString& text, const std::vector<int>& dx)
{
    QByteArray bytes = AnsiText(text.left(32767));
    std::vector<int16_t> dx16(size_t(bytes.size()), 0);
    for (size_t i = 0; i < dx16.size() && i < dx.size(); ++i)
        dx16[i] = C16(dx[i]);
    const U_RECT16 noRect{0, 0, 0, 0}; // no clipping or opaque rectangle: the options are 0
    Append(
        U_WMREXTTEXTOUT_set(P16(origin), int16_t(bytes.size()), 0, bytes.constData(), dx16.data(), noRect));
}

void TWmfWriter::EmitPixel(QPoint point, uint32_t color)
{
    Append(U_WMRSETPIXEL_set(Ref(color), P16(point)));
}

void TWmfWriter::EmitImage(const TGdiRect& dest, const QImage& image)
{
    QByteArray bits = DibBits32(image);
    U_BITMAPINFOHEADER header = bitmapinfoheader_set(image.width(), image.height(), 1, 32, U_BI_RGB,
                                                     uint32_t(bits.size()), 0, 0, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    if (!info) return;
    Append(U_WMRSTRETCHDIB_set(P16(dest.Left, dest.Top), P16(dest.Right - dest.Left, dest.Bottom - dest.Top),
                               P16(0, 0), P16(image.width(), image.height()), U_DIB_RGB_COLORS, U_SRCCOPY,
                               info, uint32_t(bits.size()), bits.constData()));
    std::free(info);
}

QByteArray TWmfWriter::Assemble()
{
    QByteArray out;
    // Placeable header: key, handle (always 0), bounding box, units per inch,
    // reserved, and the XOR of the ten 16-bit words before the checksum.
    Put32(out, PlaceableKey);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint16_t(C16(Size().width())));
    Put16(out, uint16_t(C16(Size().height())));
    Put16(out, uint16_t(std::clamp(Dpi(), 1, 65535)));
    Put32(out, 0);
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= uint16_t(uchar(out[2 * i]) | (uchar(out[2 * i + 1]) << 8));
    Put16(out, checksum);

    const uint32_t eofWords = 3;
    const uint32_t fileWords = MetaHeaderWords + uint32_t(records_.size() / 2) + eofWords;
    Put16(out, MetaFileInMemory);
    Put16(out, MetaHeaderWords);
    Put16(out, MetaVersion);
    Put32(out, fileWords);
    Put16(out, uint16_t(std::min(ObjectSlots(), 65535)));
    Put32(out, std::max(maxRecordWords_, eofWords));
    Put16(out, 0);

    out.append(records_);
    Put32(out, eofWords);
    Put16(out, MetaEof);
    return out;
}

} // namespace qrv
