#include "QrvEmfWriter.h"

#include "QrvDibBits.h"

#include <uemf.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace qrv
{

namespace
{

constexpr uint32_t GraphicsModeCompatible = 1;
// Header fields filled in once the records are known.
constexpr qsizetype HeaderBytesAt = 48;
constexpr qsizetype HeaderRecordsAt = 52;
constexpr qsizetype HeaderHandlesAt = 56;

U_COLORREF Ref(uint32_t c)
{
    return colorref3_set(uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16));
}

U_POINTL P32(QPoint p)
{
    return point32_set(p.x(), p.y());
}

U_RECTL RectL(const TGdiRect& r)
{
    return rectl_set(point32_set(r.Left, r.Top), point32_set(r.Right, r.Bottom));
}

// The smallest rectangle, edges included, around the points.
U_RECTL Bounds(std::span<const QPoint> points)
{
    int l = points.front().x(), r = l, t = points.front().y(), b = t;
    for (const QPoint& p : points) {
        l = std::min(l, p.x());
        r = std::max(r, p.x());
        t = std::min(t, p.y());
        b = std::max(b, p.y());
    }
    return rectl_set(point32_set(l, t), point32_set(r, b));
}

bool FitsIn16(std::span<const QPoint> points)
{
    return std::all_of(points.begin(), points.end(), [](const QPoint& p) {
        return p.x() >= -32768 && p.x() <= 32767 && p.y() >= -32768 && p.y() <= 32767;
    });
}

std::vector<U_POINT16> Points16(std::span<const QPoint> points)
{
    std::vector<U_POINT16> out;
    out.reserve(points.size());
    for (const QPoint& p : points)
        out.push_back(point16_set(int16_t(p.x()), int16_t(p.y())));
    return out;
}

std::vector<U_POINTL> Points32(std::span<const QPoint> points)
{
    std::vector<U_POINTL> out;
    out.reserve(points.size());
    for (const QPoint& p : points)
        out.push_back(P32(p));
    return out;
}

void Patch32(QByteArray& out, qsizetype at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

TEmfWriter::TEmfWriter(QSize size, int dpi) : TGdiRecorder(size, dpi) {}

void TEmfWriter::Append(char* record)
{
    if (!record) return;
    uint32_t bytes = 0;
    std::memcpy(&bytes, record + 4, sizeof bytes); // nSize, after the record type
    records_.append(record, qsizetype(bytes));
    ++recordCount_;
    std::free(record);
}

void TEmfWriter::EmitCreatePen(int index, const TGdiPen& pen)
{
    if (pen.IsGeometric()) {
        const uint32_t style =
            GdiGeometricPen | uint32_t(pen.Style) | uint32_t(pen.EndCap) | uint32_t(pen.Join);
        PU_EXTLOGPEN logpen =
            extlogpen_set(style, uint32_t(pen.Width), U_BS_SOLID, Ref(pen.Color), 0, 0, nullptr);
        if (!logpen) return;
        Append(U_EMREXTCREATEPEN_set(uint32_t(index), nullptr, 0, nullptr, logpen));
        std::free(logpen);
        return;
    }
    Append(U_EMRCREATEPEN_set(
        uint32_t(index),
        logpen_set(uint32_t(pen.Style), point32_set(std::max(pen.Width, 0), 0), Ref(pen.Color))));
}

void TEmfWriter::EmitCreateBrush(int index, const TGdiBrush& brush)
{
    Append(U_EMRCREATEBRUSHINDIRECT_set(
        uint32_t(index), logbrush_set(uint32_t(brush.Style), Ref(brush.Color), int32_t(brush.Hatch))));
}

void TEmfWriter::EmitCreateFont(int index, const TGdiFont& font)
{
    uint16_t face[64] = {};
    const QString name = font.Face.left(GdiFaceNameMax);
    for (qsizetype i = 0; i < name.size(); ++i)
        face[i] = name[i].unicode();
    uint16_t style[32] = {};
    const U_LOGFONT logfont =
        logfont_set(font.Height, 0, font.Escapement, font.Escapement, font.Weight, font.Italic,
                    font.Underline, font.StrikeOut, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS,
                    U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    U_LOGFONT_PANOSE full =
        logfont_panose_set(logfont, face, style, 0, panose_set(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    Append(U_EMREXTCREATEFONTINDIRECTW_set(uint32_t(index), nullptr, reinterpret_cast<const char*>(&full)));
}

void TEmfWriter::EmitSelect(int index)
{
    Append(U_EMRSELECTOBJECT_set(uint32_t(index)));
}
void TEmfWriter::EmitDelete(int index)
{
    Append(U_EMRDELETEOBJECT_set(uint32_t(index)));
}

void TEmfWriter::EmitDeselectAll()
{
    // Stock objects, so that no object of the file is selected when deleted.
    if (ObjectSlots() == 0) return;
    Append(U_EMRSELECTOBJECT_set(U_BLACK_PEN));
    Append(U_EMRSELECTOBJECT_set(U_WHITE_BRUSH));
    Append(U_EMRSELECTOBJECT_set(U_SYSTEM_FONT));
}

void TEmfWriter::EmitSaveDc()
{
    Append(U_EMRSAVEDC_set());
}
void TEmfWriter::EmitRestoreDc()
{
    Append(U_EMRRESTOREDC_set(-1));
}
void TEmfWriter::EmitIntersectClip(const TGdiRect& rect)
{
    Append(U_EMRINTERSECTCLIPRECT_set(RectL(rect)));
}
void TEmfWriter::EmitTextColor(uint32_t color)
{
    Append(U_EMRSETTEXTCOLOR_set(Ref(color)));
}
void TEmfWriter::EmitBkMode(bool opaque)
{
    Append(U_EMRSETBKMODE_set(opaque ? U_OPAQUE : U_TRANSPARENT));
}
void TEmfWriter::EmitBkColor(uint32_t color)
{
    Append(U_EMRSETBKCOLOR_set(Ref(color)));
}
void TEmfWriter::EmitTextAlign(uint16_t align)
{
    Append(U_EMRSETTEXTALIGN_set(align));
}
void TEmfWriter::EmitPolyFillMode(bool winding)
{
    Append(U_EMRSETPOLYFILLMODE_set(winding ? U_WINDING : U_ALTERNATE));
}

// A polyline or polygon record, in the 16-bit form where the points fit it:
// that halves the size of long curves.
template <class Set16, class Set32>
void TEmfWriter::AppendPoints(std::span<const QPoint> points, Set16 set16, Set32 set32)
{
    if (FitsIn16(points)) {
        const std::vector<U_POINT16> pts = Points16(points);
        Append(set16(Bounds(points), uint32_t(pts.size()), pts.data()));
    } else {
        const std::vector<U_POINTL> pts = Points32(points);
        Append(set32(Bounds(points), uint32_t(pts.size()), pts.data()));
    }
}

void TEmfWriter::EmitPolyline(std::span<const QPoint> points)
{
    AppendPoints(points, U_EMRPOLYLINE16_set, U_EMRPOLYLINE_set);
}

void TEmfWriter::EmitPolygon(std::span<const QPoint> points)
{
    AppendPoints(points, U_EMRPOLYGON16_set, U_EMRPOLYGON_set);
}

void TEmfWriter::EmitPolyPolygon(const std::vector<std::vector<QPoint>>& polygons)
{
    std::vector<uint32_t> counts;
    std::vector<QPoint> all;
    for (const auto& polygon : polygons) {
        counts.push_back(uint32_t(polygon.size()));
        all.insert(all.end(), polygon.begin(), polygon.end());
    }
    if (FitsIn16(all)) {
        const std::vector<U_POINT16> pts = Points16(all);
        Append(U_EMRPOLYPOLYGON16_set(Bounds(all), uint32_t(counts.size()), counts.data(),
                                      uint32_t(pts.size()), pts.data()));
    } else {
        const std::vector<U_POINTL> pts = Points32(all);
        Append(U_EMRPOLYPOLYGON_set(Bounds(all), uint32_t(counts.size()), counts.data(), uint32_t(pts.size()),
                                    pts.data()));
    }
}

void TEmfWriter::EmitRectangle(const TGdiRect& rect)
{
    Append(U_EMRRECTANGLE_set(RectL(rect)));
}

void TEmfWriter::EmitText(QPoint origin, const QString& text, const std::vector<int>& dx)
{
    std::vector<uint16_t> chars(size_t(text.size()) + 1, 0);
    std::vector<uint32_t> advances(size_t(text.size()), 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        chars[size_t(i)] = text[i].unicode();
        if (size_t(i) < dx.size()) advances[size_t(i)] = uint32_t(std::max(dx[size_t(i)], 0));
    }
    const U_RECTL none = rectl_set(point32_set(0, 0), point32_set(-1, -1)); // "not computed"
    char* emrtext =
        emrtext_set(P32(origin), uint32_t(text.size()), 2, chars.data(), 0, none, advances.data());
    if (!emrtext) return;
    // The scales relate page units to 0.01 mm; readers of device-unit files ignore them.
    const float scale = float(2540.0 / Dpi());
    Append(U_EMREXTTEXTOUTW_set(none, GraphicsModeCompatible, scale, scale,
                                reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
}

void TEmfWriter::EmitPixel(QPoint point, uint32_t color)
{
    Append(U_EMRSETPIXELV_set(P32(point), Ref(color)));
}

void TEmfWriter::EmitImage(const TGdiRect& dest, const QImage& image)
{
    QByteArray bits = DibBits32(image);
    U_BITMAPINFOHEADER header = bitmapinfoheader_set(image.width(), image.height(), 1, 32, U_BI_RGB,
                                                     uint32_t(bits.size()), 0, 0, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    if (!info) return;
    const U_RECTL bounds =
        rectl_set(point32_set(dest.Left, dest.Top), point32_set(dest.Right - 1, dest.Bottom - 1));
    Append(U_EMRSTRETCHDIBITS_set(bounds, point32_set(dest.Left, dest.Top),
                                  point32_set(dest.Right - dest.Left, dest.Bottom - dest.Top),
                                  point32_set(0, 0), point32_set(image.width(), image.height()),
                                  U_DIB_RGB_COLORS, U_SRCCOPY, info, uint32_t(bits.size()), bits.data()));
    std::free(info);
}

QByteArray TEmfWriter::Assemble()
{
    const int w = Size().width(), h = Size().height();
    // Bounds in device pixels and frame in 0.01 mm, both with their edges included.
    const U_RECTL bounds = rectl_set(point32_set(0, 0), point32_set(w - 1, h - 1));
    const auto hundredthsMm = [this](int pixels) { return int32_t(std::lround(pixels * 2540.0 / Dpi())); };
    const U_RECTL frame = rectl_set(point32_set(0, 0), point32_set(hundredthsMm(w) - 1, hundredthsMm(h) - 1));
    // A reference device of exactly one metre (100 inches) square: its pixel
    // to millimetre ratio is exact for any resolution.
    const U_SIZEL device = sizel_set(Dpi() * 100, Dpi() * 100);
    const U_SIZEL millimetres = sizel_set(2540, 2540);
    char* header = U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, device, millimetres, 0);
    if (!header) return {};
    uint32_t headerBytes = 0;
    std::memcpy(&headerBytes, header + 4, sizeof headerBytes);
    QByteArray out(header, qsizetype(headerBytes));
    std::free(header);

    out.append(records_);
    // End of file: no palette entries; the last field repeats the record size.
    const uint32_t eof[5] = {U_EMR_EOF, 20, 0, 16, 20};
    for (uint32_t v : eof) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
        out.append(char((v >> 16) & 0xFF));
        out.append(char((v >> 24) & 0xFF));
    }
    Patch32(out, HeaderBytesAt, uint32_t(out.size()));
    Patch32(out, HeaderRecordsAt, recordCount_ + 2);
    const uint32_t handles = uint32_t(ObjectSlots() + 1); // entry 0 is the file itself
    out[HeaderHandlesAt] = char(handles & 0xFF);
    out[HeaderHandlesAt + 1] = char((handles >> 8) & 0xFF);
    return out;
}

} // namespace qrv
