#include "QrvExportCopy.h"

#include "QrvChartFiles.h"
#include "QrvDialogs.h"
#include "QrvExportFiles.h"
#include "QrvExportNames.h"

#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <memory>

namespace qrv
{

void CopyTableText(QPlainTextEdit& memo)
{
    QTextCursor cursor = memo.textCursor();
    const int start = cursor.hasSelection() ? cursor.selectionStart() : 0;
    const int length = cursor.hasSelection() ? cursor.selectionEnd() - start : 0;

    cursor.select(QTextCursor::Document);
    memo.setTextCursor(cursor);
    auto data = std::make_unique<QMimeData>();
    data->setText(memo.toPlainText());

    // The selection comes back before the clipboard is touched, so a
    // clipboard failure leaves it as it was too.
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
    PutOnClipboard(data.release(), QStringLiteral("text/plain"));
}

void CopyTableCsv(const QPlainTextEdit& memo)
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
