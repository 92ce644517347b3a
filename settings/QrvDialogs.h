// The settings' ways of asking the user: message dialogs with the caption of
// their kind, and the colour choice. Both go through the platform
// (QrvPlatform.h), so a test answers them instead of a person.
#pragma once

#include "QrvColor.h"
#include "QrvMessageBox.h"

#include <string_view>

namespace qrv
{

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
