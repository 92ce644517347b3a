#include "QrvPictureFiles.h"

#include "QrvChartFiles.h"
#include "QrvChartPicture.h"
#include "QrvErrors.h"
#include "QrvPngImage.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#ifdef QURVIA_HAVE_SVG
#include <QSvgGenerator>
#endif

namespace qrv
{

namespace
{

[[noreturn]] void CannotCreate(const std::string& fileName)
{
    throw Exception(Msg::CannotCreateFile, {fileName});
}

// The chart's picture with the size of the image asked for.
struct TSizedPicture {
    TChartPicture& Chart;
    QSize Size;
    QRect Rect() const { return QRect(QPoint(0, 0), Size); }
};

QByteArray PngBytes(const TSizedPicture& picture, const std::string& fileName)
{
    QByteArray bytes = PngFileBytes(MakeBitmap(picture.Chart, clWhite, picture.Size));
    if (bytes.isEmpty()) CannotCreate(fileName);
    return bytes;
}

// Draws the picture on a device that writes a file's bytes as it is painted
// (PDF, SVG); a device that cannot start or finish is a file not created.
void DrawOn(QPaintDevice& device, const TSizedPicture& picture, const std::string& fileName)
{
    QPainter painter;
    if (!painter.begin(&device)) CannotCreate(fileName);
    picture.Chart.DrawPicture(painter, picture.Rect());
    if (!painter.end()) CannotCreate(fileName);
}

QByteArray PdfBytes(const TSizedPicture& picture, const std::string& fileName)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // One page of the chart's size, at the screen's 96 pixels per inch.
    QPdfWriter writer(&buffer);
    writer.setResolution(96);
    writer.setPageSize(
        QPageSize(QSizeF(picture.Size.width() * 72.0 / 96.0, picture.Size.height() * 72.0 / 96.0),
                  QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Qurvia"));
    DrawOn(writer, picture, fileName);
    return bytes;
}

#ifdef QURVIA_HAVE_SVG
QByteArray SvgBytes(const TSizedPicture& picture, const std::string& fileName)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(picture.Size);
    generator.setViewBox(picture.Rect());
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Qurvia"));
    DrawOn(generator, picture, fileName);
    return bytes;
}
#endif

// Metafiles are made at the screen's resolution, as the window makes them.
int ScreenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

} // namespace

QByteArray PictureFileBytes(TChartPicture& chart, QSize size, TImageFormat format,
                            const std::string& fileName)
{
    const TSizedPicture picture{chart, size};
    switch (format) {
    case TImageFormat::Bmp:
        return EncodeBmp(MakeBitmap(picture.Chart, clWhite, picture.Size));
    case TImageFormat::Wmf:
        return MakeMetafile(picture.Chart, MetafileKind::Wmf, picture.Size, ScreenDpi());
    case TImageFormat::Emf:
        return MakeMetafile(picture.Chart, MetafileKind::Emf, picture.Size, ScreenDpi());
    case TImageFormat::Png:
        return PngBytes(picture, fileName);
    case TImageFormat::Pdf:
        return PdfBytes(picture, fileName);
    case TImageFormat::Svg:
#ifdef QURVIA_HAVE_SVG
        return SvgBytes(picture, fileName);
#endif
        break;
    }
    return {};
}

} // namespace qrv
