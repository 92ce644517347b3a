// The program-wide setting values. Each holds its default from program start;
// the setting variables bound to them overwrite them when the settings are
// loaded and whenever a setting changes. Every other part of the program
// only reads them; Output_File changes through SetOutputFile (QrvVariables.h).
//
// The section, key and default of each stored setting stand here once: the
// settings dialog, the View menu's choice and the command line's reading of
// the settings file all take them from these descriptions.
#pragma once

#include "QrvColor.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qrv
{

// Where a setting is stored in the settings file, and its default.
template <typename T> struct TSettingKey {
    std::string_view Section;
    std::string_view Key;
    T Default;
};

// The colour of the plotted graph line.
inline constexpr TSettingKey<TColor> kElementColorKey{"Appearance", "Element_Color", clRed};
extern TColor Element_Color;

// The full name of the last file written by Save as; the next Save as
// proposes its name from it.
inline constexpr TSettingKey<std::string_view> kOutputFileKey{"System", "Output_File", "output.txt"};
extern std::string Output_File;

// True: copy the chart as an enhanced metafile; false: as a Windows metafile.
inline constexpr TSettingKey<bool> kUseEnhancedMetafilesKey{"General", "Use_Enhanced_Metafiles", true};
extern bool Use_Enhanced_Metafiles;

// True: a Plot breaks the line where the curve has a pole and scales the
// vertical axis to the finite curve (the View menu's "Break the line at
// poles"). Stored under its own key, apart from the settings dialog's.
inline constexpr TSettingKey<bool> kBreakAtPolesKey{"View", "Break_At_Poles", false};
extern bool Break_At_Poles;

// True: one unit is as long on both axes of the chart (the View menu's
// "Equal scales"); false: each axis spans its own range.
inline constexpr TSettingKey<bool> kEqualScalesKey{"View", "Equal_Scales", false};
extern bool Equal_Scales;

// True: the chart's finer label step and labels on the axis ends (the View
// menu's "Finer axis labels").
inline constexpr TSettingKey<bool> kFineLabelsKey{"View", "Fine_Labels", false};
extern bool Fine_Labels;

// The documents opened or saved last, newest first (the File menu's
// "Recent documents"), each under a key of its own; an empty one is none.
inline constexpr std::size_t kRecentDocumentCount = 8;
inline constexpr std::array<TSettingKey<std::string_view>, kRecentDocumentCount> kRecentDocumentKeys{{
    {"Documents", "Recent_1", ""},
    {"Documents", "Recent_2", ""},
    {"Documents", "Recent_3", ""},
    {"Documents", "Recent_4", ""},
    {"Documents", "Recent_5", ""},
    {"Documents", "Recent_6", ""},
    {"Documents", "Recent_7", ""},
    {"Documents", "Recent_8", ""},
}};
extern std::array<std::string, kRecentDocumentCount> Recent_Documents;

} // namespace qrv
