// Errors of the printing layer. The texts live in one table here rather than
// in the program-wide message table, because only this layer raises them.
#pragma once

#include "QrvErrors.h"

#include <string_view>

namespace qrv
{

enum class PrinterMsg {
    NoDefaultPrinter,   // "There is no default printer currently selected"
    InvalidPrinter,     // "Printer selected is not valid"
    PrinterIndex,       // "Printer index out of range"
    NotPrinting,        // "Printer is not currently printing"
    PrintingInProgress, // "Printing in progress"
    CannotCreateFile,   // "Cannot create file \"%s\""
    CannotWriteFile,    // "Cannot write file \"%s\""
    NoOutputFile,       // "No output file has been chosen for %s"
    NewPageFailed,      // "The printer could not start a new page"
    Count_
};

// The raw text of a message, placeholders still in it.
std::string_view PrinterMessageText(PrinterMsg id);

// A failure of the printer, the print job or its output file.
class EPrinter : public Exception
{
public:
    explicit EPrinter(PrinterMsg id, std::string_view arg = {});
};

} // namespace qrv
