// The user guide shown by the documentation window: formula syntax, the
// built-in functions and constants with their values, notes on numbers and
// precedence, and the menus. Plain text, one paragraph per line.
#pragma once

#include <QString>

namespace qrv
{

const QString& GuideText();

} // namespace qrv
