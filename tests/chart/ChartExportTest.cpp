// Picture exports: sizes, files, write errors and the clipboard.
#include "ChartTestSupport.h"

#include "QrvChartFiles.h"
#include "QrvErrors.h"
#include "WholeFile.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace qrv
{
namespace
{

using test::IsColor;
using test::MakePlotChart;
using test::ReadWholeFile;

class ChartExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plot = MakePlotChart(353, 305);
        test::Fill(*plot.series, -5, 5, 0.1, [](double x) { return std::cos(x); });
        ASSERT_TRUE(dir.isValid());
    }
    TChart& chart() { return *plot.chart; }
    QString Path(const char* name) const { return dir.filePath(name); }

    test::PlotChart plot;
    QTemporaryDir dir;
};

void ExpectCannotCreate(const std::function<void(const QString&)>& save)
{
    const QString bad = "/nonexistent-qurvia-dir/out.file";
    try {
        save(bad);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + bad.toStdString());
    }
}

TEST_F(ChartExportTest, BitmapHasTheClientSizeAndWhiteBackground)
{
    const QImage image = MakeBitmap(chart(), clWhite, chart().size());
    EXPECT_EQ(image.size(), QSize(353, 305));
    EXPECT_TRUE(IsColor(image, 0, 0, Qt::white));
    EXPECT_TRUE(IsColor(image, 352, 304, Qt::white));
}

TEST_F(ChartExportTest, SavedBitmapFileReadsBackAsThePicture)
{
    SaveBitmapFile(chart(), Path("chart.bmp"));
    const QByteArray bytes = ReadWholeFile(Path("chart.bmp"));
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    QImage loaded;
    ASSERT_TRUE(loaded.loadFromData(bytes, "BMP"));
    EXPECT_EQ(loaded.size(), QSize(353, 305));
    EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), MakeBitmap(chart(), clWhite, chart().size()));
}

// The bytes of Qt's general image writer, which the direct encoder replaces.
QByteArray WriterBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    return writer.write(image) ? bytes : QByteArray();
}

QImage Pattern(int width, int height, int dotsPerMeter)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y) & 255, (y * 11) & 255, (x ^ y) & 255));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter + 1);
    return image;
}

TEST_F(ChartExportTest, BitmapBytesEqualThoseOfQtsWriter)
{
    // Row widths of every padding (3 bytes per pixel), one-pixel images and
    // the chart itself.
    const struct {
        const char* name;
        QImage image;
    } cases[] = {
        {"one_pixel", Pattern(1, 1, 3780)},     {"width_2", Pattern(2, 3, 2835)},
        {"width_3", Pattern(3, 2, 3780)},       {"width_4", Pattern(4, 5, 0)},
        {"width_5_tall", Pattern(5, 40, 3780)}, {"chart", MakeBitmap(chart(), clWhite, chart().size())},
    };
    for (const auto& c : cases) {
        const QByteArray ours = EncodeBmp(c.image), qts = WriterBmp(c.image);
        ASSERT_FALSE(qts.isEmpty()) << c.name;
        EXPECT_EQ(ours, qts) << c.name;
    }
    const QImage argb = Pattern(7, 3, 3780).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(EncodeBmp(argb), WriterBmp(argb));
}

TEST_F(ChartExportTest, NullImageGivesAWhitePixel)
{
    QImage loaded;
    ASSERT_TRUE(loaded.loadFromData(EncodeBmp(QImage()), "BMP"));
    ASSERT_EQ(loaded.size(), QSize(1, 1));
    EXPECT_TRUE(IsColor(loaded, 0, 0, Qt::white));
}

TEST_F(ChartExportTest, WriteErrorsRaiseCannotCreateFile)
{
    ExpectCannotCreate([&](const QString& name) { SaveBitmapFile(chart(), name); });
    ExpectCannotCreate([&](const QString& name) { WriteFile(name, QByteArray("x")); });
}

TEST_F(ChartExportTest, ZeroSizeChartStillGivesAPicture)
{
    chart().resize(0, 0);
    EXPECT_EQ(MakeBitmap(chart(), clWhite, chart().size()).size(), QSize(1, 1));
    SaveBitmapFile(chart(), Path("empty.bmp"));
    EXPECT_EQ(QImage(Path("empty.bmp")).size(), QSize(1, 1));
}

TEST_F(ChartExportTest, BitmapOnTheClipboard)
{
    CopyBitmapToClipboard(chart());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(353, 305));
}

std::int32_t Int32At(const QByteArray& b, int offset)
{
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = (v << 8) | static_cast<std::uint8_t>(b[offset + k]);
    return static_cast<std::int32_t>(v);
}

std::int16_t Int16At(const QByteArray& b, int offset)
{
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(b[offset]) |
                                     (static_cast<std::uint8_t>(b[offset + 1]) << 8));
}

// The picture size a placeable WMF declares: its bounding box.
QSize WmfSize(const QByteArray& b)
{
    EXPECT_EQ(static_cast<std::uint32_t>(Int32At(b, 0)), 0x9AC6CDD7u);
    return QSize(Int16At(b, 10) - Int16At(b, 6), Int16At(b, 12) - Int16At(b, 8));
}

// The picture size an EMF declares: its frame (0.01 mm) at the file's
// reference resolution, in pixels.
QSize EmfSize(const QByteArray& b)
{
    EXPECT_EQ(Int32At(b, 0), 1);           // header record
    EXPECT_EQ(Int32At(b, 40), 0x464D4520); // " EMF"
    const double pxPerMmX = static_cast<double>(Int32At(b, 72)) / Int32At(b, 80);
    const double pxPerMmY = static_cast<double>(Int32At(b, 76)) / Int32At(b, 84);
    const double w = (Int32At(b, 32) - Int32At(b, 24)) / 100.0 * pxPerMmX;
    const double h = (Int32At(b, 36) - Int32At(b, 28)) / 100.0 * pxPerMmY;
    return QSize(static_cast<int>(std::lround(w)), static_cast<int>(std::lround(h)));
}

TEST_F(ChartExportTest, MetafilesAreOnePixelSmallerThanTheClient)
{
    EXPECT_EQ(WmfSize(MakeMetafile(chart(), MetafileKind::Wmf, chart().size())), QSize(352, 304));
    const QSize emf = EmfSize(MakeMetafile(chart(), MetafileKind::Emf, chart().size()));
    EXPECT_NEAR(emf.width(), 352, 1);
    EXPECT_NEAR(emf.height(), 304, 1);
}

TEST_F(ChartExportTest, ZeroSizeChartGivesOneByOneMetafile)
{
    chart().resize(0, 0);
    EXPECT_EQ(WmfSize(MakeMetafile(chart(), MetafileKind::Wmf, chart().size())), QSize(1, 1));
    const QSize emf = EmfSize(MakeMetafile(chart(), MetafileKind::Emf, chart().size()));
    EXPECT_NEAR(emf.width(), 1, 1);
    EXPECT_NEAR(emf.height(), 1, 1);
}

TEST_F(ChartExportTest, SavedMetafileFiles)
{
    SaveMetafileFile(chart(), Path("chart.wmf"));
    SaveEnhMetafileFile(chart(), Path("chart.emf"));
    const QByteArray wmf = ReadWholeFile(Path("chart.wmf"));
    const QByteArray emf = ReadWholeFile(Path("chart.emf"));
    ASSERT_GT(wmf.size(), 22 + 18);
    ASSERT_GT(emf.size(), 88);
    EXPECT_EQ(WmfSize(wmf), QSize(352, 304));
    EXPECT_EQ(Int32At(emf, 40), 0x464D4520);
    ExpectCannotCreate([&](const QString& name) { SaveMetafileFile(chart(), name); });
    ExpectCannotCreate([&](const QString& name) { SaveEnhMetafileFile(chart(), name); });
}

TEST_F(ChartExportTest, MetafileOnTheClipboardWithAPictureBeside)
{
    for (MetafileKind kind : {MetafileKind::Emf, MetafileKind::Wmf}) {
        CopyMetafileToClipboard(chart(), kind);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        const QString type = kind == MetafileKind::Emf ? "image/x-emf" : "image/x-wmf";
        ASSERT_TRUE(data->hasFormat(type)) << type.toStdString();
        EXPECT_EQ(data->data(type), MakeMetafile(chart(), kind, chart().size())) << type.toStdString();
        ASSERT_TRUE(data->hasImage());
        EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(353, 305));
    }
}

TEST_F(ChartExportTest, PictureWithoutAWindowDrawsWhatTheControlDraws)
{
    // The command line's images draw a bare picture; the window's exports
    // draw the control. Set up and filled alike, they must not differ.
    TChartPicture picture;
    TLineSeries& series = SetUpGraphChart(picture);
    test::Fill(series, -5, 5, 0.1, [](double x) { return std::cos(x); });
    for (const QSize size : {QSize(353, 305), QSize(640, 200)}) {
        EXPECT_EQ(MakeBitmap(picture, clWhite, size), MakeBitmap(chart(), clWhite, size)) << size.width();
        for (MetafileKind kind : {MetafileKind::Emf, MetafileKind::Wmf})
            EXPECT_EQ(MakeMetafile(picture, kind, size, chart().logicalDpiY()),
                      MakeMetafile(chart(), kind, size))
                << size.width() << (kind == MetafileKind::Emf ? " EMF" : " WMF");
    }
}

} // namespace
} // namespace qrv
