#include "QrvDialogs.h"

#include "QrvFpu.h"
#include "QrvQtColor.h"
#include "QrvSettingsText.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <utility>
#include <vector>

namespace qrv
{

namespace
{

TDialogs* current = nullptr;

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

struct TButtonInfo {
    TMsgDlgBtn button;
    SetText label;
    QMessageBox::ButtonRole role;
    TModalResult result;
};

constexpr std::array<TButtonInfo, 7> kButtons = {{
    {mbYes, SetText::ButtonYes, QMessageBox::YesRole, TModalResult::mrYes},
    {mbNo, SetText::ButtonNo, QMessageBox::NoRole, TModalResult::mrNo},
    {mbOK, SetText::ButtonOK, QMessageBox::AcceptRole, TModalResult::mrOk},
    {mbCancel, SetText::ButtonCancel, QMessageBox::RejectRole, TModalResult::mrCancel},
    {mbAbort, SetText::ButtonAbort, QMessageBox::RejectRole, TModalResult::mrAbort},
    {mbRetry, SetText::ButtonRetry, QMessageBox::AcceptRole, TModalResult::mrRetry},
    {mbIgnore, SetText::ButtonIgnore, QMessageBox::AcceptRole, TModalResult::mrIgnore},
}};

QMessageBox::Icon IconFor(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QWidget* TQtDialogs::Parent()
{
    return QApplication::activeWindow();
}

TModalResult TQtDialogs::ShowMessage(const TMessageRequest& request)
{
    QMessageBox box(IconFor(request.type), Q(request.caption), Q(request.text), QMessageBox::NoButton,
                    Parent());
    std::vector<std::pair<QAbstractButton*, TModalResult>> added;
    QAbstractButton* escape = nullptr;
    for (const auto& info : kButtons) {
        if (!(request.buttons & info.button)) continue;
        QPushButton* button = box.addButton(Q(Text(info.label)), info.role);
        added.emplace_back(button, info.result);
        if (info.button == mbCancel || (info.button == mbNo && !(request.buttons & mbCancel)))
            escape = button;
    }
    if (added.empty())
        added.emplace_back(box.addButton(Q(Text(SetText::ButtonOK)), QMessageBox::AcceptRole),
                           TModalResult::mrOk);
    if (escape) box.setEscapeButton(escape);
    box.exec();
    InitFloatEnvironment();
    for (const auto& [button, result] : added)
        if (box.clickedButton() == button) return result;
    return (request.buttons & mbCancel) || !(request.buttons & mbNo) ? TModalResult::mrCancel
                                                                     : TModalResult::mrNo;
}

std::optional<TColor> TQtDialogs::ChooseColor(TColor initial)
{
    QColor chosen = QColorDialog::getColor(ToQColor(initial), Parent(), Q(Text(SetText::ColorDialogTitle)));
    InitFloatEnvironment();
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
}

TDialogs& Dialogs()
{
    static TQtDialogs qtDialogs;
    return current ? *current : qtDialogs;
}

void SetDialogs(TDialogs* dialogs)
{
    current = dialogs;
}

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
    return Dialogs().ShowMessage(request);
}

TColor PickColor(TColor color)
{
    auto chosen = Dialogs().ChooseColor(color);
    return chosen ? *chosen : color;
}

} // namespace qrv
