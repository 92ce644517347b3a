// The stored line colour for the command line, which draws images but
// creates no settings dialog and never writes the settings file.
#pragma once

#include <string>

namespace qrv
{

// Reads the stored line colour from the settings file at `path` (the
// program's settings file when empty) into Element_Color.
void LoadLineColor(const std::string& path);
// Reads the stored "Break the line at poles" choice into Break_At_Poles.
void LoadBreakAtPoles(const std::string& path);

} // namespace qrv
