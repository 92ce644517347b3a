// Records a drawing as a placeable Windows metafile: the 22-byte placeable
// header (key, bounding box, units per inch, checksum), the metafile header,
// the records and the end-of-file record. Coordinates are 16-bit.
#pragma once

#include "QrvGdiRecorder.h"

namespace qrv
{

class TWmfWriter : public TGdiRecorder
{
public:
    TWmfWriter(QSize size, int dpi);

protected:
    int FirstObjectIndex() const override { return 0; }
    // Point counts are 16-bit; some readers take them as signed.
    size_t MaxPolyPoints() const override { return 32767; }

    void EmitCreatePen(int index, const TGdiPen& pen) override;
    void EmitCreateBrush(int index, const TGdiBrush& brush) override;
    void EmitCreateFont(int index, const TGdiFont& font) override;
    void EmitSelect(int index) override;
    void EmitDelete(int index) override;
    void EmitSaveDc() override;
    void EmitRestoreDc() override;
    void EmitIntersectClip(const TGdiRect& rect) override;
    void EmitTextColor(uint32_t color) override;
    void EmitBkMode(bool opaque) override;
    void EmitBkColor(uint32_t color) override;
    void EmitTextAlign(uint16_t align) override;
    void EmitPolyFillMode(bool winding) override;
    void EmitPolyline(std::span<const QPoint> points) override;
    void EmitPolygon(std::span<const QPoint> points) override;
    void EmitPolyPolygon(const std::vector<std::vector<QPoint>>& polygons) override;
    void EmitRectangle(const TGdiRect& rect) override;
    void EmitText(QPoint origin, const QString& text, const std::vector<int>& dx) override;
    void EmitPixel(QPoint point, uint32_t color) override;
    void EmitImage(const TGdiRect& dest, const QImage& image) override;
    QByteArray Assemble() override;

private:
    // Takes a record built by libUEMF (malloc'd) and frees it.
    void Append(char* record);

    QByteArray records_;
    uint32_t maxRecordWords_ = 0;
};

} // namespace qrv
