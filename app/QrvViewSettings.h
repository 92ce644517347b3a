// The View menu's choices that outlive the program: "Break the line at
// poles", "Equal scales" and "Finer axis labels", each stored in the
// settings file under its own key. Made after the settings file is open and
// before the main window, so they save themselves before the file closes.
#pragma once

#include "QrvVariables.h"

namespace qrv
{

class TViewSettings
{
public:
    // Loads the stored choices into Break_At_Poles, Equal_Scales and
    // Fine_Labels.
    TViewSettings();
    TViewSettings(const TViewSettings&) = delete;
    TViewSettings& operator=(const TViewSettings&) = delete;

    // Each changes its choice (and the value it is bound to); it is written
    // to the settings file at program end.
    void SetBreakAtPoles(bool on) { breakAtPoles_.SetValue(on); }
    void SetEqualScales(bool on) { equalScales_.SetValue(on); }
    void SetFineLabels(bool on) { fineLabels_.SetValue(on); }

private:
    TChk breakAtPoles_;
    TChk equalScales_;
    TChk fineLabels_;
};

} // namespace qrv
