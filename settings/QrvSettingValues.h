// The program-wide setting values. Each holds its default from program start;
// the settings dialog's setting variables overwrite them when the settings
// are loaded and whenever a setting changes. Every other part of the program
// only reads them (Save as also writes Output_File through its variable).
#pragma once

#include "QrvColor.h"

#include <string>

namespace qrv
{

// The colour of the plotted graph line.
extern TColor Element_Color;

// The full name of the last file written by Save as; the next Save as
// proposes its name from it.
extern std::string Output_File;

// True: copy the chart as an enhanced metafile; false: as a Windows metafile.
extern bool Use_Enhanced_Metafiles;

// True: a Plot breaks the line where the curve has a pole and scales the
// vertical axis to the finite curve (the View menu's "Break the line at
// poles"). Stored under its own key, apart from the settings dialog's.
extern bool Break_At_Poles;
inline constexpr bool kDefaultBreakAtPoles = false;
inline constexpr const char* kBreakAtPolesSection = "View";
inline constexpr const char* kBreakAtPolesKey = "Break_At_Poles";

inline constexpr TColor kDefaultElementColor = clRed;
inline constexpr const char* kDefaultOutputFile = "output.txt";
inline constexpr bool kDefaultUseEnhancedMetafiles = true;

} // namespace qrv
