// Dialogs for tests: every message box is recorded instead of shown, and
// answered with the next of Answers, or with OK once they are used up. A
// callback may look at the program's state at the moment the box would be
// on screen.
#pragma once

#include "QrvTestPlatform.h"

#include <deque>
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
        if (Answers.empty()) return TModalResult::mrOk;
        const TModalResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::optional<TColor> ChooseColor(TColor) override { return std::nullopt; }
    // The open-file dialog answers with the next of OpenFiles, cancelled
    // once they are used up.
    std::optional<std::string> ChooseOpenFile(const TOpenFileRequest&) override
    {
        if (OpenFiles.empty()) return std::nullopt;
        std::string file = OpenFiles.front();
        OpenFiles.pop_front();
        return file;
    }

    std::vector<TMessageRequest> Messages;
    std::deque<TModalResult> Answers;
    std::deque<std::string> OpenFiles;
    std::function<void(const TMessageRequest&)> WhileShown;
};

} // namespace qrv::test
