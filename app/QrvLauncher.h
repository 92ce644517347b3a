// The start of the qurvia program. It reads the command line and runs a
// table-only plot itself, without Qt; for the window or an image it hands
// the same arguments to the full program (qurvia-gui), so a table run loads
// nothing of the windowing libraries.
#pragma once

#include "QrvCommandLine.h"

#include <optional>

namespace qrv
{

// The name of the full program, and the environment variable through which
// it learns the path of the qurvia program that started it (its settings
// file lives beside that one).
inline constexpr const char* kGuiProgramName = "qurvia-gui";
inline constexpr const char* kLauncherPathVariable = "QURVIA_PROGRAM";

// Reads the arguments and settles what needs no plot: usage errors (status
// 2, message on standard error), --help and --version (status 0), a picture
// format this build cannot write, a --settings file that is not a regular
// readable file, the window asked for without a display (status 2). Sets the
// decimal separator.
// Returns the status to exit with, or nothing when a plot or the window is
// to follow.
std::optional<int> PrepareCommandLine(int argc, char** argv, TCommandLine& commandLine);

// main() of qurvia.
int QurviaLauncherMain(int argc, char** argv);

} // namespace qrv
