// PNG files of the chart for the command line: the same pixels as the
// image, written the quick way a batch run wants.
#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace qrv
{

// The image with 8-bit indices into a table of exactly its own colours,
// when it has no more than 256 of them (a chart has a few dozen: white,
// black, the line colour and the greys of smoothed text); nothing when it
// has more. Reading it back gives the same colour at every pixel.
std::optional<QImage> ExactPaletteImage(const QImage& image);

// The PNG file bytes of the image, empty when encoding fails. An image of
// at most 256 colours is stored with a palette: a third of the bytes to
// filter and compress, and a smaller file.
QByteArray PngFileBytes(const QImage& image);

} // namespace qrv
