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
    wantBkOpaque_ = opaque;
    wantBkColor_ = color;
}

void TGdiRecorder::Polyline(std::span<const QPoint> points)
{
    if (finished_ || points.empty() || wantPen_.Style == GdiPenStyle::Null) return;
    const std::optional<TClipBox> box = GeometryBox();
    if (!box) return;
    const std::vector<QPoint> pts = WithoutRepeats(points);
    if (pts.size() == 1) {
        // A line of no length: Qt still marks its pixel, a GDI line would not.
        if (box->Contains(pts.front())) Pixel(pts.front(), wantPen_.Color);
        return;
    }
    for (const std::vector<QPoint>& part : ClipPolyline(pts, *box))
        AddPolyline(part);
}

void TGdiRecorder::AddPolyline(const std::vector<QPoint>& pts)
{
    RealizeClip();
    RealizePen(wantPen_);
    if (!pending_.empty() && pending_.back() == pts.front())
        pending_.insert(pending_.end(), pts.begin() + 1, pts.end());
    else {
        FlushPending();
        pending_ = pts;
    }
    // Split only where a record would exceed the format; the pieces share
    // their end points so the line stays unbroken.
    const size_t max = MaxPolyPoints();
    while (pending_.size() > max) {
        EmitPolyline(std::span<const QPoint>(pending_.data(), max));
        pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(max - 1));
    }
}

std::optional<TClipBox> TGdiRecorder::GeometryBox() const
{
    TGdiRect area{0, 0, size_.width(), size_.height()};
    if (wantClip_)
        area = {std::max(area.Left, wantClip_->Left), std::max(area.Top, wantClip_->Top),
                std::min(area.Right, wantClip_->Right), std::min(area.Bottom, wantClip_->Bottom)};
    if (area.IsEmpty()) return std::nullopt; // nothing can show
    // Wide enough that a line's width never reaches into the visible area
    // from outside the box: the reader's clip cuts the exact edge.
    const int margin = std::clamp(wantPen_.Width, 1, 1000) + 2;
    return TClipBox{area.Left - margin, area.Top - margin, area.Right - 1 + margin, area.Bottom - 1 + margin};
}

void TGdiRecorder::Polygon(std::span<const QPoint> points, bool stroke, bool fill)
{
    if (finished_ || points.empty() || (!stroke && !fill)) return;
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
    RealizePen(stroke ? wantPen_ : NullPen);
    RealizeBrush(fill ? wantBrush_ : NullBrush);
    RealizeFillMode();
    FlushPending();
    EmitPolygon(pts);
}

void TGdiRecorder::FillPolyPolygon(const std::vector<std::vector<QPoint>>& polygons)
{
    if (finished_) return;
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
    RealizeBrush(wantBrush_);
    RealizeFillMode();
    FlushPending();
    if (polys.size() == 1)
        EmitPolygon(polys.front());
    else
        EmitPolyPolygon(polys);
}

void TGdiRecorder::Rectangle(const TGdiRect& rect, bool stroke, bool fill)
{
    if (finished_ || (!stroke && !fill)) return;
    const std::optional<TClipBox> box = GeometryBox();
    if (!box) return;
    const TGdiRect cut{std::max(rect.Left, box->Left), std::max(rect.Top, box->Top),
                       std::min(rect.Right, box->Right + 1), std::min(rect.Bottom, box->Bottom + 1)};
    if (cut.IsEmpty()) return;
    RealizeClip();
    RealizePen(stroke ? wantPen_ : NullPen);
    RealizeBrush(fill ? wantBrush_ : NullBrush);
    FlushPending();
    EmitRectangle(cut);
}

void TGdiRecorder::Text(QPoint origin, const QString& text, const std::vector<int>& dx)
{
    if (finished_ || text.isEmpty()) return;
    RealizeClip();
    RealizeFont(wantFont_);
    FlushPending();
    if (dc_.TextColor != wantTextColor_) EmitTextColor(dc_.TextColor = wantTextColor_);
    if (dc_.BkOpaque != wantBkOpaque_) EmitBkMode(dc_.BkOpaque = wantBkOpaque_);
    if (wantBkOpaque_ && dc_.BkColor != wantBkColor_) EmitBkColor(dc_.BkColor = wantBkColor_);
    if (dc_.TextAlign != TextAlignBaseline) EmitTextAlign(dc_.TextAlign = TextAlignBaseline);
    EmitText(origin, text, dx);
}

void TGdiRecorder::Pixel(QPoint point, uint32_t color)
{
    if (finished_) return;
    if (const std::optional<TClipBox> box = GeometryBox(); !box || !box->Contains(point)) return;
    RealizeClip();
    FlushPending();
    EmitPixel(point, color);
}

void TGdiRecorder::Image(const TGdiRect& dest, const QImage& image)
{
    if (finished_ || dest.IsEmpty() || image.isNull()) return;
    RealizeClip();
    FlushPending();
    EmitImage(dest, image);
}

QByteArray TGdiRecorder::Finish()
{
    if (finished_) return result_;
    FlushPending();
    wantClip_.reset();
    RealizeClip();
    while (!saved_.empty())
        RestoreDc();
    EmitDeselectAll();
    for (size_t slot = 0; slot < slots_.size(); ++slot)
        if (slots_[slot].Used) {
            EmitDelete(FirstObjectIndex() + int(slot));
            slots_[slot].Used = false;
        }
    dc_.Pen = dc_.Brush = dc_.Font = -1;
    finished_ = true;
    result_ = Assemble();
    return result_;
}

void TGdiRecorder::RealizeClip()
{
    if (wantClip_ == clip_) return;
    FlushPending();
    if (clip_) RestoreDc();
    if (wantClip_) {
        EmitSaveDc();
        saved_.push_back(dc_);
        EmitIntersectClip(*wantClip_);
    }
    clip_ = wantClip_;
}

void TGdiRecorder::RestoreDc()
{
    EmitRestoreDc();
    const TDcState live = dc_;
    dc_ = saved_.back();
    saved_.pop_back();
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
    keep(live.Pen, dc_.Pen);
    keep(live.Brush, dc_.Brush);
    keep(live.Font, dc_.Font);
}

// Selects `object` into the context's place `current`: the slot that
// already holds it, or a new one created for it.
template <class T>
void TGdiRecorder::Realize(ObjKind kind, int TDcState::*current, T TSlot::*field, const T& object,
                           void (TGdiRecorder::*emitCreate)(int, const T&))
{
    const int held = dc_.*current;
    if (held >= 0 && slots_[size_t(held)].*field == object) return;
    FlushPending();
    auto found = std::find_if(slots_.begin(), slots_.end(),
                              [&](const TSlot& s) { return s.Used && s.Kind == kind && s.*field == object; });
    int slot = found == slots_.end() ? -1 : int(found - slots_.begin());
    if (slot < 0) {
        slot = NewSlot(kind);
        slots_[size_t(slot)].*field = object;
        (this->*emitCreate)(FirstObjectIndex() + slot, object);
    }
    SelectSlot(dc_.*current, slot);
}

void TGdiRecorder::RealizePen(const TGdiPen& pen)
{
    Realize(ObjKind::Pen, &TDcState::Pen, &TSlot::Pen, pen, &TGdiRecorder::EmitCreatePen);
}

void TGdiRecorder::RealizeBrush(const TGdiBrush& brush)
{
    Realize(ObjKind::Brush, &TDcState::Brush, &TSlot::Brush, brush, &TGdiRecorder::EmitCreateBrush);
}

void TGdiRecorder::RealizeFont(const TGdiFont& font)
{
    Realize(ObjKind::Font, &TDcState::Font, &TSlot::Font, font, &TGdiRecorder::EmitCreateFont);
}

void TGdiRecorder::RealizeFillMode()
{
    if (dc_.Winding == wantWinding_) return;
    FlushPending();
    EmitPolyFillMode(dc_.Winding = wantWinding_);
}

void TGdiRecorder::SelectSlot(int& current, int slot)
{
    const int old = current;
    EmitSelect(FirstObjectIndex() + slot);
    current = slot;
    Release(old);
}

int TGdiRecorder::NewSlot(ObjKind kind)
{
    // The formats give a new object the lowest free table entry.
    auto it = std::find_if(slots_.begin(), slots_.end(), [](const TSlot& s) { return !s.Used; });
    if (it == slots_.end()) it = slots_.insert(slots_.end(), TSlot{});
    *it = TSlot{};
    it->Used = true;
    it->Kind = kind;
    return int(it - slots_.begin());
}

bool TGdiRecorder::IsReferenced(int slot) const
{
    const auto holds = [slot](const TDcState& s) {
        return s.Pen == slot || s.Brush == slot || s.Font == slot;
    };
    return holds(dc_) || std::any_of(saved_.begin(), saved_.end(), holds);
}

void TGdiRecorder::Release(int slot)
{
    // An object a saved state still refers to must outlive the RestoreDC
    // that selects it again; it is released after that restore.
    if (slot < 0 || IsReferenced(slot)) return;
    EmitDelete(FirstObjectIndex() + slot);
    slots_[size_t(slot)].Used = false;
}

void TGdiRecorder::FlushPending()
{
    if (pending_.size() >= 2) EmitPolyline(pending_);
    pending_.clear();
}

} // namespace qrv
