#include "QrvErrorText.h"

#include "QrvErrors.h"

namespace qrv
{

std::string ExceptionDisplayText(const std::exception& error)
{
    if (dynamic_cast<const EAbort*>(&error)) return {};
    if (auto* own = dynamic_cast<const Exception*>(&error)) return DisplayText(own->Message());
    return DisplayText(error.what());
}

} // namespace qrv
