#include "QrvSettingsText.h"

#include "QrvMessageTable.h"

namespace qrv
{

namespace
{

constexpr TMessageTable<SetText> kTexts{
    {SetText::CaptionWarning, "Warning"},
    {SetText::CaptionError, "Error"},
    {SetText::CaptionInformation, "Information"},
    {SetText::CaptionConfirm, "Confirm"},
    {SetText::InvalidInteger, "Invalid integer"},
    {SetText::InvalidFloat, "Invalid float"},
    {SetText::ValueInRange, "Value must be in range "},
    {SetText::UnableToWrite, "Unable to write to %s"},
    {SetText::CannotAssign, "Cannot assign a %s to a %s"},
    {SetText::DialogCaption, "Settings"},
    {SetText::DialogOK, "&OK"},
    {SetText::DialogCancel, "&Cancel"},
    {SetText::DialogResetDefaults, "&Reset Defaults"},
    {SetText::ResetQuestion, "Reset all variables to defaults?"},
    {SetText::PageAppearance, "Appearance"},
    {SetText::PageGeneral, "General"},
    {SetText::GroupColors, "Colors"},
    {SetText::LabelGraphicColor, "Graphic color"},
    {SetText::CheckUseEnhancedMeta, "Use enhanced metafiles"},
};

} // namespace

std::string_view Text(SetText id)
{
    return kTexts.Text(id);
}

std::string FormatText(SetText id, std::initializer_list<std::string_view> args)
{
    return kTexts.Format(id, args);
}

} // namespace qrv
