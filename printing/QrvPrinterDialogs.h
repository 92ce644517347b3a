// The printer set-up command of the printing layer. The dialog itself is the
// platform's (QrvPlatform.h), so tests answer it without a window.
#pragma once

#include "QrvPrinter.h"
#include "QrvPrinterSetup.h"

class QWidget;

namespace qrv
{

// What the set-up dialog offers for `printer`: its printer list and each
// printer's paper sizes.
TPrinterOffer PrinterOfferOf(const TPrinter& printer);

// The printer set-up command: shows the set-up dialog for `printer` and, if
// confirmed, makes its choices current for every following job. Returns
// whether the user confirmed; cancelling changes nothing.
bool ExecutePrinterSetup(QWidget* parent, TPrinter& printer = Printer());

} // namespace qrv
