// Test double for the dialog interface: answers message boxes and the colour
// choice from queues filled by the test, and records every request. An
// unexpected dialog fails the test and is answered with Cancel.
#pragma once

#include "QrvTestPlatform.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

namespace qrv::test
{

class TScriptedDialogs : public TPlatformDouble
{
public:
    TModalResult ShowMessage(const TMessageRequest& request) override
    {
        messages.push_back(request);
        if (messageAnswers.empty()) {
            ADD_FAILURE() << "unexpected message box: " << request.text;
            return TModalResult::mrCancel;
        }
        auto answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }

    std::optional<TColor> ChooseColor(TColor initial) override
    {
        colorRequests.push_back(initial);
        if (colorAnswers.empty()) {
            ADD_FAILURE() << "unexpected colour dialog";
            return std::nullopt;
        }
        auto answer = colorAnswers.front();
        colorAnswers.pop_front();
        return answer;
    }

    std::deque<TModalResult> messageAnswers;
    std::deque<std::optional<TColor>> colorAnswers;
    std::vector<TMessageRequest> messages;
    std::vector<TColor> colorRequests;
};

} // namespace qrv::test
