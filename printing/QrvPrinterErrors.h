// Errors of the printing layer. Their texts stand in a table of their own
// (of the kind QrvMessageTable.h describes) rather than in the program-wide
// one, because only this layer raises them.
#pragma once

#include "QrvErrors.h"

#include <string_view>

namespace qrv
{

enum class PrinterMsg {
    NoDefaultPrinter,
    InvalidPrinter,
    PrinterIndex,
    NotPrinting,
    PrintingInProgress,
    CannotCreateFile,
    CannotWriteFile,
    NoOutputFile,
    NewPageFailed,
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
