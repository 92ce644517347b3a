#include "QrvPlatform.h"

#include "QrvErrors.h"
#include "QrvFpu.h"
#include "QrvPlatformTexts.h"
#include "QrvPrinterSetupForm.h"
#include "QrvQtColor.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace qrv
{

namespace
{

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QWidget* ActiveWindow()
{
    return QApplication::activeWindow();
}

struct TButtonInfo {
    TMsgDlgBtn button;
    const char* label;
    QMessageBox::ButtonRole role;
    TModalResult result;
};

const std::array<TButtonInfo, 9> kButtons = {{
    {mbSave, PlatformText::ButtonSave, QMessageBox::AcceptRole, TModalResult::mrSave},
    {mbDiscard, PlatformText::ButtonDiscard, QMessageBox::DestructiveRole, TModalResult::mrDiscard},
    {mbYes, PlatformText::ButtonYes, QMessageBox::YesRole, TModalResult::mrYes},
    {mbNo, PlatformText::ButtonNo, QMessageBox::NoRole, TModalResult::mrNo},
    {mbOK, PlatformText::ButtonOK, QMessageBox::AcceptRole, TModalResult::mrOk},
    {mbCancel, PlatformText::ButtonCancel, QMessageBox::RejectRole, TModalResult::mrCancel},
    {mbAbort, PlatformText::ButtonAbort, QMessageBox::RejectRole, TModalResult::mrAbort},
    {mbRetry, PlatformText::ButtonRetry, QMessageBox::AcceptRole, TModalResult::mrRetry},
    {mbIgnore, PlatformText::ButtonIgnore, QMessageBox::AcceptRole, TModalResult::mrIgnore},
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

// The open Qt save dialog seen through its file-name box and type list.
class TOpenQtDialog : public TOpenSaveDialog
{
public:
    TOpenQtDialog(QFileDialog& dialog, const QStringList& labels) : dialog_(dialog), labels_(labels) {}

    int FilterIndex() const override
    {
        return static_cast<int>(labels_.indexOf(dialog_.selectedNameFilter())) + 1;
    }

    std::string FileNameBox() const override
    {
        if (QLineEdit* box = NameBox()) return box->text().toStdString();
        return {};
    }

    void SetFileNameBox(const std::string& text) override
    {
        if (QLineEdit* box = NameBox()) box->setText(Q(text));
    }

private:
    // The file-name box of Qt's own dialog carries this object name.
    QLineEdit* NameBox() const { return dialog_.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }

    QFileDialog& dialog_;
    const QStringList& labels_;
};

} // namespace

TModalResult TQtPlatform::ShowMessage(const TMessageRequest& request)
{
    QMessageBox box(IconFor(request.type), Q(request.caption), Q(request.text), QMessageBox::NoButton,
                    ActiveWindow());
    std::vector<std::pair<QAbstractButton*, TModalResult>> added;
    QAbstractButton* escape = nullptr;
    for (const auto& info : kButtons) {
        if (!(request.buttons & info.button)) continue;
        QPushButton* button = box.addButton(QString::fromUtf8(info.label), info.role);
        added.emplace_back(button, info.result);
        if (info.button == mbCancel || (info.button == mbNo && !(request.buttons & mbCancel)))
            escape = button;
    }
    if (added.empty())
        added.emplace_back(box.addButton(QString::fromUtf8(PlatformText::ButtonOK), QMessageBox::AcceptRole),
                           TModalResult::mrOk);
    if (escape) box.setEscapeButton(escape);
    box.exec();
    InitFloatEnvironment();
    for (const auto& [button, result] : added)
        if (box.clickedButton() == button) return result;
    return (request.buttons & mbCancel) || !(request.buttons & mbNo) ? TModalResult::mrCancel
                                                                     : TModalResult::mrNo;
}

std::optional<TColor> TQtPlatform::ChooseColor(TColor initial)
{
    QColor chosen = QColorDialog::getColor(ToQColor(initial), ActiveWindow(),
                                           QString::fromUtf8(PlatformText::ColorDialogTitle));
    InitFloatEnvironment();
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
}

std::optional<TSaveDialogChoice> TQtPlatform::ShowSaveDialog(const TSaveDialog& dialog)
{
    QStringList labels;
    for (const TFilterType& type : ParseFilter(dialog.Filter))
        labels << Q(type.Label);

    QFileDialog box(ActiveWindow(), Q(dialog.Title));
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setOption(QFileDialog::DontConfirmOverwrite);
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
    box.setNameFilters(labels);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= labels.size())
        box.selectNameFilter(labels.at(dialog.FilterIndex - 1));
    if (!dialog.Directory.empty()) box.setDirectory(Q(dialog.Directory));
    box.selectFile(Q(dialog.FileName));

    TOpenQtDialog open(box, labels);
    QObject::connect(&box, &QFileDialog::filterSelected, &box, [&dialog, &open](const QString&) {
        if (dialog.OnTypeChange) dialog.OnTypeChange(open);
    });
    if (OnSaveDialogShow) OnSaveDialogShow(box);
    const int result = box.exec();
    InitFloatEnvironment();
    if (result != QDialog::Accepted) return std::nullopt;

    const QStringList files = box.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    TSaveDialogChoice choice;
    choice.FileName = files.first().toStdString();
    choice.FilterIndex = open.FilterIndex() >= 1 ? open.FilterIndex() : dialog.FilterIndex;
    return choice;
}

bool TQtPlatform::ExecutePrinterSetup(QWidget* parent, const TPrinterOffer& offer, TPrinterSetup& setup)
{
    TPrinterSetupForm form(offer, setup, parent);
    const int result = form.exec();
    InitFloatEnvironment();
    if (result != QDialog::Accepted) return false;
    setup = form.Setup();
    return true;
}

std::optional<QString> TQtPlatform::ChoosePdfFile(QWidget* parent, const QString& proposal)
{
    QString file = QFileDialog::getSaveFileName(parent, QString::fromUtf8(PlatformText::PdfFileTitle),
                                                proposal, QString::fromUtf8(PlatformText::PdfFileFilter));
    InitFloatEnvironment();
    if (file.isEmpty()) return std::nullopt;
    return file;
}

std::optional<std::string> TQtPlatform::ChooseOpenFile(const TOpenFileRequest& request)
{
    QString file = QFileDialog::getOpenFileName(ActiveWindow(), Q(request.Title), Q(request.Directory),
                                                Q(request.Filter));
    InitFloatEnvironment();
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

int TQtPlatform::RunModal(QDialog& dialog)
{
    const int result = dialog.exec();
    InitFloatEnvironment();
    return result;
}

void TQtPlatform::ShowError(QWidget*, std::exception_ptr error)
{
    TMessageRequest request;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (const Exception& e) {
        request.text = DisplayText(e.Message());
    } catch (const std::exception& e) {
        request.text = DisplayText(e.what());
    } catch (...) {
        request.text = DisplayText(PlatformText::UnknownError);
    }
    request.caption = QGuiApplication::applicationDisplayName().toStdString();
    request.type = TMsgDlgType::mtError;
    request.buttons = mbOK;
    Platform().ShowMessage(request);
}

} // namespace qrv
