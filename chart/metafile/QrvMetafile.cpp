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
    : kind_(kind), size_(std::max(1, size.width()), std::max(1, size.height())),
      dpi_(dpi < 1 ? 96 : std::min(dpi, 65535)),
      engine_(std::make_unique<TMetafilePaintEngine>(kind_, size_, dpi_))
{
}

TMetafilePaintDevice::~TMetafilePaintDevice() = default;

QPaintEngine* TMetafilePaintDevice::paintEngine() const
{
    return engine_.get();
}

QByteArray TMetafilePaintDevice::Finish()
{
    if (finished_) return bytes_;
    if (engine_->isActive()) return {};
    bytes_ = engine_->Finish();
    finished_ = true;
    return bytes_;
}

int TMetafilePaintDevice::metric(PaintDeviceMetric metric) const
{
    const auto mm = [this](int pixels) { return int(std::lround(pixels * 25.4 / dpi_)); };
    switch (metric) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return mm(size_.width());
    case PdmHeightMM:
        return mm(size_.height());
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi_;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}

} // namespace qrv
