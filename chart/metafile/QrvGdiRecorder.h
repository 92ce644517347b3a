// The device-context bookkeeping that both metafile writers share.
//
// Drawing calls arrive with the state they want (pen, brush, font, colours,
// clip rectangle); the recorder emits only the records that change the
// device context to that state, creates each logical object once while it is
// in use and deletes it as soon as nothing refers to it any more, so a long
// drawing never fills the object table. A clip rectangle is set inside a
// SaveDC/RestoreDC pair, the only portable way to widen a clip again.
//
// Geometry is cut to the visible area (see QrvClipGeometry.h) before it is
// recorded. Lines that continue one another (the end of one is the start of the next,
// with nothing in between) are gathered into one polyline record, so a curve
// drawn segment by segment costs one record, not one per segment.
//
// Subclasses encode the records; coordinates are device pixels.
#pragma once

#include "QrvClipGeometry.h"
#include "QrvGdiTypes.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <optional>
#include <span>
#include <vector>

namespace qrv
{

class TGdiRecorder
{
public:
    TGdiRecorder(QSize size, int dpi) : size_(size), dpi_(dpi) {}
    virtual ~TGdiRecorder() = default;
    TGdiRecorder(const TGdiRecorder&) = delete;
    TGdiRecorder& operator=(const TGdiRecorder&) = delete;

    // The state the next drawing calls use.
    void SetPen(const TGdiPen& pen) { wantPen_ = pen; }
    void SetBrush(const TGdiBrush& brush) { wantBrush_ = brush; }
    void SetFont(const TGdiFont& font) { wantFont_ = font; }
    void SetTextColor(uint32_t color) { wantTextColor_ = color; }
    void SetBackground(bool opaque, uint32_t color);
    void SetWindingFill(bool winding) { wantWinding_ = winding; }
    void SetClip(std::optional<TGdiRect> clip) { wantClip_ = clip; }

    void Polyline(std::span<const QPoint> points);
    void Polygon(std::span<const QPoint> points, bool stroke, bool fill);
    // Fills several polygons as one shape (holes follow the fill mode); no outline.
    void FillPolyPolygon(const std::vector<std::vector<QPoint>>& polygons);
    void Rectangle(const TGdiRect& rect, bool stroke, bool fill);
    // Text with its baseline starting at `origin`; dx holds the advance of each
    // character (one per UTF-16 unit of `text`).
    void Text(QPoint origin, const QString& text, const std::vector<int>& dx);
    void Pixel(QPoint point, uint32_t color);
    void Image(const TGdiRect& dest, const QImage& image);

    // Ends the drawing: closes any clip, deletes every object and returns the
    // complete file.
    QByteArray Finish();

    // Number of object-table slots the drawing needed at most.
    int ObjectSlots() const { return int(slots_.size()); }

protected:
    QSize Size() const { return size_; }
    int Dpi() const { return dpi_; }

    // Object indices start here (WMF 0, EMF 1: index 0 is the file itself).
    virtual int FirstObjectIndex() const = 0;
    // Largest point count of one poly record the format (and its readers) take.
    virtual size_t MaxPolyPoints() const = 0;

    virtual void EmitCreatePen(int index, const TGdiPen& pen) = 0;
    virtual void EmitCreateBrush(int index, const TGdiBrush& brush) = 0;
    virtual void EmitCreateFont(int index, const TGdiFont& font) = 0;
    virtual void EmitSelect(int index) = 0;
    virtual void EmitDelete(int index) = 0;
    // Called before the final deletes: objects still selected are swapped
    // out where the format allows it.
    virtual void EmitDeselectAll() {}
    virtual void EmitSaveDc() = 0;
    virtual void EmitRestoreDc() = 0;
    virtual void EmitIntersectClip(const TGdiRect& rect) = 0;
    virtual void EmitTextColor(uint32_t color) = 0;
    virtual void EmitBkMode(bool opaque) = 0;
    virtual void EmitBkColor(uint32_t color) = 0;
    virtual void EmitTextAlign(uint16_t align) = 0;
    virtual void EmitPolyFillMode(bool winding) = 0;
    virtual void EmitPolyline(std::span<const QPoint> points) = 0;
    virtual void EmitPolygon(std::span<const QPoint> points) = 0;
    virtual void EmitPolyPolygon(const std::vector<std::vector<QPoint>>& polygons) = 0;
    virtual void EmitRectangle(const TGdiRect& rect) = 0;
    virtual void EmitText(QPoint origin, const QString& text, const std::vector<int>& dx) = 0;
    virtual void EmitPixel(QPoint point, uint32_t color) = 0;
    virtual void EmitImage(const TGdiRect& dest, const QImage& image) = 0;
    // Header, the records emitted so far and the end-of-file record.
    virtual QByteArray Assemble() = 0;

private:
    enum class ObjKind { Pen, Brush, Font };
    struct TSlot {
        bool Used = false;
        ObjKind Kind = ObjKind::Pen;
        TGdiPen Pen;
        TGdiBrush Brush;
        TGdiFont Font;
    };
    // What the device context holds; -1: the context's own default object.
    struct TDcState {
        int Pen = -1;
        int Brush = -1;
        int Font = -1;
        uint32_t TextColor = 0;
        bool BkOpaque = true;
        uint32_t BkColor = GdiRgb(255, 255, 255);
        uint16_t TextAlign = 0;
        bool Winding = false;
    };

    void AddPolyline(const std::vector<QPoint>& points);
    // Where geometry is worth recording: the picture, cut by the clip, with a
    // margin for the pen; none when the clip leaves nothing visible.
    std::optional<TClipBox> GeometryBox() const;
    void RealizeClip();
    void RealizePen(const TGdiPen& pen);
    void RealizeBrush(const TGdiBrush& brush);
    void RealizeFont(const TGdiFont& font);
    void RealizeFillMode();
    template <class T>
    void Realize(ObjKind kind, int TDcState::*current, T TSlot::*field, const T& object,
                 void (TGdiRecorder::*emitCreate)(int, const T&));
    void SelectSlot(int& current, int slot);
    int NewSlot(ObjKind kind);
    void Release(int slot);
    bool IsReferenced(int slot) const;
    void RestoreDc();
    void FlushPending();

    QSize size_;
    int dpi_;

    TGdiPen wantPen_;
    TGdiBrush wantBrush_;
    TGdiFont wantFont_;
    uint32_t wantTextColor_ = 0;
    bool wantBkOpaque_ = false;
    uint32_t wantBkColor_ = GdiRgb(255, 255, 255);
    bool wantWinding_ = false;
    std::optional<TGdiRect> wantClip_;

    TDcState dc_;
    std::vector<TDcState> saved_;
    std::optional<TGdiRect> clip_;
    std::vector<TSlot> slots_; // index i is object index FirstObjectIndex() + i
    std::vector<QPoint> pending_;
    bool finished_ = false;
    QByteArray result_;
};

} // namespace qrv
