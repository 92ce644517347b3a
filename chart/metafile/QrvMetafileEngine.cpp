#include "QrvMetafileEngine.h"

#include "QrvDashes.h"
#include "QrvEmfWriter.h"
#include "QrvWmfWriter.h"

#include <QFontMetricsF>
#include <QGradient>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qrv
{

namespace
{

// Device pixels as integers. Values far outside any picture are pinned
// (converting them unchecked would be undefined); the writers clamp further
// to what their format stores.
int Px(double v)
{
    if (!std::isfinite(v)) return 0;
    return int(std::lround(std::clamp(v, -double(1 << 28), double(1 << 28))));
}

uint32_t Rgb(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return GdiRgb(rgb.red(), rgb.green(), rgb.blue());
}

// How much the transform stretches lengths (the geometric mean of its axes).
double Scale(const QTransform& t)
{
    return std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
}

TGdiPen ToGdiPen(const QPen& pen, const QTransform& t)
{
    if (pen.style() == Qt::NoPen || pen.brush().style() == Qt::NoBrush || pen.color().alpha() == 0)
        return {GdiPenStyle::Null, 0, 0};
    TGdiPen out;
    switch (pen.style()) {
    case Qt::DashLine:
    case Qt::CustomDashLine:
        out.Style = GdiPenStyle::Dash;
        break;
    case Qt::DotLine:
        out.Style = GdiPenStyle::Dot;
        break;
    case Qt::DashDotLine:
        out.Style = GdiPenStyle::DashDot;
        break;
    case Qt::DashDotDotLine:
        out.Style = GdiPenStyle::DashDotDot;
        break;
    default:
        out.Style = GdiPenStyle::Solid;
        break;
    }
    const double width = pen.isCosmetic() ? pen.widthF() : pen.widthF() * Scale(t);
    out.Width = width <= 0 ? 0 : std::max(1, Px(width));
    out.Color = Rgb(pen.color());
    if (out.IsGeometric()) {
        out.EndCap = pen.capStyle() == Qt::FlatCap     ? GdiEndCap::Flat
                     : pen.capStyle() == Qt::SquareCap ? GdiEndCap::Square
                                                       : GdiEndCap::Round;
        out.Join = pen.joinStyle() == Qt::RoundJoin   ? GdiLineJoin::Round
                   : pen.joinStyle() == Qt::BevelJoin ? GdiLineJoin::Bevel
                                                      : GdiLineJoin::Miter;
    }
    return out;
}

QColor BrushColor(const QBrush& brush)
{
    if (const QGradient* g = brush.gradient(); g && !g->stops().isEmpty()) return g->stops().front().second;
    return brush.color();
}

TGdiBrush ToGdiBrush(const QBrush& brush)
{
    if (brush.style() == Qt::NoBrush || BrushColor(brush).alpha() == 0)
        return {GdiBrushStyle::Null, 0, GdiHatch::Horizontal};
    TGdiBrush out{GdiBrushStyle::Hatched, Rgb(BrushColor(brush)), GdiHatch::Horizontal};
    switch (brush.style()) {
    case Qt::HorPattern:
        out.Hatch = GdiHatch::Horizontal;
        break;
    case Qt::VerPattern:
        out.Hatch = GdiHatch::Vertical;
        break;
    case Qt::CrossPattern:
        out.Hatch = GdiHatch::Cross;
        break;
    case Qt::BDiagPattern:
        out.Hatch = GdiHatch::BDiagonal;
        break;
    case Qt::FDiagPattern:
        out.Hatch = GdiHatch::FDiagonal;
        break;
    case Qt::DiagCrossPattern:
        out.Hatch = GdiHatch::DiagCross;
        break;
    default: // solid, dense patterns, gradients, textures: one colour
        out.Style = GdiBrushStyle::Solid;
        break;
    }
    return out;
}

TGdiRect Normalized(TGdiRect r)
{
    if (r.Right < r.Left) std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
    return r;
}

} // namespace

TMetafilePaintEngine::TMetafilePaintEngine(MetafileKind kind, QSize size, int dpi)
    : QPaintEngine(QPaintEngine::AllFeatures), kind_(kind), dpi_(dpi)
{
    if (kind == MetafileKind::Wmf)
        recorder_ = std::make_unique<TWmfWriter>(size, dpi);
    else
        recorder_ = std::make_unique<TEmfWriter>(size, dpi);
}

TMetafilePaintEngine::~TMetafilePaintEngine() = default;

bool TMetafilePaintEngine::begin(QPaintDevice*)
{
    return !finished_;
}

bool TMetafilePaintEngine::end()
{
    return true;
}

QByteArray TMetafilePaintEngine::Finish()
{
    finished_ = true;
    return recorder_->Finish();
}

QPoint TMetafilePaintEngine::Map(const QPointF& p) const
{
    const QPointF m = transform_.map(p);
    return {Px(m.x()), Px(m.y())};
}

std::vector<QPoint> TMetafilePaintEngine::Map(const QPointF* points, int count) const
{
    std::vector<QPoint> out;
    out.reserve(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        out.push_back(Map(points[i]));
    return out;
}

bool TMetafilePaintEngine::PenVisible() const
{
    return ToGdiPen(pen_, transform_).Style != GdiPenStyle::Null;
}

bool TMetafilePaintEngine::BrushVisible() const
{
    return ToGdiBrush(brush_).Style != GdiBrushStyle::Null;
}

void TMetafilePaintEngine::updateState(const QPaintEngineState& state)
{
    const DirtyFlags flags = state.state();
    // The transform first: a clip arrives in the coordinates of the transform
    // sent with it (QPainter::restore replays clips that way).
    if (flags & DirtyTransform) transform_ = state.transform();
    if (flags & DirtyPen) pen_ = state.pen();
    if (flags & DirtyBrush) brush_ = state.brush();
    if (flags & (DirtyBackground | DirtyBackgroundMode))
        recorder_->SetBackground(state.backgroundMode() == Qt::OpaqueMode,
                                 Rgb(state.backgroundBrush().color()));
    if (flags & DirtyClipRegion)
        ApplyClip(state.clipOperation(), transform_.mapRect(QRectF(state.clipRegion().boundingRect())));
    if (flags & DirtyClipPath)
        ApplyClip(state.clipOperation(), transform_.map(state.clipPath()).boundingRect());
    if (flags & DirtyClipEnabled) clipEnabled_ = state.isClipEnabled();

    recorder_->SetPen(ToGdiPen(pen_, transform_));
    recorder_->SetBrush(ToGdiBrush(brush_));
    recorder_->SetTextColor(Rgb(pen_.color()));
    recorder_->SetClip(clipEnabled_ ? clip_ : std::nullopt);
}

void TMetafilePaintEngine::ApplyClip(Qt::ClipOperation op, const QRectF& deviceRect)
{
    TGdiRect r = Normalized(
        {Px(deviceRect.left()), Px(deviceRect.top()), Px(deviceRect.right()), Px(deviceRect.bottom())});
    switch (op) {
    case Qt::NoClip:
        clip_.reset();
        return;
    case Qt::ReplaceClip:
        clip_ = r;
        break;
    case Qt::IntersectClip:
        if (clip_)
            clip_ = TGdiRect{std::max(clip_->Left, r.Left), std::max(clip_->Top, r.Top),
                             std::min(clip_->Right, r.Right), std::min(clip_->Bottom, r.Bottom)};
        else
            clip_ = r;
        break;
    }
    // Nothing visible: keep an empty rectangle rather than an inverted one.
    if (clip_->IsEmpty()) clip_ = TGdiRect{clip_->Left, clip_->Top, clip_->Left, clip_->Top};
}

void TMetafilePaintEngine::Stroke(std::span<const QPoint> points)
{
    const TGdiPen pen = ToGdiPen(pen_, transform_);
    if (kind_ != MetafileKind::Wmf || !pen.IsGeometric()) {
        recorder_->Polyline(points);
        return;
    }
    // Qt's pattern counts in pen widths; a solid pen ends round, half its
    // width beyond the line, where Qt's flat end stops at it.
    TDashPattern pattern;
    for (const qreal length : pen_.dashPattern())
        pattern.Lengths.push_back(length * pen.Width);
    pattern.Offset = pen_.dashOffset() * pen.Width;
    pattern.Inset = pen_.capStyle() == Qt::FlatCap ? pen.Width / 2.0 : 0.0;
    const std::vector<QPointF> line(points.begin(), points.end());
    recorder_->SetPen({GdiPenStyle::Solid, pen.Width, pen.Color});
    for (const std::vector<QPointF>& dash : DashPieces(line, pattern)) {
        std::vector<QPoint> pts;
        pts.reserve(dash.size());
        for (const QPointF& p : dash)
            pts.push_back({Px(p.x()), Px(p.y())});
        recorder_->Polyline(pts);
    }
    recorder_->SetPen(pen);
}

void TMetafilePaintEngine::drawLines(const QLineF* lines, int lineCount)
{
    for (int i = 0; i < lineCount; ++i) {
        const QPoint pts[2] = {Map(lines[i].p1()), Map(lines[i].p2())};
        Stroke(pts);
    }
}

void TMetafilePaintEngine::drawLines(const QLine* lines, int lineCount)
{
    for (int i = 0; i < lineCount; ++i) {
        const QLineF line(lines[i]);
        drawLines(&line, 1);
    }
}

void TMetafilePaintEngine::drawRects(const QRectF* rects, int rectCount)
{
    const bool stroke = PenVisible(), fill = BrushVisible();
    for (int i = 0; i < rectCount; ++i) {
        if (transform_.type() <= QTransform::TxScale) {
            const QRectF m = transform_.mapRect(rects[i]).normalized();
            // QPainter outlines a w x h rectangle over w + 1 by h + 1 pixels
            // and fills w x h of them; a GDI rectangle one pixel larger in each
            // direction covers the same pixels either way (GDI leaves out the
            // right and bottom edge, and one more pixel when there is no pen).
            recorder_->Rectangle({Px(m.left()), Px(m.top()), Px(m.right()) + 1, Px(m.bottom()) + 1}, stroke,
                                 fill);
        } else {
            const QPointF corners[4] = {rects[i].topLeft(), rects[i].topRight(), rects[i].bottomRight(),
                                        rects[i].bottomLeft()};
            recorder_->Polygon(Map(corners, 4), stroke, fill);
        }
    }
}

void TMetafilePaintEngine::drawRects(const QRect* rects, int rectCount)
{
    for (int i = 0; i < rectCount; ++i) {
        const QRectF rect(rects[i]);
        drawRects(&rect, 1);
    }
}

void TMetafilePaintEngine::drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode)
{
    const std::vector<QPoint> pts = Map(points, pointCount);
    if (mode == PolylineMode) {
        Stroke(pts);
        return;
    }
    recorder_->SetWindingFill(mode == WindingMode);
    recorder_->Polygon(pts, PenVisible(), BrushVisible());
}

void TMetafilePaintEngine::drawPolygon(const QPoint* points, int pointCount, PolygonDrawMode mode)
{
    std::vector<QPointF> pts(points, points + std::max(pointCount, 0));
    drawPolygon(pts.data(), pointCount, mode);
}

void TMetafilePaintEngine::drawPoints(const QPointF* points, int pointCount)
{
    if (!PenVisible()) return;
    for (int i = 0; i < pointCount; ++i)
        recorder_->Pixel(Map(points[i]), Rgb(pen_.color()));
}

void TMetafilePaintEngine::drawPath(const QPainterPath& path)
{
    // Curves arrive flattened into polygons, already in device coordinates.
    const QList<QPolygonF> subpaths = path.toSubpathPolygons(transform_);
    std::vector<std::vector<QPoint>> polys;
    for (const QPolygonF& sp : subpaths) {
        std::vector<QPoint> pts;
        pts.reserve(size_t(sp.size()));
        for (const QPointF& p : sp)
            pts.push_back({Px(p.x()), Px(p.y())});
        polys.push_back(std::move(pts));
    }
    if (polys.empty()) return;
    const bool stroke = PenVisible(), fill = BrushVisible();
    recorder_->SetWindingFill(path.fillRule() == Qt::WindingFill);
    // One closed outline that is also filled is one polygon record.
    if (polys.size() == 1 && fill && stroke && polys.front().front() == polys.front().back()) {
        recorder_->Polygon(polys.front(), true, true);
        return;
    }
    if (fill) recorder_->FillPolyPolygon(polys);
    if (stroke)
        for (const auto& pts : polys)
            Stroke(pts);
}

void TMetafilePaintEngine::drawTextItem(const QPointF& p, const QTextItem& textItem)
{
    const QString text = textItem.text();
    if (text.isEmpty() || pen_.style() == Qt::NoPen) return;
    const QFont font = textItem.font();
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi_ / 72.0;
    const double alongX = std::hypot(transform_.m11(), transform_.m12());
    const double alongY = std::hypot(transform_.m21(), transform_.m22());

    TGdiFont f;
    f.Height = -std::max(1, Px(pixels * alongY));
    // Qt turns clockwise on the screen for positive angles, GDI counter-clockwise.
    const double degrees = -std::atan2(transform_.m12(), transform_.m11()) * 180.0 / std::numbers::pi;
    f.Escapement = (Px(degrees * 10.0) % 3600 + 3600) % 3600;
    f.Weight = std::clamp(int(font.weight()), 0, 1000);
    f.Italic = font.italic();
    f.Underline = font.underline();
    f.StrikeOut = font.strikeOut();
    f.Face = font.family();
    recorder_->SetFont(f);
    recorder_->SetTextColor(Rgb(pen_.color()));

    // Each character's advance as Qt laid it out, so the text ends where Qt
    // ended it (right-aligned labels stay aligned) whatever font a reader
    // substitutes. Rounded from the running total so the errors do not add up.
    const QFontMetricsF metrics(font, paintDevice());
    std::vector<int> dx(size_t(text.size()), 0);
    int previous = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int total = Px(metrics.horizontalAdvance(text.left(i + 1)) * alongX);
        dx[size_t(i)] = total - previous;
        previous = total;
    }
    recorder_->Text(Map(p), text, dx);
}

void TMetafilePaintEngine::DrawImagePart(const QRectF& r, const QImage& image)
{
    // A rotated image is placed upright in the rectangle around it.
    const QRectF m = transform_.mapRect(r).normalized();
    recorder_->Image({Px(m.left()), Px(m.top()), Px(m.right()), Px(m.bottom())}, image);
}

void TMetafilePaintEngine::drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr)
{
    DrawImagePart(r, pm.toImage().copy(sr.toAlignedRect()));
}

void TMetafilePaintEngine::drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                                     Qt::ImageConversionFlags)
{
    DrawImagePart(r, image.copy(sr.toAlignedRect()));
}

} // namespace qrv
