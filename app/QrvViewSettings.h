// The View menu's choice that outlives the program: "Break the line at
// poles", stored in the settings file under its own key. Made after the
// settings file is open and before the main window, so it saves itself
// before the file closes.
#pragma once

#include "QrvVariables.h"

namespace qrv
{

class TViewSettings
{
public:
    // Loads the stored choice into Break_At_Poles.
    TViewSettings();
    TViewSettings(const TViewSettings&) = delete;
    TViewSettings& operator=(const TViewSettings&) = delete;

    // Changes the choice; it is written to the settings file at program end.
    void SetBreakAtPoles(bool on) { breakAtPoles_.SetValue(on); }

private:
    TChk breakAtPoles_;
};

} // namespace qrv
