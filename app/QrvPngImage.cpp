#include "QrvPngImage.h"

#include <QBuffer>

#include <array>
#include <cstdint>

namespace qrv
{

namespace
{

// Quality as the PNG writer takes it: 85 selects the fastest zlib level,
// which costs a sixth of the default level's time on a chart and leaves a
// palette file still smaller than the full-colour one at the default.
constexpr int PngWriteQuality = 85;

// Open addressing over the colours seen so far; 1024 slots keep it sparse
// for up to 256 colours.
class TColourIndex
{
public:
    TColourIndex() { keys_.fill(Empty); }
    // The index of the colour, added when new; -1 once there would be more
    // than 256.
    int IndexOf(QRgb colour)
    {
        std::size_t slot = (colour * 2654435761u) >> 22;
        while (true) {
            if (keys_[slot] == colour) return values_[slot];
            if (keys_[slot] == Empty) break;
            slot = (slot + 1) & (keys_.size() - 1);
        }
        if (table_.size() == 256) return -1;
        keys_[slot] = colour;
        values_[slot] = static_cast<std::uint8_t>(table_.size());
        table_.push_back(colour);
        return values_[slot];
    }
    const QList<QRgb>& Table() const { return table_; }

private:
    // Opaque images only, so no pixel is ever fully transparent black.
    static constexpr QRgb Empty = 0;
    std::array<QRgb, 1024> keys_;
    std::array<std::uint8_t, 1024> values_{};
    QList<QRgb> table_;
};

} // namespace

std::optional<QImage> ExactPaletteImage(const QImage& image)
{
    if (image.isNull() || image.hasAlphaChannel()) return std::nullopt;
    const QImage rgb =
        image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    if (indexed.isNull()) return std::nullopt;
    TColourIndex colours;
    const int width = rgb.width(), height = rgb.height();
    for (int y = 0; y < height; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* to = indexed.scanLine(y);
        QRgb last = 0;
        int lastIndex = -1;
        for (int x = 0; x < width; ++x) {
            // RGB32 keeps 0xFF in the unused byte; runs of one colour are
            // the rule in a chart, so the last lookup is kept.
            const QRgb colour = from[x] | 0xFF000000u;
            if (colour != last || lastIndex < 0) {
                lastIndex = colours.IndexOf(colour);
                if (lastIndex < 0) return std::nullopt;
                last = colour;
            }
            to[x] = static_cast<uchar>(lastIndex);
        }
    }
    indexed.setColorTable(colours.Table());
    indexed.setDotsPerMeterX(image.dotsPerMeterX());
    indexed.setDotsPerMeterY(image.dotsPerMeterY());
    return indexed;
}

QByteArray PngFileBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const std::optional<QImage> indexed = ExactPaletteImage(image);
    if (!(indexed ? *indexed : image).save(&buffer, "PNG", PngWriteQuality)) return {};
    return bytes;
}

} // namespace qrv
