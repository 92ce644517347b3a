#include "QrvSettingAccess.h"

#include "QrvFileNames.h"
#include "QrvIniValues.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"

namespace qrv
{

void LoadBatchSettings(const std::string& path)
{
    TSettingsFile file(path.empty() ? SettingsFilePath() : FileNameFromBytes(path));
    // The section and key under which the settings dialog stores the colour.
    if (auto color = ParseInteger(file.ReadString("Appearance", "Element_Color", "")))
        Element_Color = static_cast<TColor>(*color);
    // Stored as a Boolean setting variable stores it: an integer, 0 for off.
    if (auto breaks = ParseInteger(file.ReadString(kBreakAtPolesSection, kBreakAtPolesKey, "")))
        Break_At_Poles = *breaks != 0;
}

} // namespace qrv
