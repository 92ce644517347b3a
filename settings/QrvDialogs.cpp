#include "QrvDialogs.h"

#include "QrvPlatform.h"
#include "QrvSettingsText.h"

#include <string>

namespace qrv
{

std::string_view MessageCaption(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return Text(SetText::CaptionWarning);
    case TMsgDlgType::mtError:
        return Text(SetText::CaptionError);
    case TMsgDlgType::mtInformation:
        return Text(SetText::CaptionInformation);
    case TMsgDlgType::mtConfirmation:
        return Text(SetText::CaptionConfirm);
    case TMsgDlgType::mtCustom:
        break;
    }
    return {};
}

TModalResult MessageDlg(std::string_view text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    TMessageRequest request;
    request.caption = std::string(MessageCaption(type));
    request.text = std::string(text);
    request.type = type;
    request.buttons = buttons;
    return Platform().ShowMessage(request);
}

TColor PickColor(TColor color)
{
    auto chosen = Platform().ChooseColor(color);
    return chosen ? *chosen : color;
}

} // namespace qrv
