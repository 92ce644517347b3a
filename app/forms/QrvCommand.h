// Running a window's command handler from a button. Qt does not let an
// exception travel through its event loop, so each handler runs inside
// RunCommand, which hands an escaping error to the program's error display
// (a message box unless the application installs its own).
#pragma once

#include "QrvErrors.h"

#include <exception>
#include <functional>

class QWidget;

namespace qrv
{

using TErrorDisplay = std::function<void(QWidget* parent, std::exception_ptr error)>;

// Replaces the error display (the application passes its default exception
// display); an empty function restores the built-in one, which shows a message box with the application's
// display name as caption, the error icon and the message (EAbort is never shown).
void SetErrorDisplay(TErrorDisplay display);

// Runs `command`; an error leaving it is shown, nothing is rolled back.
void RunCommand(QWidget* parent, const std::function<void()>& command);

} // namespace qrv
