// Every modal platform dialog the program opens goes through one small
// interface, so a test can answer it instead of a person. The program uses
// the Qt implementation unless something else is installed with SetDialogs.
//
// The interface is meant to grow: the application adds its save-file and
// printer dialogs to TDialogs and TQtDialogs the same way.
#pragma once

#include "QrvColor.h"

#include <optional>
#include <string>
#include <string_view>

class QWidget;

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
};
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
inline constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;

// What closed a modal dialog.
enum class TModalResult { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo };

struct TMessageRequest {
    std::string caption;
    std::string text;
    TMsgDlgType type = TMsgDlgType::mtInformation;
    TMsgDlgButtons buttons = mbOK;
};

class TDialogs
{
public:
    virtual ~TDialogs() = default;
    // Shows a message box and returns the button pressed; closing the box
    // without a button counts as Cancel (or No when there is no Cancel).
    virtual TModalResult ShowMessage(const TMessageRequest& request) = 0;
    // Shows the colour selection opened on the given colour; nothing when
    // the user cancels.
    virtual std::optional<TColor> ChooseColor(TColor initial) = 0;
};

// The Qt message box and colour dialog, parented to the active window.
class TQtDialogs : public TDialogs
{
public:
    TModalResult ShowMessage(const TMessageRequest& request) override;
    std::optional<TColor> ChooseColor(TColor initial) override;

protected:
    static QWidget* Parent();
};

// The dialogs in use.
TDialogs& Dialogs();
// Installs dialogs (not owned); nullptr goes back to the Qt ones.
void SetDialogs(TDialogs* dialogs);

// The caption a message dialog of this kind carries: "Warning", "Error",
// "Information", "Confirm" (empty for mtCustom).
std::string_view MessageCaption(TMsgDlgType type);

// A message dialog with the caption of its kind.
TModalResult MessageDlg(std::string_view text, TMsgDlgType type, TMsgDlgButtons buttons);

// Shows the colour selection opened on color; the chosen colour, or color
// unchanged when the user cancels. Re-establishes the floating-point
// environment afterwards, as after every platform dialog.
TColor PickColor(TColor color);

} // namespace qrv
