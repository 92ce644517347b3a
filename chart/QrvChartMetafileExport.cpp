// The chart's metafile pictures and their export to files and the clipboard.
#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvChartFiles.h"
#include "QrvMetafile.h"

#include <QPainter>

namespace qrv
{

QByteArray MakeMetafile(const TChart& chart, bool enhanced, const QSize& size)
{
    TMetafilePaintDevice device(enhanced ? MetafileKind::Emf : MetafileKind::Wmf, MetafileSizeFor(size),
                                chart.logicalDpiY());
    {
        QPainter painter(&device);
        chart.DrawPicture(painter, QRect(QPoint(0, 0), size), true);
    }
    return device.Finish();
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
