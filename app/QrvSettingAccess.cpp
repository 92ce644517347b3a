#include "QrvSettingAccess.h"

#include "QrvFileNames.h"
#include "QrvIniValues.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"

namespace qrv
{

void LoadLineColor(const std::string& path)
{
    TSettingsFile file(path.empty() ? SettingsFilePath() : FileNameFromBytes(path));
    // The section and key under which the settings dialog stores the colour.
    auto value = ParseInteger(file.ReadString("Appearance", "Element_Color", ""));
    if (value) Element_Color = static_cast<TColor>(*value);
}

void LoadBreakAtPoles(const std::string& path)
{
    TSettingsFile file(path.empty() ? SettingsFilePath() : FileNameFromBytes(path));
    // Stored as a Boolean setting variable stores it: an integer, 0 for off.
    auto value = ParseInteger(file.ReadString(kBreakAtPolesSection, kBreakAtPolesKey, ""));
    if (value) Break_At_Poles = *value != 0;
}

} // namespace qrv
