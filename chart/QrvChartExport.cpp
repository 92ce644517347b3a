// The chart control's pictures and their export to files and the clipboard.
#include "QrvChartExport.h"

#include "QrvChart.h"
#include "QrvChartFiles.h"

namespace qrv
{

QByteArray MakeMetafile(const TChart& chart, MetafileKind kind, const QSize& size)
{
    return MakeMetafile(static_cast<const TChartPicture&>(chart), kind, size, chart.logicalDpiY());
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
    WriteFile(fileName, MakeMetafile(chart, MetafileKind::Wmf, chart.size()));
}

void SaveEnhMetafileFile(const TChart& chart, const QString& fileName)
{
    WriteFile(fileName, MakeMetafile(chart, MetafileKind::Emf, chart.size()));
}

void CopyMetafileToClipboard(const TChart& chart, MetafileKind kind)
{
    const QByteArray metafile = MakeMetafile(chart, kind, chart.size());
    PutOnClipboard(MetafileMimeData(kind, metafile, MakeBitmap(chart, clWhite, chart.size())),
                   MetafileMimeType(kind));
}

} // namespace qrv
