// The program's one seam to the platform: every modal dialog it opens
// (message boxes, the colour choice, the save-file dialog, the printer
// set-up and the PDF file name), every modal window it runs, and the display
// of an error that leaves a command go through TPlatform. The program
// installs the Qt implementation at start; a test installs a double for the
// length of its fixture, so it answers the dialogs instead of a person.
#pragma once

#include "QrvColor.h"
#include "QrvMessageBox.h"
#include "QrvPrinterSetup.h"
#include "QrvSaveDialog.h"

#include <QString>

#include <exception>
#include <functional>
#include <optional>
#include <string>

class QDialog;
class QFileDialog;
class QWidget;

namespace qrv
{

// What the open-file dialog shows.
struct TOpenFileRequest {
    std::string Title;
    std::string Filter;    // as Qt writes it: "Label (*.ext)"
    std::string Directory; // where it opens; empty for the working directory
};

class TPlatform
{
public:
    virtual ~TPlatform() = default;

    // Shows a message box and returns the button pressed; closing the box
    // without a button counts as Cancel (or No when there is no Cancel).
    virtual TModalResult ShowMessage(const TMessageRequest& request) = 0;
    // The colour selection opened on `initial`; nothing when cancelled.
    virtual std::optional<TColor> ChooseColor(TColor initial) = 0;
    // Opens the save dialog on its filter, file type and name and calls its
    // OnTypeChange on every type change; the choice, or nothing when the
    // user cancels.
    virtual std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) = 0;
    // Shows the printer set-up on `setup`: true, with `setup` holding the
    // user's choices, when confirmed; false and `setup` unchanged otherwise.
    virtual bool ExecutePrinterSetup(QWidget* parent, const TPrinterOffer& offer, TPrinterSetup& setup) = 0;
    // Asks for the PDF file a print job writes, proposing `proposal`;
    // nothing when the user cancels.
    virtual std::optional<QString> ChoosePdfFile(QWidget* parent, const QString& proposal) = 0;
    // Asks for an existing file to open; nothing when cancelled.
    virtual std::optional<std::string> ChooseOpenFile(const TOpenFileRequest& request) = 0;
    // Runs a window modally until it closes; its result code.
    virtual int RunModal(QDialog& dialog) = 0;
    // Shows an error that left a command (a silent abort shows nothing).
    virtual void ShowError(QWidget* parent, std::exception_ptr error) = 0;
};

// The platform in use: the one installed last, or the Qt one when none is.
TPlatform& Platform();

// Installs `platform` (not owned) for its own lifetime and puts the one in
// force before back afterwards, also when an exception passes.
class TScopedPlatform
{
public:
    explicit TScopedPlatform(TPlatform& platform);
    ~TScopedPlatform();
    TScopedPlatform(const TScopedPlatform&) = delete;
    TScopedPlatform& operator=(const TScopedPlatform&) = delete;

    // The platform that was in force when this one was installed.
    TPlatform& Previous() const { return *previous_; }

private:
    TPlatform* previous_;
};

// The Qt dialogs, parented to the active window. Every one re-establishes
// the floating-point environment when it closes, since a platform dialog may
// leave its own.
class TQtPlatform : public TPlatform
{
public:
    TModalResult ShowMessage(const TMessageRequest& request) override;
    std::optional<TColor> ChooseColor(TColor initial) override;
    // A Qt file dialog (not the desktop's own, so the program can rewrite its
    // file-name box while it is open). It asks no overwrite question and adds
    // no extension: the caller does both.
    std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) override;
    bool ExecutePrinterSetup(QWidget* parent, const TPrinterOffer& offer, TPrinterSetup& setup) override;
    std::optional<QString> ChoosePdfFile(QWidget* parent, const QString& proposal) override;
    std::optional<std::string> ChooseOpenFile(const TOpenFileRequest& request) override;
    int RunModal(QDialog& dialog) override;
    // A message box (through Platform().ShowMessage, so a test double sees
    // it) with the application's display name as caption, the error icon,
    // an OK button and the message with its closing "." rule; an error that
    // is no std::exception reads "Unknown error.".
    void ShowError(QWidget* parent, std::exception_ptr error) override;

    // Called with the save dialog once it is set up, just before it is shown.
    std::function<void(QFileDialog&)> OnSaveDialogShow;
};

} // namespace qrv
