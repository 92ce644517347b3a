#include "QrvExportSaveDialog.h"

#include "QrvExportNames.h"
#include "QrvExportTexts.h"
#include "QrvFpu.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QStringList>

namespace qrv
{

namespace
{

TSaveDialogs* current = nullptr;

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// The open Qt dialog seen through its file-name box and type list.
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

bool TSaveDialog::Execute()
{
    std::optional<TSaveDialogChoice> choice = SaveDialogs().ShowSaveDialog(*this);
    InitFloatEnvironment();
    if (!choice) return false;
    FileName = std::move(choice->FileName);
    FilterIndex = choice->FilterIndex;
    return true;
}

std::optional<TSaveDialogChoice> TQtSaveDialogs::ShowSaveDialog(const TSaveDialog& dialog)
{
    QStringList labels;
    for (const TFilterType& type : ParseFilter(dialog.Filter))
        labels << Q(type.Label);

    QFileDialog box(QApplication::activeWindow(), QString::fromUtf8(ExportText::SaveDialogTitle));
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
    if (OnShow) OnShow(box);
    if (box.exec() != QDialog::Accepted) return std::nullopt;

    const QStringList files = box.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    TSaveDialogChoice choice;
    choice.FileName = files.first().toStdString();
    choice.FilterIndex = open.FilterIndex() >= 1 ? open.FilterIndex() : dialog.FilterIndex;
    return choice;
}

TSaveDialogs& SaveDialogs()
{
    static TQtSaveDialogs qtDialogs;
    return current ? *current : qtDialogs;
}

void SetSaveDialogs(TSaveDialogs* dialogs)
{
    current = dialogs;
}

} // namespace qrv
