// Connects the built-in trigonometric functions to the angle mode in force:
// the marked Mode item of the main window, or the --mode of the command line.
#pragma once

#include "QrvAngleMode.h"

#include <functional>

namespace qrv
{

// The built-ins ask `mode` at every call. An empty function means Radians.
void SetAngleModeSource(std::function<TAngleMode()> mode);

} // namespace qrv
