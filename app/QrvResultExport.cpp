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
    TResultSource(const QString& tableText, TChart& chart) : tableText_(tableText), chart_(chart) {}
    QString TableText() const override { return tableText_; }
    void SaveChart(TExportKind kind, const QString& fileName) override
    {
        SaveChartFile(chart_, kind, fileName);
    }

private:
    const QString& tableText_;
    TChart& chart_;
};

} // namespace

void SaveResultAs(TSaveAs& saveAs, const QString& tableText, TChart& chart)
{
    TResultSource source(tableText, chart);
    saveAs.SaveAsToolButtonClick(source);
}

void CopyResultText(const QString& tableText)
{
    CopyTableText(tableText);
    ShowCopiedMessage(ExportText::CopiedText);
}

void CopyResultCsv(const QString& tableText)
{
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
