#include "QrvChartFiles.h"

#include "QrvErrors.h"
#include "QrvFileWriter.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>

#include <algorithm>
#include <memory>

namespace qrv
{

namespace
{

void PutLittleEndian(char* at, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<char>(value >> (8 * i));
}

// The image through Qt's general writer: for the formats that the direct
// encoder below does not handle.
QByteArray EncodeWithImageWriter(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image)) return {};
    return bytes;
}

// An opaque 32-bit image as a 24-bit uncompressed bitmap: file header,
// 40-byte information header, then the rows from the bottom up, each pixel
// blue, green, red and each row padded to four bytes. The same bytes as
// Qt's writer, which spends its time converting and writing row by row.
QByteArray EncodeRgb32(const QImage& image)
{
    constexpr int kHeaders = 14 + 40;
    const int width = image.width(), height = image.height();
    const qsizetype rowBytes = (qsizetype(width) * 3 + 3) & ~qsizetype(3);
    const qsizetype pixelBytes = rowBytes * height;
    // Beyond what the 32-bit size fields hold, the general writer decides.
    if (pixelBytes + kHeaders > qsizetype(0x7fffffff)) return EncodeWithImageWriter(image);

    QByteArray bytes(kHeaders + pixelBytes, Qt::Uninitialized);
    char* out = bytes.data();
    out[0] = 'B';
    out[1] = 'M';
    PutLittleEndian(out + 2, quint32(bytes.size()), 4);
    PutLittleEndian(out + 6, 0, 4);
    PutLittleEndian(out + 10, kHeaders, 4);
    PutLittleEndian(out + 14, 40, 4);
    PutLittleEndian(out + 18, quint32(width), 4);
    PutLittleEndian(out + 22, quint32(height), 4);
    PutLittleEndian(out + 26, 1, 2);  // planes
    PutLittleEndian(out + 28, 24, 2); // bits per pixel
    PutLittleEndian(out + 30, 0, 4);  // no compression
    PutLittleEndian(out + 34, quint32(pixelBytes), 4);
    PutLittleEndian(out + 38, quint32(image.dotsPerMeterX()), 4);
    PutLittleEndian(out + 42, quint32(image.dotsPerMeterY()), 4);
    PutLittleEndian(out + 46, 0, 4); // colours used
    PutLittleEndian(out + 50, 0, 4); // important colours

    char* row = out + kHeaders;
    for (int y = height - 1; y >= 0; --y, row += rowBytes) {
        const QRgb* pixel = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        char* p = row;
        for (int x = 0; x < width; ++x, p += 3) {
            const QRgb c = pixel[x];
            p[0] = static_cast<char>(c);
            p[1] = static_cast<char>(c >> 8);
            p[2] = static_cast<char>(c >> 16);
        }
        std::fill(p, row + rowBytes, '\0');
    }
    return bytes;
}

} // namespace

QByteArray EncodeBmp(const QImage& image)
{
    // An image of no size still gives a valid 1 x 1 file, white like an
    // empty chart.
    if (image.isNull()) {
        QImage blank(1, 1, QImage::Format_RGB32);
        blank.fill(Qt::white);
        return EncodeRgb32(blank);
    }
    if (image.format() == QImage::Format_RGB32) return EncodeRgb32(image);
    return EncodeWithImageWriter(image);
}

void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    // No picture file is empty: empty bytes mean the encoding failed.
    const std::string name = QFile::encodeName(fileName).toStdString();
    if (bytes.isEmpty()) throw Exception(Msg::CannotCreateFile, {name});
    WriteWholeFile(name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString MetafileMimeType(MetafileKind kind)
{
    return kind == MetafileKind::Emf ? QStringLiteral("image/x-emf") : QStringLiteral("image/x-wmf");
}

QMimeData* MetafileMimeData(MetafileKind kind, const QByteArray& metafile, const QImage& picture)
{
    // Linux applications know metafiles by the freedesktop MIME types: the
    // older "image/x-emf" / "image/x-wmf", which most readers (GIMP, Inkscape
    // and file managers among them) still look for, and the registered
    // "image/emf" / "image/wmf". LibreOffice pastes drawings from its own
    // clipboard flavours, so those are offered too. The WMF is the
    // placeable file, as the .wmf readers expect it. The PNG beside them
    // lets any other application paste the picture.
    auto data = std::make_unique<QMimeData>();
    if (kind == MetafileKind::Emf) {
        data->setData(QStringLiteral("image/x-emf"), metafile);
        data->setData(QStringLiteral("image/emf"), metafile);
        data->setData(QStringLiteral("application/x-openoffice-emf;windows_formatname=\"Image EMF\""),
                      metafile);
    } else {
        data->setData(QStringLiteral("image/x-wmf"), metafile);
        data->setData(QStringLiteral("image/wmf"), metafile);
        data->setData(QStringLiteral("application/x-openoffice-wmf;windows_formatname=\"Image WMF\""),
                      metafile);
    }
    data->setImageData(picture);
    return data.release();
}

QMimeData* BitmapMimeData(const QImage& picture)
{
    // The platform clipboard converts the image to PNG, BMP and the other
    // image types a pasting application asks for.
    auto data = std::make_unique<QMimeData>();
    data->setImageData(picture);
    return data.release();
}

void PutOnClipboard(QMimeData* data, const QString& probeFormat)
{
    std::unique_ptr<QMimeData> owned(data);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) throw Exception(Msg::CannotOpenClipboard);
    clipboard->setMimeData(owned.release());
    const QMimeData* now = clipboard->mimeData();
    if (now == nullptr || !now->hasFormat(probeFormat)) throw Exception(Msg::CannotOpenClipboard);
}

} // namespace qrv
