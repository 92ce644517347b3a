#include "QrvMetafile.h"

#include "QrvMetafileEngine.h"

#include <algorithm>
#include <cmath>

namespace qrv
{

QSize MetafileSizeFor(QSize panelSize)
{
    return {std::max(1, panelSize.width() - 1), std::max(1, panelSize.height() - 1)};
}

TMetafilePaintDevice::TMetafilePaintDevice(MetafileKind kind, QSize size, int dpi)
    : FKind(kind), FSize(std::max(1, size.width()), std::max(1, size.height())),
      FDpi(dpi < 1 ? 96 : std::min(dpi, 65535)),
      FEngine(std::make_unique<TMetafilePaintEngine>(FKind, FSize, FDpi))
{
}

TMetafilePaintDevice::~TMetafilePaintDevice() = default;

QPaintEngine* TMetafilePaintDevice::paintEngine() const
{
    return FEngine.get();
}

QByteArray TMetafilePaintDevice::Finish()
{
    if (FFinished) return FBytes;
    if (FEngine->isActive()) return {};
    FBytes = FEngine->Finish();
    FFinished = true;
    return FBytes;
}

int TMetafilePaintDevice::metric(PaintDeviceMetric metric) const
{
    const auto mm = [this](int pixels) { return int(std::lround(pixels * 25.4 / FDpi)); };
    switch (metric) {
    case PdmWidth:
        return FSize.width();
    case PdmHeight:
        return FSize.height();
    case PdmWidthMM:
        return mm(FSize.width());
    case PdmHeightMM:
        return mm(FSize.height());
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return FDpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}

} // namespace qrv
