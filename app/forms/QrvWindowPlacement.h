// Placing the program's small fixed-size windows.
#pragma once

class QWidget;

namespace qrv
{

// Moves a top-level window to the middle of the screen it is on (the
// primary screen when it has none yet).
void CentreOnScreen(QWidget* window);

// Fixes a window's client area at width x height pixels: it cannot be
// resized by the user.
void FixClientSize(QWidget* window, int width, int height);

} // namespace qrv
