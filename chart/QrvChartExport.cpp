// The chart's bitmap picture and its export to a file and the clipboard.
#include "QrvChart.h"
#include "QrvChartFiles.h"

#include <QPainter>

#include <algorithm>

namespace qrv
{

QImage TChart::MakeBitmap(TColor background, const QRect& rect)
{
    // The picture is drawn straight into the bitmap; the screen's back
    // buffer is left as it is.
    QImage image(std::max(1, rect.width()), std::max(1, rect.height()), QImage::Format_RGB32);
    image.fill(ToQColor(background));
    QPainter painter(&image);
    DrawUnbuffered(painter, QRect(QPoint(0, 0), rect.size()));
    return image;
}

QByteArray TChart::BitmapFileBytes()
{
    return EncodeBmp(MakeBitmap(clWhite, rect()));
}

void TChart::SaveBitmapFile(const QString& fileName)
{
    WriteFile(fileName, BitmapFileBytes());
}

void TChart::CopyBitmapToClipboard()
{
    PutOnClipboard(BitmapMimeData(MakeBitmap(clWhite, rect())), QStringLiteral("application/x-qt-image"));
}

} // namespace qrv
