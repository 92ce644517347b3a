// The save-file dialog: what it keeps between uses (file types, the type
// selected, the proposed name), the handler called when the user selects
// another file type while it is open, and the open dialog as that handler
// sees it. Showing it goes through the platform, so a test can play the
// user: change the file type while the dialog is open and confirm a name.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrv
{

// One file type of a dialog filter "label|pattern|label|pattern...".
struct TFilterType {
    std::string Label;
    std::string Pattern;
};
std::vector<TFilterType> ParseFilter(std::string_view filter);

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
    // The window title.
    std::string Title;
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

    // Shows the dialog modally through the platform; true when the user
    // confirmed a name. Re-establishes the floating-point environment
    // afterwards.
    bool Execute();
};

} // namespace qrv
