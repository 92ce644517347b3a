// The program-wide setting values as the application reads them: the line
// colour of the next plotted points (Element_Color) and the metafile flavour
// of Copy metafile. A unit of its own, so the code that also draws with the
// chart reads the settings without including both colour headers at once.
#pragma once

#include <cstdint>
#include <string>

namespace qrv
{

std::uint32_t LineColor();
void SetLineColor(std::uint32_t color);
bool UseEnhancedMetafiles();

// Reads the stored line colour from the settings file at `path` (the
// program's settings file when empty) into the program-wide value, without
// creating the settings dialog and without ever writing the file. For the
// command line, which draws images but saves no settings.
void LoadLineColor(const std::string& path);

} // namespace qrv
