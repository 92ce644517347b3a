#include "QrvApplication.h"

#include "QrvAppTexts.h"
#include "QrvErrors.h"
#include "QrvImageList.h"
#include "QrvPlatform.h"
#include "QrvSettingsFile.h"

#include <ostream>

namespace qrv
{

void ShowException(std::exception_ptr error) noexcept
{
    try {
        std::string text;
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            text = ExceptionDisplayText(e);
            if (text.empty()) return;
        } catch (...) {
            text = "Unknown error.";
        }
        TMessageRequest request;
        request.caption = Text::ApplicationTitle;
        request.text = text;
        request.type = TMsgDlgType::mtError;
        request.buttons = mbOK;
        Platform().ShowMessage(request);
    } catch (...) {
        // The display itself failed (out of memory, say): nothing more to show.
    }
}

void TQurviaPlatform::ShowError(QWidget*, std::exception_ptr error)
{
    ShowException(error);
}

bool SaveSettingsAtExit(TSettingsFileSession& session, std::ostream& errors) noexcept
{
    try {
        session.Close();
        return true;
    } catch (...) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            ShowException(std::current_exception());
        } else {
            try {
                throw;
            } catch (const std::exception& e) {
                errors << Text::ProgramName << ": " << ExceptionDisplayText(e) << '\n';
            } catch (...) {
            }
        }
        return false;
    }
}

TQurviaApplication::TQurviaApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    SetApplicationTitle();
    setWindowIcon(ApplicationIcon());
}

bool TQurviaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return true;
    }
}

} // namespace qrv
