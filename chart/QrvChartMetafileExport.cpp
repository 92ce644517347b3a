// The chart's picture drawn into a metafile.
#include "QrvChartPicture.h"

#include <QPainter>

namespace qrv
{

QByteArray MakeMetafile(const TChartPicture& chart, MetafileKind kind, const QSize& size, int dpi)
{
    TMetafilePaintDevice device(kind, MetafileSizeFor(size), dpi);
    {
        QPainter painter(&device);
        chart.DrawPicture(painter, QRect(QPoint(0, 0), size), true);
    }
    return device.Finish();
}

} // namespace qrv
