#include "QrvResultExport.h"

#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvExportCopy.h"
#include "QrvExportFiles.h"
#include "QrvExportSaveAs.h"
#include "QrvExportTexts.h"
#include "QrvSettingValues.h"

namespace qrv
{

namespace
{

// The table's text and the chart as Save as writes them.
class TResultSource : public TExportSource
{
public:
    TResultSource(const QString& tableText, TChart& chart, const std::optional<std::string>& curvesCsv)
        : tableText_(tableText), chart_(chart), curvesCsv_(curvesCsv)
    {
    }
    QString TableText() const override { return tableText_; }
    QByteArray CsvBytes() const override
    {
        if (!curvesCsv_) return TExportSource::CsvBytes();
        return QByteArray(curvesCsv_->data(), qsizetype(curvesCsv_->size()));
    }
    void SaveChart(TExportKind kind, const QString& fileName) override
    {
        SaveChartFile(chart_, kind, fileName);
    }

private:
    const QString& tableText_;
    TChart& chart_;
    const std::optional<std::string>& curvesCsv_;
};

} // namespace

void SaveResultAs(TSaveAs& saveAs, const QString& tableText, TChart& chart,
                  const std::optional<std::string>& curvesCsv)
{
    TResultSource source(tableText, chart, curvesCsv);
    saveAs.SaveAsToolButtonClick(source);
}

void CopyResultText(const QString& tableText)
{
    CopyTableText(tableText);
    ShowCopiedMessage(ExportText::CopiedText);
}

void CopyResultCsv(const QString& tableText, const std::optional<std::string>& curvesCsv)
{
    if (curvesCsv)
        CopyCsvBytes(QByteArray(curvesCsv->data(), qsizetype(curvesCsv->size())));
    else
        CopyTableCsv(tableText);
    ShowCopiedMessage(ExportText::CopiedCsv);
}

void CopyResultBitmap(TChart& chart)
{
    CopyBitmapToClipboard(chart);
    ShowCopiedMessage(ExportText::CopiedBitmap);
}

void CopyResultMetafile(TChart& chart)
{
    const bool enhanced = Use_Enhanced_Metafiles;
    CopyMetafileToClipboard(chart, enhanced ? MetafileKind::Emf : MetafileKind::Wmf);
    ShowCopiedMessage(enhanced ? ExportText::CopiedEnhMetafile : ExportText::CopiedMetafile);
}

} // namespace qrv
