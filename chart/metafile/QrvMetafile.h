// A paint device that records what a QPainter draws as a Windows metafile
// (placeable WMF) or an enhanced metafile (EMF).
//
// The chart has one drawing routine for every device; pointing a QPainter at
// this device turns that routine's lines, rectangles, fills, text and clip
// rectangles into metafile records instead of pixels:
//
//     TMetafilePaintDevice device(MetafileKind::Emf, MetafileSizeFor(panel));
//     { QPainter painter(&device); DrawChart(painter, QRect(QPoint(0, 0), panel)); }
//     QByteArray bytes = device.Finish();
//
// Coordinates are device pixels; the file declares `dpi` pixels per inch, so
// a reader shows the picture at the same physical size as on the screen.
#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>

#include <memory>

namespace qrv
{

enum class MetafileKind { Wmf, Emf };

class TMetafilePaintEngine;

// The picture size for a chart panel of `panelSize` pixels: one pixel less in
// each direction than the panel (the right and bottom pixel lines lie outside
// the drawing), but never less than 1 x 1 so an empty panel still gives a file.
QSize MetafileSizeFor(QSize panelSize);

class TMetafilePaintDevice : public QPaintDevice
{
public:
    // A size below 1 x 1 in either direction is taken as 1; dpi below 1 as 96.
    TMetafilePaintDevice(MetafileKind kind, QSize size, int dpi = 96);
    ~TMetafilePaintDevice() override;
    TMetafilePaintDevice(const TMetafilePaintDevice&) = delete;
    TMetafilePaintDevice& operator=(const TMetafilePaintDevice&) = delete;

    // The complete file, once the QPainter on the device has ended. Calling it
    // while a painter is still active ends nothing and returns an empty array.
    // After Finish the device records nothing more; a second call returns the
    // same bytes.
    QByteArray Finish();

    MetafileKind Kind() const { return kind_; }
    QSize Size() const { return size_; }
    int Dpi() const { return dpi_; }

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    MetafileKind kind_;
    QSize size_;
    int dpi_;
    std::unique_ptr<TMetafilePaintEngine> engine_;
    QByteArray bytes_;
    bool finished_ = false;
};

} // namespace qrv
