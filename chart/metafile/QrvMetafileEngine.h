// The paint engine behind TMetafilePaintDevice: turns what QPainter hands a
// paint engine (lines, polygons, rectangles, paths, text items, pixmaps and
// the state changes between them) into device-context calls on a metafile
// writer.
//
// Geometry is mapped through the painter's transform here, so QPainter gives
// every primitive to this engine untouched (the engine claims all features;
// otherwise QPainter would rasterise what it thinks the engine cannot do).
// What GDI records cannot express is approximated: curves are flattened into
// polylines, clip paths become their bounding rectangle, gradients and
// textures fill with one colour, and alpha is ignored. A line wider than a
// pixel that is dashed or dotted is drawn by an enhanced metafile's
// geometric pen; a Windows metafile has none, so its lines are recorded as
// their dashes (QrvDashes.h), while the outline of a filled shape keeps the
// pen a reader draws solid.
#pragma once

#include "QrvGdiRecorder.h"
#include "QrvMetafile.h"

#include <QBrush>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QTransform>

#include <memory>
#include <optional>
#include <span>

namespace qrv
{

class TMetafilePaintEngine : public QPaintEngine
{
public:
    TMetafilePaintEngine(MetafileKind kind, QSize size, int dpi);
    ~TMetafilePaintEngine() override;

    bool begin(QPaintDevice* device) override;
    bool end() override;
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override;

    void drawLines(const QLineF* lines, int lineCount) override;
    void drawLines(const QLine* lines, int lineCount) override;
    void drawRects(const QRectF* rects, int rectCount) override;
    void drawRects(const QRect* rects, int rectCount) override;
    void drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode) override;
    void drawPolygon(const QPoint* points, int pointCount, PolygonDrawMode mode) override;
    void drawPoints(const QPointF* points, int pointCount) override;
    void drawPath(const QPainterPath& path) override;
    void drawTextItem(const QPointF& p, const QTextItem& textItem) override;
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override;
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags flags = Qt::AutoColor) override;

    // Ends the recording and returns the file; later drawing is ignored.
    QByteArray Finish();
    bool IsFinished() const { return finished_; }

private:
    // Records a line of device pixels with the current pen.
    void Stroke(std::span<const QPoint> points);
    QPoint Map(const QPointF& p) const;
    std::vector<QPoint> Map(const QPointF* points, int count) const;
    void ApplyClip(Qt::ClipOperation op, const QRectF& deviceRect);
    void DrawImagePart(const QRectF& r, const QImage& image);
    bool PenVisible() const;
    bool BrushVisible() const;

    std::unique_ptr<TGdiRecorder> recorder_;
    MetafileKind kind_;
    int dpi_;
    QTransform transform_;
    QPen pen_;
    QBrush brush_;
    std::optional<TGdiRect> clip_; // device pixels
    bool clipEnabled_ = false;
    bool finished_ = false;
};

} // namespace qrv
