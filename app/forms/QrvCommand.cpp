#include "QrvCommand.h"

#include "QrvPlatform.h"

namespace qrv
{

void RunCommand(QWidget* parent, const std::function<void()>& command)
{
    try {
        command();
    } catch (const EAbort&) {
        // A deliberate, silent end of the command.
    } catch (...) {
        Platform().ShowError(parent, std::current_exception());
    }
}

} // namespace qrv
