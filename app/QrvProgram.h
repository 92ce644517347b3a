// The program: the command line decides between plotting without a window
// and opening the main window.
#pragma once

namespace qrv
{

// The whole program; returns the exit status.
int QurviaMain(int argc, char** argv);

} // namespace qrv
