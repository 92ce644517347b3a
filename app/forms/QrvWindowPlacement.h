// Placing the program's small fixed-size windows.
#pragma once

class QWidget;

namespace qrv
{

// Moves a top-level window to the middle of the screen it is on (the
// primary screen when it has none yet).
void CentreOnScreen(QWidget* window);

// Centres the window the first time it is shown, which `centred` records;
// later shows leave it where the user put it.
void CentreOnFirstShow(QWidget* window, bool& centred);

// Fixes a window's client area at width x height pixels: it cannot be
// resized by the user.
void FixClientSize(QWidget* window, int width, int height);

} // namespace qrv
