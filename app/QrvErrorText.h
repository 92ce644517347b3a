// The text the default exception display shows for an exception.
#pragma once

#include <exception>
#include <string>

namespace qrv
{

// The message with the "." rule applied (a "." is appended when the last
// character sorts after "."). Empty for a silent abort (EAbort), which is
// never shown.
std::string ExceptionDisplayText(const std::exception& error);

} // namespace qrv
