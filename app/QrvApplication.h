// The application object and its default exception display.
//
// No command catches errors: an exception that leaves a command is shown in
// a message box with the application title as caption, the error icon and
// an OK button. The window connects every command through ExecuteCommand, so an
// exception never unwinds through the toolkit's own frames; notify() is the
// safety net for anything thrown from an event handler elsewhere.
#pragma once

#include "QrvApplicationTitle.h"
#include "QrvErrorText.h"
#include "QrvPlatform.h"

#include <QApplication>

#include <exception>
#include <iosfwd>
#include <string>
#include <utility>

namespace qrv
{

// Shows the current exception (call inside a catch block, or pass one) in
// the error box, through the platform's message box so tests can read it.
// Never throws.
void ShowException(std::exception_ptr error) noexcept;

// The program's platform: the Qt dialogs, with errors of every window's
// commands shown by the default exception display.
class TQurviaPlatform : public TQtPlatform
{
public:
    void ShowError(QWidget* parent, std::exception_ptr error) override;
};

// Runs one command; whatever it throws goes to the default exception display.
template <class Command> void ExecuteCommand(Command&& command) noexcept
{
    try {
        std::forward<Command>(command)();
    } catch (...) {
        ShowException(std::current_exception());
    }
}

class TSettingsFileSession;

// Writes the settings file at program end (closing the session). A failure,
// "Unable to write to <file>", leaves the old file as it was and is shown in
// the error box while an application can show one, and written to `errors`
// otherwise. Returns whether the file was written. Never throws.
bool SaveSettingsAtExit(TSettingsFileSession& session, std::ostream& errors) noexcept;

class TQurviaApplication : public QApplication
{
    Q_OBJECT
public:
    // Sets the application title, name, version and icon.
    TQurviaApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace qrv
