// Pixels of an image as a device-independent bitmap stores them: 32 bits per
// pixel (blue, green, red, unused), rows from the bottom up.
#pragma once

#include <QByteArray>
#include <QImage>

namespace qrv
{

// Transparent parts are laid over white: the bitmap records have no alpha.
QByteArray DibBits32(const QImage& image);

} // namespace qrv
