// The program: the command line decides between plotting without a window
// and opening the main window.
#pragma once

#include "QrvCommandLine.h"

#include <optional>

namespace qrv
{

// What both programs do first: PrepareCommandLine, then, when started by
// qurvia without --settings, the settings file beside qurvia. Returns the
// status to exit with, or nothing when a plot or the window is to follow.
std::optional<int> PrepareProgram(int argc, char** argv, TCommandLine& commandLine);

// The whole program (qurvia-gui): the window, or a plot without one;
// returns the exit status.
int QurviaMain(int argc, char** argv);
// The picture program (qurvia-image): a plot without a window only.
int QurviaImageMain(int argc, char** argv);

} // namespace qrv
