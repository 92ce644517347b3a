#include "QrvPrinterErrors.h"

#include <array>
#include <cstddef>
#include <string>

namespace qrv
{

namespace
{

constexpr std::array<std::string_view, static_cast<std::size_t>(PrinterMsg::Count_)> kTexts = {
    "There is no default printer currently selected",
    "Printer selected is not valid",
    "Printer index out of range",
    "Printer is not currently printing",
    "Printing in progress",
    "Cannot create file \"%s\"",
    "Cannot write file \"%s\"",
    "No output file has been chosen for %s",
    "The printer could not start a new page",
};

constexpr bool AllTextsPresent()
{
    for (auto text : kTexts)
        if (text.empty()) return false;
    return true;
}
static_assert(AllTextsPresent(), "every printer message needs a text");

std::string Format(PrinterMsg id, std::string_view arg)
{
    std::string text(PrinterMessageText(id));
    if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, arg);
    return text;
}

} // namespace

std::string_view PrinterMessageText(PrinterMsg id)
{
    return kTexts.at(static_cast<std::size_t>(id));
}

EPrinter::EPrinter(PrinterMsg id, std::string_view arg) : Exception(Format(id, arg)) {}

} // namespace qrv
