// The save-file dialog of Save as. TSaveDialog holds what the dialog keeps
// between uses (filter, selected file type, proposed name) and its
// type-change handler; showing it goes through the installed TSaveDialogs,
// so tests can play the user, changing the file type while the dialog is
// open and confirming a name. The program uses a Qt file dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>

class QFileDialog;

namespace qrv
{

// The save dialog while it is open, as its type-change handler sees it.
class TOpenSaveDialog
{
public:
    virtual ~TOpenSaveDialog() = default;
    // The file type selected now, 1 for the first one of the filter.
    virtual int FilterIndex() const = 0;
    // The text of the file-name box, as typed so far.
    virtual std::string FileNameBox() const = 0;
    virtual void SetFileNameBox(const std::string& text) = 0;
};

// What the user confirmed: the full name of the chosen file (without an
// extension being added) and the selected file type.
struct TSaveDialogChoice {
    std::string FileName;
    int FilterIndex = 1;
};

class TSaveDialog
{
public:
    // File types as "label|pattern|label|pattern...".
    std::string Filter;
    // The selected file type, 1-based; a confirmed dialog stores the one
    // chosen, a cancelled one leaves it.
    int FilterIndex = 1;
    // The name the dialog opens with; after a confirmed dialog the chosen
    // full name.
    std::string FileName;
    // The folder the dialog opens in; empty for the working directory.
    std::string Directory;
    // Called whenever the user selects another file type while the dialog
    // is open.
    std::function<void(TOpenSaveDialog&)> OnTypeChange;

    // Shows the dialog modally; true when the user confirmed a name.
    // Re-establishes the floating-point environment afterwards.
    bool Execute();
};

// Shows save dialogs.
class TSaveDialogs
{
public:
    virtual ~TSaveDialogs() = default;
    // Opens the dialog on its filter, file type and name and calls its
    // OnTypeChange on every type change; the choice, or nothing when the
    // user cancels.
    virtual std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) = 0;
};

// A Qt file dialog (not the desktop's own, so the program can rewrite its
// file-name box while it is open), parented to the active window. It asks
// no overwrite question and adds no extension: Save as does both.
class TQtSaveDialogs : public TSaveDialogs
{
public:
    std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) override;

    // Called with the dialog once it is set up, just before it is shown.
    std::function<void(QFileDialog&)> OnShow;
};

// The save dialogs in use.
TSaveDialogs& SaveDialogs();
// Installs save dialogs (not owned); nullptr goes back to the Qt ones.
void SetSaveDialogs(TSaveDialogs* dialogs);

} // namespace qrv
