#include "QrvResultExport.h"

#include "QrvChart.h"
#include "QrvSettingAccess.h"
#include "m_grf_w.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

namespace qrv
{

void SaveResultAs(TF_Main_GRF&) {}

void CopyResultText(TF_Main_GRF& window)
{
    QGuiApplication::clipboard()->setText(window.Memo1->toPlainText());
}

void CopyResultBitmap(TF_Main_GRF& window)
{
    window.Chart1->CopyBitmapToClipboard();
}

void CopyResultMetafile(TF_Main_GRF& window)
{
    window.Chart1->CopyMetafileToClipboard(UseEnhancedMetafiles());
}

} // namespace qrv
