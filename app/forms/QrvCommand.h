// Running a window's command handler from a button. Qt does not let an
// exception travel through its event loop, so each handler runs inside
// RunCommand, which hands an escaping error to the platform's error display.
#pragma once

#include "QrvErrors.h"

#include <functional>

class QWidget;

namespace qrv
{

// Runs `command`; an error leaving it is shown, nothing is rolled back.
void RunCommand(QWidget* parent, const std::function<void()>& command);

} // namespace qrv
