// The chart pictures of Save as, apart from the table's file so that code
// saving only tables does not pull in the chart.
#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvChartFiles.h"
#include "QrvErrors.h"
#include "QrvExportFiles.h"

namespace qrv
{

QByteArray ChartFileBytes(TChart& chart, TExportKind kind)
{
    switch (kind) {
    case TExportKind::Bitmap:
        return BitmapFileBytes(chart);
    case TExportKind::Metafile:
        return MakeMetafile(chart, MetafileKind::Wmf, chart.size());
    case TExportKind::EnhMetafile:
        return MakeMetafile(chart, MetafileKind::Emf, chart.size());
    case TExportKind::Text:
    case TExportKind::Csv:
        break;
    }
    return {};
}

void SaveChartFile(TChart& chart, TExportKind kind, const QString& fileName)
{
    WriteFile(fileName, ChartFileBytes(chart, kind));
}

} // namespace qrv
