// The one table of texts the settings subsystem shows or raises: message box
// captions and button labels, validation messages, the settings dialog's
// captions and the errors of the settings file. Call sites name a text,
// never a string literal.
#pragma once

#include "QrvErrors.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace qrv
{

enum class SetText {
    // message box captions, by kind of box
    CaptionWarning,     // "Warning"
    CaptionError,       // "Error"
    CaptionInformation, // "Information"
    CaptionConfirm,     // "Confirm"
    // message box buttons
    ButtonYes,    // "&Yes"
    ButtonNo,     // "&No"
    ButtonOK,     // "OK"
    ButtonCancel, // "Cancel"
    ButtonAbort,
    ButtonRetry,
    ButtonIgnore,
    // validation of linked edits
    InvalidInteger, // "Invalid integer"
    InvalidFloat,   // "Invalid float"
    ValueInRange,   // "Value must be in range "
    // settings file and variables
    UnableToWrite, // "Unable to write to %s"
    CannotAssign,  // "Cannot assign a %s to a %s"
    // settings dialog
    DialogCaption,        // "Settings"
    DialogOK,             // "&OK"
    DialogCancel,         // "&Cancel"
    DialogResetDefaults,  // "&Reset Defaults"
    ResetQuestion,        // "Reset all variables to defaults?"
    PageAppearance,       // "Appearance"
    PageGeneral,          // "General"
    GroupColors,          // "Colors"
    LabelGraphicColor,    // "Graphic color"
    CheckUseEnhancedMeta, // "Use enhanced metafiles"
    ColorDialogTitle,     // title of the colour choice
    Count_
};

// The raw text, placeholders (%s) still in it.
std::string_view Text(SetText id);

// The text with each "%s" replaced, in order, by the next argument.
std::string FormatText(SetText id, std::initializer_list<std::string_view> args);

// Errors of the settings file and of the setting variables.
class ESettingsError : public Exception
{
public:
    using Exception::Exception;
};

} // namespace qrv
