// The printer set-up dialog's data: the printers and paper sizes it offers
// and the choices it edits, a copy that reaches the printer only when the
// dialog is confirmed.
#pragma once

#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>

namespace qrv
{

enum class TPrinterOrientation { poPortrait, poLandscape };

// The choices the dialog edits.
struct TPrinterSetup {
    int PrinterIndex = -1;
    QString OutputFileName;
    TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
    QPageSize PageSize;
};

// What the dialog offers: the printer names (the last one prints to PDF) and
// the paper sizes of a printer by name.
struct TPrinterOffer {
    QStringList Printers;
    std::function<QList<QPageSize>(const QString& printer)> PageSizes;
};

} // namespace qrv
