// The chart's bitmap picture and its export to a file and the clipboard.
#include "QrvChart.h"
#include "QrvChartFiles.h"
#include "QrvErrors.h"

#include <QPainter>

#include <algorithm>

namespace qrv
{

QImage TChart::MakeBitmap(TColor background, const QRect& rect)
{
    // The picture is drawn straight into the bitmap; the screen's back
    // buffer is left as it is.
    QImage image(std::max(1, rect.width()), std::max(1, rect.height()), QImage::Format_RGB32);
    // A null image here means its memory could not be had; drawing into it
    // would give an empty picture that looks like success.
    if (image.isNull()) throw Exception(Msg::ImageTooLarge);
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
