// Dialogs for tests: every message box is recorded instead of shown, and
// answered with a fixed button. A callback may look at the program's state
// at the moment the box would be on screen.
#pragma once

#include "QrvTestPlatform.h"

#include <functional>
#include <vector>

namespace qrv::test
{

class TRecordingDialogs : public TPlatformDouble
{
public:
    TModalResult ShowMessage(const TMessageRequest& request) override
    {
        Messages.push_back(request);
        if (WhileShown) WhileShown(request);
        return TModalResult::mrOk;
    }
    std::optional<TColor> ChooseColor(TColor) override { return std::nullopt; }

    std::vector<TMessageRequest> Messages;
    std::function<void(const TMessageRequest&)> WhileShown;
};

} // namespace qrv::test
