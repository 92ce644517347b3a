// What a message box is asked to show and what closed it: the plain data of
// the platform's message box, shared by the program and the test doubles
// that answer in its place.
#pragma once

#include <string>

namespace qrv
{

// The kind of a message box: decides its icon and its default caption.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box, combined with |.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbSave = 1u << 7,    // keeps the changes by saving them
    mbDiscard = 1u << 8, // drops the changes
};
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
inline constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;

// What closed a modal dialog.
enum class TModalResult {
    mrNone,
    mrOk,
    mrCancel,
    mrAbort,
    mrRetry,
    mrIgnore,
    mrYes,
    mrNo,
    mrSave,
    mrDiscard
};

struct TMessageRequest {
    std::string caption;
    std::string text;
    TMsgDlgType type = TMsgDlgType::mtInformation;
    TMsgDlgButtons buttons = mbOK;
};

} // namespace qrv
