#include "QrvPrinterErrors.h"

#include "QrvMessageTable.h"

namespace qrv
{

namespace
{

constexpr TMessageTable<PrinterMsg> kTexts{
    {PrinterMsg::NoDefaultPrinter, "There is no default printer currently selected"},
    {PrinterMsg::InvalidPrinter, "Printer selected is not valid"},
    {PrinterMsg::PrinterIndex, "Printer index out of range"},
    {PrinterMsg::NotPrinting, "Printer is not currently printing"},
    {PrinterMsg::PrintingInProgress, "Printing in progress"},
    {PrinterMsg::CannotCreateFile, "Cannot create file \"%s\""},
    {PrinterMsg::CannotWriteFile, "Cannot write file \"%s\""},
    {PrinterMsg::NoOutputFile, "No output file has been chosen for %s"},
    {PrinterMsg::NewPageFailed, "The printer could not start a new page"},
};

} // namespace

std::string_view PrinterMessageText(PrinterMsg id)
{
    return kTexts.Text(id);
}

EPrinter::EPrinter(PrinterMsg id, std::string_view arg) : Exception(kTexts.Format(id, {arg})) {}

} // namespace qrv
