// The fonts of pictures made without a window (the command line's images).
//
// Reading the system's whole font configuration (some fifty files on a
// desktop machine) takes longer than the rest of a picture run. Pictures
// only draw Arial, so they use a configuration of the program's own
// instead: Arial is the metric-compatible Liberation Sans the program
// installs, drawn anti-aliased with slight hinting as the system's defaults
// draw it. The same command so also draws the same picture on every
// machine, whatever fonts its user has added.
//
// A user who names a font configuration (FONTCONFIG_FILE, FONTCONFIG_PATH,
// FONTCONFIG_SYSROOT) gets that one, and without Liberation Sans the system
// configuration stays in force.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qrv
{

// Where the Liberation Sans file is found in each folder that may hold it.
inline constexpr const char* kLiberationSansFile = "LiberationSans-Regular.ttf";

// What the choice of a configuration looks at: the environment and the
// font folders that exist.
struct TFontSystem {
    std::function<const char*(const char*)> Variable;
    std::function<bool(const std::string& path)> FileExists;
};
TFontSystem RealFontSystem();

// The configuration pictures are drawn with, as fontconfig's XML, or none
// when the system's stays in force.
std::optional<std::string> BatchFontConfiguration(const TFontSystem& system);

// Makes that configuration the current one of fontconfig. Call it before
// the toolkit's first use of a font. Returns whether the program's own
// configuration is in force.
bool InstallBatchFonts(const TFontSystem& system = RealFontSystem());

} // namespace qrv
