// The texts the settings subsystem shows or raises: message box captions and
// button labels, validation messages, the settings dialog's captions and the
// errors of the settings file. Call sites name a text, never a string
// literal; the texts stand in one table (QrvSettingsText.cpp) of the kind
// QrvMessageTable.h describes.
#pragma once

#include "QrvErrors.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace qrv
{

enum class SetText {
    // message box captions, by kind of box
    CaptionWarning,
    CaptionError,
    CaptionInformation,
    CaptionConfirm,
    // validation of linked edits
    InvalidInteger,
    InvalidFloat,
    ValueInRange,
    // settings file and variables
    UnableToWrite,
    CannotAssign,
    // settings dialog
    DialogCaption,
    DialogOK,
    DialogCancel,
    DialogResetDefaults,
    ResetQuestion,
    PageAppearance,
    PageGeneral,
    GroupColors,
    LabelGraphicColor,
    CheckUseEnhancedMeta,
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
