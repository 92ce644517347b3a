#include "QrvChartFiles.h"

#include "QrvErrors.h"
#include "QrvFileWriter.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>

#include <memory>

namespace qrv
{

QByteArray EncodeBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    // An image of no size still gives a valid 1 x 1 file.
    const QImage source = image.isNull() ? QImage(1, 1, QImage::Format_RGB32) : image;
    if (!writer.write(source)) return {};
    return bytes;
}

void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    // No picture file is empty: empty bytes mean the encoding failed.
    const std::string name = QFile::encodeName(fileName).toStdString();
    if (bytes.isEmpty()) throw Exception(Msg::CannotCreateFile, {name});
    WriteWholeFile(name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString MetafileMimeType(bool enhanced)
{
    return enhanced ? QStringLiteral("image/x-emf") : QStringLiteral("image/x-wmf");
}

QMimeData* MetafileMimeData(bool enhanced, const QByteArray& metafile, const QImage& picture)
{
    // Linux applications know metafiles by the freedesktop MIME types: the
    // older "image/x-emf" / "image/x-wmf", which most readers (GIMP, Inkscape
    // and file managers among them) still look for, and the registered
    // "image/emf" / "image/wmf". LibreOffice pastes drawings from its own
    // clipboard flavours, so those are offered too. The WMF is the
    // placeable file, as the .wmf readers expect it. The PNG beside them
    // lets any other application paste the picture.
    auto data = std::make_unique<QMimeData>();
    if (enhanced) {
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
