#include "QrvPrinterDialogs.h"

#include "QrvPlatform.h"

namespace qrv
{

TPrinterOffer PrinterOfferOf(const TPrinter& printer)
{
    return {printer.Printers(), &PageSizesOf};
}

bool ExecutePrinterSetup(QWidget* parent, TPrinter& printer)
{
    TPrinterSetup setup;
    setup.PrinterIndex = printer.PrinterIndex();
    setup.OutputFileName = printer.OutputFileName();
    setup.Orientation = printer.Orientation();
    setup.PageSize = printer.PageSize();

    const bool confirmed = Platform().ExecutePrinterSetup(parent, PrinterOfferOf(printer), setup);
    if (!confirmed) return false;

    // The printer goes first: it is the one choice that can fail (the
    // printer may have gone since the list was read), and a failure must
    // leave every setting as it was.
    printer.SetPrinterIndex(setup.PrinterIndex);
    printer.SetOutputFileName(setup.OutputFileName);
    printer.SetOrientation(setup.Orientation);
    printer.SetPageSize(setup.PageSize);
    return true;
}

} // namespace qrv
