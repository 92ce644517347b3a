// The chart pictures of Save as, apart from the table's file so that code
// saving only tables does not pull in the chart.
#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvChartFiles.h"
#include "QrvErrors.h"
#include "QrvExportFiles.h"
#include "QrvPictureFiles.h"

namespace qrv
{

namespace
{

// A picture in one of the command line's formats, at the chart's size; one
// that cannot be made gives no bytes, which WriteFile refuses naming the file.
QByteArray PictureBytes(TChart& chart, TImageFormat format)
{
    try {
        return PictureFileBytes(chart, chart.size(), format, std::string());
    } catch (const Exception&) {
        return {};
    }
}

} // namespace

QByteArray ChartFileBytes(TChart& chart, TExportKind kind)
{
    switch (kind) {
    case TExportKind::Bitmap:
        return BitmapFileBytes(chart);
    case TExportKind::Metafile:
        return MakeMetafile(chart, MetafileKind::Wmf, chart.size());
    case TExportKind::EnhMetafile:
        return MakeMetafile(chart, MetafileKind::Emf, chart.size());
    case TExportKind::Png:
        return PictureBytes(chart, TImageFormat::Png);
    case TExportKind::Svg:
        return PictureBytes(chart, TImageFormat::Svg);
    case TExportKind::Pdf:
        return PictureBytes(chart, TImageFormat::Pdf);
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
