// Test doubles for Save as and the Copy commands: a save dialog played by a
// script (typing into the name box, changing the file type, confirming or
// cancelling), the message boxes recorded and answered by TRecordingDialogs,
// and a fake source of the table and the chart pictures.
#pragma once

#include "QrvExportFiles.h"
#include "QrvExportSaveAs.h"
#include "QrvTestPlatform.h"
#include "RecordingDialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qrv::test
{

// The open dialog as the script drives it.
class TScriptedOpenDialog : public TOpenSaveDialog
{
public:
    TScriptedOpenDialog(const TSaveDialog& dialog, std::string folder)
        : dialog_(dialog), folder_(std::move(folder)), box_(dialog.FileName), index_(dialog.FilterIndex)
    {
    }

    int FilterIndex() const override { return index_; }
    std::string FileNameBox() const override { return box_; }
    void SetFileNameBox(const std::string& text) override { box_ = text; }

    // The user's actions.
    void Type(std::string text) { box_ = std::move(text); }
    void SelectType(int index)
    {
        index_ = index;
        if (dialog_.OnTypeChange) dialog_.OnTypeChange(*this);
    }
    // Confirms what the name box holds, in the script's folder.
    TSaveDialogChoice Accept() const { return {folder_ + "/" + box_, index_}; }

private:
    const TSaveDialog& dialog_;
    std::string folder_;
    std::string box_;
    int index_;
};

// Save dialogs answered by a script; installed while it lives. Without a
// script the dialog is confirmed with the proposed name.
class TScriptedSaveDialogs : public TPlatformDouble
{
public:
    using TScript = std::function<std::optional<TSaveDialogChoice>(TScriptedOpenDialog&)>;

    explicit TScriptedSaveDialogs(std::string folder) : folder_(std::move(folder)) {}

    std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) override
    {
        Opened.push_back({dialog.Filter, dialog.FileName, dialog.FilterIndex, dialog.Directory});
        TScriptedOpenDialog open(dialog, folder_);
        if (!Script) return open.Accept();
        return Script(open);
    }

    // Types name, selects the type and confirms.
    static TScript Choose(std::string name, int index)
    {
        return [name, index](TScriptedOpenDialog& open) -> std::optional<TSaveDialogChoice> {
            open.Type(name);
            TSaveDialogChoice choice = open.Accept();
            choice.FilterIndex = index;
            return choice;
        };
    }

    struct TOpening {
        std::string Filter;
        std::string FileName;
        int FilterIndex;
        std::string Directory;
    };
    std::vector<TOpening> Opened;
    TScript Script;

private:
    std::string folder_;
};

// A source whose chart "pictures" are marker texts naming their kind, so a
// test sees which writer ran.
class TFakeSource : public TExportSource
{
public:
    QString TableText() const override { return Table; }
    void SaveChart(TExportKind kind, const QString& fileName) override
    {
        Charts.emplace_back(kind, fileName.toStdString());
        ReplaceFile(fileName, QByteArray(KindMarker(kind)));
    }

    static const char* KindMarker(TExportKind kind)
    {
        switch (kind) {
        case TExportKind::Text:
            return "text";
        case TExportKind::Csv:
            return "csv";
        case TExportKind::Bitmap:
            return "bitmap";
        case TExportKind::Metafile:
            return "wmf";
        case TExportKind::EnhMetafile:
            return "emf";
        case TExportKind::Png:
            return "png";
        case TExportKind::Svg:
            return "svg";
        case TExportKind::Pdf:
            return "pdf";
        }
        return "";
    }

    QString Table = QStringLiteral("0.000   1.000\n1.000   2.000");
    std::vector<std::pair<TExportKind, std::string>> Charts;
};

} // namespace qrv::test
