// The modal dialogs of the printing layer, behind one small interface so
// that tests (and a headless run) can answer them without a window.
#pragma once

#include "QrvPrinter.h"

#include <QPageSize>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace qrv
{

// What the printer set-up dialog edits: a copy of the current printer's
// choices, applied only when the dialog is confirmed.
struct TPrinterSetup {
    int PrinterIndex = -1;
    QString OutputFileName;
    TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
    QPageSize PageSize;
};

class TPrinterDialogs
{
public:
    virtual ~TPrinterDialogs() = default;
    // Shows the printer set-up dialog on `setup`. Returns true, with `setup`
    // holding the user's choices, when the user confirms; false (and
    // `setup` unchanged) when the user cancels.
    virtual bool ExecuteSetup(QWidget* parent, const TPrinter& printer, TPrinterSetup& setup) = 0;
    // Asks for the PDF file a job is to write, proposing `proposal`; empty
    // when the user cancels.
    virtual std::optional<QString> AskPdfFileName(QWidget* parent, const QString& proposal) = 0;
};

// The dialogs in use: the real windows unless a replacement is installed.
TPrinterDialogs& PrinterDialogs();

// Installs `dialogs` for its lifetime and puts the previous ones back
// afterwards.
class TScopedPrinterDialogs
{
public:
    explicit TScopedPrinterDialogs(TPrinterDialogs& dialogs);
    ~TScopedPrinterDialogs();
    TScopedPrinterDialogs(const TScopedPrinterDialogs&) = delete;
    TScopedPrinterDialogs& operator=(const TScopedPrinterDialogs&) = delete;

private:
    TPrinterDialogs* previous_;
};

// The printer set-up command: shows the set-up dialog for `printer` and, if
// confirmed, makes its choices current for every following job. Returns
// whether the user confirmed; cancelling changes nothing. The floating-point
// environment is restored afterwards, as after every platform dialog.
bool ExecutePrinterSetup(QWidget* parent, TPrinter& printer = Printer());

} // namespace qrv
