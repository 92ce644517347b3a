// An independent reader for the metafiles the tests produce: it splits a WMF
// or EMF file into its header fields and records, checks the framing (sizes,
// counts, checksum, end record) and replays the object table so tests can
// ask which records were written and whether every object was used rightly.
// It shares no code with the writer.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace qrv::test
{

// WMF function numbers and EMF record types the tests look for.
namespace wmf
{
inline constexpr uint32_t Eof = 0x0000, SaveDc = 0x001E, RestoreDc = 0x0127, SelectObject = 0x012D,
                          DeleteObject = 0x01F0, CreatePen = 0x02FA, CreateBrush = 0x02FC,
                          CreateFont = 0x02FB, Polyline = 0x0325, Polygon = 0x0324, Rectangle = 0x041B,
                          IntersectClip = 0x0416, ExtTextOut = 0x0A32, SetTextAlign = 0x012E,
                          SetBkMode = 0x0102, SetPixel = 0x041F, StretchDib = 0x0F43;
} // namespace wmf
namespace emf
{
inline constexpr uint32_t Header = 1, Eof = 14, SaveDc = 33, RestoreDc = 34, SelectObject = 37,
                          CreatePen = 38, ExtCreatePen = 95, CreateBrush = 39, DeleteObject = 40,
                          Rectangle = 43, IntersectClip = 30, CreateFont = 82, ExtTextOutW = 84,
                          Polygon16 = 86, Polyline16 = 87, Polyline = 4, SetTextAlign = 22, SetBkMode = 18,
                          StretchDiBits = 81;
} // namespace emf

struct TRecord {
    uint32_t Type = 0;
    QByteArray Bytes; // the whole record
    uint16_t U16(int at) const;
    int16_t I16(int at) const { return int16_t(U16(at)); }
    uint32_t U32(int at) const;
    int32_t I32(int at) const { return int32_t(U32(at)); }
};

struct TMetafile {
    std::string Error; // empty when the framing is sound
    bool Enhanced = false;
    // WMF: placeable bounding box and units per inch; EMF: bounds (edges
    // included), frame in 0.01 mm.
    int Left = 0, Top = 0, Right = 0, Bottom = 0, UnitsPerInch = 0;
    int FrameRight = 0, FrameBottom = 0;
    int ObjectSlots = 0; // WMF nObjects, EMF nHandles
    std::vector<TRecord> Records;

    std::vector<const TRecord*> OfType(uint32_t type) const;
    size_t Count(uint32_t type) const { return OfType(type).size(); }
};

TMetafile ReadWmf(const QByteArray& file);
TMetafile ReadEmf(const QByteArray& file);

// Replays creations, selections, deletions and SaveDC/RestoreDC: returns a
// description of the first misuse (selecting or deleting a missing object,
// deleting one a saved state still holds, a table larger than declared,
// unbalanced saves, objects never deleted), or an empty string.
std::string CheckObjects(const TMetafile& file);

// Points of a WMF POLYLINE/POLYGON or EMF POLYLINE16/POLYGON16 record.
std::vector<std::pair<int, int>> PolyPoints(const TMetafile& file, const TRecord& record);

// Text of a WMF EXTTEXTOUT or EMF EXTTEXTOUTW record, its reference point and advances.
struct TTextRun {
    QString Text;
    int X = 0, Y = 0;
    std::vector<int> Dx;
};
TTextRun TextRun(const TMetafile& file, const TRecord& record);

// Face name and height of a font-creating record.
struct TFontInfo {
    QString Face;
    int Height = 0;
};
TFontInfo FontInfo(const TMetafile& file, const TRecord& record);

} // namespace qrv::test
