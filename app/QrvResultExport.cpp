#include "QrvResultExport.h"

#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvExportCopy.h"
#include "QrvExportFiles.h"
#include "QrvExportSaveAs.h"
#include "QrvExportTexts.h"
#include "QrvSettingValues.h"
#include "m_grf_w.h"

#include <QPlainTextEdit>

namespace qrv
{

namespace
{

// Holds the Save as state as a child of the window, so it lives and dies
// with it.
class TSaveAsHolder : public QObject
{
public:
    explicit TSaveAsHolder(QObject* parent) : QObject(parent)
    {
        setObjectName(QStringLiteral("SaveDialog1"));
    }
    TSaveAs SaveAs;
};

class TWindowSource : public TExportSource
{
public:
    explicit TWindowSource(TF_Main_GRF& window) : window_(window) {}
    QString TableText() const override { return window_.Memo1->toPlainText(); }
    void SaveChart(TExportKind kind, const QString& fileName) override
    {
        SaveChartFile(*window_.Chart1, kind, fileName);
    }

private:
    TF_Main_GRF& window_;
};

} // namespace

TSaveAs& SaveAsOf(TF_Main_GRF& window)
{
    for (QObject* child : window.children())
        if (auto* holder = dynamic_cast<TSaveAsHolder*>(child)) return holder->SaveAs;
    return (new TSaveAsHolder(&window))->SaveAs;
}

void SaveResultAs(TF_Main_GRF& window)
{
    TWindowSource source(window);
    SaveAsOf(window).SaveAsToolButtonClick(source);
}

void CopyResultText(TF_Main_GRF& window)
{
    CopyTableText(*window.Memo1);
    ShowCopiedMessage(ExportText::CopiedText);
}

void CopyResultCsv(TF_Main_GRF& window)
{
    CopyTableCsv(*window.Memo1);
    ShowCopiedMessage(ExportText::CopiedCsv);
}

void CopyResultBitmap(TF_Main_GRF& window)
{
    CopyBitmapToClipboard(*window.Chart1);
    ShowCopiedMessage(ExportText::CopiedBitmap);
}

void CopyResultMetafile(TF_Main_GRF& window)
{
    const bool enhanced = Use_Enhanced_Metafiles;
    CopyMetafileToClipboard(*window.Chart1, enhanced);
    ShowCopiedMessage(enhanced ? ExportText::CopiedEnhMetafile : ExportText::CopiedMetafile);
}

} // namespace qrv
