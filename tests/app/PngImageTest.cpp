// PNG files of the command line: a palette only where it holds every
// colour exactly, and the same pixels after reading the file back.
#include "QrvPngImage.h"

#include <QImage>
#include <gtest/gtest.h>

namespace qrv
{
namespace
{

// An opaque image of the given number of distinct colours, each used on
// several pixels, in rows like a chart's.
QImage ImageOfColours(int colours, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(40, 30, format);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int k = (y * image.width() + x) / 3 % colours;
            image.setPixel(x, y, qRgb(k & 0xFF, (k * 7) & 0xFF, k >> 8 ? 200 : 10));
        }
    return image;
}

QImage AsRgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

TEST(PngImageTest, PaletteOnlyWhenEveryColourFits)
{
    struct Row {
        const char* name;
        QImage image;
        int tableSize; // -1: no palette image
    };
    QImage translucent = ImageOfColours(3, QImage::Format_ARGB32);
    translucent.setPixel(0, 0, qRgba(1, 2, 3, 4));
    const Row rows[] = {
        {"one colour", ImageOfColours(1), 1},
        {"a chart's few", ImageOfColours(5), 5},
        {"exactly 256", ImageOfColours(256), 256},
        {"257 do not fit", ImageOfColours(257), -1},
        {"premultiplied opaque", ImageOfColours(4, QImage::Format_ARGB32_Premultiplied), -1},
        {"translucent", translucent, -1},
        {"empty", QImage(), -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<QImage> indexed = ExactPaletteImage(row.image);
        ASSERT_EQ(indexed.has_value(), row.tableSize >= 0);
        if (!indexed) continue;
        EXPECT_EQ(indexed->format(), QImage::Format_Indexed8);
        EXPECT_EQ(indexed->colorCount(), row.tableSize);
        EXPECT_EQ(AsRgb(*indexed), AsRgb(row.image));
    }
}

TEST(PngImageTest, FileReadsBackToTheSamePixels)
{
    for (int colours : {2, 256, 300}) {
        SCOPED_TRACE(colours);
        const QImage image = ImageOfColours(colours);
        const QByteArray bytes = PngFileBytes(image);
        ASSERT_TRUE(bytes.startsWith("\x89PNG"));
        QImage back;
        ASSERT_TRUE(back.loadFromData(bytes, "PNG"));
        EXPECT_EQ(AsRgb(back), image);
    }
}

} // namespace
} // namespace qrv
