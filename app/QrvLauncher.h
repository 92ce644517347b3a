// The start of the qurvia program. It reads the command line and runs a
// table-only plot itself, without Qt (also of several formulas); for an
// image, or a document read or saved (JSON, through Qt Core), it hands the
// same arguments to the picture program (qurvia-image, Qt GUI without the
// widget toolkit), for the window to the full program (qurvia-gui). So a
// table run loads nothing of Qt, and an image run nothing of the widgets.
#pragma once

#include "QrvCommandLine.h"

#include <optional>

namespace qrv
{

// The names of the full and the picture program, and the environment
// variable through which they learn the path of the qurvia program that
// started them (the settings file lives beside that one).
inline constexpr const char* kGuiProgramName = "qurvia-gui";
inline constexpr const char* kImageProgramName = "qurvia-image";
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
