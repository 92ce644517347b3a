#include "QrvExportSaveAs.h"

#include "QrvDialogs.h"
#include "QrvExportFiles.h"
#include "QrvExportTexts.h"
#include "QrvSettingValues.h"
#include "QrvVariables.h"

#include <QFileInfo>

namespace qrv
{

QByteArray TExportSource::CsvBytes() const
{
    return TableCsvBytes(TableText());
}

TSaveAs::TSaveAs()
{
    SaveDialog1.Title = ExportText::SaveDialogTitle;
    SaveDialog1.Filter = ExportText::SaveFilter;
    SaveDialog1.FilterIndex = 1;
    SaveDialog1.OnTypeChange = [this](TOpenSaveDialog& dialog) { SaveDialog1TypeChange(dialog); };
}

void TSaveAs::SaveAsToolButtonClick(TExportSource& source)
{
    SaveDialog1.FileName = ProposedFileName(Output_File);
    // The dialog opens where the last file went, while that folder exists.
    const std::string folder = FolderOf(Output_File);
    SaveDialog1.Directory = QFileInfo(QString::fromStdString(folder)).isDir() ? folder : std::string();
    if (!SaveDialog1.Execute()) return;

    SaveFileName = TargetFileName(SaveDialog1.FileName, SaveDialog1.FilterIndex);
    if (BareFileName(SaveFileName).empty()) {
        MessageDlg(ExportText::EmptyFileName, TMsgDlgType::mtError, mbOK);
        return;
    }

    const QString target = QString::fromStdString(SaveFileName);
    if (QFileInfo(target).exists() && MessageDlg(OverwriteQuestion(SaveFileName), TMsgDlgType::mtConfirmation,
                                                 mbYesNo) != TModalResult::mrYes)
        return;

    if (const auto kind = ExportKindOf(SaveFileName)) {
        if (*kind == TExportKind::Text)
            SaveTableFile(target, source.TableText());
        else if (*kind == TExportKind::Csv)
            ReplaceFile(target, source.CsvBytes());
        else
            source.SaveChart(*kind, target);
    } else {
        // The name is remembered all the same, so the next Save as proposes
        // it for the user to correct.
        MessageDlg(ExportText::InvalidExtension, TMsgDlgType::mtError, mbOK);
    }
    SetOutputFile(SaveFileName);
}

void TSaveAs::SaveDialog1TypeChange(TOpenSaveDialog& dialog)
{
    auto name = TypeChangedFileName(dialog.FileNameBox(), dialog.FilterIndex());
    if (!name) return;
    SaveFileName = std::move(*name);
    dialog.SetFileNameBox(SaveFileName);
}

} // namespace qrv
