#include "QrvDibBits.h"

#include <QPainter>

#include <cstring>

namespace qrv
{

QByteArray DibBits32(const QImage& image)
{
    QImage rgb(image.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    {
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    }
    const int rowBytes = rgb.width() * 4;
    QByteArray bits(qsizetype(rowBytes) * rgb.height(), Qt::Uninitialized);
    // Format_RGB32 keeps 0xffRRGGBB words: on a little-endian machine their
    // bytes are blue, green, red, 0xff, as the bitmap wants them.
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(bits.data() + qsizetype(rowBytes) * (rgb.height() - 1 - y), rgb.constScanLine(y),
                    size_t(rowBytes));
    return bits;
}

} // namespace qrv
