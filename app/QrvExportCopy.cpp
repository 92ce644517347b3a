#include "QrvExportCopy.h"

#include "QrvChartFiles.h"
#include "QrvDialogs.h"
#include "QrvExportFiles.h"
#include "QrvExportNames.h"
#include "QrvTableView.h"

#include <QMimeData>

#include <memory>

namespace qrv
{

void CopyTableText(TTableView& memo)
{
    const int start = memo.HasSelection() ? memo.SelectionStart() : 0;
    const int length = memo.HasSelection() ? memo.SelectionEnd() - start : 0;
    auto data = std::make_unique<QMimeData>();
    data->setText(memo.toPlainText());

    // The selection comes back (the caret at the start when nothing was
    // selected) before the clipboard is touched, so a clipboard failure
    // leaves it as it was too.
    memo.SetSelection(start, start + length);
    PutOnClipboard(data.release(), QStringLiteral("text/plain"));
}

void CopyTableCsv(const TTableView& memo)
{
    const QByteArray csv = TableCsvBytes(memo.toPlainText());
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/csv"), csv);
    data->setText(QString::fromUtf8(csv));
    PutOnClipboard(data.release(), QStringLiteral("text/csv"));
}

void ShowCopiedMessage(std::string_view name)
{
    MessageDlg(CopiedMessage(name), TMsgDlgType::mtInformation, mbOK);
}

} // namespace qrv
