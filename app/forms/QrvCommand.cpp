#include "QrvCommand.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace qrv
{

namespace
{

void DefaultErrorDisplay(QWidget* parent, std::exception_ptr error)
{
    std::string message;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Unknown error";
    }
    QMessageBox::critical(parent, QGuiApplication::applicationDisplayName(),
                          QString::fromStdString(DisplayText(message)));
}

TErrorDisplay& Display()
{
    static TErrorDisplay display = DefaultErrorDisplay;
    return display;
}

} // namespace

void SetErrorDisplay(TErrorDisplay display)
{
    Display() = display ? std::move(display) : TErrorDisplay(DefaultErrorDisplay);
}

void RunCommand(QWidget* parent, const std::function<void()>& command)
{
    try {
        command();
    } catch (const EAbort&) {
        // A deliberate, silent end of the command.
    } catch (...) {
        Display()(parent, std::current_exception());
    }
}

} // namespace qrv
