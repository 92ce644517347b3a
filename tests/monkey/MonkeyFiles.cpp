#include "MonkeyFiles.h"

#include "QrvDocumentFile.h"
#include "QrvExportFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdint>

namespace qrv::monkey
{

namespace
{

std::uint32_t Little32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}
std::uint16_t Little16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
}

// A placeable metafile: the placeable header (22 bytes), then the metafile
// header whose size field counts 16-bit words, ending with the end record.
std::string WmfProblem(const QByteArray& bytes)
{
    if (bytes.size() < 22 + 18) return "metafile shorter than its headers";
    const qsizetype words = qsizetype(Little32(bytes, 22 + 6));
    if (22 + 2 * words != bytes.size()) return "metafile size field disagrees with the file length";
    // The last record: size 3 words, function 0.
    if (Little32(bytes, bytes.size() - 6) != 3 || Little16(bytes, bytes.size() - 2) != 0)
        return "metafile without its end record";
    return {};
}

// An enhanced metafile: the header record holds the file's length; the last
// record is EMR_EOF (14).
std::string EmfProblem(const QByteArray& bytes)
{
    if (bytes.size() < 88) return "enhanced metafile shorter than its header";
    if (Little32(bytes, 48) != std::uint32_t(bytes.size()))
        return "enhanced metafile length field disagrees with the file length";
    if (bytes.size() < 20 || Little32(bytes, bytes.size() - 20) != 14)
        return "enhanced metafile without its end record";
    return {};
}

std::string BmpProblem(const QByteArray& bytes)
{
    if (bytes.size() < 54) return "bitmap shorter than its headers";
    if (Little32(bytes, 2) != std::uint32_t(bytes.size()))
        return "bitmap size field disagrees with the file length";
    if (QImage::fromData(bytes, "BMP").isNull()) return "bitmap that does not load";
    return {};
}

std::string PdfProblem(const QByteArray& bytes)
{
    const QByteArray tail = bytes.right(32).trimmed();
    if (!tail.endsWith("%%EOF")) return "PDF without its end marker";
    if (!bytes.contains("startxref")) return "PDF without its cross-reference";
    return {};
}

} // namespace

std::string SavedFileProblem(const QByteArray& bytes, const QString& tableText,
                             const std::optional<std::string>& curvesCsv)
{
    if (bytes == TableFileBytes(tableText) || bytes == TableCsvBytes(tableText)) return {};
    if (curvesCsv && bytes.toStdString() == *curvesCsv) return {};
    if (bytes.startsWith("{")) {
        try {
            ReadDocument(bytes, "document");
            return {};
        } catch (const EQrvDocumentError& e) {
            return "a document that does not read back: " + e.Message();
        }
    }
    if (bytes.startsWith("BM")) return BmpProblem(bytes);
    if (bytes.startsWith(QByteArray::fromHex("d7cdc69a"))) return WmfProblem(bytes);
    if (bytes.size() >= 44 && Little32(bytes, 0) == 1 && bytes.mid(40, 4) == " EMF") return EmfProblem(bytes);
    if (bytes.startsWith("\x89PNG")) {
        // The image end chunk with its checksum comes last.
        if (!bytes.endsWith(QByteArray::fromHex("0000000049454e44ae426082")))
            return "PNG without its end chunk";
        return QImage::fromData(bytes, "PNG").isNull() ? "PNG that does not load" : std::string();
    }
    if (bytes.startsWith("%PDF-")) return PdfProblem(bytes);
    if (bytes.startsWith("<?xml") || bytes.startsWith("<svg"))
        return bytes.trimmed().endsWith("</svg>") ? std::string() : "SVG without its closing tag";
    if (bytes.isEmpty()) return "an empty file where the table is not empty";
    return "neither the table shown nor a picture (" + std::to_string(bytes.size()) + " bytes)";
}

TFolderContents ReadFolder(const QString& folder)
{
    TFolderContents contents;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        contents[path] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    return contents;
}

} // namespace qrv::monkey
