// Chart pictures as bytes, written to files and placed on the clipboard.
// Everything that can fail raises the message table's file or clipboard
// error; nothing is written half-way without being reported.
#pragma once

#include "QrvMetafile.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QMimeData;

namespace qrv
{

// The image as the bytes of a Windows bitmap (.bmp) file.
QByteArray EncodeBmp(const QImage& image);

// Writes the bytes as the named file (its name encoded as the system's file
// names are) through the program's one file writer: an existing file is
// replaced only once the new one is complete. Raises "Cannot create file
// <name>" on failure, and for empty bytes, which no picture file is.
void WriteFile(const QString& fileName, const QByteArray& bytes);

// The clipboard formats of a metafile: the file bytes under the MIME types
// Linux applications read for the kind, and a PNG of the same picture
// beside them for those that read no metafiles.
QMimeData* MetafileMimeData(MetafileKind kind, const QByteArray& metafile, const QImage& picture);
// The clipboard formats of a bitmap: every image format Qt offers.
QMimeData* BitmapMimeData(const QImage& picture);

// Hands the data to the clipboard, which takes ownership, and checks that
// it holds them under probeFormat. Raises "Cannot open clipboard".
void PutOnClipboard(QMimeData* data, const QString& probeFormat);

// The MIME type under which a metafile is first offered.
QString MetafileMimeType(MetafileKind kind);

} // namespace qrv
