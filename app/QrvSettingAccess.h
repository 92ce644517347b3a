// The stored settings the command line uses, which draws images but creates
// no settings dialog and never writes the settings file.
#pragma once

#include <string>

namespace qrv
{

// Reads the stored line colour into Element_Color and the stored "Break the
// line at poles" choice into Break_At_Poles, from the settings file at
// `path` (the program's settings file when empty), opened once.
void LoadBatchSettings(const std::string& path);

} // namespace qrv
