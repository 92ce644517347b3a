#include "QrvGdiRecorder.h"

#include "QrvClipGeometry.h"

#include <algorithm>

namespace qrv
{

namespace
{

// Text is placed by its baseline, so Qt's baseline origin can be used as is.
constexpr uint16_t TextAlignBaseline = 0x18;

const TGdiPen NullPen{GdiPenStyle::Null, 0, 0};
const TGdiBrush NullBrush{GdiBrushStyle::Null, 0, GdiHatch::Horizontal};

std::vector<QPoint> WithoutRepeats(std::span<const QPoint> points)
{
    std::vector<QPoint> out;
    out.reserve(points.size());
    for (const QPoint& p : points)
        if (out.empty() || out.back() != p) out.push_back(p);
    return out;
}

} // namespace

void TGdiRecorder::SetBackground(bool opaque, uint32_t color)
{
    FWantBkOpaque = opaque;
    FWantBkColor = color;
}

void TGdiRecorder::Polyline(std::span<const QPoint> points)
{
    if (FFinished || points.empty() || FWantPen.Style == GdiPenStyle::Null) return;
    const std::optional<TClipBox> box = GeometryBox();
    if (!box) return;
    const std::vector<QPoint> pts = WithoutRepeats(points);
    if (pts.size() == 1) {
        // A line of no length: Qt still marks its pixel, a GDI line would not.
        if (box->Contains(pts.front())) Pixel(pts.front(), FWantPen.Color);
        return;
    }
    for (const std::vector<QPoint>& part : ClipPolyline(pts, *box))
        AddPolyline(part);
}

void TGdiRecorder::AddPolyline(const std::vector<QPoint>& pts)
{
    RealizeClip();
    RealizePen(FWantPen);
    if (!FPending.empty() && FPending.back() == pts.front())
        FPending.insert(FPending.end(), pts.begin() + 1, pts.end());
    else {
        FlushPending();
        FPending = pts;
    }
    // Split only where a record would exceed the format; the pieces share
    // their end points so the line stays unbroken.
    const size_t max = MaxPolyPoints();
    while (FPending.size() > max) {
        EmitPolyline(std::span<const QPoint>(FPending.data(), max));
        FPending.erase(FPending.begin(), FPending.begin() + std::ptrdiff_t(max - 1));
    }
}

std::optional<TClipBox> TGdiRecorder::GeometryBox() const
{
    TGdiRect area{0, 0, FSize.width(), FSize.height()};
    if (FWantClip)
        area = {std::max(area.Left, FWantClip->Left), std::max(area.Top, FWantClip->Top),
                std::min(area.Right, FWantClip->Right), std::min(area.Bottom, FWantClip->Bottom)};
    if (area.IsEmpty()) return std::nullopt; // nothing can show
    // Wide enough that a line's width never reaches into the visible area
    // from outside the box: the reader's clip cuts the exact edge.
    const int margin = std::clamp(FWantPen.Width, 1, 1000) + 2;
    return TClipBox{area.Left - margin, area.Top - margin, area.Right - 1 + margin, area.Bottom - 1 + margin};
}

void TGdiRecorder::Polygon(std::span<const QPoint> points, bool stroke, bool fill)
{
    if (FFinished || points.empty() || (!stroke && !fill)) return;
    const std::optional<TClipBox> box = GeometryBox();
    if (!box) return;
    std::vector<QPoint> pts = WithoutRepeats(points);
    if (pts.size() > 1 && pts.front() == pts.back()) pts.pop_back();
    if (pts.size() < 3) {
        // Nothing to fill: what remains is at most a line.
        if (stroke) Polyline(pts);
        return;
    }
    pts = ClipPolygon(pts, *box);
    if (pts.size() < 3) return; // nothing of it can show
    if (pts.size() > MaxPolyPoints()) {
        // Too many corners for one record: keep the outline, the fill cannot
        // be split without changing the shape.
        if (stroke) {
            pts.push_back(pts.front());
            Polyline(pts);
        }
        return;
    }
    RealizeClip();
    RealizePen(stroke ? FWantPen : NullPen);
    RealizeBrush(fill ? FWantBrush : NullBrush);
    RealizeFillMode();
    FlushPending();
    EmitPolygon(pts);
}

void TGdiRecorder::FillPolyPolygon(const std::vector<std::vector<QPoint>>& polygons)
{
    if (FFinished) return;
    const std::optional<TClipBox> box = GeometryBox();
    if (!box) return;
    std::vector<std::vector<QPoint>> polys;
    size_t total = 0;
    for (const auto& polygon : polygons) {
        std::vector<QPoint> pts = WithoutRepeats(polygon);
        if (pts.size() >= 3) pts = ClipPolygon(pts, *box);
        if (pts.size() < 3 || pts.size() > MaxPolyPoints() || total + pts.size() > MaxPolyPoints()) continue;
        total += pts.size();
        polys.push_back(std::move(pts));
    }
    if (polys.empty()) return;
    RealizeClip();
    RealizePen(NullPen);
    RealizeBrush(FWantBrush);
    RealizeFillMode();
    FlushPending();
    if (polys.size() == 1)
        EmitPolygon(polys.front());
    else
        EmitPolyPolygon(polys);
}

void TGdiRecorder::Rectangle(const TGdiRect& rect, bool stroke, bool fill)
{
    if (FFinished || (!stroke && !fill)) return;
    const std::optional<TClipBox> box = GeometryBox();
    if (!box) return;
    const TGdiRect cut{std::max(rect.Left, box->Left), std::max(rect.Top, box->Top),
                       std::min(rect.Right, box->Right + 1), std::min(rect.Bottom, box->Bottom + 1)};
    if (cut.IsEmpty()) return;
    RealizeClip();
    RealizePen(stroke ? FWantPen : NullPen);
    RealizeBrush(fill ? FWantBrush : NullBrush);
    FlushPending();
    EmitRectangle(cut);
}

void TGdiRecorder::Text(QPoint origin, const QString& text, const std::vector<int>& dx)
{
    if (FFinished || text.isEmpty()) return;
    RealizeClip();
    RealizeFont(FWantFont);
    FlushPending();
    if (FDc.TextColor != FWantTextColor) EmitTextColor(FDc.TextColor = FWantTextColor);
    if (FDc.BkOpaque != FWantBkOpaque) EmitBkMode(FDc.BkOpaque = FWantBkOpaque);
    if (FWantBkOpaque && FDc.BkColor != FWantBkColor) EmitBkColor(FDc.BkColor = FWantBkColor);
    if (FDc.TextAlign != TextAlignBaseline) EmitTextAlign(FDc.TextAlign = TextAlignBaseline);
    EmitText(origin, text, dx);
}

void TGdiRecorder::Pixel(QPoint point, uint32_t color)
{
    if (FFinished) return;
    if (const std::optional<TClipBox> box = GeometryBox(); !box || !box->Contains(point)) return;
    RealizeClip();
    FlushPending();
    EmitPixel(point, color);
}

void TGdiRecorder::Image(const TGdiRect& dest, const QImage& image)
{
    if (FFinished || dest.IsEmpty() || image.isNull()) return;
    RealizeClip();
    FlushPending();
    EmitImage(dest, image);
}

QByteArray TGdiRecorder::Finish()
{
    if (FFinished) return FResult;
    FlushPending();
    FWantClip.reset();
    RealizeClip();
    while (!FSaved.empty())
        RestoreDc();
    EmitDeselectAll();
    for (size_t slot = 0; slot < FSlots.size(); ++slot)
        if (FSlots[slot].Used) {
            EmitDelete(FirstObjectIndex() + int(slot));
            FSlots[slot].Used = false;
        }
    FDc.Pen = FDc.Brush = FDc.Font = -1;
    FFinished = true;
    FResult = Assemble();
    return FResult;
}

void TGdiRecorder::RealizeClip()
{
    if (FWantClip == FClip) return;
    FlushPending();
    if (FClip) RestoreDc();
    if (FWantClip) {
        EmitSaveDc();
        FSaved.push_back(FDc);
        EmitIntersectClip(*FWantClip);
    }
    FClip = FWantClip;
}

void TGdiRecorder::RestoreDc()
{
    EmitRestoreDc();
    const TDcState live = FDc;
    FDc = FSaved.back();
    FSaved.pop_back();
    // The restore brings back the objects selected at the save; the objects
    // in use just before stay selected instead, so they need not be made
    // again, and the restored ones are deleted if nothing else holds them.
    const auto keep = [this](int liveSlot, int& dcSlot) {
        if (liveSlot == dcSlot || liveSlot < 0) return;
        const int old = dcSlot;
        EmitSelect(FirstObjectIndex() + liveSlot);
        dcSlot = liveSlot;
        Release(old);
    };
    keep(live.Pen, FDc.Pen);
    keep(live.Brush, FDc.Brush);
    keep(live.Font, FDc.Font);
}

void TGdiRecorder::RealizePen(const TGdiPen& pen)
{
    if (FDc.Pen >= 0 && FSlots[size_t(FDc.Pen)].Pen == pen) return;
    FlushPending();
    int slot = FindSlot(ObjKind::Pen, &pen, nullptr, nullptr);
    if (slot < 0) {
        slot = NewSlot(ObjKind::Pen);
        FSlots[size_t(slot)].Pen = pen;
        EmitCreatePen(FirstObjectIndex() + slot, pen);
    }
    SelectSlot(FDc.Pen, slot);
}

void TGdiRecorder::RealizeBrush(const TGdiBrush& brush)
{
    if (FDc.Brush >= 0 && FSlots[size_t(FDc.Brush)].Brush == brush) return;
    FlushPending();
    int slot = FindSlot(ObjKind::Brush, nullptr, &brush, nullptr);
    if (slot < 0) {
        slot = NewSlot(ObjKind::Brush);
        FSlots[size_t(slot)].Brush = brush;
        EmitCreateBrush(FirstObjectIndex() + slot, brush);
    }
    SelectSlot(FDc.Brush, slot);
}

void TGdiRecorder::RealizeFont(const TGdiFont& font)
{
    if (FDc.Font >= 0 && FSlots[size_t(FDc.Font)].Font == font) return;
    FlushPending();
    int slot = FindSlot(ObjKind::Font, nullptr, nullptr, &font);
    if (slot < 0) {
        slot = NewSlot(ObjKind::Font);
        FSlots[size_t(slot)].Font = font;
        EmitCreateFont(FirstObjectIndex() + slot, font);
    }
    SelectSlot(FDc.Font, slot);
}

void TGdiRecorder::RealizeFillMode()
{
    if (FDc.Winding == FWantWinding) return;
    FlushPending();
    EmitPolyFillMode(FDc.Winding = FWantWinding);
}

void TGdiRecorder::SelectSlot(int& current, int slot)
{
    const int old = current;
    EmitSelect(FirstObjectIndex() + slot);
    current = slot;
    Release(old);
}

int TGdiRecorder::FindSlot(ObjKind kind, const TGdiPen* pen, const TGdiBrush* brush,
                           const TGdiFont* font) const
{
    for (size_t i = 0; i < FSlots.size(); ++i) {
        const TSlot& s = FSlots[i];
        if (!s.Used || s.Kind != kind) continue;
        if ((pen && s.Pen == *pen) || (brush && s.Brush == *brush) || (font && s.Font == *font))
            return int(i);
    }
    return -1;
}

int TGdiRecorder::NewSlot(ObjKind kind)
{
    // The formats give a new object the lowest free table entry.
    auto it = std::find_if(FSlots.begin(), FSlots.end(), [](const TSlot& s) { return !s.Used; });
    if (it == FSlots.end()) it = FSlots.insert(FSlots.end(), TSlot{});
    *it = TSlot{};
    it->Used = true;
    it->Kind = kind;
    return int(it - FSlots.begin());
}

bool TGdiRecorder::IsReferenced(int slot) const
{
    const auto holds = [slot](const TDcState& s) {
        return s.Pen == slot || s.Brush == slot || s.Font == slot;
    };
    return holds(FDc) || std::any_of(FSaved.begin(), FSaved.end(), holds);
}

void TGdiRecorder::Release(int slot)
{
    // An object a saved state still refers to must outlive the RestoreDC
    // that selects it again; it is released after that restore.
    if (slot < 0 || IsReferenced(slot)) return;
    EmitDelete(FirstObjectIndex() + slot);
    FSlots[size_t(slot)].Used = false;
}

void TGdiRecorder::FlushPending()
{
    if (FPending.size() >= 2) EmitPolyline(FPending);
    FPending.clear();
}

} // namespace qrv
