// The chart control's pictures, drawn straight into an image or a metafile
// with a layout of their own (the chart's window and its mouse zoom are
// left as they are), and their export to files and the clipboard. The
// window-size pictures take the control's size.
#pragma once

#include "QrvChartPicture.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace qrv
{

class TChart;

// MakeMetafile at the resolution of the control's screen.
QByteArray MakeMetafile(const TChart& chart, MetafileKind kind, const QSize& size);
// The window-size bitmap as the bytes of a .bmp file.
QByteArray BitmapFileBytes(const TChart& chart);

// The window-size pictures. Write errors raise "Cannot create file <name>".
void SaveBitmapFile(const TChart& chart, const QString& fileName);
void SaveMetafileFile(const TChart& chart, const QString& fileName);
void SaveEnhMetafileFile(const TChart& chart, const QString& fileName);
// Clipboard failure raises "Cannot open clipboard".
void CopyBitmapToClipboard(const TChart& chart);
void CopyMetafileToClipboard(const TChart& chart, MetafileKind kind);

} // namespace qrv
