// Records a drawing as an enhanced metafile: the header record (bounds,
// frame in 0.01 mm, reference device size, record count, file size, handle
// count), the records and the end-of-file record.
#pragma once

#include "QrvGdiRecorder.h"

namespace qrv
{

class TEmfWriter : public TGdiRecorder
{
public:
    TEmfWriter(QSize size, int dpi);

protected:
    int FirstObjectIndex() const override { return 1; }
    // Counts are 32-bit; this keeps one record below a few megabytes.
    size_t MaxPolyPoints() const override { return 1u << 20; }

    void EmitCreatePen(int index, const TGdiPen& pen) override;
    void EmitCreateBrush(int index, const TGdiBrush& brush) override;
    void EmitCreateFont(int index, const TGdiFont& font) override;
    void EmitSelect(int index) override;
    void EmitDelete(int index) override;
    void EmitDeselectAll() override;
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
    template <class Set16, class Set32>
    void AppendPoints(std::span<const QPoint> points, Set16 set16, Set32 set32);

    QByteArray records_;
    uint32_t recordCount_ = 0;
};

} // namespace qrv
