// The View menu's choices that outlive the program: "Break the line at
// poles", "Equal scales" and "Finer axis labels", each stored in the
// settings file under its own key; and the File menu's recent documents. Made after the settings file is open
// and before the main window, so they save themselves before the file closes.
#pragma once

#include "QrvSettingValues.h"
#include "QrvVariables.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace qrv
{

class TViewSettings
{
public:
    // Loads the stored choices into Break_At_Poles, Equal_Scales and
    // Fine_Labels.
    TViewSettings();
    ~TViewSettings();
    TViewSettings(const TViewSettings&) = delete;
    TViewSettings& operator=(const TViewSettings&) = delete;

    // Each changes its choice (and the value it is bound to); it is written
    // to the settings file at program end.
    void SetBreakAtPoles(bool on) { breakAtPoles_.SetValue(on); }
    void SetEqualScales(bool on) { equalScales_.SetValue(on); }
    void SetFineLabels(bool on) { fineLabels_.SetValue(on); }
    // The recent documents, newest first (Recent_Documents follows; the
    // entries beyond kRecentDocumentCount are dropped).
    void SetRecentDocuments(const std::vector<std::string>& files);

private:
    TChk breakAtPoles_;
    TChk equalScales_;
    TChk fineLabels_;
    std::array<std::unique_ptr<TStr>, kRecentDocumentCount> recent_;
};

} // namespace qrv
