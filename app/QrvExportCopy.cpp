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

void CopyTableText(const QString& tableText)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(tableText);
    PutOnClipboard(data.release(), QStringLiteral("text/plain"));
}

void CopyTableCsv(const QString& tableText)
{
    CopyCsvBytes(TableCsvBytes(tableText));
}

void CopyCsvBytes(const QByteArray& csv)
{
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
