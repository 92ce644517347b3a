// The chart control's pictures and their export to files and the clipboard.
#include "QrvChartExport.h"

#include "QrvChart.h"
#include "QrvChartFiles.h"

namespace qrv
{

QByteArray MakeMetafile(const TChart& chart, bool enhanced, const QSize& size)
{
    return MakeMetafile(static_cast<const TChartPicture&>(chart), enhanced, size, chart.logicalDpiY());
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

void SaveMetafileFile(const TChart& chart, const QString& fileName)
{
    WriteFile(fileName, MakeMetafile(chart, false, chart.size()));
}

void SaveEnhMetafileFile(const TChart& chart, const QString& fileName)
{
    WriteFile(fileName, MakeMetafile(chart, true, chart.size()));
}

void CopyMetafileToClipboard(const TChart& chart, bool enhanced)
{
    const QByteArray metafile = MakeMetafile(chart, enhanced, chart.size());
    PutOnClipboard(MetafileMimeData(enhanced, metafile, MakeBitmap(chart, clWhite, chart.size())),
                   MetafileMimeType(enhanced));
}

} // namespace qrv
