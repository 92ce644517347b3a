// The chart's bitmap picture and its export to a file and the clipboard.
#include "QrvChartExport.h"

#include "QrvChart.h"
#include "QrvChartFiles.h"
#include "QrvErrors.h"

#include <QPainter>

#include <algorithm>

namespace qrv
{

QImage MakeBitmap(const TChart& chart, TColor background, const QSize& size)
{
    QImage image(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_RGB32);
    // A null image here means its memory could not be had; drawing into it
    // would give an empty picture that looks like success.
    if (image.isNull()) throw Exception(Msg::ImageTooLarge);
    image.fill(ToQColor(background));
    QPainter painter(&image);
    chart.DrawPicture(painter, QRect(QPoint(0, 0), size));
    return image;
}

QByteArray BitmapFileBytes(const TChart& chart)
{
    return EncodeBmp(MakeBitmap(chart, clWhite, chart.size()));
}

void SaveBitmapFile(const TChart& chart, const QString& fileName)
{
    WriteFile(fileName, BitmapFileBytes(chart));
}

void CopyBitmapToClipboard(const TChart& chart)
{
    PutOnClipboard(BitmapMimeData(MakeBitmap(chart, clWhite, chart.size())),
                   QStringLiteral("application/x-qt-image"));
}

} // namespace qrv
