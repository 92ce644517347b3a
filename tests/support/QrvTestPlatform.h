// A platform double for tests: installed for its own lifetime (the previous
// platform comes back when it is destroyed, also when a test fails by an
// exception), it passes every call on to the platform that was in force
// when it was installed. A test's double overrides only the dialogs it
// answers, so doubles for different dialogs stack.
#pragma once

#include "QrvPlatform.h"

#include <functional>

namespace qrv::test
{

class TPlatformDouble : public TPlatform
{
public:
    TPlatformDouble() : scope_(*this) {}
    TPlatformDouble(const TPlatformDouble&) = delete;
    TPlatformDouble& operator=(const TPlatformDouble&) = delete;

    TModalResult ShowMessage(const TMessageRequest& request) override
    {
        return Previous().ShowMessage(request);
    }
    std::optional<TColor> ChooseColor(TColor initial) override { return Previous().ChooseColor(initial); }
    std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) override
    {
        return Previous().ShowSaveDialog(dialog);
    }
    bool ExecutePrinterSetup(QWidget* parent, const TPrinterOffer& offer, TPrinterSetup& setup) override
    {
        return Previous().ExecutePrinterSetup(parent, offer, setup);
    }
    std::optional<QString> ChoosePdfFile(QWidget* parent, const QString& proposal) override
    {
        return Previous().ChoosePdfFile(parent, proposal);
    }
    std::optional<std::string> ChooseOpenFile(const TOpenFileRequest& request) override
    {
        return Previous().ChooseOpenFile(request);
    }
    int RunModal(QDialog& dialog) override { return Previous().RunModal(dialog); }
    void ShowError(QWidget* parent, std::exception_ptr error) override
    {
        Previous().ShowError(parent, error);
    }

protected:
    TPlatform& Previous() const { return scope_.Previous(); }

private:
    TScopedPlatform scope_;
};

// Runs every modal window through `answer` instead of showing it.
class TModalAnswer : public TPlatformDouble
{
public:
    explicit TModalAnswer(std::function<int(QDialog&)> answer) : answer_(std::move(answer)) {}
    int RunModal(QDialog& dialog) override { return answer_(dialog); }

private:
    std::function<int(QDialog&)> answer_;
};

// Hands every error display to `shown` instead of a message box.
class TErrorCatcher : public TPlatformDouble
{
public:
    explicit TErrorCatcher(std::function<void(std::exception_ptr)> shown) : shown_(std::move(shown)) {}
    void ShowError(QWidget*, std::exception_ptr error) override { shown_(error); }

private:
    std::function<void(std::exception_ptr)> shown_;
};

} // namespace qrv::test
